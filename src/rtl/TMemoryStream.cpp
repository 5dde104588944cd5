#include "rtl/TMemoryStream.h"

#include <algorithm>
#include <cstring>

#include "rtl/Exception.h"

namespace rtl {

namespace {
size_t SeekIn(size_t size, size_t position, int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::Beginning ? 0
                   : origin == TSeekOrigin::Current ? static_cast<int64_t>(position)
                                                    : static_cast<int64_t>(size);
    int64_t target = base + offset;
    return target < 0 ? 0 : static_cast<size_t>(target);
}

size_t CopyOut(std::string_view bytes, size_t& position, void* buffer, size_t count) {
    if (position >= bytes.size())
        return 0;
    size_t n = std::min(count, bytes.size() - position);
    std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    return n;
}
} // namespace

size_t TMemoryStream::Read(void* buffer, size_t count) {
    return CopyOut(Bytes(), m_position, buffer, count);
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0)
        return 0;
    if (m_position + count > m_data.size())
        m_data.resize(m_position + count);
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    m_position = SeekIn(m_data.size(), m_position, offset, origin);
    return static_cast<int64_t>(m_position);
}

void TMemoryStream::SetSize(size_t size) {
    m_data.resize(size);
    m_position = std::min(m_position, size);
}

void TMemoryStream::Clear() {
    m_data.clear();
    m_position = 0;
}

size_t TBytesStream::Read(void* buffer, size_t count) {
    return CopyOut(m_bytes, m_position, buffer, count);
}

size_t TBytesStream::Write(const void*, size_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TBytesStream::Seek(int64_t offset, TSeekOrigin origin) {
    m_position = SeekIn(m_bytes.size(), m_position, offset, origin);
    return static_cast<int64_t>(m_position);
}

} // namespace rtl
