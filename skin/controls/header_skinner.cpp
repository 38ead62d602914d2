// The column-header skinner (see header_skinner.h).
#include "skin/controls/header_skinner.h"

#include <commctrl.h>
#include <windowsx.h>

#include "skin/controls/header_painting.h"
#include "skin/controls/skinner_kinds.h"

DEFINE_SKINNER(TSkinHeader, TSkinHeader)

IMPLEMENT_CLASS(TSkinHeader)

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

TSkinHeader::~TSkinHeader() = default;

void TSkinHeader::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    FHotColumn = -1;
    FPressedColumn = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    TSkinControl::AttachWindow(window, skinData, formSkinner, canvas);
    FHotColumn = -1;
    FPressedColumn = -1;
}

const TDataSkinObject* TSkinHeader::Bar() const
{
    const TDataSkinObject* bar = FSkinData ? Skin().Object(ssHeaderbar) : nullptr;
    return bar && !bar->Bitmap.Empty() ? bar : nullptr;
}

bool TSkinHeader::BeforeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!Bar()) break;
        PaintMessage(m);
        return false;
    case WM_ERASEBKGND:
        if (!Bar()) break;
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

int TSkinHeader::SectionAt(POINT point) const
{
    for (size_t i = 0; i < FColumnRects.size(); ++i)
        if (PtInRect(&FColumnRects[i], point)) return static_cast<int>(i);
    return -1;
}

void TSkinHeader::SetPressed(int section)
{
    if (section == FPressedColumn) return;
    FPressedColumn = section;
    Repaint();
}

void TSkinHeader::AfterMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        int section = SectionAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        if (section >= 0 && section != FHotColumn) {
            FHotColumn = section;
            Repaint();
        }
        SkinTrackMouseLeave(FWindow);
        return;
    }
    case WM_MOUSELEAVE:
        FHotColumn = -1;
        FPressedColumn = -1;
        Repaint();
        return;
    case WM_LBUTTONDOWN:
        // Only a header whose sections are buttons shows them pressed; a
        // press on a divider starts a drag, not a press.
        if (GetWindowLongOf(FWindow, GWL_STYLE) & HDS_BUTTONS)
            SetPressed(SectionAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
        return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        SetPressed(-1);
        return;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinHeader::Draw(HDC dc, const RECT& rect)
{
    const TDataSkinObject* bar = Bar();
    if (!bar || !FWindow) return;
    skin::THeaderPaintState state;
    state.HotSection = FHotColumn;
    state.PressedSection = FPressedColumn;
    state.Enabled = IsWindowEnabled(FWindow) != 0;
    const TSkinModel& model = Skin();
    if (model.ColourGiven[scWindowText]) {
        state.TextColour = SkinColourRgb(FSkinData, scWindowText);
    } else {
        TFont* font = FControl ? FControl->Font() : nullptr;
        state.TextColour = font ? ColorToRGB(font->Color()) : GetSysColor(COLOR_WINDOWTEXT);
    }
    state.ExtraTextFormat = TextDirectionFlags(0);
    state.Dpi = Dpi();
    // The header's client area is the whole window: it has no border.
    RECT client;
    GetClientRect(FWindow, &client);
    skin::PaintHeaderBar(dc, client, FWindow, *bar, state, FColumnRects);
}
