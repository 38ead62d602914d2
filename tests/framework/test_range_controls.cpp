// Scroll bars, track bars, up-downs and progress bars: their windows follow
// the properties, the user's scrolling comes back as Position and events, the
// properties the skin engine reads by name are published, and the numbers
// survive a window being made again.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/forms.h"
#include "framework/range_controls.h"
#include "framework/std_controls.h"

namespace {

class TRangeForm : public TForm {
    DECLARE_CLASS_INLINE(TRangeForm, TForm)
public:
    explicit TRangeForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetBounds(30, 30, 420, 300);
        Bar = new TScrollBar(this);
        Bar->SetParent(this);
        Bar->SetBounds(10, 10, 200, 17);
        Track = new TTrackBar(this);
        Track->SetParent(this);
        Track->SetBounds(10, 40, 200, 40);
        Edit = new TEdit(this);
        Edit->SetParent(this);
        Edit->SetBounds(10, 100, 80, 21);
        UpDown = new TUpDown(this);
        UpDown->SetParent(this);
        Progress = new TProgressBar(this);
        Progress->SetParent(this);
        Progress->SetBounds(10, 140, 200, 18);
        FinishCreation();
    }
    TScrollBar* Bar;
    TTrackBar* Track;
    TEdit* Edit;
    TUpDown* UpDown;
    TProgressBar* Progress;
};

std::string WindowText(HWND window)
{
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

TEST(RangeControls, ScrollBarFollowsTheUsersScrollingAndItsProperties)
{
    TRangeForm form(nullptr);
    TScrollBar* bar = form.Bar;
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetParams(10, 0, 99);
    bar->SetLargeChange(20);
    bar->SetPageSize(10);
    EXPECT_EQ(changes, 1);
    HWND window = bar->Handle();
    SCROLLINFO info{sizeof info, SIF_ALL};
    ASSERT_TRUE(GetScrollInfo(window, SB_CTL, &info));
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 10);

    HWND parent = form.Handle();
    SendMessageA(parent, WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar->Position(), 11);
    SendMessageA(parent, WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar->Position(), 31);
    SendMessageA(parent, WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar->Position(), 90);  // max - page + 1
    SendMessageA(parent, WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar->Position(), 90);
    EXPECT_EQ(changes, 4);
    ASSERT_TRUE(GetScrollInfo(window, SB_CTL, &info));
    EXPECT_EQ(info.nPos, 90);
    // OnScroll may change where the user's request lands.
    bar->OnScroll = [](TObject*, TScrollCode code, int& position) {
        if (code == scPageUp) position = 42;
    };
    SendMessageA(parent, WM_HSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(bar->Position(), 42);

    // By name, as the skin engine reads it; turning it makes a vertical bar.
    EXPECT_EQ(GetEnumProp(*bar, "Kind"), "sbHorizontal");
    EXPECT_EQ(GetOrdProp(*bar, "PageSize"), 10);
    SetEnumProp(*bar, "Kind", "sbVertical");
    EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT);
    EXPECT_EQ(bar->Height(), 200);
    ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_CTL, &info));
    EXPECT_EQ(info.nPos, 42);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

TEST(RangeControls, TrackBarUpDownAndProgressBarKeepTheirNumbersInTheirWindows)
{
    TRangeForm form(nullptr);
    TTrackBar* track = form.Track;
    int trackChanges = 0;
    track->OnChange = [&](TObject*) { ++trackChanges; };
    track->SetMax(20);
    track->SetPosition(7);
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETRANGEMAX, 0, 0), 20);
    // The user moves the thumb: the window says where, OnChange runs.
    SendMessageA(track->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(track->Position(), 8);
    EXPECT_EQ(trackChanges, 2);
    SetEnumProp(*track, "Orientation", "trVertical");
    EXPECT_TRUE(GetWindowLongA(track->Handle(), GWL_STYLE) & TBS_VERT);
    EXPECT_EQ(track->Position(), 8);

    TUpDown* upDown = form.UpDown;
    upDown->SetMax(50);
    upDown->SetPosition(5);
    SetObjectProp(*upDown, "Associate", form.Edit);
    EXPECT_EQ(upDown->Left(), 90);
    EXPECT_EQ(upDown->Height(), 21);
    EXPECT_EQ(WindowText(form.Edit->Handle()), "5");
    int clicks = 0;
    TUDBtnType lastButton = btPrev;
    upDown->OnClick = [&](TObject*, TUDBtnType button) {
        ++clicks;
        lastButton = button;
    };
    HWND upDownWindow = upDown->Handle();
    const LPARAM upperHalf = MAKELPARAM(upDown->Width() / 2, 3);
    SendMessageA(upDownWindow, WM_LBUTTONDOWN, MK_LBUTTON, upperHalf);
    SendMessageA(upDownWindow, WM_LBUTTONUP, 0, upperHalf);
    EXPECT_EQ(upDown->Position(), 6);
    EXPECT_EQ(WindowText(form.Edit->Handle()), "6");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lastButton, btNext);
    bool allow = false;
    upDown->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    SendMessageA(upDownWindow, WM_LBUTTONDOWN, MK_LBUTTON, upperHalf);
    SendMessageA(upDownWindow, WM_LBUTTONUP, 0, upperHalf);
    EXPECT_EQ(upDown->Position(), 6);
    EXPECT_EQ(GetOrdProp(*upDown, "Position"), 6);
    // Freeing the associate lets go of it.
    delete form.Edit;
    EXPECT_EQ(upDown->Associate(), nullptr);

    TProgressBar* progress = form.Progress;
    progress->SetMax(200);
    progress->SetPosition(50);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 50);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETRANGE, FALSE, 0), 200);
    progress->SetPosition(500);
    EXPECT_EQ(progress->Position(), 200);
    progress->SetStep(30);
    progress->SetPosition(190);
    progress->StepIt();
    EXPECT_EQ(progress->Position(), 20);  // past the end it starts again
    SetEnumProp(*progress, "Orientation", "pbVertical");
    EXPECT_TRUE(GetWindowLongA(progress->Handle(), GWL_STYLE) & PBS_VERTICAL);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(progress->Width(), 18);
}
