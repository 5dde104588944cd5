#include "frame/TReader.h"

#include <algorithm>
#include <cstring>

#include "frame/IdentMaps.h"
#include "frame/NameSpaceLock.h"
#include "frame/StreamClasses.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"
#include "rtl/CodePage1251.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"
#include "rtl/TMemoryStream.h"
#include "rtl/Utf8.h"

namespace frame {

// Counts nesting of objects, lists and collections so that a hostile stream cannot exhaust the
// stack.
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

namespace {
constexpr size_t kChunk = 65536;

thread_local std::vector<std::unique_ptr<std::vector<TComponent*>>> t_batches;
// The readers alive on this thread: a component destroyed while they read (a failed child, the
// children its parent took with it, an item a setter replaced) must vanish from their lists.
thread_local std::vector<TReader*> t_readers;

bool IsIntegerTag(TValueType tag) {
    return tag == stInt8 || tag == stInt16 || tag == stInt32;
}

// A new component of `cls`, marked loading; classes that cannot make one count as unknown.
TComponent* CreateComponent(const TClassInfo* cls, TComponent* owner,
                            const std::string& className) {
    TObject* object = cls->create ? cls->create(owner) : nullptr;
    auto* component = As<TComponent>(object);
    if (!component) {
        delete object;
        throw rtl::EClassNotFound("Class %s not found", className);
    }
    component->SetStateFlag(csLoading, true);
    return component;
}

std::string InstanceName(TPersistent* instance) {
    if (auto* c = As<TComponent>(instance); c && !c->Name().empty())
        return c->Name();
    return instance->ClassName();
}
} // namespace

void BeginLoadingBatch() {
    t_batches.push_back(std::make_unique<std::vector<TComponent*>>());
}

void EndLoadingBatch(bool failed) {
    if (t_batches.empty())
        return;
    std::unique_ptr<std::vector<TComponent*>> batch = std::move(t_batches.back());
    t_batches.pop_back();
    if (!failed) {
        for (TComponent* c : *batch)
            c->AfterLoad();
    }
}

void ForgetDestroyedComponent(TComponent* component) {
    for (auto& batch : t_batches)
        std::erase(*batch, component);
    for (TReader* reader : t_readers)
        reader->Forget(component);
}

TReader::TReader(rtl::TStream& stream, size_t bufferSize) : m_stream(stream) {
    t_readers.push_back(this);
    if (bufferSize == 0 || bufferSize == kBufferSize) {
        m_buffer = m_inlineBuffer;
    } else {
        m_bigBuffer.resize(bufferSize);
        m_buffer = m_bigBuffer;
    }
}

TReader::~TReader() {
    std::erase(t_readers, this);
    if (m_end > m_pos) {
        try {
            m_stream.Seek(-static_cast<int64_t>(m_end - m_pos), rtl::TSeekOrigin::Current);
        } catch (...) {
        }
    }
}

// --- Buffer ---

void TReader::Refill() {
    size_t n = m_stream.Read(m_buffer.data(), m_buffer.size());
    if (n == 0)
        throw rtl::EReadError("Stream read error");
    m_pos = 0;
    m_end = n;
}

void TReader::Read(void* buffer, size_t count) {
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        if (m_pos == m_end)
            Refill();
        size_t n = std::min(count, m_end - m_pos);
        std::memcpy(out, m_buffer.data() + m_pos, n);
        m_pos += n;
        out += n;
        count -= n;
    }
}

void TReader::SkipBytes(size_t count) {
    while (count > 0) {
        if (m_pos == m_end)
            Refill();
        size_t n = std::min(count, m_end - m_pos);
        m_pos += n;
        count -= n;
    }
}

// --- Values ---

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
    TValueType tag = ReadValue();
    --m_pos; // the byte just read is still in the buffer
    return tag;
}

void TReader::InvalidValue() {
    throw rtl::EReadError("Invalid property value");
}

