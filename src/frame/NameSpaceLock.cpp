#include "frame/NameSpaceLock.h"

namespace frame {

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
    std::unique_lock lock(m_mutex);
    // The writing thread may read what it is writing.
    if (m_writeDepth > 0 && m_writer == std::this_thread::get_id()) {
        ++m_readers;
        return;
    }
    m_changed.wait(lock, [&] { return m_writeDepth == 0; });
    ++m_readers;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
    std::lock_guard lock(m_mutex);
    --m_readers;
    m_changed.notify_all();
}

void TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
    std::unique_lock lock(m_mutex);
    auto self = std::this_thread::get_id();
    if (m_writeDepth > 0 && m_writer == self) {
        ++m_writeDepth;
        return;
    }
    m_changed.wait(lock, [&] { return m_writeDepth == 0 && m_readers == 0; });
    m_writer = self;
    m_writeDepth = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
    std::lock_guard lock(m_mutex);
    if (--m_writeDepth == 0) {
        m_writer = std::thread::id();
        m_changed.notify_all();
    }
}

TMultiReadExclusiveWriteSynchronizer& GlobalNameSpace() {
    static TMultiReadExclusiveWriteSynchronizer lock;
    return lock;
}

} // namespace frame
