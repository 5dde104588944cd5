// The modal loop: refusal, the modal result, the close step, quitting, a form released while it
// runs, exceptions inside it, and putting back exactly what it changed.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "platform/display/WindowApi.h"
#include "rtl/Exception.h"

namespace formtest {
namespace {

using namespace platform;

const char* kDialog = R"(object Dialog: TStreamForm
  BorderStyle = bsDialog
  Caption = 'Диалог'
  ClientHeight = 100
  ClientWidth = 200
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnHide = FormHide
  OnShow = FormShow
end
)";

class FormModalTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        owner = StreamForm("object Owner: TStreamForm\nend\n");
        other = StreamForm("object Other: TStreamForm\nend\n");
        dialog = StreamForm(kDialog);
        owner->ShowForm();
        other->ShowForm();
        // Disabled by someone else before the loop: must stay so afterwards.
        EnableWindow(other->Handle(), false);
    }
    TStreamForm* owner = nullptr;
    TStreamForm* other = nullptr;
    TStreamForm* dialog = nullptr;
};

TEST_F(FormModalTest, AVisibleOrDisabledFormCannotBeModal) {
    dialog->ShowForm();
    EXPECT_THROW(dialog->ShowFormModal(), rtl::EInvalidOperation);
    dialog->HideForm();
    dialog->SetEnabled(false);
    try {
        dialog->ShowFormModal();
        FAIL();
    } catch (const rtl::EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot make a visible window modal");
    }
}

TEST_F(FormModalTest, ModalResultEndsTheLoopAndEverythingIsPutBack) {
    bool ownerDisabledInside = false;
    After(20, [&] {
        ownerDisabledInside = !IsWindowEnabled(owner->Handle());
        dialog->SetModalResult(mrOk);
    });
    size_t depth = Screen->SavedFocusDepth();
    EXPECT_EQ(dialog->ShowFormModal(), mrOk);
    EXPECT_TRUE(ownerDisabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(IsWindowEnabled(other->Handle())); // not ours to enable
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->FormState().Contains(fsModal));
    EXPECT_EQ(Screen->SavedFocusDepth(), depth);
    EXPECT_EQ(dialog->log, (std::vector<std::string>{"show", "closequery", "close", "hide"}));
}

TEST_F(FormModalTest, ARefusedCloseKeepsTheLoopGoing) {
    dialog->canClose = false;
    After(10, [&] { dialog->SetModalResult(mrOk); });
    After(30, [&] {
        EXPECT_EQ(dialog->ModalResult(), mrNone);
        dialog->canClose = true;
        dialog->CloseForm(); // a modal form's close is a cancel
    });
    EXPECT_EQ(dialog->ShowFormModal(), mrCancel);
}

TEST_F(FormModalTest, QuittingEndsTheLoopWithCancelAndTheOuterLoopSeesIt) {
    After(10, [] { PostQuitMessage(0); });
    EXPECT_EQ(dialog->ShowFormModal(), mrCancel);
    EXPECT_TRUE(Application->StopRequested());
}

TEST_F(FormModalTest, AFormReleasedDuringItsLoopEndsItWithCancel) {
    TStreamForm* gone = dialog;
    dialog = nullptr;
    After(10, [gone] { gone->ReleaseForm(); });
    EXPECT_EQ(gone->ShowFormModal(), mrCancel);
    EXPECT_EQ(Screen->FormCount(), 2);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(IsWindowEnabled(other->Handle()));
}

TEST_F(FormModalTest, ExceptionsInsideTheLoopAreShownAndTheLoopGoesOn) {
    After(10, [] { throw rtl::EConvertError("Сбой таймера"); });
    Application->OnMessage = [](MSG& msg, bool&) {
        if (msg.message == WM_USER + 7)
            throw rtl::EConvertError("Сбой крючка");
    };
    PostMessage(dialog->Handle(), WM_USER + 7);
    After(50, [&] { dialog->SetModalResult(mrYes); });
    EXPECT_EQ(dialog->ShowFormModal(), mrYes);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Сбой крючка.");
    EXPECT_EQ(boxes[1].text, "Сбой таймера.");
}

TEST_F(FormModalTest, AnErrorInTheCloseStepResetsTheResult) {
    dialog->onEvent = [&](const std::string& e) {
        if (e == "closequery" && dialog->canClose) {
            dialog->canClose = false;
            throw rtl::EInvalidOperation(std::string("Нельзя закрыть"));
        }
    };
    After(10, [&] { dialog->SetModalResult(mrOk); });
    After(30, [&] {
        dialog->canClose = true;
        dialog->onEvent = nullptr;
        dialog->SetModalResult(mrNo);
    });
    EXPECT_EQ(dialog->ShowFormModal(), mrNo);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Нельзя закрыть.");
}

} // namespace
} // namespace formtest
