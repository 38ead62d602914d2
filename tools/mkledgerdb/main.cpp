// mkledgerdb [--sample] <path>: makes an empty ledger database at <path>,
// with the ledger's table `data` and no rows (with --sample, a few entries of
// a household's month, for pictures of the program). An existing file is
// never touched: the tool says so and succeeds, so the build can run it
// every time.
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/data/ledger_schema.h"

namespace {

// A few entries of a household's month, as a user would keep them.
bool AddSampleEntries(const char* path, std::string& error) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    const char* sql =
        "insert into data (项目名称, 项目类别, 编辑时间, 支出或收入, 金额, 项目备注) values "
        "('十二月工资', '工资', '2026/12/1', '收入', '6500', '税后'),"
        "('房租', '住房', '2026/12/2', '支出', '1800', '按月交'),"
        "('菜市场', '日常', '2026/12/3', '支出', '86', '蔬菜和鸡蛋'),"
        "('电费', '住房', '2026/12/5', '支出', '132', ''),"
        "('公交卡充值', '交通', '2026/12/6', '支出', '100', ''),"
        "('稿费', '其他', '2026/12/8', '收入', '800', '杂志约稿');";
    char* message = nullptr;
    if (ok && sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        ok = false;
        error = message ? message : "insert failed";
    } else if (!ok) {
        error = db ? sqlite3_errmsg(db) : "cannot open";
    }
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const bool sample = argc == 3 && std::strcmp(argv[1], "--sample") == 0;
    if (argc != 2 && !sample) {
        std::fprintf(stderr, "usage: mkledgerdb [--sample] <path of the database to make>\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    std::string error;
    switch (ledger::CreateLedgerDatabase(path, error)) {
    case ledger::TCreateLedgerResult::Created:
        if (sample && !AddSampleEntries(path, error)) break;
        std::printf("mkledgerdb: made %s ledger at %s\n", sample ? "a sample" : "an empty", path);
        return 0;
    case ledger::TCreateLedgerResult::AlreadyExists:
        std::printf("mkledgerdb: %s already exists; left as it is\n", path);
        return 0;
    case ledger::TCreateLedgerResult::Failed:
        break;
    }
    std::fprintf(stderr, "mkledgerdb: cannot make %s: %s\n", path, error.c_str());
    return 1;
}
