// The skin gallery: every page skinned and saved as a picture, its skin
// switched off and on by its check box, its plain dialog's controls
// skinned and working, its command-line option, and a thousand skin/unskin
// passes that leave no skinner, buffer or thunk behind and every control
// working.
#include "../app/window_capture.h"
#include "../app/legibility_check.h"

#include <cctype>
#include "../skin/controls/control_skin_support.h"

#include "framework/buttons.h"
#include "gallery/gallery_form.h"
#include "skin/form/thunk.h"

namespace {

using namespace controltest;

void TestSkin(TSkinData& skin)
{
    TMemoryStream stream;
    const skintest::TBytes bytes = skintest::StoredSkinBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(skin, stream);
}

class GalleryTest : public ControlSkinTest {
protected:
    TGalleryForm* OpenGallery()
    {
        GalleryConfigureSkin = TestSkin;
        GallerySkinFile.clear();
        auto* gallery = new TGalleryForm(nullptr);
        gallery->FinishCreation();
        Keep(gallery);
        gallery->Show();
        EXPECT_TRUE(WaitSkinned(gallery));
        return gallery;
    }
    template <class T>
    T* Find(TGalleryForm* gallery, const char* name)
    {
        return As<T>(gallery->FindComponent(name));
    }
};

TEST_F(GalleryTest, EveryPageIsSkinnedAndSaved) {
    TGalleryForm* gallery = OpenGallery();
    TWinSkinForm* skinner = SkinnerOf(gallery->Handle());
    ASSERT_NE(skinner, nullptr);
    const std::vector<TGalleryPageEntry> pages = GalleryPages();
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(gallery->PageControl1->PageCount(), static_cast<int>(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        ASSERT_TRUE(gallery->ShowPage(pages[i].Title));
        Pump(60);
        const TCapture capture = CaptureWindow(gallery->Handle());
        EXPECT_GT(capture.DistinctColours(), 8u) << pages[i].Title;
        SavePng(capture, ScreenshotFolder() + "gallery_" + PlainPictureName(pages[i].Title) + ".png");
    }
    // The buttons page's controls all have their skinners.
    for (const char* name : {"ButtonsNormal", "ButtonsGlyphLeft", "ButtonsSpeed", "ButtonsMenu"}) {
        auto* control = Find<TControl>(gallery, name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_NE(SkinnerFor(skinner, control), nullptr) << name;
    }
    EXPECT_EQ(SkinnerFor(skinner, Find<TControl>(gallery, "ButtonsMenu"))->ClassName(), "TSkinMenuButton");
    // The bars page: the tool bar, the menu button and the cool bar.
    const struct {
        const char* Control;
        const char* Skinner;
    } bars[] = {{"BarsToolBar", "TSkinToolBar"}, {"BarsMenuButton", "TSkinMenuButton"}, {"BarsCoolBar", "TSkinCoolBar"}};
    for (const auto& b : bars) {
        TSkinControl* s = SkinnerFor(skinner, Find<TControl>(gallery, b.Control));
        ASSERT_NE(s, nullptr) << b.Control;
        EXPECT_EQ(s->ClassName(), b.Skinner);
    }
}

TEST_F(GalleryTest, CheckBoxSwitchesTheSkinAndThePlainDialogIsSkinned) {
    TGalleryForm* gallery = OpenGallery();
    // The check box turns the component's Active off and on.
    SendMessageA(gallery->CheckBoxActive->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(gallery->SkinData1->Active());
    ASSERT_TRUE(WaitUnskinned(gallery));
    SendMessageA(gallery->CheckBoxActive->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(gallery->SkinData1->Active());
    ASSERT_TRUE(WaitSkinned(gallery));

    HWND dialog = gallery->ShowPlainDialog();
    ASSERT_NE(dialog, nullptr);
    SetActiveWindow(dialog);
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* s = SkinnerOf(dialog);
        return s && s->SkinState() == fssSkinned;
    }));
    TWinSkinForm* dialogSkinner = SkinnerOf(dialog);
    HWND count = GetDlgItem(dialog, 102);
    HWND group = GetDlgItem(dialog, 101);
    TSkinControl* countSkinner = SkinnerFor(dialogSkinner, nullptr, count);
    ASSERT_NE(countSkinner, nullptr);
    EXPECT_EQ(countSkinner->ClassName(), "TSkinButton");
    EXPECT_EQ(SkinnerFor(dialogSkinner, nullptr, group), nullptr);  // group boxes of dialogs keep theirs

    // A click through the skinner reaches the dialog as WM_COMMAND.
    SendMessageA(count, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(count, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(PumpUntil([&] { return GetDlgItemInt(dialog, 106, nullptr, FALSE) == 1; }));
    const TCapture capture = CaptureWindow(dialog);
    SavePng(capture, ScreenshotFolder() + "gallery_dialog.png");
    DestroyWindow(dialog);
    Pump(30);
    // Its skinner is dead at once and leaves at the manager's next decision
    // (the next activation, or here at once).
    const TWinSkinForm* dead = SkinnerOf(dialog);
    EXPECT_TRUE(!dead || dead->SkinState() == fssDestroyed);
    SkinManager()->DropDeadSkinners();
    EXPECT_EQ(SkinnerOf(dialog), nullptr);
}

TEST_F(GalleryTest, SkinFileOptionOfTheCommandLine) {
    EXPECT_EQ(GallerySkinFileOption("--skin C:\\skins\\blue.skn"), "C:\\skins\\blue.skn");
    EXPECT_EQ(GallerySkinFileOption("/SKIN \"C:\\my skins\\a.skn\" -x"), "C:\\my skins\\a.skn");
    EXPECT_EQ(GallerySkinFileOption("--skin=b.skn"), "b.skn");
    EXPECT_EQ(GallerySkinFileOption("--skin"), "");
    EXPECT_EQ(GallerySkinFileOption("other words"), "");
    // A file that is not there keeps the stored skin and says so.
    GallerySkinFile = "Z:\\nowhere\\missing.skn";
    GalleryConfigureSkin = TestSkin;
    auto* gallery = new TGalleryForm(nullptr);
    gallery->FinishCreation();
    Keep(gallery);
    EXPECT_FALSE(gallery->SkinData1->NoSkin());
    EXPECT_NE(gallery->LabelSkin->Caption().find("not loaded"), std::string::npos);
    GallerySkinFile.clear();
}

TEST_F(GalleryTest, AThousandSkinPassesLeaveNothingBehind) {
    TGalleryForm* gallery = OpenGallery();
    TWinSkinForm* skinner = SkinnerOf(gallery->Handle());
    ASSERT_NE(skinner, nullptr);
    const size_t skinners = skinner->ControlSkinners().size();
    ASSERT_GT(skinners, 10u);
    const int liveSkinners = TSkinControl::LiveCount();
    const int liveBuffers = TSkinBuffer::LiveCount();
    const int liveThunks = TWndProcThunk::LiveCount();
    auto* normal = Find<TButton>(gallery, "ButtonsNormal");
    ASSERT_NE(normal, nullptr);
    skinner->FreeControlSkinners();
    EXPECT_EQ(SendMessageA(normal->Handle(), SKM_QUERYSKIN, 0, 0), 0);
    for (int pass = 0; pass < 1000; ++pass) {
        skinner->SkinChildControls();
        if (pass % 100 == 0) RedrawWindow(gallery->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        skinner->FreeControlSkinners();
    }
    EXPECT_EQ(SendMessageA(normal->Handle(), SKM_QUERYSKIN, 0, 0), 0);
    skinner->SkinChildControls();
    EXPECT_EQ(skinner->ControlSkinners().size(), skinners);
    EXPECT_EQ(TSkinControl::LiveCount(), liveSkinners);
    EXPECT_EQ(TSkinBuffer::LiveCount(), liveBuffers);
    EXPECT_EQ(TWndProcThunk::LiveCount(), liveThunks);

    // Whole skin switches through the component, too.
    for (int pass = 0; pass < 5; ++pass) {
        gallery->SkinData1->SetActive(false);
        ASSERT_TRUE(WaitUnskinned(gallery));
        gallery->SkinData1->SetActive(true);
        ASSERT_TRUE(WaitSkinned(gallery));
    }
    EXPECT_EQ(TSkinControl::LiveCount(), liveSkinners);

    // Every button still runs its handler.
    auto* clicks = Find<TLabel>(gallery, "ButtonsClicks");
    ASSERT_NE(clicks, nullptr);
    const std::string before = clicks->Caption();
    gallery->ShowPage("Buttons");
    Pump(30);
    SendMessageA(normal->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(normal->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(clicks->Caption(), before);
}

}  // namespace

namespace {

// The skin chooser: each of the three skins and "None", every page pictured
// in each skin (build/screenshots/skins/<skin>_gallery_<page>.png), and after
// going round the controls keep their skinners and the window its size.
TEST_F(GalleryTest, SkinChooserSwitchesAmongTheThreeSkinsAndNone) {
    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    GallerySkinsFolder = skins + "/";
    TGalleryForm* gallery = OpenGallery();
    const HWND window = gallery->Handle();
    const std::string folder = ScreenshotFolder() + "skins/";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::vector<TGalleryPageEntry> pages = GalleryPages();
    const char* names[] = {"ravelbook", "paper", "dusk"};
    const char* models[] = {"Ravelbook", "Paper", "Dusk"};
    for (int choice : {1, 2, 0}) {
        SCOPED_TRACE(names[choice]);
        gallery->ComboBoxSkin->SetItemIndex(choice);
        gallery->ComboBoxSkin->OnChange(gallery->ComboBoxSkin);
        EXPECT_EQ(gallery->SkinData1->Model().SkinName, models[choice]);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        EXPECT_NE(SkinnerOf(window), nullptr);
        for (size_t i = 0; i < pages.size(); ++i) {
            ASSERT_TRUE(gallery->ShowPage(pages[i].Title));
            Pump(60);
            const TCapture capture = CaptureWindow(window);
            EXPECT_GT(capture.DistinctColours(), 8u) << pages[i].Title;
            SavePng(capture, folder + names[choice] + "_gallery_" + PlainPictureName(pages[i].Title) + ".png");
        }
    }
    // A hundred switches over the open gallery: the same skinners, buffers
    // and thunks live afterwards, and the controls still work.
    TWinSkinForm* skinner = SkinnerOf(window);
    ASSERT_NE(skinner, nullptr);
    const size_t skinners = skinner->ControlSkinners().size();
    const int liveSkinners = TSkinControl::LiveCount();
    const int liveBuffers = TSkinBuffer::LiveCount();
    const int liveThunks = TWndProcThunk::LiveCount();
    for (int i = 0; i < 100; ++i) {
        gallery->ComboBoxSkin->SetItemIndex(1 + i % 2);
        gallery->ComboBoxSkin->OnChange(gallery->ComboBoxSkin);
        if (SkinManager()) SkinManager()->RunPass();  // the pass its timer would run
    }
    Pump(30);
    EXPECT_EQ(SkinnerOf(window), skinner);
    EXPECT_EQ(skinner->ControlSkinners().size(), skinners);
    EXPECT_EQ(TSkinControl::LiveCount(), liveSkinners);
    EXPECT_EQ(TSkinBuffer::LiveCount(), liveBuffers);
    EXPECT_EQ(TWndProcThunk::LiveCount(), liveThunks);
    auto* clicks = Find<TLabel>(gallery, "ButtonsClicks");
    auto* normal = Find<TButton>(gallery, "ButtonsNormal");
    ASSERT_TRUE(clicks && normal);
    gallery->ShowPage("Buttons");
    Pump(30);
    const std::string before = clicks->Caption();
    SendMessageA(normal->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(normal->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(clicks->Caption(), before);

    gallery->ComboBoxSkin->SetItemIndex(3);
    gallery->ComboBoxSkin->OnChange(gallery->ComboBoxSkin);
    EXPECT_FALSE(gallery->SkinData1->Active());
    EXPECT_TRUE(PumpUntil([&] { return SkinnerOf(window) == nullptr; }, 3000));
    GallerySkinsFolder.clear();
}

}  // namespace

namespace {

// Every text the gallery draws can be read on every page in each of the
// three skins: it fits the room it is drawn in, in the font it is drawn
// with, and stands out from what lies under it by at least 4.5:1.
TEST_F(GalleryTest, EveryPageCanBeReadInEachSkin) {
    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    GallerySkinsFolder = skins + "/";
    TGalleryForm* gallery = OpenGallery();
    const std::vector<TGalleryPageEntry> pages = GalleryPages();
    const char* names[] = {"ravelbook", "paper", "dusk"};
    std::vector<std::string> problems;
    for (int choice : {0, 1, 2}) {
        gallery->ComboBoxSkin->SetItemIndex(choice);
        gallery->ComboBoxSkin->OnChange(gallery->ComboBoxSkin);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        for (const TGalleryPageEntry& page : pages) {
            ASSERT_TRUE(gallery->ShowPage(page.Title));
            Pump(60);
            for (const std::string& problem :
                 legibility::Check(gallery->Handle(), gallery, std::string(names[choice]) + " / " + page.Title))
                problems.push_back(problem);
        }
    }
    EXPECT_TRUE(problems.empty()) << problems.size() << " texts cannot be read:\n" << legibility::Join(problems);
    GallerySkinsFolder.clear();
}

}  // namespace
