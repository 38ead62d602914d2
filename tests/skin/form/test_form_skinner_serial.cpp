// The form skinner: what it takes from a window and gives back (window
// procedures, style bits, menu, region, client size, colour), its answers to
// the engine's private messages, and how it routes messages to the
// procedure it replaced.
#include "form_skin_support.h"

namespace {

using namespace formtest;

class FormSkinnerTest : public SkinTest {
protected:
    TForm* SkinnedMain()
    {
        TForm* main = Keep(MakeSkinnedForm(FSkin));
        main->Show();
        EXPECT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(main->Handle())->SkinState() == fssSkinned; }));
        return main;
    }
    TSkinData* FSkin = nullptr;
};

struct TWindowSnapshot {
    LONG_PTR Proc;
    LONG Style;
    HMENU Menu;
    int RegionKind;
    RECT Client;
    static TWindowSnapshot Of(HWND window)
    {
        TWindowSnapshot s{};
        s.Proc = GetWindowLongPtrA(window, GWLP_WNDPROC);
        s.Style = GetWindowLongA(window, GWL_STYLE);
        s.Menu = GetMenu(window);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        s.RegionKind = GetWindowRgn(window, region);
        DeleteObject(region);
        GetClientRect(window, &s.Client);
        return s;
    }
};

TEST_F(FormSkinnerTest, UnskinGivesEveryWindowBackAsItWas) {
    SkinnedMain();
    HINSTANCE own = GetModuleHandleA(nullptr);
    TCountingWindow::Register(own, "RbOwnPlain");

    struct Case {
        const char* Name;
        std::function<HWND()> Make;
    };
    const Case cases[] = {
        {"framework form with a menu",
         [&] {
             TForm* form = Keep(MakePlainForm("menu form"));
             HMENU menu = CreateMenu();
             AppendMenuA(menu, MF_STRING, 1, "文件");
             SetMenu(form->Handle(), menu);
             return form->Handle();
         }},
        {"dialog-framed plain window",
         [&] {
             return CreateWindowExA(WS_EX_DLGMODALFRAME, "RbOwnPlain", "dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                    80, 80, 260, 180, nullptr, nullptr, own, nullptr);
         }},
        {"sizeable plain window with boxes",
         [&] {
             return CreateWindowExA(0, "RbOwnPlain", "plain", WS_OVERLAPPEDWINDOW, 70, 70, 300, 200, nullptr, nullptr,
                                    own, nullptr);
         }},
    };
    for (const Case& c : cases) {
        HWND window = c.Make();
        ASSERT_NE(window, nullptr) << c.Name;
        const TWindowSnapshot before = TWindowSnapshot::Of(window);
        ShowWindow(window, SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window) && SkinnerOf(window)->SkinState() == fssSkinned; })) << c.Name;
        const TWindowSnapshot skinned = TWindowSnapshot::Of(window);
        EXPECT_NE(skinned.Proc, before.Proc) << c.Name;
        EXPECT_EQ(skinned.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << c.Name;

        TWinSkinForm* skinner = SkinnerOf(window);
        SkinManager()->ForgetFormSkinner(window);
        skinner->Unskin();
        skinner->FreeSkinner();
        const TWindowSnapshot after = TWindowSnapshot::Of(window);
        EXPECT_EQ(after.Proc, before.Proc) << c.Name;
        EXPECT_EQ(after.Style & ~WS_VISIBLE, before.Style & ~WS_VISIBLE) << c.Name;
        EXPECT_EQ(after.Menu, before.Menu) << c.Name;
        EXPECT_EQ(after.RegionKind, ERROR) << c.Name;   // no region
        EXPECT_EQ(after.Client.right, before.Client.right) << c.Name;
        EXPECT_EQ(after.Client.bottom, before.Client.bottom) << c.Name;
        if (!FindControl(window)) DestroyWindow(window);
    }
}

TEST_F(FormSkinnerTest, FrameworkFormGetsItsWindowProcAndColourBack) {
    SkinnedMain();
    TForm* form = Keep(MakePlainForm("colour"));
    form->SetColor(RGB(10, 20, 30));
    const TWndMethod slot = form->WindowProc();
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(form->Handle()) != nullptr; }));
    EXPECT_NE(form->WindowProc(), slot);
    EXPECT_EQ(form->Color(), static_cast<TColor>(FSkin->FaceColour()));

    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    SkinManager()->ForgetFormSkinner(form->Handle());
    skinner->Unskin();
    skinner->FreeSkinner();
    EXPECT_EQ(form->WindowProc(), slot);
    EXPECT_EQ(form->Color(), RGB(10, 20, 30));
}

