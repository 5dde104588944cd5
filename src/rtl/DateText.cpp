#include "rtl/DateText.h"

#include <cmath>
#include <cstdio>

#include "rtl/Exception.h"

namespace rtl {

namespace {

class DateScanner {
public:
    DateScanner(std::string_view text, char separator) : m_text(text), m_separator(separator) {}

    void SkipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ') {
            ++m_pos;
        }
    }

    // Digits are taken only while the value read so far is below 1000, so no number has more
    // than four digits; the rest of a longer run is left over and makes the text invalid.
    bool ReadNumber(int& value, int& digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (m_pos < m_text.size() && value < 1000 && m_text[m_pos] >= '0' &&
               m_text[m_pos] <= '9') {
            value = value * 10 + (m_text[m_pos] - '0');
            ++digits;
            ++m_pos;
        }
        return digits > 0;
    }

    bool ReadSeparator() {
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == m_separator) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    char m_separator;
    size_t m_pos = 0;
};

bool ScanDate(std::string_view text, const TFormatSettings& settings, int currentYear,
              TDateTime& result) {
    DateScanner scan(text, settings.DateSeparator);
    int n1 = 0, n2 = 0, n3 = 0, len1 = 0, len2 = 0, len3 = 0;
    if (!scan.ReadNumber(n1, len1) || !scan.ReadSeparator() || !scan.ReadNumber(n2, len2)) {
        return false;
    }
    int year = 0, month = 0, day = 0, yearDigits = 0;
    if (scan.ReadSeparator()) {
        if (!scan.ReadNumber(n3, len3)) {
            return false;
        }
        switch (settings.DateOrder) {
        case TDateOrder::MDY:
            month = n1, day = n2, year = n3, yearDigits = len3;
            break;
        case TDateOrder::DMY:
            day = n1, month = n2, year = n3, yearDigits = len3;
            break;
        case TDateOrder::YMD:
            year = n1, yearDigits = len1, month = n2, day = n3;
            break;
        }
    } else {
        year = currentYear;
        yearDigits = 4;
        if (settings.DateOrder == TDateOrder::DMY) {
            day = n1, month = n2;
        } else {
            month = n1, day = n2;
        }
    }
    if (yearDigits <= 2) {
        year += currentYear / 100 * 100;
    }
    // A trailing separator and blanks are allowed; anything else is not.
    scan.ReadSeparator();
    scan.SkipBlanks();
    if (!scan.AtEnd()) {
        return false;
    }
    return TryEncodeDate(year, month, day, result);
}

void AppendNumber(std::string& out, int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    out += buf;
}

} // namespace

std::optional<TDateTime> TryStrToDate(std::string_view text, const TFormatSettings& settings,
                                      int currentYear) {
    TDateTime result = 0;
    if (!ScanDate(text, settings, currentYear, result)) {
        return std::nullopt;
    }
    return result;
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings, int currentYear) {
    if (auto value = TryStrToDate(text, settings, currentYear)) {
        return *value;
    }
    throw EConvertError("'%s' is not a valid date", text);
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
    return StrToDate(text, settings, CurrentYear());
}

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings) {
    DateParts date = DecodeDate(value);
    TimeParts time = DecodeTime(value);
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        switch (format[++i]) {
        case 'd':
            AppendNumber(out, date.day, 2);
            break;
        case 'e':
            AppendNumber(out, date.day, 1);
            break;
        case 'm':
            AppendNumber(out, date.month, 2);
            break;
        case 'y':
            AppendNumber(out, date.year % 100, 2);
            break;
        case 'Y':
            AppendNumber(out, date.year, 1);
            break;
        case 'H':
            AppendNumber(out, time.hour, 2);
            break;
        case 'I':
            AppendNumber(out, time.hour % 12 == 0 ? 12 : time.hour % 12, 2);
            break;
        case 'M':
            AppendNumber(out, time.minute, 2);
            break;
        case 'S':
            AppendNumber(out, time.second, 2);
            break;
        case 'p':
            out += time.hour < 12 ? settings.TimeAMString : settings.TimePMString;
            break;
        case 'T':
            out += FormatDateTime("%H:%M:%S", value, settings);
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += format[i];
            break;
        }
    }
    return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTime(settings.LongTimeFormat, value, settings);
}

} // namespace rtl
