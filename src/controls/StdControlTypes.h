#pragma once
// Enumerations the standard controls share (labels and panels align text, edit boxes, grids and
// panels have a border or none). One header, so that every control names the same type.
#include "frame/ClassBuilder.h"

namespace controls {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
ZORVANE_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum TTextLayout { tlTop, tlCenter, tlBottom };
ZORVANE_ENUM_TYPE(TTextLayout, "tlTop", "tlCenter", "tlBottom")

enum TBorderStyle { bsNone, bsSingle };
ZORVANE_ENUM_TYPE(TBorderStyle, "bsNone", "bsSingle")

} // namespace controls
