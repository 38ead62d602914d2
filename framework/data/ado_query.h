// A query on the ledger's database with a static cursor.
//
// Opening a query runs its select and reads the whole result, so the record
// count is known at once and the cursor can move freely. A result of whole
// rows of one table with an integer key (the ledger's list and its searches)
// is kept as the key of every row and the values of a small window of rows,
// fetched by key as they are read (keyed_rows.h): it costs a few bytes a row
// however long it is. Any other result is held whole. The current row can be
// edited (Edit, assign fields from text, Post or Cancel) and deleted; both go
// to the database at once, addressed by the row's key. A query can also run
// its SQL text as a statement (ExecSQL) instead of opening it.
//
// All text crossing this interface (SQL, field names, values) is 8-bit text
// in the ANSI code page; the database holds UTF-8, and the query converts at
// this boundary.
//
// Cursor rules: after Open the first row is current and Bof is true; Eof is
// true at once when the result is empty. Next on the last row sets Eof and
// stays on it; Prior on the first row sets Bof. Any move while the current
// row is in edit state first posts the pending values (or drops the edit
// state when nothing was assigned); Close drops pending values.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/data/db_error.h"
#include "framework/data/keyed_rows.h"

class TADOConnection;
class TADOQuery;
class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit };

// What a query tells its data sources (see data_source.h).
enum TDataEvent { deActiveChanged, deDataSetChanged, deDataSetScroll, deRecordChanged, deEditingChanged, deUpdateData };

// One column of an open query's result. The value read and written is the
// current row's (in edit state, its pending value). A field object lives as
// long as the query stays open.
class TField {
public:
    const std::string& FieldName() const { return FFieldName; }
    int Index() const { return FIndex; }
    TADOQuery* DataSet() const { return FDataSet; }

    // False for the key column and for result columns that are not a column of
    // the query's table (expressions, renamed columns, joins).
    bool CanModify() const { return FCanModify; }

    bool IsNull() const;
    std::string AsString() const;  // "" for NULL
    // Assigns a text value to the current row's pending values. The query
    // must be in edit state and the field modifiable; otherwise throws
    // EDatabaseError.
    void SetAsString(const std::string& value);
    // The value as a whole number; EConvertError when it is not one.
    int AsInteger() const;
    void SetAsInteger(int value) { SetAsString(IntToStr(value)); }
    void Clear();  // assigns NULL

    // The value the current row holds in the database, not its pending one,
    // and whether the window's 8-bit text (GBK) can hold it as it is: a
    // value with characters outside the code page comes back from AsString
    // with "?" in their places and must not be written back from there.
    std::string StoredAsString() const;
    bool StoredShowsFaithfully() const;
    // In edit state, whether the pending value differs from the stored one.
    bool Changed() const;
    // In edit state, gives the pending value back its stored one, exactly.
    void RevertToStored();

private:
    friend class TADOQuery;
    TField(TADOQuery* dataSet, int index, std::string name)
        : FDataSet(dataSet), FIndex(index), FFieldName(std::move(name))
    {
    }

    TADOQuery* FDataSet;
    int FIndex;
    std::string FFieldName;
    std::string FNameUtf8;
    std::string FColumnUtf8;  // the table column it comes from, "" if none
    bool FCanModify = false;
};

// The SQL text of a query, kept as lines. Any change closes the query.
class TSQLStrings {
public:
    void Clear();
    void Add(const std::string& line);
    void SetText(const std::string& text);  // replaces all lines
    std::string Text() const;               // the lines joined with CR LF
    int Count() const { return static_cast<int>(FLines.size()); }
    const std::string& Strings(int index) const { return FLines.at(index); }

private:
    friend class TADOQuery;
    void Changed();
    std::vector<std::string> FLines;
    std::function<void()> FOnChange;
};

