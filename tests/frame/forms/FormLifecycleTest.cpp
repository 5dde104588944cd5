// Forms from their resources and from text: construction, deferred Visible, density scaling,
// showing with placement, closing with its actions, release and destruction.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "frame/FormText.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace formtest {
namespace {

using namespace platform;
namespace hl = headless;

const char* kForm = R"(object StreamForm: TStreamForm
  Left = 10
  Top = 20
  Caption = 'Форма'
  ClientHeight = 150
  ClientWidth = 301
  OldCreateOrder = True
  Scaled = False
  OnActivate = FormActivate
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDeactivate = FormDeactivate
  OnDestroy = FormDestroy
  OnHide = FormHide
  OnShow = FormShow
  object Button1: TCoreButton
    Left = 8
    Top = 8
    OnClick = ButtonClick
  end
end
)";

class FormLifecycleTest : public FormTest {};

TEST_F(FormLifecycleTest, ResourceChainIsReadBaseFirstAndVisibleWaitsForOnCreate) {
    TResForm* form = nullptr;
    Application->MakeForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), "Наследник");
    EXPECT_EQ(form->HelpFile(), "base.hlp");
    ASSERT_NE(form->Ok, nullptr);
    EXPECT_EQ(form->Ok->Caption(), "Готово");
    ASSERT_NE(form->Extra, nullptr);
    EXPECT_EQ(form->Extra->Parent(), form);
    EXPECT_EQ(form->creates, 1);
    EXPECT_EQ(form->ClientWidth(), 300);
    // Its stream said Visible: it was shown once made, centred: (1280 - 300) / 2, (1024 - 200) / 2.
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->BoundsRect(), (TRect{490, 412, 790, 612}));
    EXPECT_EQ(hl::Host(form->Handle())->title, "Наследник");
    EXPECT_EQ(Application->PrimaryForm(), form);
}

TEST_F(FormLifecycleTest, MissingResourceLeavesTheVariableEmpty) {
    TNoRes* form = reinterpret_cast<TNoRes*>(1);
    try {
        Application->MakeForm(form);
        FAIL() << "no error";
    } catch (const rtl::EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource TNoRes not found");
    }
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Screen->FormCount(), 0);
    EXPECT_EQ(Application->PrimaryForm(), nullptr);
}

TEST_F(FormLifecycleTest, TheFirstTFormIsTheMainFormNotAnEarlierCustomForm) {
    TCustomForm* custom = nullptr;
    std::string bytes = ObjectTextToBinary("object P: TPlainCustomForm\nend\n");
    rtl::TBytesStream stream(bytes);
    Application->MakeForm(TPlainCustomForm::StaticClass(), custom, &stream);
    EXPECT_EQ(Application->PrimaryForm(), nullptr);
    TResBase* first = nullptr;
    TResBase* second = nullptr;
    Application->MakeForm(first);
    Application->MakeForm(second);
    EXPECT_EQ(Application->PrimaryForm(), first);
    EXPECT_TRUE(first->HandleAllocated()); // the main form's window is made at once
    EXPECT_FALSE(second->HandleAllocated());
    EXPECT_EQ(second->Name(), "ResBase_1"); // the second of a class gets a numbered name
}

TEST_F(FormLifecycleTest, OnCreateFailureIsReportedAndTheFormStillMade) {
    std::string bytes = ObjectTextToBinary(kForm);
    TStreamForm* form = nullptr;
    {
        rtl::TBytesStream stream(bytes);
        std::unique_ptr<TStreamForm> bare(new TStreamForm(Application));
        bare->onEvent = [](const std::string& e) {
            if (e == "create")
                throw rtl::EConvertError("Ошибка создания");
        };
        bare->InitializeForm(&stream);
        form = bare.release();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Ошибка создания.");
    EXPECT_EQ(boxes[0].flags, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(form->Caption(), "Форма");
}

TEST_F(FormLifecycleTest, ShowPlacesOnceRerunsOnShowAndHidesOnClose) {
    TStreamForm* main = StreamForm("object M: TStreamForm\nend\n");
    TStreamForm* form = StreamForm(kForm);
    (void)main;
    form->SetPosition(poScreenCenter);
    form->ShowForm();
    // An odd difference is halved toward zero: (1280 - 301) / 2 = 489.
    EXPECT_EQ(form->Left(), 489);
    EXPECT_EQ(form->Top(), (1024 - 150) / 2);
    EXPECT_EQ(form->Position(), poDesigned);
    form->SetBounds(5, 6, form->Width(), form->Height());
    SendMessage(form->Handle(), WM_CLOSE);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->ShowForm();
    EXPECT_EQ(form->Left(), 5); // not centred again
    std::vector<std::string> shows;
    for (auto& e : form->log)
        if (e == "show" || e == "hide")
            shows.push_back(e);
    EXPECT_EQ(shows, (std::vector<std::string>{"show", "hide", "show"}));
    EXPECT_FALSE(Application->StopRequested());
}

TEST_F(FormLifecycleTest, LargerThanTheScreenIsPlacedAtTheOrigin) {
    TStreamForm* form = StreamForm(kForm);
    form->SetBounds(0, 0, 2000, 1500);
    form->SetPosition(poScreenCenter);
    form->ShowForm();
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 2000, 1500}));
}

