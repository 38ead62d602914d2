// Forms (top-level windows) and the list of open forms.
//
// A form is built in C++: its constructor (or the constructor of the class
// derived from TForm) makes its controls and sets their properties. Once the
// object is complete, FinishCreation (run by Application->CreateForm and
// CreateFormObject) calls Loaded on every component the form owns and on the
// form itself, and then OnCreate. An exception thrown by OnCreate goes to the
// application's error box and the form is still made. Until then the form and
// its parts are loading (csLoading): aligned controls wait to be laid out. A
// form made with plain `new` is completed when it is first shown; never show
// a form from its own constructor.
//
// A form starts hidden. Show/Hide/Visible show and hide its window; Close
// asks OnCloseQuery, then OnClose decides what closing means (hide, free,
// minimize or nothing). Closing the application's main form ends the
// message loop.
#pragma once

#include "framework/bidi_mode.h"
#include "framework/controls.h"

class TMainMenu;
class TMenuItem;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
extern const TEnumInfo FormBorderStyleEnum;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned;  // bit (1 << TBorderIcon)
constexpr TBorderIcons BorderIcon(TBorderIcon icon) { return 1u << icon; }
extern const TEnumInfo BorderIconEnum;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
extern const TEnumInfo FormStyleEnum;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
extern const TEnumInfo PositionEnum;

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
extern const TEnumInfo WindowStateEnum;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

enum TTileMode { tbHorizontal, tbVertical };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// Results of modal forms.
constexpr int mrNone = 0;
constexpr int mrOk = IDOK;
constexpr int mrCancel = IDCANCEL;
constexpr int mrYes = IDYES;
constexpr int mrNo = IDNO;

class TCustomForm : public TWinControl {
    DECLARE_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Completes a form built by its constructor: Loaded for its components
    // and itself, then OnCreate (exceptions of OnCreate go to the error box).
    // Runs once; later calls do nothing.
    void FinishCreation();

    void SetVisible(bool value) override;
    // Asks OnCloseQuery whether the form may close.
    virtual bool CloseQuery();
    // Closes the form as the user's close button does (see the file comment).
    void Close();
    // Frees the form once the messages now being handled are done.
    void Release();
    // Shows the form modally: the other forms are disabled until ModalResult
    // becomes non-zero (or the form is closed); returns ModalResult.
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    bool Active() const { return FActive; }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }
    // The display scale (see display_scale.h). A form is designed at
    // PixelsPerInch (96): its bounds, its controls' bounds and its fonts'
    // heights are given in pixels of that scale. When Scaled (the default)
    // the form is laid out at its monitor's scale when it is completed
    // (FinishCreation), and again at the new scale when the window is told
    // of one (WM_DPICHANGED: the form moves to the suggested rectangle).
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value) { FScaled = value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);
    // The scale the layout is at now: PixelsPerInch until the form is
    // scaled, then the scale of its monitor.
    int CurrentPixelsPerInch() const { return FCurrentPixelsPerInch; }
    // Rescales the form's client size, position, fonts and controls by
    // multiplier/divisor.
    void ScaleBy(int multiplier, int divisor) { ChangeScale(multiplier, divisor); }
    void ChangeScale(int multiplier, int divisor) override;
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    // The window's icon (not owned); null uses the program's icon.
    void SetIcon(HICON icon);
    // The menu bar shown in the window (not owned), or null. An MDI child
    // shows its menu merged into its frame's menu bar while it is active.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    // Right-to-left forms: the window's extended styles and the layout of
    // its frame and menus (see bidi_mode.h). Changing it remakes the window.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);

    // ---- MDI (framework/mdi_forms.cpp) -------------------------------------
    // An MDI frame (FormStyle fsMDIForm) holds its children in an MDI client
    // window that fills its client area; an MDI child (fsMDIChild) lives in
    // the client of its frame: the form owning it when that is an MDI frame,
    // else the application's main form, else the first MDI frame made.
    // The MDI client window (MDI frames), or null.
    HWND ClientHandle() const { return FClientHandle; }
    // The item whose submenu lists the children (and that the frame's
    // window commands usually sit in); not owned.
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* item);
    TTileMode TileMode() const { return FTileMode; }
    void SetTileMode(TTileMode value) { FTileMode = value; }
    // The active child, or null.
    TCustomForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    // The children in the client's z-order (the active one first).
    TCustomForm* MDIChildren(int index) const;
    void Tile();
    void Cascade();
    void ArrangeIcons();
    // Activates the next / previous child.
    void Next();
    void Previous();
    // The frame of an MDI child, or null.
    TCustomForm* MDIParentForm() const;

    // The control that has (or last had, while the form is inactive) the
    // focus on this form.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Called when a control of the form receives the focus: CM_EXIT and
    // CM_ENTER to the two controls, then CM_FOCUSCHANGED to every control.
    void SetFocusedControl(TWinControl* control);
    // Moves the focus to the next (or previous) control in tab order that
    // can take it.
    void SelectNext(TWinControl* current, bool forward);
    // Forgets `control` (and anything inside it) as the active control and
    // takes its hint away.
    void ControlRemoving(TControl* control);

    // The tooltip window that shows the hints of the form's controls, made
    // on first use with the application's hint pauses and the form's font.
    HWND HintWindow();
    // Shows `control`'s Hint over it when ShowHint is set and the hint is not
    // empty (and the application shows hints); otherwise takes it away.
    void UpdateHint(TControl* control);
    // Takes `control`'s hint away (its window is going).
    void RemoveHint(TControl* control);

    // Runs the form's own key events for a key message of one of its
    // controls (KeyPreview); false when an event swallowed the key (set it
    // to 0). The message's key may be changed.
    bool PreviewKey(TMessage& message);

    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;
    // MDI frames and children pass what they do not handle to the system's
    // MDI procedures (DefFrameProc, DefMDIChildProc).
    void DefaultHandler(TMessage& message) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void PlaceOnScreen();
    // The tooltip tool that stands for `control`'s hint; false when the
    // control or the form has no window to host it.
    bool HintTool(TControl* control, struct tagTOOLINFOA& tool) const;

