// The program in each of the skins it ships (build/skins/): the main window
// and the entry editor are switched to each skin file as `/skin` would do it
// at run time, checked to wear it, and captured into the build's
// screenshots folder (skins/<skin>_main.bmp, skins/<skin>_entry_editor.bmp)
// for people and the README to look at. Serial: the windows are shown.
#include "tests/app/skinned_ledger_fixture.h"

#include <functional>

#include "tests/app/window_capture.h"
#include "tests/app/legibility_check.h"

#include "app/command_line.h"
#include "app/unit_mokuai.h"
#include "tests/thread_windows.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_manager.h"
#include "skin/data/skin_reader.h"
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

// What a real message box showed: its text, the room its text control
// has, where that text's pixels land in it, and whether the control lies
// inside the box.
struct TBoxLook {
    std::wstring Text;
    RECT Room{};
    RECT Ink{};
    bool InsideBox = false;
    bool Seen = false;
};
TBoxLook* BoxLook = nullptr;

// Reads the open message box as a user sees it, then answers it "no"
// where it asks and "OK" where it tells.
void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND box = testwin::VisibleThreadWindow(testwin::MESSAGE_BOX_CLASS);
    if (!box || !BoxLook) return;
    KillTimer(nullptr, timer);
    const HWND text = GetDlgItem(box, 0xFFFF);
    TBoxLook& look = *BoxLook;
    look.Seen = true;
    std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(text, caption.data(), static_cast<int>(caption.size()))));
    look.Text = caption;
    GetClientRect(text, &look.Room);
    RECT inBox{}, client{};
    GetWindowRect(text, &inBox);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&inBox), 2);
    GetClientRect(box, &client);
    look.InsideBox = inBox.left >= 0 && inBox.top >= 0 && inBox.right <= client.right && inBox.bottom <= client.bottom;
    // The static control draws its text so (left aligned, broken at words).
    HDC dc = GetDC(text);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    look.Ink = textprobe::detail::InkBox(dc, look.Room, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX,
                                         [&](HDC on, LPRECT r, UINT f) { return DrawTextW(on, caption.c_str(), -1, r, f); });
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    const int answer = GetDlgItem(box, IDNO) ? IDNO : IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

// Every message box of the ledger holds its text: the system sizes a box
// by measuring its text in the message font, and the text's pixels must
// land inside the room that measuring gave (a font drawn wider than it
// measures cut the last characters of the left-out rows' message). The
// boxes are the real ones: the rows left out of the totals, a skin file
// that is missing, the quit confirmation, in the skin as the program has it.
TEST_F(SkinScreensTest, EveryMessageBoxHoldsItsText)
{
    Start();
    if (HasFatalFailure()) return;
    Form1->Show();
    Application->SetMessageBoxHandler(nullptr);
    const std::string missing = WideToAnsi(FFolder.File(L"没有这个皮肤.skn"));
    const struct {
        const char* What;
        const wchar_t* Says;  // a part of its text
        std::function<void()> Show;
    } boxes[] = {
        {"rows left out of the totals", L"未计入支出和收入合计。",
         [this] {
             AddEntries(DatabasePath(), {{"半价", "日常", "2026/12/4", "支出", "12.5", ""}});
             Form1->AmountsLeftOutReported = 0;
             FullRefresh();
         }},
        {"a missing skin file", L"继续使用当前的皮肤。", [&] { Form1->SkinData1->SetSkinFile(missing); }},
        {"the quit confirmation", L"您真的要退出吗", [] { Form1->Close(); }},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.What);
        TBoxLook look;
        BoxLook = &look;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtBox);
        b.Show();
        BoxLook = nullptr;
        if (!look.Seen) KillTimer(nullptr, timer);
        ASSERT_TRUE(look.Seen) << "no message box was shown";
        EXPECT_NE(look.Text.find(b.Says), std::wstring::npos) << textprobe::Utf8(look.Text);
        ASSERT_FALSE(IsRectEmpty(&look.Ink)) << "no text was drawn";
        EXPECT_TRUE(look.Ink.left >= 0 && look.Ink.top >= 0 && look.Ink.right <= look.Room.right &&
                    look.Ink.bottom <= look.Room.bottom)
            << textprobe::Utf8(look.Text) << "\n inks " << look.Ink.left << "," << look.Ink.top << "-" << look.Ink.right
            << "," << look.Ink.bottom << " in " << look.Room.right << "x" << look.Room.bottom;
        EXPECT_TRUE(look.InsideBox) << "the text reaches past the box";
    }
    EXPECT_TRUE(Form1->Visible()) << "the quit confirmation was answered no";
}