TEST_F(FormLifecycleTest, VisibleCannotChangeInOnShowOrOnHide) {
    TStreamForm* form = StreamForm(kForm);
    form->onEvent = [form](const std::string& e) {
        if (e == "show")
            form->SetVisible(false);
    };
    form->ShowForm();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Cannot change Visible in OnShow or OnHide.");
    EXPECT_TRUE(form->Visible());
}

TEST_F(FormLifecycleTest, CloseActionsOfTheMainFormAndOthers) {
    TStreamForm* main = StreamForm(kForm);
    ASSERT_EQ(Application->PrimaryForm(), nullptr); // CreateForm does not choose a main form
    TCustomForm* ref = nullptr;
    std::string bytes = ObjectTextToBinary(kForm);
    rtl::TBytesStream stream(bytes);
    Application->MakeForm(TStreamForm::StaticClass(), ref, &stream);
    auto* primary = static_cast<TStreamForm*>(ref);
    ASSERT_EQ(Application->PrimaryForm(), primary);
    primary->ShowForm();
    main->ShowForm();

    // A refusal keeps everything.
    primary->canClose = false;
    primary->CloseForm();
    EXPECT_TRUE(primary->Visible());
    primary->canClose = true;
    primary->closeAction = caNone;
    primary->CloseForm();
    EXPECT_TRUE(primary->Visible());
    EXPECT_FALSE(Application->StopRequested());

    // Another form with caFree goes after the message in hand.
    main->closeAction = caFree;
    main->CloseForm();
    EXPECT_EQ(Screen->FormCount(), 2);
    Pump();
    EXPECT_EQ(Screen->FormCount(), 1);

    // The application window's close closes the main form, which ends the program.
    primary->closeAction = caHide;
    SendMessage(Application->Handle(), WM_CLOSE);
    MSG msg;
    while (Application->DispatchOne(msg) && !Application->StopRequested()) {
    }
    EXPECT_TRUE(Application->StopRequested());
    EXPECT_TRUE(primary->Visible()); // the main form is not hidden, the program ends
}

TEST_F(FormLifecycleTest, DestructionRunsOnDestroyOnceAndReportsItsErrors) {
    TStreamForm* form = StreamForm(kForm);
    form->ShowForm();
    int destroys = 0;
    form->onEvent = [&](const std::string& e) {
        if (e == "destroy") {
            ++destroys;
            throw rtl::EInvalidOperation(std::string("Сбой при уничтожении"));
        }
    };
    HWND h = form->Handle();
    form->BeforeDestruction();
    delete form;
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(IsWindow(h));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Сбой при уничтожении.");
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormLifecycleTest, ScalingFollowsTheStoredDensityAndTextHeight) {
    // Designed at 120 dpi with a text height that is not what "0" measures here: fonts go to
    // the screen's 96 dpi, controls and client size follow measured / stored text height.
    const char* designed = R"(object S: TStreamForm
  ClientHeight = 100
  ClientWidth = 200
  Font.Height = -15
  Font.Name = 'Arial'
  PixelsPerInch = 120
  TextHeight = 40
  object Button1: TCoreButton
    Left = 40
    Top = 40
    Width = 80
    Height = 40
  end
end
)";
    TStreamForm* form = StreamForm(designed);
    EXPECT_EQ(form->Font()->Height(), -12); // -15 * 96 / 120
    EXPECT_EQ(form->PixelsPerInch(), 96);
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(form->Font()->Spec());
    int measured = dc->GetTextExtent("0").cy;
    EXPECT_EQ(form->Button1->Width(), gdi::MulDiv(80, measured, 40));
    EXPECT_EQ(form->ClientWidth(), gdi::MulDiv(200, measured, 40));

    // Scaled = False: a later PixelsPerInch is ignored and nothing is scaled.
    const char* fixed = R"(object F: TStreamForm
  ClientHeight = 100
  ClientWidth = 200
  Font.Height = -15
  Scaled = False
  PixelsPerInch = 120
  TextHeight = 40
  object Button1: TCoreButton
    Width = 80
  end
end
)";
    TStreamForm* plain = StreamForm(fixed);
    EXPECT_EQ(plain->Font()->Height(), -15);
    EXPECT_EQ(plain->Button1->Width(), 80);
    EXPECT_EQ(plain->ClientWidth(), 200);
}

} // namespace
} // namespace formtest
