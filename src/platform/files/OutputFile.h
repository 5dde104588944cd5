#pragma once
// Writing a whole output file (a picture, a PDF page) the way a careful command-line tool does.
#include <string>
#include <string_view>

namespace platform::files {

// The name that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Writes `bytes` to `path`; false with the cause (the system's text) in `cause`.
// - "-" is standard output.
// - A regular file (or a new one) is replaced atomically: the bytes go to a fresh temporary in the
//   same folder (unique, created exclusively, never through a symlink) that is renamed over the
//   target, so no reader sees half a file and a failure leaves the old file and no temporary. An
//   existing file keeps its permissions.
// - A symlink is followed: the file it names is written, the link stays.
// - Anything else that exists (a device, a FIFO, /dev/stdout) is written in place.
// `error`, when given, receives the system's error number of a failure (ENOSPC, EACCES ...).
bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& cause,
                     int* error = nullptr);

} // namespace platform::files
