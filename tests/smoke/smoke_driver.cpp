// smoke_driver FOLDER: runs the program that ships (FOLDER\ravelbook.exe,
// the skin files in FOLDER\skins\) from outside its process, as a user
// would, over a small sample ledger it writes to FOLDER\data.mdb:
//
//   1. start it; the main window comes up skinned, and its status bar counts
//      the sample's three entries and adds up their totals;
//   2. "添加" opens the entry editor; an entry typed into it and added shows
//      in the count, the totals and the last message;
//   3. closing asks "您真的要退出吗": No keeps the program, Yes ends it with
//      exit code 0; the entry is then in the database;
//   4. start it again with "/skin paper": the count still holds the new
//      entry, and the caption is drawn from the other skin.
//
// Where 32-bit code runs emulated this driver is a 64-bit program and the
// program a 32-bit one: every step polls, because the program may take
// minutes to start. Prints each step; exits 0 only when every check holds.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/data/ledger_schema.h"
#include "skin/data/skin_messages.h"
#include "sqlite3.h"

namespace {

int Failures = 0;
// How long the program may take to show its main window, and any later step.
DWORD StartLimitMs = 30 * 60 * 1000;
constexpr DWORD STEP_LIMIT_MS = 10 * 60 * 1000;

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

void Say(const std::wstring& text)
{
    std::printf("smoke: %s\n", Utf8(text).c_str());
    std::fflush(stdout);
}

bool Check(bool ok, const std::wstring& what)
{
    Say((ok ? L"ok: " : L"FAILED: ") + what);
    if (!ok) ++Failures;
    return ok;
}

// Polls `done` every 100 ms until it holds or `limitMs` has passed.
bool WaitFor(const std::function<bool()>& done, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        Sleep(100);
    }
    return true;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 30000, &result);
    return text;
}

// The visible top-level window of process `pid` with the class `cls` (any
// when empty) and the caption `caption` (any when empty).
struct TTopLevelSearch {
    DWORD Pid;
    const std::wstring* Class;
    const std::wstring* Caption;
    HWND Found;
};

// The window enumerations' callbacks are named functions: the 32-bit build
// needs their calling convention, which a lambda does not take.
BOOL CALLBACK TakeTopLevel(HWND window, LPARAM data)
{
    auto* s = reinterpret_cast<TTopLevelSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->Pid || !IsWindowVisible(window)) return TRUE;
    if (!s->Class->empty() && ClassOf(window) != *s->Class) return TRUE;
    if (!s->Caption->empty() && TextOf(window) != *s->Caption) return TRUE;
    s->Found = window;
    return FALSE;
}

