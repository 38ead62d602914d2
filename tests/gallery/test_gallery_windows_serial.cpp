// The gallery's windows page: its MDI frame (three children, the last one
// maximized with its buttons on the skinned bar and its menu merged) and its
// right-to-left window (the bar read from the right), opened from the page
// and saved as pictures in each of the three skins.
#include "../app/window_capture.h"

#include "../skin/controls/control_skin_support.h"

#include "framework/std_controls.h"
#include "gallery/gallery_form.h"
#include "skin/form/menu_bar.h"

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

class GalleryWindowsTest : public ControlSkinTest {};

TEST_F(GalleryWindowsTest, TheMdiFrameAndTheRightToLeftWindowInEachSkin) {
    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    GallerySkinsFolder = skins + "/";
    GalleryConfigureSkin = TestSkin;
    GallerySkinFile.clear();
    auto* gallery = new TGalleryForm(nullptr);
    gallery->FinishCreation();
    Keep(gallery);
    gallery->Show();
    ASSERT_TRUE(WaitSkinned(gallery));
    ASSERT_TRUE(gallery->ShowPage("Windows"));
    auto* openMdi = As<TButton>(gallery->FindComponent("WindowsOpenMdi"));
    auto* openRtl = As<TButton>(gallery->FindComponent("WindowsOpenRightToLeft"));
    ASSERT_TRUE(openMdi && openRtl);
    openMdi->Click();
    openRtl->Click();
    auto* frame = As<TForm>(gallery->FindComponent("WindowsMdiFrame"));
    auto* rtl = As<TForm>(gallery->FindComponent("WindowsRightToLeft"));
    ASSERT_TRUE(frame && rtl);
    ASSERT_EQ(frame->MDIChildCount(), 3);
    const std::string folder = ScreenshotFolder() + "skins/";
    CreateDirectoryA(folder.c_str(), nullptr);
    const char* names[] = {"ravelbook", "paper", "dusk"};
    for (int choice : {0, 1, 2}) {
        SCOPED_TRACE(names[choice]);
        gallery->ComboBoxSkin->SetItemIndex(choice);
        gallery->ComboBoxSkin->OnChange(gallery->ComboBoxSkin);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        for (TForm* window : {frame, rtl}) {
            SetForegroundWindow(window->Handle());
            ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(window->Handle()) != nullptr; }, 3000));
            RedrawWindow(window->Handle(), nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump(100);
        }
        TWinSkinForm* frameSkinner = SkinnerOf(frame->Handle());
        EXPECT_TRUE(frameSkinner->MdiChildMaximizedInFrame());
        bool merged = false;
        for (const TMenuBtn* item : frameSkinner->MenuBar()->Buttons) merged = merged || item->Caption == L"E&ntries";
        EXPECT_TRUE(merged) << "the maximized child's menu shows in the frame's bar";
        TWinSkinForm* rtlSkinner = SkinnerOf(rtl->Handle());
        ASSERT_NE(rtlSkinner->MenuBar(), nullptr);
        EXPECT_GT(rtlSkinner->MenuBar()->Buttons[0]->Rect.left, rtlSkinner->MenuBar()->Buttons[1]->Rect.left)
            << "the right-to-left bar reads from the right";
        EXPECT_EQ(rtlSkinner->MenuBar()->Buttons[0]->Caption, L"&\u05E7\u05D5\u05D1\u05E5")
            << "a Hebrew caption reaches the skinned bar whole";
        const TCapture mdiPicture = CaptureWindow(frame->Handle());
        const TCapture rtlPicture = CaptureWindow(rtl->Handle());
        EXPECT_GT(mdiPicture.DistinctColours(), 8u);
        EXPECT_GT(rtlPicture.DistinctColours(), 8u);
        SaveBmp(mdiPicture, folder + names[choice] + "_gallery_mdi_frame.bmp");
        SaveBmp(rtlPicture, folder + names[choice] + "_gallery_right_to_left.bmp");
    }
    GallerySkinsFolder.clear();
}

}  // namespace
