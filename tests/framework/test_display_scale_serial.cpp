// Forms at a display scale other than their design's 96 pixels an inch: a
// form is laid out at its monitor's scale when it is completed, and again
// when a test tells its window of a new scale (WM_DPICHANGED, as the system
// sends when the window moves to another monitor). Unskinned windows.
// Serial: forms are shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/graphics.h"
#include "framework/header_control.h"
#include "framework/image_list.h"
#include "framework/list_view.h"
#include "framework/page_control.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/tool_bar.h"

namespace {

constexpr int DesignClientWidth = 400, DesignClientHeight = 300;

// A form as the program's forms are built: everything in 96-DPI pixels.
class TScaleForm : public TForm {
    DECLARE_CLASS_INLINE(TScaleForm, TForm)
public:
    explicit TScaleForm(TComponent* owner) : TForm(owner)
    {
        SetCaption("scale");
        SetBorderStyle(bsSizeable);
        SetBounds(20, 30, 100, 100);
        SetClientSize(DesignClientWidth, DesignClientHeight);
        Font()->SetName("Tahoma");
        Font()->SetHeight(-12);
        Constraints()->SetMinWidth(250);
        Constraints()->SetMinHeight(200);

        TopPanel = Make<TPanel>(this, "TopPanel", alTop, 0, 0, 0, 41);
        LeftButton = Make<TButton>(TopPanel, "LeftButton", alNone, 10, 8, 75, 25);
        // Meets LeftButton's right edge: the two still meet at every scale.
        RightButton = Make<TButton>(TopPanel, "RightButton", alNone, 85, 8, 75, 25);
        Note = Make<TLabel>(this, "Note", alNone, 13, 60, 151, 17);
        Note->SetAutoSize(false);
        Note->SetBounds(13, 60, 151, 17);
        // Held at its width: both limits scale, neither clamps the other.
        Note->Constraints()->SetMinWidth(151);
        Note->Constraints()->SetMaxWidth(151);
        Note->SetCaption("own font");
        Note->Font()->SetName("Tahoma");
        Note->Font()->SetHeight(-15);  // its own, not the form's
        List = Make<TListView>(this, "List", alNone, 8, 90, 250, 120);
        List->SetViewStyle(vsReport);
        for (int width : {80, 125}) List->Columns()->Add()->SetWidth(width);
        Header = Make<THeaderControl>(this, "Header", alNone, 270, 90, 121, 17);
        Header->Sections()->Add()->SetWidth(61);
        Header->Sections()->Items(0)->SetMinWidth(21);
        Status = Make<TStatusBar>(this, "Status", alBottom, 0, 0, 0, 19);
        for (int width : {101, 150}) Status->Panels()->Add()->SetWidth(width);
    }

    template <class T>
    T* Make(TWinControl* parent, const char* name, TAlign align, int left, int top, int width, int height)
    {
        T* control = new T(this);
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
        control->SetAlign(align);
        return control;
    }

    TPanel* TopPanel;
    TButton* LeftButton;
    TButton* RightButton;
    TLabel* Note;
    TListView* List;
    THeaderControl* Header;
    TStatusBar* Status;
};

int Px(int design, int dpi) { return MulDiv(design, dpi, 96); }

int WindowFontHeight(HWND window)
{
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf)) return 0;
    return lf.lfHeight;
}

#define EXPECT_NEAR_PX(actual, design, dpi) EXPECT_LE(std::abs((actual) - Px(design, dpi)), slack) << #actual << " at " << dpi