private:
    void CreateMDIClient();
    // WM_DPICHANGED: the layout at the new scale, the window at `suggested`.
    void DpiChanged(int dpi, const RECT* suggested);
    // The frame's bar shows the active child's menu (MDI frames).
    void MergeChildMenu(TCustomForm* child);
    // The frame tells its client the bar's menu and the window menu.
    void SetMDIMenus();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = BorderIcon(biSystemMenu) | BorderIcon(biMinimize) | BorderIcon(biMaximize);
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FAutoScroll = true;
    bool FKeyPreview = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    int FCurrentPixelsPerInch = 96;
    bool FActive = false;
    bool FCreated = false;
    bool FPlaced = false;
    bool FInModal = false;
    int FModalResult = mrNone;
    HICON FIcon = nullptr;
    TMainMenu* FMenu = nullptr;
    HWND FHintWindow = nullptr;
    TWinControl* FActiveControl = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    HWND FClientHandle = nullptr;
    WNDPROC FDefClientProc = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    TTileMode FTileMode = tbHorizontal;
};

// The everyday form; applications derive their forms from it.
class TForm : public TCustomForm {
    DECLARE_CLASS_INLINE(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Makes a form of class T, completes it (FinishCreation) and returns it.
template <class T, class... Args>
T* CreateFormObject(TComponent* owner, Args&&... args)
{
    T* form = new T(owner, std::forward<Args>(args)...);
    form->FinishCreation();
    return form;
}

// The open forms of the program, in the order they were made.
class TScreen : public TComponent {
    DECLARE_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(FForms.size()); }
    // Throws EListError for a bad index.
    TCustomForm* Forms(int index) const;
    // The form that is active (has the keyboard focus), or null.
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const;
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form) { FActiveForm = form; }

private:
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
};

extern TScreen* Screen;

// The display scale `control` is laid out at: its form's
// CurrentPixelsPerInch, or for a control on no form the scale of its window
// (see display_scale.h). Controls that draw design-sized parts of their own
// (a check box's glyph) scale them by this.
int ControlPixelsPerInch(const TControl* control);
