// The program in each of the skins it ships (build/skins/): the main window
// and the entry editor are switched to each skin file as `/skin` would do it
// at run time, checked to wear it, and captured into the build's
// screenshots folder (skins/<skin>_main.bmp, skins/<skin>_entry_editor.bmp)
// for people and the README to look at. Serial: the windows are shown.
#include "tests/app/skinned_ledger_fixture.h"
#include "tests/app/window_capture.h"

#include "app/command_line.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    TFormSkinnerLink* skinner = manager ? manager->FindFormSkinner(window) : nullptr;
    return skinner && skinner->SkinnerState() == fssSkinned;
}

class SkinScreensTest : public SkinnedLedgerFixture {
protected:
    void Start()
    {
        StartSkinned({
            {"工资", "工资", "2026/12/1", "收入", "5000", "十二月的工资"},
            {"房租", "住房", "2026/12/2", "支出", "1500", "按月交"},
            {"菜市场", "日常", "2026/12/3", "支出", "86", ""},
        });
    }

    TCapture Look(TForm* form)
    {
        const HWND window = form->Handle();
        SetForegroundWindow(window);
        EXPECT_TRUE(PumpUntil([&] { return IsSkinned(window); }));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application->ProcessMessages();
        return CaptureWindow(window);
    }
};

TEST_F(SkinScreensTest, MainWindowAndEntryEditorInEachSkin)
{
    Start();
    if (HasFatalFailure()) return;
    Form1->Show();
    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    const std::string folder = ScreenshotFolder() + "skins/";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::uint32_t> previousCaption;
    for (const char* skin : {"ravelbook", "paper", "dusk"}) {
        SCOPED_TRACE(skin);
        // The bare name resolves as the command line resolves it: in the
        // "skins" folder beside the program (here the build folder).
        const std::string file = ResolveSkinFile(skin, skins.substr(0, skins.size() - 5));
        Form1->SkinData1->SetSkinFile(file);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        EXPECT_EQ(Form1->SkinData1->Model().SkinName, std::string(skin == std::string("ravelbook") ? "Ravelbook"
                                                                   : skin == std::string("paper") ? "Paper"
                                                                                                  : "Dusk"));
        const TCapture main = Look(Form1);
        EXPECT_TRUE(SaveBmp(main, folder + skin + "_main.bmp"));
        EXPECT_EQ(main.Width, Form1->Width());
        EXPECT_GT(main.DistinctColours(), 8u);
        // Each skin draws its own caption.
        std::vector<std::uint32_t> caption;
        for (int x = 0; x < main.Width; ++x) caption.push_back(main.At(x, 10));
        EXPECT_NE(caption, previousCaption);
        previousCaption = caption;

        Form1->ButtonaddnewinfoClick(nullptr);
        ASSERT_TRUE(Form2->Visible());
        const TCapture editor = Look(Form2);
        EXPECT_TRUE(SaveBmp(editor, folder + skin + "_entry_editor.bmp"));
        EXPECT_GT(editor.DistinctColours(), 8u);
        Form2->Hide();
        Application->ProcessMessages();
    }
}

}  // namespace
