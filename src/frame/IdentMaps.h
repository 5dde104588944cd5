#pragma once
// Identifier maps: named integer constants (colours, character sets, cursors) that a stream may
// store by name for integer properties of one particular integer type.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "frame/TypeInfo.h"

namespace frame {

using TIdentToInt = std::function<bool(std::string_view ident, int32_t& value)>;
using TIntToIdent = std::function<bool(int32_t value, std::string& ident)>;

struct TIdentMapEntry {
    int32_t value;
    const char* name;
};

// Adds a map for exactly this integer type. The standard maps (TColor, TFontCharset, TCursor)
// are present from the start.
void RegisterIdentMap(const TTypeInfo* type, TIdentToInt toInt, TIntToIdent toIdent);
// Converts with the first map of this type that accepts the identifier.
bool IdentToIntFor(const TTypeInfo* type, std::string_view ident, int32_t& value);
// Names the value with the first map of this type that knows it.
bool IntToIdentFor(const TTypeInfo* type, int32_t value, std::string& ident);
// Table look-ups (identifiers compared ASCII case-insensitively).
bool IdentToInt(std::string_view ident, int32_t& value, std::span<const TIdentMapEntry> map);
bool IntToIdent(int32_t value, std::string& ident, std::span<const TIdentMapEntry> map);

} // namespace frame
