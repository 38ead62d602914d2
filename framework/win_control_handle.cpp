// The window of a windowed control (see controls.h): its class, registered
// under the framework class's name and superclassing a standard control when
// it wraps one; making and destroying it with its children; the window
// procedure of every framework window class; and the table that binds each
// window to its object.
#include "framework/controls.h"

#include <exception>
#include <map>
#include <unordered_map>

#include "framework/ansi_chars.h"
#include "framework/application.h"
#include "framework/forms.h"

namespace {

// The control whose window CreateWindowEx is making on this thread; the
// window procedure binds it to the first message of the new window.
thread_local TWinControl* CreationControl = nullptr;

ATOM ControlAtom()
{
    thread_local ATOM atom = 0;
    if (!atom) atom = GlobalAddAtomA(ControlAtomName().c_str());
    return atom;
}

// The atom as the name argument of GetProp/SetProp/RemoveProp.
LPCSTR AtomKey() { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ControlAtom())); }

// The windows this thread bound to their objects. The window property stays
// the record other code can read; this copy answers the lookup made for every
// message without asking the window manager (under Wine each GetProp is a
// round trip to its server). Never destroyed, like the table below.
std::unordered_map<HWND, TWinControl*>& BoundControls()
{
    thread_local auto* bound = new std::unordered_map<HWND, TWinControl*>;
    return *bound;
}

void BindControl(HWND window, TWinControl* control)
{
    SetPropA(window, AtomKey(), control);
    BoundControls()[window] = control;
}

void UnbindControl(HWND window)
{
    RemovePropA(window, AtomKey());
    BoundControls().erase(window);
}

// The procedure behind each superclassed window class name.
std::map<std::string, WNDPROC>& SuperclassProcs()
{
    // Never destroyed: windows may still be made or destroyed while the
    // program's static objects go away.
    static auto* procs = new std::map<std::string, WNDPROC>;
    return *procs;
}

}  // namespace

