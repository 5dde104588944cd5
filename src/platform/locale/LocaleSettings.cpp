#include "platform/locale/LocaleSettings.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

std::string ExpandTimeFormat(const std::string& format, const std::string& ampmFormat) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        char c = format[++i];
        // glibc's flags and widths ("%-d", "%Ey") carry no meaning for us; drop them.
        while ((c == '-' || c == '_' || c == '0' || c == '^' || c == '#' || c == 'E' || c == 'O') &&
               i + 1 < format.size()) {
            c = format[++i];
        }
        switch (c) {
        case 'D':
            out += "%m/%d/%y";
            break;
        case 'F':
            out += "%Y-%m-%d";
            break;
        case 'T':
            out += "%H:%M:%S";
            break;
        case 'R':
            out += "%H:%M";
            break;
        case 'r':
            out += ampmFormat == "%r" || ampmFormat.empty() ? "%I:%M:%S %p"
                                                            : ExpandTimeFormat(ampmFormat, "");
            break;
        case 'P':
            out += "%p";
            break;
        default:
            out += '%';
            out += c;
            break;
        }
    }
    return out;
}

void ParseShortDateFormat(const std::string& format, char& separator, rtl::TDateOrder& order) {
    std::string expanded = ExpandTimeFormat(format, "");
    char first = 0;
    separator = 0;
    bool afterField = false;
    for (size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] == '%' && i + 1 < expanded.size()) {
            char c = expanded[++i];
            char kind = (c == 'd' || c == 'e')   ? 'd'
                        : c == 'm'               ? 'm'
                        : (c == 'y' || c == 'Y') ? 'y'
                                                 : 0;
            if (kind && !first) {
                first = kind;
            }
            afterField = kind != 0;
        } else if (afterField && !separator && expanded[i] != ' ') {
            separator = expanded[i];
        }
    }
    if (!separator) {
        separator = '/';
    }
    order = first == 'd'   ? rtl::TDateOrder::DMY
            : first == 'y' ? rtl::TDateOrder::YMD
                           : rtl::TDateOrder::MDY;
}

rtl::TFormatSettings ReadLocaleSettings(const std::string& localeName) {
    locale_t loc = newlocale(LC_ALL_MASK, localeName.c_str(), nullptr);
    if (!loc) {
        // Some categories may be set to a locale that is missing; fall back per category.
        loc = newlocale(LC_ALL_MASK, "C", nullptr);
    }
    rtl::TFormatSettings s;
    auto info = [&](nl_item item) -> std::string {
        const char* v = nl_langinfo_l(item, loc);
        return v ? v : "";
    };
    std::string ampm = info(T_FMT_AMPM);
    s.ShortDateFormat = ExpandTimeFormat(info(D_FMT), ampm);
    ParseShortDateFormat(s.ShortDateFormat, s.DateSeparator, s.DateOrder);
    s.LongTimeFormat = ExpandTimeFormat(info(T_FMT), ampm);
    s.TimeAMString = info(AM_STR);
    s.TimePMString = info(PM_STR);
    s.DecimalSeparator = info(RADIXCHAR);
    if (s.DecimalSeparator.empty()) {
        s.DecimalSeparator.assign(1, '.');
    }
    s.ThousandSeparator = info(THOUSEP);
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = info(static_cast<nl_item>(ABDAY_1 + i));
    }
    for (int i = 0; i < 12; ++i) {
        s.LongMonthNames[i] = info(static_cast<nl_item>(MON_1 + i));
    }
    const char* measurement = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
    s.Metric = !(measurement && measurement[0] == 2);
    freelocale(loc);
    return s;
}

void InitLocaleSettings() {
    rtl::FormatSettings() = ReadLocaleSettings("");
}

} // namespace platform
