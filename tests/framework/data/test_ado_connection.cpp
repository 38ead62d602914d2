// The connection: reading the connection string, opening the file (and
// never creating it), and the errors of files that are not ledgers.
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "tests/framework/data/store_test_folder.h"

using ::testing::HasSubstr;

namespace {

std::wstring ConnectionTo(const std::wstring& file)
{
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file + L";Persist Security Info=False";
}

TEST(ConnectionString, ValueOfKey)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* key;
        const wchar_t* expected;
    } cases[] = {
        {L"Provider=X;Data Source=C:\\a\\data.mdb;Persist Security Info=False", L"Data Source", L"C:\\a\\data.mdb"},
        {L"provider=X; data source = C:\\b c\\data.mdb ;x=1", L"Data Source", L"C:\\b c\\data.mdb"},
        {L"Data Source=C:\\账本 测试\\data.mdb", L"data source", L"C:\\账本 测试\\data.mdb"},
        {L"Data Source=\"C:\\a;b\\data.mdb\";Persist Security Info=False", L"Data Source", L"C:\\a;b\\data.mdb"},
        {L"Data Source='C:\\it''s\\data.mdb'", L"Data Source", L"C:\\it's\\data.mdb"},
        {L"Provider=X;Persist Security Info=False", L"Data Source", L""},
        {L"Provider=X;junk;Data Source=d.mdb", L"Data Source", L"d.mdb"},
        {L"", L"Data Source", L""},
        {L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x", L"Provider", L"Microsoft.Jet.OLEDB.4.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectionStringValue(c.text, c.key), c.expected) << WideToUtf8(c.text);
}

TEST(Connection, OpensALedgerInAChineseFolderWhenTheFirstQueryOpens)
{
    TTempFolder folder(L"账本 测试");
    MakeLedgerFile(folder.File(L"data.mdb"));
    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(ConnectionTo(folder.File(L"data.mdb")));
    EXPECT_FALSE(connection.LoginPrompt());
    EXPECT_FALSE(connection.Connected());

    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL().Add("select * from data");
    query.Open();
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(query.RecordCount(), 0);

    // The 8-bit form of the connection string names the same file.
    EXPECT_EQ(AnsiToWide(connection.ConnectionString()), ConnectionTo(folder.File(L"data.mdb")));
}

TEST(Connection, StringCannotChangeWhileOpen)
{
    TTempFolder folder;
    MakeLedgerFile(folder.File(L"data.mdb"));
    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(ConnectionTo(folder.File(L"data.mdb")));
    connection.Open();
    EXPECT_THROW(connection.SetConnectionString("Data Source=elsewhere.mdb"), EDatabaseError);
    EXPECT_EQ(connection.DataSourcePath(), folder.File(L"data.mdb"));
    connection.Close();
    connection.SetConnectionString("Data Source=elsewhere.mdb");
    EXPECT_EQ(connection.DataSourcePath(), L"elsewhere.mdb");
}

// Files that are not ledgers: every one fails with a message and leaves the
// connection and the query closed; a missing file is not created.
TEST(Connection, FilesThatCannotBeOpened)
{
    TTempFolder folder(L"账本 测试");
    const char junk[] = "this is not a database, just some text that is long enough to look at";
    PutFile(folder.File(L"text.mdb"), std::string(junk, sizeof junk));
    PutFile(folder.File(L"empty.mdb"), "");
    struct Case {
        std::wstring connectionString;
        const char* messagePart;
    } cases[] = {
        {ConnectionTo(folder.File(L"data.mdb")), "data.mdb"},
        {ConnectionTo(folder.File(L"text.mdb")), "file is not a database"},
        {L"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False", "Data Source"},
        {ConnectionTo(folder.File(L"no folder\\data.mdb")), "data.mdb"},
    };
    for (const Case& c : cases) {
        TADOConnection connection(nullptr);
        connection.SetConnectionStringW(c.connectionString);
        TADOQuery query(nullptr);
        query.SetConnection(&connection);
        query.SQL().Add("select * from data");
        try {
            query.Open();
            ADD_FAILURE() << "opened " << WideToUtf8(c.connectionString);
        } catch (const EDatabaseError& e) {
            EXPECT_THAT(e.Message(), HasSubstr(c.messagePart)) << WideToUtf8(c.connectionString);
        }
        EXPECT_FALSE(connection.Connected());
        EXPECT_FALSE(query.Active());
    }
    EXPECT_FALSE(FileExistsW(folder.File(L"data.mdb"))) << "the connection must never create the ledger";
    // An empty file is no ledger: it fails as such, not on a missing table.
    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(ConnectionTo(folder.File(L"empty.mdb")));
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL().Add("select * from data");
    try {
        query.Open();
        ADD_FAILURE() << "opened a query on an empty file";
    } catch (const EDatabaseError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("是空文件 (0 字节),不是账本数据库"));
    }
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(FileBytes(folder.File(L"empty.mdb")), "");
}

