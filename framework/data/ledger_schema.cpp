// The ledger's table layout and the creation of an empty ledger database.
#include "framework/data/ledger_schema.h"

#include "sqlite3.h"

namespace ledger {

// u8 literals keep these UTF-8 whatever the narrow execution character set
// of the build is (the program's own narrow literals are GBK).
#define LEDGER_U8(text) reinterpret_cast<const char*>(u8##text)

const char* const LEDGER_TABLE_UTF8 = LEDGER_U8("data");

const char* const LEDGER_COLUMNS_UTF8[LEDGER_COLUMN_COUNT] = {
    LEDGER_U8("编号"),       LEDGER_U8("项目名称"), LEDGER_U8("项目类别"), LEDGER_U8("编辑时间"),
    LEDGER_U8("支出或收入"), LEDGER_U8("金额"),     LEDGER_U8("项目备注"),
};

const char* const LEDGER_CREATE_TABLE_SQL_UTF8 = LEDGER_U8(
    "CREATE TABLE data ("
    "编号 INTEGER PRIMARY KEY AUTOINCREMENT, "
    "项目名称 TEXT COLLATE NOCASE, "
    "项目类别 TEXT COLLATE NOCASE, "
    "编辑时间 TEXT COLLATE NOCASE, "
    "支出或收入 TEXT COLLATE NOCASE, "
    "金额 TEXT COLLATE NOCASE, "
    "项目备注 TEXT COLLATE NOCASE)");

namespace {

bool PathExists(sqlite3_vfs* vfs, const char* utf8Path, std::string& errorUtf8)
{
    int exists = 0;
    if (vfs->xAccess(vfs, utf8Path, SQLITE_ACCESS_EXISTS, &exists) != SQLITE_OK) {
        errorUtf8 = "cannot tell whether the file exists";
        return true;  // never risk touching something we could not look at
    }
    return exists != 0;
}

}  // namespace

TCreateLedgerResult CreateLedgerDatabase(const char* utf8Path, std::string& errorUtf8)
{
    errorUtf8.clear();
    if (utf8Path == nullptr || *utf8Path == '\0') {
        errorUtf8 = "no file name given";
        return TCreateLedgerResult::Failed;
    }
    if (sqlite3_initialize() != SQLITE_OK) {
        errorUtf8 = "the database engine did not start";
        return TCreateLedgerResult::Failed;
    }
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (vfs == nullptr) {
        errorUtf8 = "no file system layer for the database engine";
        return TCreateLedgerResult::Failed;
    }
    if (PathExists(vfs, utf8Path, errorUtf8))
        return errorUtf8.empty() ? TCreateLedgerResult::AlreadyExists : TCreateLedgerResult::Failed;

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(utf8Path, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        char* message = nullptr;
        std::string sql = std::string("BEGIN; ") + LEDGER_CREATE_TABLE_SQL_UTF8 + "; COMMIT;";
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            errorUtf8 = message ? message : sqlite3_errstr(rc);
            sqlite3_free(message);
        }
    } else {
        errorUtf8 = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    }
    int closeRc = sqlite3_close(db);
    if (rc == SQLITE_OK && closeRc != SQLITE_OK) {
        rc = closeRc;
        errorUtf8 = sqlite3_errstr(closeRc);
    }
    if (rc != SQLITE_OK) {
        // The file did not exist before we came, so whatever is there now is ours.
        vfs->xDelete(vfs, utf8Path, 0);
        return TCreateLedgerResult::Failed;
    }
    return TCreateLedgerResult::Created;
}

}  // namespace ledger
