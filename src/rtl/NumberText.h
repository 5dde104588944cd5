#pragma once
// Integer and float text conversion.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rtl/FormatSettings.h"

namespace rtl {

std::string IntToStr(int64_t value);
// Leading blanks, an optional sign, then decimal digits or hexadecimal after "$" or "0x"; the
// value must fit in 32 bits. Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view text);
std::optional<int32_t> TryStrToInt(std::string_view text);

// The axis-label format "#,##0.###": thousands grouped with the settings' separator, at most
// three decimals (rounded half away from zero, trailing zeros dropped), the settings' decimal
// separator. A value that rounds to zero loses its sign; infinities and NaN are written as
// "INF", "-INF" and "NAN".
std::string FormatAxisFloat(double value, const TFormatSettings& settings);

} // namespace rtl
