#pragma once
// The one registration form of the type information. Every class with a record defines its
// StaticClass() with a builder:
//
//   const TClassInfo* TMyButton::StaticClass() {
//       static const auto info = TClassBuilder<TMyButton>("TMyButton", TComponent::StaticClass())
//           .Property("Caption", &TMyButton::Caption, &TMyButton::SetCaption)
//           .Property("Color", ColorType(), &TMyButton::Color, &TMyButton::SetColor,
//           Default(clBtnFace)) .Property("OnClick", &TMyButton::m_onClick) .Field("Label1",
//           &TMyButton::Label1) .Method<&TMyButton::Button1Click>("Button1Click") .Build();
//       return info.get();
//   }
//
// The property type descriptor is deduced from the getter's value type (integers, bool, char,
// float/double/long double, std::string, TSet<E>, TEvent<...>, TVariant, pointers to classes with
// a record, and enumerations that declare ZORVANE_ENUM_TYPE) or given explicitly for integer types
// with identifier maps (TColor ...). Getters and setters are member functions or data members;
// a null setter makes the property read-only.
#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "frame/TEvent.h"
#include "frame/TObject.h"
#include "frame/TSet.h"
#include "frame/TypeInfo.h"

namespace frame {

// Builds an enumeration descriptor; used by ZORVANE_ENUM_TYPE.
TTypeInfo MakeEnumType(std::string name, std::vector<std::string> names);
// Builds an integer descriptor (identifier maps hang on such a named integer type).
TTypeInfo MakeIntegerType(std::string name, TOrdType ordType);

// Declares the type descriptor of an enumeration; write it after the enum, in its namespace.
#define ZORVANE_ENUM_TYPE(Enum, ...)                                                               \
    inline const ::frame::TTypeInfo* TypeInfoOf(const Enum*) {                                     \
        static const ::frame::TTypeInfo info = ::frame::MakeEnumType(#Enum, {__VA_ARGS__});        \
        return &info;                                                                              \
    }

// Property options.
struct Default {
    explicit Default(int64_t v) : value(v) {}
    int64_t value;
};
struct NoDefault {};
struct NotStored {};
// Stored only while the predicate (a const member function returning bool) answers true.
template <typename F> struct StoredIf {
    explicit StoredIf(F f) : predicate(f) {}
    F predicate;
};

namespace detail {
const TTypeInfo* IntegerTypeFor(bool isSigned, size_t size);
const TTypeInfo* CharType();
const TTypeInfo* FloatTypeFor(TFloatType floatType);
const TTypeInfo* StringType();
const TTypeInfo* VariantType();
const TTypeInfo* MethodType(const std::type_info& signature);
const TTypeInfo* SetTypeFor(const TTypeInfo* element);

template <typename T> struct IsSet : std::false_type {};
template <typename E> struct IsSet<TSet<E>> : std::true_type { using Element = E; };
template <typename T> struct IsEvent : std::false_type {};
template <typename... A> struct IsEvent<TEvent<A...>> : std::true_type {};

// The descriptor of a class-valued property. It does not build the class's record now, so that
// classes may name each other (or themselves) in their properties.
template <typename T> const TTypeInfo* ClassTypeOf() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.kind = TTypeKind::Class;
        t.classOf = &T::StaticClass;
        return t;
    }();
    return &info;
}

template <typename V> const TTypeInfo* DeduceType() {
    if constexpr (std::is_same_v<V, bool>)
        return BooleanType();
    else if constexpr (std::is_same_v<V, char>)
        return CharType();
    else if constexpr (std::is_integral_v<V>)
        return IntegerTypeFor(std::is_signed_v<V>, sizeof(V));
    else if constexpr (std::is_enum_v<V>)
        return TypeInfoOf(static_cast<const V*>(nullptr));
    else if constexpr (std::is_same_v<V, float>)
        return FloatTypeFor(TFloatType::Single);
    else if constexpr (std::is_same_v<V, double>)
        return FloatTypeFor(TFloatType::Double);
    else if constexpr (std::is_same_v<V, long double>)
        return FloatTypeFor(TFloatType::Extended);
    else if constexpr (std::is_same_v<V, std::string>)
        return StringType();
    else if constexpr (std::is_same_v<V, TVariant>)
        return VariantType();
    else if constexpr (IsSet<V>::value)
        return SetTypeFor(DeduceType<typename IsSet<V>::Element>());
    else if constexpr (IsEvent<V>::value)
        return MethodType(V::Signature());
    else if constexpr (std::is_pointer_v<V>)
        return ClassTypeOf<std::remove_cv_t<std::remove_pointer_t<V>>>();
    else
        static_assert(sizeof(V) == 0, "no type descriptor for this property type");
}

template <typename V> TValue ToValue(const V& v) {
    if constexpr (std::is_same_v<V, bool> || std::is_integral_v<V>)
        return static_cast<int64_t>(v);
    else if constexpr (std::is_enum_v<V>)
        return static_cast<int64_t>(v);
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<long double>(v);
    else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, TVariant>)
        return v;
    else if constexpr (IsSet<V>::value)
        return static_cast<int64_t>(v.Mask());
    else if constexpr (IsEvent<V>::value)
        return v.Method();
    else if constexpr (std::is_pointer_v<V>)
        return static_cast<TObject*>(const_cast<std::remove_cv_t<std::remove_pointer_t<V>>*>(v));
}

