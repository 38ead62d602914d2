// The application: title, main form, message loop and the error box.
//
// There is one TApplication, `Application`, made before main runs. A
// program creates its forms with CreateForm (the first one becomes the main
// form), then calls Run, which shows the main form and handles messages
// until the main form closes.
//
// Errors: an exception that escapes an event handler ends that event; the
// framework's window procedure catches it and calls HandleException, which
// shows the error box (the exception's text, OK button, stop icon, the
// application title as caption) and returns; the program goes on with the
// next message.
//
// Message boxes: MessageBox shows a modal box owned by the active form. Tests
// replace it with SetMessageBoxHandler to read the text and choose the answer
// without a modal loop; everything the framework shows (the error box,
// ShowMessage, MessageDlg) goes through it.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "framework/forms.h"

using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception_ptr& error)>;
using TMessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;

class TApplication : public TComponent {
    DECLARE_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // The caption of message boxes and the error box; the executable's name
    // (without folder and extension) until set.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }

    // Makes a form of class T owned by the application, stores it in `ref`
    // before its OnCreate runs (so OnCreate code may use the global that
    // names it), completes it and makes it the main form if there is none.
    template <class T>
    void CreateForm(T*& ref)
    {
        T* form = new T(this);
        ref = form;
        bool first = !FMainForm;
        if (first) FMainForm = form;
        form->FinishCreation();
        if (first) form->HandleNeeded();  // the main window exists from the start
    }

    // The program's icon: the one set, else the executable's "MAINICON"
    // resource, else the system's application icon. Not owned by the caller.
    HICON Icon() const;
    void SetIcon(HICON icon) { FIcon = icon; }

    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    // Shows the main form and handles messages until Terminate (or the main
    // form closes).
    void Run();
    // Handles one message, waiting for it; false once WM_QUIT arrived.
    bool HandleMessage();
    // Handles every message that is waiting, then returns.
    void ProcessMessages();
    // Ends the message loop (posts WM_QUIT).
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Clears the terminated state, so that a test can run the loop again.
    void ResetTerminated() { FTerminated = false; }

    // Shows the error box for the exception (or runs OnException); never
    // throws. `sender` is the control whose message was being handled.
    void HandleException(const std::exception_ptr& error, TObject* sender = nullptr);
    // The text the error box shows for an exception.
    static std::string ExceptionText(const std::exception_ptr& error);

    // A modal message box; returns the button pressed (IDOK, IDYES, ...).
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // Replaces the message box (null restores the real one).
    void SetMessageBoxHandler(TMessageBoxHandler handler) { FMessageBoxHandler = std::move(handler); }

    // Hint timing, in milliseconds.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int value) { FHintShortPause = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }

    // Sees every message the loop takes, before it is dispatched; setting
    // handled stops it there.
    TMessageEvent OnMessage;
    // Replaces the error box when set.
    TExceptionEvent OnException;

    // A form is going away: forgets it as the main form.
    void FormDestroyed(TCustomForm* form);

private:
    void ProcessMessage(MSG& msg);
    bool IsKeyMessage(MSG& msg);

    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    HICON FIcon = nullptr;
    bool FTerminated = false;
    bool FHandlingException = false;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    bool FShowHint = true;
    TMessageBoxHandler FMessageBoxHandler;
};

extern TApplication* Application;

// ---- message boxes of the framework -------------------------------------------------
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = unsigned;  // bit (1 << TMsgDlgBtn)
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn b) { return 1u << b; }

// A box with `text`, an OK button and the application title as caption.
void ShowMessage(const std::string& text);
// A box with `text`, the icon and caption of `type` ("Warning", "Error",
// "Information", "Confirm"; the application title for mtCustom) and the
// nearest standard set of `buttons`; returns the button pressed (mrYes, ...).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
