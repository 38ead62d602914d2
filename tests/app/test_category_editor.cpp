// The category editor over XMLB.txt: the file made with the defaults only
// when it is missing, "+" appending its line and "-" writing the file whole,
// both refilling the two category boxes of the entry editor, a file that
// cannot be written, files in UTF-8 or in no known encoding, a long file,
// and the window's font drawing Chinese.
#include "framework/display_scale.h"
#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> Lines(TStrings* items)
{
    std::vector<std::string> lines;
    for (int i = 0; i < items->Count(); ++i) lines.push_back(items->Get(i));
    return lines;
}

class CategoryEditorTest : public LedgerWindowsTest {
protected:
    // Tells a combo box its list is opening, as the window does.
    static void OpenList(TCustomComboBox* combo)
    {
        SendMessageA(GetParent(combo->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_DROPDOWN),
                     reinterpret_cast<LPARAM>(combo->Handle()));
    }
    std::vector<std::string> Shown() const { return Lines(Form4->ListBoxXMLB->Items()); }
    // The list, the file and both category boxes agree on `lines`.
    void ExpectEverywhere(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        EXPECT_EQ(FileBytes(CategoryPath()), text);
        EXPECT_EQ(Shown(), lines);
        EXPECT_EQ(Lines(Form2->ComboBoxxiangmuleibie->Items()), lines);
        EXPECT_EQ(Lines(Form2->DBComboBoxclass->Items()), lines);
    }
    void AddCategory(const std::string& text)
    {
        Form4->EditXMLB->SetText(text);
        Click(Form4->ButtonXMLBADD);
    }
    void RemoveCategory(int index)
    {
        Form4->ListBoxXMLB->SetItemIndex(index);
        Click(Form4->ButtonXMLBDEL);
    }
};

TEST_F(CategoryEditorTest, MissingFileIsMadeWithTheDefaults)
{
    StartWith({});
    const std::vector<std::string> defaults = {"国际域名",   "国内域名",     "虚拟空间ASP", "虚拟空间PHP", "虚拟空间JSP",
                                               "虚拟空间CGI", "虚拟空间全能", "网站建设",    "网站系统",    "网站维护",
                                               "软件开发",   "广告策划",     "方案设计"};
    ExpectEverywhere(defaults);
    EXPECT_FALSE(Form4->ListBoxxnlbbak->Visible());
}

TEST_F(CategoryEditorTest, ExistingFileIsTakenAsItStands)
{
    const std::vector<std::vector<std::string>> files = {{}, {"工资", "", "工资", " 房租 "}};
    for (const auto& lines : files) {
        SCOPED_TRACE(lines.size());
        WriteCategories(lines);
        if (Form1) RestartWindows(); else StartWith({});
        ExpectEverywhere(lines);
    }
}

TEST_F(CategoryEditorTest, AddAndRemoveKeepFileListAndBoxesAlike)
{
    WriteCategories({"工资", "房租"});
    StartWith({});
    AddCategory("水电");
    EXPECT_THAT(Form4->EditXMLB->Text(), IsEmpty());
    AddCategory("工资");  // a repeat is added again
    ExpectEverywhere({"工资", "房租", "水电", "工资"});

    RemoveCategory(1);
    ExpectEverywhere({"工资", "水电", "工资"});
    Form4->ListBoxXMLB->SetItemIndex(-1);
    Click(Form4->ButtonXMLBDEL);  // nothing chosen: nothing removed
    ExpectEverywhere({"工资", "水电", "工资"});
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
}

// "+" adds the new line at the end of the file and leaves the bytes before it
// as they were (a last line without its line break gets one); a file that
// changed on disk since it was read is written whole from the list instead.
TEST_F(CategoryEditorTest, AddAppendsToTheFileAsItStands)
{
    PutFile(CategoryPath(), "工资\n房租");
    StartWith({});
    AddCategory("水电");
    AddCategory("交通");
    EXPECT_EQ(FileBytes(CategoryPath()), "工资\n房租\r\n水电\r\n交通\r\n");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"工资", "房租", "水电", "交通"}));
    EXPECT_EQ(Lines(Form2->DBComboBoxclass->Items()), Shown());

    PutFile(CategoryPath(), "别的\r\n");
    AddCategory("餐饮");
    ExpectEverywhere({"工资", "房租", "水电", "交通", "餐饮"});
    AddCategory("房贷");
    ExpectEverywhere({"工资", "房租", "水电", "交通", "餐饮", "房贷"});
    RestartWindows();
    ExpectEverywhere({"工资", "房租", "水电", "交通", "餐饮", "房贷"});
}