// A 4 x 4 24-bit BMP file of one colour.
std::vector<std::uint8_t> SmallBmp()
{
    std::vector<std::uint8_t> bmp(54 + 4 * 12, 0x40);
    const std::uint8_t header[54] = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0,
                                     4,   0,   0,   0, 1, 0, 24, 0, 0, 0, 0, 0, 48, 0, 0, 0};
    std::copy(header, header + 54, bmp.begin());
    return bmp;
}

// A skin file with the description `ini` and the files `bitmaps` (each the
// small BMP), written into the test's folder.
std::string WriteSkin(const TTempFolder& folder, const wchar_t* name, const std::string& ini,
                      const std::vector<std::string>& bitmaps)
{
    std::vector<TSkinFileEntry> files{{"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())}};
    for (const std::string& bitmap : bitmaps) files.push_back({bitmap, SmallBmp()});
    const std::vector<std::uint8_t> packed = PackSkinContainer(files);
    PutFile(folder.File(name), std::string(packed.begin(), packed.end()));
    return WideToAnsi(folder.File(name));
}

// A skin file that cannot be used is refused with a message in the ledger's
// Chinese and the skin in use stays: a missing file, an empty one (damaged,
// not "older"), one cut short, one of an unknown version, one whose
// description names an image it does not hold, one whose window border
// cannot be built.
TEST_F(SkinScreensTest, UnusableSkinFilesAreRefusedInChinese)
{
    Start();
    Form1->Show();
    const std::string frame = "[Personality]\r\nTop=top.bmp\r\nBottom=bottom.bmp\r\nLeft=side.bmp\r\n";
    const std::string missing = WideToAnsi(FFolder.File(L"none.skn"));
    PutFile(FFolder.File(L"empty.skn"), "");
    std::string cut;
    {
        std::string skins = RAVELBOOK_SKINS_DIR;
        if (skins[0] == '/') skins = "Z:" + skins;
        TMemoryStream whole;
        whole.LoadFromFile(skins + "/paper.skn");
        const auto* bytes = static_cast<const char*>(whole.Memory());
        PutFile(FFolder.File(L"cut.skn"), std::string(bytes, bytes + whole.Size() / 2));
        cut = WideToAnsi(FFolder.File(L"cut.skn"));
    }
    std::vector<std::uint8_t> plain = BuildSkinContainer({{"skin.ini", {'x'}}});
    plain[0] = 0x10;  // a version this program does not know
    const std::vector<std::uint8_t> old = LzhPackWithSize(plain.data(), plain.size());
    PutFile(FFolder.File(L"old.skn"), std::string(old.begin(), old.end()));
    const std::string noImage = WriteSkin(FFolder, L"noimage.skn", frame + "Right=side.bmp\r\n", {"top.bmp", "side.bmp"});
    // Its right border names a file of another kind: no border can be built of it.
    const std::string noBorder =
        WriteSkin(FFolder, L"noborder.skn", frame + "Right=side.BMP\r\n", {"top.bmp", "bottom.bmp", "side.bmp"});
    const std::string empty = WideToAnsi(FFolder.File(L"empty.skn"));
    const struct {
        std::string File;
        std::string Says;
    } cases[] = {
        {missing, "找不到皮肤文件\"" + missing + "\"。\n继续使用当前的皮肤。"},
        {empty, "皮肤文件\"" + empty + "\"不能使用:文件是空的,已损坏。\n继续使用当前的皮肤。"},
        {cut, "皮肤文件\"" + cut + "\"不能使用:文件已损坏。\n继续使用当前的皮肤。"},
        {WideToAnsi(FFolder.File(L"old.skn")),
         std::string(SKIN_MSG_OLDER_SKIN) + "\r\n皮肤文件的版本无法识别,继续使用当前的皮肤。"},
        {noImage, "皮肤文件\"" + noImage + "\"不能使用:皮肤说明用到图片\"bottom.bmp\",文件里却没有这张图片。\n"
                  "继续使用当前的皮肤。"},
        {noBorder, "皮肤文件\"" + noBorder + "\"不能使用:无法做出窗口边框\"Right\"。\n继续使用当前的皮肤。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        TakeBoxTexts();
        Form1->SkinData1->SetSkinFile(c.File);
        EXPECT_EQ(TakeBoxTexts(), std::vector<std::string>{c.Says});
        EXPECT_FALSE(Form1->SkinData1->NoSkin());
        EXPECT_EQ(Form1->SkinData1->Model().SkinName, "Ravelbook") << "the skin in use stays";
    }
    // The same skin with its image and its border loads.
    const std::string whole = WriteSkin(FFolder, L"whole.skn", frame + "Right=side.bmp\r\n[TitlebarSkin]\r\nSkinName=Small\r\n",
                                        {"top.bmp", "bottom.bmp", "side.bmp"});
    Form1->SkinData1->SetSkinFile(whole);
    EXPECT_TRUE(TakeBoxTexts().empty());
    EXPECT_EQ(Form1->SkinData1->Model().SkinName, "Small");
}

}  // namespace

