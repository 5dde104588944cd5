// The classic 3-D look of a panel, bevel and image group against a stored reference picture.
#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/TImage.h"
#include "frame/graphics/TJPEGImage.h"

namespace ctlhost {
namespace {

class GroupReferenceTest : public HostTest {};

TEST_F(GroupReferenceTest, InputFormGroup) {
    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  Width = 313
  Height = 225
  object Panel1: TPanel
    Left = 0
    Top = 1
    Width = 313
    Height = 224
    BevelInner = bvLowered
    BorderWidth = 5
    object Bevel1: TBevel
      Left = 224
      Top = 16
      Width = 57
      Height = 57
      Style = bsRaised
    end
    object Bevel2: TBevel
      Left = 16
      Top = 40
      Width = 150
      Height = 60
      Shape = bsFrame
    end
    object Bevel3: TBevel
      Left = 16
      Top = 110
      Width = 150
      Height = 10
      Shape = bsTopLine
    end
    object Panel2: TPanel
      Left = 208
      Top = 80
      Width = 89
      Height = 129
      BevelOuter = bvLowered
      Caption = 'Panel2'
    end
    object Panel3: TPanel
      Left = 16
      Top = 140
      Width = 150
      Height = 3
    end
  end
end
)");
    auto* image = new controls::TImage(&host);
    image->SetBounds(232, 24, 41, 41);
    image->SetParent(frame::As<frame::TWinControl>(host.FindComponent("Panel1")));
    frame::TJPEGImage jpeg;
    jpeg.LoadFromFile(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/intro.jpg");
    image->Picture()->SetGraphic(&jpeg);
    image->SetStretch(true);
    ExpectMatchesReference(PaintToBitmap(host), "panel_bevel_image");
}

} // namespace
} // namespace ctlhost
