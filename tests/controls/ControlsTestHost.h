#pragma once
// Support for the panel, bevel, image and button tests: a top-level host that stands in for a
// form, reading form text into it, painting a control tree into a bitmap, and comparing a
// bitmap with a stored reference picture.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/controls/TCustomControl.h"
#include "platform/gdi/Bitmap.h"

#include "../support/ReferenceImage.h"

namespace ctlhost {

// A top-level container with handlers form text can bind.
class THostForm : public frame::TCustomControl {
public:
    ZORVANE_CLASS(THostForm)
    explicit THostForm(frame::TComponent* owner);
    ~THostForm() override;
    void Clicked(frame::TObject* sender) {
        clicks.push_back(static_cast<frame::TComponent*>(sender)->Name());
    }
    std::vector<std::string> clicks;

protected:
    void Paint() override;
};

void RegisterHostClasses();
// Reads form text into `root`.
void ReadForm(frame::TComponent* root, const std::string& text);
// The control (and its children) painted on a bitmap of its size, over `background`.
platform::gdi::Bitmap PaintToBitmap(frame::TControl& control, std::uint32_t background = 0x00FF00);
// Runs the window queue through the frame's dispatch until nothing waits.
void Pump();

// 0xRRGGBB of a pixel.
inline std::uint32_t Rgb(const platform::gdi::Bitmap& b, int x, int y) {
    return b.Word(x, y) & 0xFFFFFF;
}

// Compares with tests/controls/reference/NAME.png (see testimage::ExpectMatchesReference).
inline void ExpectMatchesReference(const platform::gdi::Bitmap& image, const std::string& name,
                                   int tolerance = 40, double maxBadFraction = 0.01) {
    testimage::ExpectMatchesReference(image, "controls", name, tolerance, maxBadFraction);
}

// A headless display per test; exceptions the bridge reports are collected.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::string> reported;
};

} // namespace ctlhost