template <typename V> V FromValue(const TValue& value) {
    if constexpr (std::is_same_v<V, bool>)
        return std::get<int64_t>(value) != 0;
    else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>)
        return static_cast<V>(std::get<int64_t>(value));
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<V>(std::get<long double>(value));
    else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, TVariant>)
        return std::get<V>(value);
    else if constexpr (IsSet<V>::value)
        return V::FromMask(static_cast<uint32_t>(std::get<int64_t>(value)));
    else if constexpr (IsEvent<V>::value)
        return V(std::get<TMethod>(value));
    else if constexpr (std::is_pointer_v<V>) {
        using T = std::remove_cv_t<std::remove_pointer_t<V>>;
        return As<T>(std::get<TObject*>(value));
    }
}

template <typename G> struct GetterTraits;
template <typename C, typename R> struct GetterTraits<R (C::*)() const> {
    using Value = std::remove_cvref_t<R>;
};
template <typename C, typename R> struct GetterTraits<R C::*> {
    using Value = std::remove_cvref_t<R>;
};
} // namespace detail

template <typename C> class TClassBuilder {
public:
    TClassBuilder(std::string_view name, const TClassInfo* parent) : m_info(new TClassInfo) {
        m_info->name = name;
        m_info->parent = parent;
        m_info->typeInfo.kind = TTypeKind::Class;
        m_info->typeInfo.name = m_info->name;
        m_info->typeInfo.classType = m_info.get();
        if constexpr (!std::is_abstract_v<C>) {
            if constexpr (std::is_constructible_v<C, TComponent*>)
                m_info->create = [](TComponent* owner) -> TObject* { return new C(owner); };
            else if constexpr (std::is_default_constructible_v<C>)
                m_info->create = [](TComponent*) -> TObject* { return new C(); };
        }
    }

    // A published property with its type deduced from the getter.
    template <typename G, typename S, typename... Options>
    requires(!std::is_convertible_v<G, const TTypeInfo*>) TClassBuilder &&
        Property(std::string_view name, G getter, S setter, Options... options) && {
        using V = typename detail::GetterTraits<G>::Value;
        return std::move(*this).Property(name, detail::DeduceType<V>(), getter, setter, options...);
    }
    // A published property read and written through one data member.
    template <typename V, typename D>
    requires std::is_base_of_v<D, C> TClassBuilder &&
        Property(std::string_view name, V D::*member) && {
        return std::move(*this).Property(name, member, member);
    }
    // A published property with an explicit type descriptor.
    template <typename G, typename S, typename... Options>
    [[gnu::noinline]] TClassBuilder&& Property(std::string_view name, const TTypeInfo* type,
                                               G getter, S setter, Options... options) && {
        using V = typename detail::GetterTraits<G>::Value;
        TPropInfo prop;
        prop.name = name;
        prop.type = type;
        prop.get = [getter](const TObject& obj) -> TValue {
            const C& self = static_cast<const C&>(obj);
            if constexpr (std::is_member_function_pointer_v<G>)
                return detail::ToValue<V>((self.*getter)());
            else
                return detail::ToValue<V>(self.*getter);
        };
        if constexpr (!std::is_null_pointer_v<S>) {
            prop.set = [setter](TObject& obj, const TValue& value) {
                C& self = static_cast<C&>(obj);
                if constexpr (std::is_member_function_pointer_v<S>)
                    (self.*setter)(detail::FromValue<V>(value));
                else
                    self.*setter = detail::FromValue<V>(value);
            };
        }
        (Apply(prop, options), ...);
        m_info->properties.push_back(std::move(prop));
        return std::move(*this);
    }

    // A published field: the reader stores the component of this name into it.
    template <typename T>
    [[gnu::noinline]] TClassBuilder&& Field(std::string_view name, T* C::*member) && {
        TFieldInfo field;
        field.name = name;
        field.classOf = &T::StaticClass;
        field.set = [member](TObject& obj, TComponent* component) {
            static_cast<C&>(obj).*member = component ? static_cast<T*>(component) : nullptr;
        };
        m_info->fields.push_back(std::move(field));
        return std::move(*this);
    }

    // A published method: event values in a stream bind to it by name.
    template <auto Member> TClassBuilder&& Method(std::string_view name) && {
        AddMethod<Member>(name, Member);
        return std::move(*this);
    }

    std::unique_ptr<const TClassInfo> Build() && { return std::move(m_info); }

private:
    template <auto Member, typename D, typename... A>
    [[gnu::noinline]] void AddMethod(std::string_view name, void (D::*)(A...)) {
        TMethodInfo method;
        method.name = name;
        method.code = reinterpret_cast<TMethod::Code>(&TEvent<A...>::template Call<C, Member>);
        method.signature = &TEvent<A...>::Signature();
        m_info->methods.push_back(std::move(method));
    }

    static void Apply(TPropInfo& prop, Default d) {
        prop.hasDefault = true;
        prop.defaultOrd = d.value;
    }
    static void Apply(TPropInfo& prop, NoDefault) { prop.hasDefault = false; }
    static void Apply(TPropInfo& prop, NotStored) { prop.stored = false; }
    template <typename F> static void Apply(TPropInfo& prop, StoredIf<F> s) {
        prop.storedIf = [f = s.predicate](const TObject& obj) {
            return (static_cast<const C&>(obj).*f)();
        };
    }

    std::unique_ptr<TClassInfo> m_info;
};

} // namespace frame
