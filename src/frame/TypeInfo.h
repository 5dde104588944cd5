#pragma once
// Run-time type information of the published interface of streamable classes: type descriptors,
// property records with type-erased accessors, published fields and published methods, and the
// class record that ties them to a class. Records are built with TClassBuilder (ClassBuilder.h).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <variant>
#include <vector>

namespace frame {

class TObject;
class TComponent;
struct TClassInfo;

enum class TTypeKind { Integer, Char, Enumeration, Float, String, Set, Class, Method, Variant };
enum class TOrdType { SByte, UByte, SWord, UWord, SLong, ULong };
enum class TFloatType { Single, Double, Extended, Currency };

// Identifier comparison of the stream format: equal length, then bytes equal with bit 0x20
// ignored (so ASCII letters match without regard to case).
bool SameIdent(std::string_view a, std::string_view b);
// Plain ASCII case-insensitive comparison (component names, class names).
bool SameText(std::string_view a, std::string_view b);

struct TTypeInfo {
    TTypeKind kind = TTypeKind::Integer;
    std::string name;
    TOrdType ordType = TOrdType::SLong;        // Integer, Char, Enumeration, Set
    std::vector<std::string> names;            // Enumeration: value names by ordinal
    const TTypeInfo* elementType = nullptr;    // Set: the element enumeration
    TFloatType floatType = TFloatType::Double; // Float
    const TClassInfo* classType = nullptr;     // Class, when known at construction
    const TClassInfo* (*classOf)() = nullptr;  // Class, resolved on use (classes naming each other)
    const std::type_info* signature = nullptr; // Method: the handler's parameter list

    // The ordinal of an enumeration value name (SameIdent), or -1.
    int EnumValue(std::string_view valueName) const;
    // The class of a Class kind descriptor.
    const TClassInfo* ClassType() const {
        return classType ? classType : classOf ? classOf() : nullptr;
    }
    // Truncates an ordinal to the stored size, as a store of that size would.
    int64_t Truncate(int64_t value) const;
};

// A bound handler: code of a published method's thunk and the object it runs on.
struct TMethod {
    using Code = void (*)();
    Code code = nullptr;
    TObject* data = nullptr;
    bool operator==(const TMethod&) const = default;
};

// The type codes of variant property values.
enum TVarType : uint16_t {
    varEmpty = 0,
    varNull = 1,
    varSmallint = 2, // 16-bit integer
    varInteger = 3,  // 32-bit integer
    varSingle = 4,
    varDouble = 5,
    varCurrency = 6,
    varDate = 7,
    varOleStr = 8, // wide string
    varBoolean = 11,
    varShortInt = 17, // byte
    varString = 256,
};

// A variant property value; `vtype` is a TVarType.
struct TVariant {
    uint16_t vtype = 0;
    int64_t intValue = 0;  // integers, booleans (-1/0), currency in ten-thousandths
    double realValue = 0;  // single, double, date
    std::string textValue; // strings, UTF-8
    bool operator==(const TVariant&) const = default;
};

// A property value while it crosses the type-erased accessors: ordinals (integers, characters,
// enumerations, set masks) as int64_t, reals as long double, strings UTF-8, objects, events.
using TValue = std::variant<int64_t, long double, std::string, TObject*, TMethod, TVariant>;

struct TPropInfo {
    std::string name;
    const TTypeInfo* type = nullptr;
    std::function<TValue(const TObject&)> get;
    std::function<void(TObject&, const TValue&)> set; // empty: read-only
    bool hasDefault = true;                           // false: always stored
    int64_t defaultOrd = 0;                           // ordinal kinds only
    bool stored = true;
    // When set, the property is stored only while it answers true (a control's Color is stored
    // only while it does not take its parent's).
    std::function<bool(const TObject&)> storedIf;

    bool IsStored(const TObject& instance) const {
        return stored && (!storedIf || storedIf(instance));
    }

    bool IsDefault(const TObject& instance) const;
};

struct TFieldInfo {
    std::string name;
    const TClassInfo* (*classOf)() = nullptr; // the field's component class
    std::function<void(TObject&, TComponent*)> set;
};

struct TMethodInfo {
    std::string name;
    TMethod::Code code = nullptr;
    const std::type_info* signature = nullptr;
};

struct TClassInfo {
    std::string name;
    const TClassInfo* parent = nullptr;
    // Makes an instance; components get their owner, other classes ignore it. Empty when abstract.
    std::function<TObject*(TComponent* owner)> create;
    std::vector<TPropInfo> properties; // this class's own, in declaration order
    std::vector<TFieldInfo> fields;
    std::vector<TMethodInfo> methods;
    TTypeInfo typeInfo; // the class as a property type (kind Class)

    bool InheritsFrom(const TClassInfo* other) const;
    // Look-ups walk this class and its ancestors, names compared with SameIdent.
    const TPropInfo* FindProperty(std::string_view propName) const;
    const TMethodInfo* FindMethod(std::string_view methodName) const;
    const TFieldInfo* FindField(std::string_view fieldName) const;
    // The class of a published field's type with that class name (SameText), or null.
    const TClassInfo* FindFieldClass(std::string_view className) const;
    // Every published property, ancestors' first. A property a descendant declares again (to
    // give it another default) takes the ancestor's place.
    std::vector<const TPropInfo*> AllProperties() const;
};

// The Boolean enumeration (False, True).
const TTypeInfo* BooleanType();

} // namespace frame
