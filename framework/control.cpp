// TControl: bounds, looks, events and the handling of its messages (see
// controls.h); the shift states and cursors of input events, and
// GetParentForm. Its alignment is in control_layout.cpp, its hint in
// control_focus_hints.cpp.
#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/controls_internal.h"
#include "framework/forms.h"
#include "framework/menus.h"

const TEnumInfo AlignEnum{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

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

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor) return;
    FCursor = value;
    Perform(CM_CURSORCHANGED);
}

// ---- held invalidation ---------------------------------------------------------

namespace {
thread_local TInvalidateHold* GInnermostHold = nullptr;
}

TInvalidateHold::TInvalidateHold(HWND root) : FRoot(root), FOuter(GInnermostHold)
{
    GInnermostHold = this;
}

TInvalidateHold::~TInvalidateHold()
{
    GInnermostHold = FOuter;
}

bool TInvalidateHold::HoldsRoot(HWND root)
{
    if (!root) return false;
    for (TInvalidateHold* hold = GInnermostHold; hold; hold = hold->FOuter) {
        if (hold->FRoot != root) continue;
        hold->FHeld = true;
        return true;
    }
    return false;
}

bool TInvalidateHold::Holds(const TControl* control)
{
    if (!GInnermostHold || !control) return false;
    const TControl* top = control;
    while (top->Parent()) top = top->Parent();
    const auto* window = dynamic_cast<const TWinControl*>(top);
    return window && HoldsRoot(window->HandleIfAllocated());
}

void TControl::Invalidate()
{
    if (TInvalidateHold::Holds(this)) return;
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
