// Tool bars and their buttons (see tool_bar.h).
#include "framework/tool_bar.h"

#include <algorithm>

#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/sysutils.h"

const TEnumInfo ToolButtonStyleEnum{"TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator"}};

// ---- TToolButton ------------------------------------------------------------------------------

using PToolButton = TPropBuilder<TToolButton>;
IMPLEMENT_CLASS(TToolButton,
    PToolButton::String("Caption", &TToolButton::Caption, &TToolButton::SetCaption),
    PToolButton::Bool("Down", &TToolButton::Down, &TToolButton::SetDown),
    PToolButton::Object("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu),
    PToolButton::Bool("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled),
    PToolButton::Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped),
    PToolButton::Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex),
    PToolButton::Enum("Style", ToolButtonStyleEnum, &TToolButton::Style, &TToolButton::SetStyle))

void TToolButton::SetCaption(const std::string& value)
{
    FCaption = value;
    FBar->UpdateButtons();
}

void TToolButton::SetImageIndex(int value)
{
    FImageIndex = std::max(value, -1);
    FBar->UpdateButtons();
}

void TToolButton::SetStyle(TToolButtonStyle value)
{
    FStyle = value;
    FBar->UpdateButtons();
}

void TToolButton::SetGrouped(bool value)
{
    FGrouped = value;
    FBar->UpdateButtons();
}

bool TToolButton::Down() const
{
    if (HWND window = FBar->HandleIfAllocated()) {
        const LRESULT state = ::SendMessageA(window, TB_GETSTATE, FCommand, 0);
        if (state != -1) return (state & TBSTATE_CHECKED) != 0;
    }
    return FDown;
}

void TToolButton::SetDown(bool value)
{
    FDown = value;
    FBar->UpdateState(this);
}

void TToolButton::SetEnabled(bool value)
{
    FEnabled = value;
    FBar->UpdateState(this);
}

int TToolButton::Index() const
{
    for (int i = 0; i < FBar->ButtonCount(); ++i)
        if (FBar->Buttons(i) == this) return i;
    return -1;
}

RECT TToolButton::BoundsRect() const
{
    RECT rect{};
    if (HWND window = FBar->HandleIfAllocated()) ::SendMessageA(window, TB_GETRECT, FCommand, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TToolButton::Click()
{
    if (OnClick) OnClick(this);
}

// ---- TToolBar -----------------------------------------------------------------------------------

using PToolBar = TPropBuilder<TToolBar>;
IMPLEMENT_CLASS(TToolBar,
    PToolBar::Enum("Align", AlignEnum, &TToolBar::Align, &TToolBar::SetAlign),
    PToolBar::Integer("Color", &TToolBar::Color, &TToolBar::SetColor),
    PToolBar::Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat),
    PToolBar::Object("Font", &TToolBar::Font, &TToolBar::SetFont),
    PToolBar::Object("Images", &TToolBar::Images, &TToolBar::SetImages),
    PToolBar::Bool("ParentFont", &TToolBar::ParentFont, &TToolBar::SetParentFont))

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>())
{
    FAlign = alTop;
    FWidth = 300;
    FHeight = 29;
}

TToolBar::~TToolBar()
{
    SetImages(nullptr);
    DestroyHandle();
}

