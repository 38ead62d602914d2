// Opening an Access-format data.mdb (see access_import.h).
#include "app/access_import.h"

#include <algorithm>
#include <memory>

#include "app/form_building.h"
#include "app/ledger_files.h"
#include "framework/application.h"
#include "framework/data/access_file.h"
#include "framework/data/db_error.h"
#include "sqlite3.h"

namespace ledger {

namespace {

const wchar_t* const READER_PROCESS = L"mdbimport.exe";
const wchar_t* const CONVERTING_SUFFIX = L".converting";
DWORD& TimeLimitForTests()
{
    static DWORD limit = 0;
    return limit;
}

std::vector<std::string>& SourceForTests()
{
    static std::vector<std::string> tableAndColumns;
    return tableAndColumns;
}

std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// mdbimport.exe beside the program; the tests' programs are one folder down.
std::wstring ReaderProcessPath()
{
    const std::wstring folder = ExecutableFolder();
    for (const std::wstring& candidate : {folder + READER_PROCESS, folder + L"..\\" + READER_PROCESS})
        if (FileExistsW(candidate)) return candidate;
    throw Exception("找不到读取 Access 文件的程序 " + WideToAnsi(READER_PROCESS) + ",它应当在本程序所在的文件夹中。");
}

std::wstring QuoteArgument(const std::wstring& argument)
{
    // Quotes and the backslashes before them are escaped as the C runtime
    // reads a command line.
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// The read end of a pipe the reader writes one of its streams into. What
// arrives is read as it comes, so the reader never waits on a full pipe for
// long, and only the last READER_OUTPUT_KEPT bytes are kept: a reader that
// writes warnings without end costs no memory.
struct TStreamedOutput {
    HANDLE Read = nullptr, Write = nullptr;
    std::string Kept;
    unsigned long long Total = 0;
    TStreamedOutput()
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&Read, &Write, &inherit, 1 << 16)) throw Exception("无法为读取程序建立管道。");
        SetHandleInformation(Read, HANDLE_FLAG_INHERIT, 0);
    }
    ~TStreamedOutput()
    {
        if (Read) CloseHandle(Read);
        if (Write) CloseHandle(Write);
    }
    TStreamedOutput(const TStreamedOutput&) = delete;
    TStreamedOutput& operator=(const TStreamedOutput&) = delete;
    // The child has its own copy of the write end now.
    void CloseWriteEnd()
    {
        CloseHandle(Write);
        Write = nullptr;
    }
    // Reads whatever is waiting; true while the pipe is open.
    bool Drain()
    {
        for (;;) {
            DWORD waiting = 0;
            if (!PeekNamedPipe(Read, nullptr, 0, nullptr, &waiting, nullptr)) return false;
            if (waiting == 0) return true;
            char buffer[16384];
            DWORD got = 0;
            if (!ReadFile(Read, buffer, std::min<DWORD>(waiting, sizeof buffer), &got, nullptr) || got == 0)
                return false;
            Total += got;
            Kept.append(buffer, got);
            if (Kept.size() > 2 * READER_OUTPUT_KEPT) Kept.erase(0, Kept.size() - READER_OUTPUT_KEPT);
        }
    }
    std::string Text() const
    {
        std::string text = Kept.size() > READER_OUTPUT_KEPT ? Kept.substr(Kept.size() - READER_OUTPUT_KEPT) : Kept;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        std::string joined;
        for (char c : text)
            if (c != '\r') joined += c;
        return joined;
    }
};

