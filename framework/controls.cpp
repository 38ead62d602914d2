// Controls, windowed controls and the framework's window procedure (see
// controls.h).
#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <map>
#include <unordered_map>

#include "framework/ansi_chars.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"

const TEnumInfo AlignEnum{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

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

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

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

TCustomForm* GetParentForm(TControl* control)
{
    while (control && control->Parent()) control = control->Parent();
    return As<TCustomForm>(control);
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

HCURSOR CursorHandle(TCursor cursor)
{
    struct Entry {
        TCursor Cursor;
        LPCSTR Id;
    };
    static const Entry table[] = {
        {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},     {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS},     {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT},    {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING},
        {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},
    };
    for (const Entry& e : table)
        if (e.Cursor == cursor) return LoadCursorA(nullptr, e.Id);
    return nullptr;
}

// ---- TSizeConstraints ---------------------------------------------------------

using PConstraints = TPropBuilder<TSizeConstraints>;
IMPLEMENT_CLASS(TSizeConstraints,
    PConstraints::Integer("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight),
    PConstraints::Integer("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth),
    PConstraints::Integer("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight),
    PConstraints::Integer("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth))

void TSizeConstraints::Changed()
{
    if (OnChange) OnChange(this);
}

void TSizeConstraints::SetMinWidth(int value)
{
    FMinWidth = std::max(value, 0);
    if (FMaxWidth && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::SetMinHeight(int value)
{
    FMinHeight = std::max(value, 0);
    if (FMaxHeight && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value)
{
    FMaxWidth = std::max(value, 0);
    if (FMaxWidth && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
    Changed();
}

void TSizeConstraints::SetMaxHeight(int value)
{
    FMaxHeight = std::max(value, 0);
    if (FMaxHeight && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
    Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const
{
    if (FMaxWidth && width > FMaxWidth) width = FMaxWidth;
    if (FMinWidth && width < FMinWidth) width = FMinWidth;
    if (FMaxHeight && height > FMaxHeight) height = FMaxHeight;
    if (FMinHeight && height < FMinHeight) height = FMinHeight;
}

void TSizeConstraints::Assign(const TPersistent& source)
{
    const auto* other = As<TSizeConstraints>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FMinWidth = other->FMinWidth;
    FMinHeight = other->FMinHeight;
    FMaxWidth = other->FMaxWidth;
    FMaxHeight = other->FMaxHeight;
    Changed();
}

// ---- TControl -------------------------------------------------------------------

using PControl = TPropBuilder<TControl>;
IMPLEMENT_CLASS(TControl,
    PControl::Enum("Align", AlignEnum, &TControl::Align, &TControl::SetAlign),
    PControl::Object("Constraints", &TControl::Constraints, &TControl::SetConstraints),
    PControl::Integer("Cursor", &TControl::Cursor, &TControl::SetCursor),
    PControl::Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled),
    PControl::Integer("Height", &TControl::Height, &TControl::SetHeight),
    PControl::String("Hint", &TControl::Hint, &TControl::SetHint),
    PControl::Integer("Left", &TControl::Left, &TControl::SetLeft),
    PControl::Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
    PControl::Integer("Top", &TControl::Top, &TControl::SetTop),
    PControl::Bool("Visible", &TControl::Visible, &TControl::SetVisible),
    PControl::Integer("Width", &TControl::Width, &TControl::SetWidth))

TControl::TControl(TComponent* owner)
    : TComponent(owner), FFont(std::make_unique<TFont>()), FConstraints(std::make_unique<TSizeConstraints>())
{
    FWindowProc = TWndMethod(this, &TControl::WndProc);
    FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
    FConstraints->OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

TControl::~TControl()
{
    SetComponentState(csDestroying);
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetWindowProc(const TWndMethod& method)
{
    FWindowProc = method ? method : TWndMethod(this, &TControl::WndProc);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    FWindowProc(message);
    return message.Result;
}

void TControl::ChangeBounds(int left, int top, int width, int height)
{
    bool sized = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (sized) Resize();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    FConstraints->Apply(width, height);
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    Invalidate();
    ChangeBounds(left, top, width, height);
    Invalidate();
    if (FShowHint && !FHint.empty()) UpdateHint();  // the hint's area moved
    RequestAlign();
}

RECT TControl::ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
int TControl::ClientWidth() const { return ClientRect().right; }
int TControl::ClientHeight() const { return ClientRect().bottom; }
void TControl::SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
void TControl::SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
void TControl::SetClientSize(int width, int height) { SetBounds(FLeft, FTop, width, height); }

POINT TControl::ClientToScreen(POINT point) const
{
    if (auto* self = As<TWinControl>(const_cast<TControl*>(this))) {
        if (self->HandleAllocated()) {
            ::ClientToScreen(self->HandleIfAllocated(), &point);
            return point;
        }
    }
    point.x += FLeft;
    point.y += FTop;
    return FParent ? FParent->ClientToScreen(point) : point;
}

POINT TControl::ScreenToClient(POINT point) const
{
    POINT origin = ClientToScreen(POINT{0, 0});
    return POINT{point.x - origin.x, point.y - origin.y};
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign) return;
    FAlign = value;
    RequestAlign();
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible) return;
    if (!value) Invalidate();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    if (value) Invalidate();
    RequestAlign();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value)
{
    if (value == FText) return;
    FText = value;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(TFont* font)
{
    if (font) FFont->Assign(*font);
}

void TControl::FontChanged(TObject*)
{
    if (!FSettingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor) return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor) return;
    FParentColor = value;
    if (value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont) return;
    FParentFont = value;
    if (value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::UpdateHint()
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this) form->UpdateHint(this);
}

void TControl::SetHint(const std::string& value)
{
    if (value == FHint) return;
    FHint = value;
    UpdateHint();
}

void TControl::SetShowHint(bool value)
{
    FParentShowHint = false;
    if (value == FShowHint) return;
    FShowHint = value;
    Perform(CM_SHOWHINTCHANGED);
    UpdateHint();
}

void TControl::SetParentShowHint(bool value)
{
    FParentShowHint = value;
    if (value && FParent) {
        FShowHint = FParent->ShowHint();
        UpdateHint();
    }
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor) return;
    FCursor = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::Invalidate()
{
    if (FParent && FParent->HandleAllocated() && FVisible) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->HandleIfAllocated(), &r, !(FControlStyle & csOpaque));
    }
}

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::BringToFront()
{
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* self = As<TWinControl>(this); self && self->HandleAllocated())
        SetWindowPos(self->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else
        Invalidate();
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (FPopupMenu == menu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FParent) {
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
        if (FParentFont) Perform(CM_PARENTFONTCHANGED);
    }
}

void TControl::MouseMessage(TMessage& m)
{
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeysToShiftState(m.WParam);
    auto* win = As<TWinControl>(this);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A graphic control holds the mouse through its parent; windowed
        // controls that need the mouse while pressed capture it themselves.
        if ((FControlStyle & csCaptureMouse) && !win && FParent) FParent->FCaptureControl = this;
        if (FControlStyle & csClickEvents) FControlState |= csLButtonDown;
        if (m.Msg == WM_LBUTTONDBLCLK && (FControlStyle & csDoubleClicks)) {
            DblClick();
            shift |= ssDouble;
        }
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | (m.Msg == WM_RBUTTONDBLCLK ? ssDouble : 0), x, y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | (m.Msg == WM_MBUTTONDBLCLK ? ssDouble : 0), x, y); break;
    case WM_LBUTTONUP: {
        bool wasDown = (FControlState & csLButtonDown) != 0;
        FControlState &= ~csLButtonDown;
        if (FParent && FParent->FCaptureControl == this) FParent->FCaptureControl = nullptr;
        RECT client = ClientRect();
        POINT p{x, y};
        if (wasDown && PtInRect(&client, p)) Click();
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    }
}

void TControl::WndProc(TMessage& m)
{
    if (IsMouseMessage(m.Msg)) {
        if (!FEnabled && !As<TWinControl>(this)) return;
        MouseMessage(m);
    } else {
        switch (m.Msg) {
        case CM_MOUSEENTER:
            FMouseInControl = true;
            if (OnMouseEnter) OnMouseEnter(this);
            break;
        case CM_MOUSELEAVE:
            FMouseInControl = false;
            if (OnMouseLeave) OnMouseLeave(this);
            break;
        case CM_PARENTCOLORCHANGED:
            if (FParentColor && FParent) {
                FColor = FParent->Color();
                Perform(CM_COLORCHANGED);
                FParentColor = true;
            }
            break;
        case CM_PARENTFONTCHANGED:
            if (FParentFont && FParent) {
                FSettingParentFont = true;
                FFont->Assign(*FParent->Font());
                FSettingParentFont = false;
            }
            break;
        case CM_PARENTSHOWHINTCHANGED:
            if (FParentShowHint && FParent && FShowHint != FParent->ShowHint()) {
                FShowHint = FParent->ShowHint();
                UpdateHint();
            }
            break;
        case CM_ENABLEDCHANGED:
        case CM_COLORCHANGED:
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            if (!As<TWinControl>(this)) Invalidate();
            break;
        }
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_GETTEXT:
        if (m.WParam > 0 && m.LParam) {
            size_t n = std::min<size_t>(FText.size(), m.WParam - 1);
            std::memcpy(reinterpret_cast<char*>(m.LParam), FText.data(), n);
            reinterpret_cast<char*>(m.LParam)[n] = '\0';
            m.Result = static_cast<LRESULT>(n);
        }
        break;
    case WM_SETTEXT:
        SetText(m.LParam ? reinterpret_cast<const char*>(m.LParam) : "");
        m.Result = TRUE;
        break;
    }
}

// ---- TGraphicControl ---------------------------------------------------------------

IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    return FCanvas.get();
}

void TGraphicControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        // The parent hands its context with the origin moved to this
        // control's top-left corner and clipped to it.
        TCanvas* canvas = Canvas();
        static_cast<TControlCanvas*>(canvas)->FreeHandle();
        canvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
        canvas->Font()->Assign(*Font());
        try {
            Paint();
        } catch (...) {
            canvas->SetHandle(nullptr);
            throw;
        }
        canvas->SetHandle(nullptr);
        return;
    }
    TControl::WndProc(m);
}

// ---- TControlCanvas -------------------------------------------------------------------

void TControlCanvas::CreateHandle()
{
    if (auto* win = As<TWinControl>(FControl)) {
        FDC = TWindowDC::Client(win->Handle());
        SetHandle(FDC);
        return;
    }
    TWinControl* parent = FControl->Parent();
    if (!parent) return;
    FDC = TWindowDC::Client(parent->Handle());
    if (FDC.IsNull()) return;
    SetViewportOrgEx(FDC, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(FDC, 0, 0, FControl->Width(), FControl->Height());
    SetHandle(FDC);
}

void TControlCanvas::FreeHandle()
{
    SetHandle(nullptr);
    FDC = TWindowDC();
}

// ---- TWinControl ---------------------------------------------------------------------

using PWinControl = TPropBuilder<TWinControl>;
IMPLEMENT_CLASS(TWinControl,
    PWinControl::Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
    PWinControl::Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop))

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(std::make_unique<TBrush>())
{
    FBrush->SetColor(FColor);
}

TWinControl::~TWinControl()
{
    SetComponentState(csDestroying);
    // Owned components go first, while this control is still a whole
    // windowed control they can leave; children owned by others are taken
    // off.
    DestroyComponents();
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    DestroyHandle();
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

std::string TWinControl::GetText() const
{
    if (!FHandle) return FText;
    int length = GetWindowTextLengthA(FHandle);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(FHandle, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void TWinControl::SetText(const std::string& value)
{
    if (!FHandle) {
        if (value == FText) return;
        FText = value;
    } else {
        if (value == GetText()) return;
        SetWindowTextA(FHandle, value.c_str());
    }
    Perform(CM_TEXTCHANGED);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    FConstraints->Apply(width, height);
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    if (FHandle) {
        // WM_WINDOWPOSCHANGED reads the result back.
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ChangeBounds(left, top, width, height);
        AlignControls();
    }
    RequestAlign();
}

RECT TWinControl::ClientRect() const
{
    RECT r{0, 0, 0, 0};
    if (FHandle) {
        GetClientRect(FHandle, &r);
        return r;
    }
    // No window yet: the frame the window will have, from its styles.
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
    r.right = std::max(0L, FWidth - (frame.right - frame.left));
    r.bottom = std::max(0L, FHeight - (frame.bottom - frame.top));
    return r;
}

void TWinControl::SetClientSize(int width, int height)
{
    RECT client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - client.right + width, FHeight - client.bottom + height);
}

void TWinControl::UpdateBounds()
{
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    HWND parent = GetParent(FHandle);
    if ((GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) && parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ChangeBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetVisible(bool value)
{
    if (value == FVisible) return;
    FVisible = value;
    if (FHandle) ShowWindow(FHandle, value ? SW_SHOWNA : SW_HIDE);
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

void TWinControl::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    if (FHandle) EnableWindow(FHandle, value);
    Perform(CM_ENABLEDCHANGED);
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) return;
    if (FHandle && !HasState(csDestroying)) DestroyHandle();
    TControl::SetParent(parent);
    if (parent && parent->HandleAllocated() && !parent->HasState(csDestroying)) HandleNeeded();
}

void TWinControl::Invalidate()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, !(FControlStyle & csOpaque));
}

void TWinControl::Update()
{
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    AlignControls();
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount()) throw EListError(Format("Control index out of bounds (%d)", index));
    return FControls[index];
}

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->FParent == this) return;
    control->FParent = this;
    FControls.push_back(control);
    if (auto* win = As<TWinControl>(control)) FTabList.push_back(win);
    if (control->FParentColor) control->Perform(CM_PARENTCOLORCHANGED);
    if (control->FParentFont) control->Perform(CM_PARENTFONTCHANGED);
    if (control->FParentShowHint) control->FShowHint = FShowHint;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->FAlign != alNone) AlignControls();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    control->Invalidate();
    if (TCustomForm* form = GetParentForm(this)) form->ControlRemoving(control);
    if (!HasState(csDestroying)) Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    FControls.erase(std::find(FControls.begin(), FControls.end(), control));
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), control), FTabList.end());
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    control->FParent = nullptr;
    if (control->FAlign != alNone && !HasState(csDestroying)) AlignControls();
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && As<TWinControl>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, point)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        TMessage copy = message;
        c->FWindowProc(copy);
        if (copy.Result) {
            message.Result = copy.Result;
            return;
        }
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage m{msg, 0, 0, 0};
    for (TControl* c : std::vector<TControl*>(FControls)) c->FWindowProc(m);
}

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle) {
        LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        SetWindowLongA(FHandle, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!FParent) return;
    auto& list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation(Format("Cannot focus a disabled or invisible window (%s)", Name().c_str()));
    ::SetFocus(Handle());
}

