// The ledger to and from CSV files (see csv_transfer.h).
#include "app/csv_transfer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "app/entry_checks.h"
#include "framework/data/ledger_schema.h"
#include "framework/data/sqlite_statement.h"

namespace ledger {

// u8 literals stay UTF-8 whatever the narrow execution character set is.
#define CSV_U8(text) reinterpret_cast<const char*>(u8##text)

const char* const CSV_EXPORTED = "导出成功!";
const char* const CSV_IMPORT_FAILED = "导入失败:";
const char* const CSV_NOTHING_WRITTEN = "没有导入任何记录,账本没有改变。";

namespace {

const char* const BYTE_ORDER_MARK = "\xEF\xBB\xBF";
const char* const EXPENDITURE_UTF8 = CSV_U8("支出");
const char* const INCOME_UTF8 = CSV_U8("收入");

void AppendField(std::string& out, const char* value, size_t size)
{
    bool quote = false;
    for (size_t i = 0; i < size && !quote; ++i) {
        const char c = value[i];
        quote = c == ',' || c == '"' || c == '\r' || c == '\n';
    }
    if (!quote) {
        out.append(value, size);
        return;
    }
    out += '"';
    for (size_t i = 0; i < size; ++i) {
        out += value[i];
        if (value[i] == '"') out += '"';
    }
    out += '"';
}

[[noreturn]] void RaiseWriteError(const std::wstring& path, DWORD code)
{
    throw Exception("无法写入文件 \"" + WideToAnsi(path) + "\"(错误代码 " + IntToStr(code) + ")。");
}

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`: the file is either the old one or the whole new one.
void ReplaceFile(const std::wstring& path, const std::string& bytes)
{
    const std::wstring temporary = path + L".part";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) RaiseWriteError(path, GetLastError());
    size_t done = 0;
    DWORD code = 0;
    while (done < bytes.size() && code == 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 22));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            code = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        done += written;
    }
    if (code == 0 && !FlushFileBuffers(file)) code = GetLastError();
    CloseHandle(file);
    if (code == 0 && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = GetLastError();
    if (code != 0) {
        DeleteFileW(temporary.c_str());
        RaiseWriteError(path, code);
    }
}

// SQLite's NOCASE equality, which the name lookup uses: ASCII letters fold.
std::string FoldName(const std::string& utf8)
{
    std::string folded = utf8;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool AllEmpty(const std::vector<std::string>& fields)
{
    for (const std::string& field : fields)
        if (!field.empty()) return false;
    return true;
}

// The header names the seven columns (offset 1 to the six written) or the
// six without the key (offset 0).
int HeaderOffset(const TCsvRecord& header)
{
    const size_t n = header.Fields.size();
    if (n != LEDGER_COLUMN_COUNT && n != LEDGER_COLUMN_COUNT - 1) return -1;
    const int first = n == LEDGER_COLUMN_COUNT ? 0 : 1;
    for (size_t i = 0; i < n; ++i)
        if (Trim(header.Fields[i]) != LEDGER_COLUMNS_UTF8[first + i]) return -1;
    return n == LEDGER_COLUMN_COUNT ? 1 : 0;
}

std::string HeaderText()
{
    std::string names;
    for (int i = 0; i < LEDGER_COLUMN_COUNT; ++i) names += (i ? "," : "") + std::string(COLUMN_NAMES[i]);
    return names;
}

bool IsAscii(const std::string& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The bytes are UTF-8 whose every character the program's code page (GBK)
// can hold.
bool IsUtf8ForAnsi(const char* bytes, size_t size)
{
    // Piece by piece, each ending on a character's first byte, through one
    // small buffer: a large file needs no second copy of itself.
    constexpr size_t PIECE = 1 << 16;
    std::wstring wide(PIECE, L'\0');
    for (size_t at = 0; at < size;) {
        size_t end = std::min(size, at + PIECE);
        while (end < size && end > at && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) --end;
        if (end == at) return false;  // nothing but continuation bytes: no UTF-8
        const int n = static_cast<int>(end - at);
        const int wideSize = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes + at, n, wide.data(), n);
        if (wideSize <= 0) return false;
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, nullptr, 0, nullptr, &usedDefault) <= 0 ||
            usedDefault)
            return false;
        at = end;
    }
    return true;
}

// The file's text in UTF-8, and how its bytes were taken: as the category
// file's are (a byte-order mark, else GBK, else UTF-8). Bytes of UTF-8 text
// can pair up into valid GBK; a file with the header cannot, since the name
// "支出或收入" is five characters, fifteen bytes of UTF-8, which leave one
// byte to pair with the comma after it, and a comma ends no GBK character.
// `converted` receives the text when it had to be converted (GBK); for
// UTF-8 it stays empty and the text is `bytes` from `start` on.
TTextEncoding DecodeCsv(const std::string& bytes, std::string& converted, size_t& start)
{
    start = 0;
    if (bytes.find('\0') != std::string::npos) return TTextEncoding::Unreadable;
    if (bytes.compare(0, 3, BYTE_ORDER_MARK) == 0) {
        start = 3;
        return IsUtf8ForAnsi(bytes.data() + 3, bytes.size() - 3) ? TTextEncoding::Utf8 : TTextEncoding::Unreadable;
    }
    if (IsAscii(bytes)) return TTextEncoding::Ansi;
    TDecodedText decoded = DecodeText(bytes);
    if (decoded.Encoding == TTextEncoding::Ansi) converted = AnsiToUtf8(decoded.Text);
    return decoded.Encoding;  // UTF-8: checked as text GBK can hold, kept as it is
}

std::string Shown(const std::string& utf8) { return "\"" + Utf8ToAnsi(utf8) + "\""; }

}  // namespace

ECsvError::ECsvError(int line, const std::string& reason)
    : Exception(line > 0 ? "第 " + IntToStr(line) + " 行:" + reason : reason), FLine(line)
{
}

std::string CsvField(const std::string& value)
{
    std::string out;
    AppendField(out, value.data(), value.size());
    return out;
}

int ExportCsv(sqlite3* db, const std::string& selectSqlAnsi, const std::wstring& path)
{
    db::TStatement select;
    select.Prepare(db, AnsiToUtf8(selectSqlAnsi));
    if (!sqlite3_stmt_readonly(select.Handle()) || sqlite3_column_count(select.Handle()) != LEDGER_COLUMN_COUNT)
        throw Exception("导出的列表不是账本的七列,没有导出。");

    std::string out = BYTE_ORDER_MARK;
    for (int c = 0; c < LEDGER_COLUMN_COUNT; ++c) {
        if (c) out += ',';
        AppendField(out, LEDGER_COLUMNS_UTF8[c], std::strlen(LEDGER_COLUMNS_UTF8[c]));
    }
    out += "\r\n";
    int rows = 0;
    while (select.Step()) {
        for (int c = 0; c < LEDGER_COLUMN_COUNT; ++c) {
            if (c) out += ',';
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(select.Handle(), c));
            if (text) AppendField(out, text, static_cast<size_t>(sqlite3_column_bytes(select.Handle(), c)));
        }
        out += "\r\n";
        ++rows;
    }
    ReplaceFile(path, out);
    return rows;
}

namespace {

// Splits `text` into records as ParseCsv says and hands each to `visit`,
// which may take its fields: the record is cleared and used again for the
// next one, so a long file costs no allocation per record.
template <class TVisit>
void ForEachCsvRecord(const char* text, size_t n, TVisit&& visit)
{
    TCsvRecord record;
    size_t i = 0;
    int line = 1;
    auto endLine = [&] {
        i += text[i] == '\r' && i + 1 < n && text[i + 1] == '\n' ? 2 : 1;
        ++line;
    };
    while (i < n) {
        if (text[i] == '\r' || text[i] == '\n') {  // an empty line
            endLine();
            continue;
        }
        record.Fields.clear();
        record.Line = line;
        for (;;) {
            std::string field;
            if (i < n && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= n) throw ECsvError(record.Line, "引号没有配对(缺少结束的引号)");
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && !(i + 1 < n && text[i + 1] == '\n'))) ++line;
                    // Up to the next quote or line break at once.
                    size_t end = i + 1;
                    while (end < n && text[end] != '"' && text[end] != '\r' && text[end] != '\n') ++end;
                    field.append(text + i, end - i);
                    i = end;
                }
                if (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                    throw ECsvError(line, "结束的引号后面还有字符(字段中的引号应写成两个引号)");
            } else {
                size_t end = i;
                while (end < n && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
                field.assign(text + i, end - i);
                i = end;
            }
            record.Fields.push_back(std::move(field));
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < n) endLine();
        visit(record);
    }
}

}  // namespace

std::vector<TCsvRecord> ParseCsv(const std::string& text)
{
    std::vector<TCsvRecord> records;
    ForEachCsvRecord(text.data(), text.size(), [&](TCsvRecord& record) { records.push_back(record); });
    return records;
}

TCsvImport CheckCsvImport(const std::string& bytes, sqlite3* db)
{
    TCsvImport result;
    std::string converted;
    size_t start = 0;
    result.Encoding = DecodeCsv(bytes, converted, start);
    if (result.Encoding == TTextEncoding::Unreadable)
        throw ECsvError(0, "文件不是 UTF-8 或 GBK 编码的文本,无法读取");
    const std::string& utf8 = converted.empty() ? bytes : converted;

    // Every name the ledger has, and then every name of the file, with the
    // line it came from (0: the ledger).
    std::unordered_map<std::string, int> names;
    {
        db::TStatement select;
        select.Prepare(db, CSV_U8("select 项目名称 from data"));
        while (select.Step()) {
            const char* name = reinterpret_cast<const char*>(sqlite3_column_text(select.Handle(), 0));
            if (name) names.emplace(FoldName(name), 0);
        }
    }

    int offset = -1;
    size_t fieldCount = 0;
    ForEachCsvRecord(utf8.data() + start, utf8.size() - start, [&](TCsvRecord& record) {
        if (offset < 0) {
            offset = HeaderOffset(record);
            if (offset < 0) throw ECsvError(record.Line, "第一行应是列名 " + HeaderText());
            fieldCount = record.Fields.size();
            return;
        }
        if (AllEmpty(record.Fields)) return;  // a blank row a spreadsheet left
        if (record.Fields.size() != fieldCount)
            throw ECsvError(record.Line, "有 " + IntToStr(static_cast<long long>(record.Fields.size())) +
                                             " 个字段,应有 " + IntToStr(static_cast<long long>(fieldCount)) + " 个");
        std::vector<std::string>& f = record.Fields;
        TImportEntry entry{std::move(f[offset]),     std::move(f[offset + 1]), std::move(f[offset + 2]),
                           std::move(f[offset + 3]), std::move(f[offset + 4]), std::move(f[offset + 5]),
                           record.Line};
        switch (CheckNewEntry(entry.Name, entry.Category, entry.Direction, entry.Amount)) {
        case TEntryFault::NameEmpty:
            throw ECsvError(record.Line, "项目名称是空的");
        case TEntryFault::CategoryEmpty:
            throw ECsvError(record.Line, "项目类别是空的");
        case TEntryFault::AmountNotWhole:
            throw ECsvError(record.Line, AmountRefusedText(Utf8ToAnsi(entry.Amount)));
        case TEntryFault::DirectionPrompt:
        case TEntryFault::None:
            break;
        }
        const std::string direction = Trim(entry.Direction);
        if (direction != EXPENDITURE_UTF8 && direction != INCOME_UTF8)
            throw ECsvError(record.Line, "支出或收入是 " + Shown(entry.Direction) + ",只能是 \"支出\" 或 \"收入\"");
        const auto [at, added] = names.emplace(FoldName(entry.Name), record.Line);
        if (!added)
            throw ECsvError(record.Line, "项目名称 " + Shown(entry.Name) +
                                             (at->second == 0 ? " 在账本中已经有了"
                                                              : " 与第 " + IntToStr(at->second) + " 行的相同") +
                                             ",项目名称不能重复");
        result.Entries.push_back(std::move(entry));
    });
    if (offset < 0) throw ECsvError(0, "文件是空的,第一行应是列名 " + HeaderText());
    return result;
}

TCsvImport ReadCsvImport(const std::wstring& path, sqlite3* db) { return CheckCsvImport(ReadFileBytes(path), db); }

void ImportEntries(sqlite3* db, const std::vector<TImportEntry>& entries)
{
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) db::RaiseEngineError(db, rc);
    try {
        db::TStatement insert;
        insert.Prepare(db, CSV_U8("insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) "
                                  "values (?,?,?,?,?,?)"));
        for (const TImportEntry& e : entries) {
            const std::string* values[] = {&e.Name, &e.Category, &e.Date, &e.Direction, &e.Amount, &e.Remark};
            // The texts outlive the step, so the engine need not copy them.
            for (int c = 0; c < 6; ++c)
                sqlite3_bind_text(insert.Handle(), c + 1, values[c]->data(), static_cast<int>(values[c]->size()),
                                  SQLITE_STATIC);
            insert.Step();
            sqlite3_reset(insert.Handle());
        }
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) db::RaiseEngineError(db, rc);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace ledger