// A job object that ends the processes put in it when its last handle
// closes: when this program ends, however it ends, the reader goes too.
struct TReaderJob {
    HANDLE Handle = nullptr;
    TReaderJob()
    {
        Handle = CreateJobObjectW(nullptr, nullptr);
        if (!Handle) return;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(Handle, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    ~TReaderJob()
    {
        if (Handle) CloseHandle(Handle);
    }
    TReaderJob(const TReaderJob&) = delete;
    TReaderJob& operator=(const TReaderJob&) = delete;
};

// How many entries the ledger at `path` holds; -1 when it is no sound ledger.
long long CountEntries(const std::wstring& path)
{
    sqlite3* db = nullptr;
    long long count = -1;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM data", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            count = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return count;
}

std::string ConfirmationText(const std::wstring& kept)
{
    return "data.mdb 是 Access 格式的账本数据库,本程序不能直接打开它。\n\n"
           "是否把其中的全部记录转换为本程序的账本?原文件将改名为 \"" +
           WideToAnsi(kept) + "\" 保留在同一文件夹中,不会被删除或修改。";
}

}  // namespace

void SetAccessSourceForTests(const std::vector<std::string>& tableAndColumns)
{
    SourceForTests() = tableAndColumns;
}

void SetReaderTimeLimitForTests(DWORD limitMs) { TimeLimitForTests() = limitMs; }

std::wstring KeptOriginalName(const SYSTEMTIME& day)
{
    wchar_t stem[64];
    swprintf(stem, 64, L"data_Access_%04u%02u%02u", day.wYear, day.wMonth, day.wDay);
    std::wstring name = std::wstring(stem) + L".mdb";
    for (int n = 2; GetFileAttributesW(ProgramFilePath(name).c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
        name = std::wstring(stem) + L"_" + std::to_wstring(n) + L".mdb";
    return name;
}

DWORD ReaderTimeLimitMs(unsigned long long fileSize)
{
    // A sound file reads at many MiB a second; a damaged one can send the
    // reading library round in circles. 10 s, and 2 s more for each MiB.
    return static_cast<DWORD>(std::min<unsigned long long>(10000 + (fileSize >> 20) * 2000, 3600000));
}

TConversionProgress* TConversionProgress::Current = nullptr;

TConversionProgress::TConversionProgress(TComponent* owner) : TForm(owner)
{
    forms::SetUpDialog(this, "ConversionProgress", "转换 Access 文件", BorderIcon(biSystemMenu));
    SetClientSize(320, 100);
    Label1 = forms::Make<TLabel>(this, this, "Label1");
    Label1->SetCaption("正在读取 Access 文件,请稍候……");
    Label1->SetBounds(16, 14, Label1->Width(), Label1->Height());
    ProgressBar1 = forms::Make<TProgressBar>(this, this, "ProgressBar1");
    ProgressBar1->SetBounds(16, 36, 288, 18);
    ProgressBar1->SetMax(1000);
    ButtonCancel = forms::MakeButton(this, this, "ButtonCancel", "取消", 122, 64, 75, 25, &TConversionProgress::CancelClick);
    // Closing the window is cancelling too.
    OnCloseQuery = [this](TObject*, bool& canClose) {
        Cancelled = true;
        canClose = false;
    };
    Current = this;
}

TConversionProgress::~TConversionProgress()
{
    if (Current == this) Current = nullptr;
}

void TConversionProgress::CancelClick(TObject*) { Cancelled = true; }

TReaderRun RunReaderProcess(const std::wstring& commandLine, DWORD timeLimitMs, bool showProgress)
{
    TStreamedOutput output, errors;
    TReaderJob job;
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.Write;
    startup.hStdError = errors.Write;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    // Suspended until it is in the job, so that not even its first steps
    // can outlive this program.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process))
        throw Exception("无法启动读取 Access 文件的程序 " + WideToAnsi(READER_PROCESS) + "。");
    if (job.Handle) AssignProcessToJobObject(job.Handle, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    output.CloseWriteEnd();
    errors.CloseWriteEnd();

    std::unique_ptr<TConversionProgress> window;
    if (showProgress && Application) {
        window = std::make_unique<TConversionProgress>(nullptr);
        window->Show();
        SetForegroundWindow(window->Handle());
    }
    TReaderRun run;
    const DWORD start = GetTickCount();
    for (;;) {
        output.Drain();
        errors.Drain();
        const DWORD elapsed = GetTickCount() - start;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            run.Finished = true;
            break;
        }
        if (elapsed >= timeLimitMs) {
            run.TimedOut = true;
            break;
        }
        if (window) {
            window->ProgressBar1->SetPosition(static_cast<int>(1000ull * elapsed / std::max<DWORD>(timeLimitMs, 1)));
            Application->ProcessMessages();
            if (window->Cancelled) {
                run.Cancelled = true;
                break;
            }
        }
        MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20, QS_ALLINPUT);
    }
    if (!run.Finished) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    output.Drain();
    errors.Drain();
    GetExitCodeProcess(process.hProcess, &run.ExitCode);
    CloseHandle(process.hProcess);
    if (window) window->Hide();
    run.Output = output.Text();
    run.Errors = errors.Text();
    run.OutputBytes = output.Total;
    run.ErrorBytes = errors.Total;
    return run;
}

int ConvertInReaderProcess(const std::wstring& source, const std::wstring& target,
                           const std::vector<std::string>& tableAndColumns, bool showProgress)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    unsigned long long size = 0;
    if (GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &attributes))
        size = (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    const DWORD limit = TimeLimitForTests() ? TimeLimitForTests() : ReaderTimeLimitMs(size);
    // The reader stops itself a little before it would be stopped.
    std::wstring commandLine = QuoteArgument(ReaderProcessPath()) + L" --time-limit-ms " +
                               std::to_wstring(limit > 1000 ? limit - 500 : limit) + L" " + QuoteArgument(source) +
                               L" " + QuoteArgument(target);
    for (const std::string& argument : tableAndColumns) commandLine += L" " + QuoteArgument(Utf8ToWide(argument));

    const TReaderRun run = RunReaderProcess(commandLine, limit, showProgress);
    const std::string& reported = run.Output;
    const std::string& reason = run.Errors;
    const DWORD exitCode = run.ExitCode;
    long long rows = -1;
    if (run.Finished && exitCode == 0 && reported.rfind("rows=", 0) == 0) rows = _atoi64(reported.c_str() + 5);
    if (rows >= 0 && CountEntries(target) == rows) return static_cast<int>(rows);

    // Whatever the reader left behind is no ledger to use.
    RemoveConversionTemporaries(target);
    if (run.Cancelled) throw Exception("已取消。");
    if (run.TimedOut || exitCode == READER_EXIT_TIME_LIMIT)
        throw Exception("读取文件的时间过长,已停止。文件可能已经损坏。");
    // The reader's reason is its last line; the library may have written
    // remarks of its own before it.
    if (exitCode == 1 && !reason.empty()) throw Exception(reason.substr(reason.find_last_of('\n') + 1));
    if (exitCode == 0) throw Exception("转换出的账本与读出的记录数不符。");
    throw Exception(Format("读取文件时读取程序异常退出 (代码 0x%08X),文件可能已经损坏。", static_cast<unsigned>(exitCode)));
}

void RemoveConversionTemporaries(const std::wstring& target)
{
    for (const wchar_t* suffix : {L"", L"-journal", L"-wal", L"-shm"}) DeleteFileW((target + suffix).c_str());
}

TAccessOffer OfferAccessConversion()
{
    const std::wstring ledgerPath = ProgramFilePath(DATABASE_FILE_NAME);
    const jet::TFileKind kind = jet::DetectFileKind(ledgerPath);
    if (kind == jet::TFileKind::NotAccess) return TAccessOffer::NotAccess;
    if (kind == jet::TFileKind::Ace) {
        ShowMessage("data.mdb 是较新版本的 Access 格式 (ACCDB),本程序只能转换 Access 97 到 2003 (Jet 3、Jet 4) "
                    "格式的文件。data.mdb 保持原样,没有任何改动。");
        return TAccessOffer::Failed;
    }
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::wstring kept = KeptOriginalName(today);
    if (MessageDlg(ConfirmationText(kept), mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo)) != mrYes) {
        ShowMessage("没有转换:data.mdb 保持原样。本程序不能直接打开 Access 格式的数据库,所以列表是空的;"
                    "下次启动时还会询问。");
        return TAccessOffer::Declined;
    }

