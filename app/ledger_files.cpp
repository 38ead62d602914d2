// The ledger's files and SQL text (see ledger_files.h).
#include "app/ledger_files.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace ledger {

const wchar_t* const DATABASE_FILE_NAME = L"data.mdb";
const wchar_t* const CATEGORY_FILE_NAME = L"XMLB.txt";

const char* const COLUMN_NAMES[COLUMN_COUNT] = {
    "编号", "项目名称", "项目类别", "编辑时间", "支出或收入", "金额", "项目备注",
};

namespace {

const wchar_t* const CONNECTION_HEAD = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
const wchar_t* const CONNECTION_TAIL = L"data.mdb;Persist Security Info=False";

// The system's text for a Win32 error code, in the ANSI code page.
std::string SystemErrorText(DWORD code)
{
    char* buffer = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? Trim(std::string(buffer, n)) : "Win32 error " + IntToStr(code);
    LocalFree(buffer);
    return text;
}

[[noreturn]] void RaiseFileError(const char* what, const std::wstring& path, DWORD code)
{
    throw Exception(std::string(what) + " \"" + WideToAnsi(path) + "\"。" + SystemErrorText(code));
}

// Closes a file handle when it goes.
struct THandleOwner {
    HANDLE handle;
    explicit THandleOwner(HANDLE h) : handle(h) {}
    ~THandleOwner()
    {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    THandleOwner(const THandleOwner&) = delete;
    THandleOwner& operator=(const THandleOwner&) = delete;
};

void WriteAll(HANDLE file, const std::string& bytes, const std::wstring& path)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            RaiseFileError("无法写入文件", path, GetLastError());
        done += written;
    }
}

}  // namespace

std::wstring ProgramFilePath(const std::wstring& bareName) { return ProgramFolderW() + bareName; }

// ---- connection ----------------------------------------------------------------

std::wstring BuildConnectionString(const std::wstring& folderWithSeparator)
{
    if (folderWithSeparator.find(L';') == std::wstring::npos)
        return CONNECTION_HEAD + folderWithSeparator + CONNECTION_TAIL;
    // Quote the whole file name; a quote inside is doubled.
    std::wstring file = folderWithSeparator + DATABASE_FILE_NAME, quoted = L"\"";
    for (wchar_t c : file) {
        quoted += c;
        if (c == L'"') quoted += c;
    }
    std::wstring tail = CONNECTION_TAIL;
    return CONNECTION_HEAD + quoted + L"\"" + tail.substr(tail.find(L';'));
}

std::wstring LedgerConnectionString() { return BuildConnectionString(ProgramFolderW()); }

// ---- statements -----------------------------------------------------------------

bool IsLedgerColumn(const std::string& name)
{
    return std::any_of(std::begin(COLUMN_NAMES), std::end(COLUMN_NAMES),
                       [&](const char* column) { return name == column; });
}

ESearchColumnError::ESearchColumnError() : Exception("搜索列名无效,请从列表中选择") {}

std::string QuoteText(const std::string& value)
{
    // In GBK the quote byte never appears inside a two-byte character (their
    // second byte is 0x40 or above), so doubling byte by byte is exact.
    std::string quoted = "'";
    for (char c : value) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

std::string SelectAllSql() { return "select * from data order by 编号 asc"; }

std::string SearchSql(const std::string& column, const std::string& keyword)
{
    if (!IsLedgerColumn(column)) throw ESearchColumnError();
    return "Select * from data where " + column + " like " + QuoteText("%" + keyword + "%");
}

std::string NameLookupSql(const std::string& name)
{
    return "Select 项目名称 from data where 项目名称=" + QuoteText(name);
}

std::string NameInUseSql(const std::string& name, long long exceptId)
{
    std::string sql = "Select 项目名称 from data where trim(项目名称, ' ' || char(9, 10, 13)) = " +
                      QuoteText(Trim(name)) + " COLLATE NOCASE";
    if (exceptId >= 0) sql += " and 编号 <> " + std::to_string(exceptId);
    return sql;
}

std::string InsertSql(const std::string& name, const std::string& category, const std::string& date,
                      const std::string& direction, const std::string& amount, const std::string& remark)
{
    return "Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values (" + QuoteText(name) +
           "," + QuoteText(category) + "," + QuoteText(date) + "," + QuoteText(direction) + "," +
           QuoteText(amount) + "," + QuoteText(remark) + ")";
}

// ---- amounts ---------------------------------------------------------------------

namespace {

enum class TAmountForm { Number, TooLarge, NoNumber };

TAmountForm ReadAmount(const std::string& text, int& value)
{
    const std::string digits = Trim(text);
    size_t i = digits.empty() || (digits[0] != '+' && digits[0] != '-') ? 0 : 1;
    if (i == digits.size()) return TAmountForm::NoNumber;
    const bool negative = digits[0] == '-';
    long long magnitude = 0;
    bool tooLarge = false;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9') return TAmountForm::NoNumber;
        if (!tooLarge) magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL || (!negative && magnitude > 2147483647LL)) tooLarge = true;
    }
    if (tooLarge) return TAmountForm::TooLarge;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return TAmountForm::Number;
}

}  // namespace

