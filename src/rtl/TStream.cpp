#include "rtl/TStream.h"

#include <algorithm>

#include "rtl/Exception.h"

namespace rtl {

int64_t TStream::Size() {
    int64_t position = Seek(0, TSeekOrigin::Current);
    int64_t size = Seek(0, TSeekOrigin::End);
    Seek(position, TSeekOrigin::Beginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    int64_t total = count;
    char chunk[8192];
    while (count > 0) {
        size_t n = static_cast<size_t>(std::min<int64_t>(count, sizeof chunk));
        source.ReadBuffer(chunk, n);
        WriteBuffer(chunk, n);
        count -= static_cast<int64_t>(n);
    }
    return total;
}

} // namespace rtl
