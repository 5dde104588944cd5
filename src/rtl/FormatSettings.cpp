#include "rtl/FormatSettings.h"

namespace rtl {

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

const TFormatSettings& ProgramDateSettings() {
    static const TFormatSettings settings = [] {
        TFormatSettings s;
        s.DateSeparator = '.';
        s.DateOrder = TDateOrder::DMY;
        s.ShortDateFormat = "%d.%m.%Y";
        return s;
    }();
    return settings;
}

} // namespace rtl
