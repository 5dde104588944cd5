// Push and glyph buttons: glyph cells and layout, the built disabled and pressed images, kind
// presets and their reverting, loading captions before kinds, click semantics by kind, the
// default role on focus changes with Enter, Escape and accelerators, and the empty-glyph fault.
#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/TBitBtn.h"
#include "controls/TCustomPanel.h"
#include "controls/TGlyphCache.h"
#include "frame/FormText.h"
#include "frame/TWriter.h"
#include "frame/controls/ControlBridge.h"
#include "platform/display/Headless.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/TMemoryStream.h"

namespace ctlhost {
namespace {

using namespace controls;
using frame::Rect;
using frame::TPoint;
using frame::TRect;
using platform::gdi::Bitmap;
using platform::gdi::Size;

constexpr std::uint32_t kFace = 0xC0C0C0, kShadow = 0x808080, kHighlight = 0xFFFFFF;
constexpr frame::TColor kOlive = 0x008080; // the glyphs' ground (bottom-left pixel)

// A glyph of `cells` cells of `h` x `h` on an olive ground, each with a filled square of its
// own colour at (4, 4)-(12, 12).
std::unique_ptr<frame::TBitmap> MakeGlyph(int w, int h, std::vector<frame::TColor> squares = {}) {
    auto bmp = std::make_unique<frame::TBitmap>();
    bmp->SetSize(w, h);
    frame::TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(kOlive);
    c->FillRect(Rect(0, 0, w, h));
    for (size_t i = 0; i < squares.size(); ++i) {
        c->Brush()->SetColor(squares[i]);
        int x = int(i) * h;
        c->FillRect(Rect(x + 4, 4, x + 12, 12));
    }
    return bmp;
}

TEST(ButtonLayout, CentredGroupAndTheOtherRules) {
    TRect client = Rect(0, 0, 73, 33);
    // The worked example: margin = spacing = (73 - 56) div 3 = 5.
    auto r =
        CalcButtonLayout(client, {0, 0}, Size{16, 16}, Size{40, 13}, blGlyphLeft, -1, -1, false);
    EXPECT_EQ(r.glyphPos.x, 5);
    EXPECT_EQ(r.textBounds.left, 26);
    EXPECT_EQ(r.glyphPos.y, 9);      // (33 - 16 + 1) div 2
    EXPECT_EQ(r.textBounds.top, 10); // (33 - 13 + 1) div 2
    // Margin −1 only: (73 - (16 + 4 + 40) + 1) div 2 = 7.
    r = CalcButtonLayout(client, {0, 0}, Size{16, 16}, Size{40, 13}, blGlyphLeft, -1, 4, false);
    EXPECT_EQ(r.glyphPos.x, 7);
    EXPECT_EQ(r.textBounds.left, 27);
    // Spacing −1 only: ((73 - (2 + 16)) - 40) div 2 = 7.
    r = CalcButtonLayout(client, {0, 0}, Size{16, 16}, Size{40, 13}, blGlyphLeft, 2, -1, false);
    EXPECT_EQ(r.textBounds.left, 2 + 16 + 7);
    // Glyph right, moved by the client origin and the offset; right-to-left swaps sides.
    r = CalcButtonLayout(Rect(10, 20, 83, 53), {1, 1}, Size{16, 16}, Size{40, 13}, blGlyphRight, 4,
                         4, false);
    EXPECT_EQ(r.glyphPos.x, 73 - 4 - 16 + 11);
    EXPECT_EQ(r.textBounds.left, 73 - 4 - 16 - 4 - 40 + 11);
    auto rtl =
        CalcButtonLayout(client, {0, 0}, Size{16, 16}, Size{40, 13}, blGlyphLeft, 4, 4, true);
    EXPECT_EQ(rtl.glyphPos.x, 73 - 4 - 16);
    // Top and bottom layouts work along the height.
    r = CalcButtonLayout(Rect(0, 0, 60, 60), {0, 0}, Size{16, 16}, Size{30, 13}, blGlyphTop, 3, 2,
                         false);
    EXPECT_EQ(r.glyphPos, (TPoint{22, 3}));
    EXPECT_EQ(r.textBounds.top, 21);
    EXPECT_EQ(r.textBounds.left, 15);
    r = CalcButtonLayout(Rect(0, 0, 60, 60), {0, 0}, Size{16, 16}, Size{30, 13}, blGlyphBottom, 3,
                         2, false);
    EXPECT_EQ(r.glyphPos.y, 60 - 3 - 16);
    EXPECT_EQ(r.textBounds.top, 60 - 3 - 16 - 2 - 13);
    // Without a caption there is no spacing: the glyph is centred.
    r = CalcButtonLayout(Rect(0, 0, 69, 29), {0, 0}, Size{16, 16}, Size{0, 0}, blGlyphLeft, -1, 4,
                         false);
    EXPECT_EQ(r.glyphPos.x, 27);
}

TEST(ButtonGlyph, CellCountFollowsTheShapeOfTheBitmap) {
    TButtonGlyph glyph;
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    glyph.SetGlyph(MakeGlyph(48, 16).get());
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    glyph.SetGlyph(MakeGlyph(100, 16).get()); // not a multiple: keeps 3
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    glyph.SetGlyph(MakeGlyph(96, 16).get()); // six cells is too many: one
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    glyph.SetGlyph(MakeGlyph(32, 16).get());
    EXPECT_EQ(glyph.NumGlyphs(), 2);
    EXPECT_EQ(glyph.CellSize(), (Size{16, 16}));
    EXPECT_EQ(glyph.TransparentColor(), kOlive);
    glyph.SetNumGlyphs(0);
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    glyph.SetNumGlyphs(7);
    EXPECT_EQ(glyph.NumGlyphs(), 4);
}

TEST(ButtonGlyph, AnEmptyOrTooNarrowGlyphDrawsNothing) {
    TButtonGlyph glyph;
    auto empty = std::make_unique<frame::TBitmap>();
    empty->SetSize(0, 16);
    glyph.SetGlyph(empty.get()); // a zero width used to give zero cells
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    EXPECT_EQ(glyph.CellSize(), (Size{0, 0}));
    EXPECT_EQ(glyph.CreateButtonGlyph(bsUp), -1);
    glyph.SetGlyph(MakeGlyph(3, 16).get());
    glyph.SetNumGlyphs(4); // cells narrower than a pixel
    EXPECT_EQ(glyph.CellSize(), (Size{0, 0}));
    for (auto s : {bsUp, bsDisabled, bsDown, bsExclusive})
        EXPECT_EQ(glyph.CreateButtonGlyph(s), -1);
    Bitmap b(40, 20, kFace);
    auto dc = platform::gdi::DeviceContext::ForBitmap(b);
    frame::TCanvas canvas;
    canvas.SetHandle(dc.get());
    glyph.Draw(canvas, Rect(0, 0, 40, 20), {0, 0}, "", blGlyphLeft, -1, 4, bsDisabled, false, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Rgb(b, x, y), kFace);
}

TEST(ButtonGlyph, DisabledImages) {
    // One cell: embossed from the black pixels.
    TButtonGlyph one;
    auto bmp = MakeGlyph(16, 16, {0x000000});
    one.SetGlyph(bmp.get());
    Bitmap d = one.StateImage(bsDisabled, 0x123456);
    EXPECT_EQ(Rgb(d, 4, 4), kShadow);
    EXPECT_EQ(Rgb(d, 11, 11), kShadow);
    EXPECT_EQ(Rgb(d, 12, 12), kHighlight);
    EXPECT_EQ(Rgb(d, 12, 5), kHighlight);
    EXPECT_EQ(Rgb(d, 2, 2), 0x123456u); // the face is its transparent colour
    // Two cells: the second cell, its ground fitted to the button face (transparent here).
    TButtonGlyph two;
    auto pair = MakeGlyph(32, 16, {0x0000FF, 0xFF0000});
    two.SetGlyph(pair.get());
    Bitmap up = two.StateImage(bsUp, 0x123456);
    Bitmap dis = two.StateImage(bsDisabled, 0x123456);
    Bitmap down = two.StateImage(bsDown, 0x123456);
    EXPECT_EQ(Rgb(up, 8, 8), 0xFF0000u);   // red (TColor 0x0000FF)
    EXPECT_EQ(Rgb(dis, 8, 8), 0x0000FFu);  // blue
    EXPECT_EQ(Rgb(down, 8, 8), 0xFF0000u); // fewer than 3 cells: down uses the up cell
    EXPECT_EQ(Rgb(up, 1, 1), 0x123456u);
    EXPECT_EQ(Rgb(dis, 1, 1), 0x123456u);
}

TEST(ButtonGlyph, CellsShareOneListPerSize) {
    TButtonGlyph a, b;
    a.SetGlyph(MakeGlyph(32, 16, {0x0000FF}).get());
    b.SetGlyph(MakeGlyph(16, 16, {0x00FF00}).get());
    int lists = GlyphCache().ListCount();
    a.CreateButtonGlyph(bsUp);
    b.CreateButtonGlyph(bsUp);
    EXPECT_EQ(GlyphCache().ListCount(), lists + 1);
    TGlyphList* list = GlyphCache().GetList(16, 16);
    EXPECT_EQ(list->Count(), 2);
    a.Invalidate();
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(a.CreateButtonGlyph(bsUp), 0); // the freed slot is reused
}

class BitBtnTest : public HostTest {
protected:
    // Draws the button as the window would ask for it, at (x, y) of `target`.
    void DrawAt(TBitBtn& btn, Bitmap& target, int x, int y, unsigned itemState) {
        auto dc = platform::gdi::DeviceContext::ForBitmap(target);
        platform::DRAWITEMSTRUCT di;
        di.CtlType = platform::ODT_BUTTON;
        di.itemAction = platform::ODA_DRAWENTIRE;
        di.itemState = itemState;
        di.hDC = dc.get();
        di.rcItem = Rect(x, y, x + btn.Width(), y + btn.Height());
        btn.Perform(frame::CN_DRAWITEM, 0, reinterpret_cast<frame::LPARAM>(&di));
    }
    Bitmap Draw(TBitBtn& btn, unsigned itemState = 0) {
        Bitmap b(btn.Width(), btn.Height(), 0x00FF00);
        DrawAt(btn, b, 0, 0, itemState);
        return b;
    }
};

TEST_F(BitBtnTest, TwoCellGlyphDrawsByStateAndPressedMovesByOne) {
    TBitBtn btn(nullptr);
    btn.SetBounds(0, 0, 73, 33);
    btn.SetGlyph(MakeGlyph(32, 16, {0x0000FF, 0xFF0000}).get());
    EXPECT_EQ(btn.NumGlyphs(), 2);
    // Face 69 x 29 inside the frame: the glyph's cell at (29, 9), its square from (33, 13).
    Bitmap up = Draw(btn);
    EXPECT_EQ(Rgb(up, 33, 13), 0xFF0000u);
    EXPECT_EQ(Rgb(up, 32, 13), kFace);
    EXPECT_EQ(Rgb(up, 40, 20), 0xFF0000u);
    EXPECT_EQ(Rgb(up, 41, 21), kFace);
    EXPECT_EQ(Rgb(up, 0, 0), kHighlight);
    EXPECT_EQ(Rgb(up, 72, 32), 0x000000u);
    Bitmap down = Draw(btn, platform::ODS_SELECTED);
    EXPECT_EQ(Rgb(down, 33, 13), kFace);
    EXPECT_EQ(Rgb(down, 34, 14), 0xFF0000u);
    EXPECT_EQ(Rgb(down, 41, 21), 0xFF0000u);
    EXPECT_EQ(Rgb(down, 0, 0), kShadow);
    btn.SetEnabled(false);
    Bitmap disabled = Draw(btn);
    EXPECT_EQ(Rgb(disabled, 33, 13), 0x0000FFu);
    // Focused: a window-frame line around, the layout inside it.
    btn.SetEnabled(true);
    Bitmap focused = Draw(btn, platform::ODS_FOCUS);
    EXPECT_EQ(Rgb(focused, 0, 0), 0x000000u);
    EXPECT_EQ(Rgb(focused, 1, 1), kHighlight);
}

TEST_F(BitBtnTest, KindPresetsAndReverting) {
    TBitBtn btn(nullptr);
    EXPECT_EQ(btn.Kind(), bkCustom);
    EXPECT_EQ(btn.Margin(), -1);
    EXPECT_EQ(btn.Spacing(), 4);
    btn.SetKind(bkOK);
    EXPECT_EQ(btn.Kind(), bkOK);
    EXPECT_EQ(btn.Caption(), "OK");
    EXPECT_TRUE(btn.Default());
    EXPECT_FALSE(btn.Cancel());
    EXPECT_EQ(btn.ModalResult(), mrOk);
    EXPECT_EQ(btn.NumGlyphs(), 2);
    EXPECT_EQ(btn.Glyph()->Width(), 36);
    EXPECT_EQ(btn.Glyph()->Height(), 18);
    btn.SetKind(bkNo);
    EXPECT_EQ(btn.Caption(), "&No");
    EXPECT_FALSE(btn.Default());
    EXPECT_TRUE(btn.Cancel());
    EXPECT_EQ(btn.ModalResult(), mrNo);
    btn.SetKind(bkAll);
    EXPECT_EQ(btn.Glyph()->Height(), 19);
    EXPECT_EQ(btn.ModalResult(), mrAll);
    // A changed role or result, or an own glyph, turns the kind into bkCustom for good.
    btn.SetModalResult(mrOk);
    EXPECT_EQ(btn.Kind(), bkCustom);
    btn.SetModalResult(mrAll);
    EXPECT_EQ(btn.Kind(), bkCustom);
    btn.SetKind(bkHelp);
    btn.SetGlyph(MakeGlyph(16, 16).get());
    EXPECT_EQ(btn.Kind(), bkCustom);
    btn.SetKind(bkCancel);
    btn.SetDefault(true);
    EXPECT_EQ(btn.Kind(), bkCustom);
    // Custom changes nothing else.
    std::string caption = btn.Caption();
    btn.SetKind(bkCustom);
    EXPECT_EQ(btn.Caption(), caption);
    EXPECT_TRUE(btn.Cancel());
}

TEST_F(BitBtnTest, CaptionReadBeforeKindWinsAndStreamedNumGlyphsIsKeptInRange) {
    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  object BitBtn2: TBitBtn
    Left = 8
    Top = 48
    Width = 73
    Height = 33
    Caption = '&Справка'
    Kind = bkHelp
  end
  object BitBtn3: TBitBtn
    Kind = bkClose
  end
  object BitBtn1: TBitBtn
    Caption = 'x'
    NumGlyphs = 0
    Spacing = -1
    Layout = blGlyphTop
  end
end
)");
    auto* help = frame::As<TBitBtn>(host.FindComponent("BitBtn2"));
    auto* close = frame::As<TBitBtn>(host.FindComponent("BitBtn3"));
    auto* custom = frame::As<TBitBtn>(host.FindComponent("BitBtn1"));
    ASSERT_TRUE(help && close && custom);
    EXPECT_EQ(help->Caption(), "&Справка");
    EXPECT_EQ(help->Kind(), bkHelp);
    EXPECT_EQ(close->Caption(), "&Close");
    EXPECT_EQ(custom->NumGlyphs(), 1);
    EXPECT_EQ(custom->Spacing(), -1);
    EXPECT_EQ(custom->Layout(), blGlyphTop);
    help->SetKind(bkClose);
    help->SetKind(bkHelp);
    EXPECT_EQ(help->Caption(), "&Help");
    Draw(*custom); // nothing to draw for the empty glyph, and no division by zero
}

// The form text a root writes.
std::string WrittenText(frame::TComponent* root) {
    rtl::TMemoryStream stream;
    {
        frame::TWriter writer(stream);
        writer.WriteRootComponent(root);
    }
    return frame::ObjectBinaryToText(stream.Bytes());
}

TEST_F(BitBtnTest, KindButtonsStoreOnlyWhatDiffersFromTheirKind) {
    THostForm host(nullptr);
    host.SetName("Host");
    auto* help = new TBitBtn(&host);
    help->SetName("Help");
    help->SetParent(&host);
    help->SetKind(bkHelp);
    auto* ru = new TBitBtn(&host);
    ru->SetName("Ru");
    ru->SetParent(&host);
    ru->SetKind(bkClose);
    ru->SetCaption("&Выход");
    auto* own = new TBitBtn(&host);
    own->SetName("Own");
    own->SetParent(&host);
    own->SetGlyph(MakeGlyph(32, 16, {0x0000FF}).get());
    std::string text = WrittenText(&host);
    auto section = [&](const std::string& name) {
        size_t from = text.find("object " + name + ":");
        return text.substr(from, text.find("\n  end", from) - from);
    };
    EXPECT_EQ(section("Help").find("Caption"), std::string::npos) << text;
    EXPECT_EQ(section("Help").find("Glyph.Data"), std::string::npos) << text;
    EXPECT_NE(section("Help").find("Kind = bkHelp"), std::string::npos) << text;
    EXPECT_NE(section("Ru").find("Caption = "), std::string::npos) << text;
    EXPECT_NE(section("Own").find("Glyph.Data"), std::string::npos) << text;
    EXPECT_NE(section("Own").find("NumGlyphs = 2"), std::string::npos) << text;
    // And it reads back the same.
    THostForm again(nullptr);
    ReadForm(&again, text);
    auto* ru2 = frame::As<TBitBtn>(again.FindComponent("Ru"));
    ASSERT_TRUE(ru2);
    EXPECT_EQ(ru2->Caption(), "&Выход");
    EXPECT_EQ(ru2->Kind(), bkClose);
    auto* own2 = frame::As<TBitBtn>(again.FindComponent("Own"));
    EXPECT_TRUE(own2->Glyph()->Image() == own->Glyph()->Image());
    EXPECT_EQ(own2->NumGlyphs(), 2);
}

void PressKey(int vk, unsigned modifiers = 0, char32_t ch = 0) {
    namespace hl = platform::headless;
    if (modifiers & hl::kAlt)
        hl::KeyDown(platform::VK_MENU);
    Pump();
    hl::KeyDown(vk, ch ? std::u32string(1, ch) : std::u32string());
    Pump();
    hl::KeyUp(vk);
    if (modifiers & hl::kAlt)
        hl::KeyUp(platform::VK_MENU);
    Pump();
}

TEST_F(BitBtnTest, DefaultRoleEnterEscapeAndAccelerators) {
    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  object Edit: TPanel
    TabStop = True
    TabOrder = 0
  end
  object OK: TButton
    Left = 10
    Top = 100
    Caption = 'OK'
    Default = True
    ModalResult = 1
    OnClick = Clicked
    TabOrder = 1
  end
  object Cancel: TButton
    Left = 100
    Top = 100
    Caption = 'Cancel'
    Cancel = True
    OnClick = Clicked
    TabOrder = 2
  end
  object Next: TBitBtn
    Left = 10
    Top = 140
    Width = 73
    Height = 33
    Caption = '&Далее   '
    OnClick = Clicked
    TabOrder = 3
  end
end
)");
    auto* ok = frame::As<TButton>(host.FindComponent("OK"));
    auto* next = frame::As<TBitBtn>(host.FindComponent("Next"));
    auto* edit = frame::As<TPanel>(host.FindComponent("Edit"));
    host.Show();
    Pump();
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    EXPECT_FALSE(next->DefaultLook());
    PressKey(platform::VK_RETURN);
    PressKey(platform::VK_ESCAPE);
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"OK", "Cancel"}));
    host.clicks.clear();
    // A focused push button takes the role.
    next->SetFocus();
    Pump();
    EXPECT_FALSE(ok->Active());
    EXPECT_TRUE(next->DefaultLook());
    PressKey(platform::VK_RETURN);
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"Next"}));
    host.clicks.clear();
    edit->SetFocus();
    Pump();
    EXPECT_FALSE(next->DefaultLook());
    PressKey(0x44, platform::headless::kAlt, U'д'); // the Cyrillic letter of "&Далее"
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"Next"}));
    // The owner-drawn window was drawn through the reflected WM_DRAWITEM.
    EXPECT_EQ(platform::gdi::ColorToWord(platform::headless::Pixel(host.Handle(), {10, 140})),
              kHighlight);
    EXPECT_TRUE(reported.empty());
}

