// Controls: what a user sees and works with.
//
// TControl is anything placed on a parent: it has bounds, alignment,
// visibility, an enabled state, a caption, a font, a colour, a hint, a cursor
// and mouse events. TWinControl is a control with its own window; it is the
// parent of other controls, lays out the aligned ones and keeps the tab
// order. TGraphicControl has no window: its parent paints it and hands it the
// mouse messages over it. TCustomControl is a windowed control that paints
// itself on a canvas.
//
// How a message travels:
//
//     window procedure of the class (one for every framework window class)
//       -> finds the object in the window property "ControlOfs<module><thread>"
//       -> control.WindowProc     (a method slot others may save and replace)
//          -> control.WndProc     (virtual: the framework's behaviour, events)
//             -> DefaultHandler   (the superclassed class's procedure or DefWindowProc)
//
// Perform sends a message through WindowProc, so a replaced WindowProc sees
// framework notifications (CM_*) as well as window messages. Exceptions
// thrown while a message is handled never leave the window procedure: they go
// to Application->HandleException, and the message's result stays 0.
//
// Window classes are named after the framework class (ClassName(): "TButton",
// "TForm1"); a control that wraps a standard control superclasses it (see
// CreateSubClass), so its window answers to both names' behaviour.
//
// Windows are made on demand: Handle() creates the window of a control and,
// first, that of its parent; making a window makes the windows of all its
// windowed children, in the order of the parent's list. RecreateWnd destroys
// and rebuilds a window and its children, keeping their texts.
//
// Where the code is (all declared here):
//   control.cpp             TControl; shift states, cursors, GetParentForm
//   win_control.cpp         TWinControl: text, bounds, children, messages
//   win_control_handle.cpp  the window: class, creation and destruction,
//                           InitWndProc, the window-to-object table, FindControl
//   control_layout.cpp      Align and AlignControls
//   control_focus_hints.cpp tab order, focus, dialog keys, hints
//   control_paint.cpp       TGraphicControl, TControlCanvas, TCustomControl,
//                           painting windowed controls and graphic children
//   size_constraints.cpp    TSizeConstraints
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/graphics.h"
#include "framework/messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

// A method that handles a message: an object and one of its member functions.
// Two TWndMethods compare equal when they name the same object and the same
// member function, so code that replaced a control's WindowProc can tell
// whether it is still the one installed before it puts the old one back.
class TWndMethod {
public:
    TWndMethod() = default;
    template <class T>
    TWndMethod(T* object, void (T::*method)(TMessage&)) : FObject(object)
    {
        static_assert(sizeof method <= sizeof FMethod, "member function pointer too large");
        std::memcpy(FMethod, &method, sizeof method);
        FCall = [](void* target, const unsigned char* bytes, TMessage& message) {
            void (T::*m)(TMessage&);
            std::memcpy(&m, bytes, sizeof m);
            (static_cast<T*>(target)->*m)(message);
        };
    }

    void operator()(TMessage& message) const
    {
        if (FCall) FCall(FObject, FMethod, message);
    }
    explicit operator bool() const { return FCall != nullptr; }
    bool operator==(const TWndMethod& other) const
    {
        return FObject == other.FObject && FCall == other.FCall && std::memcmp(FMethod, other.FMethod, sizeof FMethod) == 0;
    }
    bool operator!=(const TWndMethod& other) const { return !(*this == other); }
    void* Object() const { return FObject; }

private:
    void* FObject = nullptr;
    alignas(void*) unsigned char FMethod[16] = {};
    void (*FCall)(void*, const unsigned char*, TMessage&) = nullptr;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const TEnumInfo AlignEnum;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during an input event.
enum TShiftStateFlag : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40
};
using TShiftState = unsigned;
// The shift state of a mouse message's wParam (MK_* bits) plus Alt.
TShiftState KeysToShiftState(WPARAM keys);
// The shift state of the keyboard now.
TShiftState KeyboardShiftState();

// Mouse cursors: 0 is "the window class's cursor", negative numbers are the
// system cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The system cursor for `cursor`, or null for crDefault and crNone.
HCURSOR CursorHandle(TCursor cursor);

// Bits of TControl::ControlStyle: what kind of control it is.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 0x0001,  // may be the parent of other controls
    csCaptureMouse = 0x0002,     // captures the mouse while a button is down
    csClickEvents = 0x0008,      // a press and release over it is a Click
    csFramed = 0x0010,
    csSetCaption = 0x0020,       // its Name becomes its caption when still empty
    csOpaque = 0x0040,           // paints all of its area (no erase under it)
    csDoubleClicks = 0x0080,     // double clicks are delivered as such
    csParentBackground = 0x0100  // shows its parent's background where it draws none
};

