// The database backup: the file name made from the name box, "备份" on the
// main window (one file per day, an earlier backup that cannot be replaced,
// hostile names, the ledger itself) and copies taken while the database is
// in use, which always open and hold exactly the committed entries.
#include "app/backup.h"

#include <algorithm>

#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace ledger;

namespace {

TEST(BackupFileNameTest, EveryCharacterAFileNameCannotHoldBecomesADash)
{
    struct TCase {
        const char* name;
        const wchar_t* file;
    };
    const TCase cases[] = {
        {"2026/12/8_BAK_", L"2026-12-8_BAK_.mdb"},      // the Chinese short date
        {"2026-12-08_BAK_", L"2026-12-08_BAK_.mdb"},
        {"..\\x", L"..-x.mdb"},
        {"..\\..\\Windows\\x", L"..-..-Windows-x.mdb"},
        {"C:\\x", L"C--x.mdb"},
        {"a*b?c\"d<e>f|g", L"a-b-c-d-e-f-g.mdb"},
        {"tab\there", L"tab-here.mdb"},
        {"备份 一", L"备份 一.mdb"},
        {"", L".mdb"},                                    // before the clock's first tick
        {"CON", L"CON-.mdb"},
        {"nul.txt", L"nul-.txt.mdb"},
        {"lpt1 ", L"lpt1 -.mdb"},
        {"COM10", L"COM10.mdb"},
        {"CONSOLE", L"CONSOLE.mdb"},
    };
    for (const TCase& c : cases) EXPECT_EQ(BackupFileName(c.name), c.file) << c.name;
}

class BackupTest : public LedgerWindowsTest {
protected:
    // Presses "备份" with `name` in the name box; returns the message shown.
    std::string Backup(const std::string& name)
    {
        Form1->EditDATABAKNAME->SetText(name);
        Click(Form1->Buttonbakdatabasa);
        std::vector<std::string> boxes = TakeBoxTexts();
        return boxes.size() == 1 ? boxes[0] : "<" + std::to_string(boxes.size()) + " boxes>";
    }
    // Every file in the program folder but the ledger (with its journal) and
    // XMLB.txt, sorted.
    std::vector<std::string> OtherFiles() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((FFolder.Path() + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L".." && name.rfind(L"data.mdb", 0) != 0 && name != L"XMLB.txt")
                names.push_back(WideToAnsi(name));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> NamesIn(const std::wstring& file) const
    {
        std::vector<std::string> names;
        for (const std::string& name : RawQuery(file, AnsiToUtf8("select 项目名称 from data order by 编号")))
            names.push_back(Utf8ToAnsi(name));
        return names;
    }
};

TEST_F(BackupTest, SameDayTwiceLeavesOneFileWithTheNewerCopy)
{
    StartWith({Entry("工资", "收入", "5000")});
    EXPECT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,成功!");
    const std::wstring file = FFolder.File(L"2026-12-8_BAK_.mdb");
    EXPECT_THAT(NamesIn(file), ElementsAre("工资"));

    AddEntries(DatabasePath(), {Entry("房租", "支出", "1500")});
    EXPECT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,成功!");
    EXPECT_THAT(NamesIn(file), ElementsAre("工资", "房租"));
    EXPECT_EQ(Backup("2026/12/9_BAK_"), "备份数据库,成功!");
    EXPECT_THAT(OtherFiles(), ElementsAre("2026-12-8_BAK_.mdb", "2026-12-9_BAK_.mdb"));
    // The name has served: the box shows the day's default again.
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), DateToStrNow() + "_BAK_");

    // A name that differs from an earlier backup's only in letter case
    // replaces that backup, which keeps its own spelling: the message says
    // under which name the copy is found.
    EXPECT_EQ(Backup("2026/12/8_bak_"), "备份数据库,成功!但文件系统把备份文件命名为 \"2026-12-8_BAK_.mdb\","
                                        "而不是 \"2026-12-8_bak_.mdb\"。");
    EXPECT_THAT(OtherFiles(), ElementsAre("2026-12-8_BAK_.mdb", "2026-12-9_BAK_.mdb"));
}

