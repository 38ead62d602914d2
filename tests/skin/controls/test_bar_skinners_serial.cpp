// The bar skinners on a skinned form: discovery gives a list box, a memo and
// a scroll-bar control their overlays, and track bars, up-downs and progress
// bars their skinners; the overlays follow the lists' scrolling (arrow,
// wheel, keyboard) and the progress bar shows its share; switching the skin
// off frees every overlay and leaves the controls as the system draws them.
// The test skin's frames are solid colours (bar_skin_support.h), so a pixel
// names the frame drawn there.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/display_scale.h"
#include "framework/ext_controls.h"
#include "framework/list_box.h"
#include "framework/memo.h"
#include "framework/page_control.h"
#include "framework/range_controls.h"
#include "framework/std_controls.h"
#include "skin/controls/edit_skinner.h"
#include "skin/controls/picker_arrow.h"
#include "skin/controls/range_skinners.h"
#include "skin/controls/scrollbar_skinner.h"
#include "tests/skin/controls/bar_skin_support.h"
#include "tests/skin/controls/control_skin_support.h"

using namespace controltest;
using namespace bartest;

namespace {

struct TBarControls {
    TListBox* List = nullptr;
    TMemo* Memo = nullptr;
    TScrollBar* Bar = nullptr;
    TTrackBar* Track = nullptr;
    TTrackBar* Upright = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* UpDown = nullptr;
    TProgressBar* Progress = nullptr;
};

class BarSkinners : public ControlSkinTest {
protected:
    TForm* MakeForm(bool active)
    {
        TForm* form = new TForm(nullptr);
        form->SetBounds(100, 80, 560, 380);
        form->SetCaption("Ravelbook");
        FSkin = new TSkinData(form);
        FSkin->BeginLoading();
        TMemoryStream stream;
        const skintest::TBytes bytes = BarSkin().Stored();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        ConfigureStoredSkin(*FSkin, stream);
        if (!active) FSkin->SetActive(false);
        auto place = [&](auto* control, int x, int y, int w, int h) {
            control->SetParent(form);
            control->SetBounds(x, y, w, h);
            return control;
        };
        C.List = place(new TListBox(form), 10, 10, 150, 200);
        for (int i = 0; i < 300; ++i) C.List->Items()->Add("Line " + std::to_string(i));
        C.Memo = place(new TMemo(form), 170, 10, 150, 200);
        C.Memo->SetScrollBars(ssVertical);
        for (int i = 0; i < 100; ++i) C.Memo->Lines()->Add("Memo line " + std::to_string(i));
        C.Bar = place(new TScrollBar(form), 10, 220, 200, 17);
        C.Bar->SetParams(0, 0, 100);
        C.Track = place(new TTrackBar(form), 10, 245, 200, 40);
        C.Upright = new TTrackBar(form);
        C.Upright->SetOrientation(trVertical);
        place(C.Upright, 340, 10, 40, 150);
        C.Edit = place(new TEdit(form), 230, 245, 60, 21);
        C.UpDown = place(new TUpDown(form), 0, 0, 16, 21);
        C.UpDown->SetAssociate(C.Edit);
        C.Progress = place(new TProgressBar(form), 10, 295, 200, 18);
        C.Progress->SetMax(200);
        form->FinishCreation();
        Keep(form);
        form->Show();
        if (active) EXPECT_TRUE(WaitSkinned(form));
        else Pump(50);
        return form;
    }

    template <class T>
    T* Skinner(TForm* form, TControl* control)
    {
        return dynamic_cast<T*>(SkinnerFor(SkinnerOf(form->Handle()), control));
    }

