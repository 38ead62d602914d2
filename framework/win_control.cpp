// TWinControl (see controls.h): text, bounds, visibility and the child
// controls of a windowed control, and the handling of its messages (mouse
// messages handed to graphic children, notifications reflected to the
// controls they came from, keys, context menus). Its window is made and
// bound in win_control_handle.cpp, its children laid out in
// control_layout.cpp, focus in control_focus_hints.cpp and painting in
// control_paint.cpp.
#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/controls_internal.h"
#include "framework/forms.h"
#include "framework/menus.h"

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
    if (FHandle && !TInvalidateHold::Holds(this)) InvalidateRect(FHandle, nullptr, !(FControlStyle & csOpaque));
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

void TWinControl::SetParentBackground(bool value)
{
    if (value == FParentBackground) return;
    FParentBackground = value;
    Perform(CM_PARENTBACKGROUNDCHANGED);
    Invalidate();
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
