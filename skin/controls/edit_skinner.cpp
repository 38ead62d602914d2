// Edit, combo box and date-time picker skinners (see edit_skinner.h).
#include "skin/controls/edit_skinner.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/ansi_chars.h"
#include "skin/controls/edit_drawing.h"
#include "skin/controls/picker_arrow.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/data/skin_model.h"
#include "skin/form/thunk.h"

IMPLEMENT_CLASS(TSkinEdit)
IMPLEMENT_CLASS(TSkinComBox)
IMPLEMENT_CLASS(TSkinDateTime)

DEFINE_SKINNER(TSkinEdit, TSkinEdit)
DEFINE_SKINNER(TSkinComBox, TSkinComBox)
DEFINE_SKINNER(TSkinDateTime, TSkinDateTime)

namespace {

// SKM_PAINTCLIENTTO (sent by tools outside the program) carries this lParam;
// the answer repeats it.
constexpr LPARAM PAINT_CLIENT_MAGIC = 0x41A2;

// Whether the window has a border: its client area is smaller than it.
bool HasBorder(HWND window, const RECT& rect)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.right < rect.right - rect.left && client.bottom < rect.bottom - rect.top;
}

std::string LowerClassName(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    std::string text = name;
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

bool PointIn(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

// ---- TSkinEdit ------------------------------------------------------------------------

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

void TSkinEdit::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        return;
    case WM_NCPAINT:
        // The control drew its own edge: the skin's goes back over it.
        PaintFrame(nullptr);
        return;
    case WM_PRINT:
        try {
            if (message.WParam) {
                PrintBorder(reinterpret_cast<HDC>(message.WParam));
            } else {
                TWindowDC dc = TWindowDC::Whole(FWindow);
                if (!dc.IsNull()) PrintBorder(dc);
            }
        } catch (...) {
        }
        return;
    case SKM_PAINTCLIENTTO:
        if (message.LParam == PAINT_CLIENT_MAGIC) {
            if (message.WParam) {
                TMessage paint{WM_PAINT, message.WParam, 0, 0};
                CallPrevious(paint);
            }
            message.Result = PAINT_CLIENT_MAGIC;
            return;
        }
        break;
    }
    TSkinControl::AfterMessage(message);
}

void TSkinEdit::PrintBorder(HDC dc)
{
    RECT window{};
    RECT client{};
    GetWindowRect(FWindow, &window);
    GetClientRect(FWindow, &client);
    OffsetRect(&window, -window.left, -window.top);
    if (client.right + 2 >= window.right || client.bottom + 2 >= window.bottom) return;
    skin::DrawPrintBorder(dc, window, SkinColourRgb(FSkinData, scButtonShadow));
}

void TSkinEdit::SkinEmbeddedUpDown()
{
    if (FUpDown || !(FSkinData->SkinControls() & SkinControl(xcSpin))) return;
    for (HWND child = GetTopWindow(FWindow); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = LowerClassName(child);
        if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
            name.find("updown") == std::string::npos)
            continue;
        FUpDown = NewSkinner("TSkinUpDown", FControl);
        if (FUpDown) {
            // Marked as living inside an edit: it keeps clear of the edit's border.
            FUpDown->Configure(0, "embedded");
            FUpDown->AttachWindow(child, FSkinData, FFormSkinner, FCanvas);
        }
        return;
    }
}

void TSkinEdit::Draw(HDC dc, const RECT& rect)
{
    SkinEmbeddedUpDown();
    if (!HasBorder(FWindow, rect)) return;
    skin::DrawEditBorder(dc, rect, SkinColourRgb(FSkinData, scButtonShadow));
}

// ---- TSkinComBox ----------------------------------------------------------------------

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) { FInfo.cbSize = sizeof FInfo; }

TSkinComBox::~TSkinComBox()
{
    RestoreEdit();
    for (TSkinControl** skinner : {&FDropScrollBar, &FListScrollBar}) {
        if (!*skinner) continue;
        (*skinner)->RemoveFreeNotification(this);
        delete *skinner;
        *skinner = nullptr;
    }
}

void TSkinComBox::Notification(TComponent* component, TOperation operation)
{
    TSkinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FDropScrollBar) FDropScrollBar = nullptr;
    if (component == FListScrollBar) FListScrollBar = nullptr;
}

