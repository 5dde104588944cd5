#pragma once
// A growable stream in memory; also the stream a defined binary property is handed.
#include <string_view>
#include <vector>

#include "rtl/TStream.h"

namespace rtl {

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string_view bytes) : m_data(bytes.begin(), bytes.end()) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(m_data.size()); }

    void SetSize(size_t size);
    void Clear();
    const char* Memory() const { return m_data.data(); }
    std::string_view Bytes() const { return {m_data.data(), m_data.size()}; }

private:
    std::vector<char> m_data;
    size_t m_position = 0;
};

// A read-only stream over bytes that live elsewhere (a resource, a fuzz input): nothing is copied.
class TBytesStream : public TStream {
public:
    explicit TBytesStream(std::string_view bytes) : m_bytes(bytes) {}

    size_t Read(void* buffer, size_t count) override;
    // Always raises EStreamError "Can't write to a read-only resource stream".
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(m_bytes.size()); }

private:
    std::string_view m_bytes;
    size_t m_position = 0;
};

} // namespace rtl
