// The reader's property records: paths into sub-objects, values by property type, references
// and events bound by name, variants, collections, and the defined properties' data.
#include "frame/TReader.h"

#include <algorithm>

#include "frame/IdentMaps.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"
#include "frame/TDepthGuard.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"
#include "rtl/TMemoryStream.h"
#include "rtl/Utf8.h"

namespace frame {

namespace {
std::string InstanceName(TPersistent* instance) {
    if (auto* c = As<TComponent>(instance); c && !c->Name().empty())
        return c->Name();
    return instance->ClassName();
}
} // namespace

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
    case TTypeKind::Integer:
        prop->set(*instance, type->Truncate(ReadIntegerProp(type)));
        break;
    case TTypeKind::Char:
        prop->set(*instance, static_cast<int64_t>(static_cast<uint8_t>(ReadChar())));
        break;
    case TTypeKind::Enumeration:
        prop->set(*instance, static_cast<int64_t>(ReadEnumProp(type)));
        break;
    case TTypeKind::Float:
        prop->set(*instance, ReadFloatProp(type->floatType));
        break;
    case TTypeKind::String:
        prop->set(*instance, ReadString());
        break;
    case TTypeKind::Set:
        prop->set(*instance, static_cast<int64_t>(ReadSetProp(type->elementType)));
        break;
    case TTypeKind::Class:
        ReadClassProp(instance, prop);
        break;
    case TTypeKind::Method:
        ReadEvent(instance, prop);
        break;
    case TTypeKind::Variant:
        ReadVariant(instance, prop);
        break;
    }
}

// A number, or an identifier the type maps to one (a colour name, a cursor name).
int64_t TReader::ReadIntegerProp(const TTypeInfo* type) {
    if (NextValue() != stIdent)
        return ReadInteger();
    ReadValue();
    std::string ident = ReadStr();
    int32_t v = 0;
    if (!IdentToIntFor(type, ident, v))
        InvalidValue();
    return v;
}

int TReader::ReadEnumProp(const TTypeInfo* type) {
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
    return ordinal;
}

long double TReader::ReadFloatProp(TFloatType floatType) {
    // Besides tag 5 and integers, the tags the writer uses for singles, currency and dates, so
    // that what it writes always reads back.
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
    switch (floatType) {
    case TFloatType::Single:
        return static_cast<float>(value);
    case TFloatType::Double:
        return static_cast<double>(value);
    default:
        return value;
    }
}

uint32_t TReader::ReadSetProp(const TTypeInfo* elementType) {
    CheckValue(stSet);
    uint32_t mask = 0;
    for (std::string element; !(element = ReadStr()).empty();) {
        int ordinal = elementType ? elementType->EnumValue(element) : -1;
        if (ordinal < 0) {
            SkipSetBody();
            InvalidValue();
        }
        if (ordinal < 32)
            mask |= uint32_t{1} << ordinal;
    }
    return mask;
}

// nil, the items of a collection the object owns, or a reference to a component.
void TReader::ReadClassProp(TPersistent* instance, const TPropInfo* prop) {
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
        v.vtype = varNull;
        break;
    case stInt8:
        v.vtype = varShortInt;
        v.intValue = static_cast<uint8_t>(ReadByte());
        break;
    case stInt16:
    case stInt32:
        v.vtype = tag == stInt16 ? varSmallint : varInteger;
        v.intValue = ReadIntegerValue(tag);
        break;
    case stExtended:
        v.vtype = varDouble;
        v.realValue = static_cast<double>(ReadExtended());
        break;
    case stString:
    case stLString:
        --m_pos;
        v.vtype = varString;
        v.textValue = ReadString();
        break;
    case stFalse:
    case stTrue:
        v.vtype = varBoolean;
        v.intValue = tag == stTrue ? -1 : 0;
        break;
    case stNil:
        v.vtype = varEmpty;
        break;
    case stSingle: {
        float f;
        Read(&f, 4);
        v.vtype = varSingle;
        v.realValue = f;
        break;
    }
    case stCurrency:
        Read(&v.intValue, 8);
        v.vtype = varCurrency;
        break;
    case stDate:
        Read(&v.realValue, 8);
        v.vtype = varDate;
        break;
    case stWString:
        --m_pos;
        v.vtype = varOleStr;
        v.textValue = rtl::Utf16ToUtf8(ReadWideString());
        break;
    default:
        throw rtl::EReadError("Stream read error");
    }
    prop->set(*instance, v);
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