HWND TopLevel(DWORD pid, const std::wstring& cls, const std::wstring& caption)
{
    TTopLevelSearch search{pid, &cls, &caption, nullptr};
    EnumWindows(TakeTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The visible descendants of `parent` of class `cls`, top to bottom, then
// left to right.
struct TChildSearch {
    const std::wstring* Class;
    std::vector<HWND> Found;
};

BOOL CALLBACK TakeChild(HWND window, LPARAM data)
{
    auto* s = reinterpret_cast<TChildSearch*>(data);
    if (IsWindowVisible(window) && ClassOf(window) == *s->Class) s->Found.push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent, const std::wstring& cls)
{
    TChildSearch search{&cls, {}};
    EnumChildWindows(parent, TakeChild, reinterpret_cast<LPARAM>(&search));
    std::sort(search.Found.begin(), search.Found.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return search.Found;
}

HWND ChildWithText(HWND parent, const std::wstring& cls, const std::wstring& text)
{
    for (HWND child : Children(parent, cls))
        if (TextOf(child) == text) return child;
    return nullptr;
}

// Memory in the program's process for the status bar to write a text into.
// Where the program is an emulated 32-bit process, memory cannot be
// allocated in it from outside (VirtualAllocEx waits on the program to
// serve the request, and it never does), while reading and writing its
// memory works: so the unused end of the last page of one of its writable
// sections is borrowed (the loader maps whole pages; nothing lies past a
// section's size). Natively the memory is allocated.
class TRemoteBuffer {
public:
    static constexpr SIZE_T SIZE = 512;
    TRemoteBuffer(HANDLE process, HWND window) : FProcess(process)
    {
        auto base = reinterpret_cast<const BYTE*>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
        BYTE headers[4096] = {};
        SIZE_T read = 0;
        if (base && ReadProcessMemory(process, base, headers, sizeof headers, &read) && read == sizeof headers) {
            const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(headers);
            const LONG at = dos->e_lfanew;
            if (dos->e_magic == IMAGE_DOS_SIGNATURE && at > 0 && at < 2048) {
                const auto* file = reinterpret_cast<const IMAGE_FILE_HEADER*>(headers + at + 4);
                const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
                    headers + at + 4 + sizeof(IMAGE_FILE_HEADER) + file->SizeOfOptionalHeader);
                for (int i = 0; i < file->NumberOfSections && !FAddress; ++i) {
                    const IMAGE_SECTION_HEADER& section = sections[i];
                    if (reinterpret_cast<const BYTE*>(&section + 1) > headers + sizeof headers) break;
                    if (!(section.Characteristics & IMAGE_SCN_MEM_WRITE)) continue;
                    const DWORD end = (section.VirtualAddress + section.Misc.VirtualSize + 15) & ~15u;
                    const DWORD pageEnd = (section.VirtualAddress + section.Misc.VirtualSize + 0xFFF) & ~0xFFFu;
                    if (pageEnd - end >= SIZE) FAddress = const_cast<BYTE*>(base) + end;
                }
            }
        }
        if (!FAddress) {
            FAddress = VirtualAllocEx(process, nullptr, SIZE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
            FAllocated = FAddress != nullptr;
        }
    }
    ~TRemoteBuffer()
    {
        if (FAllocated) {
            VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE);
        } else if (FAddress) {
            const BYTE zeros[SIZE] = {};
            SIZE_T written = 0;
            WriteProcessMemory(FProcess, FAddress, zeros, SIZE, &written);
        }
    }
    void* Address() const { return FAddress; }

private:
    HANDLE FProcess;
    void* FAddress = nullptr;
    bool FAllocated = false;
};

// One panel of a status bar in another process: its text is copied into
// memory of that process, then read from there.
std::wstring PanelText(HANDLE process, HWND bar, int panel)
{
    TRemoteBuffer remote(process, GetAncestor(bar, GA_ROOT));
    if (!remote.Address()) return L"(no memory in the program to read the panel into)";
    std::wstring text;
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, panel, 0, SMTO_ABORTIFHUNG, 30000, &length) &&
        LOWORD(length) < TRemoteBuffer::SIZE / sizeof(wchar_t)) {
        DWORD_PTR result = 0;
        std::vector<wchar_t> buffer(TRemoteBuffer::SIZE / sizeof(wchar_t), L'\0');
        SIZE_T read = 0;
        if (SendMessageTimeoutW(bar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(remote.Address()),
                                SMTO_ABORTIFHUNG, 30000, &result) &&
            ReadProcessMemory(process, remote.Address(), buffer.data(), TRemoteBuffer::SIZE, &read))
            text.assign(buffer.data(), LOWORD(length));
    }
    return text;
}

