// A tab set on a skinned form: the tab-set skinner paints each shown tab
// from the skin's tab frames turned upside down, the chosen one in the
// selected frame, paints the same into a DC it is handed, follows a click to
// another tab, and gives the tab set back pixel-identical when the skin is
// switched off.
#include "control_skin_support.h"

#include "framework/tab_set.h"
#include "skin/controls/tab_set_skinner.h"
#include "skin/data/frame_draw.h"

namespace {

using namespace controltest;

class TabSetSkinTest : public ControlSkinTest {};

TEST_F(TabSetSkinTest, ChosenAndOrdinaryTabsShowTheirFramesAndFollowAClick)
{
    TTabSet* set = nullptr;
    int changes = 0;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            set = new TTabSet(f);
            set->SetParent(f);
            set->SetBounds(10, 10, 300, 24);
            for (const char* caption : {"收入", "支出", "全部"}) set->Tabs()->Add(caption);
            set->SetTabIndex(0);
            set->OnChange = [&](TObject*) { ++changes; };
        },
        false);
    const TPixelsOf plain = ReadWindow(set->Handle());
    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    auto* skinner = dynamic_cast<TSkinTab31*>(SkinnerFor(SkinnerOf(form->Handle()), nullptr, set->Handle()));
    ASSERT_TRUE(skinner);
    EXPECT_EQ(SendMessageA(set->Handle(), SKM_QUERYSKIN, 0, 0), 1);

    // Each tab where the tab set puts it; the tab's own frame of the strip
    // turned upside down at its middle column (below the caption).
    const TPixelsOf px = ReadWindow(set->Handle());
    ASSERT_EQ(skinner->TabRects().size(), 3u);
    const TDataSkinObject* tabs = ScaledSkin(FSkin).Object(ssTabs);
    auto expected = [&](int frame, const RECT& tab) {
        const int w = tab.right - tab.left, h = tab.bottom - tab.top;
        void* bits = nullptr;
        TGdiBitmap image = skin::CopyBitmap(tabs->Bitmap.Handle(), 24);
        skin::FlipVertical(image);
        TGdiBitmap target = skin::MakeDibSection(w, h, 32, &bits);
        TMemoryDC memory(nullptr);
        TSelectObject selected(memory, target);
        RECT all{0, 0, w, h};
        TGdiBrush face(CreateSolidBrush(SkinColourRgb(FSkin, scButtonFace)));
        FillRect(memory, &all, face);
        skin::DrawFrameBitmap(memory, all, image, RECT{tabs->LeftWidth, tabs->TopHeight, tabs->RightWidth,
                                                       tabs->BottomHeight},
                              frame, std::max(tabs->Frame, 1), tabs->Trans != 0, tabs->Tile != 0, false);
        return DibColumn(bits, w, h, 2);
    };
    auto shown = [&](const RECT& tab) { return WindowColumn(set->Handle(), tab, 2); };
    for (int i = 0; i < 3; ++i) {
        const RECT tab = set->TabRect(i);
        EXPECT_TRUE(EqualRect(&tab, &skinner->TabRects()[i])) << i;
    }
    const RECT first = set->TabRect(0), second = set->TabRect(1);
    ASSERT_NE(expected(1, second), expected(2, second)) << "the skin's two tab frames differ";
    EXPECT_EQ(shown(first), expected(2, first)) << "chosen";
    EXPECT_EQ(shown(second), expected(1, second)) << "ordinary";
    EXPECT_FALSE(SamePixels(px, plain));

    // Painted into a DC it is handed, it shows the same skinned strip (the
    // tab set's own painting does not end up over it).
    {
        const int w = px.Width, h = px.Height;
        void* bits = nullptr;
        TGdiBitmap target = skin::MakeDibSection(w, h, 32, &bits);
        TMemoryDC memory(nullptr);
        TSelectObject selected(memory, target);
        SendMessageA(set->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(static_cast<HDC>(memory)), 0);
        GdiFlush();
        const auto* data = static_cast<const std::uint32_t*>(bits);
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differ += (data[y * w + x] & 0xFFFFFF) != px.At(x, y);
        EXPECT_EQ(differ, 0) << "pixels of the strip painted into a given DC that the window does not show";
    }

    // A click on the second tab chooses it; the looks change places.
    SendMessageA(set->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.left + 4, 8));
    SendMessageA(set->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(second.left + 4, 8));
    EXPECT_EQ(set->TabIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(shown(second), expected(2, second)) << "chosen by the click";
    EXPECT_EQ(shown(first), expected(1, first));

    // Given back as it was (with the first tab chosen again).
    set->SetTabIndex(0);
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_TRUE(SamePixels(ReadWindow(set->Handle()), plain));
}

}  // namespace
