#pragma once
// What buttons ask of the form that contains them and of the application: the form's modal
// result, closing the form, and opening help at a context. The application object installs these
// at start-up; without it a button only runs its own OnClick.
#include <cstdint>
#include <functional>

namespace frame {
class TControl;
}

namespace controls {

using TModalResult = int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

struct TFormLink {
    // Sets the modal result of the form that contains the control (nothing when none does).
    std::function<void(frame::TControl* control, TModalResult result)> setModalResult;
    // Closes the form that contains the control; false when the control is on no form.
    std::function<bool(frame::TControl* control)> closeForm;
    // Opens help at a context.
    std::function<void(int32_t context)> showHelpContext;
};

TFormLink& FormLink();

} // namespace controls
