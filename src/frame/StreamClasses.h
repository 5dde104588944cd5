#pragma once
// The process-wide list of classes the reader may create by name.
#include <string_view>

#include "frame/TypeInfo.h"

namespace frame {

// Registers the class and each ancestor up to TPersistent. A different class with a name already
// present fails with EFilerError "A class named %s already exists"; registering again is harmless.
void RegisterStreamClass(const TClassInfo* cls);
// Registers several: RegisterStreamClasses({TButton::StaticClass(), TLabel::StaticClass()}).
void RegisterStreamClasses(std::initializer_list<const TClassInfo*> classes);
// The registered class of that name (ASCII case-insensitive), or null.
const TClassInfo* FindStreamClass(std::string_view name);
// As FindStreamClass, but fails with EClassNotFound "Class %s not found".
const TClassInfo* GetStreamClass(std::string_view name);
void UnregisterStreamClass(const TClassInfo* cls);

} // namespace frame