void TToolBar::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, TOOLBARCLASSNAMEA);
    // The framework places and sizes the bar; its captions go beside the
    // pictures.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_LIST;
    if (FFlat) p.Style |= TBSTYLE_FLAT;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateWindowDone()
{
    ::SendMessageA(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(FHandle, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    ApplyScale(static_cast<UINT>(ControlPixelsPerInch(this)));
    UpdateButtons();
}

void TToolBar::ApplyScale(UINT dpi)
{
    // The pictures at the bar's scale (the buttons are sized to them and to
    // their captions when they are added).
    if (FHandle)
        ::SendMessageA(FHandle, TB_SETIMAGELIST, 0,
                       reinterpret_cast<LPARAM>(FImages ? FImages->HandleForDpi(dpi) : nullptr));
}

void TToolBar::ChangeScale(int multiplier, int divisor)
{
    TWinControl::ChangeScale(multiplier, divisor);
    if (!FHandle || multiplier <= 0 || divisor <= 0) return;
    ApplyScale(static_cast<UINT>(MulDiv(ControlPixelsPerInch(this), multiplier, divisor)));
    UpdateButtons();
}

void TToolBar::DestroyWnd()
{
    // What the user checked stays with the buttons.
    for (auto& button : FButtons) button->FDown = button->Down();
    TWinControl::DestroyWnd();
}

TToolButton* TToolBar::AddButton(const std::string& caption, TToolButtonStyle style, int imageIndex)
{
    auto button = std::make_unique<TToolButton>(this);
    button->FCaption = caption;
    button->FStyle = style;
    button->FImageIndex = std::max(imageIndex, -1);
    int command = 1;
    for (const auto& b : FButtons) command = std::max(command, b->FCommand + 1);
    button->FCommand = command;
    FButtons.push_back(std::move(button));
    UpdateButtons();
    return FButtons.back().get();
}

TToolButton* TToolBar::Buttons(int index) const
{
    if (index < 0 || index >= ButtonCount()) throw EListError(Format("List index out of bounds (%d)", index));
    return FButtons[index].get();
}

TToolButton* TToolBar::FindButton(int command) const
{
    for (const auto& button : FButtons)
        if (button->FCommand == command) return button.get();
    return nullptr;
}

TToolButton* TToolBar::ButtonAt(int x, int y) const
{
    for (const auto& button : FButtons) {
        const RECT rect = button->BoundsRect();
        const POINT point{x, y};
        if (button->FStyle != tbsSeparator && PtInRect(&rect, point)) return button.get();
    }
    return nullptr;
}

void TToolBar::SetFlat(bool value)
{
    if (value == FFlat) return;
    FFlat = value;
    if (FHandle) {
        // The window's style and the common control's own copy of it (Wine's
        // TB_SETSTYLE changes only the latter).
        LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        style = value ? (style | TBSTYLE_FLAT) : (style & ~TBSTYLE_FLAT);
        SetWindowLongA(FHandle, GWL_STYLE, style);
        ::SendMessageA(FHandle, TB_SETSTYLE, 0, style);
        ::InvalidateRect(FHandle, nullptr, TRUE);
    }
}

void TToolBar::SetImages(TCustomImageList* value)
{
    if (value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    if (FHandle) {
        ApplyScale(static_cast<UINT>(ControlPixelsPerInch(this)));
        UpdateButtons();
    }
}

void TToolBar::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) {
        FImages = nullptr;
        if (FHandle) ::SendMessageA(FHandle, TB_SETIMAGELIST, 0, 0);
    }
    for (auto& button : FButtons)
        if (button->FDropdownMenu == component) button->FDropdownMenu = nullptr;
}

void TToolBar::UpdateButtons()
{
    if (!FHandle) return;
    for (auto& button : FButtons) button->FDown = button->Down();
    while (::SendMessageA(FHandle, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageA(FHandle, TB_DELETEBUTTON, 0, 0);
    static const BYTE styles[] = {BTNS_BUTTON, BTNS_CHECK, BTNS_DROPDOWN, BTNS_SEP};
    for (auto& button : FButtons) {
        TBBUTTON item{};
        item.iBitmap = button->FStyle == tbsSeparator ? 6 : button->FImageIndex >= 0 ? button->FImageIndex : I_IMAGENONE;
        item.idCommand = button->FCommand;
        item.fsState = static_cast<BYTE>((button->FEnabled ? TBSTATE_ENABLED : 0) | (button->FDown ? TBSTATE_CHECKED : 0));
        item.fsStyle = static_cast<BYTE>(styles[button->FStyle] | (button->FStyle == tbsSeparator ? 0 : BTNS_AUTOSIZE) |
                                         (button->FGrouped && button->FStyle == tbsCheck ? BTNS_GROUP : 0));
        item.dwData = reinterpret_cast<DWORD_PTR>(button.get());
        item.iString = button->FStyle == tbsSeparator ? 0 : reinterpret_cast<INT_PTR>(button->FCaption.c_str());
        ::SendMessageA(FHandle, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageA(FHandle, TB_AUTOSIZE, 0, 0);
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TToolBar::UpdateState(const TToolButton* button)
{
    if (!FHandle) return;
    const LPARAM state = (button->FEnabled ? TBSTATE_ENABLED : 0) | (button->FDown ? TBSTATE_CHECKED : 0);
    ::SendMessageA(FHandle, TB_SETSTATE, button->FCommand, MAKELPARAM(state, 0));
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
        TToolButton* button = FindButton(static_cast<int>(draw.nmcd.dwItemSpec));
        if (!OnCustomDrawButton || !button || button->FStyle == tbsSeparator) return CDRF_DODEFAULT;
        TCustomDrawState state = draw.nmcd.uItemState & 0x1FF;
        if (state & cdsChecked) state |= cdsSelected;
        if (state & cdsIndeterminate) state |= cdsGrayed;
        state |= cdsDefault;
        FCanvas->SetHandle(draw.nmcd.hdc);
        FCanvas->Font()->Assign(*Font());
        unsigned flags = 0;
        bool defaultDraw = true;
        try {
            OnCustomDrawButton(this, button, state, flags, defaultDraw);
        } catch (...) {
            FCanvas->SetHandle(nullptr);
            throw;
        }
        draw.clrText = ColorToRGB(FCanvas->Font()->Color());
        FCanvas->SetHandle(nullptr);
        if (!defaultDraw) return CDRF_SKIPDEFAULT;
        // Without its background a checked button is drawn as a pressed
        // one: the common control would lay its checked pattern over
        // whatever the event drew.
        if ((flags & tdNoBackground) && (draw.nmcd.uItemState & CDIS_CHECKED))
            draw.nmcd.uItemState = (draw.nmcd.uItemState & ~CDIS_CHECKED) | CDIS_SELECTED;
        return flags & (tdNoEdges | tdNoBackground);
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void TToolBar::DropDown(TToolButton* button)
{
    TPopupMenu* menu = button ? button->FDropdownMenu : nullptr;
    if (!menu || !FHandle) return;
    RECT rect = button->BoundsRect();
    MapWindowPoints(FHandle, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    menu->SetPopupComponent(this);
    menu->Popup(rect.left, rect.bottom);
}

void TToolBar::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_FONTCHANGED:
        // The buttons are as large as their captions: measured again in the
        // new font (a form that changes its scale sets its font last).
        TWinControl::WndProc(m);
        UpdateButtons();
        return;
    case WM_ERASEBKGND:
        if (OnCustomDraw) {
            RECT client{};
            GetClientRect(FHandle, &client);
            FCanvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
            bool defaultDraw = true;
            try {
                OnCustomDraw(this, client, defaultDraw);
            } catch (...) {
                FCanvas->SetHandle(nullptr);
                throw;
            }
            FCanvas->SetHandle(nullptr);
            if (!defaultDraw) {
                m.Result = 1;
                return;
            }
        }
        break;
    case CN_COMMAND:
        if (TToolButton* button = FindButton(LOWORD(m.WParam))) {
            m.Result = 0;
            button->Click();
            return;
        }
        break;
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header->code == NM_CUSTOMDRAW) {
            m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
            return;
        }
        if (header->code == TBN_DROPDOWN) {
            DropDown(FindButton(reinterpret_cast<NMTOOLBARA*>(m.LParam)->iItem));
            m.Result = TBDDRET_DEFAULT;
            return;
        }
        break;
    }
    }
    TWinControl::WndProc(m);
}
