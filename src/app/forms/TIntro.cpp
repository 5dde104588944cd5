#include "app/forms/TIntro.h"

#include <algorithm>

#include "app/BiorhythmModel.h"
#include "app/ProgramForms.h"
#include "app/forms/TAboutBox.h"
#include "controls/TBevel.h"
#include "controls/TBitBtn.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TCustomPanel.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "controls/TUpDown.h"
#include "frame/ClassBuilder.h"
#include "frame/forms/TApplication.h"
#include "rtl/NumberText.h"

namespace app {

using namespace frame;

const TClassInfo* TIntro::StaticClass() {
    static const auto info = TClassBuilder<TIntro>("TIntro", TForm::StaticClass())
                                 .Field("Panel1", &TIntro::Panel1)
                                 .Field("Bevel1", &TIntro::Bevel1)
                                 .Field("Label1", &TIntro::Label1)
                                 .Field("Label2", &TIntro::Label2)
                                 .Field("Image1", &TIntro::Image1)
                                 .Field("Panel2", &TIntro::Panel2)
                                 .Field("BitBtn1", &TIntro::BitBtn1)
                                 .Field("BitBtn2", &TIntro::BitBtn2)
                                 .Field("BitBtn3", &TIntro::BitBtn3)
                                 .Field("ComboBox1", &TIntro::ComboBox1)
                                 .Field("Calendar", &TIntro::Calendar)
                                 .Field("Edit1", &TIntro::Edit1)
                                 .Field("UpDown1", &TIntro::UpDown1)
                                 .Field("Edit2", &TIntro::Edit2)
                                 .Field("UpDown2", &TIntro::UpDown2)
                                 .Field("ComboBox2", &TIntro::ComboBox2)
                                 .Method<&TIntro::ComboBox1Change>("ComboBox1Change")
                                 .Method<&TIntro::Edit1Change>("Edit1Change")
                                 .Method<&TIntro::FormActivate>("FormActivate")
                                 .Method<&TIntro::BitBtn1Click>("BitBtn1Click")
                                 .Method<&TIntro::BitBtn2Click>("BitBtn2Click")
                                 .Method<&TIntro::Image1Click>("Image1Click")
                                 .Build();
    return info.get();
}

TIntro::TIntro(TComponent* owner) : TForm(owner) {}

TIntro::~TIntro() {
    if (Intro == this)
        Intro = nullptr;
}

std::function<rtl::TDateTime()>& TIntro::Clock() {
    static std::function<rtl::TDateTime()> clock = rtl::Now;
    return clock;
}

bool TIntro::Reading() const {
    return HasState(csLoading) || HasState(csReading) || FormState().Contains(fsCreating);
}

void TIntro::MoveCalendar(int year, int month) {
    rtl::DateParts held{Calendar->Year(), Calendar->Month(), Calendar->Day()};
    int toYear = year >= 1 ? year : held.year;
    int toMonth = month >= 1 && month <= 12 ? month : held.month;
    if (toYear > 9999) {
        Calendar->SetYear(toYear); // the calendar's own refusal
        return;
    }
    int day = std::min(held.day, rtl::DaysInMonth(toYear, toMonth));
    Calendar->SetDay(day);
    // One of the two ways through leaves a date that exists on the way: the day fits the target
    // month, so it fits the held month in the target year or the target month in the held year.
    if (day <= rtl::DaysInMonth(toYear, held.month)) {
        Calendar->SetYear(toYear);
        Calendar->SetMonth(toMonth);
    } else {
        Calendar->SetMonth(toMonth);
        Calendar->SetYear(toYear);
    }
}

void TIntro::ComboBox1Change(TObject*) {
    if (Reading())
        return;
    MoveCalendar(Calendar->Year(), ComboBox1->ItemIndex() + 1);
}

void TIntro::Edit1Change(TObject*) {
    if (Reading())
        return;
    MoveCalendar(rtl::StrToInt(Edit1->Text()), Calendar->Month());
}

void TIntro::FormActivate(TObject*) {
    // Only the first activation sets the form up: coming back from the about box, the result
    // form or another program keeps what the user entered.
    if (m_setUp)
        return;
    m_setUp = true;
    if (!Session || !Session->NextPressed())
        ComboBox1->SetItemIndex(0);
    MoveCalendar(rtl::StrToInt(Edit1->Text()), ComboBox1->ItemIndex() + 1);
    rtl::DateParts today = rtl::DecodeDate(Clock()());
    ComboBox2->SetItemIndex(today.month - 1);
    Edit2->SetText(rtl::IntToStr(today.year));
}

TPeriod TIntro::Period() const {
    return TPeriod{ComboBox2->ItemIndex(), Edit2->Text(), ComboBox2->Text() + " " + Edit2->Text()};
}

void TIntro::BitBtn1Click(TObject*) {
    if (!Session)
        return;
    // The birth date first: with both wrong, its message is the one shown.
    rtl::TDateTime birth = BirthDateOf(Calendar->Day(), Calendar->Month(), Calendar->Year());
    Session->Next(birth, Period());
}

void TIntro::BitBtn2Click(TObject*) {
    Application->ShowHelpContext(IntroHelpContext);
}

void TIntro::Image1Click(TObject*) {
    if (AboutBox)
        AboutBox->ShowAsDialogOf(this);
}

void TIntro::CMDialogChar(TCMDialogChar& m) {
    TAlive alive(this);
    TForm::CMDialogChar(m); // the controls' accelerators first
    if (alive)
        AboutBoxKey(m);
}

} // namespace app
