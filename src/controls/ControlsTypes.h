#pragma once
// Values the standard controls share: text alignment and the single border.
#include "frame/ClassBuilder.h"

namespace controls {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
ZORVANE_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum TBorderStyle { bsNone, bsSingle };
ZORVANE_ENUM_TYPE(TBorderStyle, "bsNone", "bsSingle")

// The horizontal DrawText flag of an alignment.
unsigned AlignmentTextFlag(TAlignment alignment);

} // namespace controls
