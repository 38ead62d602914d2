// The record navigator (see db_navigator.h).
#include "framework/data/db_navigator.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "framework/display_scale.h"
#include "framework/forms.h"

const TEnumInfo NavigateBtnEnum{"TNavigateBtn",
                                {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbEdit", "nbPost", "nbCancel", "nbRefresh"}};

class TDBNavigator::TNavDataLink : public TDataLink {
public:
    explicit TNavDataLink(TDBNavigator* navigator) : FNavigator(navigator) {}
    // Lets go of the data source without telling the navigator, which is
    // being destroyed.
    void Detach()
    {
        FNavigator = nullptr;
        SetDataSource(nullptr);
    }

protected:
    void ActiveChanged() override { Changed(); }
    void DataSetChanged() override { Changed(); }
    void DataSetScrolled(int) override { Changed(); }
    void EditingChanged() override { Changed(); }

private:
    void Changed()
    {
        if (FNavigator) FNavigator->StateChanged();
    }

    TDBNavigator* FNavigator;
};

using PNavigator = TPropBuilder<TDBNavigator>;
IMPLEMENT_CLASS(TDBNavigator,
    PNavigator::Object("DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource),
    PNavigator::Set("VisibleButtons", NavigateBtnEnum, &TDBNavigator::VisibleButtons, &TDBNavigator::SetVisibleButtons))

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomControl(owner), FDataLink(std::make_unique<TNavDataLink>(this))
{
    FControlStyle = csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks;
    FWidth = 240;
    FHeight = 25;
}

TDBNavigator::~TDBNavigator()
{
    FDataLink->Detach();
}

TDataSource* TDBNavigator::DataSource() const { return FDataLink->DataSource(); }

void TDBNavigator::SetDataSource(TDataSource* source) { FDataLink->SetDataSource(source); }

void TDBNavigator::SetVisibleButtons(TNavButtonSet value)
{
    FVisibleButtons = value & ALL_NAVIGATE_BUTTONS;
    Invalidate();
}

void TDBNavigator::StateChanged()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

bool TDBNavigator::ButtonEnabled(TNavigateBtn button) const
{
    if (!(FVisibleButtons & NavButton(button)) || !FEnabled || !FDataLink->Active()) return false;
    TADOQuery* dataSet = FDataLink->DataSet();
    bool editing = dataSet->State() == dsEdit;
    switch (button) {
    case nbFirst:
    case nbPrior: return !dataSet->Bof();
    case nbNext:
    case nbLast: return !dataSet->Eof();
    case nbEdit: return !editing && dataSet->CanModify() && !dataSet->IsEmpty() && FDataLink->DataSource()->AutoEdit();
    case nbPost:
    case nbCancel: return editing;
    case nbRefresh: return true;
    }
    return false;
}

RECT TDBNavigator::ButtonRect(TNavigateBtn button) const
{
    std::vector<int> shown;
    for (int b = 0; b < NAVIGATE_BUTTON_COUNT; ++b)
        if (FVisibleButtons & NavButton(static_cast<TNavigateBtn>(b))) shown.push_back(b);
    auto at = std::find(shown.begin(), shown.end(), static_cast<int>(button));
    if (at == shown.end()) return RECT{0, 0, 0, 0};
    RECT client = ClientRect();
    int count = static_cast<int>(shown.size());
    int index = static_cast<int>(at - shown.begin());
    // Equal widths; the pixels left over go one each to the first buttons.
    int width = client.right / count, extra = client.right % count;
    int left = index * width + std::min(index, extra);
    return RECT{left, 0, left + width + (index < extra ? 1 : 0), client.bottom};
}

int TDBNavigator::ButtonAt(int x, int y) const
{
    POINT p{x, y};
    for (int b = 0; b < NAVIGATE_BUTTON_COUNT; ++b) {
        RECT r = ButtonRect(static_cast<TNavigateBtn>(b));
        if (PtInRect(&r, p)) return b;
    }
    return -1;
}

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    if (!ButtonEnabled(button)) return;
    TADOQuery* dataSet = FDataLink->DataSet();
    switch (button) {
    case nbFirst: dataSet->First(); break;
    case nbPrior: dataSet->Prior(); break;
    case nbNext: dataSet->Next(); break;
    case nbLast: dataSet->Last(); break;
    case nbEdit: dataSet->Edit(); break;
    case nbPost: dataSet->Post(); break;
    case nbCancel: dataSet->Cancel(); break;
    case nbRefresh: dataSet->Refresh(); break;
    }
    if (OnNavClick) OnNavClick(button);
}

void TDBNavigator::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int button = ButtonAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (button >= 0 && ButtonEnabled(static_cast<TNavigateBtn>(button))) {
            FPressed = button;
            FPressedIn = true;
            if (FHandle) SetCapture(FHandle);
            StateChanged();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (FPressed >= 0) {
            bool in = ButtonAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) == FPressed;
            if (in != FPressedIn) {
                FPressedIn = in;
                StateChanged();
            }
        }
        break;
    case WM_LBUTTONUP: {
        int pressed = FPressed;
        bool release = pressed >= 0 && ButtonAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) == pressed;
        FPressed = -1;
        FPressedIn = false;
        if (FHandle && GetCapture() == FHandle) ReleaseCapture();
        StateChanged();
        TCustomControl::WndProc(m);
        if (release) BtnClick(static_cast<TNavigateBtn>(pressed));
        return;
    }
    case WM_CAPTURECHANGED:
        if (FPressed >= 0) {
            FPressed = -1;
            StateChanged();
        }
        break;
    case CM_ENABLEDCHANGED:
        StateChanged();
        break;
    }
    TCustomControl::WndProc(m);
}

