// Reading Access-format (Jet 3 and Jet 4) database files, through the
// reading library of MDB Tools (third_party/mdbtools).
//
// The library trusts the file it reads: a damaged file can make it crash or
// run on without end. The program therefore reads a file the user gives it
// only in a reader process of its own (see app/access_import.h); the
// functions here are what that process, and the tests, run.
#pragma once

#include <string>
#include <vector>

#include "framework/data/db_error.h"

namespace jet {

// What a file's header says it is: the first bytes of a Jet database are
// 00 01 00 00 "Standard Jet DB", or "Standard ACE DB" for the later format,
// followed by the engine version at offset 0x14.
enum class TFileKind { NotAccess, Jet3, Jet4, Ace };
TFileKind DetectFileKind(const std::wstring& path);
TFileKind DetectFileKind(const std::string& firstBytes);

// A column's kind, as far as a reader of its text needs to know.
enum class TColumnKind { Text, Number, Date, Boolean, Binary };

struct TColumn {
    std::string NameUtf8;
    TColumnKind Kind = TColumnKind::Text;
};

// One table, read whole. Values are UTF-8 text as the library formats them:
// numbers in decimal, dates as "YYYY-MM-DD HH:MM:SS", booleans "1" or "0";
// an empty value stands for NULL; binary (OLE) values are left empty.
struct TTable {
    std::vector<TColumn> Columns;
    std::vector<std::vector<std::string>> Rows;
    // The number of rows the table's definition records.
    long long DeclaredRowCount = 0;
    int ColumnIndex(const std::string& nameUtf8) const;  // -1 when none has that name
};

// The names of the file's user tables (system tables left out), UTF-8.
// Throws EDatabaseError when the file cannot be opened as an Access database.
std::vector<std::string> TableNames(const std::wstring& path);

// Every row of table `tableUtf8`, memo values in full. Throws EDatabaseError
// (in the program's language) when the file cannot be opened or has no such
// table.
TTable ReadTable(const std::wstring& path, const std::string& tableUtf8);

}  // namespace jet
