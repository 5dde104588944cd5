#include "app/forms/TAboutBox.h"

#include "app/ProgramForms.h"
#include "controls/TBevel.h"
#include "controls/TButtonControl.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "frame/ClassBuilder.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TScreen.h"

namespace app {

using namespace frame;

const TClassInfo* TAboutBox::StaticClass() {
    static const auto info = TClassBuilder<TAboutBox>("TAboutBox", TForm::StaticClass())
                                 .Field("Panel1", &TAboutBox::Panel1)
                                 .Field("Bevel1", &TAboutBox::Bevel1)
                                 .Field("ProgramIcon", &TAboutBox::ProgramIcon)
                                 .Field("ProductName", &TAboutBox::ProductName)
                                 .Field("Version", &TAboutBox::Version)
                                 .Field("Comments", &TAboutBox::Comments)
                                 .Field("Copyright", &TAboutBox::Copyright)
                                 .Field("OKButton", &TAboutBox::OKButton)
                                 .Method<&TAboutBox::OKButtonClick>("OKButtonClick")
                                 .Build();
    return info.get();
}

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {}

TAboutBox::~TAboutBox() {
    if (AboutBox == this)
        AboutBox = nullptr;
}

bool AboutBoxKey(TCMDialogChar& m) {
    if (m.message.result != 0 || FoldCase(m.ch) != FoldCase(U'о') || !AboutBox)
        return false;
    AboutBox->ShowAsDialogOf(frame::Screen ? frame::Screen->ActiveCustomForm() : nullptr);
    m.message.result = 1;
    return true;
}

void TAboutBox::OKButtonClick(TObject*) {
    CloseForm();
}

} // namespace app
