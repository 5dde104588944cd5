#include "report/TRepProgressForm.h"

#include "controls/TButtonControl.h"
#include "controls/TLabel.h"
#include "controls/TProgressBar.h"
#include "frame/ClassBuilder.h"
#include "frame/FormText.h"
#include "frame/forms/TApplication.h"
#include "report/TRepPrinter.h"
#include "rtl/TMemoryStream.h"

namespace report {

const char* RepProgressFormText() {
    return R"(object RepProgressForm: TRepProgressForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Printing progress'
  ClientHeight = 84
  ClientWidth = 149
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  OldCreateOrder = True
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object Info: TLabel
    Left = 0
    Top = 28
    Width = 145
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object Gauge: TProgressBar
    Left = 16
    Top = 18
    Width = 114
    Height = 16
    Min = 0
    Max = 100
    TabOrder = 1
  end
  object CancelButton: TButton
    Left = 36
    Top = 52
    Width = 75
    Height = 25
    Caption = 'Cancel'
    TabOrder = 0
    OnClick = CancelButtonClick
  end
end
)";
}

const frame::TClassInfo* TRepProgressForm::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepProgressForm>("TRepProgressForm", frame::TForm::StaticClass())
            .Field("Info", &TRepProgressForm::Info)
            .Field("Gauge", &TRepProgressForm::Gauge)
            .Field("CancelButton", &TRepProgressForm::CancelButton)
            .Method<&TRepProgressForm::CancelButtonClick>("CancelButtonClick")
            .Build();
    return info.get();
}

TRepProgressForm::TRepProgressForm(frame::TComponent* owner) : frame::TForm(owner) {}

std::unique_ptr<TRepProgressForm> TRepProgressForm::ForPrint(TRepPrinter& printer) {
    if (!frame::Application)
        return nullptr;
    std::string bytes = frame::ObjectTextToBinary(RepProgressFormText());
    rtl::TBytesStream stream(bytes);
    std::unique_ptr<TRepProgressForm> form(
        frame::CreateForm<TRepProgressForm>(frame::Application, &stream));
    form->SetPrinter(&printer);
    return form;
}

void TRepProgressForm::ShowProgress() {
    ShowForm();
}

void TRepProgressForm::CancelButtonClick(frame::TObject*) {
    if (m_printer)
        m_printer->Cancel();
}

} // namespace report