// Bits of TControl::ControlState: what is going on with it now.
enum TControlStateFlag : unsigned {
    csLButtonDown = 0x0001,
    csClicked = 0x0002,
    csFocusing = 0x0004,
    csCreating = 0x0008,
    csAlignmentNeeded = 0x0010
};

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Limits of a control's size; 0 means no limit. A form also makes the system
// keep to them while the user sizes it (WM_GETMINMAXINFO).
class TSizeConstraints : public TPersistent {
    DECLARE_CLASS(TSizeConstraints, TPersistent)
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);
    // `width`/`height` brought within the limits.
    void Apply(int& width, int& height) const;
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Changed();
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// Everything a window is created with. CreateParams fills it; a control may
// change any part before the window is made.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    std::string WinClassName;     // registered under this name for this module
    WNDPROC DefWndProc = nullptr; // what DefaultHandler calls; DefWindowProcA unless superclassed
};

class TControl : public TComponent {
    DECLARE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Moves and sizes the control (in its parent's client coordinates),
    // keeping to its Constraints.
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    virtual void SetClientSize(int width, int height);
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the top-level window visible too.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    // The caption and the text are the same thing under two names: buttons
    // and labels publish Caption, edits publish Text.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    // The text of the control (the window text of a windowed control);
    // setting it sends CM_TEXTCHANGED.
    virtual std::string GetText() const { return FText; }
    virtual void SetText(const std::string& value);
    std::wstring WideCaption() const { return AnsiToWide(GetText()); }

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* font);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The context menu opened when the user asks for one over the control
    // (not owned), or null.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* value) { FConstraints->Assign(*value); }

    unsigned ControlStyle() const { return FControlStyle; }
    void SetControlStyle(unsigned value) { FControlStyle = value; }
    unsigned ControlState() const { return FControlState; }
    bool MouseInControl() const { return FMouseInControl; }

    // The message slot. WindowProc() is the method now installed (WndProc at
    // first); a replacement must forward what it does not handle to the
    // method it replaced, and put that one back when it lets go.
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(const TWndMethod& method);
    // Sends a message through WindowProc and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The framework's handling of a message; overrides call the inherited
    // WndProc for what they do not handle.
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled.
    virtual void DefaultHandler(TMessage& message);

    virtual void Invalidate();
    virtual void Update();
    void Repaint() { Invalidate(); Update(); }
    void Refresh() { Repaint(); }
    void BringToFront();

    // Runs OnClick. Buttons call it when they are pressed.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Lays the control out again at `multiplier`/`divisor` of its present
    // scale (a form designed at 96 shown at 144 calls ChangeScale(144, 96)):
    // its edges (each rounded on its own, so that controls that touched still
    // touch), its constraints and its own font (a font taken from the parent
    // follows the parent's). Windowed controls rescale their children;
    // lists, headers, grids and status bars their columns and panels.
    virtual void ChangeScale(int multiplier, int divisor);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

protected:
    // The control was resized: realigns its children, runs OnResize.
    virtual void Resize();
    // Asks the parent to lay out its aligned controls again.
    void RequestAlign();
    // The parts of ChangeScale, in this order: the constraints, the bounds,
    // then the font (last, so that a control that sizes itself to its text
    // ends at the size its new font gives, not at that size scaled again).
    void ScaleConstraints(int multiplier, int divisor);
    void ScaleBounds(int multiplier, int divisor);
    void ScaleFont(int multiplier, int divisor);
    // Tells the form to show (or stop showing) this control's hint.
    void UpdateHint();
    void SetControlState(unsigned flags) { FControlState |= flags; }
    void ClearControlState(unsigned flags) { FControlState &= ~flags; }
    void ChangeBounds(int left, int top, int width, int height);
    void FontChanged(TObject* sender);
    // Handles a mouse message addressed to this control (coordinates in its
    // client area).
    void MouseMessage(TMessage& message);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentColor = false;
    bool FParentFont = true;
    bool FParentShowHint = true;
    bool FShowHint = false;
    bool FMouseInControl = false;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    std::string FText;
    std::string FHint;
    unsigned FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    unsigned FControlState = 0;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TSizeConstraints> FConstraints;
    TPopupMenu* FPopupMenu = nullptr;
    TWndMethod FWindowProc;
    bool FSettingParentFont = false;

    friend class TWinControl;
};

// A control painted by its parent: no window, no focus.
class TGraphicControl : public TControl {
    DECLARE_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // A canvas on the parent window, limited to this control's area.
    TCanvas* Canvas();
    void WndProc(TMessage& message) override;

protected:
    // Paints the control on Canvas(); the base paints nothing.
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};

