// List boxes (see list_box.h).
#include "framework/list_box.h"

#include <windowsx.h>

using PListBox = TPropBuilder<TCustomListBox>;
IMPLEMENT_CLASS(TCustomListBox,
    PListBox::Integer("Color", &TCustomListBox::Color, &TCustomListBox::SetColor),
    PListBox::Object("Font", &TCustomListBox::Font, &TCustomListBox::SetFont),
    PListBox::Integer("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex),
    PListBox::Object("Items", &TCustomListBox::Items, &TCustomListBox::SetItems),
    PListBox::Bool("ParentColor", &TCustomListBox::ParentColor, &TCustomListBox::SetParentColor),
    PListBox::Bool("ParentFont", &TCustomListBox::ParentFont, &TCustomListBox::SetParentFont))

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TListItems>(this, ListBoxMessages))
{
    // Clicks and double clicks arrive as LBN_SELCHANGE and LBN_DBLCLK, not
    // from the framework's own mouse handling.
    FControlStyle = csSetCaption;
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
}

TCustomListBox::~TCustomListBox()
{
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TCustomListBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "LISTBOX");
    // Exactly the height it is given, even when that cuts a line.
    p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Caption.clear();
}

void TCustomListBox::CreateWindowDone()
{
    FItems->RestoreTo(FHandle);
    ::SendMessageA(FHandle, LB_SETCURSEL, FItemIndex, 0);
}

void TCustomListBox::DestroyWnd()
{
    FItemIndex = static_cast<int>(::SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
    FItems->SaveFrom(FHandle);
    TWinControl::DestroyWnd();
}

void TCustomListBox::SetItems(TStrings* items)
{
    if (items) FItems->Assign(*items);
}

int TCustomListBox::ItemIndex() const
{
    if (!FHandle) return FItemIndex;
    return static_cast<int>(::SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value)
{
    if (value < 0 || value >= FItems->Count()) value = -1;
    if (!FHandle)
        FItemIndex = value;
    else
        ::SendMessageA(FHandle, LB_SETCURSEL, value, 0);
}

int TCustomListBox::TopIndex() const
{
    return FHandle ? static_cast<int>(::SendMessageA(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetTopIndex(int value)
{
    if (FHandle) ::SendMessageA(FHandle, LB_SETTOPINDEX, value, 0);
}

int TCustomListBox::ItemHeight() const
{
    return FHandle ? static_cast<int>(::SendMessageA(FHandle, LB_GETITEMHEIGHT, 0, 0)) : 16;
}

int TCustomListBox::ItemAtPos(POINT point) const
{
    if (!FHandle) return -1;
    LRESULT hit = ::SendMessageA(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit)) return -1;  // outside every line
    return LOWORD(hit);
}

RECT TCustomListBox::ItemRect(int index) const
{
    RECT r{0, 0, 0, 0};
    if (FHandle && ::SendMessageA(FHandle, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        r = RECT{0, 0, 0, 0};
    return r;
}

void TCustomListBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
        }
        return;
    }
    TWinControl::WndProc(m);
}
