// An Access-format data.mdb at start-up: recognised by its header, offered
// once for conversion, converted through the reader process with nothing
// lost (numbers, Chinese and other text), the original kept beside the new
// ledger under a dated name; declined, truncated or damaged files change
// nothing. The real files have no table `data`, so the tests name the table
// and the columns to read.
#include "tests/app/main_form_fixture.h"

#include "app/access_import.h"

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

const std::vector<std::string> UNICODE_TABLE = {"Table", "ID", "Unicode", "Unicode", "Unicode", "Unicode", "ID",
                                                "Unicode"};

std::string AccessBytes(const char* name)
{
    return FileBytes(Utf8ToWide(std::string(RAVELBOOK_SOURCE_DIR "/tests/data/access/") + name));
}

class AccessImportTest : public MainFormTest {
protected:
    AccessImportTest() { ledger::SetAccessSourceForTests(UNICODE_TABLE); }
    ~AccessImportTest() override { ledger::SetAccessSourceForTests({}); }

    // Every file in the program folder, sorted.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((FFolder.Path() + L"*").c_str(), &found);
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(WideToAnsi(found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string KeptName() const
    {
        SYSTEMTIME today;
        GetLocalTime(&today);
        return WideToAnsi(ledger::KeptOriginalName(today));
    }
};

TEST_F(AccessImportTest, ConvertedOnYesWithEveryRowAndTheOriginalKept)
{
    const std::string original = AccessBytes("testUnicodeCompV2003.mdb");
    PutFile(DatabasePath(), original);
    const std::string kept = KeptName();
    EXPECT_EQ(kept.substr(0, 12), "data_Access_");
    Answer = IDYES;
    CreateMainForm();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_THAT(Boxes[0].Text, StartsWith("data.mdb 是 Access 格式的账本数据库"));
    EXPECT_EQ(Boxes[1].Text, "转换完成:共转换 8 条记录。原来的 Access 文件已改名为 \"" + kept + "\",保留在同一文件夹中。");
    EXPECT_EQ(Panel(1), "共 8 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:0元");

    EXPECT_THAT(Files(), ElementsAre("data.mdb", kept));
    EXPECT_EQ(FileBytes(FFolder.File(AnsiToWide(kept))), original) << "the original, untouched";
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select group_concat(编号) from data")),
              std::vector<std::string>{"1,2,3,4,5,6,7,8"});
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select 项目名称 from data where 编号=5")),
              std::vector<std::string>{U8(u8"漢字仮名交じり文")});
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select 项目备注 from data where 编号=3")), std::vector<std::string>{U8(u8"Мир")});

    // The next start finds a ledger of its own and asks nothing.
    delete Form1;
    CreateMainForm();
    EXPECT_TRUE(Boxes.size() == 2u);
    EXPECT_EQ(Panel(1), "共 8 个记录");
}

TEST_F(AccessImportTest, DeclinedOrFailedConversionChangesNothing)
{
    const std::string good = AccessBytes("testUnicodeCompV2003.mdb");
    std::string flipped = good;
    for (size_t i = 4096; i < flipped.size(); ++i) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    struct Case {
        const char* Title;
        std::string Bytes;
        int Answer;
        const char* Message;
    } cases[] = {
        {"declined", good, IDNO, "没有转换:data.mdb 保持原样。"},
        {"truncated", good.substr(0, 9000), IDYES, "转换失败:"},
        {"bytes flipped", flipped, IDYES, "转换失败:"},
        {"a file of another program", AccessBytes("testV1997.mdb"), IDYES, "转换失败:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        PutFile(DatabasePath(), c.Bytes);
        Answer = c.Answer;
        CreateMainForm();
        ASSERT_EQ(Boxes.size(), 2u);
        EXPECT_THAT(Boxes[1].Text, StartsWith(c.Message));
        if (c.Answer == IDYES) {
            EXPECT_THAT(Boxes[1].Text, ::testing::EndsWith("data.mdb 保持原样,没有任何改动。"));
        }
        Boxes.clear();
        EXPECT_EQ(FileBytes(DatabasePath()), c.Bytes);
        EXPECT_THAT(Files(), ElementsAre("data.mdb")) << "no half-written ledger, no renamed original";
        EXPECT_EQ(Panel(1), "");
        delete Form1;
    }
}

TEST_F(AccessImportTest, KeptNameNeverOverwritesAFile)
{
    SYSTEMTIME day{};
    day.wYear = 2026;
    day.wMonth = 12;
    day.wDay = 8;
    EXPECT_EQ(ledger::KeptOriginalName(day), L"data_Access_20261208.mdb");
    PutFile(FFolder.File(L"data_Access_20261208.mdb"), "earlier");
    PutFile(FFolder.File(L"data_Access_20261208_2.mdb"), "earlier");
    EXPECT_EQ(ledger::KeptOriginalName(day), L"data_Access_20261208_3.mdb");
}

}  // namespace

// ---- the reader process kept within bounds ----

namespace {

// Not tests: stand-ins run as processes of their own by the tests below. A
// reader that a damaged file sends round in circles, writing remarks without
// end (it holds the mutex named in RAVELBOOK_RUNAWAY while it lives), and a
// program that runs one and is then killed.
TEST(DISABLED_ReaderStandIn, RunsAwayWritingRemarks)
{
    wchar_t name[128] = {};
    GetEnvironmentVariableW(L"RAVELBOOK_RUNAWAY", name, 128);
    HANDLE alive = name[0] ? CreateMutexW(nullptr, TRUE, name) : nullptr;
    (void)alive;
    const std::string remark(1023, 'w');
    for (;;) std::fprintf(stderr, "%s\n", remark.c_str());
}

std::wstring SelfCommand(const wchar_t* test)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + test;
}