void TSkinComBox::Configure(int kind, const std::string&)
{
    FComboBoxEx = kind == 1 ? 1 : 0;
}

void TSkinComBox::ReadStyle()
{
    FStyle = static_cast<DWORD>(GetWindowLongOf(FWindow, GWL_STYLE));
    FExStyle = static_cast<DWORD>(GetWindowLongOf(FWindow, GWL_EXSTYLE));
}

bool TSkinComBox::ReadInfo()
{
    FInfo.cbSize = sizeof FInfo;
    return FWindow && GetComboBoxInfo(FWindow, &FInfo);
}

void TSkinComBox::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached) return;
    ReadStyle();
    if ((FStyle & 3) != CBS_SIMPLE) {
        if ((FStyle & CBS_DROPDOWN) && ReadInfo() && FInfo.hwndList) {
            FListWindow = FInfo.hwndList;
            FDropScrollBar = NewSkinner("TComboxScrollBar", FControl);
            if (FDropScrollBar) {
                FDropScrollBar->FreeNotification(this);
                FDropScrollBar->AttachWindow(FListWindow, FSkinData, FFormSkinner, FCanvas);
            }
        }
        if (!FUnicode) SubclassEdit();
    } else if (ReadInfo() && FInfo.hwndList) {
        FListWindow = FInfo.hwndList;
        LONG listStyle = GetWindowLongA(FListWindow, GWL_STYLE);
        if ((listStyle & WS_CHILD) && !(listStyle & WS_POPUP)) {
            FListScrollBar = NewSkinner("TSkinScrollbarH", nullptr);
            if (FListScrollBar) {
                FListScrollBar->FreeNotification(this);
                FListScrollBar->AttachWindow(FListWindow, FSkinData, FFormSkinner, FCanvas);
            }
        }
    }
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    TSkinControl::AttachWindow(window, skinData, formSkinner, canvas);
    ReadStyle();
    if ((FStyle & 3) != CBS_SIMPLE && !FUnicode) SubclassEdit();
}

void TSkinComBox::SubclassEdit()
{
    HWND edit = GetTopWindow(FWindow);
    if (!edit || FEditThunk || LowerClassName(edit) != "edit") return;
    FEditThunk = TWndProcThunk::Create(this, &TSkinComBox::EditProc);
    if (!FEditThunk) return;
    FEditChild = edit;
    FEditPrevProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    FEditPrevProcW = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditThunk->Proc()));
}

void TSkinComBox::RestoreEdit()
{
    if (!FEditThunk) return;
    if (FEditChild && IsWindow(FEditChild))
        UnsubclassThunk(FEditChild, FEditThunk, FEditPrevProc, false);
    else
        TWndProcThunk::Free(FEditThunk);
    FEditThunk = nullptr;
    FEditChild = nullptr;
}

LRESULT CALLBACK TSkinComBox::EditProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* skinner = reinterpret_cast<TSkinComBox*>(self);
    HWND edit = skinner->FEditChild;
    WNDPROC previous = skinner->FEditPrevProc;
    LRESULT result = CallWindowProcChar(previous, skinner->FEditPrevProcW, edit, msg, wParam, lParam);
    try {
        if (!skinner->FActive) return result;
        switch (msg) {
        case WM_PAINT:
            skinner->PaintFrame(nullptr);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            skinner->FMouseState |= msPressed;
            skinner->Repaint();
            break;
        case WM_LBUTTONUP:
            skinner->FMouseState &= static_cast<BYTE>(~msPressed);
            skinner->Repaint();
            break;
        case WM_NCDESTROY:
            // The edit goes before the combo box: let it go with its own procedure.
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            TWndProcThunk::Free(skinner->FEditThunk);
            skinner->FEditThunk = nullptr;
            skinner->FEditChild = nullptr;
            break;
        }
    } catch (...) {
    }
    return result;
}

void TSkinComBox::FreeScrollSkinners()
{
    for (TSkinControl** skinner : {&FDropScrollBar, &FListScrollBar}) {
        if (!*skinner) continue;
        (*skinner)->RemoveFreeNotification(this);
        (*skinner)->Detach();
        delete *skinner;
        *skinner = nullptr;
    }
}

void TSkinComBox::Detach()
{
    TSkinControl::Detach();
    RestoreEdit();
    FreeScrollSkinners();
}

