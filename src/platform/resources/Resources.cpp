#include "platform/resources/Resources.h"

#include <mutex>
#include <vector>

#include "rtl/Exception.h"

namespace platform {

namespace {
struct Tables {
    std::mutex lock;
    std::vector<std::span<const TResourceEntry>> tables;
};

Tables& AllTables() {
    static Tables tables;
    return tables;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

TResourceTableRegistration::TResourceTableRegistration(std::span<const TResourceEntry> entries) {
    Tables& t = AllTables();
    std::lock_guard guard(t.lock);
    t.tables.push_back(entries);
}

std::optional<std::string_view> FindResource(int type, std::string_view name) {
    Tables& t = AllTables();
    std::lock_guard guard(t.lock);
    for (auto table : t.tables) {
        for (const TResourceEntry& e : table) {
            if (e.type == type && SameName(e.name, name))
                return std::string_view(reinterpret_cast<const char*>(e.data), e.size);
        }
    }
    return std::nullopt;
}

std::string_view LoadResource(int type, std::string_view name) {
    if (auto bytes = FindResource(type, name))
        return *bytes;
    throw rtl::EResNotFound("Resource %s not found", name);
}

} // namespace platform
