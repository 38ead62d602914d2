// Restoring a backup from the tools tab: the list of backups with what they
// hold, a good (older, smaller) backup put in place with the current ledger
// kept and never overwritten, damaged and foreign files refused with nothing
// changed, and a restore stopped at every step leaving a whole ledger.
#include "app/restore.h"

#include <algorithm>

#include "app/backup.h"
#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace ledger;

namespace {

class RestoreTest : public LedgerWindowsTest {
protected:
    ~RestoreTest() override { SetRestoreHook(nullptr); }

    // Makes a backup named `name` of the ledger as it is now.
    void Backup(const std::string& name)
    {
        Form1->EditDATABAKNAME->SetText(name);
        Click(Form1->Buttonbakdatabasa);
        ASSERT_THAT(TakeBoxTexts(), ElementsAre("备份数据库,成功!"));
    }
    // Chooses the listed backup `fileName` and presses "恢复", answering
    // `answer`; returns the messages shown.
    std::vector<std::string> Restore(const std::wstring& fileName, int answer = IDYES)
    {
        Click(Form1->Buttonlistbackups);
        const std::vector<TBackupInfo>& listed = Form1->ListedBackups();
        const auto at = std::find_if(listed.begin(), listed.end(),
                                     [&](const TBackupInfo& b) { return b.FileName == fileName; });
        EXPECT_NE(at, listed.end()) << WideToAnsi(fileName);
        Form1->ListViewbackups->SetItemIndex(static_cast<int>(at - listed.begin()));
        Answer = answer;
        Boxes.clear();
        Click(Form1->Buttonrestore);
        return TakeBoxTexts();
    }
    // The bare names of the kept ledgers, sorted.
    std::vector<std::wstring> KeptFiles() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((FFolder.Path() + L"恢复前_*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (FindNextFileW(search, &found));
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

TEST_F(RestoreTest, AnOlderSmallerBackupComesBackAndTheCurrentLedgerIsKept)
{
    StartWith({Entry("工资", "收入", "5000"), Entry("房租", "支出", "1500")});
    Backup("2026/12/8_BAK_");
    AddEntries(DatabasePath(), {Entry("书", "支出", "30"), Entry("奖金", "收入", "800"), Entry("笔", "支出", "3")});
    FullRefresh();
    ASSERT_EQ(Panel(1), "共 5 个记录");

    // The list names each backup with its date, size, entries and check.
    Click(Form1->Buttonlistbackups);
    ASSERT_EQ(Form1->ListViewbackups->Items()->Count(), 1);
    TListItem* item = Form1->ListViewbackups->Items()->Item(0);
    EXPECT_EQ(item->Caption(), "2026-12-8_BAK_");
    EXPECT_EQ(item->SubItems()->Get(2), "2");
    EXPECT_EQ(item->SubItems()->Get(3), "正常");
    EXPECT_THAT(item->SubItems()->Get(1), ::testing::EndsWith(" KB"));

    // No, and nothing chosen, change nothing.
    EXPECT_THAT(Restore(L"2026-12-8_BAK_.mdb", IDNO), ElementsAre(HasSubstr("共 5 个记录")));
    Form1->ListViewbackups->SetItemIndex(-1);
    Click(Form1->Buttonrestore);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("请先在列表中选择要恢复的备份!"));
    EXPECT_EQ(NamesIn(DatabasePath()).size(), 5u);
    EXPECT_TRUE(KeptFiles().empty());

    const std::vector<std::string> boxes = Restore(L"2026-12-8_BAK_.mdb");
    ASSERT_EQ(boxes.size(), 2u);
    // Asked once, naming the backup, its entries and the current count.
    EXPECT_THAT(boxes[0], StartsWith("确定要用备份 \"2026-12-8_BAK_.mdb\"("));
    EXPECT_THAT(boxes[0], HasSubstr(",共 2 个记录)恢复数据库吗?"));
    EXPECT_THAT(boxes[0], HasSubstr("当前数据库(共 5 个记录)会先另存为"));
    const std::vector<std::wstring> kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(boxes[1], "恢复数据库,成功!原来的数据库已另存为 \"" + WideToAnsi(kept[0]) + "\"。");
    EXPECT_THAT(NamesIn(DatabasePath()), ElementsAre("工资", "房租"));
    EXPECT_THAT(NamesIn(FFolder.File(kept[0])), ElementsAre("工资", "房租", "书", "奖金", "笔"));
    // Reopened and refreshed: list, count and totals.
    EXPECT_EQ(Panel(1), "共 2 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:1500元");
    EXPECT_EQ(Panel(3), "收入金额共:5000元");
    EXPECT_THAT(ListNames(), ElementsAre("工资", "房租"));

    // The kept ledger is itself a backup; bringing it back, and then the
    // backup again within the same second, never overwrites a kept file.
    Restore(kept[0]);
    EXPECT_EQ(Panel(1), "共 5 个记录");
    Restore(L"2026-12-8_BAK_.mdb");
    Restore(L"2026-12-8_BAK_.mdb");
    const std::vector<std::wstring> allKept = KeptFiles();
    EXPECT_GE(allKept.size(), 4u);
    EXPECT_THAT(NamesIn(FFolder.File(kept[0])), ElementsAre("工资", "房租", "书", "奖金", "笔"));
    EXPECT_EQ(Panel(1), "共 2 个记录");
}

TEST_F(RestoreTest, DamagedAndForeignFilesAreRefusedAndNothingChanges)
{
    StartWith({Entry("工资", "收入", "5000")});
    Backup("good");
    const std::string good = FileBytes(FFolder.File(L"good.mdb"));

    // Damaged: the database's own header, then pages of noise.
    std::string damaged = good;
    for (size_t i = 1024; i < damaged.size(); ++i) damaged[i] = static_cast<char>((i * 7919u + 13u) % 251u);
    PutFile(FFolder.File(L"damaged.mdb"), damaged);
    PutFile(FFolder.File(L"text.mdb"), "not a database at all");
    PutFile(FFolder.File(L"access.mdb"), std::string("\0\x01\0\0Standard Jet DB\0", 20) + std::string(2000, '\0'));
    // A database of another program, and a ledger table missing a column.
    MakeLedgerFile(FFolder.File(L"six.mdb"));
    ASSERT_TRUE(RawQuery(FFolder.File(L"six.mdb"), AnsiToUtf8("alter table data drop column 项目备注")).empty());
    MakeLedgerFile(FFolder.File(L"other.mdb"));
    RawQuery(FFolder.File(L"other.mdb"), "alter table data rename to things");

    struct TCase {
        const wchar_t* file;
        const char* status;
        const char* problem;
    };
    const TCase cases[] = {
        {L"damaged.mdb", "已损坏", "数据库文件已损坏,没有通过完整性检查"},
        {L"text.mdb", "非账本", "这不是本程序的数据库文件"},
        {L"access.mdb", "旧格式", "这是旧版的 Access 格式数据库,不能直接恢复"},
        {L"six.mdb", "非账本", "这不是本程序的账本(没有七列的 data 表)"},
        {L"other.mdb", "非账本", "这不是本程序的账本(没有七列的 data 表)"},
    };
    const std::string ledgerBefore = FileBytes(DatabasePath());
    for (const TCase& c : cases) {
        SCOPED_TRACE(WideToAnsi(c.file));
        const TBackupInfo info = InspectBackup(FFolder.File(c.file));
        EXPECT_FALSE(info.Sound);
        EXPECT_EQ(info.Status, c.status);
        EXPECT_EQ(info.Entries, -1);
        EXPECT_THAT(Restore(c.file), ElementsAre("备份 \"" + WideToAnsi(c.file) + "\" 不能用来恢复:" + c.problem +
                                                 "。当前数据库没有改变。"));
        EXPECT_EQ(FileBytes(DatabasePath()), ledgerBefore);
        EXPECT_TRUE(KeptFiles().empty());
    }
    // The file itself stays as it was; the good one is still good.
    EXPECT_EQ(FileBytes(FFolder.File(L"damaged.mdb")), damaged);
    EXPECT_TRUE(InspectBackup(FFolder.File(L"good.mdb")).Sound);
    EXPECT_EQ(Panel(1), "共 1 个记录");

    // A journal beside data.mdb (a write that did not finish) stops the
    // restore before anything is touched.
    PutFile(DatabasePath() + L"-journal", "");
    const std::vector<std::string> boxes = Restore(L"good.mdb");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_THAT(boxes[1], HasSubstr("\"data.mdb-journal\""));
    EXPECT_TRUE(KeptFiles().empty());
    DeleteFileW((DatabasePath() + L"-journal").c_str());
    EXPECT_EQ(Panel(1), "共 1 个记录");
}

// At every moment between the steps, data.mdb on disk is a whole ledger:
// the old one up to the rename, the restored one after it. A restore that
// stops there (as a killed process would) leaves it so.
TEST_F(RestoreTest, StoppedAtAnyStepTheLedgerIsWhole)
{
    StartWith({Entry("旧一", "收入", "1"), Entry("旧二", "支出", "2"), Entry("旧三", "支出", "3")});
    Form1->ADOConnection1->Close();
    const std::wstring backup = FFolder.File(L"older.mdb");
    MakeLedgerFile(backup);
    AddEntries(backup, {Entry("新", "收入", "9")});
    const std::vector<std::string> oldNames = {"旧一", "旧二", "旧三"};
    const std::vector<std::string> newNames = {"新"};

    const TRestoreStep steps[] = {TRestoreStep::BackupChecked, TRestoreStep::CopyMade, TRestoreStep::LedgerClosed,
                                  TRestoreStep::CurrentKept, TRestoreStep::Replaced};
    for (TRestoreStep stopAt : steps) {
        SCOPED_TRACE(static_cast<int>(stopAt));
        // Start each round from the old ledger.
        Form1->ADOConnection1->Close();
        DeleteFileW(DatabasePath().c_str());
        MakeLedger({Entry("旧一", "收入", "1"), Entry("旧二", "支出", "2"), Entry("旧三", "支出", "3")});
        FullRefresh();
        std::vector<TRestoreStep> seen;
        SetRestoreHook([&](TRestoreStep step) {
            seen.push_back(step);
            // What a kill now would leave: a ledger that passes the check
            // and holds one of the two entry lists, whole.
            const TBackupInfo onDisk = InspectBackup(DatabasePath());
            EXPECT_TRUE(onDisk.Sound) << static_cast<int>(step);
            const std::vector<std::string> names = NamesIn(DatabasePath());
            EXPECT_EQ(names, step == TRestoreStep::Replaced ? newNames : oldNames) << static_cast<int>(step);
            for (const std::wstring& kept : KeptFiles()) EXPECT_EQ(NamesIn(FFolder.File(kept)), oldNames);
            if (step == stopAt) throw Exception("stopped");
        });
        const std::vector<std::string> boxes = Restore(L"older.mdb");
        SetRestoreHook(nullptr);
        EXPECT_EQ(seen.back(), stopAt);
        // The error box shows the stop; the program shows whichever ledger
        // is in place.
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back(), "stopped");
        const bool restored = stopAt == TRestoreStep::Replaced;
        EXPECT_EQ(NamesIn(DatabasePath()), restored ? newNames : oldNames);
        EXPECT_EQ(Panel(1), restored ? "共 1 个记录" : "共 3 个记录");
        EXPECT_EQ(ListNames(), restored ? newNames : oldNames);
        for (const std::wstring& kept : KeptFiles()) {
            EXPECT_EQ(NamesIn(FFolder.File(kept)), oldNames);
            DeleteFileW(FFolder.File(kept).c_str());
        }
    }
}

}  // namespace
