// Combo boxes (see combo_box.h).
#include "framework/combo_box.h"

#include <algorithm>

#include "framework/graphics.h"
#include "framework/text_limit.h"

const TEnumInfo ComboBoxStyleEnum{"TComboBoxStyle",
                                  {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};

using PComboBox = TPropBuilder<TCustomComboBox>;
IMPLEMENT_CLASS(TCustomComboBox,
    PComboBox::Integer("Color", &TCustomComboBox::Color, &TCustomComboBox::SetColor),
    PComboBox::Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount),
    PComboBox::Object("Font", &TCustomComboBox::Font, &TCustomComboBox::SetFont),
    PComboBox::Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
    PComboBox::Object("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems),
    PComboBox::Integer("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength),
    PComboBox::Bool("ParentColor", &TCustomComboBox::ParentColor, &TCustomComboBox::SetParentColor),
    PComboBox::Bool("ParentFont", &TCustomComboBox::ParentFont, &TCustomComboBox::SetParentFont),
    PComboBox::Enum("Style", ComboBoxStyleEnum, &TCustomComboBox::Style, &TCustomComboBox::SetStyle),
    PComboBox::String("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText))

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TListItems>(this, ComboBoxMessages))
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FWidth = 145;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox()
{
    // The window goes while the item list that reads it still exists.
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TCustomComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS};
    p.Style |= styles[FStyle] | WS_VSCROLL | CBS_AUTOHSCROLL;
    // The edit keeps the text it is created with, which a list-only box has
    // no use for.
    if (ListOnly()) p.Caption.clear();
}

void TCustomComboBox::CreateWindowDone()
{
    FItems->RestoreTo(FHandle);
    // Not every system's combo box takes its first text from the window name.
    if (!ListOnly() && !FText.empty() && GetText() != FText) SetWindowTextA(FHandle, FText.c_str());
    if (ListOnly()) {
        int index = FItemIndex >= 0 ? FItemIndex : FItems->IndexOf(FText);
        ::SendMessageA(FHandle, CB_SETCURSEL, index, 0);
    } else if (FItemIndex >= 0) {
        // The choice, without replacing the text the window was made with.
        std::string text = GetText();
        ::SendMessageA(FHandle, CB_SETCURSEL, FItemIndex, 0);
        SetWindowTextA(FHandle, text.c_str());
    }
    if (FMaxLength) ::SendMessageA(FHandle, CB_LIMITTEXT, FMaxLength, 0);
    RememberText();
}

void TCustomComboBox::DestroyWnd()
{
    FItemIndex = static_cast<int>(::SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
    FItems->SaveFrom(FHandle);
    TWinControl::DestroyWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

void TCustomComboBox::SetItems(TStrings* items)
{
    if (items) FItems->Assign(*items);
}

int TCustomComboBox::ItemIndex() const
{
    if (!FHandle) return FItemIndex;
    return static_cast<int>(::SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (value < 0 || value >= FItems->Count()) value = -1;
    if (!FHandle) {
        FItemIndex = value;
        std::string text = value >= 0 ? FItems->Get(value) : std::string();
        if (text != FText) {
            FText = text;
            Perform(CM_TEXTCHANGED);
        }
        return;
    }
    if (value == ItemIndex() && (value < 0 ? GetText().empty() : GetText() == FItems->Get(value))) return;
    ::SendMessageA(FHandle, CB_SETCURSEL, value, 0);
    RememberText();
    Perform(CM_TEXTCHANGED);
}

void TCustomComboBox::SetDropDownCount(int value) { FDropDownCount = std::max(value, 1); }

void TCustomComboBox::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
    if (FHandle) ::SendMessageA(FHandle, CB_LIMITTEXT, FMaxLength, 0);
}

int TCustomComboBox::ItemHeight() const
{
    if (!FHandle) return 16;
    return static_cast<int>(::SendMessageA(FHandle, CB_GETITEMHEIGHT, 0, 0));
}

bool TCustomComboBox::DroppedDown() const { return FHandle && ::SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0); }

void TCustomComboBox::SetDroppedDown(bool value)
{
    ::SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_SHOWDROPDOWN, value, 0);
}

HWND TCustomComboBox::EditHandle() const
{
    if (!FHandle || ListOnly()) return nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(FHandle, &info) && info.hwndItem && info.hwndItem != FHandle) return info.hwndItem;
    return FindWindowExA(FHandle, nullptr, "Edit", nullptr);
}

void TCustomComboBox::SetText(const std::string& value)
{
    if (ListOnly()) {
        // Only a choice can be shown: the exact item, else one equal but for case.
        int index = FItems->IndexOf(value);
        SetItemIndex(index);
        return;
    }
    TWinControl::SetText(value);
    if (FHandle) RememberText();
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    FItemIndex = -1;
    SetText("");
}

void TCustomComboBox::SelectAll()
{
    if (FHandle) ::SendMessageA(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown()
{
    // The window's height while open decides how many items the list
    // shows: the closed height plus DropDownCount items (fewer when the list
    // is shorter), and a border.
    int rows = std::clamp(FItems->Count(), 1, FDropDownCount);
    RECT closed;
    GetWindowRect(FHandle, &closed);
    int height = (closed.bottom - closed.top) + ItemHeight() * rows + 2;
    SetWindowPos(FHandle, nullptr, 0, 0, closed.right - closed.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    int index = static_cast<int>(item.itemID);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (OnDrawItem) {
        TCanvas canvas;
        canvas.SetHandle(item.hDC);
        canvas.Font()->Assign(*Font());
        canvas.Brush()->SetColor(selected ? clHighlight : Color());
        OnDrawItem(this, index, item.rcItem, item.itemState, &canvas);
        canvas.SetHandle(nullptr);
        return;
    }
    // The text of the item on the selection colour or the box's own colour.
    HBRUSH brush = CreateSolidBrush(ColorToRGB(selected ? clHighlight : Color()));
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    if (index < 0 || index >= FItems->Count()) return;
    std::string text = FItems->Get(index);
    int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    COLORREF oldColour = SetTextColor(item.hDC, ColorToRGB(selected ? clHighlightText : Font()->Color()));
    HGDIOBJ oldFont = SelectObject(item.hDC, Font()->Handle());
    RECT r = item.rcItem;
    r.left += 2;
    DrawTextA(item.hDC, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
    SetTextColor(item.hDC, oldColour);
    SetBkMode(item.hDC, oldMode);
}

void TCustomComboBox::RememberText()
{
    if (FHandle) FLastText = GetText();
}

void TCustomComboBox::EnforceMaxLength()
{
    if (!FMaxLength || FLimiting || ListOnly()) return;
    std::string now = GetText();
    std::string fitted;
    size_t caret = 0;
    if (LimitInsertion(FLastText, now, static_cast<size_t>(FMaxLength), fitted, caret)) {
        FLimiting = true;
        SetWindowTextA(FHandle, fitted.c_str());
        if (HWND edit = EditHandle()) {
            int position = EditPosition(edit, fitted, caret);
            ::SendMessageA(edit, EM_SETSEL, position, position);
        }
        FLimiting = false;
        MessageBeep(MB_OK);
    }
    RememberText();
}

void TCustomComboBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_EDITCHANGE:
            EnforceMaxLength();
            Change();
            break;
        case CBN_SELCHANGE: {
            // The edit of a drop-down box may still show the old text while
            // the choice is announced; show the chosen item now.
            int index = ItemIndex();
            if (index >= 0 && !ListOnly()) {
                std::string item = FItems->Get(index);
                if (item != GetText()) SetWindowTextA(FHandle, item.c_str());
            }
            RememberText();
            Click();
            Select();
            Change();
            break;
        }
        case CBN_DROPDOWN: DropDown(); break;
        case CBN_CLOSEUP: CloseUp(); break;
        }
        return;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    case CN_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        int height = static_cast<int>(item->itemHeight);
        if (FStyle == csOwnerDrawVariable && OnMeasureItem && static_cast<int>(item->itemID) >= 0)
            OnMeasureItem(this, static_cast<int>(item->itemID), height);
        item->itemHeight = static_cast<UINT>(std::max(height, 1));
        m.Result = TRUE;
        return;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        // The edit and the list inside paint in this control's colours.
        m.Msg = CN_BASE + m.Msg;
        TWinControl::WndProc(m);
        return;
    }
    TWinControl::WndProc(m);
}