    TBarControls C;
};

SCROLLBARINFO VerticalBar(HWND window)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(window, OBJID_VSCROLL, &info);
    return info;
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// The overlay's thumb sits where the system puts the list's thumb: thumb
// colour at its two ends (a grip may fill all but one pixel at each end of a
// short thumb), track colour just outside.
void ExpectThumbFollows(TWScrollbar* overlay, HWND host, const char* when)
{
    SCOPED_TRACE(when);
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(overlay->Shown());
    const SCROLLBARINFO bar = VerticalBar(host);
    HWND window = overlay->Handle();
    EXPECT_EQ(ClientPixel(window, 8, bar.xyThumbTop), Ref(ThumbFrame(1)));
    EXPECT_EQ(ClientPixel(window, 8, bar.xyThumbBottom - 1), Ref(ThumbFrame(1)));
    // Beside the thumb is track unless the thumb touches an arrow (whose
    // length is the system's, at the display's scale).
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    if (bar.xyThumbTop > arrow) {
        EXPECT_EQ(ClientPixel(window, 8, bar.xyThumbTop - 1), Ref(TrackFrame(1)));
    }
    const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    if (bar.xyThumbBottom + 1 < length - arrow) {
        EXPECT_EQ(ClientPixel(window, 8, bar.xyThumbBottom + 1), Ref(TrackFrame(1)));
    }
}

int TopIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

}  // namespace