bool TryParseAmount(const std::string& text, int& value) { return ReadAmount(text, value) == TAmountForm::Number; }

bool AmountTooLarge(const std::string& text)
{
    int value = 0;
    return ReadAmount(text, value) == TAmountForm::TooLarge;
}

std::string AmountRefusedText(const std::string& amount)
{
    const std::string range = "金额只能填写 -2147483648 到 2147483647 之间的整数(单位:元),请改正后再保存。";
    if (AmountTooLarge(amount)) return "金额 \"" + amount + "\" 超出范围,数值太大。" + range;
    return "金额 \"" + amount + "\" 不是整数。" + range;
}

// ---- XMLB.txt ------------------------------------------------------------------------

namespace {

std::string ReadWholeFile(const std::wstring& path)
{
    THandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE) RaiseFileError("无法打开文件", path, GetLastError());
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.handle, &size) && size.QuadPart > 0 && size.QuadPart < (1ll << 31))
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.handle, buffer, sizeof buffer, &read, nullptr))
            RaiseFileError("无法读取文件", path, GetLastError());
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

std::wstring ToWide(UINT codePage, const std::string& bytes)
{
    if (bytes.empty()) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
    return wide;
}

// The wide text in the ANSI code page; false when a character has no place there.
bool ToAnsi(const std::wstring& wide, std::string& ansi)
{
    ansi.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    ansi.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), n, nullptr, &usedDefault);
    return !usedDefault;
}

bool IsAscii(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The bytes are text in the ANSI code page: each character converts to wide
// and back to the very same bytes. Checked a piece at a time, each piece
// ending after a line break (no byte of a double-byte character is a line
// break), through buffers used again for every piece: a long file is not
// held twice more at once.
bool IsCleanAnsi(const std::string& bytes)
{
    if (IsAscii(bytes)) return true;
    constexpr size_t PIECE = 64 * 1024;
    std::wstring wide;
    std::string back;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.size();
        if (end - start > PIECE) {
            // After the piece's last line break, else after the first one
            // beyond it (a line longer than a piece), else at the end.
            const size_t lastBreak = bytes.rfind('\n', start + PIECE - 1);
            const size_t nextBreak = bytes.find('\n', start + PIECE);
            if (lastBreak != std::string::npos && lastBreak >= start) end = lastBreak + 1;
            else if (nextBreak != std::string::npos) end = nextBreak + 1;
        }
        const char* piece = bytes.data() + start;
        const int size = static_cast<int>(end - start);
        wide.resize(end - start);
        const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, piece, size, wide.data(), size);
        if (n <= 0) return false;
        BOOL usedDefault = FALSE;
        back.resize(static_cast<size_t>(size));
        const int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, back.data(), size, nullptr, &usedDefault);
        if (usedDefault || m != size || std::memcmp(back.data(), piece, static_cast<size_t>(size)) != 0) return false;
        start = end;
    }
    return true;
}

// UTF-8 bytes converted to the ANSI code page; false when they are not valid
// UTF-8 or hold a character the code page lacks.
bool Utf8ToAnsiClean(const std::string& bytes, std::string& ansi)
{
    if (bytes.empty()) {
        ansi.clear();
        return true;
    }
    const std::wstring wide = ToWide(CP_UTF8, bytes);
    return !wide.empty() && ToAnsi(wide, ansi);
}

