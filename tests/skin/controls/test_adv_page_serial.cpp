// A page control that paints its own tabs, named "advpagecontrol" in the
// skin's class table, on a skinned form: its skinner hands it the skin's
// ordinary and chosen tab frames as pictures, so that the chosen tab and the
// others show those frames (and swap them after a click), its tab scroller
// is skinned, and it is given back pixel-identical when the skin goes.
#include "control_skin_support.h"

#include <commctrl.h>

#include "framework/adv_page_control.h"
#include "framework/std_controls.h"
#include "skin/controls/adv_page_skinner.h"

namespace {

using namespace controltest;

TAdvPageControl* PaintedPages(TForm* form, int x, int y, int w, int h, int count)
{
    auto* pages = new TAdvPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(x, y, w, h);
    for (int i = 0; i < count; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(i == 0 ? "收入" : i == 1 ? "支出" : "备注");
    }
    pages->SetActivePageIndex(0);
    return pages;
}

class AdvPageSkinTest : public ControlSkinTest {};

TEST_F(AdvPageSkinTest, TabsShowTheSkinsFramesFromThePicturesItIsGiven)
{
    TAdvPageControl* pages = nullptr;
    TAdvPageControl* many = nullptr;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            pages = PaintedPages(f, 10, 10, 300, 120, 3);
            many = PaintedPages(f, 10, 150, 120, 80, 9);
        },
        false);
    FSkin->Skin3rd()->Add("TAdvPageControl=advpagecontrol");
    const TPixelsOf plain = ReadWindow(pages->Handle());
    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    TWinSkinForm* formSkinner = SkinnerOf(form->Handle());
    auto* skinner = dynamic_cast<TSkinAdvPage*>(SkinnerFor(formSkinner, pages));
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Mode(), 4);
    EXPECT_EQ(pages->TabBackGround()->Width(), TSkinAdvPage::PICTURE_WIDTH);
    EXPECT_EQ(pages->TabBackGroundActive()->Height(), TSkinAdvPage::PICTURE_HEIGHT);
    // The scroller of the control whose tabs do not fit has its skinner.
    HWND scroller = FindWindowExA(many->Handle(), nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(scroller, nullptr);
    RedrawWindow(many->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    TSkinControl* arrows = SkinnerFor(formSkinner, nullptr, scroller);
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(arrows->ClassName(), "TSkinUpDown");

    // Frame `frame` of the skin's tab strip at the pictures' size, stretched
    // to a tab: its column two pixels in from the left (clear of the caption).
    const TDataSkinObject* tabs = ScaledSkin(FSkin).Object(ssTabs);
    auto expected = [&](int frame, const RECT& tab) {
        const int w = tab.right - tab.left, h = tab.bottom - tab.top;
        TBitmap picture(TSkinAdvPage::PICTURE_WIDTH, TSkinAdvPage::PICTURE_HEIGHT, pf24bit);
        const RECT all{0, 0, TSkinAdvPage::PICTURE_WIDTH, TSkinAdvPage::PICTURE_HEIGHT};
        TGdiBrush face(CreateSolidBrush(SkinColourRgb(FSkin, scButtonFace)));
        FillRect(picture.Canvas()->Handle(), &all, face);
        DrawObjectFrame(picture.Canvas()->Handle(), all, std::max(tabs->Frame, 1), frame, tabs);
        void* bits = nullptr;
        TGdiBitmap target = skin::MakeDibSection(w, h, 32, &bits);
        TMemoryDC memory(nullptr);
        TSelectObject selected(memory, target);
        {
            TMemoryDC from(nullptr);
            TSelectObject source(from, picture.Handle());
            SetStretchBltMode(memory, COLORONCOLOR);
            StretchBlt(memory, 0, 0, w, h, from, 0, 0, all.right, all.bottom, SRCCOPY);
        }
        return DibColumn(bits, w, h, 2);
    };
    auto shown = [&](const RECT& tab) { return WindowColumn(pages->Handle(), tab, 2); };
    // Where the control painted each tab (inside the frame the system
    // draws around it).
    auto item = [&](int index) {
        ReadWindow(pages->Handle());
        const RECT painted = pages->PaintedTabRect(index);
        EXPECT_LT(painted.left, painted.right) << index;
        return painted;
    };
    const RECT first = item(0), second = item(1);
    ASSERT_NE(expected(1, second), expected(2, second)) << "the skin's two tab frames differ";
    EXPECT_EQ(shown(first), expected(2, first)) << "chosen";
    EXPECT_EQ(shown(second), expected(1, second)) << "ordinary";

    // A click on the second tab chooses it: the looks change places.
    const RECT tab = pages->TabRect(1);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.left + 6, tab.top + 6));
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(tab.left + 6, tab.top + 6));
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(shown(item(1)), expected(2, item(1))) << "chosen by the click";
    EXPECT_EQ(shown(item(0)), expected(1, item(0)));

    // Given back as it was (with the first page chosen again).
    pages->SetActivePageIndex(0);
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_TRUE(pages->TabBackGround()->Empty());
    EXPECT_TRUE(SamePixels(ReadWindow(pages->Handle()), plain));
}

}  // namespace
