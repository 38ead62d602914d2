// CSV export and import on the tools tab: quoting and parsing of fields with
// quotes, commas, line breaks and Chinese; the exported file's exact bytes;
// GBK and UTF-8 files; refused files reported with their line, nothing
// written; and the round trip into an empty ledger.
#include "app/csv_transfer.h"

#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using namespace ledger;

namespace {

#define U8(text) std::string(reinterpret_cast<const char*>(u8##text))

TEST(CsvFieldsTest, QuotedWhereNeededAndReadBackWithTheirLines)
{
    struct TCase {
        std::string value, field;
    };
    const TCase cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {U8("房租,押金"), "\"" + U8("房租,押金") + "\""},
        {U8("工资 十二月"), U8("工资 十二月")},
        {" blanks kept ", " blanks kept "},
    };
    std::string text;
    for (const TCase& c : cases) {
        EXPECT_EQ(CsvField(c.value), c.field) << c.value;
        text += CsvField(c.value) + ",x\r\n";
    }
    // Every field comes back as it was, and each record knows its line:
    // the two multi-line fields push the later records down.
    const std::vector<TCsvRecord> records = ParseCsv(text);
    ASSERT_EQ(records.size(), std::size(cases));
    const int lines[] = {1, 2, 3, 4, 5, 7, 9, 10, 11};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_THAT(records[i].Fields, ElementsAre(cases[i].value, "x")) << i;
        EXPECT_EQ(records[i].Line, lines[i]) << i;
    }
    // LF and CR line ends, empty lines, a last record without an ending and
    // an empty last field.
    const std::vector<TCsvRecord> loose = ParseCsv("a,b\n\nc,\rd");
    ASSERT_EQ(loose.size(), 3u);
    EXPECT_THAT(loose[1].Fields, ElementsAre("c", ""));
    EXPECT_EQ(loose[1].Line, 3);
    EXPECT_THAT(loose[2].Fields, ElementsAre("d"));
    EXPECT_EQ(loose[2].Line, 4);

    const struct {
        const char* text;
        int line;
    } bad[] = {{"a,b\r\n\"open,c\r\nmore", 2}, {"a\r\nb\r\n\"x\"y,z", 3}};
    for (const auto& b : bad) {
        try {
            ParseCsv(b.text);
            ADD_FAILURE() << b.text;
        } catch (const ECsvError& error) {
            EXPECT_EQ(error.Line(), b.line) << b.text;
            EXPECT_THAT(error.Message(), HasSubstr("第 " + std::to_string(b.line) + " 行")) << b.text;
        }
    }
}

class CsvTransferTest : public LedgerWindowsTest {
protected:
    CsvTransferTest()
    {
        Form1Chooser = [this](bool save, std::wstring& path) {
            Chosen.push_back(save);
            path = FFolder.File(save ? L"导出.csv" : ImportName);
            return ChooserAnswer;
        };
    }
    void Start(const std::vector<TEntry>& entries)
    {
        StartWith(entries);
        Form1->CsvFileChooser = Form1Chooser;
        Boxes.clear();
    }
    void Import(const std::string& bytes)
    {
        PutFile(FFolder.File(ImportName), bytes);
        Answer = IDYES;
        Click(Form1->Buttonimportcsv);
    }

    std::function<bool(bool, std::wstring&)> Form1Chooser;
    std::vector<bool> Chosen;
    bool ChooserAnswer = true;
    std::wstring ImportName = L"导入.csv";
};

const std::vector<TEntry> SAMPLE = {
    {"工资", "收入类", "2026/12/1", "收入", "5000", "十二月的工资"},
    {"房租,押金", "住房", "2026/12/2", "支出", "1500", "交给\"张三\"\r\n第二行"},
    {"菜市场", "日常", "2026/12/3", "支出", " 86 ", ""},
};

