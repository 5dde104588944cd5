#pragma once
// Byte helpers of the graphics blocks.
#include <cstdint>
#include <vector>

#include "rtl/TStream.h"

namespace frame {

// Everything from the current position to the end.
std::vector<std::uint8_t> ReadRest(rtl::TStream& stream);
// A 4-byte little-endian length, then that many bytes (EReadError when the stream is shorter).
std::vector<std::uint8_t> ReadLengthPrefixed(rtl::TStream& stream);
void WriteLength(rtl::TStream& stream, std::uint32_t length);

} // namespace frame