// ---- painting -------------------------------------------------------------------------

namespace {

// A glyph as polygons in a 9 x 9 box (x, y pairs), drawn centred.
struct TGlyphShape {
    std::vector<std::vector<POINT>> Polygons;
};

const TGlyphShape& GlyphOf(TNavigateBtn button)
{
    static const TGlyphShape shapes[NAVIGATE_BUTTON_COUNT] = {
        // first: a bar and a triangle pointing left
        {{{{0, 0}, {1, 0}, {1, 8}, {0, 8}}, {{7, 0}, {7, 8}, {3, 4}}}},
        // prior
        {{{{6, 0}, {6, 8}, {2, 4}}}},
        // next
        {{{{2, 0}, {2, 8}, {6, 4}}}},
        // last: a triangle pointing right and a bar
        {{{{1, 0}, {1, 8}, {5, 4}}, {{7, 0}, {8, 0}, {8, 8}, {7, 8}}}},
        // edit: a triangle pointing up
        {{{{0, 7}, {8, 7}, {4, 2}}}},
        // post: a tick
        {{{{0, 4}, {2, 4}, {3, 6}, {7, 0}, {8, 1}, {3, 8}}}},
        // cancel: a cross
        {{{{0, 1}, {1, 0}, {8, 7}, {7, 8}}, {{7, 0}, {8, 1}, {1, 8}, {0, 7}}}},
        // refresh: an open square arrow turning clockwise
        {{{{0, 1}, {6, 1}, {6, 0}, {8, 2}, {6, 4}, {6, 3}, {2, 3}, {2, 6}, {7, 6}, {7, 8}, {0, 8}}}},
    };
    return shapes[button];
}

constexpr int GLYPH_BOX = 9;

// The glyph in its box of `side` pixels (GLYPH_BOX at 96): drawn at its own
// size, then enlarged pixel by pixel, so that it stays as crisp as at 96.
void DrawGlyph(HDC dc, TNavigateBtn button, int left, int top, COLORREF color, int side)
{
    TMemoryDC memory(dc);
    TGdiBitmap box(CreateCompatibleBitmap(dc, GLYPH_BOX, GLYPH_BOX));
    if (memory.IsNull() || box.IsNull()) return;
    TSelectObject selectBox(memory, box);
    const COLORREF key = color == RGB(255, 0, 255) ? RGB(0, 255, 0) : RGB(255, 0, 255);
    {
        TGdiBrush clear(CreateSolidBrush(key));
        RECT all{0, 0, GLYPH_BOX, GLYPH_BOX};
        FillRect(memory, &all, clear);
        TGdiBrush brush(CreateSolidBrush(color));
        TGdiPen pen(CreatePen(PS_SOLID, 1, color));
        TSelectObject selectBrush(memory, brush);
        TSelectObject selectPen(memory, pen);
        for (const auto& polygon : GlyphOf(button).Polygons)
            Polygon(memory, polygon.data(), static_cast<int>(polygon.size()));
    }
    TransparentBlt(dc, left, top, side, side, memory, 0, 0, GLYPH_BOX, GLYPH_BOX, key);
}

}  // namespace