// Every part of the form is its design size times dpi/96, within `slack`
// pixels (one when laid out from the design; each later change of scale
// rounds what the last one left, so a chain of changes such as 192 -> 144 ->
// 192 may end two pixels off), in the objects and in the windows.
void ExpectLaidOutAt(TScaleForm& form, int dpi, int slack = 1)
{
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(form.CurrentPixelsPerInch(), dpi);
    EXPECT_NEAR_PX(form.Font()->Height(), -12, dpi);
    EXPECT_EQ(form.Font()->PixelsPerInch(), dpi);
    EXPECT_NEAR_PX(form.Constraints()->MinWidth(), 250, dpi);
    EXPECT_NEAR_PX(form.Constraints()->MinHeight(), 200, dpi);
    // Aligned: the full client width, the design's height scaled.
    EXPECT_EQ(form.TopPanel->Width(), form.ClientWidth());
    EXPECT_NEAR_PX(form.TopPanel->Height(), 41, dpi);
    EXPECT_EQ(form.Status->Width(), form.ClientWidth());
    EXPECT_EQ(form.Status->Top() + form.Status->Height(), form.ClientHeight());

    struct Part {
        TControl* Control;
        RECT Design;
    } parts[] = {{form.LeftButton, {10, 8, 85, 33}},
                 {form.RightButton, {85, 8, 160, 33}},
                 {form.Note, {13, 60, 164, 77}},
                 {form.List, {8, 90, 258, 210}},
                 {form.Header, {270, 90, 391, 107}}};
    for (const Part& part : parts) {
        SCOPED_TRACE(part.Control->Name());
        const RECT r = part.Control->BoundsRect();
        EXPECT_NEAR_PX(r.left, part.Design.left, dpi);
        EXPECT_NEAR_PX(r.top, part.Design.top, dpi);
        // The label is held at its width by its constraints, which round
        // on their own.
        if (part.Control == form.Note) {
            EXPECT_EQ(r.right - r.left, form.Note->Constraints()->MinWidth());
        } else {
            EXPECT_NEAR_PX(r.right, part.Design.right, dpi);
        }
        EXPECT_NEAR_PX(r.bottom, part.Design.bottom, dpi);
        if (auto* windowed = As<TWinControl>(part.Control); windowed && windowed->HandleAllocated()) {
            RECT w;
            GetWindowRect(windowed->HandleIfAllocated(), &w);
            MapWindowPoints(nullptr, GetParent(windowed->HandleIfAllocated()), reinterpret_cast<POINT*>(&w), 2);
            EXPECT_TRUE(EqualRect(&w, &r)) << "window " << w.left << "," << w.top << "," << w.right << "," << w.bottom;
        }
    }
    EXPECT_EQ(form.LeftButton->Left() + form.LeftButton->Width(), form.RightButton->Left())
        << "the buttons no longer meet";
    // A font of its own scales by itself; the others follow the form's.
    EXPECT_NEAR_PX(form.Note->Font()->Height(), -15, dpi);
    EXPECT_NEAR_PX(form.Note->Constraints()->MinWidth(), 151, dpi);
    EXPECT_EQ(form.Note->Constraints()->MaxWidth(), form.Note->Constraints()->MinWidth());
    EXPECT_EQ(form.LeftButton->Font()->Height(), form.Font()->Height());
    if (form.LeftButton->HandleAllocated()) {
        EXPECT_EQ(WindowFontHeight(form.LeftButton->HandleIfAllocated()), form.Font()->Height());
    }
    // Columns, sections and panels, as their windows have them.
    EXPECT_NEAR_PX(form.List->Columns()->Items(0)->Width(), 80, dpi);
    EXPECT_NEAR_PX(form.List->Columns()->Items(1)->Width(), 125, dpi);
    EXPECT_NEAR_PX(form.Header->Sections()->Items(0)->Width(), 61, dpi);
    EXPECT_NEAR_PX(form.Header->Sections()->Items(0)->MinWidth(), 21, dpi);
    if (form.Status->HandleAllocated()) {
        int rights[2] = {};
        ASSERT_EQ(SendMessageA(form.Status->HandleIfAllocated(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(rights)), 2);
        EXPECT_NEAR_PX(rights[0], 101, dpi);
        EXPECT_NEAR_PX(rights[1] - rights[0], 150, dpi);
    }
}

TEST(DisplayScale, FormIsLaidOutAtItsScaleWhenMadeAndWhenTheScaleChanges)
{
    auto* form = CreateFormObject<TScaleForm>(nullptr);
    // Made at the scale of the screen this test runs at (make test DPI=N).
    const int screen = static_cast<int>(SystemDpi());
    ExpectLaidOutAt(*form, screen);
    EXPECT_EQ(form->ClientWidth(), Px(DesignClientWidth, screen));
    EXPECT_EQ(form->ClientHeight(), Px(DesignClientHeight, screen));
    form->Show();
    ExpectLaidOutAt(*form, screen);
    HWND window = form->Handle();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Px(DesignClientWidth, screen));
    EXPECT_EQ(client.bottom, Px(DesignClientHeight, screen));

    // The window moves to monitors of other scales and back; each time it
    // takes the suggested rectangle and lays itself out there.
    for (int dpi : {144, 192, 120, 96, screen}) {
        const RECT suggested{50 + dpi / 4, 40, 50 + dpi / 4 + Px(430, dpi), 40 + Px(360, dpi)};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(WindowDpi(window), static_cast<UINT>(dpi));
        EXPECT_EQ(WindowDpi(form->List->Handle()), static_cast<UINT>(dpi)) << "a child asks its top-level window";
        RECT placed;
        GetWindowRect(window, &placed);
        EXPECT_TRUE(EqualRect(&placed, &suggested)) << dpi << ": " << placed.left << "," << placed.top << ","
                                                    << placed.right << "," << placed.bottom;
        EXPECT_EQ(form->Width(), suggested.right - suggested.left);
        ExpectLaidOutAt(*form, dpi, 2);
        // Sizes in points are taken at the form's scale from now on.
        TFont probe;
        probe.Assign(*form->Font());
        probe.SetSize(9);
        EXPECT_EQ(probe.Height(), -MulDiv(9, dpi, 72));
    }
    delete form;
}

TEST(DisplayScale, UnscaledFormKeepsItsDesignPixelsAndStillMoves)
{
    TScaleForm form(nullptr);
    form.SetScaled(false);
    form.FinishCreation();
    form.Show();
    ExpectLaidOutAt(form, 96);
    const RECT suggested{60, 70, 60 + 700, 70 + 560};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT placed;
    GetWindowRect(form.Handle(), &placed);
    EXPECT_TRUE(EqualRect(&placed, &suggested));
    EXPECT_EQ(WindowDpi(form.Handle()), 192u);
    // Nothing inside was rescaled.
    EXPECT_EQ(form.LeftButton->Width(), 75);
    EXPECT_EQ(form.Font()->Height(), -12);
    EXPECT_EQ(form.List->Columns()->Items(1)->Width(), 125);
}