TEST_F(FormSkinnerTest, PrivateMessagesAreAnswered) {
    TForm* main = SkinnedMain();
    const HWND window = main->Handle();
    int finished = 0;
    FSkin->OnAfterSkinForm = [&](TObject*, HWND, const std::string&) { ++finished; };

    const struct {
        const char* Name;
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
        LRESULT Answer;
    } cases[] = {
        {"query skin", SKM_QUERYSKIN, 0, 0, 1},
        {"is skinned, signed", SKM_ISSKINNED, 0, SKIN_SIGNATURE, SKIN_SIGNATURE},
        {"is skinned, unsigned", SKM_ISSKINNED, 0, 7, 1},
        {"paint frame to no DC, signed", SKM_PAINTFRAMETO, 0, SKIN_SIGNATURE, SKIN_SIGNATURE},
    };
    for (const auto& c : cases) EXPECT_EQ(SendMessageA(window, c.Msg, c.WParam, c.LParam), c.Answer) << c.Name;

    // The query is followed by the skin-finished message.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, window, SKM_SKINFINISHED, SKM_SKINFINISHED, PM_REMOVE));
    EXPECT_EQ(msg.lParam, SKIN_SIGNATURE);

    // A skin change re-applies the skin and announces it.
    SendMessageA(window, SKM_SKINCHANGED, 0, 0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(SkinnerOf(window)->SkinState(), fssSkinned);
}

// A plain window's procedure counts what reaches it through the skinner.
TEST_F(FormSkinnerTest, RoutingBeforeActivationAndOfChildWindows) {
    SkinnedMain();
    HINSTANCE own = GetModuleHandleA(nullptr);
    TCountingWindow::Register(own, "RbOwnPlain");
    HWND window = CreateWindowExA(0, "RbOwnPlain", "plain", WS_OVERLAPPEDWINDOW, 70, 70, 300, 200, nullptr, nullptr,
                                  own, nullptr);
    ASSERT_NE(window, nullptr);
    // Attached, not yet activated: the non-client area is left alone.
    ASSERT_TRUE(SkinManager()->SkinWindow(window));
    ASSERT_EQ(SkinnerOf(window)->SkinState(), fssAttached);
    auto& counts = TCountingWindow::Counts();
    counts.clear();
    EXPECT_EQ(SendMessageA(window, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(counts[WM_NCPAINT], 0);

    // WM_SIZE reaches the window's own procedure once per delivery.
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window)->SkinState() == fssSkinned; }));
    counts.clear();
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 80));
    EXPECT_EQ(counts[WM_SIZE], 1);

    // A child window gets only the first stage: its hit-test is the system's.
    HWND child = CreateWindowExA(0, "RbOwnPlain", "child", WS_CHILD | WS_VISIBLE | WS_CAPTION, 5, 5, 120, 80, window,
                                 nullptr, own, nullptr);
    SkinManager()->ForceChildren = true;
    ASSERT_TRUE(SkinManager()->SkinWindow(child));
    SkinManager()->ForceChildren = false;
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(child)->SkinState() == fssSkinned; }));
    counts.clear();
    RECT bounds{};
    GetWindowRect(child, &bounds);
    SendMessageA(child, WM_NCHITTEST, 0, MAKELPARAM(bounds.left + 40, bounds.top + 5));
    SendMessageA(child, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&bounds));
    EXPECT_EQ(counts[WM_NCHITTEST], 1);
    EXPECT_EQ(counts[WM_NCCALCSIZE], 1);
    DestroyWindow(window);
    EXPECT_EQ(SkinnerOf(child)->SkinState(), fssDestroyed);
}

TEST_F(FormSkinnerTest, AMinimizedWindowIsNotResizedAndKeepsItsCaptionBits) {
    SkinnedMain();
    HINSTANCE own = GetModuleHandleA(nullptr);
    TCountingWindow::Register(own, "RbOwnPlain");
    HWND window = CreateWindowExA(0, "RbOwnPlain", "min", WS_OVERLAPPEDWINDOW, 70, 70, 300, 200, nullptr, nullptr, own,
                                  nullptr);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    WINDOWPLACEMENT before{sizeof before};
    GetWindowPlacement(window, &before);
    ASSERT_TRUE(SkinManager()->SkinWindow(window));
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window)->SkinState() == fssSkinned; }));
    WINDOWPLACEMENT after{sizeof after};
    GetWindowPlacement(window, &after);
    EXPECT_EQ(after.rcNormalPosition.right - after.rcNormalPosition.left,
              before.rcNormalPosition.right - before.rcNormalPosition.left);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZEBOX);
    DestroyWindow(window);
}

}  // namespace
