// The ledger's files and the SQL text it sends: the connection string for
// data.mdb, the four statements built from what the user typed and the
// category file XMLB.txt (the backup copy is in backup.h).
//
// Every file lives in the program folder (ProgramFolderW) under a bare name.
// Texts are 8-bit text in the ANSI code page (GBK), as the windows hold them.
#pragma once

#include <string>
#include <vector>

#include "framework/sysutils.h"

namespace ledger {

extern const wchar_t* const DATABASE_FILE_NAME;  // L"data.mdb"
extern const wchar_t* const CATEGORY_FILE_NAME;  // L"XMLB.txt"

// The program folder followed by a bare file name.
std::wstring ProgramFilePath(const std::wstring& bareName);

// ---- connection ----------------------------------------------------------------
// The connection string is three pieces joined: the provider and
// "Data Source=", the folder with its trailing separator, and
// "data.mdb;Persist Security Info=False". A folder holding ";" is put in
// double quotes so that the file name stays one value.
std::wstring BuildConnectionString(const std::wstring& folderWithSeparator);
// The connection string for data.mdb in the program folder.
std::wstring LedgerConnectionString();

// ---- statements -----------------------------------------------------------------
// The seven columns of table `data`, in order.
constexpr int COLUMN_COUNT = 7;
extern const char* const COLUMN_NAMES[COLUMN_COUNT];
bool IsLedgerColumn(const std::string& name);  // exact match with a column name

// The search was asked for on a column the table does not have.
class ESearchColumnError : public Exception {
public:
    ESearchColumnError();
};

// A text literal: the value in single quotes, each single quote inside
// doubled, so that no value can end the literal early.
std::string QuoteText(const std::string& value);

// select * from data order by 编号 asc
std::string SelectAllSql();
// Select * from data where <column> like '%<keyword>%'. "%" and "_" in the
// keyword stay wildcards. Throws ESearchColumnError when `column` is not one
// of COLUMN_NAMES; nothing is built then.
std::string SearchSql(const std::string& column, const std::string& keyword);
// Select 项目名称 from data where 项目名称='<name>'
std::string NameLookupSql(const std::string& name);
// The names the ledger counts as `name`: equal once blanks around them are
// trimmed, ignoring the case of Latin letters; the entry `exceptId` (编号)
// left out when it is not negative (the entry being edited keeps its name).
std::string NameInUseSql(const std::string& name, long long exceptId = -1);
// Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注)
// values ('<name>','<category>','<date>','<direction>','<amount>','<remark>')
std::string InsertSql(const std::string& name, const std::string& category, const std::string& date,
                      const std::string& direction, const std::string& amount, const std::string& remark);

// ---- amounts ---------------------------------------------------------------------
// An amount as the ledger stores and adds it up: the text, trimmed, is a
// signed 32-bit whole number written in decimal digits, an optional sign in
// front ("$10" or "0x10" are no amounts here). True and the value when it is.
bool TryParseAmount(const std::string& text, int& value);
// The trimmed text is decimal digits (with an optional sign) but outside the
// range of a signed 32-bit number.
bool AmountTooLarge(const std::string& text);
// The message refusing an amount that is not such a number, naming the field
// and the value as typed, and saying when it is only too large.
std::string AmountRefusedText(const std::string& amount);

// ---- XMLB.txt ------------------------------------------------------------------------
// How the bytes of a text file were taken.
enum class TTextEncoding {
    Ansi,        // the program's 8-bit code page (GBK), taken as they stand
    Utf8,        // UTF-8, with or without a byte-order mark, converted to GBK
    Unreadable,  // neither cleanly: the lines hold the bytes as they stand
};

struct TTextLines {
    std::vector<std::string> Lines;  // 8-bit text (GBK) when the file was read cleanly
    TTextEncoding Encoding = TTextEncoding::Ansi;
    bool Clean() const { return Encoding != TTextEncoding::Unreadable; }
    // A UTF-8 file: its lines as they stand in the file, whether it starts
    // with the byte-order mark, and whether some character has no place in
    // GBK (Lines then shows it as "?", while Utf8Lines keeps it).
    std::vector<std::string> Utf8Lines;
    bool ByteOrderMark = false;
    bool Lossy = false;
};

// The bytes of a text file as the program's 8-bit text (GBK), taken as
// ReadTextLines below says: GBK as they stand, UTF-8 (with or without a
// byte-order mark) converted, anything else Unreadable with the bytes kept.
struct TDecodedText {
    std::string Text;
    TTextEncoding Encoding = TTextEncoding::Ansi;
};
TDecodedText DecodeText(const std::string& bytes);
// The whole content of a file. Throws Exception naming the file when it
// cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// Reads a text file whole as lines: a line ends at CR LF, LF or CR; nothing is
// trimmed and empty lines are kept; a last line without an ending counts.
// The bytes are GBK when they are valid GBK text (every character converts
// there and back unchanged); a file starting with the UTF-8 byte-order mark,
// or one that is not GBK but valid UTF-8 whose every character GBK can hold,
// is UTF-8 and comes back converted to GBK. Anything else, and any file
// holding a zero byte, is Unreadable. Valid UTF-8 with characters GBK
// lacks is UTF-8 too, Lossy. Throws Exception naming the file when
// it cannot be read.
TTextLines ReadTextLines(const std::wstring& path);
// ReadTextLines' lines alone.
std::vector<std::string> ReadLines(const std::wstring& path);
// Writes the lines, each followed by CR LF, the last one too, replacing the
// file whole: the new text goes to a temporary file first, so the old file
// stays as it was if writing fails. Throws Exception naming the file.
void WriteLines(const std::wstring& path, const std::vector<std::string>& lines);
// The same for lines of UTF-8 text, written as UTF-8 (after the byte-order
// mark when `byteOrderMark`).
void WriteUtf8Lines(const std::wstring& path, const std::vector<std::string>& lines, bool byteOrderMark);

// Adds `line` and its CR LF at the end of the file without writing again
// what is there, when the file is still `expectedSize` bytes long (its size
// when last read or written); a file whose last line has no line break gets
// CR LF first. False, with nothing changed, when the file is missing or has
// another size: the caller then writes it whole. A read-only file, or one
// that cannot be opened, throws Exception naming the file, as WriteLines
// does; a write that fails part-way cuts the file back to its old length.
bool AppendLine(const std::wstring& path, const std::string& line, long long expectedSize);
// A file's size in bytes; -1 when there is no such file.
long long FileSizeOf(const std::wstring& path);

std::wstring CategoryFilePath();  // XMLB.txt in the program folder

}  // namespace ledger
