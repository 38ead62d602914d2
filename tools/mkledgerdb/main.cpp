// mkledgerdb <path>: makes an empty ledger database at <path>, with the
// ledger's table `data` and no rows. An existing file is never touched: the
// tool says so and succeeds, so the build can run it every time.
#include <cstdio>
#include <string>

#include "framework/data/ledger_schema.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkledgerdb <path of the database to make>\n");
        return 2;
    }
    std::string error;
    switch (ledger::CreateLedgerDatabase(argv[1], error)) {
    case ledger::TCreateLedgerResult::Created:
        std::printf("mkledgerdb: made an empty ledger at %s\n", argv[1]);
        return 0;
    case ledger::TCreateLedgerResult::AlreadyExists:
        std::printf("mkledgerdb: %s already exists; left as it is\n", argv[1]);
        return 0;
    case ledger::TCreateLedgerResult::Failed:
        break;
    }
    std::fprintf(stderr, "mkledgerdb: cannot make %s: %s\n", argv[1], error.c_str());
    return 1;
}
