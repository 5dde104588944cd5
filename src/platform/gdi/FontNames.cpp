#include "platform/gdi/FontNames.h"

#include <algorithm>
#include <cctype>

namespace platform::gdi {

std::string ResolveFontFamily(const std::string& name) {
    std::string key;
    for (char c : name)
        key += char(std::tolower(static_cast<unsigned char>(c)));
    // A trailing " cyr" names the Cyrillic cut of the same family.
    if (key.size() > 4 && key.compare(key.size() - 4, 4, " cyr") == 0)
        key.resize(key.size() - 4);
    static const struct {
        const char* from;
        const char* to;
    } table[] = {
        {"ms sans serif", "Liberation Sans"},    {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},        {"tahoma", "Liberation Sans"},
        {"system", "Liberation Sans"},           {"ms shell dlg", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"ms serif", "Liberation Serif"},
        {"times", "Liberation Serif"},           {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
    };
    for (const auto& e : table)
        if (key == e.from)
            return e.to;
    return name.empty() ? std::string("Liberation Sans") : name;
}

} // namespace platform::gdi