// Called right after a tag was read that the caller cannot use: steps back over it, skips the
// whole value so that the stream stays in step, and fails.
void TReader::SkipAndFail(const char* message) {
    --m_pos;
    try {
        SkipValue();
    } catch (const rtl::Exception&) {
        // The value was broken as well; the first failure is the one to report.
    }
    throw rtl::EReadError(message);
}

void TReader::CheckValue(TValueType expected) {
    if (ReadValue() != expected)
        SkipAndFail("Invalid property value");
}

bool TReader::EndOfList() {
    return NextValue() == stNull;
}

void TReader::ReadListBegin() {
    CheckValue(stList);
}

void TReader::ReadListEnd() {
    CheckValue(stNull);
}

int32_t TReader::ReadIntegerValue(TValueType tag) {
    switch (tag) {
    case stInt8:
        return static_cast<int8_t>(ReadByte());
    case stInt16: {
        uint8_t b[2];
        Read(b, 2);
        return static_cast<int16_t>(b[0] | (b[1] << 8));
    }
    case stInt32: {
        uint8_t b[4];
        Read(b, 4);
        return static_cast<int32_t>(
            static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
    }
    default:
        SkipAndFail("Invalid property value");
    }
}

int32_t TReader::ReadInteger() {
    return ReadIntegerValue(ReadValue());
}

bool TReader::ReadBoolean() {
    return ReadValue() == stTrue;
}

char TReader::ReadChar() {
    if (ReadValue() != stString)
        SkipAndFail("Invalid property value");
    std::string s = ReadStr();
    if (s.size() != 1)
        InvalidValue();
    return s[0];
}

long double TReader::ReadExtended() {
    uint8_t b[10];
    Read(b, 10);
    return DecodeExtended(b);
}

long double TReader::ReadFloat() {
    TValueType tag = ReadValue();
    if (tag == stExtended)
        return ReadExtended();
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return ReadIntegerValue(tag);
}

float TReader::ReadSingle() {
    TValueType tag = ReadValue();
    if (tag == stSingle) {
        float f;
        Read(&f, 4);
        return f;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return static_cast<float>(ReadIntegerValue(tag));
}

int64_t TReader::ReadCurrency() {
    TValueType tag = ReadValue();
    if (tag == stCurrency) {
        int64_t v;
        Read(&v, 8);
        return v;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return static_cast<int64_t>(ReadIntegerValue(tag)) * 10000;
}

double TReader::ReadDate() {
    TValueType tag = ReadValue();
    if (tag == stDate) {
        double d;
        Read(&d, 8);
        return d;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return ReadIntegerValue(tag);
}

std::string TReader::ReadStr() {
    size_t n = ReadByte();
    std::string s;
    if (m_end - m_pos >= n) {
        s.assign(m_buffer.data() + m_pos, n);
        m_pos += n;
    } else {
        s.resize(n);
        Read(s.data(), n);
    }
    return s;
}

std::string TReader::ReadString() {
    TValueType tag = ReadValue();
    if (tag == stString)
        return rtl::Cp1251ToUtf8(ReadStr());
    if (tag != stLString)
        SkipAndFail("Invalid property value");
    uint32_t length;
    Read(&length, 4);
    // Grown as the bytes arrive: a lying length must not allocate gigabytes.
    std::string bytes;
    while (bytes.size() < length) {
        size_t n = std::min<size_t>(kChunk, length - bytes.size());
        size_t at = bytes.size();
        bytes.resize(at + n);
        Read(bytes.data() + at, n);
    }
    return rtl::Cp1251ToUtf8(bytes);
}

std::u16string TReader::ReadWideString() {
    if (ReadValue() != stWString)
        SkipAndFail("Invalid property value");
    uint32_t count;
    Read(&count, 4);
    std::u16string text;
    while (text.size() < count) {
        size_t n = std::min<size_t>(kChunk, count - text.size());
        size_t at = text.size();
        text.resize(at + n);
        Read(text.data() + at, n * 2);
    }
    return text;
}

std::string TReader::ReadIdent() {
    switch (ReadValue()) {
    case stIdent:
        return ReadStr();
    case stFalse:
        return "False";
    case stTrue:
        return "True";
    case stNil:
        return "nil";
    default:
        SkipAndFail("Invalid property value");
    }
}

void TReader::SkipSetBody() {
    while (ReadByte() != 0) {
        --m_pos;
        ReadStr();
    }
}

void TReader::SkipCollectionBody() {
    TDepthGuard depth(*this);
    while (!EndOfList()) {
        if (IsIntegerTag(NextValue()))
            SkipValue();
        if (ReadValue() != stList)
            InvalidValue();
        while (!EndOfList())
            SkipProperty();
        ReadByte();
    }
    ReadByte();
}

void TReader::SkipProperty() {
    ReadStr();
    SkipValue();
}

void TReader::SkipValue() {
    switch (ReadValue()) {
    case stNull:
    case stFalse:
    case stTrue:
    case stNil:
        break;
    case stList: {
        TDepthGuard depth(*this);
        while (!EndOfList())
            SkipValue();
        ReadByte();
        break;
    }
    case stInt8:
        SkipBytes(1);
        break;
    case stInt16:
        SkipBytes(2);
        break;
    case stInt32:
    case stSingle:
        SkipBytes(4);
        break;
    case stExtended:
        SkipBytes(10);
        break;
    case stString:
    case stIdent:
        SkipBytes(ReadByte());
        break;
    case stBinary:
    case stLString: {
        uint32_t length;
        Read(&length, 4);
        SkipBytes(length);
        break;
    }
    case stSet:
        SkipSetBody();
        break;
    case stCollection:
        SkipCollectionBody();
        break;
    case stCurrency:
    case stDate:
        SkipBytes(8);
        break;
    case stWString: {
        uint32_t count;
        Read(&count, 4);
        SkipBytes(static_cast<size_t>(count) * 2);
        break;
    }
    default:
        // Tags above 18 are not part of the format; their length is unknown.
        InvalidValue();
    }
}

void TReader::SkipComponent(bool skipHeader) {
    TDepthGuard depth(*this);
    if (skipHeader) {
        int flags, position;
        ReadPrefix(flags, position);
        ReadStr();
        ReadStr();
    }
    while (!EndOfList())
        SkipProperty();
    ReadByte();
    while (!EndOfList())
        SkipComponent(true);
    ReadByte();
}

// --- Objects ---

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, kFormSignature, 4) != 0)
        throw rtl::EReadError("Invalid stream format");
}

void TReader::ReadPrefix(int& flags, int& childPos) {
    flags = 0;
    childPos = 0;
    if ((NextValue() & 0xF0) == 0xF0) {
        flags = ReadByte() & 0x0F;
        if (flags & pfChildPos)
            childPos = ReadInteger();
    }
}

bool TReader::HandleError(const std::string& message) {
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    return handled;
}

void TReader::AddLoaded(TComponent* component, bool created) {
    if (created || std::find(m_loaded->begin(), m_loaded->end(), component) == m_loaded->end())
        m_loaded->push_back(component);
}

void TReader::CallAfterLoad(std::vector<TComponent*>& loaded) {
    for (TComponent* c : loaded)
        c->AfterLoad();
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    ReadSignature();
    TWriteLockGuard nameSpace(GlobalNameSpace());
    TComponent* result = root;
    bool created = false;
    // A failed read leaves no half-read root behind: one made here goes (its subtree leaves
    // every reader's lists as it goes), one given keeps no reading state or pending references.
    rtl::ScopeExit abandon([&] {
        if (result) {
            RemoveGlobalFixupsOf(result);
            result->SetStateFlag(csReading, false);
        }
        if (created)
            delete result;
        m_root = nullptr;
        m_owner = nullptr;
    });
    int flags, position;
    ReadPrefix(flags, position);
    std::string className = ReadStr();
    if (root) {
        std::string name = ReadStr();
        if (!root->HasState(csDesigning)) {
            std::string unique = name;
            for (int i = 1;; ++i) {
                TComponent* other = FindGlobalRoot(unique);
                if (!other || other == root)
                    break;
                unique = rtl::Format("%s_%d", name, i);
            }
            root->SetName(unique);
        }
    } else {
        result = CreateComponent(GetStreamClass(className), nullptr, className);
        created = true;
        result->SetName(ReadStr());
    }
    m_root = result;
    m_owner = result;
    m_loaded = t_batches.empty() ? &m_ownLoaded : t_batches.back().get();
    // A form's resources are read one after another into the same root within one batch:
    // the root, like its inherited components, is loaded once.
    AddLoaded(result, created);
    result->SetStateFlag(csLoading, true);
    result->SetStateFlag(csReading, true);
    result->ReadComponentState(*this);
    result->SetStateFlag(csReading, false);
    if (m_loaded == &m_ownLoaded)
        CallAfterLoad(m_ownLoaded);
    ResolveGlobalFixups();
    abandon.Release();
    return result;
}

const TClassInfo* TReader::FindComponentClass(const std::string& className) {
    const TClassInfo* cls = m_root ? m_root->ClassType()->FindFieldClass(className) : nullptr;
    if (!cls)
        cls = FindStreamClass(className);
    if (!cls)
        throw rtl::EClassNotFound("Class %s not found", className);
    return cls;
}

TComponent* TReader::ReadComponent(TComponent* component) {
    TDepthGuard depth(*this);
    TComponent* savedParent = m_parent;
    TComponent* result = component;
    bool created = false;
    if (!m_loaded)
        m_loaded = &m_ownLoaded;
    try {
        int flags, position;
        ReadPrefix(flags, position);
        std::string className = ReadStr();
        std::string name = ReadStr();
        if (!result) {
            if (flags & pfInherited) {
                const TClassInfo* cls = FindComponentClass(className);
                result = m_root ? m_root->FindComponent(name) : nullptr;
                if (!result && OnAncestorNotFound)
                    OnAncestorNotFound(*this, name, cls, result);
                if (!result)
                    throw rtl::EReadError("Ancestor for '%s' not found", name);
                m_parent = result->GetParentComponent();
            } else {
                result = CreateComponent(FindComponentClass(className), m_owner, className);
                created = true;
                result->SetParentComponent(m_parent);
                if (OnSetName)
                    OnSetName(*this, result, name);
                result->SetName(name);
            }
        }
        result->SetStateFlag(csReading, true);
        result->ReadComponentState(*this);
        result->SetStateFlag(csReading, false);
        if ((flags & pfChildPos) && m_parent)
            m_parent->SetChildPosition(result, position);
        AddLoaded(result, created);
    } catch (...) {
        if (created) {
            // Whatever goes with it — owned components and the child controls it destroys,
            // whoever owns them — leaves the loaded list and the pending references as each is
            // destroyed: no AfterLoad, no reference resolution, nothing read after freeing.
            delete result;
        } else if (result) {
            result->SetStateFlag(csReading, false);
        }
        m_parent = savedParent;
        std::exception_ptr error = std::current_exception();
        try {
            std::rethrow_exception(error);
        } catch (const rtl::Exception& e) {
            if (OnError) {
                bool skipped = true;
                try {
                    SkipComponent(false);
                } catch (const rtl::Exception&) {
                    skipped = false; // the stream is broken too: report the first failure
                }
                if (skipped && HandleError(e.Message()))
                    return nullptr;
            }
        } catch (...) {
        }
        std::rethrow_exception(error);
    }
    m_parent = savedParent;
    return result;
}

void TReader::ReadData(TComponent* instance) {
    TDepthGuard depth(*this);
    bool outermost = !m_fixups;
    if (outermost)
        m_fixups = std::make_unique<std::vector<TPropFixup>>();
    // The references met in the outermost object are resolved once all of it is read.
    rtl::ScopeExit dropFixups([this, outermost] {
        if (outermost)
            m_fixups.reset();
    });
    ReadRecords(instance);
    if (outermost)
        ResolveLocalFixups();
}

void TReader::ReadRecords(TComponent* instance) {
    rtl::ValueRestore reading(m_reading, instance);
    rtl::ValueRestore parent(m_parent);
    rtl::ValueRestore owner(m_owner);
    while (!EndOfList())
        ReadProperty(instance);
    ReadByte();
    m_parent = instance->ChildParentForReading();
    m_owner = instance->ChildOwnerForReading();
    if (!m_owner)
        m_owner = m_root;
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadByte();
}

void TReader::ResolveLocalFixups() {
    std::vector<TPropFixup> fixups = std::move(*m_fixups);
    m_fixups->clear();
    for (TPropFixup& f : fixups) {
        std::string name = f.name;
        if (OnReferenceName)
            OnReferenceName(*this, name);
        f.prop->set(*f.instance, static_cast<TObject*>(FindReferencedComponent(m_root, name)));
    }
}

// --- Properties ---

void TReader::ReadProperty(TPersistent* instance) {
    std::string fullName = ReadStr();
    try {
        m_canHandleExceptions = true;
        TPersistent* target = instance;
        size_t start = 0;
        for (size_t dot; (dot = fullName.find('.', start)) != std::string::npos; start = dot + 1) {
            std::string_view element(fullName.data() + start, dot - start);
            const TPropInfo* prop = target->ClassType()->FindProperty(element);
            if (!prop) {
                SkipValue();
                throw rtl::EReadError("Property does not exist");
            }
            TPersistent* next = nullptr;
            if (prop->type->kind == TTypeKind::Class)
                next = As<TPersistent>(std::get<TObject*>(prop->get(*target)));
            if (!next) {
                SkipValue();
                throw rtl::EReadError("Invalid property path");
            }
            target = next;
        }
        m_propName.assign(fullName, start);
        // An empty last element ("Font.") names nothing, and an empty name would also pass
        // for one consumed by a defined property.
        if (m_propName.empty()) {
            SkipValue();
            throw rtl::EReadError("Property does not exist");
        }
        if (const TPropInfo* prop = target->ClassType()->FindProperty(m_propName)) {
            ReadPropValue(target, prop);
        } else {
            target->ListDefinedProperties(*this);
            if (!m_propName.empty()) {
                m_canHandleExceptions = true;
                SkipValue();
                throw rtl::EReadError("Property does not exist");
            }
        }
    } catch (const rtl::Exception& e) {
        std::string message = rtl::Format("Error reading %s%s%s: %s", InstanceName(instance), ".",
                                          fullName, e.Message());
        if (m_canHandleExceptions && HandleError(message))
            return;
        throw rtl::EReadError(message);
    }
}

void TReader::DefineValueProperty(std::string_view name, const TReaderProc& read,
                                  const TWriterProc&, bool) {
    if (!read || m_propName.empty() || !SameText(name, m_propName))
        return;
    m_canHandleExceptions = false;
    read(*this);
    m_canHandleExceptions = true;
    m_propName.clear();
}

void TReader::DefineStreamProperty(std::string_view name, const TStreamProc& read,
                                   const TStreamProc&, bool) {
    if (!read || m_propName.empty() || !SameText(name, m_propName))
        return;
    m_canHandleExceptions = true;
    if (ReadValue() != stBinary)
        SkipAndFail("Invalid property value");
    uint32_t length;
    Read(&length, 4);
    rtl::TMemoryStream data;
    char chunk[4096];
    for (uint32_t left = length; left > 0;) {
        size_t n = std::min<size_t>(left, sizeof chunk);
        Read(chunk, n);
        data.Write(chunk, n);
        left -= static_cast<uint32_t>(n);
    }
    data.SetPosition(0);
    m_canHandleExceptions = false;
    read(data);
    m_canHandleExceptions = true;
    m_propName.clear();
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop) {
    const TTypeInfo* type = prop->type;
    if (!prop->set && !(type->kind == TTypeKind::Class && NextValue() == stCollection)) {
        SkipValue();
        throw rtl::EReadError("Property is read-only");
    }
    switch (type->kind) {
    case TTypeKind::Integer: {
        int64_t value;
        if (NextValue() == stIdent) {
            ReadValue();
            std::string ident = ReadStr();
            int32_t v = 0;
            if (!IdentToIntFor(type, ident, v))
                InvalidValue();
            value = v;
        } else {
            value = ReadInteger();
        }
        prop->set(*instance, type->Truncate(value));
        break;
    }
    case TTypeKind::Char:
        prop->set(*instance, static_cast<int64_t>(static_cast<uint8_t>(ReadChar())));
        break;
    case TTypeKind::Enumeration: {
        std::string ident;
        switch (ReadValue()) {
        case stIdent:
            ident = ReadStr();
            break;
        case stFalse:
            ident = "False";
            break;
        case stTrue:
            ident = "True";
            break;
        default:
            SkipAndFail("Invalid property value");
        }
        int ordinal = type->EnumValue(ident);
        if (ordinal < 0)
            InvalidValue();
        prop->set(*instance, static_cast<int64_t>(ordinal));
        break;
    }
    case TTypeKind::Float: {
        // Besides tag 5 and integers, the tags the writer uses for singles, currency and dates,
        // so that what it writes always reads back.
        long double value;
        switch (NextValue()) {
        case stSingle:
            value = ReadSingle();
            break;
        case stCurrency:
            value = static_cast<long double>(ReadCurrency()) / 10000;
            break;
        case stDate:
            value = ReadDate();
            break;
        default:
            value = ReadFloat();
        }
        switch (type->floatType) {
        case TFloatType::Single:
            value = static_cast<float>(value);
            break;
        case TFloatType::Double:
            value = static_cast<double>(value);
            break;
        default:
            break;
        }
        prop->set(*instance, value);
        break;
    }
    case TTypeKind::String:
        prop->set(*instance, ReadString());
        break;
    case TTypeKind::Set: {
        CheckValue(stSet);
        uint32_t mask = 0;
        for (std::string element; !(element = ReadStr()).empty();) {
            int ordinal = type->elementType ? type->elementType->EnumValue(element) : -1;
            if (ordinal < 0) {
                SkipSetBody();
                InvalidValue();
            }
            if (ordinal < 32)
                mask |= uint32_t{1} << ordinal;
        }
        prop->set(*instance, static_cast<int64_t>(mask));
        break;
    }
    case TTypeKind::Class:
        switch (NextValue()) {
        case stNil:
            ReadValue();
            prop->set(*instance, static_cast<TObject*>(nullptr));
            break;
        case stCollection: {
            ReadValue();
            auto* collection = As<TCollection>(std::get<TObject*>(prop->get(*instance)));
            if (!collection) {
                SkipCollectionBody();
                InvalidValue();
            }
            ReadCollection(collection);
            break;
        }
        default:
            ReadReference(instance, prop);
        }
        break;
    case TTypeKind::Method:
        ReadEvent(instance, prop);
        break;
    case TTypeKind::Variant:
        ReadVariant(instance, prop);
        break;
    }
}

void TReader::ReadReference(TPersistent* instance, const TPropInfo* prop) {
    if (ReadValue() != stIdent)
        SkipAndFail("Invalid property value");
    std::string name = ReadStr();
    TPropFixup fixup;
    fixup.instance = instance;
    fixup.prop = prop;
    fixup.root = m_root;
    fixup.component = m_reading;
    size_t dot = name.find('.');
    if (dot != std::string::npos) {
        fixup.rootName = name.substr(0, dot);
        fixup.name = name.substr(dot + 1);
        AddGlobalFixup(std::move(fixup));
        return;
    }
    fixup.name = std::move(name);
    if (m_fixups)
        m_fixups->push_back(std::move(fixup));
    else
        prop->set(*instance, static_cast<TObject*>(FindReferencedComponent(m_root, fixup.name)));
}

void TReader::ReadEvent(TPersistent* instance, const TPropInfo* prop) {
    if (NextValue() == stNil) {
        ReadValue();
        prop->set(*instance, TMethod{});
        return;
    }
    std::string name = ReadIdent();
    const TMethodInfo* method = m_root ? m_root->ClassType()->FindMethod(name) : nullptr;
    TMethod::Code code = method ? method->code : nullptr;
    bool error = method == nullptr;
    if (!method && OnFindMethod)
        OnFindMethod(*this, name, code, error);
    if (error)
        InvalidValue();
    // A handler with another parameter list cannot be called through this event.
    if (method && method->signature && prop->type->signature &&
        *method->signature != *prop->type->signature)
        InvalidValue();
    if (code)
        prop->set(*instance, TMethod{code, m_root});
}

void TReader::ReadVariant(TPersistent* instance, const TPropInfo* prop) {
    TVariant v;
    TValueType tag = ReadValue();
    switch (tag) {
    case stNull:
        v.vtype = 1;
        break;
    case stInt8:
        v.vtype = 17;
        v.intValue = static_cast<uint8_t>(ReadByte());
        break;
    case stInt16:
    case stInt32:
        v.vtype = tag == stInt16 ? 2 : 3;
        v.intValue = ReadIntegerValue(tag);
        break;
    case stExtended:
        v.vtype = 5;
        v.realValue = static_cast<double>(ReadExtended());
        break;
    case stString:
    case stLString:
        --m_pos;
        v.vtype = 256;
        v.textValue = ReadString();
        break;
    case stFalse:
    case stTrue:
        v.vtype = 11;
        v.intValue = tag == stTrue ? -1 : 0;
        break;
    case stNil:
        v.vtype = 0;
        break;
    case stSingle: {
        float f;
        Read(&f, 4);
        v.vtype = 4;
        v.realValue = f;
        break;
    }
    case stCurrency:
        Read(&v.intValue, 8);
        v.vtype = 6;
        break;
    case stDate:
        Read(&v.realValue, 8);
        v.vtype = 7;
        break;
    case stWString:
        --m_pos;
        v.vtype = 8;
        v.textValue = rtl::Utf16ToUtf8(ReadWideString());
        break;
    default:
        throw rtl::EReadError("Stream read error");
    }
    prop->set(*instance, v);
}

void TReader::Forget(TComponent* component) {
    std::erase(m_ownLoaded, component);
    if (m_fixups)
        std::erase_if(*m_fixups, [&](const TPropFixup& f) {
            return f.component == component || f.instance == component;
        });
    for (TComponent** kept : {&m_root, &m_owner, &m_parent, &m_reading}) {
        if (*kept == component)
            *kept = nullptr;
    }
}

void TReader::DropFixupsOf(TPersistent* instance) {
    if (m_fixups)
        std::erase_if(*m_fixups, [&](const TPropFixup& f) { return f.instance == instance; });
}

void TReader::ReadCollection(TCollection* collection) {
    TDepthGuard depth(*this);
    collection->BeginUpdate();
    rtl::ScopeExit endUpdate([collection] { collection->EndUpdate(); });
    if (!EndOfList()) {
        // References met earlier in the stream that belong to the items about to go would
        // be stored into freed items.
        for (int i = 0; i < collection->Count(); ++i)
            DropFixupsOf(collection->Items(i));
        collection->Clear();
    }
    while (!EndOfList()) {
        if (IsIntegerTag(NextValue()))
            ReadInteger();
        TCollectionItem* item = collection->Add();
        CheckValue(stList);
        while (!EndOfList())
            ReadProperty(item);
        ReadByte();
    }
    ReadByte();
}

} // namespace frame
