// MDI frames of the framework under the skin: a frame with a window menu
// and three children, each child skinned; a maximized child's minimize,
// restore and close buttons on the skinned bar, clicked with the real mouse;
// the active child's menu merged into the frame's bar; tile and cascade;
// and the bar left right when the last child closes. Serial: windows are
// activated and clicked on the display.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "form_skin_support.h"
#include "framework/menus.h"
#include "skin/form/menu_bar.h"
#include "skin/form/nc_objects.h"
#include "tests/app/window_capture.h"

namespace {

using namespace formtest;

// A real click of the left button at a screen point.
void Click(POINT at)
{
    SetCursorPos(at.x, at.y);
    Pump(30);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Pump(60);
    SendInput(1, &input[1], sizeof(INPUT));
    Pump(100);
}

std::vector<std::wstring> BarCaptions(TWinSkinForm* skinner)
{
    std::vector<std::wstring> captions;
    for (const TMenuBtn* item : skinner->MenuBar()->Buttons) captions.push_back(item->Caption);
    return captions;
}

bool Contains(const std::vector<std::wstring>& list, const std::wstring& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

class MdiTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        Frame = Keep(new TForm(nullptr));
        Frame->SetBounds(60, 60, 640, 460);
        Frame->SetCaption("MDI frame");
        Frame->SetFormStyle(fsMDIForm);
        Skin = new TSkinData(Frame);
        Skin->BeginLoading();
        TMemoryStream stream;
        const skintest::TBytes bytes = skintest::StoredSkinBytes();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        ConfigureStoredSkin(*Skin, stream);
        Skin->SetSkinControls(DEFAULT_SKIN_CONTROLS | SkinControl(xcSystemMenu));
        auto* bar = new TMainMenu(Frame);
        TMenuItem* file = Add(bar->Items(), "&File", 0);
        Add(file, "&New", 0);
        Window = Add(bar->Items(), "&Window", 9);
        Add(Window, "&Tile", 0)->OnClick = [this](TObject*) { Frame->Tile(); };
        Add(Window, "&Cascade", 0)->OnClick = [this](TObject*) { Frame->Cascade(); };
        Frame->SetMenu(bar);
        Frame->SetWindowMenu(Window);
        Frame->FinishCreation();
        Frame->Show();
        SetForegroundWindow(Frame->Handle());
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(Frame->Handle()) && SkinnerOf(Frame->Handle())->SkinState() == fssSkinned; }));
        for (int i = 0; i < 3; ++i) {
            auto* child = new TForm(Frame);
            child->SetFormStyle(fsMDIChild);
            child->SetBounds(10 + 30 * i, 10 + 30 * i, 260, 160);
            child->SetCaption(("Child " + std::to_string(i + 1)).c_str());
            if (i == 2) {
                auto* menu = new TMainMenu(child);
                TMenuItem* own = Add(menu->Items(), "C&hild", 5);
                Add(own, "&Properties", 0);
                child->SetMenu(menu);
            }
            child->FinishCreation();
            child->Show();
            Children.push_back(child);
        }
        ASSERT_TRUE(PumpUntil([&] {
            for (TForm* child : Children)
                if (!SkinnerOf(child->Handle())) return false;
            return true;
        }));
        Skinner = SkinnerOf(Frame->Handle());
    }

    TMenuItem* Add(TMenuItem* parent, const char* caption, int group)
    {
        auto* item = new TMenuItem(Frame);
        item->SetCaption(caption);
        item->SetGroupIndex(group);
        parent->Add(item);
        return item;
    }

    // The maximized child's button with `action` on the bar, or null.
    const TWinSysButton* BarButton(int action)
    {
        for (const TWinSysButton* button : Skinner->Buttons())
            if (button->SkinButton->Visibility == 100 && button->Action() == action && button->Visible) return button;
        return nullptr;
    }

    POINT Screen(const RECT& rect)
    {
        RECT bounds{};
        GetWindowRect(Frame->Handle(), &bounds);
        return POINT{bounds.left + (rect.left + rect.right) / 2, bounds.top + (rect.top + rect.bottom) / 2};
    }

    TForm* Frame = nullptr;
    TSkinData* Skin = nullptr;
    TMenuItem* Window = nullptr;
    std::vector<TForm*> Children;
    TWinSkinForm* Skinner = nullptr;
};

TEST_F(MdiTest, AFrameWithChildrenIsSkinnedAndTilesAndCascades)
{
    ASSERT_NE(Frame->ClientHandle(), nullptr);
    EXPECT_EQ(Skinner->WindowKind(), wkMdiFrame);
    EXPECT_EQ(Frame->MDIChildCount(), 3);
    for (TForm* child : Children) {
        EXPECT_EQ(SkinnerOf(child->Handle())->WindowKind(), wkMdiChild);
        EXPECT_EQ(GetParent(child->Handle()), Frame->ClientHandle());
    }
    // The last child made is active: its menu shows in the frame's bar.
    EXPECT_EQ(Frame->ActiveMDIChild(), Children[2]);
    ASSERT_TRUE(PumpUntil([&] { return Contains(BarCaptions(Skinner), L"C&hild"); }));
    EXPECT_EQ(GetMenu(Frame->Handle()), nullptr) << "the skinned bar stands in for the frame's menu";
    // The window menu lists the children (the client appends them).
    HMENU windowMenu = Window->Handle();
    int listed = 0;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i)
        if (GetMenuItemID(windowMenu, i) >= 0xFF00) ++listed;
    EXPECT_EQ(listed, 3);

    // Another child active: the third one's menu leaves the bar.
    SendMessageA(Frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Children[0]->Handle()), 0);
    ASSERT_TRUE(PumpUntil([&] { return !Contains(BarCaptions(Skinner), L"C&hild"); }));
    EXPECT_TRUE(Contains(BarCaptions(Skinner), L"&Window"));

    // Tile from the window menu's command: no two children overlap.
    Window->Items(0)->Click();
    Pump(100);
    for (size_t a = 0; a < Children.size(); ++a)
        for (size_t b = a + 1; b < Children.size(); ++b) {
            RECT ra{}, rb{}, both{};
            GetWindowRect(Children[a]->Handle(), &ra);
            GetWindowRect(Children[b]->Handle(), &rb);
            EXPECT_FALSE(IntersectRect(&both, &ra, &rb)) << a << " and " << b << " overlap after tiling";
        }
    // Cascade: each child below and right of the one behind it.
    Frame->Cascade();
    Pump(100);
    std::vector<RECT> rects;
    for (int i = 0; i < Frame->MDIChildCount(); ++i) {
        RECT r{};
        GetWindowRect(Frame->MDIChildren(i)->Handle(), &r);
        rects.push_back(r);
    }
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_GT(rects[0].left, rects[1].left);
    EXPECT_GT(rects[0].top, rects[1].top);
    EXPECT_GT(rects[1].top, rects[2].top);
    SaveBmp(CaptureWindow(Frame->Handle()), ScreenshotFolder() + "mdi_cascaded.bmp");
}