    const std::wstring converting = ledgerPath + CONVERTING_SUFFIX;
    RemoveConversionTemporaries(converting);  // left over from a run that was cut short
    int rows = 0;
    try {
        rows = ConvertInReaderProcess(ledgerPath, converting, SourceForTests(), true);
    } catch (const Exception& error) {
        ShowMessage("转换失败:" + error.Message() + "\n\ndata.mdb 保持原样,没有任何改动。");
        return TAccessOffer::Failed;
    }
    const std::wstring keptPath = ProgramFilePath(kept);
    if (!MoveFileExW(ledgerPath.c_str(), keptPath.c_str(), MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(converting.c_str());
        ShowMessage("转换失败:无法把 data.mdb 改名为 \"" + WideToAnsi(kept) +
                    "\"(文件可能正被其他程序使用)。data.mdb 保持原样,没有任何改动。");
        return TAccessOffer::Failed;
    }
    if (!MoveFileExW(converting.c_str(), ledgerPath.c_str(), MOVEFILE_WRITE_THROUGH)) {
        MoveFileExW(keptPath.c_str(), ledgerPath.c_str(), MOVEFILE_WRITE_THROUGH);
        DeleteFileW(converting.c_str());
        ShowMessage("转换失败:无法把转换出的账本放到 data.mdb 的位置。data.mdb 保持原样,没有任何改动。");
        return TAccessOffer::Failed;
    }
    ShowMessage("转换完成:共转换 " + IntToStr(rows) + " 条记录。原来的 Access 文件已改名为 \"" + WideToAnsi(kept) +
                "\",保留在同一文件夹中。");
    return TAccessOffer::Converted;
}

}  // namespace ledger