bool IsValidUtf8(const std::string& bytes)
{
    return bytes.empty() || !ToWide(CP_UTF8, bytes).empty();
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    // Counted first so that the lines are placed once, not moved as the
    // list grows.
    size_t breaks = 0;
    for (const char* c = at; c < end; ++c) breaks += (*c == '\n' || *c == '\r');
    std::vector<std::string> lines;
    lines.reserve(breaks + 1);
    while (at < end) {
        const char* stop = at;
        while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
        lines.emplace_back(at, stop);
        if (stop == end) break;
        at = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace

TDecodedText DecodeText(const std::string& bytes)
{
    static const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    TDecodedText text;
    if (bytes.find('\0') != std::string::npos) {
        text.Encoding = TTextEncoding::Unreadable;
        text.Text = bytes;
    } else if (bytes.compare(0, 3, BYTE_ORDER_MARK) == 0) {
        text.Encoding =
            Utf8ToAnsiClean(bytes.substr(3), text.Text) ? TTextEncoding::Utf8 : TTextEncoding::Unreadable;
        if (text.Encoding == TTextEncoding::Unreadable) text.Text = bytes;
    } else if (IsCleanAnsi(bytes)) {
        text.Encoding = TTextEncoding::Ansi;
        text.Text = bytes;
    } else if (Utf8ToAnsiClean(bytes, text.Text)) {
        text.Encoding = TTextEncoding::Utf8;
    } else {
        text.Encoding = TTextEncoding::Unreadable;
        text.Text = bytes;
    }
    return text;
}

std::string ReadFileBytes(const std::wstring& path) { return ReadWholeFile(path); }

TTextLines ReadTextLines(const std::wstring& path)
{
    const std::string bytes = ReadWholeFile(path);
    static const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    TTextLines text;
    std::string ansi;
    if (bytes.find('\0') != std::string::npos) {
        text.Encoding = TTextEncoding::Unreadable;
        ansi = bytes;
    } else if (bytes.compare(0, 3, BYTE_ORDER_MARK) != 0 && IsCleanAnsi(bytes)) {
        text.Encoding = TTextEncoding::Ansi;
        text.Lines = SplitLines(bytes);
        return text;
    } else {
        text.ByteOrderMark = bytes.compare(0, 3, BYTE_ORDER_MARK) == 0;
        const std::string utf8 = text.ByteOrderMark ? bytes.substr(3) : bytes;
        if (Utf8ToAnsiClean(utf8, ansi)) {
            text.Encoding = TTextEncoding::Utf8;
        } else if (IsValidUtf8(utf8)) {
            // Shown with "?" where GBK has no character; the file's own
            // text is kept for writing back.
            text.Encoding = TTextEncoding::Utf8;
            text.Lossy = true;
            ansi = Utf8ToAnsi(utf8);
        } else {
            text.Encoding = TTextEncoding::Unreadable;
            text.ByteOrderMark = false;
            ansi = bytes;
        }
        if (text.Encoding == TTextEncoding::Utf8) text.Utf8Lines = SplitLines(utf8);
    }
    text.Lines = SplitLines(ansi);
    if (text.Lossy && text.Lines.size() != text.Utf8Lines.size()) {
        // Every line has its own place either way; should a conversion ever
        // disagree, each line is converted by itself.
        text.Lines.clear();
        for (const std::string& line : text.Utf8Lines) text.Lines.push_back(Utf8ToAnsi(line));
    }
    return text;
}

std::vector<std::string> ReadLines(const std::wstring& path) { return ReadTextLines(path).Lines; }

namespace {
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
}

void WriteLines(const std::wstring& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteFileBytes(path, bytes);
}

void WriteUtf8Lines(const std::wstring& path, const std::vector<std::string>& lines, bool byteOrderMark)
{
    std::string bytes = byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteFileBytes(path, bytes);
}

namespace {
void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{

    // A read-only file is not to be changed, even though renaming over it
    // would succeed on some file systems.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        RaiseFileError("无法写入文件", path, ERROR_ACCESS_DENIED);

    std::wstring temporary = path + L".new";
    {
        THandleOwner file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.handle == INVALID_HANDLE_VALUE) RaiseFileError("无法创建文件", path, GetLastError());
        try {
            WriteAll(file.handle, bytes, path);
            if (!FlushFileBuffers(file.handle)) RaiseFileError("无法写入文件", path, GetLastError());
        } catch (...) {
            CloseHandle(file.handle);
            file.handle = INVALID_HANDLE_VALUE;
            DeleteFileW(temporary.c_str());
            throw;
        }
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        DeleteFileW(temporary.c_str());
        RaiseFileError("无法写入文件", path, code);
    }
}
}  // namespace

long long FileSizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool AppendLine(const std::wstring& path, const std::string& line, long long expectedSize)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_READONLY) RaiseFileError("无法写入文件", path, ERROR_ACCESS_DENIED);
    THandleOwner file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return false;
        RaiseFileError("无法写入文件", path, code);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.handle, &size) || size.QuadPart != expectedSize) return false;
    std::string bytes = line + "\r\n";
    if (size.QuadPart > 0) {
        LARGE_INTEGER last{};
        last.QuadPart = size.QuadPart - 1;
        char end = 0;
        DWORD read = 0;
        if (!SetFilePointerEx(file.handle, last, nullptr, FILE_BEGIN) || !ReadFile(file.handle, &end, 1, &read, nullptr) ||
            read != 1)
            RaiseFileError("无法读取文件", path, GetLastError());
        if (end != '\n' && end != '\r') bytes = "\r\n" + bytes;
    }
    if (!SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN)) RaiseFileError("无法写入文件", path, GetLastError());
    try {
        WriteAll(file.handle, bytes, path);
        if (!FlushFileBuffers(file.handle)) RaiseFileError("无法写入文件", path, GetLastError());
    } catch (...) {
        SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file.handle);
        throw;
    }
    return true;
}

std::wstring CategoryFilePath() { return ProgramFilePath(CATEGORY_FILE_NAME); }

}  // namespace ledger
