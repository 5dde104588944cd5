#include "frame/TWriter.h"

#include <cstring>

#include "frame/IdentMaps.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"
#include "rtl/CodePage1251.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"
#include "rtl/TMemoryStream.h"

namespace frame {

TWriter::TWriter(rtl::TStream& stream, size_t bufferSize)
    : m_stream(stream), m_buffer(bufferSize == 0 ? kBufferSize : bufferSize) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
    }
}

void TWriter::FlushBuffer() {
    if (m_pos > 0) {
        size_t n = m_pos;
        m_pos = 0;
        m_stream.WriteBuffer(m_buffer.data(), n);
    }
}

void TWriter::Write(const void* buffer, size_t count) {
    auto* in = static_cast<const char*>(buffer);
    while (count > 0) {
        if (m_pos == m_buffer.size())
            FlushBuffer();
        size_t n = std::min(count, m_buffer.size() - m_pos);
        std::memcpy(m_buffer.data() + m_pos, in, n);
        m_pos += n;
        in += n;
        count -= n;
    }
}

void TWriter::WriteValue(TValueType tag) {
    uint8_t b = tag;
    Write(&b, 1);
}

void TWriter::WriteSignature() {
    Write(kFormSignature, 4);
}

void TWriter::WritePrefix(int flags, int childPos) {
    if (flags == 0)
        return;
    uint8_t b = static_cast<uint8_t>(0xF0 | (flags & 0x0F));
    Write(&b, 1);
    if (flags & pfChildPos)
        WriteInteger(childPos);
}

void TWriter::WriteInteger(int64_t value) {
    if (value >= -128 && value <= 127) {
        WriteValue(stInt8);
        int8_t v = static_cast<int8_t>(value);
        Write(&v, 1);
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(stInt16);
        uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
        Write(b, 2);
    } else {
        WriteValue(stInt32);
        auto v = static_cast<uint32_t>(value);
        uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
        Write(b, 4);
    }
}

void TWriter::WriteBoolean(bool value) {
    WriteValue(value ? stTrue : stFalse);
}

void TWriter::WriteChar(char value) {
    WriteValue(stString);
    WriteStr(std::string_view(&value, 1));
}

void TWriter::WriteFloat(long double value) {
    WriteValue(stExtended);
    uint8_t b[10];
    EncodeExtended(value, b);
    Write(b, 10);
}

void TWriter::WriteSingle(float value) {
    WriteValue(stSingle);
    Write(&value, 4);
}

void TWriter::WriteCurrency(int64_t tenThousandths) {
    WriteValue(stCurrency);
    Write(&tenThousandths, 8);
}

void TWriter::WriteDate(double value) {
    WriteValue(stDate);
    Write(&value, 8);
}

void TWriter::WriteRawString(std::string_view bytes) {
    if (bytes.size() < 256) {
        WriteValue(stString);
        WriteStr(bytes);
    } else {
        WriteValue(stLString);
        auto n = static_cast<uint32_t>(bytes.size());
        Write(&n, 4);
        Write(bytes.data(), bytes.size());
    }
}

void TWriter::WriteString(std::string_view utf8) {
    WriteRawString(rtl::Utf8ToCp1251(utf8));
}

void TWriter::WriteWideString(std::u16string_view text) {
    WriteValue(stWString);
    auto n = static_cast<uint32_t>(text.size());
    Write(&n, 4);
    Write(text.data(), text.size() * 2);
}

