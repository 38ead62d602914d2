// The program's windows as the user sees them with the skin on: the main
// window, the entry editor on its add and edit tabs, the delete
// confirmation, the category editor and a message box of the program. Each
// one is shown and activated in turn, checked to be skinned, to show the
// skin's top border across its caption and to carry the caption buttons its
// border icons call for, and captured whole (frame included) into the
// build's screenshots folder as a BMP for people to look at. Switching the
// skin off then gives every window its own procedure, style and client size
// back. Serial: the windows are shown and activated on the display.
#include "tests/app/skinned_ledger_fixture.h"
#include "tests/app/window_capture.h"

#include <map>
#include <set>

#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model.h"
#include "framework/group_box.h"
#include "framework/status_bar.h"
#include "skin/controls/button_skinner.h"
#include "skin/form/form_skinner.h"
#include "skin/form/nc_objects.h"
#include "tests/thread_windows.h"

namespace {

TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

bool IsSkinned(HWND window)
{
    const TWinSkinForm* skinner = SkinnerOf(window);
    return skinner && skinner->SkinState() == fssSkinned;
}

// The share of the caption strip between the side borders whose pixels are
// the skin's top border (the active frame) as drawn at that size. Text, icon
// and buttons cover the rest.
double TopBorderShare(const TCapture& capture, const TWinSkinForm& skinner)
{
    // The skin as the window draws it: at the window's scale.
    const TDataSkinBorder* top = skinner.Skin().Border(sbTop);
    const int width = capture.Width - skinner.BorderLeft() - skinner.BorderRight();
    const int height = skinner.BorderTop();
    if (!top || top->Bitmap.Empty() || width <= 0 || height <= 0 || height > capture.Height) return 0;
    TGdiBitmap reference = skin::BuildFrameBitmap(RECT{0, 0, width, height}, top->Bitmap.Handle(), SkinMargins(*top),
                                                  1, std::max(1, static_cast<int>(top->Frame)), top->Tile != 1, true);
    skin::TPixels pixels;
    if (reference.IsNull() || !skin::ReadPixels(reference, pixels)) return 0;
    int same = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            same += (pixels.At(x, y) & 0xFFFFFF) == capture.At(x + skinner.BorderLeft(), y);
    return double(same) / (width * height);
}

// The actions of the caption buttons shown, and of those shown enabled.
struct TButtonSet {
    std::set<int> Shown, Enabled;
};
TButtonSet ButtonsOf(const TWinSkinForm& skinner)
{
    TButtonSet set;
    for (const TWinSysButton* button : skinner.Buttons()) {
        if (!button->Visible) continue;
        set.Shown.insert(button->Action());
        if (button->Enabled) set.Enabled.insert(button->Action());
    }
    return set;
}

// What a window looked like before the skin touched it: its procedure,
// style, client size and where its child windows lie in its client area.
struct TOriginal {
    HWND Window;
    LONG_PTR Procedure;
    LONG Style;
    RECT Client;
    std::map<HWND, RECT> Children;
};
TOriginal OriginalOf(HWND window)
{
    TOriginal original{window, GetWindowLongPtrA(window, GWLP_WNDPROC),
                       GetWindowLongA(window, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED), {}, {}};
    GetClientRect(window, &original.Client);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        original.Children[child] = r;
    }
    return original;
}

// The message box met by the answering timer: whether it was skinned, what
// its caption showed, and its picture.
struct TBoxSeen {
    HWND Window = nullptr;
    bool Skinned = false;
    LRESULT IsSkinnedAnswer = 0;
    double TopShare = 0;
    std::set<int> Buttons;
    std::string Text;
    TCapture Capture;
    int Ticks = 0;
} BoxSeen;

// Waits (inside the box's modal loop) for the box to be skinned, looks at
// it, captures it and answers OK; gives up after two seconds.
void CALLBACK LookAtBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = nullptr;
    box = testwin::VisibleThreadWindow(testwin::MESSAGE_BOX_CLASS);
    if (!box) return;
    ++BoxSeen.Ticks;
    if (!IsSkinned(box) && BoxSeen.Ticks < 40) return;
    KillTimer(nullptr, id);
    BoxSeen.Window = box;
    BoxSeen.Skinned = IsSkinned(box);
    BoxSeen.IsSkinnedAnswer = SendMessageA(box, SKM_ISSKINNED, 0, SKIN_SIGNATURE);
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    BoxSeen.Text = text;
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    BoxSeen.Capture = CaptureWindow(box);
    if (const TWinSkinForm* skinner = SkinnerOf(box)) {
        BoxSeen.TopShare = TopBorderShare(BoxSeen.Capture, *skinner);
        BoxSeen.Buttons = ButtonsOf(*skinner).Shown;
    }
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// The control skinner of `control` on `skinner`'s window, or null.
TSkinControl* ControlSkinnerOf(const TWinSkinForm& skinner, const TControl* control)
{
    for (TSkinControl* s : skinner.ControlSkinners())
        if (s->Serves(nullptr, control)) return s;
    return nullptr;
}

