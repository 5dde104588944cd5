#pragma once
// The user's locale settings as the runtime's conversions use them. The platform fills one record
// at start-up from the locale (see platform/locale); until then the C locale's values stand.
#include <array>
#include <string>

namespace rtl {

enum class TDateOrder { DMY, MDY, YMD };

struct TFormatSettings {
    char DateSeparator = '/';
    TDateOrder DateOrder = TDateOrder::MDY;
    // strftime notation, reduced to %d %e %m %y %Y %H %I %M %S %p and literal text.
    std::string ShortDateFormat = "%m/%d/%y";
    std::string LongTimeFormat = "%H:%M:%S";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    // UTF-8 texts; the thousands separator may be several bytes (U+202F under Russian settings).
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = "";
    // Sunday first.
    std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    bool Metric = true;
};

// The process's settings: read once at start-up, then only read. One of the few process-wide
// values of the design, like the application and screen objects.
TFormatSettings& FormatSettings();

// Settings the program uses to read date texts it wrote itself: "." and day first, whatever the
// user's locale says.
const TFormatSettings& ProgramDateSettings();

} // namespace rtl
