#pragma once
// Byte streams: the abstract stream the filer reads and writes, with the checked whole-buffer
// operations whose failures carry the runtime's fixed texts.
#include <cstddef>
#include <cstdint>

namespace rtl {

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to `count` bytes; returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes up to `count` bytes; returns how many were written.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
    virtual int64_t Size();

    // Reads exactly `count` bytes or raises EReadError "Stream read error".
    void ReadBuffer(void* buffer, size_t count);
    // Writes exactly `count` bytes or raises EWriteError "Stream write error".
    void WriteBuffer(const void* buffer, size_t count);
    // Copies `count` bytes from `source` (all of it from position 0 when count is 0).
    int64_t CopyFrom(TStream& source, int64_t count);
};

} // namespace rtl
