// mdbimport: converts the ledger table of an Access-format (Jet 3 or Jet 4)
// file into a new ledger database of this program.
//
//   mdbimport <source.mdb> <new ledger> [<table> <7 column names>]
//   mdbimport --tables <source.mdb>
//
// Ravelbook runs it as its reader process when it converts data.mdb, so that
// a damaged file that makes the reading library crash or hang takes down this
// process only. It writes the new ledger whole or not at all, and prints the
// number of entries written ("rows=<n>") on success, the reason on failure
// (the last line of standard error, in the ANSI code page; the library may
// write its own remarks before it); exit code 0 on success, 1 on a
// failure it could tell, 2 on wrong arguments. Arguments are taken from the
// wide command line, so any path works.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/data/access_file.h"
#include "framework/data/access_ledger.h"

int main()
{
    // A crash ends this process quietly: no crash dialog waits for a user.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + argc);
    LocalFree(argv);
    try {
        if (args.size() == 3 && args[1] == L"--tables") {
            for (const std::string& name : jet::TableNames(args[2])) std::printf("%s\n", name.c_str());
            return 0;
        }
        if (args.size() != 3 && args.size() != 3 + 1 + ledger::LEDGER_COLUMN_COUNT) {
            std::fprintf(stderr, "usage: mdbimport <source.mdb> <new ledger> [<table> <7 column names>]\n"
                                 "       mdbimport --tables <source.mdb>\n");
            return 2;
        }
        ledger::TAccessLedgerSource from;
        if (args.size() > 3) {
            from.TableUtf8 = WideToUtf8(args[3]);
            for (int c = 0; c < ledger::LEDGER_COLUMN_COUNT; ++c) from.ColumnsUtf8[c] = WideToUtf8(args[4 + c]);
        }
        const int rows = ledger::ConvertAccessLedger(args[1], args[2], from);
        std::printf("rows=%d\n", rows);
        return 0;
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s\n", error.Message().c_str());
        return 1;
    }
}