void TWriter::WriteIdent(std::string_view ident) {
    if (SameText(ident, "False"))
        WriteValue(stFalse);
    else if (SameText(ident, "True"))
        WriteValue(stTrue);
    else if (SameText(ident, "nil"))
        WriteValue(stNil);
    else {
        WriteValue(stIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteStr(std::string_view bytes) {
    if (bytes.size() > 255)
        throw rtl::EWriteError("String too long for a short string: %s", bytes.substr(0, 32));
    uint8_t n = static_cast<uint8_t>(bytes.size());
    Write(&n, 1);
    Write(bytes.data(), bytes.size());
}

void TWriter::WriteBinary(std::string_view bytes) {
    WriteValue(stBinary);
    auto n = static_cast<uint32_t>(bytes.size());
    Write(&n, 4);
    Write(bytes.data(), bytes.size());
}

void TWriter::WritePropName(std::string_view name) {
    WriteStr(m_propPath + std::string(name));
}

void TWriter::WriteRootComponent(TComponent* root) {
    m_root = root;
    WriteSignature();
    WriteComponent(root);
    FlushBuffer();
}

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
    m_rootAncestor = ancestor;
    rtl::ScopeExit forgetAncestor([this] { m_rootAncestor = nullptr; });
    WriteRootComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
    TComponent* ancestor = nullptr;
    if (m_rootAncestor) {
        ancestor =
            component == m_root ? m_rootAncestor : m_rootAncestor->FindComponent(component->Name());
        if (ancestor && ancestor->ClassType() != component->ClassType())
            ancestor = nullptr;
    }
    rtl::ValueRestore ancestorScope(m_ancestor, static_cast<TPersistent*>(ancestor));
    component->SetStateFlag(csWriting, true);
    rtl::ScopeExit written([component] { component->SetStateFlag(csWriting, false); });
    int flags = (component->HasState(csInline) ? pfInline : 0) | (ancestor ? pfInherited : 0);
    WritePrefix(flags, 0);
    WriteStr(component->ClassName());
    WriteStr(component->Name());
    component->WriteComponentState(*this);
}

namespace {
// Whether a property holds the same value as in the ancestor object. Events compare by handler:
// the bound object is each root's own.
bool SameAsAncestor(const TPropInfo* prop, TPersistent* instance, TPersistent* ancestor) {
    TValue mine = prop->get(*instance);
    TValue theirs = prop->get(*ancestor);
    if (prop->type->kind == TTypeKind::Method)
        return std::get<TMethod>(mine).code == std::get<TMethod>(theirs).code;
    if (prop->type->kind == TTypeKind::Class) {
        auto* a = As<TComponent>(std::get<TObject*>(mine));
        auto* b = As<TComponent>(std::get<TObject*>(theirs));
        return a == b || (a && b && SameText(a->Name(), b->Name()));
    }
    return mine == theirs;
}
} // namespace

void TWriter::WriteData(TComponent* instance) {
    WriteProperties(instance);
    WriteListEnd();
    instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, m_root);
    WriteListEnd();
}

std::string TWriter::ReferenceName(TComponent* component) const {
    if (component->Owner() == m_root && m_root)
        return component->Name();
    if (component == m_root)
        return "Owner";
    if (component->Owner() && !component->Owner()->Name().empty() && !component->Name().empty())
        return component->Owner()->Name() + "." + component->Name();
    return component->Name();
}

void TWriter::WriteProperties(TPersistent* instance) {
    for (const TPropInfo* prop : instance->ClassType()->AllProperties()) {
        if (prop->IsStored(*instance))
            WriteProperty(instance, prop);
    }
    instance->ListDefinedProperties(*this);
}

TPersistent* TWriter::AncestorFor(TPersistent* instance) const {
    return m_ancestor && m_ancestor->ClassType() == instance->ClassType() ? m_ancestor : nullptr;
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo* prop) {
    if (prop->type->kind == TTypeKind::Class) {
        WriteObjectProperty(instance, prop);
        return;
    }
    if (!prop->set)
        return;
    TPersistent* ancestor = AncestorFor(instance);
    if (ancestor ? SameAsAncestor(prop, instance, ancestor) : prop->IsDefault(*instance))
        return;
    TValue value = prop->get(*instance);
    WritePropName(prop->name);
    WritePropValue(prop->type, value);
}

// A reference by name, a collection whole, or a sub-object's own properties under its name.
void TWriter::WriteObjectProperty(TPersistent* instance, const TPropInfo* prop) {
    TObject* value = std::get<TObject*>(prop->get(*instance));
    if (!value)
        return;
    TPersistent* ancestor = AncestorFor(instance);
    if (auto* component = As<TComponent>(value)) {
        if (!prop->set || component->Name().empty() ||
            (ancestor && SameAsAncestor(prop, instance, ancestor)))
            return;
        WritePropName(prop->name);
        WriteIdent(ReferenceName(component));
    } else if (auto* collection = As<TCollection>(value)) {
        if (collection->Count() == 0)
            return;
        WritePropName(prop->name);
        WriteCollection(collection);
    } else if (auto* object = As<TPersistent>(value)) {
        rtl::ValueRestore propPath(m_propPath);
        m_propPath += prop->name + ".";
        rtl::ValueRestore ancestorScope(
            m_ancestor,
            ancestor ? As<TPersistent>(std::get<TObject*>(prop->get(*ancestor))) : nullptr);
        WriteProperties(object);
    }
}

void TWriter::WritePropValue(const TTypeInfo* type, const TValue& value) {
    switch (type->kind) {
    case TTypeKind::Integer: {
        std::string ident;
        auto v = static_cast<int32_t>(std::get<int64_t>(value));
        if (IntToIdentFor(type, v, ident))
            WriteIdent(ident);
        else
            WriteInteger(v);
        break;
    }
    case TTypeKind::Char:
        WriteChar(static_cast<char>(std::get<int64_t>(value)));
        break;
    case TTypeKind::Enumeration: {
        auto v = std::get<int64_t>(value);
        if (v < 0 || v >= static_cast<int64_t>(type->names.size()))
            throw rtl::EWriteError("Invalid property value");
        WriteIdent(type->names[static_cast<size_t>(v)]);
        break;
    }
    case TTypeKind::Float:
        WriteFloatValue(type->floatType, std::get<long double>(value));
        break;
    case TTypeKind::String:
        WriteString(std::get<std::string>(value));
        break;
    case TTypeKind::Set:
        WriteSetValue(type->elementType, static_cast<uint32_t>(std::get<int64_t>(value)));
        break;
    case TTypeKind::Method:
        WriteMethodValue(std::get<TMethod>(value));
        break;
    case TTypeKind::Variant:
        WriteVariantValue(std::get<TVariant>(value));
        break;
    case TTypeKind::Class:
        break;
    }
}

void TWriter::WriteFloatValue(TFloatType floatType, long double v) {
    switch (floatType) {
    case TFloatType::Single:
        WriteSingle(static_cast<float>(v));
        break;
    case TFloatType::Currency:
        WriteCurrency(static_cast<int64_t>(v * 10000));
        break;
    default:
        WriteFloat(v);
    }
}

void TWriter::WriteSetValue(const TTypeInfo* elementType, uint32_t mask) {
    WriteValue(stSet);
    for (size_t i = 0; i < 32 && elementType && i < elementType->names.size(); ++i) {
        if (mask & (uint32_t{1} << i))
            WriteStr(elementType->names[i]);
    }
    WriteStr("");
}

// A handler is written by the name the root publishes it under; any other is nil.
void TWriter::WriteMethodValue(const TMethod& m) {
    const TMethodInfo* found = nullptr;
    if (m_root && m.data == m_root) {
        for (const TClassInfo* c = m_root->ClassType(); c && !found; c = c->parent) {
            for (const TMethodInfo& info : c->methods) {
                if (info.code == m.code) {
                    found = &info;
                    break;
                }
            }
        }
    }
    if (found)
        WriteIdent(found->name);
    else
        WriteValue(stNil);
}

void TWriter::WriteVariantValue(const TVariant& v) {
    switch (v.vtype) {
    case varNull:
        WriteValue(stNull);
        break;
    case varShortInt:
        WriteValue(stInt8);
        Write(&v.intValue, 1);
        break;
    case varSmallint:
    case varInteger:
        WriteInteger(v.intValue);
        break;
    case varSingle:
        WriteSingle(static_cast<float>(v.realValue));
        break;
    case varDouble:
        WriteFloat(v.realValue);
        break;
    case varCurrency:
        WriteCurrency(v.intValue);
        break;
    case varDate:
        WriteDate(v.realValue);
        break;
    case varBoolean:
        WriteBoolean(v.intValue != 0);
        break;
    default:
        WriteString(v.textValue);
    }
}

void TWriter::WriteCollection(TCollection* collection) {
    // Items are written whole: they are not matched with the ancestor's.
    rtl::ValueRestore ancestorScope(m_ancestor, nullptr);
    WriteValue(stCollection);
    for (int i = 0; i < collection->Count(); ++i) {
        WriteListBegin();
        WriteProperties(collection->Items(i));
        WriteListEnd();
    }
    WriteListEnd();
}

void TWriter::DefineValueProperty(std::string_view name, const TReaderProc&,
                                  const TWriterProc& write, bool hasData) {
    if (!hasData || !write)
        return;
    WritePropName(name);
    write(*this);
}

void TWriter::DefineStreamProperty(std::string_view name, const TStreamProc&,
                                   const TStreamProc& write, bool hasData) {
    if (!hasData || !write)
        return;
    rtl::TMemoryStream data;
    write(data);
    WritePropName(name);
    WriteBinary(data.Bytes());
}

} // namespace frame
