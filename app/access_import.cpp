// Opening an Access-format data.mdb (see access_import.h).
#include "app/access_import.h"

#include <algorithm>

#include "app/ledger_files.h"
#include "framework/application.h"
#include "framework/data/access_file.h"
#include "framework/data/db_error.h"
#include "sqlite3.h"

namespace ledger {

namespace {

const wchar_t* const READER_PROCESS = L"mdbimport.exe";
const wchar_t* const CONVERTING_SUFFIX = L".converting";
// A conversion that takes longer than this is taken for a reader that hangs
// (a damaged file can send the reading library round in circles): 10 s, and
// 2 s more for each MiB of the file.
DWORD ReaderTimeoutMs(const std::wstring& source)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    unsigned long long size = 0;
    if (GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &attributes))
        size = (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    return static_cast<DWORD>(std::min<unsigned long long>(10000 + (size >> 20) * 2000, 3600000));
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

// A temporary file that the child writes its output into; deleted when done.
struct TOutputFile {
    std::wstring Path;
    HANDLE Handle = INVALID_HANDLE_VALUE;
    TOutputFile()
    {
        wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"mdb", 0, name);
        Path = name;
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        Handle = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY, nullptr);
    }
    ~TOutputFile()
    {
        if (Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
        DeleteFileW(Path.c_str());
    }
    std::string Text()
    {
        CloseHandle(Handle);
        Handle = INVALID_HANDLE_VALUE;
        std::vector<std::string> lines;
        try {
            lines = ReadLines(Path);
        } catch (const Exception&) {
        }
        std::string text;
        for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
        return text;
    }
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

std::wstring KeptOriginalName(const SYSTEMTIME& day)
{
    wchar_t stem[64];
    swprintf(stem, 64, L"data_Access_%04u%02u%02u", day.wYear, day.wMonth, day.wDay);
    std::wstring name = std::wstring(stem) + L".mdb";
    for (int n = 2; GetFileAttributesW(ProgramFilePath(name).c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
        name = std::wstring(stem) + L"_" + std::to_wstring(n) + L".mdb";
    return name;
}

int ConvertInReaderProcess(const std::wstring& source, const std::wstring& target,
                           const std::vector<std::string>& tableAndColumns)
{
    std::wstring commandLine = QuoteArgument(ReaderProcessPath()) + L" " + QuoteArgument(source) + L" " +
                               QuoteArgument(target);
    for (const std::string& argument : tableAndColumns) commandLine += L" " + QuoteArgument(Utf8ToWide(argument));

    TOutputFile output, errors;
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.Handle;
    startup.hStdError = errors.Handle;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        throw Exception("无法启动读取 Access 文件的程序 " + WideToAnsi(READER_PROCESS) + "。");
    CloseHandle(process.hThread);
    DWORD exitCode = 0;
    const bool finished = WaitForSingleObject(process.hProcess, ReaderTimeoutMs(source)) == WAIT_OBJECT_0;
    if (!finished) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);

    const std::string reported = output.Text(), reason = errors.Text();
    long long rows = -1;
    if (finished && exitCode == 0 && reported.rfind("rows=", 0) == 0) rows = _atoi64(reported.c_str() + 5);
    if (rows >= 0 && CountEntries(target) == rows) return static_cast<int>(rows);

    // Whatever the reader left behind is no ledger to use.
    DeleteFileW(target.c_str());
    if (!finished) throw Exception("读取文件的时间过长,已停止。文件可能已经损坏。");
    // The reader's reason is its last line; the library may have written
    // remarks of its own before it.
    if (exitCode == 1 && !reason.empty()) throw Exception(reason.substr(reason.find_last_of('\n') + 1));
    if (exitCode == 0) throw Exception("转换出的账本与读出的记录数不符。");
    throw Exception(Format("读取文件时读取程序异常退出 (代码 0x%08X),文件可能已经损坏。", static_cast<unsigned>(exitCode)));
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
    DeleteFileW(converting.c_str());  // left over from a run that was cut short
    int rows = 0;
    try {
        rows = ConvertInReaderProcess(ledgerPath, converting, SourceForTests());
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