void TWinControl::SetParentBackground(bool value)
{
    if (value == FParentBackground) return;
    FParentBackground = value;
    Perform(CM_PARENTBACKGROUNDCHANGED);
    Invalidate();
}

void TWinControl::EnableAlign()
{
    if (--FAlignLevel <= 0) {
        FAlignLevel = 0;
        if (FControlState & csAlignmentNeeded) AlignControls();
    }
}

void TWinControl::AlignControls()
{
    if (FAligning || HasState(csDestroying)) return;
    if (FAlignLevel > 0 || HasState(csLoading)) {
        FControlState |= csAlignmentNeeded;
        return;
    }
    FControlState &= ~csAlignmentNeeded;
    FAligning = true;
    try {
        RECT rect = ClientRect();
        AdjustClientRect(rect);
        static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
        for (TAlign align : order) {
            for (TControl* c : std::vector<TControl*>(FControls)) {
                if (c->Align() != align || !c->Visible()) continue;
                int w = c->Width(), h = c->Height();
                int cw = std::max(0L, rect.right - rect.left), ch = std::max(0L, rect.bottom - rect.top);
                switch (align) {
                case alTop:
                    c->SetBounds(rect.left, rect.top, cw, h);
                    rect.top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(rect.left, rect.bottom - h, cw, h);
                    rect.bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(rect.left, rect.top, w, ch);
                    rect.left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(rect.right - w, rect.top, w, ch);
                    rect.right -= c->Width();
                    break;
                case alClient: c->SetBounds(rect.left, rect.top, cw, ch); break;
                case alNone: break;
                }
            }
        }
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

bool TWinControl::IsPlainWindow() const { return !FDefWndProc || FDefWndProc == DefWindowProcA; }

void TWinControl::PaintWindow(HDC dc)
{
    // A plain window's background was painted by WM_ERASEBKGND; a
    // superclassed standard control paints itself into the context.
    if (IsPlainWindow()) return;
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (As<TWinControl>(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(TMessage& m)
{
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        PaintWindow(given);
        PaintControls(given);
        return;
    }
    TPaintDC paint(FHandle);
    PaintWindow(paint);
    PaintControls(paint);
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

bool TWinControl::DoDialogKey(WORD key, LPARAM keyData)
{
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_CANCEL && key != VK_LEFT &&
        key != VK_RIGHT && key != VK_UP && key != VK_DOWN)
        return false;
    LRESULT code = FHandle ? ::SendMessageA(FHandle, WM_GETDLGCODE, 0, 0) : 0;
    if (code & DLGC_WANTALLKEYS) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS)) return false;
    if (Perform(CM_WANTSPECIALKEY, key, keyData)) return false;
    TCustomForm* form = GetParentForm(this);
    return form && form->Perform(CM_DIALOGKEY, key, keyData) != 0;
}

void TWinControl::WndProc(TMessage& m)
{
    // Mouse messages over a graphic child belong to that child.
    if (IsMouseMessage(m.Msg)) {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p, false);
        if (m.Msg == WM_MOUSEMOVE && !FCaptureControl && target != FMouseControl) {
            TControl* old = FMouseControl;
            FMouseControl = target;
            if (old) old->Perform(CM_MOUSELEAVE);
            if (target) target->Perform(CM_MOUSEENTER);
        }
        if (m.Msg == WM_MOUSEMOVE && !FMouseInControl) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHandle, 0};
            if (FHandle) TrackMouseEvent(&track);
            Perform(CM_MOUSEENTER);
        }
        if (target) {
            TMessage child = m;
            child.LParam = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
            target->FWindowProc(child);
            m.Result = child.Result;
            if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK)
                if (FHandle && (target->ControlStyle() & csCaptureMouse)) SetCapture(FHandle);
            if (m.Msg == WM_LBUTTONUP && FHandle && GetCapture() == FHandle) ReleaseCapture();
            return;
        }
    }

    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        bool ownPaint = As<TCustomControl>(this) != nullptr;
        bool graphicChildren = std::any_of(FControls.begin(), FControls.end(),
                                           [](TControl* c) { return !As<TWinControl>(c); });
        // A plain window asked to paint into a given context has nothing of
        // its own to paint; DefWindowProc would validate the real window.
        bool plainIntoContext = m.WParam && IsPlainWindow();
        if (ownPaint || graphicChildren || plainIntoContext) {
            PaintHandler(m);
            return;
        }
        break;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(FHandle, &r);
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, FBrush->Handle());
        m.Result = 1;
        return;
    }
    case WM_COMMAND:
        if (m.LParam) {
            if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
                m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (TWinControl* child = header ? FindControl(header->hwndFrom) : nullptr) {
            m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType != ODT_MENU) {
            if (TWinControl* child = FindControl(item->hwndItem)) {
                m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
                return;
            }
        }
        break;
    }
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM: {
        UINT id = m.Msg == WM_MEASUREITEM   ? reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlID
                  : m.Msg == WM_COMPAREITEM ? reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->CtlID
                                            : reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->CtlID;
        UINT type = m.Msg == WM_MEASUREITEM ? reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType : ODT_LISTBOX;
        if (type != ODT_MENU && FHandle) {
            if (TWinControl* child = FindControl(GetDlgItem(FHandle, static_cast<int>(id)))) {
                m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                return;
            }
        }
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        if (m.LParam) {
            if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
                m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(FFont->Color()));
        SetBkColor(dc, ColorToRGB(FBrush->Color()));
        m.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
        return;
    }
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(FHandle, &p);
            TControl* under = ControlAtPos(p, false);
            HCURSOR cursor = CursorHandle(under ? under->Cursor() : FCursor);
            if (cursor) {
                ::SetCursor(cursor);
                m.Result = TRUE;
                return;
            }
        }
        break;
    case WM_MOUSELEAVE:
        FMouseInControl = false;
        if (FMouseControl) {
            TControl* old = FMouseControl;
            FMouseControl = nullptr;
            old->Perform(CM_MOUSELEAVE);
        }
        Perform(CM_MOUSELEAVE);
        return;
    case WM_WINDOWPOSCHANGED:
        TControl::WndProc(m);
        UpdateBounds();
        AlignControls();
        return;
    case WM_SIZE:
        TControl::WndProc(m);
        AlignControls();
        return;
    case WM_SETFOCUS: {
        TCustomForm* form = GetParentForm(this);
        if (form && form != this) form->SetFocusedControl(this);
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        // A form with KeyPreview sees its controls' keys first.
        if (TCustomForm* form = GetParentForm(this); form && form != this && form->KeyPreview()) {
            if (!form->PreviewKey(m)) return;
        }
        if (m.Msg == WM_CHAR) {
            if (OnKeyPress) {
                char key = static_cast<char>(m.WParam);
                OnKeyPress(this, key);
                if (!key) return;
                m.WParam = static_cast<unsigned char>(key);
            }
            break;
        }
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
            if (OnKeyDown) {
                WORD key = static_cast<WORD>(m.WParam);
                OnKeyDown(this, key, KeyboardShiftState());
                if (!key) return;
                m.WParam = key;
            }
        } else if (OnKeyUp) {
            WORD key = static_cast<WORD>(m.WParam);
            OnKeyUp(this, key, KeyboardShiftState());
            if (!key) return;
            m.WParam = key;
        }
        break;
    case CN_KEYDOWN:
        // A shortcut of the form's menus runs its item before the key goes on.
        if (TCustomForm* form = GetParentForm(this)) {
            const TShortCut shortCut = ShortCut(static_cast<WORD>(m.WParam), KeyboardShiftState());
            bool taken = false;
            if (shortCut & (scCtrl | scAlt) || (m.WParam >= VK_F1 && m.WParam <= VK_F24)) {
                if (TMainMenu* menu = form->Menu()) taken = menu->IsShortCut(shortCut);
                for (int i = 0; !taken && i < form->ComponentCount(); ++i)
                    if (auto* popup = As<TPopupMenu>(form->Components(i))) taken = popup->IsShortCut(shortCut);
            }
            if (taken) {
                m.Result = 1;
                return;
            }
        }
        m.Result = DoDialogKey(static_cast<WORD>(m.WParam), m.LParam) ? 1 : 0;
        return;
    case WM_CONTEXTMENU:
        // The control's own context menu, at the mouse or, from the keyboard,
        // at the control's top-left corner.
        if (FPopupMenu && FPopupMenu->AutoPopup()) {
            POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            if (at.x == -1 && at.y == -1) at = ClientToScreen(POINT{0, 0});
            FPopupMenu->SetPopupComponent(this);
            FPopupMenu->Popup(at.x, at.y);
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    case CM_FOCUSCHANGED:
        Broadcast(m);
        m.Result = 0;
        return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_COLORCHANGED:
        FBrush->SetColor(FColor);
        Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        break;
    case CM_FONTCHANGED:
        if (FHandle) ::SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), TRUE);
        NotifyControls(CM_PARENTFONTCHANGED);
        Invalidate();
        break;
    case CM_TEXTCHANGED: break;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
    case CM_INVALIDATE: Invalidate(); return;
    case CM_RECREATEWND: RecreateWnd(); return;
    }
    TControl::WndProc(m);
}

// ---- TCustomControl --------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    return FCanvas.get();
}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvas* canvas = Canvas();
    static_cast<TControlCanvas*>(canvas)->FreeHandle();
    canvas->SetHandle(dc);
    canvas->Font()->Assign(*Font());
    canvas->Brush()->SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas->SetHandle(nullptr);
        throw;
    }
    canvas->SetHandle(nullptr);
}