TEST_F(BackupTest, EarlierBackupThatCannotBeReplacedIsAFailure)
{
    StartWith({Entry("工资", "收入", "5000")});
    const std::wstring file = FFolder.File(L"2026-12-8_BAK_.mdb");
    PutFile(file, "the earlier backup");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,失败!同名的旧备份仍保留原样,未被删除。原因:同名的旧备份 "
                                        "\"2026-12-8_BAK_.mdb\" 是只读文件,不能替换。");
    EXPECT_EQ(FileBytes(file), "the earlier backup");
    EXPECT_THAT(OtherFiles(), ElementsAre("2026-12-8_BAK_.mdb"));  // no copy left half-way
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(BackupTest, HostileNamesStayInTheFolderAndNeverTouchTheLedger)
{
    StartWith({Entry("工资", "收入", "5000")});
    struct TCase {
        const char* name;
        const char* message;
    };
    const TCase cases[] = {
        {"..\\outside", "备份数据库,成功!"},
        {"C:\\x", "备份数据库,成功!"},
        {"", "请输入备份名称!"},
        {"  ", "请输入备份名称!"},
        {"CON", "备份数据库,成功!"},
        {"data", "备份数据库,失败!原因:备份名称不能用 \"data\":备份不能代替账本文件 data.mdb 本身。"},
        {"DATA", "备份数据库,失败!原因:备份名称不能用 \"data\":备份不能代替账本文件 data.mdb 本身。"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Backup(c.name), c.message) << c.name;
    EXPECT_THAT(OtherFiles(), ElementsAre("..-outside.mdb", "C--x.mdb", "CON-.mdb"));
    EXPECT_FALSE(FileExistsW(FFolder.Path() + L"..\\outside.mdb"));
    EXPECT_THAT(NamesIn(DatabasePath()), ElementsAre("工资"));
    EXPECT_THAT(NamesIn(FFolder.File(L"CON-.mdb")), ElementsAre("工资"));
}

// A backup that fails never costs the earlier backup of that name: neither
// when data.mdb is damaged nor when another program holds it locked.
TEST_F(BackupTest, FailedBackupKeepsTheEarlierCopyOfThatName)
{
    StartWith({Entry("工资", "收入", "5000")});
    ASSERT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,成功!");
    const std::wstring file = FFolder.File(L"2026-12-8_BAK_.mdb");
    const std::string good = FileBytes(file);

    // Another program holds the ledger locked.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(WideToUtf8(DatabasePath()).c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,失败!同名的旧备份仍保留原样,未被删除。原因:无法读出 data.mdb:"
                                        "它可能正被其他程序锁定或占用,或者已经损坏;请稍后再试。");
    EXPECT_EQ(FileBytes(file), good);
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    // The ledger damaged.
    Form1->ADOConnection1->Close();
    std::string noise(12288, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919u + 13u) % 251u);
    PutFile(DatabasePath(), noise);
    EXPECT_THAT(Backup("2026/12/8_BAK_"), ::testing::StartsWith("备份数据库,失败!同名的旧备份仍保留原样,未被删除。原因:"));
    EXPECT_EQ(FileBytes(file), good);
    EXPECT_THAT(NamesIn(file), ElementsAre("工资"));
    EXPECT_THAT(Backup("2026/12/9_BAK_"), ::testing::StartsWith("备份数据库,失败!原因:")) << "no earlier copy to speak of";

    // The ledger gone, or a folder in its place; a name longer than a file
    // name can be.
    Form1->ADOConnection1->Close();
    DeleteFileW(DatabasePath().c_str());
    EXPECT_EQ(Backup("2026/12/9_BAK_"), "备份数据库,失败!原因:找不到账本文件 data.mdb。");
    CreateDirectoryW(DatabasePath().c_str(), nullptr);
    EXPECT_EQ(Backup("2026/12/9_BAK_"), "备份数据库,失败!原因:找不到账本文件 data.mdb。");
    RemoveDirectoryW(DatabasePath().c_str());
    EXPECT_THAT(Backup(std::string(300, 'x')), ::testing::HasSubstr("备份名称太长"));
    EXPECT_THAT(OtherFiles(), ElementsAre("2026-12-8_BAK_.mdb")) << "no temporary file is left";
}