TEST_F(CategoryEditorTest, EmptiedListStaysEmptyAtTheNextStart)
{
    WriteCategories({"a", "b", "c"});
    StartWith({});
    for (int i = 0; i < 3; ++i) RemoveCategory(0);
    ExpectEverywhere({});
    RestartWindows();
    ExpectEverywhere({});
}

TEST_F(CategoryEditorTest, EmptyTextAddsAnEmptyCategoryThatComesBack)
{
    WriteCategories({"工资"});
    StartWith({});
    AddCategory("");
    ExpectEverywhere({"工资", ""});
    RestartWindows();
    ExpectEverywhere({"工资", ""});
}

TEST_F(CategoryEditorTest, RefillEmptiesTheChosenCategoryOfBothTabs)
{
    WriteCategories({"工资", "房租"});
    StartWith({Entry("十二月工资", "收入", "5000")});
    Click(Form1->Buttonaddnewinfo);
    Choose(Form2->ComboBoxxiangmuleibie, 1);
    ASSERT_EQ(Form2->ComboBoxxiangmuleibie->Text(), "房租");
    DoubleClickGrid(0);
    ASSERT_EQ(Form2->DBComboBoxclass->Text(), "工资");

    Click(Form2->Buttonxiugaileibie);
    EXPECT_TRUE(Form4->Visible());
    AddCategory("奖金");
    EXPECT_THAT(Form2->ComboBoxxiangmuleibie->Text(), IsEmpty());
    EXPECT_THAT(Form2->DBComboBoxclass->Text(), IsEmpty());
    EXPECT_EQ(Lines(Form2->DBComboBoxclass->Items()), (std::vector<std::string>{"工资", "房租", "奖金"}));
    // Only the box is empty: the entry keeps its category.
    EXPECT_EQ(Form1->ADOQuery1->State(), dsBrowse);
    EXPECT_EQ(StoredRows()[0], "十二月工资|工资|2026/12/8|收入|5000|");

    Click(Form4->Buttoncloseform);
    EXPECT_FALSE(Form4->Visible());
    EXPECT_TRUE(IsWindow(Form4->Handle()));
}

TEST_F(CategoryEditorTest, FileThatCannotBeWrittenChangesNothing)
{
    WriteCategories({"工资"});
    StartWith({});
    SetFileAttributesW(CategoryPath().c_str(), FILE_ATTRIBUTE_READONLY);
    AddCategory("房租");
    std::vector<std::string> boxes = TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);  // the error box, naming the file
    EXPECT_NE(boxes[0].find("XMLB.txt"), std::string::npos);
    EXPECT_EQ(Form4->EditXMLB->Text(), "房租");  // nothing typed is lost
    ExpectEverywhere({"工资"});

    RemoveCategory(0);
    EXPECT_EQ(TakeBoxTexts().size(), 1u);
    ExpectEverywhere({"工资"});
    SetFileAttributesW(CategoryPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file saved in UTF-8 (with or without the byte-order mark) is read as
// UTF-8 and, at the first change, written back in GBK like every other file.
TEST_F(CategoryEditorTest, Utf8FileIsReadAsUtf8AndWrittenBackInGbk)
{
    const std::string utf8 = U8(u8"国际域名\r\n网站建设\r\n软件开发\r\n");
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        SCOPED_TRACE(mark.empty() ? "no mark" : "byte-order mark");
        PutFile(CategoryPath(), mark + utf8);
        if (Form1) RestartWindows(); else StartWith({});
        EXPECT_EQ(Shown(), (std::vector<std::string>{"国际域名", "网站建设", "软件开发"}));
        EXPECT_EQ(FileBytes(CategoryPath()), mark + utf8) << "reading changes nothing";
        AddCategory("新类别");
        EXPECT_THAT(TakeBoxTexts(), IsEmpty());
        ExpectEverywhere({"国际域名", "网站建设", "软件开发", "新类别"});
    }
}

