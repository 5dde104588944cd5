#include "frame/graphics/StreamBytes.h"

#include "rtl/Exception.h"

namespace frame {

std::vector<std::uint8_t> ReadRest(rtl::TStream& stream) {
    int64_t left = stream.Size() - stream.Position();
    std::vector<std::uint8_t> bytes(left > 0 ? std::size_t(left) : 0);
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

std::vector<std::uint8_t> ReadLengthPrefixed(rtl::TStream& stream) {
    std::uint8_t raw[4];
    stream.ReadBuffer(raw, 4);
    std::uint32_t length = std::uint32_t(raw[0]) | (std::uint32_t(raw[1]) << 8) |
                           (std::uint32_t(raw[2]) << 16) | (std::uint32_t(raw[3]) << 24);
    // Never trust the length beyond what the stream holds.
    int64_t left = stream.Size() - stream.Position();
    if (int64_t(length) > left)
        throw rtl::EReadError(std::string("Stream read error"));
    std::vector<std::uint8_t> bytes(length);
    if (length)
        stream.ReadBuffer(bytes.data(), length);
    return bytes;
}

void WriteLength(rtl::TStream& stream, std::uint32_t length) {
    std::uint8_t raw[4] = {std::uint8_t(length), std::uint8_t(length >> 8),
                           std::uint8_t(length >> 16), std::uint8_t(length >> 24)};
    stream.WriteBuffer(raw, 4);
}

} // namespace frame