TEST(DisplayScale, TabsKeepTheirRoomAroundTheCaptionAtEveryScale)
{
    // The tab control's room around a caption (6 x 3 pixels at 96) and its
    // least tab width (54) grow with the form's scale, as the captions' font
    // does; the pages move under the taller tabs.
    TForm form(nullptr);
    form.SetBounds(20, 30, 420, 300);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(8, 8, 400, 250);
    for (const char* caption : {"Ledger", "Tools", "收支管理"}) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    form.FinishCreation();
    form.Show();
    HWND window = form.Handle();
    for (int dpi : {192, 144, 96}) {
        SCOPED_TRACE(dpi);
        const RECT suggested{50, 40, 50 + Px(430, dpi), 40 + Px(320, dpi)};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ASSERT_EQ(form.CurrentPixelsPerInch(), dpi);
        HWND tabs = pages->Handle();
        HDC dc = GetDC(tabs);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(tabs, WM_GETFONT, 0, 0)));
        int tabBottom = 0;
        for (int i = 0; i < pages->TabCount(); ++i) {
            const RECT tab = pages->TabRect(i);
            wchar_t text[32] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 32;
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            SIZE extent{};
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
            EXPECT_GE(tab.right - tab.left, Px(54, dpi)) << "tab " << i;
            EXPECT_GE(tab.right - tab.left - extent.cx, 2 * Px(6, dpi)) << "tab " << i;
            // (The tab control adds the vertical room once to a tab's height.)
            EXPECT_GT(tab.bottom - tab.top - extent.cy, Px(3, dpi)) << "tab " << i;
            tabBottom = std::max<int>(tabBottom, tab.bottom);
        }
        SelectObject(dc, old);
        ReleaseDC(tabs, dc);
        EXPECT_GE(pages->DisplayRect().top, tabBottom) << "the page lies under the tabs";
        TTabSheet* sheet = pages->ActivePage();
        ASSERT_NE(sheet, nullptr);
        EXPECT_GE(sheet->Top(), tabBottom) << "the sheet moved under the tabs";
    }
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST(DisplayScale, ToolBarPicturesAndButtonsFollowTheFormsScale)
{
    // A 16 x 16 picture: a red 8 x 8 square on magenta, which is left out.
    // At each scale the bar's window holds the picture at that scale, the
    // square enlarged by whole pixels and nothing of the magenta kept; its
    // buttons grow with it; back at 96 it has the list itself again.
    TForm form(nullptr);
    form.SetBounds(20, 30, 420, 200);
    auto* images = new TImageList(&form);
    {
        TBitmap picture(16, 16, pf24bit);
        HDC dc = picture.Canvas()->Handle();
        RECT all{0, 0, 16, 16}, square{4, 4, 12, 12};
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), red = CreateSolidBrush(RGB(250, 0, 0));
        FillRect(dc, &all, magenta);
        FillRect(dc, &square, red);
        DeleteObject(magenta);
        DeleteObject(red);
        ASSERT_EQ(images->AddMasked(&picture, clFuchsia), 0);
    }
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    bar->SetBounds(8, 8, 400, 30);
    bar->SetImages(images);
    TToolButton* button = bar->AddButton("收入", tbsButton, 0);
    form.FinishCreation();
    form.Show();
    Pump();
    // The walk starts from the scale the form was made at.
    const UINT start = WindowDpi(form.Handle());
    for (UINT dpi : {192u, 144u, 96u, start}) {
        SCOPED_TRACE(dpi);
        RECT place{};
        GetWindowRect(form.Handle(), &place);
        SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        Pump();
        auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(bar->Handle(), TB_GETIMAGELIST, 0, 0));
        ASSERT_TRUE(list);
        const int side = ScaleToDpi(16, dpi);
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
        EXPECT_EQ(cx, side);
        EXPECT_EQ(cy, side);
        EXPECT_EQ(list == images->Handle(), dpi == 96);
        // Drawn over white: the square, and white where the magenta was.
        TBitmap drawn(side, side, pf24bit);
        HDC dc = drawn.Canvas()->Handle();
        PatBlt(dc, 0, 0, side, side, WHITENESS);
        ImageList_Draw(list, 0, dc, 0, 0, ILD_TRANSPARENT);
        int red = 0, white = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                red += c == RGB(250, 0, 0);
                white += c == RGB(255, 255, 255);
            }
        const int square = ScaleToDpi(8, dpi);
        EXPECT_EQ(red, square * square);
        EXPECT_EQ(red + white, side * side) << "no colour but the square's and the white under it";
        EXPECT_EQ(GetPixel(dc, side / 2, side / 2), RGB(250, 0, 0));
        EXPECT_GT(button->BoundsRect().bottom - button->BoundsRect().top, side) << "the button holds the picture";
    }
}

}  // namespace
