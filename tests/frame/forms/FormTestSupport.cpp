#include "FormTestSupport.h"

#include <map>

#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowManager.h"
#include "rtl/TMemoryStream.h"

namespace formtest {

const TClassInfo* TResBase::StaticClass() {
    static const auto info = TClassBuilder<TResBase>("TResBase", TForm::StaticClass())
                                 .Field("Ok", &TResBase::Ok)
                                 .Method<&TResBase::FormCreate>("FormCreate")
                                 .Method<&TResBase::OkClick>("OkClick")
                                 .Build();
    return info.get();
}

const TClassInfo* TResForm::StaticClass() {
    static const auto info = TClassBuilder<TResForm>("TResForm", TResBase::StaticClass())
                                 .Field("Extra", &TResForm::Extra)
                                 .Build();
    return info.get();
}

const TClassInfo* TNoRes::StaticClass() {
    static const auto info = TClassBuilder<TNoRes>("TNoRes", TForm::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TPlainCustomForm::StaticClass() {
    static const auto info =
        TClassBuilder<TPlainCustomForm>("TPlainCustomForm", TCustomForm::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TStreamForm::StaticClass() {
    static const auto info = TClassBuilder<TStreamForm>("TStreamForm", TForm::StaticClass())
                                 .Field("Button1", &TStreamForm::Button1)
                                 .Method<&TStreamForm::FormCreate>("FormCreate")
                                 .Method<&TStreamForm::FormShow>("FormShow")
                                 .Method<&TStreamForm::FormHide>("FormHide")
                                 .Method<&TStreamForm::FormActivate>("FormActivate")
                                 .Method<&TStreamForm::FormDeactivate>("FormDeactivate")
                                 .Method<&TStreamForm::FormDestroy>("FormDestroy")
                                 .Method<&TStreamForm::FormClose>("FormClose")
                                 .Method<&TStreamForm::FormCloseQuery>("FormCloseQuery")
                                 .Method<&TStreamForm::ButtonClick>("ButtonClick")
                                 .Build();
    return info.get();
}

void TStreamForm::Note(const std::string& event) {
    log.push_back(event);
    if (onEvent)
        onEvent(event);
}
void TStreamForm::FormCreate(TObject*) {
    Note("create");
}
void TStreamForm::FormShow(TObject*) {
    Note("show");
}
void TStreamForm::FormHide(TObject*) {
    Note("hide");
}
void TStreamForm::FormActivate(TObject*) {
    Note("activate");
}
void TStreamForm::FormDeactivate(TObject*) {
    Note("deactivate");
}
void TStreamForm::FormDestroy(TObject*) {
    Note("destroy");
}
void TStreamForm::FormClose(TObject*, TCloseAction& action) {
    action = closeAction;
    Note("close");
}
void TStreamForm::FormCloseQuery(TObject*, bool& can) {
    can = canClose;
    Note("closequery");
}
void TStreamForm::ButtonClick(TObject* sender) {
    Note("click " + static_cast<TComponent*>(sender)->Name());
}

void RegisterFormTestClasses() {
    controltest::RegisterCoreClasses();
    RegisterStreamClasses({TResBase::StaticClass(), TResForm::StaticClass(), TNoRes::StaticClass(),
                           TPlainCustomForm::StaticClass(), TStreamForm::StaticClass()});
}

namespace {
std::map<platform::UINT_PTR, std::function<void()>>& Pending() {
    static std::map<platform::UINT_PTR, std::function<void()>> pending;
    return pending;
}
void TimerProc(platform::HWND, platform::UINT, platform::UINT_PTR id, platform::DWORD) {
    platform::KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end())
        return;
    auto f = std::move(it->second);
    Pending().erase(it);
    try {
        f();
    } catch (...) {
        HandleException(nullptr);
    }
}
} // namespace

void After(int ms, std::function<void()> f) {
    Pending()[platform::SetTimer(nullptr, 0, platform::UINT(ms), &TimerProc)] = std::move(f);
}

void FormTest::SetUp() {
    platform::headless::Start();
    RegisterFormTestClasses();
    StartFrame();
    Application->MessageBoxFunction = [this](platform::HWND, const std::string& text,
                                             const std::string& caption, unsigned flags) {
        boxes.push_back(TBox{text, caption, flags});
        if (duringBox)
            duringBox();
        return platform::IDOK;
    };
    Application->HelpFunction = [this](platform::HWND owner, const std::string& file,
                                       unsigned command, std::uintptr_t data, std::string*) {
        helpCalls.push_back(THelpCall{owner, file, command, data});
        return true;
    };
}

void FormTest::TearDown() {
    Pending().clear();
    EndFrame();
    platform::headless::Stop();
}

TStreamForm* FormTest::StreamForm(const std::string& text) {
    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    return CreateForm<TStreamForm>(Application, &stream);
}

void FormTest::Pump() {
    Application->PumpPending();
    platform::WindowManager::Instance().PresentAll();
}

} // namespace formtest
