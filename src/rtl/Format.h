#pragma once
// printf-style filling of the fixed message texts: %s, %d, %u, %x, %X and %% are understood, each
// placeholder taking the next argument whatever its type. The texts are constants of ours, so a
// missing argument becomes an empty string instead of undefined behaviour.
#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

namespace detail {
std::string FormatArgs(std::string_view fmt, const std::vector<std::string>& args,
                       const std::vector<long long>& ints, const std::vector<bool>& isInt);

struct FormatArgList {
    std::vector<std::string> text;
    std::vector<long long> ints;
    std::vector<bool> isInt;

    void Add(std::string_view s) {
        text.emplace_back(s);
        ints.push_back(0);
        isInt.push_back(false);
    }
    void Add(const char* s) { Add(std::string_view(s ? s : "")); }
    void Add(const std::string& s) { Add(std::string_view(s)); }
    void Add(char c) { Add(std::string_view(&c, 1)); }
    template <std::integral T> void Add(T v) {
        text.push_back(std::to_string(v));
        ints.push_back(static_cast<long long>(v));
        isInt.push_back(true);
    }
    void Add(double v) {
        text.push_back(std::to_string(v));
        ints.push_back(static_cast<long long>(v));
        isInt.push_back(false);
    }
};
} // namespace detail

template <typename... Args> std::string Format(std::string_view fmt, const Args&... args) {
    detail::FormatArgList list;
    (list.Add(args), ...);
    return detail::FormatArgs(fmt, list.text, list.ints, list.isInt);
}

} // namespace rtl