std::string ControlAtomName()
{
    return Format("ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
}

TWinControl* FindControl(HWND window)
{
    if (!window) return nullptr;
    const auto& bound = BoundControls();
    const auto found = bound.find(window);
    return found == bound.end() ? nullptr : found->second;
}

HWND TWinControl::Handle()
{
    if (!FHandle) CreateHandle();
    return FHandle;
}

void TWinControl::SetParentWindow(HWND window)
{
    if (window == FParentWindow) return;
    FParentWindow = window;
    if (!FParent && FHandle) {
        if (window)
            ::SetParent(FHandle, window);
        else
            RecreateWnd();
    }
}

void TWinControl::CreateHandle()
{
    if (FHandle) return;
    if (FParent) {
        FParent->HandleNeeded();  // which makes this window too
        if (FHandle) return;
    }
    CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = FText;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle & csAcceptsControls) {
        p.Style |= WS_CLIPCHILDREN;
        p.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (FVisible) p.Style |= WS_VISIBLE;
    if (!FEnabled) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WndParent = FParent ? FParent->FHandle : FParentWindow;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    p.WindowClass.hbrBackground = nullptr;
    p.WinClassName = ClassName();
    p.DefWndProc = DefWindowProcA;
}

namespace {

// The Unicode procedure of each standard class the controls are made from,
// by the class's ANSI procedure.
// Never destroyed: the application object frees its forms at exit, after
// this table would have gone (it is made later), and their controls still
// pass messages to their standard procedures as their windows go.
std::map<WNDPROC, WNDPROC>& UnicodeProcs()
{
    static auto* procs = new std::map<WNDPROC, WNDPROC>;
    return *procs;
}

}  // namespace

void TWinControl::CreateSubClass(TCreateParams& p, const char* className)
{
    WNDCLASSA standard{};
    if (!GetClassInfoA(nullptr, className, &standard))
        throw EInvalidOperation(Format("Window class %s does not exist", className));
    p.WindowClass = standard;
    p.WindowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
    p.WindowClass.style |= CS_DBLCLKS;
    p.DefWndProc = standard.lpfnWndProc;
    // The same class's Unicode procedure, for the characters DefaultHandler
    // passes on whole (class names are plain ASCII).
    const std::string name = className;
    const std::wstring wideName(name.begin(), name.end());
    WNDCLASSW unicode{};
    if (GetClassInfoW(nullptr, wideName.c_str(), &unicode)) UnicodeProcs()[standard.lpfnWndProc] = unicode.lpfnWndProc;
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if (!p.WndParent && (p.Style & WS_CHILD))
        throw EInvalidOperation(Format("Control '%s' has no parent window", Name().c_str()));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // One registration per class name; the procedure behind it is remembered
    // for DefaultHandler.
    auto& procs = SuperclassProcs();
    auto known = procs.find(p.WinClassName);
    WNDCLASSA registered{};
    if (known == procs.end() || !GetClassInfoA(instance, p.WinClassName.c_str(), &registered)) {
        WNDCLASSA wc = p.WindowClass;
        wc.lpfnWndProc = &TWinControl::InitWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.lpszMenuName = nullptr;
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw EInvalidOperation(Format("Cannot register window class %s", p.WinClassName.c_str()));
        procs[p.WinClassName] = p.DefWndProc;
    }
    FDefWndProc = procs[p.WinClassName];
    CreateWindowHandle(p);
    if (!FHandle) throw EInvalidOperation(Format("Cannot create the window of %s", ClassName().c_str()));
    SetControlState(csCreating);
    ::SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
    // The window decides the real size (forms with constraints, combo boxes).
    UpdateBounds();
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (auto* child = As<TWinControl>(c)) {
            child->CreateHandle();
            SetWindowPos(child->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    ClearControlState(csCreating);
    CreateWindowDone();
    AlignControls();
    // Hints of this control and of the graphic controls it shows.
    if (TCustomForm* form = GetParentForm(this)) {
        if (form != this && FShowHint && !FHint.empty()) form->UpdateHint(this);
        for (TControl* c : FControls)
            if (!As<TWinControl>(c) && c->ShowHint() && !c->Hint().empty()) form->UpdateHint(c);
    }
}

void TWinControl::CreateWindowHandle(const TCreateParams& p)
{
    // Child windows get distinct control IDs, so that notifications that
    // name a control by ID (WM_MEASUREITEM, sent even during creation) find it.
    static UINT nextId = 0;
    HMENU id = nullptr;
    if (p.Style & WS_CHILD) {
        nextId = nextId >= 0xFFFF || nextId < 100 ? 100 : nextId + 1;
        id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextId));
    }
    TWinControl* saved = CreationControl;
    CreationControl = this;
    HWND window = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                  p.Height, p.WndParent, id, GetModuleHandleA(nullptr), p.Param);
    CreationControl = saved;
    if (window && !FHandle) {
        // No message reached the window procedure during creation (possible
        // when a hook answered for it): bind now.
        FHandle = window;
        BindControl(window, this);
    }
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    for (TControl* c : FControls)
        if (auto* child = As<TWinControl>(c)) child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    // The text lives in the window; keep it for the next one.
    FText = GetText();
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->RemoveHint(this);
    HWND window = FHandle;
    DestroyWindow(window);
    // WM_NCDESTROY has cleared FHandle; make sure even if it never came.
    if (FHandle == window) {
        UnbindControl(window);
        FHandle = nullptr;
    }
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    DestroyHandle();
    HandleNeeded();
}

LRESULT CALLBACK TWinControl::InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = FindControl(window);
    if (!control) {
        control = CreationControl;
        if (!control || control->FHandle) return DefWindowProcA(window, msg, wParam, lParam);
        // The first message of the window being made: bind it to its object.
        // The procedure of the window is left alone, so a subclass that a
        // hook installed at creation keeps receiving every message and
        // forwards to this procedure.
        CreationControl = nullptr;
        control->FHandle = window;
        BindControl(window, control);
    }
    return control->MainWndProc(msg, wParam, lParam);
}

LRESULT TWinControl::MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    HWND window = FHandle;
    try {
        FWindowProc(m);
    } catch (...) {
        if (Application) Application->HandleException(std::current_exception(), this);
    }
    if (msg == WM_NCDESTROY && window) {
        UnbindControl(window);
        if (FHandle == window) FHandle = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (FHandle) {
        // A standard control's procedure takes typed Chinese as one character.
        m.Result = IsPlainWindow()
                       ? CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, m.Msg, m.WParam, m.LParam)
                       : CallWindowProcChar(FDefWndProc, UnicodeProcs()[FDefWndProc], FHandle, m.Msg, m.WParam,
                                            m.LParam);
        return;
    }
    TControl::DefaultHandler(m);
}
