// The ledger's files and statements: the connection string, the four
// statements run against a real ledger (quotes, wildcards, the name lookup),
// and XMLB.txt's line rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/ledger_files.h"
#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "tests/framework/data/store_test_folder.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using namespace ledger;

namespace {

// A ledger in a program folder with Chinese characters and a blank in it.
class LedgerFilesTest : public ::testing::Test {
protected:
    LedgerFilesTest() : FFolder(L"账本 测试")
    {
        SetProgramFolder(FFolder.Path());
        MakeLedgerFile(FFolder.File(L"data.mdb"));
    }
    ~LedgerFilesTest() override { SetProgramFolder(L""); }

    TTempFolder FFolder;
};

TEST(LedgerConnectionString, ThreePiecesJoined)
{
    EXPECT_EQ(BuildConnectionString(L"C:\\Program Files\\记账\\"),
              L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Program Files\\记账\\data.mdb;"
              L"Persist Security Info=False");
    // A ";" in the folder would end the file name early: the name is quoted.
    for (const wchar_t* folder : {L"C:\\a;b\\", L"C:\\a;\"b\"\\"}) {
        std::wstring text = BuildConnectionString(folder);
        EXPECT_EQ(ConnectionStringValue(text, L"Data Source"), std::wstring(folder) + L"data.mdb");
        EXPECT_EQ(ConnectionStringValue(text, L"Persist Security Info"), L"False");
    }
}

TEST(LedgerStatements, TextOfEachStatement)
{
    struct Case {
        std::string built, expected;
    } cases[] = {
        {SelectAllSql(), "select * from data order by 编号 asc"},
        {SearchSql("金额", "12"), "Select * from data where 金额 like '%12%'"},
        {SearchSql("项目备注", "it's"), "Select * from data where 项目备注 like '%it''s%'"},
        {NameLookupSql("工资"), "Select 项目名称 from data where 项目名称='工资'"},
        {NameLookupSql("a'); drop table data; --"),
         "Select 项目名称 from data where 项目名称='a''); drop table data; --'"},
        {InsertSql("午饭", "餐饮", "2026/12/8", "支出", "25", "和'同事'"),
         "Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values "
         "('午饭','餐饮','2026/12/8','支出','25','和''同事''')"},
        {QuoteText("''"), "''''''"},
        {QuoteText(""), "''"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(LedgerStatements, SearchColumnMustBeAColumnOfTheTable)
{
    for (const char* column : {"编号", "项目名称", "项目类别", "编辑时间", "支出或收入", "金额", "项目备注"})
        EXPECT_NO_THROW(SearchSql(column, "x")) << column;
    for (const char* column : {"", "名称", " 金额", "金额 ", "1=1 or 项目名称", "金额 like '%' --", "data", "*"}) {
        try {
            SearchSql(column, "x");
            ADD_FAILURE() << column;
        } catch (const ESearchColumnError& e) {
            EXPECT_EQ(e.Message(), "搜索列名无效,请从列表中选择");
        }
    }
}

TEST_F(LedgerFilesTest, StatementsAgainstARealLedger)
{
    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(LedgerConnectionString());
    TADOQuery list(nullptr), check(nullptr);
    list.SetConnection(&connection);
    check.SetConnection(&connection);
    auto run = [](TADOQuery& q, const std::string& sql) {
        q.Close();
        q.SQL().Clear();
        q.SQL().Add(sql);
        q.Open();
    };
    auto insert = [&](const std::string& name, const std::string& direction, const std::string& amount,
                      const std::string& remark) {
        list.Close();
        list.SQL().Clear();
        list.SQL().Add(InsertSql(name, "网站建设", "2026/12/8", direction, amount, remark));
        list.ExecSQL();
    };
    insert("Salary", "收入", "5000", "十二月");
    insert("房租's", "支出", "1500", "含'物业'费");
    insert("电费", "支出", "0120", "100%");
    insert("水费", "支出", "35", "a_b");

    run(list, SelectAllSql());
    ASSERT_EQ(list.RecordCount(), 4);
    list.Next();
    EXPECT_EQ(list.FieldByName("项目名称").AsString(), "房租's");
    EXPECT_EQ(list.FieldByName("项目备注").AsString(), "含'物业'费");
    list.Next();
    EXPECT_EQ(list.FieldByName("金额").AsString(), "0120");

    struct Search {
        const char* column;
        const char* keyword;
        std::vector<std::string> names;
    } searches[] = {
        {"项目名称", "费", {"电费", "水费"}},
        {"项目名称", "'s", {"房租's"}},
        {"项目名称", "sal", {"Salary"}},          // like ignores ASCII case
        {"金额", "0", {"Salary", "房租's", "电费"}},
        {"编辑时间", "2026/12", {"Salary", "房租's", "电费", "水费"}},
        {"项目备注", "%", {"Salary", "房租's", "电费", "水费"}},  // "%" matches anything
        {"项目备注", "a_b", {"水费"}},
        {"项目备注", "_", {"Salary", "房租's", "电费", "水费"}},  // "_" is any one character
        {"项目类别", "网站_设", {"Salary", "房租's", "电费", "水费"}},
        {"项目备注", "' or '1'='1", {}},
        {"编号", "3", {"电费"}},
    };
    for (const Search& s : searches) {
        run(list, SearchSql(s.column, s.keyword));
        std::vector<std::string> names;
        for (; !list.Eof(); list.Next()) names.push_back(list.FieldByName("项目名称").AsString());
        std::sort(names.begin(), names.end());
        std::vector<std::string> expected = s.names;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << s.column << " " << s.keyword;
        EXPECT_EQ(list.RecordCount(), static_cast<int>(s.names.size()));
    }

    struct Lookup {
        const char* name;
        bool found;
    } lookups[] = {
        {"Salary", true}, {"SALARY", true}, {"salary", true}, {"Sal", false}, {"Salary ", false},
        {"房租's", true}, {"房租", false},   {"电费", true},   {"%", false},   {"' or ''='", false},
    };
    for (const Lookup& l : lookups) {
        run(check, NameLookupSql(l.name));
        EXPECT_EQ(!check.Eof(), l.found) << l.name;
    }
    EXPECT_THAT(RawQuery(FFolder.File(L"data.mdb"), "select count(*) from data"), ElementsAre("4"));
}

// Edit and delete of the current row of a search result, as the entry editor
// and the delete confirmation do it, then back to the full list.
TEST_F(LedgerFilesTest, EditAndDeleteFromASearchResult)
{
    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(LedgerConnectionString());
    TADOQuery list(nullptr);
    list.SetConnection(&connection);
    auto run = [&](const std::string& sql) {
        list.Close();
        list.SQL().Clear();
        list.SQL().Add(sql);
        list.Open();
    };
    for (const char* name : {"早饭", "工资", "午饭", "晚饭"}) {
        list.SQL().SetText(InsertSql(name, "餐饮", "2026/12/8", "支出", "10", ""));
        list.ExecSQL();
    }
    run(SearchSql("项目名称", "饭"));
    ASSERT_EQ(list.RecordCount(), 3);
    list.Next();
    ASSERT_EQ(list.FieldByName("项目名称").AsString(), "午饭");
    list.Edit();
    list.FieldByName("项目名称").SetAsString("午餐");
    list.FieldByName("金额").SetAsString("25");
    list.Post();
    list.Prior();
    list.Delete();  // 早饭
    EXPECT_EQ(list.FieldByName("项目名称").AsString(), "午餐");

    run(SelectAllSql());
    std::vector<std::string> rows;
    for (; !list.Eof(); list.Next())
        rows.push_back(list.FieldByName("编号").AsString() + " " + list.FieldByName("项目名称").AsString() + " " +
                       list.FieldByName("金额").AsString());
    EXPECT_THAT(rows, ElementsAre("2 工资 10", "3 午餐 25", "4 晚饭 10"));
}

TEST_F(LedgerFilesTest, CategoryFileLines)
{
    std::wstring path = CategoryFilePath();
    EXPECT_EQ(path, FFolder.File(L"XMLB.txt"));

    struct Case {
        std::vector<std::string> lines;
        std::string bytes;
    } writes[] = {
        {{"国际域名", "", " 网站建设 ", "虚拟空间ASP"}, "国际域名\r\n\r\n 网站建设 \r\n虚拟空间ASP\r\n"},
        {{}, ""},
        {{""}, "\r\n"},
        {{"a", "a"}, "a\r\na\r\n"},
    };
    for (const Case& c : writes) {
        WriteLines(path, c.lines);
        EXPECT_EQ(FileBytes(path), c.bytes);
        EXPECT_EQ(ReadLines(path), c.lines);
    }
    EXPECT_FALSE(FileExistsW(path + L".new"));

    struct Read {
        std::string bytes;
        std::vector<std::string> lines;
    } reads[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\r\nb\r\r", {"a", "", "b", ""}},
        {"\t类别\t\r\n", {"\t类别\t"}},
        {"\n", {""}},
        {"", {}},
    };
    for (const Read& r : reads) {
        PutFile(path, r.bytes);
        EXPECT_EQ(ReadLines(path), r.lines) << r.bytes;
    }

    // Long GBK files are checked a piece at a time: every line comes back,
    // a line longer than a piece too, and one bad byte far into the file
    // (a lead byte with a line break for its second byte, or a lone lead
    // byte at the very end) makes the whole file unreadable as GBK.
    std::vector<std::string> many;
    for (int i = 0; i < 20000; ++i) many.push_back("类别" + std::to_string(i));
    many.push_back(std::string(100000, 'x') + "长行");
    many.push_back("末行");
    std::string text;
    for (const std::string& line : many) text += line + "\r\n";
    PutFile(path, text);
    TTextLines read = ReadTextLines(path);
    EXPECT_EQ(read.Encoding, TTextEncoding::Ansi);
    EXPECT_EQ(read.Lines, many);
    const size_t lineStart = text.find('\n', 150000) + 1;
    for (const std::string& bad : {text.substr(0, lineStart) + "\x81\r\n" + text.substr(lineStart), text + "\x81"}) {
        PutFile(path, bad);
        read = ReadTextLines(path);
        EXPECT_EQ(read.Encoding, TTextEncoding::Unreadable) << bad.size();
        EXPECT_GT(read.Lines.size(), many.size());
    }
}

TEST_F(LedgerFilesTest, CategoryFileErrorsNameTheFile)
{
    try {
        ReadLines(FFolder.File(L"缺少.txt"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_THAT(e.Message(), HasSubstr(WideToAnsi(FFolder.File(L"缺少.txt"))));
    }
    try {
        WriteLines(FFolder.File(L"no folder\\XMLB.txt"), {"a"});
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_THAT(e.Message(), HasSubstr("XMLB.txt"));
    }
    // A file that cannot be replaced keeps its old text.
    std::wstring path = CategoryFilePath();
    WriteLines(path, {"old"});
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteLines(path, {"new"}), Exception);
    EXPECT_EQ(FileBytes(path), "old\r\n");
    EXPECT_FALSE(FileExistsW(path + L".new"));
}

}  // namespace
