// Feeds arbitrary text to the form compiler. Whatever compiles must decompile, and compiling the
// decompiled text must give the same bytes; then the stream is loaded with the program's classes,
// as `formtool load` loads a form text, so mutated program forms reach the reader too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/ProgramClasses.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        app::RegisterProgramClasses();
        return true;
    }();
    (void)registered;
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
    try {
        rtl::TBytesStream stream(bytes);
        frame::TReader reader(stream);
        std::unique_ptr<frame::TComponent> root(reader.ReadRootComponent(nullptr));
        frame::DescribeComponentTree(root.get());
    } catch (const rtl::Exception&) {
    }
    return 0;
}
