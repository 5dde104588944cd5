// Feeds arbitrary text to the form compiler. Whatever compiles must decompile, and compiling the
// decompiled text must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/FormText.h"
#include "rtl/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string bytes;
    try {
        bytes = frame::ObjectTextToBinary(text);
    } catch (const rtl::Exception&) {
        return 0;
    }
    std::string again = frame::ObjectTextToBinary(frame::ObjectBinaryToText(bytes));
    if (again != bytes)
        std::abort();
    return 0;
}
