// What the user sees when the ledger cannot be used, with every window
// skinned, as the program runs: each button whose handler fails (the ledger
// held by another program, read-only, or gone; the entry edited deleted
// meanwhile) shows the error box with the reason and the program goes on;
// a failed save reports no success and keeps the editor open with what was
// typed; nothing stored changes. Serial: the windows are shown and activated.
#include "tests/app/skinned_ledger_fixture.h"

#include "app/entry_editor.h"
#include "framework/sysutils.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    auto* skinner = manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
    return skinner && skinner->SkinState() == fssSkinned;
}

// Another program's connection to the ledger holding a lock: "write" lets
// readers in (a writer in the middle of its transaction), "exclusive" keeps
// everyone out.
class TForeignLock {
public:
    TForeignLock(const std::wstring& path, bool exclusive)
    {
        sqlite3_open_v2(WideToUtf8(path).c_str(), &FDb, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(FDb, exclusive ? "begin exclusive" : "begin immediate", nullptr, nullptr, nullptr);
    }
    ~TForeignLock()
    {
        sqlite3_exec(FDb, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(FDb);
    }

private:
    sqlite3* FDb = nullptr;
};

bool Writable(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Runs the system's `chattr` on `path` (Wine starts a Unix program like any
// other) and waits until `path` is writable as `writable` asks. The
// read-only attribute does not stop root, whom Wine runs as here; the
// immutable flag does.
bool SetImmutable(const std::wstring& path, bool on)
{
    using TUnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<TUnixName>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
    if (!unixName) return false;
    char* name = unixName(path.c_str());
    if (!name) return false;
    std::wstring command = std::wstring(L"/usr/bin/chattr ") + (on ? L"+i \"" : L"-i \"") + Utf8ToWide(name) + L"\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\usr\\bin\\chattr", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 100 && Writable(path) == on; ++i) Sleep(20);
    return Writable(path) != on;
}

// Makes `path` refuse writes: the read-only attribute, and where that does
// not stop this process, the immutable flag. False when neither can.
bool MakeReadOnly(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    return !Writable(path) || SetImmutable(path, true);
}

void MakeWritable(const std::wstring& path)
{
    if (!Writable(path)) SetImmutable(path, false);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

class LedgerFailuresTest : public SkinnedLedgerFixture {
protected:
    // Shows `form` and waits until it is skinned.
    void ShowSkinned(TForm* form)
    {
        form->Show();
        SetForegroundWindow(form->Handle());
        ASSERT_TRUE(PumpUntil([&] { return IsSkinned(form->Handle()); })) << form->Name() << " not skinned";
    }
    // The boxes shown since the last call: stop-icon error boxes marked "!".
    std::vector<std::string> TakeBoxes()
    {
        std::vector<std::string> texts;
        for (const TBox& box : Boxes) texts.push_back(((box.Flags & MB_ICONSTOP) ? "!" : "") + box.Text);
        Boxes.clear();
        return texts;
    }
    void FillAddTab(const std::string& name)
    {
        Form2->ComboBoxxiangmu->SetText(name);
        Form2->ComboBoxxiangmuleibie->SetText("日常");
        Form2->ComboBoxzhichushouru->SetText("支出");
        Form2->ComboBoxjine->SetText("30");
    }
    // The ledger of two entries and two categories, every window shown and
    // skinned, the editor on its add tab.
    void StartWithEveryWindow();
    // "添加", "删除" -> "确认" and the category editor's "+" each show one
    // error box; what was typed stays and no success is reported.
    void ExpectEveryWriteRefused();
};

const std::vector<TEntry> ENTRIES = {
    {"工资", "工资", "2026/12/1", "收入", "5000", ""},
    {"房租", "住房", "2026/12/2", "支出", "1500", ""},
};

void LedgerFailuresTest::StartWithEveryWindow()
{
    WriteCategories({"工资", "住房"});
    StartSkinned(ENTRIES);
    if (HasFatalFailure()) return;
    for (TForm* form : std::initializer_list<TForm*>{Form1, Form2, Form3, Form4}) {
        ShowSkinned(form);
        if (HasFatalFailure()) return;
    }
    Form2->ShowAddTab();
}

void LedgerFailuresTest::ExpectEveryWriteRefused()
{
    FillAddTab("水费");
    Click(Form2->Buttonaddinfo);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0][0], '!') << boxes[0];
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->ComboBoxxiangmu->Text(), "水费") << "what was typed stays";
    EXPECT_THAT(Panel(4), Not(HasSubstr("成功")));
    // "删除" -> "确认": the ledger's own error, not "no entries".
    Click(Form3->Buttondelyes);
    boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0][0], '!') << boxes[0];
    EXPECT_TRUE(Form3->Visible());
    // The category editor's "+": the file is held or read-only.
    Form4->EditXMLB->SetText("新类别");
    Click(Form4->ButtonXMLBADD);
    boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0][0], '!') << boxes[0];
    EXPECT_EQ(Form4->ListBoxXMLB->Items()->Count(), 2);
}

