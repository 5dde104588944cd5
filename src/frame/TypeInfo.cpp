#include "frame/TypeInfo.h"

#include <algorithm>

#include <map>
#include <memory>
#include <mutex>

#include "frame/ClassBuilder.h"
#include "frame/TObject.h"

namespace frame {

bool SameIdent(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (((static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i])) & ~0x20u) != 0)
            return false;
    }
    return true;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x -= 32;
        if (y >= 'a' && y <= 'z')
            y -= 32;
        if (x != y)
            return false;
    }
    return true;
}

int TTypeInfo::EnumValue(std::string_view valueName) const {
    for (size_t i = 0; i < names.size(); ++i) {
        if (SameIdent(names[i], valueName))
            return static_cast<int>(i);
    }
    return -1;
}

int64_t TTypeInfo::Truncate(int64_t value) const {
    switch (ordType) {
    case TOrdType::SByte:
        return static_cast<int8_t>(value);
    case TOrdType::UByte:
        return static_cast<uint8_t>(value);
    case TOrdType::SWord:
        return static_cast<int16_t>(value);
    case TOrdType::UWord:
        return static_cast<uint16_t>(value);
    case TOrdType::SLong:
        return static_cast<int32_t>(value);
    case TOrdType::ULong:
        return static_cast<uint32_t>(value);
    }
    return value;
}

bool TPropInfo::IsDefault(const TObject& instance) const {
    TValue value = get(instance);
    switch (type->kind) {
    case TTypeKind::Integer:
    case TTypeKind::Char:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
        return hasDefault && std::get<int64_t>(value) == defaultOrd;
    case TTypeKind::Float:
        return std::get<long double>(value) == 0;
    case TTypeKind::String:
        return std::get<std::string>(value).empty();
    case TTypeKind::Class:
        return std::get<TObject*>(value) == nullptr;
    case TTypeKind::Method:
        return std::get<TMethod>(value).code == nullptr;
    case TTypeKind::Variant:
        return std::get<TVariant>(value).vtype == varEmpty;
    }
    return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->parent) {
        if (c == other)
            return true;
    }
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view propName) const {
    for (const TClassInfo* c = this; c; c = c->parent) {
        for (const TPropInfo& p : c->properties) {
            if (SameIdent(p.name, propName))
                return &p;
        }
    }
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view methodName) const {
    for (const TClassInfo* c = this; c; c = c->parent) {
        for (const TMethodInfo& m : c->methods) {
            if (SameIdent(m.name, methodName))
                return &m;
        }
    }
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view fieldName) const {
    for (const TClassInfo* c = this; c; c = c->parent) {
        for (const TFieldInfo& f : c->fields) {
            if (SameText(f.name, fieldName))
                return &f;
        }
    }
    return nullptr;
}

const TClassInfo* TClassInfo::FindFieldClass(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->parent) {
        for (const TFieldInfo& f : c->fields) {
            const TClassInfo* cls = f.classOf();
            if (SameText(cls->name, className))
                return cls;
        }
    }
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->parent)
        chain.push_back(c);
    std::vector<const TPropInfo*> result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const TPropInfo& p : (*it)->properties) {
            auto same = std::find_if(result.begin(), result.end(), [&](const TPropInfo* q) {
                return SameIdent(q->name, p.name);
            });
            if (same != result.end())
                *same = &p;
            else
                result.push_back(&p);
        }
    }
    return result;
}

TTypeInfo MakeEnumType(std::string name, std::vector<std::string> names) {
    TTypeInfo info;
    info.kind = TTypeKind::Enumeration;
    info.name = std::move(name);
    info.names = std::move(names);
    info.ordType = info.names.size() <= 256 ? TOrdType::UByte : TOrdType::UWord;
    return info;
}

TTypeInfo MakeIntegerType(std::string name, TOrdType ordType) {
    TTypeInfo info;
    info.kind = TTypeKind::Integer;
    info.name = std::move(name);
    info.ordType = ordType;
    return info;
}

const TTypeInfo* BooleanType() {
    static const TTypeInfo info = MakeEnumType("Boolean", {"False", "True"});
    return &info;
}

const TClassInfo* TObject::StaticClass() {
    static const auto info = TClassBuilder<TObject>("TObject", nullptr).Build();
    return info.get();
}

namespace detail {

const TTypeInfo* IntegerTypeFor(bool isSigned, size_t size) {
    static const TTypeInfo types[] = {
        MakeIntegerType("ShortInt", TOrdType::SByte), MakeIntegerType("Byte", TOrdType::UByte),
        MakeIntegerType("SmallInt", TOrdType::SWord), MakeIntegerType("Word", TOrdType::UWord),
        MakeIntegerType("Integer", TOrdType::SLong),  MakeIntegerType("Cardinal", TOrdType::ULong),
    };
    size_t row = size == 1 ? 0 : size == 2 ? 1 : 2;
    return &types[row * 2 + (isSigned ? 0 : 1)];
}

const TTypeInfo* CharType() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = TTypeKind::Char;
        t.name = "Char";
        t.ordType = TOrdType::UByte;
        return t;
    }();
    return &info;
}

const TTypeInfo* FloatTypeFor(TFloatType floatType) {
    static const TTypeInfo types[] = {
        [] {
            TTypeInfo t;
            t.kind = TTypeKind::Float;
            t.name = "Single";
            t.floatType = TFloatType::Single;
            return t;
        }(),
        [] {
            TTypeInfo t;
            t.kind = TTypeKind::Float;
            t.name = "Double";
            t.floatType = TFloatType::Double;
            return t;
        }(),
        [] {
            TTypeInfo t;
            t.kind = TTypeKind::Float;
            t.name = "Extended";
            t.floatType = TFloatType::Extended;
            return t;
        }(),
        [] {
            TTypeInfo t;
            t.kind = TTypeKind::Float;
            t.name = "Currency";
            t.floatType = TFloatType::Currency;
            return t;
        }(),
    };
    return &types[static_cast<int>(floatType)];
}

const TTypeInfo* StringType() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = TTypeKind::String;
        t.name = "string";
        return t;
    }();
    return &info;
}

const TTypeInfo* VariantType() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = TTypeKind::Variant;
        t.name = "Variant";
        return t;
    }();
    return &info;
}

namespace {
template <typename Key> const TTypeInfo* Intern(Key key, TTypeInfo (*make)(Key)) {
    static std::mutex lock;
    static std::map<Key, std::unique_ptr<TTypeInfo>> types;
    std::lock_guard guard(lock);
    auto& slot = types[key];
    if (!slot)
        slot = std::make_unique<TTypeInfo>(make(key));
    return slot.get();
}
} // namespace

const TTypeInfo* MethodType(const std::type_info& signature) {
    return Intern<const std::type_info*>(&signature, [](const std::type_info* s) {
        TTypeInfo t;
        t.kind = TTypeKind::Method;
        t.name = "TMethod";
        t.signature = s;
        return t;
    });
}

const TTypeInfo* SetTypeFor(const TTypeInfo* element) {
    return Intern<const TTypeInfo*>(element, [](const TTypeInfo* e) {
        TTypeInfo t;
        t.kind = TTypeKind::Set;
        t.name = "set of " + e->name;
        t.ordType = TOrdType::ULong;
        t.elementType = e;
        return t;
    });
}

} // namespace detail
} // namespace frame
