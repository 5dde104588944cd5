#pragma once
// The form stream writer: the counterpart of TReader, storing a component tree as a "TPF0"
// stream with every published property that differs from its default and every defined property
// that has data.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/TFiler.h"
#include "frame/TypeInfo.h"
#include "frame/ValueTags.h"

namespace frame {

class TComponent;
class TPersistent;
class TCollection;
struct TPropInfo;

class TWriter : public TFiler {
public:
    static constexpr size_t kBufferSize = 4096;

    explicit TWriter(rtl::TStream& stream, size_t bufferSize = kBufferSize);
    ~TWriter() override; // flushes

    // The signature and the root's object record.
    void WriteRootComponent(TComponent* root);
    // As WriteRootComponent, for a root made from `ancestor` (an instance of the ancestor form):
    // components the ancestor has too are written with pfInherited, and only the values that
    // differ from the ancestor's.
    void WriteDescendent(TComponent* root, TComponent* ancestor);
    // One object record: prefix, class, name, properties, children.
    void WriteComponent(TComponent* component);
    // An object's property records, end byte, children, end byte (the default
    // WriteComponentState).
    void WriteData(TComponent* instance);
    // Published and defined properties of an object (no end byte).
    void WriteProperties(TPersistent* instance);
    void WriteCollection(TCollection* collection);
    void WriteSignature();
    void WritePrefix(int flags, int childPos);

    // --- Values, for defined-property procedures ---
    void WriteValue(TValueType tag);
    void WriteListBegin() { WriteValue(stList); }
    void WriteListEnd() { WriteValue(stNull); }
    void WriteInteger(int64_t value); // smallest of tags 2, 3, 4 (32-bit at most)
    void WriteBoolean(bool value);
    void WriteChar(char value);
    void WriteFloat(long double value);
    void WriteSingle(float value);
    void WriteCurrency(int64_t tenThousandths);
    void WriteDate(double value);
    void WriteString(std::string_view utf8);     // stored in code page 1251
    void WriteRawString(std::string_view bytes); // tag 6 or 12, bytes as given
    void WriteWideString(std::u16string_view text);
    void WriteIdent(std::string_view ident); // "False", "True", "nil" as their own tags
    void WriteStr(std::string_view bytes);   // a short string (at most 255 bytes)
    void WriteBinary(std::string_view bytes);
    void Write(const void* buffer, size_t count);
    void FlushBuffer();

    TComponent* Root() const { return m_root; }
    void SetRoot(TComponent* root) { m_root = root; }

    // TFiler
    void DefineValueProperty(std::string_view name, const TReaderProc& read,
                             const TWriterProc& write, bool hasData) override;
    void DefineStreamProperty(std::string_view name, const TStreamProc& read,
                              const TStreamProc& write, bool hasData) override;

private:
    void WritePropName(std::string_view name);
    void WriteProperty(TPersistent* instance, const TPropInfo* prop);
    void WriteObjectProperty(TPersistent* instance, const TPropInfo* prop);
    void WritePropValue(const TTypeInfo* type, const TValue& value);
    void WriteFloatValue(TFloatType floatType, long double value);
    void WriteSetValue(const TTypeInfo* elementType, uint32_t mask);
    void WriteMethodValue(const TMethod& method);
    void WriteVariantValue(const TVariant& value);
    // The ancestor object matching `instance`, when there is one.
    TPersistent* AncestorFor(TPersistent* instance) const;
    std::string ReferenceName(TComponent* component) const;

    rtl::TStream& m_stream;
    std::vector<char> m_buffer;
    size_t m_pos = 0;
    TComponent* m_root = nullptr;
    TComponent* m_rootAncestor = nullptr;
    std::string m_propPath; // "Font." while the properties of a sub-object are written
};

} // namespace frame
