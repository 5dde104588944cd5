#include "frame/StandardIdents.h"

#include "frame/ClassBuilder.h"

namespace frame {

const TTypeInfo* ColorType() {
    static const TTypeInfo info = MakeIntegerType("TColor", TOrdType::SLong);
    return &info;
}

const TTypeInfo* FontCharsetType() {
    static const TTypeInfo info = MakeIntegerType("TFontCharset", TOrdType::UByte);
    return &info;
}

const TTypeInfo* CursorType() {
    static const TTypeInfo info = MakeIntegerType("TCursor", TOrdType::SWord);
    return &info;
}

#define ENTRY(name)                                                                                \
    { name, #name }

std::span<const TIdentMapEntry> ColorIdents() {
    static const TIdentMapEntry map[] = {
        ENTRY(clBlack),         ENTRY(clMaroon),
        ENTRY(clGreen),         ENTRY(clOlive),
        ENTRY(clNavy),          ENTRY(clPurple),
        ENTRY(clTeal),          ENTRY(clGray),
        ENTRY(clSilver),        ENTRY(clRed),
        ENTRY(clLime),          ENTRY(clYellow),
        ENTRY(clBlue),          ENTRY(clFuchsia),
        ENTRY(clAqua),          ENTRY(clWhite),
        ENTRY(clMoneyGreen),    ENTRY(clSkyBlue),
        ENTRY(clCream),         ENTRY(clMedGray),
        ENTRY(clScrollBar),     ENTRY(clBackground),
        ENTRY(clActiveCaption), ENTRY(clInactiveCaption),
        ENTRY(clMenu),          ENTRY(clWindow),
        ENTRY(clWindowFrame),   ENTRY(clMenuText),
        ENTRY(clWindowText),    ENTRY(clCaptionText),
        ENTRY(clActiveBorder),  ENTRY(clInactiveBorder),
        ENTRY(clAppWorkSpace),  ENTRY(clHighlight),
        ENTRY(clHighlightText), ENTRY(clBtnFace),
        ENTRY(clBtnShadow),     ENTRY(clGrayText),
        ENTRY(clBtnText),       ENTRY(clInactiveCaptionText),
        ENTRY(clBtnHighlight),  ENTRY(cl3DDkShadow),
        ENTRY(cl3DLight),       ENTRY(clInfoText),
        ENTRY(clInfoBk),        ENTRY(clNone),
        ENTRY(clDefault),       ENTRY(clLtGray),
        ENTRY(clDkGray),
    };
    return map;
}

std::span<const TIdentMapEntry> CharsetIdents() {
    static const TIdentMapEntry map[] = {
        {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
        {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
        {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
        {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
        {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
        {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
        {255, "OEM_CHARSET"},
    };
    return map;
}

std::span<const TIdentMapEntry> CursorIdents() {
    static const TIdentMapEntry map[] = {
        ENTRY(crDefault),   ENTRY(crNone),     ENTRY(crArrow),     ENTRY(crCross),
        ENTRY(crIBeam),     ENTRY(crSizeNESW), ENTRY(crSizeNS),    ENTRY(crSizeNWSE),
        ENTRY(crSizeWE),    ENTRY(crUpArrow),  ENTRY(crHourGlass), ENTRY(crDrag),
        ENTRY(crNoDrop),    ENTRY(crHSplit),   ENTRY(crVSplit),    ENTRY(crMultiDrag),
        ENTRY(crSQLWait),   ENTRY(crNo),       ENTRY(crAppStart),  ENTRY(crHelp),
        ENTRY(crHandPoint), ENTRY(crSizeAll),
    };
    return map;
}

#undef ENTRY

} // namespace frame