namespace {

double Luminance(COLORREF c)
{
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b)
{
    double la = Luminance(a), lb = Luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB)
{
    auto mix = [&](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB + 50) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

// The buttons are drawn in the navigator's own colour (a skinned window
// gives it the skin's face): raised edges a lighter and a darker shade of
// it, the glyph in the button text colour, or in white or black where that
// colour would not stand out from the face.
// The edges and the glyph are 96-DPI sizes drawn at the window's scale.
void TDBNavigator::PaintButton(HDC dc, TNavigateBtn button, const RECT& rect, bool pressed, bool enabled)
{
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(this));
    const int edge = ScaleToDpi(1, dpi);
    const COLORREF face = ColorToRGB(FColor);
    const COLORREF light = Mix(face, RGB(255, 255, 255), 55), dark = Mix(face, RGB(0, 0, 0), 45);
    {
        TGdiBrush fill(CreateSolidBrush(face));
        FillRect(dc, &rect, fill);
        TGdiPen topLeft(CreatePen(PS_SOLID, 1, pressed ? dark : light));
        TGdiPen bottomRight(CreatePen(PS_SOLID, 1, pressed ? light : dark));
        TSelectObject pen(dc, topLeft);
        for (int i = 0; i < edge; ++i) {
            const RECT r{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
            SelectObject(dc, topLeft);
            MoveToEx(dc, r.left, r.bottom - 2, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
            SelectObject(dc, bottomRight);
            MoveToEx(dc, r.right - 1, r.top, nullptr);
            LineTo(dc, r.right - 1, r.bottom - 1);
            LineTo(dc, r.left - 1, r.bottom - 1);
        }
    }
    COLORREF text = ColorToRGB(clBtnText);
    if (Contrast(text, face) < 4.5)
        text = Contrast(RGB(255, 255, 255), face) >= Contrast(RGB(0, 0, 0), face) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    const int side = ScaleToDpi(GLYPH_BOX, dpi);
    int left = (rect.left + rect.right) / 2 - side / 2 + (pressed ? edge : 0);
    int top = (rect.top + rect.bottom) / 2 - side / 2 + (pressed ? edge : 0);
    // A disabled glyph: faint, halfway to the face.
    DrawGlyph(dc, button, left, top, enabled ? text : Mix(text, face, 60), side);
}

void TDBNavigator::Paint()
{
    HDC target = Canvas()->Handle();
    RECT client = ClientRect();
    if (client.right <= 0 || client.bottom <= 0) return;
    TMemoryDC memory(target);
    TGdiBitmap picture(CreateCompatibleBitmap(target, client.right, client.bottom));
    {
        TSelectObject bitmap(memory, picture);
        TGdiBrush face(CreateSolidBrush(ColorToRGB(FColor)));
        FillRect(memory, &client, face);
        for (int b = 0; b < NAVIGATE_BUTTON_COUNT; ++b) {
            auto button = static_cast<TNavigateBtn>(b);
            if (!(FVisibleButtons & NavButton(button))) continue;
            PaintButton(memory, button, ButtonRect(button), FPressed == b && FPressedIn, ButtonEnabled(button));
        }
        BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
}
