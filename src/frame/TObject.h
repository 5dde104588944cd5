#pragma once
// The root of every class with run-time type information.
#include <string>

#include "frame/TypeInfo.h"

namespace frame {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo* StaticClass();
    virtual const TClassInfo* ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType()->name; }
    bool InheritsFrom(const TClassInfo* cls) const { return ClassType()->InheritsFrom(cls); }
};

// Declares a class's record: put it in the public part of every class that has one.
#define ZORVANE_CLASS(Name)                                                                        \
    static const ::frame::TClassInfo* StaticClass();                                               \
    const ::frame::TClassInfo* ClassType() const override {                                        \
        return StaticClass();                                                                      \
    }

// The object as a T when its class is T or derives from it, else null.
template <typename T> T* As(TObject* object) {
    return object && object->InheritsFrom(T::StaticClass()) ? static_cast<T*>(object) : nullptr;
}

} // namespace frame