// The clock keeps the box at the day's default name only until the user types
// a name of their own; that name is used, then the default comes back.
TEST_F(BackupTest, TypedNameOutlivesTheClockUntilABackupIsMade)
{
    StartWith({Entry("工资", "收入", "5000")});
    Form1->TimerTimer(Form1->Timer);
    const std::string daily = DateToStrNow() + "_BAK_";
    ASSERT_EQ(Form1->EditDATABAKNAME->Text(), daily);
    TypeOver(Form1->EditDATABAKNAME->Handle(), "before-import");
    Form1->TimerTimer(Form1->Timer);
    Form1->TimerTimer(Form1->Timer);
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), "before-import");
    Click(Form1->Buttonbakdatabasa);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("备份数据库,成功!"));
    EXPECT_THAT(OtherFiles(), ElementsAre("before-import.mdb"));
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), daily);

    // An emptied box is refused rather than making ".mdb"; the clock leaves it.
    TypeOver(Form1->EditDATABAKNAME->Handle(), "");
    Form1->TimerTimer(Form1->Timer);
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), "");
    Click(Form1->Buttonbakdatabasa);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("请输入备份名称!"));
    EXPECT_THAT(OtherFiles(), ElementsAre("before-import.mdb"));
}

TEST_F(BackupTest, CopyHoldsOnlyCommittedEntriesWhileAWriteIsUnderWay)
{
    StartWith({Entry("工资", "收入", "5000")});
    // The program's own row in edit state, and another program's open write.
    DoubleClickGrid(0);
    Form2->DBEdit_xiangmuedit->SetText("改了还没存");
    ASSERT_EQ(Form1->ADOQuery1->State(), dsEdit);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(WideToUtf8(DatabasePath()).c_str(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, AnsiToUtf8("insert into data (项目名称) values ('未提交')").c_str(), nullptr, nullptr,
                           nullptr),
              SQLITE_OK);

    EXPECT_EQ(Backup("2026/12/8_BAK_"), "备份数据库,成功!");
    const std::wstring file = FFolder.File(L"2026-12-8_BAK_.mdb");
    EXPECT_THAT(RawQuery(file, "pragma integrity_check"), ElementsAre("ok"));
    EXPECT_THAT(NamesIn(file), ElementsAre("工资"));

    // A writer that holds the database exclusively: no copy can be taken
    // safely, so none is made.
    ASSERT_EQ(sqlite3_exec(writer, "pragma cache_size=1", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int i = 0; i < 200; ++i)
        sqlite3_exec(writer, AnsiToUtf8("insert into data (项目名称, 项目备注) values ('大量', hex(randomblob(500)))").c_str(),
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(Backup("2026/12/9_BAK_"), "备份数据库,失败!原因:无法读出 data.mdb:它可能正被其他程序锁定或占用,"
                                        "或者已经损坏;请稍后再试。");
    EXPECT_THAT(OtherFiles(), ElementsAre("2026-12-8_BAK_.mdb"));

    sqlite3_exec(writer, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(Backup("2026/12/9_BAK_"), "备份数据库,成功!");
    EXPECT_THAT(NamesIn(FFolder.File(L"2026-12-9_BAK_.mdb")), ElementsAre("工资"));
}

TEST(BackupWithoutLedgerTest, MissingOrBrokenLedgerIsAFailureAndLeavesNothing)
{
    TTempFolder folder(L"备份 测试");
    SetProgramFolder(folder.Path());
    EXPECT_FALSE(BackupDatabase("2026/12/8_BAK_"));
    PutFile(folder.File(L"data.mdb"), "not a database");
    EXPECT_FALSE(BackupDatabase("2026/12/8_BAK_"));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder.Path() + L"*.*").c_str(), &found);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1);  // data.mdb alone
    SetProgramFolder(L"");
}

}  // namespace
