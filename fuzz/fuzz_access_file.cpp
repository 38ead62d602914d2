// Fuzzes the Access reading library (third_party/mdbtools) as the reader
// process drives it: open the bytes as a database, read the catalogue, and
// read every user table's columns and rows, memo values in full, the way
// framework/data/access_file.cpp does. A damaged file may be refused at any
// step, never crash, overrun or loop. Run it with -close_fd_mask=2: the
// library's remarks on damaged pages would fill the log.
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" {
#include "mdbtools.h"
}

namespace {

constexpr int BIND_SIZE = 256 << 10;  // as the program binds
// Rows read per table: a damaged page chain can make the library go round
// for ever (the reader process has its time limit for that); the fuzzer
// stops there and looks for faults, not for slow tables.
constexpr int MAX_ROWS = 20000;

void ReadTable(MdbHandle* mdb, MdbCatalogEntry* entry)
{
    MdbTableDef* table = mdb_read_table(entry);
    if (!table) return;
    if (mdb_read_columns(table)) {
        mdb_rewind_table(table);
        const unsigned columns = table->num_cols;
        std::vector<std::vector<char>> values(columns, std::vector<char>(BIND_SIZE));
        std::vector<int> lengths(columns);
        for (unsigned i = 0; i < columns; ++i) mdb_bind_column(table, static_cast<int>(i) + 1, values[i].data(), &lengths[i]);
        for (int rows = 0; rows < MAX_ROWS && mdb_fetch_row(table); ++rows)
            for (unsigned i = 0; i < columns; ++i)
                if (lengths[i] > BIND_SIZE) __builtin_trap();  // a value longer than its buffer
    }
    mdb_free_tabledef(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    std::vector<std::uint8_t> copy(data, data + size);
    MdbHandle* mdb = mdb_open_buffer(copy.data(), copy.size(), MDB_NOFLAGS);
    if (!mdb) return 0;
    mdb_set_bind_size(mdb, BIND_SIZE);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d");
    if (mdb_read_catalog(mdb, MDB_TABLE)) {
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry)) ReadTable(mdb, entry);
        }
    }
    mdb_close(mdb);
    return 0;
}
