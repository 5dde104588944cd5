#pragma once
// The reader's nesting count: objects, lists and collections nested past TReader::kMaxDepth fail
// with EReadError, so that a hostile stream cannot exhaust the stack.
#include "frame/TReader.h"
#include "rtl/Exception.h"

namespace frame {

class TDepthGuard {
public:
    explicit TDepthGuard(TReader& reader) : m_reader(reader) {
        if (m_reader.m_depth >= TReader::kMaxDepth)
            throw rtl::EReadError("Stream nesting too deep");
        ++m_reader.m_depth;
    }
    ~TDepthGuard() { --m_reader.m_depth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
    TReader& m_reader;
};

} // namespace frame
