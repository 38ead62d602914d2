// The application object, its message loop and the framework's message boxes
// (see application.h).
#include "framework/application.h"

namespace {

std::string ExecutableTitle()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// The forms and the application live until the program ends; the screen is
// made first so that it is destroyed last (forms leave it as they go).
TScreen& TheScreen()
{
    static TScreen screen(nullptr);
    return screen;
}

TApplication& TheApplication()
{
    TheScreen();
    static TApplication application(nullptr);
    return application;
}

}  // namespace

TScreen* Screen = &TheScreen();
TApplication* Application = &TheApplication();

using PApplication = TPropBuilder<TApplication>;
IMPLEMENT_CLASS(TApplication,
    PApplication::Integer("HintHidePause", &TApplication::HintHidePause, &TApplication::SetHintHidePause),
    PApplication::Integer("HintPause", &TApplication::HintPause, &TApplication::SetHintPause),
    PApplication::Integer("HintShortPause", &TApplication::HintShortPause, &TApplication::SetHintShortPause),
    PApplication::Bool("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint),
    PApplication::String("Title", &TApplication::Title, &TApplication::SetTitle))

TApplication::TApplication(TComponent* owner) : TComponent(owner), FTitle(ExecutableTitle()) {}

TApplication::~TApplication()
{
    SetComponentState(csDestroying);
    DestroyComponents();
    if (Application == this) Application = nullptr;
}

HICON TApplication::Icon() const
{
    if (FIcon) return FIcon;
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    return icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

void TApplication::FormDestroyed(TCustomForm* form)
{
    if (FMainForm == form) FMainForm = nullptr;
}

void TApplication::Run()
{
    if (FMainForm && !FTerminated) FMainForm->Show();
    while (!FTerminated) HandleMessage();
}

bool TApplication::HandleMessage()
{
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        FTerminated = true;
        return false;
    }
    ProcessMessage(msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            return;
        }
        ProcessMessage(msg);
    }
}

void TApplication::Terminate()
{
    if (FTerminated) return;
    PostQuitMessage(0);
}

void TApplication::ProcessMessage(MSG& msg)
{
    bool handled = false;
    try {
        if (OnMessage) OnMessage(msg, handled);
        if (!handled) handled = IsKeyMessage(msg);
    } catch (...) {
        HandleException(std::current_exception());
        handled = true;
    }
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Keys that move the focus or press the default and cancel buttons are the
// form's business before the focused window sees them; characters with Alt
// may be a control's accelerator.
bool TApplication::IsKeyMessage(MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR) return false;
    // The framework control the window belongs to: itself or a parent, never
    // an owner (a dialog of its own is not part of the owner's form).
    TWinControl* control = nullptr;
    for (HWND w = msg.hwnd; w && !control; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        control = FindControl(w);
    if (!control) return false;
    if (msg.message == WM_SYSCHAR) {
        TCustomForm* form = GetParentForm(control);
        return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    }
    return control->Perform(CN_KEYDOWN, msg.wParam, msg.lParam) != 0;
}

std::string TApplication::ExceptionText(const std::exception_ptr& error)
{
    try {
        if (error) std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
    }
    return "Unknown error";
}

void TApplication::HandleException(const std::exception_ptr& error, TObject* sender)
{
    try {
        if (OnException) {
            OnException(sender ? sender : this, error);
            return;
        }
        if (FHandlingException) {
            // An error while the error box is up: do not stack boxes.
            MessageBeep(MB_ICONSTOP);
            return;
        }
        FHandlingException = true;
        MessageBox(ExceptionText(error), FTitle, MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Nothing may leave here: the caller is a window procedure.
    }
    FHandlingException = false;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    if (FMessageBoxHandler) return FMessageBoxHandler(text, caption, flags);
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        owner = Screen->ActiveForm()->HandleIfAllocated();
    if (!owner) owner = GetActiveWindow();
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void ShowMessage(const std::string& text)
{
    if (Application) Application->MessageBox(text, Application->Title(), MB_OK);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    static const char* const captions[] = {"Warning", "Error", "Information", "Confirm", nullptr};
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONSTOP, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    auto has = [buttons](TMsgDlgBtn b) { return (buttons & MsgDlgButton(b)) != 0; };
    UINT kind = MB_OK;
    if (has(mbYes) && has(mbNo))
        kind = has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (has(mbAbort) || has(mbIgnore))
        kind = MB_ABORTRETRYIGNORE;
    else if (has(mbRetry))
        kind = MB_RETRYCANCEL;
    else if (has(mbOK) && has(mbCancel))
        kind = MB_OKCANCEL;
    if (!Application) return mrCancel;
    std::string caption = captions[type] ? captions[type] : Application->Title();
    return Application->MessageBox(text, caption, kind | icons[type]);
}
