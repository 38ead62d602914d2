// Prepared statements, engine errors and a little SQL text scanning.
#include "framework/data/sqlite_statement.h"

#include <cctype>
#include <cstring>

namespace db {

const char* const ENGINE_TEXT_LEAD = "\n数据库引擎信息: ";

namespace {

// What a common engine failure means to the user and what to do about it.
const char* AdviceFor(int rc, const char* engineText)
{
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "数据库正被另一个程序使用,暂时无法读写。请关闭其他正在使用数据库文件 (data.mdb) 的程序后再试。";
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return "数据库文件是只读的,无法保存更改。请去掉数据库文件 (data.mdb) 的只读属性,并确认程序所在的文件夹"
               "可以写入,然后再试。";
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return "数据库文件不是账本数据库,或已经损坏,无法读取。请从备份恢复数据库文件 (data.mdb)。";
    case SQLITE_FULL:
        return "磁盘已满,无法写入数据库。请腾出磁盘空间后再试。";
    case SQLITE_IOERR:
        return "读写数据库文件时发生磁盘错误。请检查磁盘和文件是否可以访问后再试。";
    case SQLITE_CANTOPEN:
        return "无法打开数据库文件。请确认数据库文件 (data.mdb) 存在、可以访问,且没有被其他程序独占。";
    case SQLITE_ERROR:
        if (std::strncmp(engineText, "no such table", 13) == 0)
            return "数据库中没有账本所需的表,这个文件不是本程序的账本数据库。请从备份恢复数据库文件 (data.mdb)。";
        if (std::strncmp(engineText, "no such column", 14) == 0 || std::strstr(engineText, "has no column named"))
            return "数据库的表缺少账本所需的列,这个文件不是本程序的账本数据库。请从备份恢复数据库文件 (data.mdb)。";
        return nullptr;
    default:
        return nullptr;
    }
}

}  // namespace

std::string EngineErrorText(sqlite3* db, int rc)
{
    const char* text = nullptr;
    if (db != nullptr && (sqlite3_errcode(db) & 0xFF) == (rc & 0xFF)) text = sqlite3_errmsg(db);
    if (text == nullptr || *text == '\0') text = sqlite3_errstr(rc);
    // The engine's own words stay after the advice, for whoever helps the user.
    const char* advice = AdviceFor(rc, text);
    return advice ? std::string(advice) + ENGINE_TEXT_LEAD + Utf8ToAnsi(text) : Utf8ToAnsi(text);
}

void RaiseEngineError(sqlite3* db, int rc)
{
    throw EDatabaseError(EngineErrorText(db, rc));
}

TStatement& TStatement::operator=(TStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(FStmt);
        FStmt = other.FStmt;
        FDb = other.FDb;
        other.FStmt = nullptr;
    }
    return *this;
}

namespace {

// True when `tail` holds nothing but blanks, semicolons and comments.
bool OnlyTrailingNoise(sqlite3* db, const char* tail)
{
    while (*tail != '\0') {
        if (std::isspace(static_cast<unsigned char>(*tail)) || *tail == ';') {
            ++tail;
            continue;
        }
        // Something else: let the engine tell whether it is a statement.
        sqlite3_stmt* next = nullptr;
        const char* rest = nullptr;
        int rc = sqlite3_prepare_v2(db, tail, -1, &next, &rest);
        bool noise = rc == SQLITE_OK && next == nullptr;
        sqlite3_finalize(next);
        return noise;
    }
    return true;
}

}  // namespace

void TStatement::Prepare(sqlite3* db, const std::string& sqlUtf8)
{
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    FDb = db;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sqlUtf8.c_str(), static_cast<int>(sqlUtf8.size()) + 1, &FStmt, &tail);
    if (rc != SQLITE_OK) RaiseEngineError(db, rc);
    if (FStmt == nullptr) throw EDatabaseError("Command text was not set for the command object.");
    if (tail != nullptr && !OnlyTrailingNoise(db, tail)) {
        sqlite3_finalize(FStmt);
        FStmt = nullptr;
        throw EDatabaseError("Characters found after end of SQL statement.");
    }
}