// Every button, group box and status bar of `form` has its skinner, and
// each visible button's border band (where no caption is drawn) is the
// frame of the skin's "Buttons" strip for the button's state.
void ExpectControlsSkinned(TForm* form, const TWinSkinForm& skinner, const TCapture& capture)
{
    const TDataSkinButton* buttons = skinner.Skin().Buttons.get();
    ASSERT_TRUE(buttons && !buttons->Bitmap.Empty());
    int buttonsSeen = 0;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* control = As<TWinControl>(form->Components(i));
        if (!control || !control->HandleAllocated()) continue;
        TSkinControl* s = ControlSkinnerOf(skinner, control);
        const std::string expected = As<TButton>(control)            ? "TSkinButton"
                                     : As<TCustomGroupBox>(control)  ? "TSkinGroupBox"
                                     : As<TCustomStatusBar>(control) ? "TSkinStatusBar"
                                                                     : "";
        if (expected.empty()) continue;
        ASSERT_TRUE(s) << control->Name() << " has no skinner";
        EXPECT_EQ(s->ClassName(), expected) << control->Name();
        auto* button = As<TButton>(control);
        if (!button || !IsWindowVisible(control->Handle())) continue;
        ++buttonsSeen;
        // Where the button lies in the capture of the whole window.
        RECT bounds{}, frame{};
        GetWindowRect(control->Handle(), &bounds);
        // No status bar over it (the client area a skin leaves can be
        // lower than the system's frame leaves).
        for (int j = 0; j < form->ComponentCount(); ++j) {
            auto* bar = As<TCustomStatusBar>(form->Components(j));
            if (!bar || !bar->HandleAllocated() || !IsWindowVisible(bar->Handle())) continue;
            RECT barRect{}, common{};
            GetWindowRect(bar->Handle(), &barRect);
            EXPECT_FALSE(IntersectRect(&common, &barRect, &bounds)) << control->Name() << " is under " << bar->Name();
        }
        GetWindowRect(form->Handle(), &frame);
        const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
        const int index = static_cast<TSkinButton*>(s)->FrameIndex();
        TGdiBitmap reference = skin::BuildFrameBitmap(RECT{0, 0, w, h}, buttons->Bitmap.Handle(), SkinMargins(*buttons),
                                                      index, 5, buttons->Tile != 0, false);
        skin::TPixels pixels;
        ASSERT_TRUE(!reference.IsNull() && skin::ReadPixels(reference, pixels));
        // The band is 2 pixels wide; on the focused button only the outer
        // one: its focus rectangle, 2 pixels around the centred caption, may
        // reach the second row of a button not much taller than its text.
        const int band = GetFocus() == control->Handle() ? 1 : 2;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (x >= band && y >= band && x < w - band && y < h - band) continue;
                const int cx = bounds.left - frame.left + x, cy = bounds.top - frame.top + y;
                if (cx < 0 || cy < 0 || cx >= capture.Width || cy >= capture.Height) continue;
                wrong += (pixels.At(x, y) & 0xFFFFFF) != capture.At(cx, cy);
            }
        EXPECT_EQ(wrong, 0) << control->Name() << " is not frame " << index << " of the skin's buttons";
    }
    EXPECT_GT(buttonsSeen, 0);
}

class SkinnedLedgerTest : public SkinnedLedgerFixture {
protected:
    // Activates a shown form and waits for its skin; checks and captures it.
    void LookAt(TForm* form, const char* name, const std::set<int>& shown, const std::set<int>& enabled)
    {
        SCOPED_TRACE(name);
        ASSERT_TRUE(form->Visible());
        const HWND window = form->Handle();
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return IsSkinned(window); })) << "not skinned";
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application->ProcessMessages();
        EXPECT_EQ(SendMessageA(window, SKM_ISSKINNED, 0, SKIN_SIGNATURE), SKIN_SIGNATURE);
        const TWinSkinForm* skinner = SkinnerOf(window);
        ASSERT_TRUE(skinner);
        EXPECT_TRUE(skinner->IsActive());

        const TCapture capture = CaptureWindow(window);
        EXPECT_TRUE(SaveBmp(capture, ScreenshotFolder() + name + ".bmp"));
        EXPECT_GT(TopBorderShare(capture, *skinner), 0.5) << "the caption strip is not the skin's top border";
        const TButtonSet buttons = ButtonsOf(*skinner);
        EXPECT_EQ(buttons.Shown, shown);
        EXPECT_EQ(buttons.Enabled, enabled);

        // The client area is the form's, inside the skin's borders.
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, form->ClientWidth());
        EXPECT_EQ(client.bottom, form->ClientHeight());
        EXPECT_EQ(capture.Width, client.right + skinner->BorderLeft() + skinner->BorderRight());
        EXPECT_EQ(capture.Height, client.bottom + skinner->BorderTop() + skinner->BorderBottom());
        ExpectControlsSkinned(form, *skinner, capture);
    }
};