TEST_F(BarSkinners, OverlaysFollowTheListsAndTheBarsShowTheirSkin)
{
    TForm* form = MakeForm(true);
    auto* listBars = Skinner<TSkinScrollbar>(form, C.List);
    ASSERT_NE(listBars, nullptr);
    ASSERT_NE(Skinner<TSkinScrollbar>(form, C.Memo), nullptr);
    ASSERT_NE(Skinner<TSkinScControl>(form, C.Bar), nullptr);
    ASSERT_NE(Skinner<TSkinTrackBar>(form, C.Track), nullptr);
    ASSERT_NE(Skinner<TSkinUpDown>(form, C.UpDown), nullptr);
    ASSERT_NE(Skinner<TSkinProgress>(form, C.Progress), nullptr);
    HWND list = C.List->Handle();
    Pump(50);
    TWScrollbar* overlay = listBars->VertOverlay();
    ExpectThumbFollows(overlay, list, "at the top");
    EXPECT_FALSE(listBars->HorzOverlay()->Shown());

    // The down arrow, pressed on the overlay: one line, the thumb follows and
    // the arrow is normal again once the system's tracking ended.
    const SCROLLBARINFO bar = VerticalBar(list);
    const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    RECT client;
    GetClientRect(list, &client);
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(client.right + 8, length - 4));
    SendMessageA(overlay->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, length - 4));
    Pump(30);
    EXPECT_EQ(TopIndex(list), 1);
    ExpectThumbFollows(overlay, list, "after the down arrow");
    EXPECT_EQ(ClientPixel(overlay->Handle(), 8, length - 4), Ref(ScrollFrame(13)));

    // The wheel and the keyboard scroll the list; the overlay follows.
    SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA * 5), 0);
    Pump(30);
    EXPECT_GT(TopIndex(list), 3);
    ExpectThumbFollows(overlay, list, "after the wheel");
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    Pump(30);
    ExpectThumbFollows(overlay, list, "after End");

    // The memo's bar follows its own scrolling.
    HWND memo = C.Memo->Handle();
    SendMessageA(memo, EM_LINESCROLL, 0, 40);
    Pump(30);
    ExpectThumbFollows(Skinner<TSkinScrollbar>(form, C.Memo)->VertOverlay(), memo, "memo scrolled by 40 lines");

    // Progress at 0, 50 and 100 %: its filled share of the client area (the
    // control keeps a thin edge of its own) in the skin's frame 2.
    RECT progressClient;
    GetClientRect(C.Progress->Handle(), &progressClient);
    const int progressWidth = progressClient.right;
    ASSERT_GT(progressWidth, 150);
    for (int position : {0, 100, 200}) {
        C.Progress->SetPosition(position);
        UpdateWindow(C.Progress->Handle());
        SCOPED_TRACE(position);
        const int filledTo = progressWidth * position / 200;
        const int middle = progressClient.bottom / 2;
        if (filledTo > 1) {
            EXPECT_EQ(ClientPixel(C.Progress->Handle(), filledTo - 2, middle), Ref(ProgressFrame(2)));
        }
        if (filledTo < progressWidth - 2) {
            EXPECT_EQ(ClientPixel(C.Progress->Handle(), filledTo + 2, middle), Ref(ProgressFrame(1)));
        }
    }

    // The up-down's halves from the skin; a click on the upper half steps
    // the edit.
    HWND upDown = C.UpDown->Handle();
    RECT spin;
    GetClientRect(upDown, &spin);
    RedrawWindow(upDown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ClientPixel(upDown, spin.right / 2, 3), Ref(UpDownFrameColour(1)));
    SendMessageA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.right / 2, 3));
    SendMessageA(upDown, WM_LBUTTONUP, 0, MAKELPARAM(spin.right / 2, 3));
    char text[16] = {};
    GetWindowTextA(C.Edit->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "1");

    // The track bar's thumb (no thumb image in this skin: a ButtonShadow
    // outline) follows TBM_SETPOS.
    SendMessageA(C.Track->Handle(), TBM_SETPOS, TRUE, 8);
    UpdateWindow(C.Track->Handle());
    RECT thumb{};
    SendMessageA(C.Track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(ClientPixel(C.Track->Handle(), thumb.left, (thumb.top + thumb.bottom) / 2), RGB(167, 167, 167));

    // A vertical bar: the built-in upright channel (a grey left column, white
    // beside it) down the middle, and the thumb where its position puts it,
    // near the top for 2 and near the bottom for 8.
    ASSERT_NE(Skinner<TSkinTrackBar>(form, C.Upright), nullptr);
    HWND upright = C.Upright->Handle();
    int lastTop = -1;
    for (int position : {2, 8}) {
        SCOPED_TRACE(position);
        SendMessageA(upright, TBM_SETPOS, TRUE, position);
        RedrawWindow(upright, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(upright, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        RECT client{};
        GetClientRect(upright, &client);
        const int range = client.bottom - (thumb.bottom - thumb.top);
        EXPECT_NEAR(thumb.top, range * position / 10, 12);
        EXPECT_GT(thumb.top, lastTop);
        lastTop = thumb.top;
        EXPECT_EQ(ClientPixel(upright, thumb.left, (thumb.top + thumb.bottom) / 2), RGB(167, 167, 167));
        EXPECT_EQ(ClientPixel(upright, (thumb.left + thumb.right) / 2, thumb.top), RGB(167, 167, 167));
        // The channel, away from the thumb.
        const int y = position < 5 ? client.bottom - 20 : 20;
        int greyAt = -1;
        for (int x = 0; x < client.right && greyAt < 0; ++x)
            if (ClientPixel(upright, x, y) == RGB(128, 128, 128)) greyAt = x;
        ASSERT_GE(greyAt, 0) << "no channel drawn";
        EXPECT_NEAR(greyAt, (thumb.left + thumb.right) / 2 - 2, 3) << "down the middle of the thumb's way";
        // The white line right of the grey one: one skin pixel on, at the
        // display's scale (a pixel of the skin is 1.5 wide at 144).
        const int next = greyAt + ScaleToDpi(1, WindowDpi(upright));
        EXPECT_EQ(ClientPixel(upright, next, y), RGB(255, 255, 255));
        EXPECT_EQ(ClientPixel(upright, next, position < 5 ? y - 30 : y + 30), RGB(255, 255, 255)) << "stretched along the channel";
    }
}

TEST_F(BarSkinners, SwitchedOffEveryOverlayGoesAndTheControlsLookAsBefore)
{
    TForm* form = MakeForm(false);
    HWND list = C.List->Handle();
    const TPixelsOf plainList = ReadWindow(list);
    const TPixelsOf plainBar = ReadWindow(C.Bar->Handle());
    const TPixelsOf plainProgress = ReadWindow(C.Progress->Handle());

    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    auto* bars = Skinner<TSkinScrollbar>(form, C.List);
    ASSERT_NE(bars, nullptr);
    HWND overlay = bars->VertOverlay()->Handle();
    HWND barOverlay = Skinner<TSkinScControl>(form, C.Bar)->Overlay()->Handle();
    ASSERT_TRUE(IsWindowVisible(overlay));
    EXPECT_NE(ReadWindow(list), plainList);  // the skinned border

    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_FALSE(IsWindow(barOverlay));
    EXPECT_EQ(ReadWindow(list), plainList);
    EXPECT_EQ(ReadWindow(C.Bar->Handle()), plainBar);
    EXPECT_EQ(ReadWindow(C.Progress->Handle()), plainProgress);
    // And the list scrolls by its own bar again.
    SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(TopIndex(list), 1);
}

// Controls on a page not shown get their overlay windows (the bars' and the
// picker's arrow) only when the page first shows: none is made while they
// are off screen, each is there, on top of its control and painted from the
// skin, once they are seen, and each goes with the skin.
TEST_F(BarSkinners, OverlaysOfControlsOffScreenAreMadeWhenTheyFirstShow)
{
    TForm* form = new TForm(nullptr);
    form->SetBounds(100, 80, 560, 380);
    FSkin = new TSkinData(form);
    FSkin->BeginLoading();
    TMemoryStream stream;
    const skintest::TBytes bytes = BarSkin().Stored();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*FSkin, stream);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(10, 10, 520, 320);
    TTabSheet* sheets[2] = {new TTabSheet(form), new TTabSheet(form)};
    for (TTabSheet* sheet : sheets) sheet->SetPageControl(pages);
    auto* list = new TListBox(form);
    list->SetParent(sheets[1]);
    list->SetBounds(10, 10, 150, 200);
    for (int i = 0; i < 300; ++i) list->Items()->Add("Line " + std::to_string(i));
    auto* bar = new TScrollBar(form);
    bar->SetParent(sheets[1]);
    bar->SetBounds(10, 220, 200, 17);
    auto* picker = new TDateTimePicker(form);
    picker->SetParent(sheets[1]);
    picker->SetBounds(180, 10, 150, 21);
    pages->SetActivePageIndex(0);
    form->FinishCreation();
    Keep(form);
    form->Show();
    ASSERT_TRUE(WaitSkinned(form));
    Pump(50);

    auto* listBars = Skinner<TSkinScrollbar>(form, list);
    auto* barSkinner = Skinner<TSkinScControl>(form, bar);
    auto* pickerSkinner = Skinner<TSkinDateTime>(form, picker);
    ASSERT_TRUE(listBars && barSkinner && pickerSkinner);
    ASSERT_TRUE(listBars->VertOverlay() && barSkinner->Overlay() && pickerSkinner->Arrow());
    EXPECT_FALSE(listBars->VertOverlay()->HandleAllocated());
    EXPECT_FALSE(listBars->VertOverlay()->Shown());
    EXPECT_FALSE(barSkinner->Overlay()->HandleAllocated());
    EXPECT_FALSE(pickerSkinner->Arrow()->HandleAllocated());

    pages->SetActivePageIndex(1);
    Pump(50);
    TWScrollbar* overlay = listBars->VertOverlay();
    ASSERT_TRUE(overlay->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(overlay->Handle()));
    EXPECT_EQ(GetWindow(overlay->Handle(), GW_HWNDNEXT), list->Handle()) << "directly above the list";
    ExpectThumbFollows(overlay, list->Handle(), "the page first shown");
    TWScrollbar* control = barSkinner->Overlay();
    ASSERT_TRUE(control->HandleAllocated());
    EXPECT_TRUE(control->Shown());
    RECT covered, host;
    GetWindowRect(control->Handle(), &covered);
    GetWindowRect(bar->Handle(), &host);
    EXPECT_TRUE(EqualRect(&covered, &host)) << "over the whole scroll-bar control";
    ASSERT_TRUE(pickerSkinner->Arrow()->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(pickerSkinner->Arrow()->Handle()));
    EXPECT_EQ(GetParent(pickerSkinner->Arrow()->Handle()), picker->Handle());

    const HWND made[] = {overlay->Handle(), control->Handle(), pickerSkinner->Arrow()->Handle()};
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    for (HWND window : made) EXPECT_FALSE(IsWindow(window));
}
