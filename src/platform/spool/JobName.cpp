#include "platform/spool/JobName.h"

#include "rtl/Utf8.h"

namespace platform::spool {

std::string CutToCharacters(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < maxChars && pos < text.size(); ++count)
        rtl::NextUtf8(text, pos);
    return std::string(text.substr(0, pos));
}

std::string SafeJobName(std::string_view title) {
    std::string name;
    std::size_t pos = 0;
    while (pos < title.size()) {
        char32_t c = rtl::NextUtf8(title, pos);
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            c = U' ';
        std::string encoded;
        rtl::AppendUtf8(encoded, c);
        if (name.size() + encoded.size() > kMaxJobNameBytes)
            break;
        name += encoded;
    }
    return name;
}

} // namespace platform::spool
