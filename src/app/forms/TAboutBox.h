#pragma once
// The about box: the program's picture, name, version and a line about it. Made hidden at
// start-up and shown, modeless, from the picture on the input and result forms; "OK", Enter and
// the close box hide it.
#include "frame/forms/TCustomForm.h"

namespace controls {
class TPanel;
class TBevel;
class TImage;
class TLabel;
class TButton;
} // namespace controls

namespace app {

class TAboutBox : public frame::TForm {
public:
    ZORVANE_CLASS(TAboutBox)
    explicit TAboutBox(frame::TComponent* owner);
    ~TAboutBox() override;

    controls::TPanel* Panel1 = nullptr;
    controls::TBevel* Bevel1 = nullptr;
    controls::TImage* ProgramIcon = nullptr;
    controls::TLabel* ProductName = nullptr;
    controls::TLabel* Version = nullptr;
    controls::TLabel* Comments = nullptr;
    controls::TLabel* Copyright = nullptr;
    controls::TButton* OKButton = nullptr;

    void OKButtonClick(frame::TObject* sender);
};

} // namespace app
