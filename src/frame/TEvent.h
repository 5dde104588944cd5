#pragma once
// Events: a handler is a published method bound to the object it runs on. TEvent stores the
// type-erased TMethod the stream reader produces and calls it with the event's parameter list.
#include <utility>

#include "frame/TypeInfo.h"

namespace frame {

template <typename... Args> class TEvent {
public:
    using Thunk = void (*)(TObject*, Args...);

    TEvent() = default;
    explicit TEvent(TMethod method) : m_method(method) {}

    // Binds a member function of `self`'s class: TNotifyEvent::Of<&TForm1::Button1Click>(form).
    template <auto Member, typename C> static TEvent Of(C* self) {
        return TEvent(TMethod{reinterpret_cast<TMethod::Code>(&Call<C, Member>), self});
    }
    template <typename C, auto Member> static void Call(TObject* self, Args... args) {
        (static_cast<C*>(self)->*Member)(std::forward<Args>(args)...);
    }

    explicit operator bool() const { return m_method.code != nullptr; }
    void operator()(Args... args) const {
        if (m_method.code)
            reinterpret_cast<Thunk>(m_method.code)(m_method.data, std::forward<Args>(args)...);
    }
    const TMethod& Method() const { return m_method; }
    bool operator==(const TEvent&) const = default;

    static const std::type_info& Signature() { return typeid(void(Args...)); }

private:
    TMethod m_method;
};

using TNotifyEvent = TEvent<TObject*>;

} // namespace frame