// Error texts start with the query's Name ("ADOQuery1: Field 'x' not found").
class TADOQuery : public TComponent {
    DECLARE_CLASS(TADOQuery, TComponent)
public:
    explicit TADOQuery(TComponent* owner);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return FConnection; }
    void SetConnection(TADOConnection* connection);  // closes the query first

    TSQLStrings& SQL() { return FSQL; }
    const TSQLStrings& SQL() const { return FSQL; }

    // Runs the SQL text, which must be one statement that returns rows, and
    // loads its result. Opens the connection if needed. Throws EDatabaseError
    // with the engine's text (missing file, table or column; a statement that
    // returns no rows is refused without running it); the query then stays
    // closed.
    void Open();
    void Close();
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool value) { value ? Open() : Close(); }
    // Runs the SQL text as one statement that returns no rows and returns the
    // number of rows changed. Closes the query first.
    int ExecSQL();
    // Runs the select again and keeps the same row current where it is still
    // there (otherwise the one at the same position).
    void Refresh();

    TDataSetState State() const { return FState; }

    // ---- the cursor ----
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    void First();
    void Last();
    void Next();
    void Prior();
    // Moves `distance` rows (negative: back) and returns how far it went.
    int MoveBy(int distance);
    int RecNo() const;         // 1-based; 0 on an empty or closed query
    void SetRecNo(int recNo);  // clamped to the rows there are
    // Makes the first row whose field `fieldName` reads `value` (as AsString
    // gives it) current and returns true; false, the cursor unmoved, when no
    // row has it. Finding a row by its key reads no row.
    bool Locate(const std::string& fieldName, const std::string& value);

    // How many rows' values the query holds: all of them for a result held
    // whole, a window of them for one kept by key (see keyed_rows.h).
    int RowsHeld() const;
    bool KeepsRowsByKey() const { return FByKey; }

    // ---- fields ----
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField& Fields(int index) const;
    TField* FindField(const std::string& name) const;  // ASCII case-insensitive
    TField& FieldByName(const std::string& name) const;
    std::vector<std::string> FieldNames() const;

    // The text of any row (0-based) and field without moving the cursor, as a
    // grid draws it; the current row shows its pending values while edited.
    std::string DisplayText(int row, int field) const;
    bool IsNullAt(int row, int field) const;

    // ---- changing rows ----
    // True when the current row can be edited and deleted: the query reads
    // one table and every row can be found again in it.
    bool CanModify() const { return Active() && !FTableUtf8.empty(); }
    void Edit();
    // Has every bound control that the user changed write its text into the
    // row's pending values now, as Post does first.
    void UpdateRecord();
    void Post();
    void Cancel();
    // Deletes the current row from the database and the result. The next row
    // becomes current, or the new last row when the last was deleted.
    void Delete();
    // True when a field was assigned since Edit.
    bool Modified() const { return FModified; }

    // Posts pending values or drops an untouched edit state; used before any
    // move.
    void CheckBrowseMode();

private:
    friend class TADOConnection;
    friend class TField;
    friend class TDataSource;

    using TValue = TKeyedRows::TValue;  // NULL or text, UTF-8 as stored
    using TRow = TKeyedRows::TRow;
    using TFieldList = std::vector<std::unique_ptr<TField>>;

    void CheckActive() const;
    void CheckNotEmpty() const;
    std::string SqlUtf8() const;
    db::TStatement PrepareSelect(TFieldList& fields);
    void ReadRows(db::TStatement& statement);
    void ResolveTable();
    int RowCount() const;
    const TRow& RowAt(int index) const;
    void ClearRows();
    const TRow& CurrentRow() const;
    const TValue& ValueOf(const TField& field) const;
    const TValue& StoredValueOf(const TField& field) const;
    void SetValue(TField& field, TValue value);
    void MoveTo(int index, bool setBof, bool setEof);
    struct TLocator;
    TLocator LocateCurrentRow() const;
    void DropEdit();
    void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);
    void RegisterDataSource(TDataSource* source);
    void UnregisterDataSource(TDataSource* source);

    TADOConnection* FConnection = nullptr;
    TSQLStrings FSQL;
    TDataSetState FState = dsInactive;

    TFieldList FFields;
    // The rows: held whole in FRows, or kept by key in FKeyed when FByKey.
    std::vector<TRow> FRows;
    TKeyedRows FKeyed;
    bool FByKey = false;
    int FCurrent = -1;
    bool FBof = true;
    bool FEof = true;

    std::string FTableUtf8;  // the table rows come from, "" when not modifiable
    int FKeyField = -1;      // the field holding the table's integer key, or -1
    // Every column of the table, in its order, and nothing else: the rows
    // are whole rows of the table and can be read again by key.
    bool FWholeTableRows = false;

    TRow FEditBuffer;
    bool FModified = false;

    std::vector<TDataSource*> FDataSources;
};
