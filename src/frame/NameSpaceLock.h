#pragma once
// A multi-reader, single-writer lock whose write side the owning thread may take again (a form
// under construction takes it, and so does the reader of each of its resources).
#include <condition_variable>
#include <mutex>
#include <thread>

namespace frame {

class TMultiReadExclusiveWriteSynchronizer {
public:
    void BeginRead();
    void EndRead();
    void BeginWrite();
    void EndWrite();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_readers = 0;
    int m_writeDepth = 0;
    std::thread::id m_writer;
};

// The global component name space lock: held for writing while a root is read or destroyed and
// while references between roots are resolved; name look-ups of other threads read under it.
TMultiReadExclusiveWriteSynchronizer& GlobalNameSpace();

class TWriteLockGuard {
public:
    explicit TWriteLockGuard(TMultiReadExclusiveWriteSynchronizer& lock) : m_lock(lock) {
        m_lock.BeginWrite();
    }
    ~TWriteLockGuard() { m_lock.EndWrite(); }
    TWriteLockGuard(const TWriteLockGuard&) = delete;
    TWriteLockGuard& operator=(const TWriteLockGuard&) = delete;

private:
    TMultiReadExclusiveWriteSynchronizer& m_lock;
};

} // namespace frame
