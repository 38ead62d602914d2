// The skin manager: which activated windows get a form skinner (framework
// forms, message boxes, not foreign windows or forms that opt out), the
// component each gets, the deferred skin and unskin passes, windows that go
// away while skinned, and no leak over many passes.
#include "form_skin_support.h"
#include "tests/thread_windows.h"

namespace {

using namespace formtest;

class SkinManagerTest : public SkinTest {};

TEST_F(SkinManagerTest, LoadedMakesTheManagerAndOnlySwitchesSkinningOnBeforeAnyActivation) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    TSkinManage* manager = SkinManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->HookInstalled());
    EXPECT_EQ(manager->MainSkinData, skin);
    EXPECT_TRUE(manager->Skinning);
    EXPECT_EQ(manager->RunState, SKIN_RUN_IDLE);
    EXPECT_FALSE(manager->Timer()->Enabled());
    EXPECT_TRUE(manager->FormSkinners().empty());

    // The first activation starts the run and skins the window.
    main->Show();
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(main->Handle())->SkinState() == fssSkinned; }));
    EXPECT_EQ(manager->RunState, SKIN_RUN_STARTED);
    EXPECT_EQ(SendMessageA(main->Handle(), SKM_QUERYSKIN, 0, 0), 1);
    // A second decision for the same window makes no second skinner.
    EXPECT_FALSE(manager->SkinWindow(main->Handle()));
    EXPECT_EQ(manager->FormSkinners().size(), 1u);
}

// Windows met by the hook: which of them are skinned.
TEST_F(SkinManagerTest, DecisionTakesOwnWindowsAndDialogsAndLeavesTheRest) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) != nullptr; }));

    HINSTANCE own = GetModuleHandleA(nullptr);
    HINSTANCE foreign = GetModuleHandleA("user32.dll");
    TCountingWindow::Register(own, "RbOwnPlain");

    struct Case {
        const char* Name;
        std::function<HWND()> Make;
        bool Skinned;
    };
    std::vector<HWND> plainWindows;
    auto plain = [&](const char* cls, HINSTANCE module, DWORD style) {
        HWND w = CreateWindowExA(0, cls, "plain", style, 50, 50, 200, 150, nullptr, nullptr, module, nullptr);
        plainWindows.push_back(w);
        return w;
    };
    const Case cases[] = {
        {"framework form", [&] { return Keep(MakePlainForm("entry editor"))->Handle(); }, true},
        {"form with Tag 99", [&] { return Keep(MakePlainForm("opted out", 99))->Handle(); }, false},
        {"plain window of this program", [&] { return plain("RbOwnPlain", own, WS_OVERLAPPEDWINDOW); }, true},
        {"plain window of another module",
         [&] {
             HWND w = plain("RbOwnPlain", own, WS_OVERLAPPEDWINDOW);
             SetWindowLongPtrA(w, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(foreign));
             return w;
         },
         false},
        {"empty window", [&] { return plain("RbOwnPlain", own, WS_POPUP); }, true},
    };
    for (const Case& c : cases) {
        HWND window = c.Make();
        ASSERT_NE(window, nullptr) << c.Name;
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        Pump(30);
        EXPECT_EQ(SkinnerOf(window) != nullptr, c.Skinned) << c.Name;
    }
    // A window of no size is passed over.
    HWND empty = CreateWindowExA(0, "RbOwnPlain", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, own, nullptr);
    EXPECT_FALSE(SkinManager()->SkinWindow(empty));
    DestroyWindow(empty);
    for (HWND w : plainWindows) DestroyWindow(w);
}

// A message box of the program (class "#32770", made by the system) is
// skinned while it is up, and answered from a timer.
HWND GBox = nullptr;
bool GBoxSkinned = false;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD)
{
    GBox = testwin::VisibleThreadWindow(testwin::MESSAGE_BOX_CLASS);
    if (!GBox) return;
    TWinSkinForm* skinner = SkinnerOf(GBox);
    if (!skinner || skinner->SkinState() != fssSkinned) return;   // wait for the activation
    GBoxSkinned = SendMessageA(GBox, SKM_QUERYSKIN, 0, 0) == 1 &&
                  SendMessageA(GBox, SKM_ISSKINNED, 0, SKIN_SIGNATURE) == SKIN_SIGNATURE;
    KillTimer(nullptr, id);
    SendMessageA(GetDlgItem(GBox, IDOK), BM_CLICK, 0, 0);
}

TEST_F(SkinManagerTest, MessageBoxesAreSkinnedWhileTheyAreUp) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) != nullptr; }));
    GBoxSkinned = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBox);
    const int answer = MessageBoxA(main->Handle(), "您真的要退出吗", "Ravelbook", MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(GBoxSkinned);
    // The box is gone and so is its skinner.
    SkinManager()->DropDeadSkinners();
    EXPECT_EQ(SkinManager()->FormSkinners().size(), 1u);
}

