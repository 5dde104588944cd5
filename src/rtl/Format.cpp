#include "rtl/Format.h"

#include <cstdio>

namespace rtl::detail {

std::string FormatArgs(std::string_view fmt, const std::vector<std::string>& args,
                       const std::vector<long long>& ints, const std::vector<bool>& isInt) {
    std::string out;
    out.reserve(fmt.size() + 32);
    size_t next = 0;
    for (size_t i = 0; i < fmt.size(); ++i) {
        char c = fmt[i];
        if (c != '%' || i + 1 == fmt.size()) {
            out += c;
            continue;
        }
        char spec = fmt[++i];
        if (spec == '%') {
            out += '%';
            continue;
        }
        if (next >= args.size()) {
            continue;
        }
        if ((spec == 'x' || spec == 'X') && isInt[next]) {
            char buf[32];
            std::snprintf(buf, sizeof buf, spec == 'x' ? "%llx" : "%llX",
                          static_cast<unsigned long long>(ints[next]));
            out += buf;
        } else {
            out += args[next];
        }
        ++next;
    }
    return out;
}

} // namespace rtl::detail
