// Reading Access-format files (see access_file.h).
#include "framework/data/access_file.h"

#include <windows.h>

#include <algorithm>
#include <memory>

extern "C" {
#include "mdbtools.h"
}

namespace jet {

namespace {

// Memo values longer than this are cut: 256 KiB of UTF-8 holds the longest
// memo a form takes (65,535 characters).
constexpr size_t BIND_SIZE = 256u << 10;

const char JET_SIGNATURE[] = "Standard Jet DB";
const char ACE_SIGNATURE[] = "Standard ACE DB";

struct THandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using THandle = std::unique_ptr<MdbHandle, THandleCloser>;

struct TTableCloser {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TTableDef = std::unique_ptr<MdbTableDef, TTableCloser>;

[[noreturn]] void RaiseUnreadable(const std::wstring& path)
{
    throw EDatabaseError("无法读取 Access 数据库文件 '" + WideToAnsi(path) + "':文件不是 Access 格式,或已经损坏。");
}

THandle Open(const std::wstring& path)
{
    if (DetectFileKind(path) == TFileKind::NotAccess) RaiseUnreadable(path);
    THandle mdb(mdb_open(WideToUtf8(path).c_str(), MDB_NOFLAGS));
    if (!mdb) RaiseUnreadable(path);
    mdb_set_bind_size(mdb.get(), BIND_SIZE);
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb.get(), "%Y-%m-%d");
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) RaiseUnreadable(path);
    return mdb;
}

TColumnKind KindOf(int type)
{
    switch (type) {
    case MDB_BOOL: return TColumnKind::Boolean;
    case MDB_DATETIME: return TColumnKind::Date;
    case MDB_OLE:
    case MDB_BINARY: return TColumnKind::Binary;
    case MDB_TEXT:
    case MDB_MEMO: return TColumnKind::Text;
    default: return TColumnKind::Number;
    }
}

}  // namespace

TFileKind DetectFileKind(const std::string& bytes)
{
    if (bytes.size() < 0x15 || bytes.compare(0, 4, std::string("\x00\x01\x00\x00", 4)) != 0) return TFileKind::NotAccess;
    if (bytes.compare(4, sizeof ACE_SIGNATURE - 1, ACE_SIGNATURE) == 0) return TFileKind::Ace;
    if (bytes.compare(4, sizeof JET_SIGNATURE - 1, JET_SIGNATURE) != 0) return TFileKind::NotAccess;
    switch (static_cast<unsigned char>(bytes[0x14])) {
    case MDB_VER_JET3: return TFileKind::Jet3;
    case MDB_VER_JET4: return TFileKind::Jet4;
    default: return TFileKind::Ace;
    }
}

TFileKind DetectFileKind(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TFileKind::NotAccess;
    char header[0x20] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    return ok ? DetectFileKind(std::string(header, read)) : TFileKind::NotAccess;
}

int TTable::ColumnIndex(const std::string& nameUtf8) const
{
    for (size_t i = 0; i < Columns.size(); ++i)
        if (Columns[i].NameUtf8 == nameUtf8) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> TableNames(const std::wstring& path)
{
    THandle mdb = Open(path);
    std::vector<std::string> names;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry)) names.push_back(entry->object_name);
    }
    return names;
}

TTable ReadTable(const std::wstring& path, const std::string& tableUtf8)
{
    THandle mdb = Open(path);
    std::string name = tableUtf8;
    TTableDef table(mdb_read_table_by_name(mdb.get(), name.data(), MDB_TABLE));
    if (!table)
        throw EDatabaseError("Access 数据库文件 '" + WideToAnsi(path) + "' 中没有表 " + Utf8ToAnsi(tableUtf8) + "。");
    if (!mdb_read_columns(table.get())) RaiseUnreadable(path);
    mdb_rewind_table(table.get());

    TTable result;
    result.DeclaredRowCount = table->num_rows;
    const unsigned count = table->num_cols;
    std::vector<std::unique_ptr<char[]>> values(count);
    std::vector<int> lengths(count, 0);
    for (unsigned i = 0; i < count; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        result.Columns.push_back({column->name, KindOf(column->col_type)});
        values[i].reset(new char[BIND_SIZE]);
        values[i][0] = '\0';
        mdb_bind_column(table.get(), static_cast<int>(i) + 1, values[i].get(), &lengths[i]);
    }
    while (mdb_fetch_row(table.get())) {
        std::vector<std::string> row(count);
        for (unsigned i = 0; i < count; ++i)
            if (result.Columns[i].Kind != TColumnKind::Binary && lengths[i] > 0)
                row[i].assign(values[i].get(), std::min<size_t>(static_cast<size_t>(lengths[i]), BIND_SIZE - 1));
        result.Rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace jet
