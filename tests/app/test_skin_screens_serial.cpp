// The program in each of the skins it ships (build/skins/): the main window
// and the entry editor are switched to each skin file as `/skin` would do it
// at run time, checked to wear it, and captured into the build's
// screenshots folder (skins/<skin>_main.bmp, skins/<skin>_entry_editor.bmp)
// for people and the README to look at. Serial: the windows are shown.
#include "tests/app/ledger_windows_fixture.h"
#include "tests/app/window_capture.h"
#include "tests/app/legibility_check.h"

#include <fstream>
#include <iterator>

#include "app/command_line.h"
#include "app/data_module.h"
#include "framework/streams.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    TFormSkinnerLink* skinner = manager ? manager->FindFormSkinner(window) : nullptr;
    return skinner && skinner->SkinnerState() == fssSkinned;
}

class SkinScreensTest : public LedgerWindowsTest {
protected:
    void Start()
    {
        MakeLedger({
            {"工资", "工资", "2026/12/1", "收入", "5000", "十二月的工资"},
            {"房租", "住房", "2026/12/2", "支出", "1500", "按月交"},
            {"菜市场", "日常", "2026/12/3", "支出", "86", ""},
        });
        CreateMainForm();
        delete frmdataBase;  // an earlier test's
        frmdataBase = new TfrmdataBase(Application);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        std::string path = RAVELBOOK_SKIN_BIN;
        if (path[0] == '/') path = "Z:" + path;
        std::ifstream file(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        Form1->SkinData1->ReadSkinStream(stream);
        Form1->SkinData1->SetActive(true);
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

// Every text of the ledger's windows can be read in each skin: the main
// window, the entry editor's two tabs, the delete confirmation and the
// category editor. Each text fits the room it is drawn in, in the font it
// is drawn with, and stands out from what lies under it by at least 4.5:1.
TEST_F(SkinScreensTest, EveryWindowCanBeReadInEachSkin)
{
    Start();
    Form1->Show();
    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    std::vector<std::string> problems;
    auto check = [&](TForm* form, const std::string& where) {
        Look(form);
        for (const std::string& problem : legibility::Check(form->Handle(), form, where)) problems.push_back(problem);
    };
    for (const char* skin : {"ravelbook", "paper", "dusk"}) {
        Form1->SkinData1->SetSkinFile(ResolveSkinFile(skin, skins.substr(0, skins.size() - 5)));
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        const std::string name = skin;
        check(Form1, name + " / main window");
        Form1->ButtonaddnewinfoClick(nullptr);
        check(Form2, name + " / entry editor, add");
        Form2->Hide();
        Form1->ADOQuery1->First();
        Form1->DBGrid1DblClick(nullptr);
        check(Form2, name + " / entry editor, edit");
        Form2->Hide();
        Form1->ButtondelClick(nullptr);
        check(Form3, name + " / delete confirmation");
        Form3->Hide();
        Form2->ButtoneditxmlbClick(nullptr);
        check(Form4, name + " / category editor");
        Form4->Hide();
        Application->ProcessMessages();
    }
    EXPECT_TRUE(problems.empty()) << problems.size() << " texts cannot be read:\n" << legibility::Join(problems);
}

}  // namespace

