#pragma once
// Job names: cut by characters, never inside one, and made acceptable to the print service
// (which refuses a name that is not UTF-8 or that holds control characters).
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::spool {

// The longest job name sent, in bytes (the print service's limit for names).
constexpr std::size_t kMaxJobNameBytes = 255;

// The first `maxChars` characters of UTF-8 text, bytes as they are; a malformed byte counts as
// one character.
std::string CutToCharacters(std::string_view text, std::size_t maxChars);
// The text as a job name: malformed bytes become U+FFFD, control characters spaces, and the
// result is cut to kMaxJobNameBytes on a character boundary.
std::string SafeJobName(std::string_view title);

} // namespace platform::spool