void TSkinComBox::TrackPointer(int x, int y)
{
    const bool enabled = !(GetWindowLongOf(FWindow, GWL_STYLE) & WS_DISABLED);
    const bool over = PointIn(FButtonRect, x, y);
    if ((FMouseState & msHot) && !over && enabled) {
        FMouseState &= static_cast<BYTE>(~msHot);
        Repaint();
    } else if (!(FMouseState & msHot) && over && enabled) {
        FMouseState |= msHot;
        Repaint();
        // A bare window has no framework to tell it the pointer left.
        if (!FControl) SkinTrackMouseLeave(FWindow);
    }
}

void TSkinComBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CN_COMMAND:
        return;
    case WM_MOUSEMOVE:
        TrackPointer(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)));
        return;
    case WM_DRAWITEM:
        Repaint();
        return;
    case WM_NCPAINT:
        // Only the skin's frame: a repaint of the whole control from inside
        // the system's update (the frame comes first) would validate it, and
        // the background erased after that would leave the control blank.
        PaintFrame(nullptr);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FMouseState |= msPressed;
        Repaint();
        return;
    case WM_LBUTTONUP:
        FMouseState &= static_cast<BYTE>(~msPressed);
        Repaint();
        return;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
        if (FMouseState & msHot) {
            FMouseState &= static_cast<BYTE>(~msHot);
            Repaint();
        }
        return;
    }
    TSkinControl::AfterMessage(message);
}

void TSkinComBox::Draw(HDC dc, const RECT& rect)
{
    ReadStyle();
    if (ReadInfo()) {
        RECT button = FInfo.rcButton;
        // The combo box's client area is its window: the button is already in
        // window coordinates.
        if (FInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
        FButtonRect = button;
    }
    skin::TComboFacts facts;
    HWND focus = GetFocus();
    facts.Focused = focus && (focus == FWindow || IsChild(FWindow, focus));
    facts.Enabled = !(FStyle & WS_DISABLED);
    facts.Pressed = (FMouseState & msPressed) != 0;
    facts.Hot = (FMouseState & msHot) != 0;
    facts.LeftScrollBar = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const TSkinModel& model = Skin();
    if (FComboBoxEx) {
        // The inner combo box (the subclassed child) in this window's coordinates.
        HWND inner = GetTopWindow(FWindow);
        RECT innerRect{};
        if (inner) {
            GetWindowRect(inner, &innerRect);
            MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&innerRect), 2);
            RECT windowRect{};
            GetWindowRect(FWindow, &windowRect);
            RECT clientOrigin{0, 0, 0, 0};
            MapWindowPoints(FWindow, nullptr, reinterpret_cast<POINT*>(&clientOrigin), 1);
            OffsetRect(&innerRect, clientOrigin.left - windowRect.left, clientOrigin.top - windowRect.top);
        }
        skin::DrawComboExFrame(dc, rect, innerRect, !HasBorder(FWindow, rect), facts, model);
        return;
    }
    FButtonRect = skin::DrawComboFrame(dc, rect, facts, model, FButtonRect);
}

// ---- TSkinDateTime --------------------------------------------------------------------

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached || !FControl) return;
    try {
        FArrow = std::make_unique<TArrowButton>(nullptr);
        FArrow->PlaceArrow(this, FControl);
    } catch (...) {
        FArrow.reset();
    }
}

void TSkinDateTime::Detach()
{
    TSkinControl::Detach();
    // Its window is the picker's child: it goes while the picker is whole,
    // and the picker gets its style back.
    if (FLifeState != lsWindowGone) FArrow.reset();
}

void TSkinDateTime::AfterMessage(TMessage& message)
{
    if (message.Msg == WM_SIZE) {
        if (FArrow) FArrow->Invalidate();
        return;
    }
    TSkinControl::AfterMessage(message);
}

void TSkinDateTime::SkinChanged()
{
    TSkinControl::SkinChanged();
    if (FArrow) FArrow->Invalidate();
}

void TSkinDateTime::Draw(HDC dc, const RECT& rect)
{
    if (FArrow) {
        FArrow->AlignArrow(rect);
        if (!FArrow->HandleAllocated()) FArrow->HandleNeeded();
    }
    if (!HasBorder(FWindow, rect)) return;
    skin::DrawPickerBorder(dc, rect, SkinColourRgb(FSkinData, scButtonShadow));
}
