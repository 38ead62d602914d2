// The tab-set skinner (see tab_set_skinner.h).
#include "skin/controls/tab_set_skinner.h"

#include <algorithm>

#include "framework/string_list.h"
#include "framework/sysutils.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_draw.h"

IMPLEMENT_CLASS(TSkinTab31)
DEFINE_SKINNER(TSkinTab31, TSkinTab31)

namespace {

constexpr int TAB_PADDING = 9;      // a tab's width beyond its caption's
constexpr int SCROLLER_ROOM = 12;   // more that must fit while the scroller shows

}  // namespace

void TSkinTab31::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    auto* tabSet = As<TWinControl>(Owner());
    if (FAttached || !tabSet || !skinData) return;
    TSkinControl::AttachWindow(tabSet->Handle(), skinData, formSkinner, canvas);
    if (!FAttached) return;
    FPaintTarget = nullptr;
    PrepareImage();
    // A scroller of the tab set's own (its first component) scrolls sideways.
    if (tabSet->ComponentCount() > 0) {
        auto* scroller = As<TWinControl>(tabSet->Components(0));
        if (scroller && (scroller->ClassName() == "TTabScroller" || scroller->ClassName() == "TUpDown") &&
            SkinnerAvailable("TSkinUpDown")) {
            FUpDown = NewSkinner("TSkinUpDown", tabSet);
            if (FUpDown) {
                FUpDown->Configure(1, std::string());
                FUpDown->AttachWindow(scroller->Handle(), FSkinData, FFormSkinner, FCanvas);
            }
        }
    }
}

void TSkinTab31::PrepareImage()
{
    if (FSkinData) FImages.Prepare(Skin(), skin::toBottom);
}

void TSkinTab31::SkinChanged()
{
    PrepareImage();
    TSkinControl::SkinChanged();
}

bool TSkinTab31::BeforeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        // The skinner paints the strip and the tab set's own painting still
        // runs (it keeps its own state up to date when it paints); in the
        // window's update region it then finds nothing left to paint. Into a
        // DC it was handed it would paint over the skin: there the skinner
        // paints after it (AfterMessage).
        if (m.WParam) return true;
        PaintMessage(m);
        return true;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinTab31::AfterMessage(TMessage& m)
{
    if (m.Msg == WM_PAINT) {
        if (m.WParam) PaintMessage(m);
        return;
    }
    TSkinControl::AfterMessage(m);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SIZE:
        Repaint();
        break;
    }
}

void TSkinTab31::Draw(HDC dc, const RECT& rect)
{
    TObject* tabSet = Owner();
    const TDataSkinObject* tabs = FSkinData ? Skin().Object(ssTabs) : nullptr;
    if (!tabSet || !tabs || !FImages.Tab) return;
    RECT client{};
    GetClientRect(FWindow, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return;
    TSkinBuffer buffer;
    HDC canvas = buffer.Prepare(dc, width, height);
    if (!canvas) return;
    FillFace(canvas, client);
    auto* font = static_cast<TFont*>(GetObjectPropByName(tabSet, "Font", &TFont::StaticClassInfo()));
    TSelectObject selected(canvas, font ? font->Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    auto* captions = static_cast<TStrings*>(GetObjectPropByName(tabSet, "Tabs", &TStrings::StaticClassInfo()));
    const int first = std::max(GetOrdPropByName(tabSet, "FirstIndex"), 0);
    const int chosen = GetOrdPropByName(tabSet, "TabIndex");
    const int start = std::max(GetOrdPropByName(tabSet, "StartMargin"), 0);
    const int end = std::max(GetOrdPropByName(tabSet, "EndMargin"), 0);
    const bool scroller = FUpDown && IsWindowVisible(FUpDown->Window());
    const RECT margins{tabs->LeftWidth, tabs->TopHeight, tabs->RightWidth, tabs->BottomHeight};
    FTabRects.clear();
    int x = start;
    SetBkMode(canvas, TRANSPARENT);
    for (int i = first; captions && i < captions->Count(); ++i) {
        const std::wstring caption = AnsiToWide(captions->Get(i));
        SIZE size{0, 0};
        GetTextExtentPoint32W(canvas, caption.c_str(), static_cast<int>(caption.size()), &size);
        const int tabWidth = size.cx + TAB_PADDING;
        if (x + tabWidth + (scroller ? SCROLLER_ROOM : 0) > width - end) break;
        const RECT tab{x, 0, x + tabWidth, height};
        const int frame = i == chosen ? 2 : 1;
        skin::DrawFrameBitmap(canvas, tab, FImages.Tab, margins, frame, std::max(tabs->Frame, 1), tabs->Trans != 0,
                              tabs->Tile != 0, false);
        SetTextColor(canvas, skin::ResolveColour(frame == 2 ? tabs->MouseOverColour2 : tabs->NormalColour2));
        // Centred across, and half the spare height less one down.
        RECT measured{0, 0, tabWidth, height};
        DrawTextWide(canvas, caption, measured, DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
        const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
        RECT box{tab.left + (tabWidth - textWidth) / 2, (height - textHeight) / 2 - 1, 0, 0};
        box.right = box.left + textWidth;
        box.bottom = box.top + textHeight;
        DrawTextWide(canvas, caption, box, TextDirectionFlags(DT_CENTER | DT_EXPANDTABS));
        FTabRects.push_back(tab);
        x += tabWidth;
    }
    // The client area is the window (a tab set has no border).
    (void)rect;
    BitBlt(dc, 0, 0, width, height, canvas, 0, 0, SRCCOPY);
}