TEST_F(CsvTransferTest, ExportWritesTheListAsShownWithMarkCrlfHeaderAndQuotes)
{
    Start(SAMPLE);
    Click(Form1->Buttonexportcsv);
    EXPECT_THAT(Chosen, ElementsAre(true));
    const std::string expected = "\xEF\xBB\xBF" + U8("编号,项目名称,项目类别,编辑时间,支出或收入,金额,项目备注") + "\r\n" +
                                 U8("1,工资,收入类,2026/12/1,收入,5000,十二月的工资") + "\r\n" +
                                 U8("2,\"房租,押金\",住房,2026/12/2,支出,1500,\"交给\"\"张三\"\"\r\n第二行\"") +
                                 "\r\n" + U8("3,菜市场,日常,2026/12/3,支出, 86 ,") + "\r\n";
    EXPECT_EQ(FileBytes(FFolder.File(L"导出.csv")), expected);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(std::string("导出成功!共导出 3 个记录到文件 \"") +
                                            WideToAnsi(FFolder.File(L"导出.csv")) + "\"。"));

    // After a search only the entries found go out; a cancelled choice
    // writes nothing.
    Form1->ComboBoxsearch->SetText("市");
    Click(Form1->Buttonsearch);
    Click(Form1->Buttonexportcsv);
    EXPECT_EQ(FileBytes(FFolder.File(L"导出.csv")),
              "\xEF\xBB\xBF" + U8("编号,项目名称,项目类别,编辑时间,支出或收入,金额,项目备注") + "\r\n" +
                  U8("3,菜市场,日常,2026/12/3,支出, 86 ,") + "\r\n");
    Boxes.clear();
    ChooserAnswer = false;
    DeleteFileW(FFolder.File(L"导出.csv").c_str());
    Click(Form1->Buttonexportcsv);
    EXPECT_FALSE(FileExistsW(FFolder.File(L"导出.csv")));
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
}

TEST_F(CsvTransferTest, RoundTripIntoAnEmptyLedgerGivesTheSameEntries)
{
    Start(SAMPLE);
    Click(Form1->Buttonexportcsv);
    const std::vector<std::string> before = StoredRows();
    const std::string file = FileBytes(FFolder.File(L"导出.csv"));

    // A new, empty ledger in place of the old one.
    Form1->ADOConnection1->Close();
    ASSERT_TRUE(DeleteFileW(DatabasePath().c_str()));
    MakeLedger();
    FullRefresh();
    Boxes.clear();
    Import(file);
    EXPECT_EQ(StoredRows(), before);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("文件 \"导入.csv\"(UTF-8 编码)中共有 3 个记录,都已检查无误。确定要全部导入吗?",
                                            "导入成功!共导入 3 个记录。"));
    // The list and the totals show them at once.
    EXPECT_EQ(Panel(1), "共 3 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:1586元");
    EXPECT_EQ(Panel(3), "收入金额共:5000元");

    // Answering No to the preview writes nothing.
    Form1->ADOConnection1->Close();
    DeleteFileW(DatabasePath().c_str());
    MakeLedger();
    PutFile(FFolder.File(ImportName), file);
    Answer = IDNO;
    Click(Form1->Buttonimportcsv);
    EXPECT_THAT(StoredRows(), IsEmpty());
}

TEST_F(CsvTransferTest, GbkAndUtf8FilesAreBothRead)
{
    Start({});
    // The test's narrow texts are GBK, as the program's are.
    Import("项目名称,项目类别,编辑时间,支出或收入,金额,项目备注\r\n书,文化,2026/11/5, 支出 ,30,GBK 的\r\n");
    Import(U8("项目名称,项目类别,编辑时间,支出或收入,金额,项目备注\n奖金,工资,2026/11/6,收入,800,UTF-8 的\n"));
    Import("\xEF\xBB\xBF" + U8("编号,项目名称,项目类别,编辑时间,支出或收入,金额,项目备注\r\n77,笔,文化,2026/11/7,支出,-3,") +
           "\r\n");
    EXPECT_THAT(StoredRows(), ElementsAre("书|文化|2026/11/5| 支出 |30|GBK 的", "奖金|工资|2026/11/6|收入|800|UTF-8 的",
                                          "笔|文化|2026/11/7|支出|-3|"));
    const std::vector<std::string> boxes = TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_THAT(boxes[0], HasSubstr("(GBK 编码)中共有 1 个记录"));
    EXPECT_THAT(boxes[2], HasSubstr("(UTF-8 编码)中共有 1 个记录"));
    // The key column is the database's to give, whatever the file says.
    EXPECT_THAT(RawQuery(DatabasePath(), "select max(" + U8("编号") + ") from data"), ElementsAre("3"));
}

