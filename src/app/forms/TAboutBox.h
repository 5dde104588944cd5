#pragma once
// The about box: the program's picture, name, version and a line about it. Made hidden at
// start-up and shown, modeless, from the picture on the input and result forms; "OK", Enter and
// the close box hide it.
#include "frame/controls/ControlMessages.h"
#include "frame/forms/TCustomForm.h"

namespace controls {
class TPanel;
class TBevel;
class TImage;
class TLabel;
class TButton;
} // namespace controls

namespace app {

// The keyboard's way to the about box from the input and result forms, whose picture (the mouse's
// way) cannot take the focus: Alt+О, after the box's caption «О программе...». Offered to the form
// after its controls, like a button's accelerator (so also the plain letter while a button has
// the focus); true when `m` was that key and the box was shown.
bool AboutBoxKey(frame::TCMDialogChar& m);

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