class TWinControl : public TControl {
    DECLARE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, made first if there is none. Throws EInvalidOperation when
    // the control has no parent to put it on (forms excepted) or the system
    // refuses to make it.
    HWND Handle();
    HWND HandleIfAllocated() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    // A window not owned by the framework to put this control's window on
    // (instead of a framework parent).
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND window);
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    // The child controls in z-order (the last is on top). Throws EListError
    // for a bad index.
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The child control under `point` (client coordinates): a graphic
    // control, or a windowed one when allowWinControls; null if none.
    TControl* ControlAtPos(POINT point, bool allowDisabled, bool allowWinControls = false) const;
    // Sends `message` to every child control; stops at the first that sets
    // a result.
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    // This control's windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value);
    // The brush the window's background is painted with (Color).
    TBrush* Brush() const { return FBrush.get(); }

    std::string GetText() const override;
    void SetText(const std::string& value) override;
    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetClientSize(int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;
    void Invalidate() override;
    void Update() override;
    void Loaded() override;

    // Lays out the aligned child controls now.
    void AlignControls();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    // Paints the visible graphic children on `dc` (the window's client area).
    void PaintControls(HDC dc);

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void ChangeScale(int multiplier, int divisor) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The window procedure of every framework window class.
    static LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    virtual void CreateParams(TCreateParams& params);
    // ChangeScale for the child controls only, in their z-order.
    void ScaleChildren(int multiplier, int divisor);
    // Makes `params` superclass the standard window class `className`
    // ("BUTTON", "EDIT", ...): its styles, cursor and procedure are kept,
    // the framework's class name and procedure go in front.
    void CreateSubClass(TCreateParams& params, const char* className);
    void CreateHandle();
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // The window has just been made: fonts, children.
    virtual void CreateWindowDone() {}
    void DestroyHandle();
    virtual void DestroyWnd();
    // Fills `rect` (the client rectangle) minus borders that aligned controls
    // must keep clear of.
    virtual void AdjustClientRect(RECT& rect) const {}
    // Paints the control itself on `dc`; the base lets the superclassed
    // window class do it (a plain window paints nothing beyond its background).
    virtual void PaintWindow(HDC dc);
    // The window's class procedure is DefWindowProc (no standard control
    // behind it).
    bool IsPlainWindow() const;
    void PaintHandler(TMessage& message);
    // Reads the window's bounds back into Left/Top/Width/Height.
    void UpdateBounds();
    virtual void DoEnter();
    virtual void DoExit();
    // Handles a key that may be a dialog key (Tab, Enter, Escape, arrows):
    // asks the form unless the window wants the key itself. True when taken.
    bool DoDialogKey(WORD key, LPARAM keyData);

    // Runs the window procedure of this control for a raw message.
    LRESULT MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    std::vector<TControl*> FControls;        // z-order, graphic and windowed
    std::vector<TWinControl*> FTabList;      // windowed children in tab order
    std::unique_ptr<TBrush> FBrush;
    bool FTabStop = false;
    bool FParentBackground = true;
    int FAlignLevel = 0;
    bool FAligning = false;
    TControl* FMouseControl = nullptr;       // graphic child under the mouse
    TControl* FCaptureControl = nullptr;     // graphic child holding the mouse capture

    friend class TControl;
    friend class TControlCanvas;
};

// A windowed control that paints itself (Paint) on a canvas.
class TCustomControl : public TWinControl {
    DECLARE_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas();

protected:
    void PaintWindow(HDC dc) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// A canvas that draws on a control: on its window, or for a graphic control
// on its parent's window clipped to the control's area. It takes a device
// context when first used and gives it back on FreeHandle.
class TControlCanvas : public TCanvas {
    DECLARE_CLASS_INLINE(TControlCanvas, TCanvas)
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    ~TControlCanvas() override { FreeHandle(); }
    TControl* Control() const { return FControl; }
    void FreeHandle() override;

protected:
    void CreateHandle() override;

private:
    TControl* FControl;
    TWindowDC FDC;
};

// Holds back the invalidation of one top-level window's controls while it
// lives, for code that changes many controls of a window at once and then
// repaints the whole window once (the skin engine giving a window's controls
// their skinners, or taking them away). Invalidate of a control whose
// topmost parent has the window `root` then asks the system for nothing and
// is only noted. Holds nest; they hold the calling thread's calls only.
class TInvalidateHold {
public:
    explicit TInvalidateHold(HWND root);
    ~TInvalidateHold();
    TInvalidateHold(const TInvalidateHold&) = delete;
    TInvalidateHold& operator=(const TInvalidateHold&) = delete;

    // Whether an invalidation was held back by this hold.
    bool Held() const { return FHeld; }
    // True, and noted in the hold, when a hold covers `control`'s window.
    static bool Holds(const TControl* control);
    // The same for a child window of the top-level window `root`.
    static bool HoldsRoot(HWND root);

private:
    HWND FRoot;
    TInvalidateHold* FOuter;
    bool FHeld = false;
};

// The framework control whose window is `window`, or null for any other
// window (other classes, other threads).
TWinControl* FindControl(HWND window);
// The name of the window property that holds the framework object of a
// window of this thread: "ControlOfs" + module handle + thread id, eight
// upper-case hex digits each.
std::string ControlAtomName();
// The form that `control` is on (the control itself when it is a form).
TCustomForm* GetParentForm(TControl* control);