TEST_F(CsvTransferTest, ABadRowOrADuplicateNameIsReportedWithItsLineAndNothingIsWritten)
{
    Start({Entry("Rent", "支出", "1500")});
    const std::string head = "项目名称,项目类别,编辑时间,支出或收入,金额,项目备注\r\n";
    const std::string good = "书,文化,2026/11/5,支出,30,\"两行\r\n备注\"\r\n";  // lines 2 and 3
    struct TCase {
        std::string body;
        std::string message;
        bool whole = false;  // the body is the whole file, without the header
    };
    // Each message is a sentence; the amount's own text already ends so.
    const TCase cases[] = {
        {good + "笔,文化,2026/11/5,支出,12.5,\r\n", "第 4 行:" + AmountRefusedText("12.5")},
        {good + "笔,文化,2026/11/5,其他,12,\r\n", "第 4 行:支出或收入是 \"其他\",只能是 \"支出\" 或 \"收入\"。"},
        {good + "笔,文化,2026/11/5,请选择该选项,12,\r\n",
         "第 4 行:支出或收入是 \"请选择该选项\",只能是 \"支出\" 或 \"收入\"。"},
        {good + ",文化,2026/11/5,支出,12,\r\n", "第 4 行:项目名称是空的。"},
        {good + "笔,,2026/11/5,支出,12,\r\n", "第 4 行:项目类别是空的。"},
        {good + "笔,文化,2026/11/5,支出\r\n", "第 4 行:有 4 个字段,应有 6 个。"},
        {good + "rent,文化,2026/11/5,支出,12,\r\n", "第 4 行:项目名称 \"rent\" 在账本中已经有了,项目名称不能重复。"},
        {good + "\r\n,,,,,\r\n书,文化,2026/11/5,收入,1,\r\n",
         "第 6 行:项目名称 \"书\" 与第 2 行的相同,项目名称不能重复。"},
        {"名称,类别\r\n", "第 1 行:第一行应是列名 编号,项目名称,项目类别,编辑时间,支出或收入,金额,项目备注。", true},
        {"", "文件是空的,第一行应是列名 编号,项目名称,项目类别,编辑时间,支出或收入,金额,项目备注。", true},
        {good + "笔,文化,\"2026/11/5,支出,12,\r\n", "第 4 行:引号没有配对(缺少结束的引号)。"},
    };
    const std::vector<std::string> before = StoredRows();
    for (const TCase& c : cases) {
        Import(c.whole ? c.body : head + c.body);
        EXPECT_THAT(TakeBoxTexts(), ElementsAre("导入失败:" + c.message + "没有导入任何记录,账本没有改变。")) << c.body;
        EXPECT_EQ(StoredRows(), before) << c.body;
    }
    // A file that is neither GBK nor UTF-8.
    Import(head + "\xFF\xFE\xFD,x,y,支出,1,\r\n");
    EXPECT_THAT(TakeBoxTexts(),
                ElementsAre("导入失败:文件不是 UTF-8 或 GBK 编码的文本,无法读取。没有导入任何记录,账本没有改变。"));
    EXPECT_EQ(StoredRows(), before);
}

// A failure inside the transaction (here the table refusing a row) takes
// back every row written before it.
TEST_F(CsvTransferTest, AnInsertThatFailsTakesBackTheWholeImport)
{
    Start({});
    Form1->ADOConnection1->Open();
    sqlite3* db = Form1->ADOConnection1->Handle();
    ASSERT_EQ(sqlite3_exec(db,
                           U8("create trigger refuse before insert on data when new.项目名称='坏' "
                              "begin select raise(abort, 'refused'); end")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::vector<TImportEntry> entries = {
        {U8("好"), U8("类"), "2026/1/1", U8("支出"), "1", "", 2},
        {U8("坏"), U8("类"), "2026/1/1", U8("支出"), "1", "", 3},
    };
    EXPECT_THROW(ImportEntries(db, entries), Exception);
    EXPECT_THAT(StoredRows(), IsEmpty());
    EXPECT_TRUE(sqlite3_get_autocommit(db));
}

}  // namespace