TEST(Connection, ClosingClosesItsQueriesAndEitherMayGoFirst)
{
    TTempFolder folder;
    MakeLedgerFile(folder.File(L"data.mdb"));
    auto* connection = new TADOConnection(nullptr);
    connection->SetConnectionStringW(ConnectionTo(folder.File(L"data.mdb")));
    auto* first = new TADOQuery(nullptr);
    auto* second = new TADOQuery(nullptr);
    for (TADOQuery* q : {first, second}) {
        q->SetConnection(connection);
        q->SQL().Add("select * from data");
        q->Open();
    }
    EXPECT_EQ(connection->DataSetCount(), 2);
    connection->Close();
    EXPECT_FALSE(first->Active());
    EXPECT_FALSE(second->Active());

    second->Open();
    delete first;
    EXPECT_EQ(connection->DataSetCount(), 1);
    delete connection;  // the query is closed and forgets the connection
    EXPECT_FALSE(second->Active());
    EXPECT_EQ(second->Connection(), nullptr);
    EXPECT_THROW(second->Open(), EDatabaseError);
    delete second;
}

TEST(Connection, OwnedByAComponent)
{
    TTempFolder folder;
    MakeLedgerFile(folder.File(L"data.mdb"));
    TComponent owner(nullptr);
    auto* query = new TADOQuery(&owner);
    auto* connection = new TADOConnection(&owner);
    connection->SetName("ADOConnection1");
    query->SetName("ADOQuery1");
    EXPECT_EQ(owner.FindComponent("ADOQuery1"), query);
    EXPECT_EQ(GetStrProp(*connection, "ConnectionString"), "");
    SetStrProp(*connection, "ConnectionString", WideToAnsi(ConnectionTo(folder.File(L"data.mdb"))));
    query->SetConnection(connection);
    query->SQL().Add("select * from ledger");
    try {
        query->Open();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "数据库中没有账本所需的表,这个文件不是本程序的账本数据库。请从备份恢复数据库文件 (data.mdb)。"
                               "\n数据库引擎信息: no such table: ledger");
    }
    query->SQL().SetText("select * from data");
    query->Open();
    // The owner frees the last made first: the connection goes while the
    // query is still open on it.
}

}  // namespace

// The common failures of the engine reach the user in the program's language,
// saying what happened and what to do, with the engine's words after it.
TEST(Connection, CommonEngineErrorsAreExplained)
{
    TTempFolder folder(L"账本 错误");
    const std::wstring path = folder.File(L"data.mdb");
    MakeLedgerFile(path);
    auto expectFailure = [&](const std::function<void(TADOConnection&)>& act, const std::string& start,
                             const std::string& engine) {
        TADOConnection connection(nullptr);
        connection.SetConnectionStringW(ConnectionTo(path));
        try {
            act(connection);
            ADD_FAILURE() << engine;
        } catch (const EDatabaseError& e) {
            EXPECT_THAT(e.Message(), HasSubstr(start)) << engine;
            EXPECT_THAT(e.Message(), ::testing::EndsWith(engine));
        }
    };
    auto insert = [](TADOConnection& c) { c.Execute("insert into data (项目名称) values ('x')"); };

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(WideToUtf8(path).c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    expectFailure(insert, "数据库正被另一个程序使用", "database is locked");
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    // A process running as root writes a read-only file all the same (the
    // bit is a Unix permission under Wine): the case needs a file that
    // really cannot be written.
    HANDLE probe = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        expectFailure(insert, "数据库文件是只读的", "attempt to write a readonly database");
    else
        CloseHandle(probe);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    PutFile(path, std::string(8192, 'x'));
    expectFailure([](TADOConnection& c) { c.Open(); }, "不是账本数据库", "file is not a database");
}

// The engine reads the file through a view of it: another connection that
// grows the file far past the view, then empties and compacts it, must be
// seen whole by the first, the file must stay sound, and once both close the
// file must be free to replace (a restore puts a backup in its place).
TEST(Connection, ReadsWhatAnotherConnectionGrowsAndShrinks)
{
    TTempFolder folder;
    const std::wstring path = folder.File(L"data.mdb");
    MakeLedgerFile(path);
    auto count = [](TADOConnection& c, const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(c.Handle(), AnsiToUtf8(sql).c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
        const long long value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return value;
    };
    TADOConnection reader(nullptr), writer(nullptr);
    for (TADOConnection* c : {&reader, &writer}) {
        c->SetConnectionStringW(ConnectionTo(path));
        c->Open();
    }
    EXPECT_EQ(count(reader, "select count(*) from data"), 0);
    writer.Execute("with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
                   "insert into data select null, 'entry ' || i, 'c', '2026/1/1', 'x', i, hex(randomblob(60)) from n");
    EXPECT_GT(count(reader, "pragma page_count"), 500);
    EXPECT_EQ(count(reader, "select count(*) from data"), 20000);
    EXPECT_EQ(count(reader, "select sum(cast(金额 as integer)) from data"), 20000LL * 20001 / 2);

    writer.Execute("delete from data where 编号 > 10");
    writer.Execute("vacuum");
    EXPECT_EQ(count(reader, "select count(*) from data"), 10);
    EXPECT_LT(count(writer, "pragma page_count"), 20);
    reader.Execute("insert into data (项目名称) values ('after')");
    EXPECT_EQ(count(writer, "select count(*) from data"), 11);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(writer.Handle(), "pragma integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);

    reader.Close();
    writer.Close();
    const std::wstring moved = folder.File(L"moved.mdb");
    EXPECT_TRUE(MoveFileExW(path.c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING)) << GetLastError();
    EXPECT_TRUE(DeleteFileW(moved.c_str())) << GetLastError();
}
