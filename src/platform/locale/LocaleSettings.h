#pragma once
// The user's locale settings, read from LC_TIME, LC_NUMERIC and LC_MEASUREMENT.
#include <string>

#include "rtl/FormatSettings.h"

namespace platform {

// Reads the settings of the named locale ("" = the environment's, as LANG and LC_* say). A locale
// that is not installed reads as "C".
rtl::TFormatSettings ReadLocaleSettings(const std::string& localeName = "");

// Fills the process's settings (rtl::FormatSettings()) from the environment; called at start-up.
void InitLocaleSettings();

// Expands the composite strftime conversions (%D, %F, %T, %R, %r) into the simple ones the
// runtime writes; `ampmFormat` stands for %r.
std::string ExpandTimeFormat(const std::string& format, const std::string& ampmFormat);

// Date separator and order as the first field letters and first separator of a short date
// format give them ("%d.%m.%Y" -> '.', DMY).
void ParseShortDateFormat(const std::string& format, char& separator, rtl::TDateOrder& order);

} // namespace platform
