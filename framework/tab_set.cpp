// The tab set (see tab_set.h).
#include "framework/tab_set.h"

#include "framework/display_scale.h"
#include "framework/forms.h"

#include <algorithm>

#include "framework/gdi_handles.h"

using PTabSet = TPropBuilder<TTabSet>;
IMPLEMENT_CLASS(TTabSet,
    PTabSet::Integer("Color", &TTabSet::Color, &TTabSet::SetColor),
    PTabSet::Integer("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin),
    PTabSet::Integer("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex),
    PTabSet::Object("Font", &TTabSet::Font, &TTabSet::SetFont),
    PTabSet::Integer("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin),
    PTabSet::Integer("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex),
    PTabSet::Object("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs))

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), FTabs(std::make_unique<TStringList>())
{
    FControlStyle = csOpaque | csCaptureMouse | csClickEvents | csDoubleClicks;
    FWidth = 185;
    FHeight = 21;
    FColor = clBtnFace;
    FTabs->OnChange = [this](TObject*) {
        if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
        Invalidate();
    };
}

TTabSet::~TTabSet() = default;

void TTabSet::SetTabs(TStrings* value)
{
    if (value) FTabs->Assign(*value);
}

void TTabSet::SetTabIndex(int value)
{
    value = std::clamp(value, -1, FTabs->Count() - 1);
    if (value == FTabIndex) return;
    FTabIndex = value;
    Invalidate();
}

void TTabSet::SetFirstIndex(int value)
{
    value = std::clamp(value, 0, std::max(FTabs->Count() - 1, 0));
    if (value == FFirstIndex) return;
    FFirstIndex = value;
    Invalidate();
}

void TTabSet::SetStartMargin(int value)
{
    FStartMargin = std::max(value, 0);
    Invalidate();
}

void TTabSet::SetEndMargin(int value)
{
    FEndMargin = std::max(value, 0);
    Invalidate();
}

int TTabSet::TabWidth(HDC dc, const std::string& caption) const
{
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    // 9 pixels of room around the text at 96 DPI, at the form's scale.
    return size.cx + ScaleToDpi(9, static_cast<UINT>(ControlPixelsPerInch(this)));
}

RECT TTabSet::TabRect(int index)
{
    if (index < FFirstIndex || index >= FTabs->Count()) return RECT{};
    TWindowDC dc = TWindowDC::Client(nullptr);
    TSelectObject font(dc, Font()->Handle());
    int x = FStartMargin;
    for (int i = FFirstIndex; i < FTabs->Count(); ++i) {
        const int width = TabWidth(dc, FTabs->Get(i));
        if (x + width > Width() - FEndMargin) break;
        if (i == index) return RECT{x, 0, x + width, Height()};
        x += width;
    }
    return RECT{};
}

int TTabSet::TabAt(int x)
{
    for (int i = FFirstIndex; i < FTabs->Count(); ++i) {
        const RECT tab = TabRect(i);
        if (tab.right <= tab.left) break;
        if (x >= tab.left && x < tab.right) return i;
    }
    return -1;
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const int tab = TabAt(x);
    if (tab < 0 || tab == FTabIndex) return;
    SetTabIndex(tab);
    if (OnChange) OnChange(this);
}

void TTabSet::Paint()
{
    HDC dc = Canvas()->Handle();
    const RECT client{0, 0, Width(), Height()};
    TGdiBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &client, face);
    // The strip's edge at the top, where the tabs hang from.
    TGdiPen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    TSelectObject pen(dc, shadow);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, Width(), 0);
    TSelectObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    for (int i = FFirstIndex; i < FTabs->Count(); ++i) {
        RECT tab = TabRect(i);
        if (tab.right <= tab.left) break;
        if (i == FTabIndex) {
            TGdiBrush window(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
            FillRect(dc, &tab, window);
        }
        MoveToEx(dc, tab.left, i == FTabIndex ? 0 : 1, nullptr);
        LineTo(dc, tab.left, tab.bottom - 1);
        LineTo(dc, tab.right - 1, tab.bottom - 1);
        LineTo(dc, tab.right - 1, i == FTabIndex ? -1 : 0);
        const std::string caption = FTabs->Get(i);
        DrawTextA(dc, caption.c_str(), -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
