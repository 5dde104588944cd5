#pragma once
// The form stream reader: creates, names and fills components from a "TPF0" stream of tagged
// values through the type information of their published properties, hands properties without
// a published counterpart to the objects' defined-property procedures, binds events to the
// root's published methods and resolves references between components.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/Fixups.h"
#include "frame/TFiler.h"
#include "frame/TypeInfo.h"
#include "frame/ValueTags.h"

namespace frame {

class TComponent;
class TPersistent;
class TCollection;
struct TClassInfo;

class TReader : public TFiler {
public:
    static constexpr size_t kBufferSize = 4096;
    // Objects, lists and collections nested deeper than this fail with EReadError.
    static constexpr int kMaxDepth = 1000;

    explicit TReader(rtl::TStream& stream, size_t bufferSize = kBufferSize);
    // Gives the bytes read ahead back to the stream.
    ~TReader() override;

    // --- Whole objects ---
    // Reads a stream with `root` as its root; with no root, the root's class is looked up among
    // the stream classes and created without owner. Returns the root.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one child object; returns it, or null when the error hook excused a failure.
    TComponent* ReadComponent(TComponent* component);
    // Reads an object's property records and children (the default ReadComponentState).
    void ReadData(TComponent* instance);
    // Reads one property record into `instance`.
    void ReadProperty(TPersistent* instance);
    // Reads a collection's items (after its tag) into `collection`.
    void ReadCollection(TCollection* collection);
    void ReadSignature();
    void ReadPrefix(int& flags, int& childPos);

    // --- Values, for defined-property procedures; a wrong tag is "Invalid property value" ---
    TValueType ReadValue();
    TValueType NextValue();
    void CheckValue(TValueType expected);
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    int32_t ReadInteger();
    bool ReadBoolean();
    char ReadChar();
    long double ReadFloat();
    float ReadSingle();
    int64_t ReadCurrency(); // ten-thousandths
    double ReadDate();
    std::string ReadString();        // tags 6 and 12, code page 1251 -> UTF-8
    std::u16string ReadWideString(); // tag 18
    std::string ReadIdent();         // tag 7 text, 8 "False", 9 "True", 13 "nil"
    std::string ReadStr();           // a short string, bytes as stored
    void SkipValue();
    void Read(void* buffer, size_t count);
    uint8_t ReadByte() {
        if (m_pos == m_end)
            Refill();
        return static_cast<uint8_t>(m_buffer[m_pos++]);
    }

    // --- State ---
    TComponent* Root() const { return m_root; }
    TComponent* Owner() const { return m_owner; }
    void SetOwner(TComponent* owner) { m_owner = owner; }
    TComponent* Parent() const { return m_parent; }
    void SetParent(TComponent* parent) { m_parent = parent; }
    const std::string& PropName() const { return m_propName; }
    bool CanHandleExceptions() const { return m_canHandleExceptions; }
    void SetCanHandleExceptions(bool on) { m_canHandleExceptions = on; }

    // Drops every pointer this reader keeps to `component`, which is being destroyed.
    void Forget(TComponent* component);

    // --- Hooks (nothing in the program sets them) ---
    // An error message; set `handled` to skip the failed property or object and go on.
    std::function<void(TReader&, const std::string& message, bool& handled)> OnError;
    // An event handler name not published by the root; supply `code` or clear `error`.
    std::function<void(TReader&, const std::string& methodName, TMethod::Code& code, bool& error)>
        OnFindMethod;
    std::function<void(TReader&, TComponent*, std::string& name)> OnSetName;
    std::function<void(TReader&, std::string& name)> OnReferenceName;
    std::function<void(TReader&, const std::string& name, const TClassInfo* cls,
                       TComponent*& component)>
        OnAncestorNotFound;

    // TFiler
    void DefineValueProperty(std::string_view name, const TReaderProc& read,
                             const TWriterProc& write, bool hasData) override;
    void DefineStreamProperty(std::string_view name, const TStreamProc& read,
                              const TStreamProc& write, bool hasData) override;

private:
    friend class TDepthGuard;
    void Refill();
    [[noreturn]] void InvalidValue();
    [[noreturn]] void SkipAndFail(const char* message);
    void SkipBytes(size_t count);
    void SkipSetBody();
    void SkipProperty();
    void SkipComponent(bool skipHeader);
    void SkipCollectionBody();
    bool HandleError(const std::string& message);
    int32_t ReadIntegerValue(TValueType tag);
    long double ReadExtended();
    void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
    int64_t ReadIntegerProp(const TTypeInfo* type);
    int ReadEnumProp(const TTypeInfo* type);
    long double ReadFloatProp(TFloatType floatType);
    uint32_t ReadSetProp(const TTypeInfo* elementType);
    void ReadClassProp(TPersistent* instance, const TPropInfo* prop);
    void ReadVariant(TPersistent* instance, const TPropInfo* prop);
    void ReadEvent(TPersistent* instance, const TPropInfo* prop);
    void ReadReference(TPersistent* instance, const TPropInfo* prop);
    // The property records and children of ReadData, with the reader's state restored after.
    void ReadRecords(TComponent* instance);
    void ResolveLocalFixups();
    const TClassInfo* FindComponentClass(const std::string& className);
    void CallAfterLoad(std::vector<TComponent*>& loaded);
    // Adds to the loaded list; a component not created now may be there already.
    void AddLoaded(TComponent* component, bool created);
    // Forgets the pending references to this root whose property belongs to `instance`.
    void DropFixupsOf(TPersistent* instance);

    rtl::TStream& m_stream;
    // The usual 4096 bytes live inside the reader: forms are read often, and a heap block per
    // reader is measurable. Other sizes use m_bigBuffer.
    std::array<char, kBufferSize> m_inlineBuffer;
    std::vector<char> m_bigBuffer;
    std::span<char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;

    TComponent* m_root = nullptr;
    TComponent* m_owner = nullptr;
    TComponent* m_parent = nullptr;
    TComponent* m_reading = nullptr; // the component whose data is being read
    std::vector<TComponent*>* m_loaded = nullptr;
    std::vector<TComponent*> m_ownLoaded;
    std::unique_ptr<std::vector<TPropFixup>> m_fixups;
    std::string m_propName;
    bool m_canHandleExceptions = true;
    int m_depth = 0;
};

// Called by every component as it is destroyed: removes it from this thread's loading batches
// and from the lists and state of its live readers.
void ForgetDestroyedComponent(TComponent* component);

// The loading batch of this thread: while one is open, readers add the components they read to
// its list and leave AfterLoad to EndLoadingBatch. Batches nest.
void BeginLoadingBatch();
// Calls AfterLoad on the batch's components (unless `failed`) and restores the outer batch.
void EndLoadingBatch(bool failed);

} // namespace frame
