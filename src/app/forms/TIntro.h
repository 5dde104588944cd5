#pragma once
// The input form, the program's main form: the birth date (month list, year box with its spinner,
// the day on the calendar) and the period (month list, year box). "Next" hands both to the
// program's month session, which computes the cycle state and has the result form show it; the
// picture opens the about box.
#include <cstdint>
#include <functional>

#include "app/MonthSession.h"
#include "frame/forms/TCustomForm.h"
#include "rtl/DateTime.h"

namespace controls {
class TPanel;
class TBevel;
class TLabel;
class TImage;
class TBitBtn;
class TComboBox;
class TCalendar;
class TEdit;
class TUpDown;
} // namespace controls

namespace app {

// The help topic of the input form.
inline constexpr int32_t IntroHelpContext = 3;

class TIntro : public frame::TForm {
public:
    ZORVANE_CLASS(TIntro)
    explicit TIntro(frame::TComponent* owner);
    ~TIntro() override;

    // The controls, bound by name as the form is read.
    controls::TPanel* Panel1 = nullptr;
    controls::TBevel* Bevel1 = nullptr;
    controls::TLabel* Label1 = nullptr;
    controls::TLabel* Label2 = nullptr;
    controls::TImage* Image1 = nullptr;
    controls::TPanel* Panel2 = nullptr;
    controls::TBitBtn* BitBtn1 = nullptr;
    controls::TBitBtn* BitBtn2 = nullptr;
    controls::TBitBtn* BitBtn3 = nullptr;
    controls::TComboBox* ComboBox1 = nullptr;
    controls::TCalendar* Calendar = nullptr;
    controls::TEdit* Edit1 = nullptr;
    controls::TUpDown* UpDown1 = nullptr;
    controls::TEdit* Edit2 = nullptr;
    controls::TUpDown* UpDown2 = nullptr;
    controls::TComboBox* ComboBox2 = nullptr;

    // Handlers bound by the form's stream.
    void ComboBox1Change(frame::TObject* sender);
    void Edit1Change(frame::TObject* sender);
    void FormActivate(frame::TObject* sender);
    void BitBtn1Click(frame::TObject* sender);
    void BitBtn2Click(frame::TObject* sender);
    void Image1Click(frame::TObject* sender);

    // Alt+О opens the about box (the picture's click from the keyboard).
    void CMDialogChar(frame::TCMDialogChar& m) override;

    // The period as the period list and year box hold it, named as they read.
    TPeriod Period() const;

    // Moves the calendar to a month of a year, first bringing its day within that month: the
    // calendar itself refuses a date whose kept day the month lacks. A year below 1 or a month
    // outside 1..12 leaves that part as it is, as the calendar would.
    void MoveCalendar(int year, int month);

    // Today's date as the form sees it (the local clock; tests replace it).
    static std::function<rtl::TDateTime()>& Clock();

private:
    // While the form is read (the spinners write their year boxes as they are associated), the
    // change handlers have nothing to act on yet.
    bool Reading() const;

    bool m_setUp = false; // the first activation has run
};

} // namespace app
