#pragma once
// The common side of the reader and the writer, as the objects being streamed see it: the place
// where a class declares its defined properties.
#include <functional>
#include <string_view>

#include "rtl/TStream.h"

namespace frame {

class TReader;
class TWriter;
class TPersistent;

class TFiler {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(rtl::TStream&)>;

    virtual ~TFiler() = default;

    // A property stored as tagged values: `read` consumes exactly one value with the reader's
    // Read* operations, `write` produces one with the writer's Write* operations. `hasData` says
    // whether the writer stores it at all. Either procedure may be empty.
    virtual void DefineValueProperty(std::string_view name, const TReaderProc& read,
                                     const TWriterProc& write, bool hasData) = 0;
    // A property stored as one binary block: `read` gets a memory stream positioned at 0 holding
    // the block; `write` writes the block into the stream it gets.
    virtual void DefineStreamProperty(std::string_view name, const TStreamProc& read,
                                      const TStreamProc& write, bool hasData) = 0;

    // The same two declarations under their customary short names.
    void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) {
        DefineValueProperty(name, read, write, hasData);
    }
    void DefineBinaryProperty(std::string_view name, const TStreamProc& read,
                              const TStreamProc& write, bool hasData) {
        DefineStreamProperty(name, read, write, hasData);
    }

    // The object this one is compared with when writing (null: compare with defaults). Always
    // null while reading.
    TPersistent* Ancestor() const { return m_ancestor; }
    void SetAncestor(TPersistent* ancestor) { m_ancestor = ancestor; }

protected:
    TPersistent* m_ancestor = nullptr;
};

} // namespace frame