void TStatement::BindText(int index, const std::string* valueUtf8)
{
    int rc = valueUtf8 == nullptr ? sqlite3_bind_null(FStmt, index)
                                  : sqlite3_bind_text(FStmt, index, valueUtf8->data(),
                                                      static_cast<int>(valueUtf8->size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) RaiseEngineError(FDb, rc);
}

void TStatement::BindInt64(int index, sqlite3_int64 value)
{
    int rc = sqlite3_bind_int64(FStmt, index, value);
    if (rc != SQLITE_OK) RaiseEngineError(FDb, rc);
}

bool TStatement::Step()
{
    int rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    RaiseEngineError(FDb, rc);
}

std::string QuoteIdentifier(const std::string& nameUtf8)
{
    std::string quoted = "\"";
    for (char c : nameUtf8) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    quoted += '"';
    return quoted;
}

namespace {

// A rough tokenizer that knows just enough SQL to find the FROM clause of a
// plain select: quoted strings and identifiers, comments, parentheses and
// words. Bytes of 0x80 and above belong to words (UTF-8 identifiers).
struct TToken {
    enum Kind { End, Word, QuotedName, Literal, Symbol } kind = End;
    std::string text;  // the word, the unquoted name, or the symbol
    int depth = 0;     // parenthesis depth at the token
};

class TScanner {
public:
    explicit TScanner(const std::string& text) : FText(text) {}

    TToken Next()
    {
        SkipBlanksAndComments();
        TToken token;
        token.depth = FDepth;
        if (FPos >= FText.size()) return token;
        char c = FText[FPos];
        if (c == '\'') {
            token.kind = TToken::Literal;
            token.text = ReadQuoted('\'', '\'');
        } else if (c == '"' || c == '`') {
            token.kind = TToken::QuotedName;
            token.text = ReadQuoted(c, c);
        } else if (c == '[') {
            token.kind = TToken::QuotedName;
            token.text = ReadQuoted('[', ']');
        } else if (IsWordByte(c)) {
            token.kind = TToken::Word;
            while (FPos < FText.size() && IsWordByte(FText[FPos]))
                token.text += FText[FPos++];
        } else {
            token.kind = TToken::Symbol;
            token.text = std::string(1, c);
            ++FPos;
            if (c == '(')
                ++FDepth;
            else if (c == ')' && FDepth > 0)
                --FDepth;
        }
        return token;
    }

private:
    static bool IsWordByte(char c)
    {
        unsigned char u = static_cast<unsigned char>(c);
        return u >= 0x80 || std::isalnum(u) || c == '_' || c == '$';
    }

    void SkipBlanksAndComments()
    {
        while (FPos < FText.size()) {
            if (std::isspace(static_cast<unsigned char>(FText[FPos]))) {
                ++FPos;
            } else if (FText.compare(FPos, 2, "--") == 0) {
                while (FPos < FText.size() && FText[FPos] != '\n')
                    ++FPos;
            } else if (FText.compare(FPos, 2, "/*") == 0) {
                size_t end = FText.find("*/", FPos + 2);
                FPos = end == std::string::npos ? FText.size() : end + 2;
            } else {
                break;
            }
        }
    }

    std::string ReadQuoted(char open, char close)
    {
        std::string text;
        ++FPos;  // the opening quote
        while (FPos < FText.size()) {
            char c = FText[FPos++];
            if (c == close) {
                if (open == close && FPos < FText.size() && FText[FPos] == close) {
                    text += close;
                    ++FPos;
                    continue;
                }
                break;
            }
            text += c;
        }
        return text;
    }

    const std::string& FText;
    size_t FPos = 0;
    int FDepth = 0;
};

bool IsKeyword(const TToken& token, const char* keyword)
{
    if (token.kind != TToken::Word || token.text.size() != std::strlen(keyword)) return false;
    for (size_t i = 0; i < token.text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(token.text[i])) != keyword[i]) return false;
    return true;
}

}  // namespace

std::string SingleSourceTable(const std::string& selectUtf8)
{
    // Words that end the table's name: they can never be its alias.
    static const char* const NOT_ALIAS[] = {"where",   "order",     "group",  "limit", "having", "window",  "join",
                                            "natural", "inner",     "left",   "right", "full",   "cross",   "outer",
                                            "union",   "intersect", "except", "on",    "using",  "indexed", "not"};
    auto reserved = [](const TToken& token) {
        for (const char* word : NOT_ALIAS)
            if (IsKeyword(token, word)) return true;
        return false;
    };

    TScanner scanner(selectUtf8);
    TToken token = scanner.Next();
    if (!IsKeyword(token, "select")) return "";
    token = scanner.Next();
    if (IsKeyword(token, "distinct")) return "";  // a row of the result may stand for several of the table
    // Find FROM at the outer level.
    for (; token.kind != TToken::End; token = scanner.Next())
        if (token.depth == 0 && IsKeyword(token, "from")) break;
    if (token.kind == TToken::End) return "";
    TToken table = scanner.Next();
    if (table.kind != TToken::Word && table.kind != TToken::QuotedName) return "";
    // A dotted name (schema.table) is taken by its last part.
    TToken after = scanner.Next();
    if (after.kind == TToken::Symbol && after.text == ".") {
        table = scanner.Next();
        if (table.kind != TToken::Word && table.kind != TToken::QuotedName) return "";
        after = scanner.Next();
    }
    // An alias may follow.
    if (IsKeyword(after, "as")) {
        scanner.Next();
        after = scanner.Next();
    } else if ((after.kind == TToken::Word && !reserved(after)) || after.kind == TToken::QuotedName) {
        after = scanner.Next();
    }
    // Anything that brings in another table, or groups rows, or combines
    // selects, makes the rows of the result not rows of this table.
    if (after.kind == TToken::Symbol && after.text == ",") return "";
    for (; after.kind != TToken::End; after = scanner.Next()) {
        if (after.depth != 0) continue;
        for (const char* word : {"join", "natural", "cross", "union", "intersect", "except", "group"})
            if (IsKeyword(after, word)) return "";
    }
    return table.text;
}

}  // namespace db
