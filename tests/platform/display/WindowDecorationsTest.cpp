#include <gtest/gtest.h>

#include "platform/display/Messages.h"
#include "platform/display/WindowDecorations.h"

namespace platform {
namespace {

using H = MotifWmHints;

TEST(WindowDecorationsTest, TheWindowManagerOffersWhatTheStyleHas) {
    // A fixed-border form with the system menu alone (the program's forms): title and close box,
    // moved but neither minimised, maximised nor resized.
    H form = MotifHintsFor(WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN);
    EXPECT_EQ(form.flags, H::kFunctions | H::kDecorations);
    EXPECT_EQ(form.functions, H::kFuncMove | H::kFuncClose);
    EXPECT_EQ(form.decorations, H::kDecorBorder | H::kDecorTitle | H::kDecorMenu);
    // A sizeable window with both boxes gets everything.
    H all =
        MotifHintsFor(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_EQ(all.functions,
              H::kFuncMove | H::kFuncClose | H::kFuncResize | H::kFuncMinimize | H::kFuncMaximize);
    EXPECT_EQ(all.decorations, H::kDecorBorder | H::kDecorTitle | H::kDecorMenu |
                                   H::kDecorResizeHandle | H::kDecorMinimize | H::kDecorMaximize);
    // The boxes come only with the system menu, and the menu only with a caption.
    H noMenu = MotifHintsFor(WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_EQ(noMenu.functions, H::kFuncMove);
    EXPECT_EQ(noMenu.decorations, H::kDecorBorder | H::kDecorTitle);
    H noCaption = MotifHintsFor(WS_POPUP | WS_BORDER | WS_SYSMENU);
    EXPECT_EQ(noCaption.functions, H::kFuncMove);
    EXPECT_EQ(noCaption.decorations, H::kDecorBorder);
}

} // namespace
} // namespace platform