TEST_F(MdiTest, AMaximizedChildsButtonsSitOnTheBarAndWorkByMouse)
{
    TForm* child = Children[1];
    SendMessageA(Frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    child->SetWindowState(wsMaximized);
    ASSERT_TRUE(PumpUntil([&] { return Skinner->MdiChildMaximizedInFrame(); }));
    RedrawWindow(Frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    EXPECT_TRUE(SkinManager()->MdiMaximized);
    const TWinSysButton* minimize = BarButton(7);
    const TWinSysButton* restore = BarButton(8);
    const TWinSysButton* close = BarButton(9);
    ASSERT_TRUE(minimize && restore && close) << "the skin's MDI buttons show on the bar";
    // On the band, right of the items, in the order minimize, restore, close.
    const int bandTop = Skinner->BorderTop(), bandBottom = Skinner->BorderTop() + Skinner->MenuHeight();
    for (const TWinSysButton* button : {minimize, restore, close}) {
        EXPECT_GE(button->Rect.top, bandTop);
        EXPECT_LE(button->Rect.bottom, bandBottom);
        EXPECT_GT(button->Rect.left, Skinner->MenuBar()->Buttons.back()->Rect.right);
    }
    EXPECT_LT(minimize->Rect.left, restore->Rect.left);
    EXPECT_LT(restore->Rect.left, close->Rect.left);
    // Drawn from the skin: the window shows the button image's frame 1.
    {
        HBITMAP image = close->Image();
        const SIZE size = close->FrameSize();
        TMemoryDC source;
        TSelectObject use(source, image);
        int same = 0, opaque = 0;
        HDC window = GetWindowDC(Frame->Handle());
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF want = GetPixel(source, x, y);
                if (want == RGB(255, 0, 255)) continue;
                ++opaque;
                if (GetPixel(window, close->Rect.left + x, close->Rect.top + y) == want) ++same;
            }
        ReleaseDC(Frame->Handle(), window);
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(same, opaque) << "the close button on the bar is the skin's frame 1";
    }
    SaveBmp(CaptureWindow(Frame->Handle()), ScreenshotFolder() + "mdi_maximized.bmp");

    // The mouse on restore: it restores the child and the buttons go.
    Click(Screen(restore->Rect));
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(child->Handle()); })) << "restore did not restore the child";
    EXPECT_TRUE(PumpUntil([&] { return !Skinner->MdiChildMaximizedInFrame() && !BarButton(9); }));
    EXPECT_FALSE(SkinManager()->MdiMaximized);

    // Maximized again, the mouse on close closes it.
    child->SetWindowState(wsMaximized);
    ASSERT_TRUE(PumpUntil([&] { return Skinner->MdiChildMaximizedInFrame() && BarButton(9); }));
    RedrawWindow(Frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(50);
    const HWND closing = child->Handle();
    Click(Screen(BarButton(9)->Rect));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(closing); })) << "close did not close the child";
    EXPECT_EQ(Frame->MDIChildCount(), 2);
}

TEST_F(MdiTest, ClosingTheLastChildLeavesTheBarRight)
{
    Children[2]->SetWindowState(wsMaximized);
    ASSERT_TRUE(PumpUntil([&] { return Skinner->MdiChildMaximizedInFrame(); }));
    ASSERT_TRUE(PumpUntil([&] { return Contains(BarCaptions(Skinner), L"C&hild"); }));
    for (TForm* child : Children) {
        const HWND window = child->Handle();
        child->Close();
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    }
    Children.clear();
    EXPECT_EQ(Frame->MDIChildCount(), 0);
    EXPECT_FALSE(Skinner->MdiChildMaximizedInFrame());
    EXPECT_FALSE(SkinManager()->MdiMaximized);
    RedrawWindow(Frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    EXPECT_EQ(BarCaptions(Skinner), (std::vector<std::wstring>{L"&File", L"&Window"}));
    EXPECT_EQ(BarButton(9), nullptr);
    EXPECT_EQ(GetMenu(Frame->Handle()), nullptr);
    // The window menu lists no child any more.
    for (int i = 0; i < GetMenuItemCount(Window->Handle()); ++i) EXPECT_LT(GetMenuItemID(Window->Handle(), i), 0xFF00u);
    SaveBmp(CaptureWindow(Frame->Handle()), ScreenshotFolder() + "mdi_empty.bmp");
}

}  // namespace