// The pixels of a band of the screen along the top of `window` (its caption),
// read from the screen as a user sees it.
std::vector<std::uint32_t> CaptionPixels(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = 24;
    if (width <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels.assign(p, p + static_cast<size_t>(width) * height);
        for (auto& pixel : pixels) pixel &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

size_t DistinctColours(std::vector<std::uint32_t> pixels)
{
    std::sort(pixels.begin(), pixels.end());
    return static_cast<size_t>(std::unique(pixels.begin(), pixels.end()) - pixels.begin());
}

bool WriteSampleLedger(const std::wstring& path)
{
    std::string error;
    const std::string file = Utf8(path);
    DeleteFileW(path.c_str());
    if (ledger::CreateLedgerDatabase(file.c_str(), error) != ledger::TCreateLedgerResult::Created) {
        Say(L"cannot make the sample ledger: " + std::wstring(error.begin(), error.end()));
        return false;
    }
    // The database holds UTF-8 (narrow literals here are the program's GBK).
    const std::string insert = Utf8(
        L"insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values "
        L"('十二月工资','工资','2026/12/1','收入','5000',''),"
        L"('房租','住房','2026/12/2','支出','1500','按月'),"
        L"('午饭','餐饮','2026/12/3','支出','30','')");
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// How many entries of the ledger at `path` match `where` (SQL), or -1.
int CountEntries(const std::wstring& path, const std::wstring& where)
{
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = Utf8(L"select count(*) from data where " + where);
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            count = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return count;
}

// A panel read on its own thread, so that a read that hangs can be given up.
struct TPanelRead {
    HANDLE Process;
    HWND Bar;
    int Index;
    std::wstring Text;
};

DWORD WINAPI ReadPanel(LPVOID data)
{
    auto* read = static_cast<TPanelRead*>(data);
    read->Text = PanelText(read->Process, read->Bar, read->Index);
    return 0;
}

class TProgram {
public:
    TProgram(const std::wstring& folder, const std::wstring& arguments)
    {
        std::wstring line = L"\"" + folder + L"ravelbook.exe\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        const DWORD start = GetTickCount();
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &FInfo)) {
            Check(false, L"start " + line);
            return;
        }
        Say(L"started " + line + L"; waiting for the main window");
        WaitFor(
            [&] {
                FMain = TopLevel(FInfo.dwProcessId, L"TForm1", L"Ravelbook V1.0");
                return FMain || WaitForSingleObject(FInfo.hProcess, 0) == WAIT_OBJECT_0;
            },
            StartLimitMs);
        if (!Check(FMain != nullptr, L"the main window \"Ravelbook V1.0\" is up")) return;
        // The window can be found before the program has finished making it:
        // once it answers a message, its thread is in its message loop.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(FMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, STEP_LIMIT_MS, &result);
        Say(L"main window up after " + std::to_wstring((GetTickCount() - start) / 1000) + L" s");
        auto bars = Children(FMain, L"TStatusBar");
        FBar = bars.empty() ? nullptr : bars.front();
        Check(FBar != nullptr, L"the main window has its status bar");
    }
    ~TProgram()
    {
        if (!FInfo.hProcess) return;
        if (WaitForSingleObject(FInfo.hProcess, 0) != WAIT_OBJECT_0) {
            Say(L"ending the program");
            TerminateProcess(FInfo.hProcess, 99);
        }
        CloseHandle(FInfo.hThread);
        CloseHandle(FInfo.hProcess);
    }
    bool Up() const { return FMain && FBar; }
    HWND Main() const { return FMain; }
    DWORD Pid() const { return FInfo.dwProcessId; }
    // A panel's text. Reading it reaches into the program's memory, which
    // can hang where the program runs emulated: given up after two minutes,
    // and then the driver ends the program and itself with a failure.
    std::wstring Panel(int index) const
    {
        auto* read = new TPanelRead{FInfo.hProcess, FBar, index, {}};
        HANDLE thread = CreateThread(nullptr, 0, ReadPanel, read, 0, nullptr);
        if (!thread || WaitForSingleObject(thread, 120000) != WAIT_OBJECT_0) {
            Check(false, L"the status bar of the program can be read (no answer in two minutes)");
            TerminateProcess(FInfo.hProcess, 99);
            std::fflush(stdout);
            ExitProcess(1);
        }
        CloseHandle(thread);
        std::wstring text = std::move(read->Text);
        delete read;
        return text;
    }

    // Waits until panel `index` reads `text`; says what it read instead.
    bool PanelReads(int index, const std::wstring& text, DWORD limitMs = STEP_LIMIT_MS) const
    {
        std::wstring seen;
        WaitFor([&] { return (seen = Panel(index)) == text; }, limitMs);
        return Check(seen == text, L"panel " + std::to_wstring(index) + L" reads \"" + text + L"\"" +
                                       (seen == text ? L"" : L" (it reads \"" + seen + L"\")"));
    }

    bool Skinned() const
    {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(FMain, SKM_QUERYSKIN, 0, 0, SMTO_ABORTIFHUNG, 30000, &answer);
        return answer == 1;
    }

    // Asks the main window to close and answers the confirmation with
    // `answer` (IDYES or IDNO); false when no confirmation came.
    bool Close(int answer)
    {
        PostMessageW(FMain, WM_CLOSE, 0, 0);
        HWND box = nullptr;
        WaitFor([&] { return (box = TopLevel(FInfo.dwProcessId, L"#32770", L"")) != nullptr; }, STEP_LIMIT_MS);
        if (!Check(box != nullptr, L"closing asks first")) return false;
        Check(TextOf(box) == L"Confirm", L"the question's caption is \"Confirm\" (" + TextOf(box) + L")");
        HWND text = GetDlgItem(box, 0xFFFF);
        Check(text && TextOf(text) == L"您真的要退出吗", L"it asks \"您真的要退出吗\"");
        HWND button = GetDlgItem(box, answer);
        if (!Check(button != nullptr, answer == IDYES ? L"it has a Yes button" : L"it has a No button")) return false;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, STEP_LIMIT_MS);
    }

    // Waits for the program to end; its exit code, or -1.
    long ExitCode()
    {
        if (WaitForSingleObject(FInfo.hProcess, STEP_LIMIT_MS) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(FInfo.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION FInfo{};
    HWND FMain = nullptr;
    HWND FBar = nullptr;
};

const wchar_t* const NEW_ENTRY = L"冒烟测试的条目";

// Adds one entry through the entry editor, as a user types it.
void AddEntry(TProgram& program)
{
    HWND add = ChildWithText(program.Main(), L"TButton", L"添加");
    if (!Check(add != nullptr, L"the main window has its \"添加\" button")) return;
    PostMessageW(add, BM_CLICK, 0, 0);
    HWND editor = nullptr;
    WaitFor([&] { return (editor = TopLevel(program.Pid(), L"TForm2", L"项目添加/编辑")) != nullptr; }, STEP_LIMIT_MS);
    if (!Check(editor != nullptr, L"\"添加\" opens the entry editor")) return;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(editor, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, STEP_LIMIT_MS, &result);
    // The add tab's boxes: name and category, then direction and amount.
    std::vector<HWND> boxes = Children(editor, L"TComboBox");
    if (!Check(boxes.size() == 4, L"the add tab shows its four boxes (" + std::to_wstring(boxes.size()) + L")")) return;
    const wchar_t* const values[] = {NEW_ENTRY, L"餐饮", L"支出", L"123"};
    for (size_t i = 0; i < 4; ++i)
        SendMessageTimeoutW(boxes[i], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(values[i]), SMTO_ABORTIFHUNG, 30000,
                            &result);
    HWND confirm = ChildWithText(editor, L"TButton", L"添加");
    if (!Check(confirm != nullptr, L"the editor has its \"添加\" button")) return;
    PostMessageW(confirm, BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindowVisible(editor); }, STEP_LIMIT_MS), L"the editor hides after adding");
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) {
        std::fprintf(stderr, "usage: smoke_driver FOLDER [START-LIMIT-SECONDS]\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    if (argc > 2) StartLimitMs = static_cast<DWORD>(_wtoi(argv[2])) * 1000;
    const std::wstring ledgerPath = folder + L"data.mdb";
    if (!Check(WriteSampleLedger(ledgerPath), L"a sample ledger of three entries")) return 1;

    std::vector<std::uint32_t> storedCaption;
    {
        Say(L"run 1: the stored skin");
        TProgram program(folder, L"");
        if (!program.Up()) return 1;
        Check(program.Skinned(), L"the main window is skinned");
        program.PanelReads(1, L"共 3 个记录");
        program.PanelReads(2, L"支出金额共:1530元");
        program.PanelReads(3, L"收入金额共:5000元");
        storedCaption = CaptionPixels(program.Main());
        Check(DistinctColours(storedCaption) > 4, L"the caption can be read from the screen");

        AddEntry(program);
        program.PanelReads(1, L"共 4 个记录");
        program.PanelReads(2, L"支出金额共:1653元");
        program.PanelReads(4, std::wstring(NEW_ENTRY) + L"添加成功!");

        if (program.Close(IDNO))
            Check(IsWindowVisible(program.Main()) && program.Panel(1) == L"共 4 个记录",
                  L"answering No keeps the program as it was");
        if (program.Close(IDYES)) Check(program.ExitCode() == 0, L"answering Yes ends it with exit code 0");
    }
    Check(CountEntries(ledgerPath, L"1") == 4, L"the ledger holds four entries");
    Check(CountEntries(ledgerPath, L"项目名称 = '冒烟测试的条目' and 项目类别 = '餐饮' and 支出或收入 = '支出' and 金额 = '123'") == 1,
          L"the new entry is in the database as it was typed");

    {
        Say(L"run 2: /skin paper");
        TProgram program(folder, L"/skin paper");
        if (!program.Up()) return 1;
        Check(program.Skinned(), L"the main window is skinned");
        program.PanelReads(1, L"共 4 个记录");
        std::vector<std::uint32_t> paperCaption = CaptionPixels(program.Main());
        size_t differing = 0;
        for (size_t i = 0; i < std::min(paperCaption.size(), storedCaption.size()); ++i)
            differing += paperCaption[i] != storedCaption[i];
        Check(DistinctColours(paperCaption) > 4 && differing > paperCaption.size() / 4,
              L"the caption is drawn from the paper skin (" + std::to_wstring(differing) + L" of " +
                  std::to_wstring(paperCaption.size()) + L" pixels differ)");
        if (program.Close(IDYES)) Check(program.ExitCode() == 0, L"answering Yes ends it with exit code 0");
    }

    Say(Failures == 0 ? L"every check held" : std::to_wstring(Failures) + L" checks failed");
    return Failures == 0 ? 0 : 1;
}
