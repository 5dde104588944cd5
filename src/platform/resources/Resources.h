#pragma once
// Resources built into the executable: each is a block of bytes with a type and a name. The
// build generates a source per executable that registers its table (cmake:
// zorvane_embed_resources); look-ups compare names without regard to case.
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "rtl/TMemoryStream.h"

namespace platform {

enum TResourceType : int { RT_BITMAP = 2, RT_RCDATA = 10, RT_GROUP_ICON = 14 };

struct TResourceEntry {
    int type;
    const char* name;
    const unsigned char* data;
    size_t size;
};

// Adds a table for the life of the process; the generated source makes one at start-up.
class TResourceTableRegistration {
public:
    explicit TResourceTableRegistration(std::span<const TResourceEntry> entries);
};

// The bytes of the resource, or nothing.
std::optional<std::string_view> FindResource(int type, std::string_view name);
// The bytes of the resource; fails with EResNotFound "Resource %s not found".
std::string_view LoadResource(int type, std::string_view name);

// A read-only stream straight over a resource's bytes: nothing is copied, and writing fails with
// EStreamError "Can't write to a read-only resource stream".
class TResourceStream : public rtl::TBytesStream {
public:
    TResourceStream(std::string_view name, int type = RT_RCDATA)
        : rtl::TBytesStream(LoadResource(type, name)) {}
};

} // namespace platform