TEST_F(LedgerFailuresTest, EveryFailingButtonShowsTheErrorBoxThroughTheSkin)
{
    StartWithEveryWindow();
    if (HasFatalFailure()) return;
    const std::vector<std::string> stored = StoredRows();
    const std::wstring away = FFolder.File(L"elsewhere.mdb");

    // (A read-only ledger: AReadOnlyLedgerRefusesEveryWriteThroughTheErrorBox.)
    enum TState { Locked, Gone };
    for (TState state : {Locked, Gone}) {
        SCOPED_TRACE(state == Locked ? "locked" : "gone");
        ASSERT_NO_FATAL_FAILURE(Form1->ButtonreClick(nullptr));
        ASSERT_THAT(TakeBoxes(), IsEmpty());
        ASSERT_EQ(Panel(1), "共 2 个记录");
        std::unique_ptr<TForeignLock> lock;
        HANDLE categoriesHeld = INVALID_HANDLE_VALUE;
        Form1->ADOConnection1->Close();
        if (state == Locked) {
            lock = std::make_unique<TForeignLock>(DatabasePath(), true);
            categoriesHeld = CreateFileW(CategoryPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        } else {
            ASSERT_TRUE(MoveFileW(DatabasePath().c_str(), away.c_str()));
            SetFileAttributesW(CategoryPath().c_str(), FILE_ATTRIBUTE_READONLY);
        }

        // "刷新".
        Click(Form1->Buttonre);
        const std::vector<std::string> refreshed = TakeBoxes();
        ASSERT_EQ(refreshed.size(), 1u);
        EXPECT_EQ(refreshed[0][0], '!') << refreshed[0];
        // "添加", "删除" -> "确认", the category editor's "+".
        ExpectEveryWriteRefused();
        if (HasFatalFailure()) return;

        lock.reset();
        if (categoriesHeld != INVALID_HANDLE_VALUE) CloseHandle(categoriesHeld);
        SetFileAttributesW(CategoryPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        Form1->ADOConnection1->Close();
        if (state == Gone) {
            ASSERT_TRUE(MoveFileW(away.c_str(), DatabasePath().c_str()));
        }
        EXPECT_EQ(StoredRows(), stored);
        EXPECT_EQ(ledger::ReadLines(CategoryPath()), (std::vector<std::string>{"工资", "住房"}));
    }

    // "删除" -> "确认" on a search that found nothing.
    Form1->ComboBoxsearch->SetText("没有这一项");
    Click(Form1->Buttonsearch);
    ASSERT_EQ(Panel(1), "共找到0 个记录");
    Click(Form3->Buttondelyes);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"大哥没记录了,你把我删了算了!"});
    EXPECT_EQ(StoredRows(), stored);
}

TEST_F(LedgerFailuresTest, AReadOnlyLedgerRefusesEveryWriteThroughTheErrorBox)
{
    StartWithEveryWindow();
    if (HasFatalFailure()) return;
    const std::vector<std::string> stored = StoredRows();
    Form1->ADOConnection1->Close();
    const bool ledgerReadOnly = MakeReadOnly(DatabasePath());
    const bool categoriesReadOnly = MakeReadOnly(CategoryPath());
    struct TRestore {  // whatever happens below, the files are writable again
        std::wstring Ledger, Categories;
        ~TRestore()
        {
            MakeWritable(Ledger);
            MakeWritable(Categories);
        }
    } restore{DatabasePath(), CategoryPath()};
    if (!ledgerReadOnly || !categoriesReadOnly) GTEST_SKIP() << "no way to make a file read-only for this process here";

    // Reading goes on: "刷新" shows the entries.
    Click(Form1->Buttonre);
    EXPECT_THAT(TakeBoxes(), IsEmpty());
    EXPECT_EQ(Panel(1), "共 2 个记录");
    // Every write is refused, each with its error box.
    ExpectEveryWriteRefused();
    if (HasFatalFailure()) return;

    Form1->ADOConnection1->Close();
    MakeWritable(DatabasePath());
    MakeWritable(CategoryPath());
    EXPECT_EQ(StoredRows(), stored);
    EXPECT_EQ(ledger::ReadLines(CategoryPath()), (std::vector<std::string>{"工资", "住房"}));
}

TEST_F(LedgerFailuresTest, AFailedSaveReportsNoSuccessAndKeepsWhatWasTyped)
{
    StartSkinned(ENTRIES);
    if (HasFatalFailure()) return;
    ShowSkinned(Form1);
    if (HasFatalFailure()) return;
    DoubleClickGrid(1);
    ASSERT_NO_FATAL_FAILURE(ShowSkinned(Form2));
    ASSERT_EQ(Form2->DBEdit_xiangmuedit->Text(), "房租");
    const std::vector<std::string> stored = StoredRows();

    // Another program writing: reads go on, the save cannot.
    {
        TForeignLock writer(DatabasePath(), false);
        TypeOver(Form2->DBComboBoxjine->EditHandle(), "1600");
        Click(Form2->Buttonedit);
        const std::vector<std::string> boxes = TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0][0], '!') << boxes[0];
        EXPECT_TRUE(Form2->Visible());
        EXPECT_EQ(Form2->DBComboBoxjine->Text(), "1600");
        EXPECT_THAT(Panel(4), Not(HasSubstr("修改成功")));
        PumpUntil([] { return false; }, 100);  // no deferred save follows
        EXPECT_THAT(TakeBoxes(), IsEmpty());
    }
    EXPECT_EQ(StoredRows(), stored);
    // Once the lock is gone the same press saves what is still typed.
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxes(), IsEmpty());
    EXPECT_EQ(Panel(4), "房租修改成功!");
    EXPECT_EQ(StoredRows()[1], "房租|住房|2026/12/2|支出|1600|");

    // An entry another copy deleted meanwhile: the save fails and says so.
    DoubleClickGrid(1);
    ASSERT_EQ(Form2->DBEdit_xiangmuedit->Text(), "房租");
    RawQuery(DatabasePath(), AnsiToUtf8("delete from data where 项目名称='房租'"));
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "1700");
    Click(Form2->Buttonedit);
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0][0], '!') << boxes[0];
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->DBComboBoxjine->Text(), "1700");
    EXPECT_EQ(StoredRows(), std::vector<std::string>{stored[0]});
}

}  // namespace
