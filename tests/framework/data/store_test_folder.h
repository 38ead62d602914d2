// Temporary folders, ledger databases and whole files for the store's tests.
//
// TTempFolder makes a new, empty folder under the system's temporary folder
// (named after `name` plus a unique suffix, so names with Chinese characters
// and blanks are exercised) and removes it with everything in it at the end.
#pragma once

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/data/ledger_schema.h"
#include "framework/sysutils.h"
#include "sqlite3.h"

class TTempFolder {
public:
    explicit TTempFolder(const std::wstring& name = L"ledger")
    {
        static std::atomic<int> counter{0};
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH, temp);
        FPath = std::wstring(temp) + name + L" " + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
        if (!CreateDirectoryW(FPath.c_str(), nullptr)) throw std::runtime_error("cannot make temp folder");
        FPath += L"\\";
    }
    ~TTempFolder() { RemoveTree(FPath); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder with its trailing separator.
    const std::wstring& Path() const { return FPath; }
    std::wstring File(const std::wstring& name) const { return FPath + name; }

private:
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring path = folder + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path + L"\\");
                } else {
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(path.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring FPath;
};

// The whole content of the file at `path`, or "<missing>" when it cannot be
// opened (others may hold it open for reading and writing).
inline std::string FileBytes(const std::wstring& path)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(f, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(f);
    return bytes;
}

// Makes the file at `path` hold exactly `bytes`; throws when it cannot.
inline void PutFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + WideToUtf8(path));
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(f);
    if (!ok) throw std::runtime_error("cannot write " + WideToUtf8(path));
}

// A u8 literal as the UTF-8 bytes it is (the build's narrow literals are GBK).
inline std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Makes an empty ledger database at `path`; throws when it cannot.
inline void MakeLedgerFile(const std::wstring& path)
{
    std::string error;
    if (ledger::CreateLedgerDatabase(WideToUtf8(path).c_str(), error) != ledger::TCreateLedgerResult::Created)
        throw std::runtime_error("cannot make ledger: " + error);
}

// Runs SQL (UTF-8) straight on the file, outside the store under test, and
// returns the first column of every row as text ("<null>" for NULL).
inline std::vector<std::string> RawQuery(const std::wstring& path, const std::string& sqlUtf8)
{
    sqlite3* db = nullptr;
    std::vector<std::string> values;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + WideToUtf8(path));
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sqlUtf8.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message);
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        values.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return values;
}