TEST_F(SkinManagerTest, OnlyThisFormComponentSkinsItsOwnerAndTheMainComponentTheRest) {
    TSkinData* mainSkin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(mainSkin));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) != nullptr; }));
    TSkinData* ownSkin = nullptr;
    TForm* own = Keep(MakeSkinnedForm(ownSkin, sfOnlyThisForm, "own skin"));
    TForm* other = Keep(MakePlainForm("other"));
    own->Show();
    other->Show();
    SetForegroundWindow(own->Handle());
    SetForegroundWindow(other->Handle());
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(own->Handle()) && SkinnerOf(other->Handle()); }));
    EXPECT_EQ(SkinnerOf(own->Handle())->SkinData(), ownSkin);
    EXPECT_EQ(SkinnerOf(other->Handle())->SkinData(), mainSkin);
    EXPECT_EQ(SkinnerOf(main->Handle())->SkinData(), mainSkin);
    EXPECT_EQ(SkinManager()->MainSkinData, mainSkin);

    // Its pass 2 takes only its own form's skinner out.
    SkinManager()->ActingSkinData = ownSkin;
    SkinManager()->PendingAction = spUnskin;
    SkinManager()->RunPass();
    EXPECT_EQ(SkinnerOf(own->Handle()), nullptr);
    EXPECT_NE(SkinnerOf(other->Handle()), nullptr);
}

TEST_F(SkinManagerTest, ActiveOffGivesEveryWindowBackAndOnSkinsTheOpenFormsAgain) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    TForm* second = Keep(MakePlainForm("second"));
    TForm* hidden = Keep(MakePlainForm("hidden"));
    hidden->HandleNeeded();
    main->Show();
    second->Show();
    SetForegroundWindow(main->Handle());
    SetForegroundWindow(second->Handle());
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(second->Handle()); }));

    skin->SetActive(false);
    EXPECT_EQ(SkinManager()->PendingAction, spUnskin);
    ASSERT_TRUE(PumpUntil([&] { return SkinManager()->FormSkinners().empty(); }));
    EXPECT_FALSE(SkinManager()->Skinning);
    EXPECT_NE(SendMessageA(main->Handle(), SKM_QUERYSKIN, 0, 0), 1);

    int changed = 0;
    skin->OnSkinChanged = [&](TObject*) { ++changed; };
    skin->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(second->Handle()); }));
    EXPECT_EQ(SkinnerOf(hidden->Handle()), nullptr);   // hidden forms wait for their activation
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(SkinManager()->ActingSkinData, nullptr);
}

TEST_F(SkinManagerTest, WindowsThatGoAwayLeaveNoSkinnerBehind) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) != nullptr; }));

    // A plain window destroyed while skinned.
    TCountingWindow::Register(GetModuleHandleA(nullptr), "RbOwnPlain");
    HWND plain = CreateWindowExA(0, "RbOwnPlain", "plain", WS_OVERLAPPEDWINDOW, 60, 60, 200, 150, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ShowWindow(plain, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(plain) != nullptr; }));
    DestroyWindow(plain);
    EXPECT_EQ(SkinnerOf(plain)->SkinState(), fssDestroyed);
    SkinManager()->DropDeadSkinners();
    EXPECT_EQ(SkinnerOf(plain), nullptr);

    // A framework form freed while skinned takes its skinner with it.
    TForm* form = MakePlainForm("freed");
    form->Show();
    const HWND window = form->Handle();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window) != nullptr; }));
    delete form;
    EXPECT_EQ(SkinnerOf(window), nullptr);
    EXPECT_EQ(SkinManager()->FormSkinners().size(), 1u);
}

// A thousand skin and unskin passes over the open windows leave the
// process's GDI and USER object counts where they were (where the system
// counts them; Wine answers 0) and the engine's own window-procedure thunks
// at one per skinned window.
TEST_F(SkinManagerTest, ManyPassesLeakNoObjects) {
    TSkinData* skin = nullptr;
    TForm* main = Keep(MakeSkinnedForm(skin));
    TForm* second = Keep(MakePlainForm("second"));
    main->Show();
    second->Show();
    TSkinManage* manager = SkinManager();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(second->Handle()); }));

    auto pass = [&](int action) {
        manager->ActingSkinData = skin;
        manager->PendingAction = action;
        manager->RunPass();
        Pump(0);
    };
    pass(spUnskin);
    pass(spSkin);
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    RECT clientBefore{};
    GetClientRect(main->Handle(), &clientBefore);
    const int thunksBefore = TWndProcThunk::LiveCount();
    EXPECT_EQ(thunksBefore, 2);
    for (int i = 0; i < 1000; ++i) {
        pass(spUnskin);
        pass(spSkin);
    }
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(main->Handle()) && SkinnerOf(main->Handle())->SkinState() == fssSkinned; }));
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
    EXPECT_EQ(manager->FormSkinners().size(), 2u);
    EXPECT_EQ(TWndProcThunk::LiveCount(), thunksBefore);
    RECT clientAfter{};
    GetClientRect(main->Handle(), &clientAfter);
    EXPECT_EQ(clientAfter.right, clientBefore.right);
    EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
    // The program still works: the window answers and repaints.
    EXPECT_EQ(SendMessageA(main->Handle(), SKM_ISSKINNED, 0, SKIN_SIGNATURE), SKIN_SIGNATURE);
    EXPECT_TRUE(RedrawWindow(main->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW));
}

}  // namespace
