// What the benchmarks share: a clock, best-of-rounds timing, a ledger
// database filled with made-up entries in a folder of its own under the
// temporary folder, and the program's main window given the stored skin.
// Each benchmark is its own program, so this lives in a header.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "framework/application.h"
#include "framework/data/ledger_schema.h"
#include "framework/streams.h"
#include "framework/sysutils.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"
#include "sqlite3.h"

namespace bench {

// How many times Best runs what it times.
constexpr int ROUNDS = 5;

// Seconds since an arbitrary start, from the performance counter.
inline double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// The best of ROUNDS runs of `run`, each after `prepare` (not timed).
inline double Best(const std::function<void()>& prepare, const std::function<void()>& run)
{
    double best = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        if (prepare) prepare();
        double t = Now();
        run();
        best = std::min(best, Now() - t);
    }
    return best;
}

// The best of ROUNDS runs of `run`.
inline double Best(const std::function<void()>& run) { return Best(nullptr, run); }

// Handles every waiting message (posted ones included), without waiting.
inline void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Handles messages until `done` holds or `ms` passed; false on the timeout.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Drain();
        Sleep(1);
    }
    return true;
}

// The packed stored skin, as the build embeds it in the program (the
// benchmarks carry no resources); empty when it cannot be read.
inline std::string StoredSkinBytes()
{
    // Where this build (build/ or build64/) put it.
    std::string path = RAVELBOOK_BUILD_DIR "/generated/ravelbook_skin.bin";
    if (path[0] == '/') path = "Z:" + path;
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// True when the skin engine has skinned the form `window` and still holds it.
inline bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    TFormSkinnerLink* skinner = manager ? manager->FindFormSkinner(window) : nullptr;
    return skinner && skinner->SkinnerState() == fssSkinned;
}

// Makes the program's main window (Form1) as start-up does, its skin
// component given `skin` (the packed stored skin) and, when `switchOn`,
// switched on, so that the window is skinned as it is first activated.
inline void CreateSkinnedMainForm(const std::string& skin, bool switchOn)
{
    Application->CreateForm(Form1);
    TMemoryStream stream;
    stream.WriteBuffer(skin.data(), static_cast<int64_t>(skin.size()));
    stream.SetPosition(0);
    Form1->SkinData1->ReadSkinStream(stream);
    if (switchOn) Form1->SkinData1->SetActive(true);
}

// The application titled as the program is, its message boxes answered OK at
// once: each one's text goes to standard error and is counted in `boxes`
// (a benchmark that met one has measured something else).
inline void AnswerMessageBoxes(int& boxes)
{
    Application->SetTitle("Ravelbook");
    Application->SetMessageBoxHandler([&boxes](const std::string& text, const std::string&, UINT) {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
        ++boxes;
        return IDOK;
    });
}

// A folder "<name>_<process id>\" under the temporary folder holding an empty
// ledger, data.mdb; both are deleted at the end. Ok() is false (and the
// reason printed) when the ledger could not be made.
class TBenchLedger {
public:
    explicit TBenchLedger(const std::wstring& name)
    {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH, temp);
        FFolder = std::wstring(temp) + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(FFolder.c_str(), nullptr);
        FPath = FFolder + L"data.mdb";
        std::string error;
        FOk = ledger::CreateLedgerDatabase(WideToUtf8(FPath).c_str(), error) == ledger::TCreateLedgerResult::Created;
        if (!FOk) std::fprintf(stderr, "cannot make %s: %s\n", WideToUtf8(FPath).c_str(), error.c_str());
    }
    ~TBenchLedger()
    {
        DeleteFileW(FPath.c_str());
        RemoveDirectoryW(FFolder.c_str());
    }
    TBenchLedger(const TBenchLedger&) = delete;
    TBenchLedger& operator=(const TBenchLedger&) = delete;

    bool Ok() const { return FOk; }
    // The folder, with its trailing separator.
    const std::wstring& Folder() const { return FFolder; }
    const std::wstring& Path() const { return FPath; }

    // Adds `rows` entries in one transaction, straight through the engine:
    // entry i is named "项目<i>", has category categories[i % count], date
    // 2026/12/8, is income when i is a multiple of 3 and spending otherwise,
    // amount i % amountModulo and remark "备注:第<i>条". False when the file
    // cannot be opened or a row is refused.
    bool AddEntries(int rows, const std::vector<std::string>& categories, int amountModulo) const
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(WideToUtf8(FPath).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }
        sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, AnsiToUtf8("insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) "
                                          "values (?,?,?,?,?,?)").c_str(),
                           -1, &stmt, nullptr);
        bool ok = stmt != nullptr;
        for (int i = 0; ok && i < rows; ++i) {
            const std::string values[] = {"项目" + IntToStr(i),
                                          categories[static_cast<size_t>(i) % categories.size()],
                                          "2026/12/8",
                                          i % 3 ? "支出" : "收入",
                                          IntToStr(i % amountModulo),
                                          "备注:第" + IntToStr(i) + "条"};
            for (int c = 0; c < 6; ++c)
                sqlite3_bind_text(stmt, c + 1, AnsiToUtf8(values[c]).c_str(), -1, SQLITE_TRANSIENT);
            ok = sqlite3_step(stmt) == SQLITE_DONE;
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, ok ? "commit" : "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (!ok) std::fprintf(stderr, "cannot fill %s\n", WideToUtf8(FPath).c_str());
        return ok;
    }

private:
    std::wstring FFolder;
    std::wstring FPath;
    bool FOk = false;
};

// Ends the main window and handles what its going left waiting.
inline void CloseMainForm()
{
    delete Form1;
    Form1 = nullptr;
    Application->SetMainForm(nullptr);
    Drain();
}

// Starts the program over `ledger` titled as it is, its main window made by
// CreateSkinnedMainForm with the stored skin switched on, and shows it.
// False, the reason printed, when the stored skin cannot be read.
inline bool ShowSkinnedMainForm(const TBenchLedger& ledger)
{
    SetProgramFolder(ledger.Folder());
    Application->SetTitle("Ravelbook");
    const std::string skin = StoredSkinBytes();
    if (skin.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (build/generated/ravelbook_skin.bin)\n");
        return false;
    }
    CreateSkinnedMainForm(skin, true);
    Form1->Show();
    return true;
}

}  // namespace bench
