#include "frame/IdentMaps.h"

#include <mutex>
#include <vector>

#include "frame/ClassBuilder.h"
#include "frame/StandardIdents.h"

namespace frame {

namespace {
struct MapEntry {
    const TTypeInfo* type;
    TIdentToInt toInt;
    TIntToIdent toIdent;
};

struct MapList {
    std::mutex lock;
    std::vector<MapEntry> maps;
};

void AddTable(std::vector<MapEntry>& maps, const TTypeInfo* type,
              std::span<const TIdentMapEntry> table) {
    maps.push_back({type,
                    [table](std::string_view i, int32_t& v) { return IdentToInt(i, v, table); },
                    [table](int32_t v, std::string& i) { return IntToIdent(v, i, table); }});
}

MapList& Maps() {
    static MapList list;
    static const bool standard = [] {
        AddTable(list.maps, ColorType(), ColorIdents());
        AddTable(list.maps, FontCharsetType(), CharsetIdents());
        AddTable(list.maps, CursorType(), CursorIdents());
        return true;
    }();
    (void)standard;
    return list;
}
} // namespace

void RegisterIdentMap(const TTypeInfo* type, TIdentToInt toInt, TIntToIdent toIdent) {
    MapList& list = Maps();
    std::lock_guard guard(list.lock);
    list.maps.push_back({type, std::move(toInt), std::move(toIdent)});
}

bool IdentToIntFor(const TTypeInfo* type, std::string_view ident, int32_t& value) {
    MapList& list = Maps();
    std::lock_guard guard(list.lock);
    for (const MapEntry& m : list.maps) {
        if (m.type == type && m.toInt && m.toInt(ident, value))
            return true;
    }
    return false;
}

bool IntToIdentFor(const TTypeInfo* type, int32_t value, std::string& ident) {
    MapList& list = Maps();
    std::lock_guard guard(list.lock);
    for (const MapEntry& m : list.maps) {
        if (m.type == type && m.toIdent && m.toIdent(value, ident))
            return true;
    }
    return false;
}

bool IdentToInt(std::string_view ident, int32_t& value, std::span<const TIdentMapEntry> map) {
    for (const TIdentMapEntry& e : map) {
        if (SameText(e.name, ident)) {
            value = e.value;
            return true;
        }
    }
    return false;
}

bool IntToIdent(int32_t value, std::string& ident, std::span<const TIdentMapEntry> map) {
    for (const TIdentMapEntry& e : map) {
        if (e.value == value) {
            ident = e.name;
            return true;
        }
    }
    return false;
}

} // namespace frame
