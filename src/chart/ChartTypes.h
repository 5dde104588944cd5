#pragma once
// Values shared by the chart engine: the automatic colour, list orders, the engine's message
// texts and the default font of its text objects.
#include <cstdint>

#include "frame/ClassBuilder.h"
#include "frame/StandardIdents.h"
#include "frame/graphics/GraphicsTypes.h"
#include "rtl/Exception.h"

namespace frame {
class TFont;
}

namespace chart {

using frame::TColor;
using frame::TPoint;
using frame::TRect;

// "Not set: the owner's colour applies". Compared by value only, never drawn.
constexpr TColor clAutoColor = TColor(0x80000000u);
constexpr TColor clNone = frame::clNone;
constexpr TColor clDefault = frame::clDefault;

enum TChartListOrder { loNone, loAscending, loDescending };
ZORVANE_ENUM_TYPE(TChartListOrder, "loNone", "loAscending", "loDescending")

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
ZORVANE_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

// Message texts.
inline constexpr const char* kMsgAxisIncrement = "Axis increment must be >= 0";
inline constexpr const char* kMsgAxisMinimum = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* kMsgAxisMaximum = "Axis Maximum Value must be >= Minimum";
inline constexpr const char* kMsgAxisLogDateTime = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* kMsgAxisLogNegative =
    "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* kMsgLabelsSeparation = "Labels Separation % must be greater than 0";
inline constexpr const char* kMsg3DPercent = "3D effect percent must be between %d and %d";
inline constexpr const char* kMsgMaxPointsPerPage = "MaxPointsPerPage must be >= 0";
inline constexpr const char* kMsgFunctionPeriod = "Function Period should be >= 0";
inline constexpr const char* kMsgListIndex = "List index out of bounds (%d)";

// Default names of the first two value lists.
inline constexpr const char* kXValuesName = "X";
inline constexpr const char* kYValuesName = "Y";

// The default font of every chart text object: Arial, 8 points, black.
inline constexpr const char* kDefaultFontName = "Arial";
constexpr int kDefaultFontSize = 8;
void SetDefaultChartFont(frame::TFont& font);

constexpr int k3DPercentMin = 1;
constexpr int k3DPercentMax = 100;

// The default palette of series colours.
TColor ChartPaletteColor(int index);

} // namespace chart
