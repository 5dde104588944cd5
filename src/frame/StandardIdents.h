#pragma once
// The integer types that carry identifier maps — colours, font character sets, cursors — with
// their named constants.
#include <cstdint>
#include <span>

#include "frame/IdentMaps.h"

namespace frame {

using TColor = int32_t;
using TFontCharset = uint8_t;
using TCursor = int16_t;

const TTypeInfo* ColorType();
const TTypeInfo* FontCharsetType();
const TTypeInfo* CursorType();

std::span<const TIdentMapEntry> ColorIdents();
std::span<const TIdentMapEntry> CharsetIdents();
std::span<const TIdentMapEntry> CursorIdents();

// System colours: 0x80000000 | the system colour index.
constexpr TColor clScrollBar = TColor(0x80000000 | 0);
constexpr TColor clBackground = TColor(0x80000000 | 1);
constexpr TColor clActiveCaption = TColor(0x80000000 | 2);
constexpr TColor clInactiveCaption = TColor(0x80000000 | 3);
constexpr TColor clMenu = TColor(0x80000000 | 4);
constexpr TColor clWindow = TColor(0x80000000 | 5);
constexpr TColor clWindowFrame = TColor(0x80000000 | 6);
constexpr TColor clMenuText = TColor(0x80000000 | 7);
constexpr TColor clWindowText = TColor(0x80000000 | 8);
constexpr TColor clCaptionText = TColor(0x80000000 | 9);
constexpr TColor clActiveBorder = TColor(0x80000000 | 10);
constexpr TColor clInactiveBorder = TColor(0x80000000 | 11);
constexpr TColor clAppWorkSpace = TColor(0x80000000 | 12);
constexpr TColor clHighlight = TColor(0x80000000 | 13);
constexpr TColor clHighlightText = TColor(0x80000000 | 14);
constexpr TColor clBtnFace = TColor(0x80000000 | 15);
constexpr TColor clBtnShadow = TColor(0x80000000 | 16);
constexpr TColor clGrayText = TColor(0x80000000 | 17);
constexpr TColor clBtnText = TColor(0x80000000 | 18);
constexpr TColor clInactiveCaptionText = TColor(0x80000000 | 19);
constexpr TColor clBtnHighlight = TColor(0x80000000 | 20);
constexpr TColor cl3DDkShadow = TColor(0x80000000 | 21);
constexpr TColor cl3DLight = TColor(0x80000000 | 22);
constexpr TColor clInfoText = TColor(0x80000000 | 23);
constexpr TColor clInfoBk = TColor(0x80000000 | 24);

// Plain colours, 0x00BBGGRR.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset OEM_CHARSET = 255;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

} // namespace frame