TEST_F(BitBtnTest, ReferencePictureOfTheStates) {
    TBitBtn next(nullptr), exit(nullptr), plain(nullptr);
    for (TBitBtn* b : {&next, &exit, &plain})
        b->SetBounds(0, 0, 73, 33);
    auto glyph = std::make_unique<frame::TBitmap>();
    glyph->LoadFromFile(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/glyph_next.bmp");
    next.SetGlyph(glyph.get());
    next.SetCaption("&Далее   ");
    exit.SetKind(bkClose);
    exit.SetCaption("&Выход");
    plain.SetKind(bkOK);
    Bitmap sheet(4 * 81 + 8, 3 * 41 + 8, kFace);
    int y = 8;
    for (TBitBtn* b : {&next, &exit, &plain}) {
        DrawAt(*b, sheet, 8, y, 0);
        DrawAt(*b, sheet, 89, y, platform::ODS_SELECTED | platform::ODS_FOCUS);
        b->Perform(frame::CM_FOCUSCHANGED, 0, reinterpret_cast<frame::LPARAM>(b));
        DrawAt(*b, sheet, 170, y, platform::ODS_FOCUS);
        b->SetEnabled(false);
        DrawAt(*b, sheet, 251, y, 0);
        y += 41;
    }
    ExpectMatchesReference(sheet, "bitbtn_states");
}

} // namespace
} // namespace ctlhost
