// The connection to the ledger's database file.
#include "framework/data/ado_connection.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "framework/data/ado_query.h"
#include "framework/data/sqlite_statement.h"
#include "sqlite3.h"

namespace {

// How long a statement waits for a lock held by another process (a copy of
// the file being made, for instance) before it gives up.
constexpr int BUSY_TIMEOUT_MS = 3000;

// The most of the file the engine maps into memory at once (64 MB: a ledger
// of a million entries; a 32-bit process has room for it). Past it, or where
// the view cannot be made, the engine reads the rest as before.
#define MMAP_SIZE_TEXT "67108864"

std::wstring TrimW(const std::wstring& text)
{
    size_t first = 0, last = text.size();
    while (first < last && std::iswspace(text[first]))
        ++first;
    while (last > first && std::iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool SameKey(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

}  // namespace

std::wstring ConnectionStringValue(const std::wstring& text, const std::wstring& key)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t equals = text.find(L'=', pos);
        size_t semicolon = text.find(L';', pos);
        if (equals == std::wstring::npos || (semicolon != std::wstring::npos && semicolon < equals)) {
            // A piece without "=": skip it.
            if (semicolon == std::wstring::npos) break;
            pos = semicolon + 1;
            continue;
        }
        std::wstring name = TrimW(text.substr(pos, equals - pos));
        size_t valueStart = equals + 1;
        while (valueStart < text.size() && std::iswspace(text[valueStart]))
            ++valueStart;
        std::wstring value;
        size_t next;
        if (valueStart < text.size() && (text[valueStart] == L'"' || text[valueStart] == L'\'')) {
            wchar_t quote = text[valueStart];
            size_t i = valueStart + 1;
            while (i < text.size()) {
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            next = text.find(L';', i);
        } else {
            next = text.find(L';', valueStart);
            value = TrimW(text.substr(valueStart, next == std::wstring::npos ? std::wstring::npos : next - valueStart));
        }
        if (SameKey(name, key)) return value;
        if (next == std::wstring::npos) break;
        pos = next + 1;
    }
    return L"";
}

using PConnection = TPropBuilder<TADOConnection>;
IMPLEMENT_CLASS(TADOConnection,
                PConnection::String("ConnectionString", &TADOConnection::ConnectionString,
                                    &TADOConnection::SetConnectionString),
                PConnection::Bool("LoginPrompt", &TADOConnection::LoginPrompt, &TADOConnection::SetLoginPrompt),
                PConnection::Bool("Connected", &TADOConnection::Connected, &TADOConnection::SetConnected))

TADOConnection::TADOConnection(TComponent* owner) : TComponent(owner) {}

TADOConnection::~TADOConnection()
{
    Close();
    for (TADOQuery* dataSet : std::vector<TADOQuery*>(FDataSets))
        dataSet->FConnection = nullptr;
}

std::string TADOConnection::ConnectionString() const
{
    return WideToAnsi(FConnectionString);
}

void TADOConnection::SetConnectionString(const std::string& text)
{
    SetConnectionStringW(AnsiToWide(text));
}

void TADOConnection::SetConnectionStringW(const std::wstring& text)
{
    if (Connected()) throw EDatabaseError("Operation is not allowed when the object is open.");
    FConnectionString = text;
}

std::wstring TADOConnection::DataSourcePath() const
{
    return ConnectionStringValue(FConnectionString, L"Data Source");
}

void TADOConnection::Open()
{
    if (Connected()) return;
    std::wstring path = DataSourcePath();
    if (path.empty()) throw EDatabaseError("连接字符串没有指定数据库文件 (Data Source)。");
    // Never let the engine create the file: the program only works on a
    // ledger that exists.
    const DWORD kind = GetFileAttributesW(path.c_str());
    if (kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY))
        throw EDatabaseError("'" + WideToAnsi(path) + "' 是一个文件夹,不是数据库文件。请把它改名或移开,"
                             "再把账本数据库文件放在这里。");
    if (!FileExistsW(path)) throw EDatabaseError("找不到数据库文件 '" + WideToAnsi(path) + "'。");
    // The engine would take an empty file for a database without tables and
    // only fail later, on a missing table: an empty file is no ledger.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) && attributes.nFileSizeLow == 0 &&
        attributes.nFileSizeHigh == 0 && !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw EDatabaseError("数据库文件 '" + WideToAnsi(path) +
                             "' 是空文件 (0 字节),不是账本数据库。请从备份恢复这个文件。");

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, BUSY_TIMEOUT_MS);
        // The engine reads pages through a view of the file rather than one
        // ReadFile each: a page cache of its default size holds a twentieth of
        // a 100,000-entry ledger, so every walk of the whole table (the totals,
        // the year's chart) read it all again, and under Wine a read costs
        // tens of microseconds. Mapped pages are the file's own, shared with
        // the system's cache, and the view grows with the file.
        sqlite3_exec(db, "PRAGMA mmap_size=" MMAP_SIZE_TEXT, nullptr, nullptr, nullptr);
        // The engine reads the file lazily; look at it now so that a file that
        // is not a database fails here, with the connection left closed.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        std::string reason = db ? db::EngineErrorText(db, rc) : Utf8ToAnsi(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw EDatabaseError("无法打开数据库文件 '" + WideToAnsi(path) + "': " + reason);
    }
    FDb = db;
}

void TADOConnection::Close()
{
    if (!Connected()) return;
    for (TADOQuery* dataSet : std::vector<TADOQuery*>(FDataSets))
        dataSet->Close();
    sqlite3_close_v2(FDb);
    FDb = nullptr;
}

int TADOConnection::Execute(const std::string& sqlAnsi)
{
    Open();
    db::TStatement statement;
    statement.Prepare(FDb, AnsiToUtf8(sqlAnsi));
    while (statement.Step()) {
    }
    return sqlite3_changes(FDb);
}

void TADOConnection::RegisterDataSet(TADOQuery* dataSet)
{
    if (std::find(FDataSets.begin(), FDataSets.end(), dataSet) == FDataSets.end()) FDataSets.push_back(dataSet);
}

void TADOConnection::UnregisterDataSet(TADOQuery* dataSet)
{
    FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), dataSet), FDataSets.end());
}
