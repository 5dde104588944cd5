#pragma once
// Reading and writing date and time texts under a settings record.
#include <optional>
#include <string>
#include <string_view>

#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"

namespace rtl {

// The short-date reader: two or three decimal numbers separated by the settings' date separator,
// in the settings' order; the two-number form takes the year of `currentYear`, one- and two-digit
// years fall in the century of `currentYear`. Raises EConvertError "'%s' is not a valid date".
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings, int currentYear);
// The same with the year taken from the clock.
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings);
// No exception: nullopt where StrToDate would raise.
std::optional<TDateTime> TryStrToDate(std::string_view text, const TFormatSettings& settings,
                                      int currentYear);

// Writes `value` with a strftime-style format (%d %e %m %y %Y %H %I %M %S %p %%; other
// characters stand for themselves).
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings);
// The settings' short date format and long time format.
std::string DateToStr(TDateTime value, const TFormatSettings& settings);
std::string TimeToStr(TDateTime value, const TFormatSettings& settings);

} // namespace rtl