TEST(DISABLED_ReaderStandIn, ProgramRunningARunawayReader)
{
    ledger::RunReaderProcess(SelfCommand(L"DISABLED_ReaderStandIn.RunsAwayWritingRemarks"), 600000, false);
}

// Presses the progress window's "取消" once it shows, noting its progress.
int GProgressSeen = -1;
void CALLBACK CancelWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    ledger::TConversionProgress* window = ledger::TConversionProgress::Current;
    if (!window || !window->Visible()) return;
    GProgressSeen = window->ProgressBar1->Position();
    SendMessageA(window->ButtonCancel->Handle(), BM_CLICK, 0, 0);
}

}  // namespace

TEST_F(AccessImportTest, ARunawayReaderIsStoppedInTimeItsOutputBoundedAndCancelable)
{
    const std::wstring runaway = SelfCommand(L"DISABLED_ReaderStandIn.RunsAwayWritingRemarks");
    // The stand-in inherits nothing of the test runner's output pipes.
    for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        SetHandleInformation(GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
    // Stopped at the time limit; of all it wrote only the last part is kept.
    DWORD start = GetTickCount();
    ledger::TReaderRun run = ledger::RunReaderProcess(runaway, 1500, false);
    EXPECT_TRUE(run.TimedOut);
    EXPECT_FALSE(run.Finished);
    EXPECT_LT(GetTickCount() - start, 6000u);
    EXPECT_GT(run.ErrorBytes, 4 * ledger::READER_OUTPUT_KEPT) << "it was read as it came";
    EXPECT_LE(run.Errors.size(), ledger::READER_OUTPUT_KEPT);
    EXPECT_EQ(run.Errors.substr(run.Errors.size() - 3), "www");

    // With the progress window: it shows how far the time limit has gone,
    // and its "取消" ends the reader at once.
    GProgressSeen = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 700, CancelWhenShown);
    start = GetTickCount();
    run = ledger::RunReaderProcess(runaway, 60000, true);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(run.Cancelled);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_GT(GProgressSeen, 0);
    EXPECT_LT(GProgressSeen, 1000);
    EXPECT_EQ(ledger::TConversionProgress::Current, nullptr) << "the window goes with the run";
}

// The reader runs in a job object: when the program that started it is
// killed, the reader ends too instead of running on at full speed.
TEST_F(AccessImportTest, AReaderEndsWithTheProgramThatStartedIt)
{
    const std::wstring marker = L"ravelbook-runaway-" + std::to_wstring(GetCurrentProcessId());
    SetEnvironmentVariableW(L"RAVELBOOK_RUNAWAY", marker.c_str());
    std::wstring command = SelfCommand(L"DISABLED_ReaderStandIn.ProgramRunningARunawayReader");
    // The stand-in and its reader get none of this program's own standard
    // handles (the test runner waits until every copy of them is closed).
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION program{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &program));
    CloseHandle(nul);
    SetEnvironmentVariableW(L"RAVELBOOK_RUNAWAY", nullptr);
    const auto readerAlive = [&] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, marker.c_str());
        if (mutex) CloseHandle(mutex);
        return mutex != nullptr;
    };
    DWORD start = GetTickCount();
    while (!readerAlive() && GetTickCount() - start < 20000) Sleep(50);
    ASSERT_TRUE(readerAlive()) << "the reader started";
    TerminateProcess(program.hProcess, 9);
    WaitForSingleObject(program.hProcess, 5000);
    CloseHandle(program.hProcess);
    CloseHandle(program.hThread);
    start = GetTickCount();
    while (readerAlive() && GetTickCount() - start < 10000) Sleep(50);
    EXPECT_FALSE(readerAlive()) << "the reader outlived the program";
}

// Temporaries of a conversion and of a backup that were cut short go at the
// next start, unless they are new or held open (another copy at work).
TEST_F(AccessImportTest, LeftoversOfARunCutShortAreRemovedAtTheNextStart)
{
    MakeLedger({});
    const auto putOld = [&](const std::wstring& path, bool old) {
        PutFile(path, "left over");
        if (!old) return;
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        FILETIME longAgo{};
        SYSTEMTIME day = {2026, 1, 0, 1, 0, 0, 0, 0};
        SystemTimeToFileTime(&day, &longAgo);
        SetFileTime(file, nullptr, nullptr, &longAgo);
        CloseHandle(file);
    };
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring oldReaderOutput = std::wstring(temporary) + L"mdbF00D.tmp";
    putOld(FFolder.File(L"bakA1B2.tmp"), true);
    putOld(FFolder.File(L"data.mdb.converting"), true);
    putOld(FFolder.File(L"data.mdb.converting-journal"), true);
    putOld(oldReaderOutput, true);
    putOld(FFolder.File(L"bakC3D4.tmp"), false);  // a backup at work right now
    putOld(FFolder.File(L"bakE5F6.tmp"), true);
    HANDLE held = CreateFileW(FFolder.File(L"bakE5F6.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    putOld(FFolder.File(L"notes.tmp"), true);  // not ours
    CreateMainForm();
    CloseHandle(held);
    EXPECT_THAT(Files(), ElementsAre("bakC3D4.tmp", "bakE5F6.tmp", "data.mdb", "notes.tmp"));
    EXPECT_FALSE(FileExistsW(oldReaderOutput));
}