// Caption-button actions: 0 close, 1 maximize, 2 minimize, 3 the window icon.
TEST_F(SkinnedLedgerTest, EveryWindowIsSkinnedThenGivenBack)
{
    WriteCategories({"工资", "住房", "日常", "网站建设"});
    StartSkinned({
        {"工资", "工资", "2026/12/1", "收入", "5000", "十二月的工资"},
        {"房租", "住房", "2026/12/2", "支出", "1500", "第一行\r\n第二行"},
        {"午饭", "日常", "2026/12/3", "支出", "25", ""},
    });
    if (HasFatalFailure()) return;
    std::vector<TOriginal> originals;
    for (TForm* form : std::initializer_list<TForm*>{Form1, Form2, Form3, Form4})
        originals.push_back(OriginalOf(form->Handle()));

    Form1->Show();
    LookAt(Form1, "skinned_main_window", {0, 1, 2, 3}, {0, 1, 2, 3});

    Form1->ButtonaddnewinfoClick(nullptr);
    LookAt(Form2, "skinned_entry_editor_add", {0, 1, 2, 3}, {0, 2, 3});
    Form2->Hide();
    DoubleClickGrid(1);
    LookAt(Form2, "skinned_entry_editor_edit", {0, 1, 2, 3}, {0, 2, 3});
    Form2->Hide();

    Form1->ButtondelClick(nullptr);
    LookAt(Form3, "skinned_delete_confirm", {0, 3}, {0, 3});
    Form3->Hide();

    Form2->ButtoneditxmlbClick(nullptr);
    LookAt(Form4, "skinned_category_editor", {0, 3}, {0, 3});
    Form4->Hide();

    // The search prompt, a real message box of the program.
    Application->SetMessageBoxHandler(nullptr);
    SetForegroundWindow(Form1->Handle());
    Application->ProcessMessages();
    SetWindowTextA(Form1->ComboBoxsearch->Handle(), "");
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtBox);
    Form1->ButtonsearchClick(nullptr);
    KillTimer(nullptr, timer);
    EXPECT_EQ(BoxSeen.Text, SEARCH_PROMPT);
    EXPECT_TRUE(BoxSeen.Skinned) << "the message box was not skinned";
    EXPECT_EQ(BoxSeen.IsSkinnedAnswer, SKIN_SIGNATURE);
    EXPECT_GT(BoxSeen.TopShare, 0.5) << "the box's caption strip is not the skin's top border";
    EXPECT_EQ(BoxSeen.Buttons, (std::set<int>{0})) << "a dialog frame shows only the close button";
    if (!BoxSeen.Capture.Pixels.empty()) {
        EXPECT_TRUE(SaveBmp(BoxSeen.Capture, ScreenshotFolder() + "skinned_message_box.bmp"));
    }
    EXPECT_FALSE(IsWindow(BoxSeen.Window));

    // Skin off: every window as it was, no control skinner left.
    Form1->SkinData1->SetActive(false);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormSkinners().empty(); }));
    EXPECT_EQ(TSkinControl::LiveCount(), 0);
    for (const TOriginal& original : originals) {
        const TOriginal now = OriginalOf(original.Window);
        EXPECT_EQ(now.Procedure, original.Procedure);
        EXPECT_EQ(now.Style, original.Style);
        EXPECT_EQ(now.Client.right, original.Client.right);
        EXPECT_EQ(now.Client.bottom, original.Client.bottom);
        // The controls back where they were (a layout that made room in the
        // skinned window's client area gives it back).
        for (const auto& [child, was] : original.Children) {
            const auto it = now.Children.find(child);
            ASSERT_NE(it, now.Children.end()) << "a child window is gone";
            EXPECT_TRUE(EqualRect(&it->second, &was))
                << GetDlgCtrlID(child) << " at " << it->second.left << "," << it->second.top << " was " << was.left
                << "," << was.top;
        }
        EXPECT_EQ(SendMessageA(original.Window, SKM_ISSKINNED, 0, SKIN_SIGNATURE), 0);
    }
}

}  // namespace
