#pragma once
// Values the report engine shares: the length units, paper sizes and paper bins with their
// device codes, band roles, report options, shapes and the chart print methods. The names are
// those form sources store.
#include <cstdint>
#include <string>

#include "frame/ClassBuilder.h"

namespace report {

// The unit a length object reads and writes its values in; Native is tenths of a millimetre,
// the unit every length is stored in.
enum class TRepUnit : uint8_t { MM, Inches, Pixels, Characters, Native };
ZORVANE_ENUM_TYPE(TRepUnit, "MM", "Inches", "Pixels", "Characters", "Native")

enum class TPrinterOrientation : uint8_t { poPortrait, poLandscape };
ZORVANE_ENUM_TYPE(TPrinterOrientation, "poPortrait", "poLandscape")

enum class TRepPaperSize : uint8_t {
    Default,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    rp10X14,
    rp11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom
};
ZORVANE_ENUM_TYPE(TRepPaperSize, "Default", "Letter", "LetterSmall", "Tabloid", "Ledger", "Legal",
                  "Statement", "Executive", "A3", "A4", "A4Small", "A5", "B4", "B5", "Folio",
                  "Quarto", "rp10X14", "rp11X17", "Note", "Env9", "Env10", "Env11", "Env12",
                  "Env14", "CSheet", "DSheet", "ESheet", "Custom")
constexpr int kPaperSizeCount = int(TRepPaperSize::Custom) + 1;

enum class TRepBin : uint8_t {
    First,
    Upper,
    Lower,
    Middle,
    Manual,
    Envelope,
    EnvManual,
    Auto,
    Tractor,
    SmallFormat,
    LargeFormat,
    LargeCapacity,
    Cassette,
    Last
};
ZORVANE_ENUM_TYPE(TRepBin, "First", "Upper", "Lower", "Middle", "Manual", "Envelope", "EnvManual",
                  "Auto", "Tractor", "SmallFormat", "LargeFormat", "LargeCapacity", "Cassette",
                  "Last")
constexpr int kBinCount = int(TRepBin::Last) + 1;

enum class TRepBandType : uint8_t {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbChild
};
ZORVANE_ENUM_TYPE(TRepBandType, "rbTitle", "rbPageHeader", "rbDetail", "rbPageFooter", "rbSummary",
                  "rbGroupHeader", "rbGroupFooter", "rbSubDetail", "rbColumnHeader", "rbOverlay",
                  "rbChild")

enum class TReportOption : uint8_t { FirstPageHeader, LastPageFooter, Compression };
ZORVANE_ENUM_TYPE(TReportOption, "FirstPageHeader", "LastPageFooter", "Compression")
using TReportOptions = frame::TSet<TReportOption>;

enum class TRepShapeType : uint8_t {
    rsRectangle,
    rsCircle,
    rsVertLine,
    rsHorLine,
    rsTopAndBottom,
    rsRightAndLeft
};
ZORVANE_ENUM_TYPE(TRepShapeType, "rsRectangle", "rsCircle", "rsVertLine", "rsHorLine",
                  "rsTopAndBottom", "rsRightAndLeft")

enum class TChartPrintMethod : uint8_t { cpmBitmap, cpmMetafile };
ZORVANE_ENUM_TYPE(TChartPrintMethod, "cpmBitmap", "cpmMetafile")

enum class TBiDiMode : uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
ZORVANE_ENUM_TYPE(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                  "bdRightToLeftReadingOnly")

// One row of the paper table: the size in millimetres (portrait) and the device's paper code.
// Default has no size of its own; Custom takes the printer settings' width and length.
struct TPaperInfo {
    long double width;
    long double length;
    int code;
};
const TPaperInfo& PaperInfo(TRepPaperSize size);
// The first paper size whose code is `code`, if any.
bool PaperSizeForCode(int code, TRepPaperSize& size);
// A named size: neither Default nor Custom.
inline bool IsNamedPaper(TRepPaperSize size) {
    return size != TRepPaperSize::Default && size != TRepPaperSize::Custom;
}

// The device's paper-source code of a bin.
int BinCode(TRepBin bin);
// The first bin whose code is `code`, if any.
bool BinForCode(int code, TRepBin& bin);

// Tenths of a millimetre per inch.
constexpr long double kTenthsPerInch = 254.0L;

// round(): to the nearest integer, halves to the even neighbour, as the engine's arithmetic is
// defined; out-of-range values are clamped to 32 bits.
int32_t RoundEven(long double value);
// a + b, clamped to 32 bits (positions grow by lengths read from files).
inline int32_t AddClamped(int32_t a, int32_t b) {
    int64_t sum = int64_t(a) + b;
    return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : int32_t(sum);
}

} // namespace report