// A UTF-8 file with characters GBK lacks (Korean, a math sign, an emoji) is
// read as UTF-8: every line GBK can show is shown as it is, the others with
// "?" for what it lacks, and adding and removing keep every other line's
// bytes as they were, in UTF-8.
TEST_F(CategoryEditorTest, Utf8FileWithCharactersGbkLacksKeepsThemOnWrite)
{
    const std::string utf8 = U8(u8"工资\r\n한국어\r\n∮积分\r\n住房😀\r\n");
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        SCOPED_TRACE(mark.empty() ? "no mark" : "byte-order mark");
        PutFile(CategoryPath(), mark + utf8);
        if (Form1) RestartWindows(); else StartWith({});
        const std::vector<std::string> shown = Shown();
        ASSERT_EQ(shown.size(), 4u);
        EXPECT_EQ(shown[0], "工资");
        EXPECT_EQ(shown[2].substr(shown[2].size() - 4), "积分");
        EXPECT_NE(shown[1].find('?'), std::string::npos);
        AddCategory("新类别");
        EXPECT_THAT(TakeBoxTexts(), IsEmpty());
        EXPECT_EQ(FileBytes(CategoryPath()), mark + utf8 + U8(u8"新类别\r\n"));
        RemoveCategory(0);
        EXPECT_THAT(TakeBoxTexts(), IsEmpty());
        EXPECT_EQ(FileBytes(CategoryPath()), mark + U8(u8"한국어\r\n∮积分\r\n住房😀\r\n新类别\r\n"));
        EXPECT_EQ(Form4->ListBoxXMLB->Items()->Count(), 4);
    }
}

// Text that was not read cleanly is never written back: the file stays as it
// is and "+" and "-" say why they cannot change it.
TEST_F(CategoryEditorTest, FileInNoKnownEncodingIsNeverRewritten)
{
    std::string noise;
    for (int i = 0; i < 600; ++i) noise += static_cast<char>((i * 37 + 11) % 256);
    const std::string files[] = {
        "工资\r\n" + std::string("\x81\r\n") + "房租\r\n",  // a GBK lead byte with no second byte
        noise,                                                  // bytes of every value, zero included
    };
    for (const std::string& bytes : files) {
        PutFile(CategoryPath(), bytes);
        if (Form1) RestartWindows(); else StartWith({});
        AddCategory("新类别");
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(CATEGORY_FILE_UNREADABLE));
        EXPECT_EQ(Form4->EditXMLB->Text(), "新类别");
        RemoveCategory(0);
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(CATEGORY_FILE_UNREADABLE));
        EXPECT_EQ(FileBytes(CategoryPath()), bytes);
    }
}

// A long category file is shown whole, but the entry editor's two boxes (and
// the main window's suggestions) get their thousands of choices only when
// their list is opened, and "+" adds one line to the list instead of filling
// it again.
TEST_F(CategoryEditorTest, LongFileFillsTheChoicesWhenTheirListOpens)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 5000; ++i) lines.push_back("类别" + std::to_string(i));
    WriteCategories(lines);
    StartWith({});
    EXPECT_EQ(Form4->ListBoxXMLB->Items()->Count(), 5000);
    for (TCustomComboBox* combo : {static_cast<TCustomComboBox*>(Form2->ComboBoxxiangmuleibie),
                                   static_cast<TCustomComboBox*>(Form2->DBComboBoxclass),
                                   static_cast<TCustomComboBox*>(Form1->ComboBoxsearch)}) {
        EXPECT_EQ(combo->Items()->Count(), 0);
        OpenList(combo);
        EXPECT_EQ(Lines(combo->Items()), lines);
    }
    AddCategory("新类别");
    lines.push_back("新类别");
    EXPECT_EQ(Shown(), lines);
    EXPECT_EQ(Form2->ComboBoxxiangmuleibie->Items()->Count(), 0) << "emptied, filled again when opened";
    OpenList(Form2->ComboBoxxiangmuleibie);
    EXPECT_EQ(Lines(Form2->ComboBoxxiangmuleibie->Items()), lines);
    EXPECT_EQ(ledger::ReadLines(CategoryPath()), lines);
    // Two more before the other box is opened: it offers both, once each.
    AddCategory("又一个");
    AddCategory("最后");
    lines.insert(lines.end(), {"又一个", "最后"});
    OpenList(Form2->DBComboBoxclass);
    EXPECT_EQ(Lines(Form2->DBComboBoxclass->Items()), lines);
    EXPECT_EQ(ledger::ReadLines(CategoryPath()), lines);
}

TEST_F(CategoryEditorTest, WindowFontDrawsChinese)
{
    StartWith({});
    const TFont* font = Form4->Font();
    EXPECT_EQ(font->Name(), "MS Sans Serif");
    EXPECT_EQ(font->Height(), ScaleToDpi(-12, static_cast<UINT>(Form4->CurrentPixelsPerInch())));
    // The face chosen for the window's font has Chinese glyphs: the captions
    // are not drawn as boxes.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE extent{};
    const std::string caption = "项目类别设置";
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(metrics.tmCharSet, GB2312_CHARSET);
    EXPECT_GE(extent.cx, 6 * 10);  // six full-width characters, not boxes
}

}  // namespace
