// Queries with a static cursor: the whole result read at once, kept by key or
// held whole; rows edited and deleted in the table they came from.
#include "framework/data/ado_query.h"

#include <algorithm>
#include <cstdlib>

#include "framework/data/ado_connection.h"
#include "framework/data/data_source.h"
#include "framework/data/sqlite_statement.h"
#include "sqlite3.h"

namespace {

const char* const NOT_EDITING = "Dataset not in edit or insert mode";
const char* const EMPTY_DATASET = "Cannot perform this operation on an empty dataset";
const char* const CLOSED_DATASET = "Cannot perform this operation on a closed dataset";
const char* const READ_ONLY_DATASET = "Cannot modify a read-only dataset";
const char* const ROW_NOT_FOUND =
    "Row cannot be located for updating. Some values may have been changed since it was last read.";

// ASCII case-insensitive equality of UTF-8 texts. Bytes of multi-byte
// characters are all 0x80 or above, so they are compared exactly.
bool SameNameUtf8(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
        if (x != y) return false;
    }
    return true;
}

std::string Prefix(const std::string& name)
{
    return name.empty() ? std::string() : name + ": ";
}

}  // namespace

// ---- TSQLStrings --------------------------------------------------------------

void TSQLStrings::Changed()
{
    if (FOnChange) FOnChange();
}

void TSQLStrings::Clear()
{
    FLines.clear();
    Changed();
}

void TSQLStrings::Add(const std::string& line)
{
    FLines.push_back(line);
    Changed();
}

void TSQLStrings::SetText(const std::string& text)
{
    FLines.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            FLines.push_back(text.substr(start));
            break;
        }
        FLines.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    Changed();
}

std::string TSQLStrings::Text() const
{
    std::string text;
    for (const std::string& line : FLines)
        text += line + "\r\n";
    return text;
}

// ---- TField -------------------------------------------------------------------

bool TField::IsNull() const
{
    return !FDataSet->ValueOf(*this).has_value();
}

std::string TField::AsString() const
{
    const auto& value = FDataSet->ValueOf(*this);
    return value ? Utf8ToAnsi(*value) : std::string();
}

void TField::SetAsString(const std::string& value)
{
    FDataSet->SetValue(*this, AnsiToUtf8(value));
}

int TField::AsInteger() const
{
    return StrToInt(Trim(AsString()));
}

void TField::Clear()
{
    FDataSet->SetValue(*this, std::nullopt);
}

std::string TField::StoredAsString() const
{
    const auto& value = FDataSet->StoredValueOf(*this);
    return value ? Utf8ToAnsi(*value) : std::string();
}

bool TField::StoredShowsFaithfully() const
{
    const auto& value = FDataSet->StoredValueOf(*this);
    return !value || AnsiToUtf8(Utf8ToAnsi(*value)) == *value;
}

void TField::RevertToStored()
{
    FDataSet->SetValue(*this, FDataSet->StoredValueOf(*this));
}

bool TField::Changed() const
{
    return FDataSet->State() == dsEdit && FDataSet->ValueOf(*this) != FDataSet->StoredValueOf(*this);
}

// ---- TADOQuery ------------------------------------------------------------------

struct TADOQuery::TLocator {
    std::string where;  // " WHERE ..." with ? parameters
    bool byKey = false;
    sqlite3_int64 key = 0;
    std::vector<TValue> values;  // when not by key
};

using PQuery = TPropBuilder<TADOQuery>;
IMPLEMENT_CLASS(TADOQuery, PQuery::Bool("Active", &TADOQuery::Active, &TADOQuery::SetActive))

TADOQuery::TADOQuery(TComponent* owner) : TComponent(owner)
{
    FSQL.FOnChange = [this] { Close(); };
}

TADOQuery::~TADOQuery()
{
    FSQL.FOnChange = nullptr;
    Close();
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->SetDataSet(nullptr);
    if (FConnection) FConnection->UnregisterDataSet(this);
}

void TADOQuery::SetConnection(TADOConnection* connection)
{
    if (connection == FConnection) return;
    Close();
    if (FConnection) FConnection->UnregisterDataSet(this);
    FConnection = connection;
    if (FConnection) FConnection->RegisterDataSet(this);
}

std::string TADOQuery::SqlUtf8() const
{
    return AnsiToUtf8(FSQL.Text());
}

void TADOQuery::CheckActive() const
{
    if (!Active()) throw EDatabaseError(Prefix(Name()) + CLOSED_DATASET);
}

void TADOQuery::CheckNotEmpty() const
{
    if (RowCount() == 0) throw EDatabaseError(EMPTY_DATASET);
}

void TADOQuery::Open()
{
    if (Active()) return;
    if (FConnection == nullptr) throw EDatabaseError(Prefix(Name()) + "Missing Connection or ConnectionString");
    FConnection->Open();
    try {
        db::TStatement statement = PrepareSelect(FFields);
        ResolveTable();
        ReadRows(statement);
    } catch (...) {
        FFields.clear();
        ClearRows();
        FTableUtf8.clear();
        FKeyField = -1;
        FWholeTableRows = false;
        throw;
    }
    FState = dsBrowse;
    const int count = RowCount();
    FCurrent = count == 0 ? -1 : 0;
    FBof = true;
    FEof = count == 0;
    DataEvent(deActiveChanged);
}

// Prepares the SQL text, which must return rows, and makes `fields` name its
// columns (not yet tied to a table).
db::TStatement TADOQuery::PrepareSelect(TFieldList& fields)
{
    sqlite3* db = FConnection->Handle();
    db::TStatement statement;
    statement.Prepare(db, SqlUtf8());
    sqlite3_stmt* stmt = statement.Handle();
    int columns = sqlite3_column_count(stmt);
    if (columns == 0) throw EDatabaseError(Prefix(Name()) + "CommandText does not return a result set");

    TFieldList named;
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        std::string nameUtf8 = name ? name : "";
        named.emplace_back(new TField(this, i, Utf8ToAnsi(nameUtf8)));
        named.back()->FNameUtf8 = nameUtf8;
    }
    fields = std::move(named);
    return statement;
}

// Steps `statement` (prepared for the fields in FFields, tied to the table by
// ResolveTable) to its end and makes its rows the query's. Whole rows of a
// table with an integer key are kept by key, with the first of them held;
// any other result is held whole. Nothing changes when a step fails.
void TADOQuery::ReadRows(db::TStatement& statement)
{
    sqlite3_stmt* stmt = statement.Handle();
    const int columns = FieldCount();
    auto readRow = [&] {
        TRow row(columns);
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_NULL) continue;
            const unsigned char* text = sqlite3_column_text(stmt, i);
            row[i] = std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, i));
        }
        return row;
    };
    const bool byKey = FKeyField >= 0 && FWholeTableRows;
    std::vector<TRow> rows;
    TKeyedRows keyed;
    if (byKey) {
        std::vector<std::string> columnNames;
        for (const auto& field : FFields) columnNames.push_back(field->FColumnUtf8);
        keyed.Start(FConnection->Handle(), FTableUtf8, columnNames, FKeyField);
        while (statement.Step()) {
            const sqlite3_int64 key = sqlite3_column_int64(stmt, FKeyField);
            if (keyed.Count() < TKeyedRows::WINDOW_ROWS)
                keyed.Append(key, readRow());
            else
                keyed.Append(key);
        }
        keyed.Compact();
    } else {
        while (statement.Step()) rows.push_back(readRow());
    }
    FRows = std::move(rows);
    FKeyed = std::move(keyed);
    FByKey = byKey;
}

void TADOQuery::ClearRows()
{
    FRows.clear();
    FRows.shrink_to_fit();
    FKeyed.Clear();
    FByKey = false;
}

int TADOQuery::RowCount() const
{
    return FByKey ? FKeyed.Count() : static_cast<int>(FRows.size());
}

const TADOQuery::TRow& TADOQuery::RowAt(int index) const
{
    return FByKey ? FKeyed.Row(index) : FRows.at(index);
}

int TADOQuery::RowsHeld() const
{
    return FByKey ? FKeyed.HeldCount() : static_cast<int>(FRows.size());
}

// Finds the table the result comes from, which fields are columns of it, and
// the field holding its integer key. Without a table the query is read-only.
void TADOQuery::ResolveTable()
{
    FTableUtf8.clear();
    FKeyField = -1;
    FWholeTableRows = false;
    std::string table = db::SingleSourceTable(SqlUtf8());
    if (table.empty()) return;
    sqlite3* db = FConnection->Handle();

    db::TStatement kind;
    kind.Prepare(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    kind.BindText(1, &table);
    if (!kind.Step()) return;  // a view, or a table of another schema
    table = reinterpret_cast<const char*>(sqlite3_column_text(kind.Handle(), 0));

    struct TColumn {
        std::string name;
        bool integerKey;
    };
    std::vector<TColumn> columns;
    int keyParts = 0;
    db::TStatement info;
    info.Prepare(db, "PRAGMA table_info(" + db::QuoteIdentifier(table) + ")");
    while (info.Step()) {
        sqlite3_stmt* s = info.Handle();
        std::string name = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        const unsigned char* type = sqlite3_column_text(s, 2);
        int pk = sqlite3_column_int(s, 5);
        keyParts += pk > 0 ? 1 : 0;
        columns.push_back({name, pk == 1 && type && SameNameUtf8(reinterpret_cast<const char*>(type), "INTEGER")});
    }
    // Only a single INTEGER PRIMARY KEY column is the row's own key.
    if (keyParts != 1)
        for (TColumn& column : columns)
            column.integerKey = false;

    for (auto& field : FFields) {
        for (const TColumn& column : columns) {
            if (!SameNameUtf8(field->FNameUtf8, column.name)) continue;
            // The first field of a name wins; a repeated name is read-only.
            bool taken = std::any_of(FFields.begin(), FFields.begin() + field->FIndex,
                                     [&](const auto& f) { return f->FColumnUtf8 == column.name; });
            if (taken) break;
            field->FColumnUtf8 = column.name;
            if (column.integerKey && FKeyField < 0)
                FKeyField = field->FIndex;
            else
                field->FCanModify = true;
            break;
        }
    }
    // Rows can be changed when at least one field is a column of the table.
    bool mapped = std::any_of(FFields.begin(), FFields.end(), [](const auto& f) { return !f->FColumnUtf8.empty(); });
    if (mapped)
        FTableUtf8 = table;
    else
        FKeyField = -1;
    // The table's columns in its order, each under its own name: a row of the
    // result is a row of the table and reads the same when fetched again.
    FWholeTableRows = mapped && FFields.size() == columns.size();
    for (size_t i = 0; FWholeTableRows && i < columns.size(); ++i)
        FWholeTableRows = FFields[i]->FColumnUtf8 == columns[i].name;
}

void TADOQuery::Close()
{
    if (!Active()) return;
    FEditBuffer.clear();
    FModified = false;
    FState = dsInactive;
    FFields.clear();
    ClearRows();
    FCurrent = -1;
    FBof = FEof = true;
    FTableUtf8.clear();
    FKeyField = -1;
    FWholeTableRows = false;
    DataEvent(deActiveChanged);
}

int TADOQuery::ExecSQL()
{
    Close();
    if (FConnection == nullptr) throw EDatabaseError(Prefix(Name()) + "Missing Connection or ConnectionString");
    FConnection->Open();
    sqlite3* db = FConnection->Handle();
    db::TStatement statement;
    statement.Prepare(db, SqlUtf8());
    while (statement.Step()) {
    }
    return sqlite3_changes(db);
}

void TADOQuery::Refresh()
{
    CheckActive();
    CheckBrowseMode();
    TValue key;
    if (FKeyField >= 0 && FCurrent >= 0) key = FByKey ? std::to_string(FKeyed.Key(FCurrent)) : FRows[FCurrent][FKeyField];
    const int position = FCurrent;
    const std::vector<std::string> names = FieldNames();

    TFieldList fields;
    db::TStatement statement = PrepareSelect(fields);
    std::vector<std::string> newNames;
    for (const auto& field : fields) newNames.push_back(field->FFieldName);
    if (newNames != names) {
        // Another shape of result: the fields the links hold are gone.
        TFieldList oldFields = std::move(FFields);
        const std::string oldTable = FTableUtf8;
        const int oldKeyField = FKeyField;
        const bool oldWholeTableRows = FWholeTableRows;
        FFields = std::move(fields);
        try {
            ResolveTable();
            ReadRows(statement);
        } catch (...) {
            FFields = std::move(oldFields);
            FTableUtf8 = oldTable;
            FKeyField = oldKeyField;
            FWholeTableRows = oldWholeTableRows;
            throw;
        }
        FCurrent = RowCount() == 0 ? -1 : 0;
        FBof = true;
        FEof = RowCount() == 0;
        DataEvent(deActiveChanged);
        return;
    }
    // Same columns: keep the field objects that links already hold.
    ReadRows(statement);
    const int count = RowCount();
    int found = -1;
    if (key) {
        if (FByKey) {
            found = FKeyed.IndexOf(std::strtoll(key->c_str(), nullptr, 10));
        } else {
            for (int i = 0; i < count && found < 0; ++i)
                if (FRows[i][FKeyField] == key) found = i;
        }
    }
    if (found < 0) found = std::min(position, count - 1);
    FCurrent = count == 0 ? -1 : std::max(found, 0);
    FBof = FEof = count == 0;
    DataEvent(deDataSetChanged);
}

// ---- the cursor ----------------------------------------------------------------

int TADOQuery::RecordCount() const
{
    CheckActive();
    return RowCount();
}

void TADOQuery::MoveTo(int index, bool setBof, bool setEof)
{
    CheckActive();
    CheckBrowseMode();
    int count = RowCount();
    int target = count == 0 ? -1 : std::clamp(index, 0, count - 1);
    int distance = target - FCurrent;
    bool flagsChanged = FBof != (setBof || count == 0) || FEof != (setEof || count == 0);
    FCurrent = target;
    FBof = setBof || count == 0;
    FEof = setEof || count == 0;
    if (distance != 0 || flagsChanged) DataEvent(deDataSetScroll, nullptr, distance);
}

void TADOQuery::First()
{
    MoveTo(0, true, false);
}

void TADOQuery::Last()
{
    CheckActive();
    MoveTo(RowCount() - 1, false, true);
}

void TADOQuery::Next()
{
    MoveBy(1);
}

void TADOQuery::Prior()
{
    MoveBy(-1);
}

int TADOQuery::MoveBy(int distance)
{
    CheckActive();
    if (distance == 0) {
        CheckBrowseMode();
        return 0;
    }
    int count = RowCount();
    long long target = static_cast<long long>(FCurrent) + distance;
    bool pastEnd = distance > 0 && target > count - 1;
    bool pastStart = distance < 0 && target < 0;
    int from = FCurrent;
    MoveTo(static_cast<int>(std::clamp<long long>(target, 0, std::max(count - 1, 0))), pastStart, pastEnd);
    return FCurrent - from;
}

int TADOQuery::RecNo() const
{
    return Active() && FCurrent >= 0 ? FCurrent + 1 : 0;
}

void TADOQuery::SetRecNo(int recNo)
{
    MoveTo(recNo - 1, false, false);
}

bool TADOQuery::Locate(const std::string& fieldName, const std::string& value)
{
    const int field = FieldByName(fieldName).Index();
    CheckBrowseMode();
    int found = -1;
    if (FByKey && field == FKeyField) {
        // A key reads as its decimal text: no other text names a row.
        const sqlite3_int64 key = std::strtoll(value.c_str(), nullptr, 10);
        if (std::to_string(key) == value) found = FKeyed.IndexOf(key);
    } else {
        const int count = RowCount();
        for (int row = 0; row < count && found < 0; ++row)
            if (DisplayText(row, field) == value) found = row;
    }
    if (found < 0) return false;
    MoveTo(found, false, false);
    return true;
}

// ---- fields ----------------------------------------------------------------------

TField& TADOQuery::Fields(int index) const
{
    CheckActive();
    if (index < 0 || index >= FieldCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return *FFields[index];
}

TField* TADOQuery::FindField(const std::string& name) const
{
    std::string nameUtf8 = AnsiToUtf8(name);
    for (const auto& field : FFields)
        if (SameNameUtf8(field->FNameUtf8, nameUtf8)) return field.get();
    return nullptr;
}

TField& TADOQuery::FieldByName(const std::string& name) const
{
    CheckActive();
    TField* field = FindField(name);
    if (field == nullptr) throw EDatabaseError(Prefix(Name()) + "Field '" + name + "' not found");
    return *field;
}

std::vector<std::string> TADOQuery::FieldNames() const
{
    std::vector<std::string> names;
    for (const auto& field : FFields)
        names.push_back(field->FFieldName);
    return names;
}

const TADOQuery::TRow& TADOQuery::CurrentRow() const
{
    static const TRow EMPTY;
    if (FState == dsEdit) return FEditBuffer;
    return FCurrent >= 0 ? RowAt(FCurrent) : EMPTY;
}

const TADOQuery::TValue& TADOQuery::ValueOf(const TField& field) const
{
    static const TValue NULL_VALUE;
    CheckActive();
    const TRow& row = CurrentRow();
    return field.FIndex < static_cast<int>(row.size()) ? row[field.FIndex] : NULL_VALUE;
}

const TADOQuery::TValue& TADOQuery::StoredValueOf(const TField& field) const
{
    static const TValue NULL_VALUE;
    CheckActive();
    if (FCurrent < 0 || FCurrent >= RowCount()) return NULL_VALUE;
    const TRow& row = RowAt(FCurrent);
    return field.FIndex < static_cast<int>(row.size()) ? row[field.FIndex] : NULL_VALUE;
}

void TADOQuery::SetValue(TField& field, TValue value)
{
    CheckActive();
    if (FState != dsEdit) throw EDatabaseError(Prefix(Name()) + NOT_EDITING);
    if (!field.FCanModify) throw EDatabaseError("Field '" + field.FFieldName + "' cannot be modified");
    FEditBuffer[field.FIndex] = std::move(value);
    FModified = true;
    DataEvent(deRecordChanged, &field);
}

std::string TADOQuery::DisplayText(int row, int field) const
{
    CheckActive();
    const TRow& values = (FState == dsEdit && row == FCurrent) ? FEditBuffer : RowAt(row);
    const TValue& value = values.at(field);
    return value ? Utf8ToAnsi(*value) : std::string();
}

bool TADOQuery::IsNullAt(int row, int field) const
{
    CheckActive();
    const TRow& values = (FState == dsEdit && row == FCurrent) ? FEditBuffer : RowAt(row);
    return !values.at(field).has_value();
}

// ---- changing rows ------------------------------------------------------------------

void TADOQuery::Edit()
{
    CheckActive();
    if (FState == dsEdit) return;
    CheckNotEmpty();
    if (!CanModify()) throw EDatabaseError(Prefix(Name()) + READ_ONLY_DATASET);
    FEditBuffer = RowAt(FCurrent);
    FModified = false;
    FState = dsEdit;
    DataEvent(deEditingChanged);
}

void TADOQuery::DropEdit()
{
    FEditBuffer.clear();
    FModified = false;
    FState = dsBrowse;
}

void TADOQuery::Cancel()
{
    if (FState != dsEdit) return;
    DropEdit();
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
}

void TADOQuery::CheckBrowseMode()
{
    CheckActive();
    if (FState != dsEdit) return;
    DataEvent(deUpdateData);
    if (FModified)
        Post();
    else
        Cancel();
}

TADOQuery::TLocator TADOQuery::LocateCurrentRow() const
{
    TLocator locator;
    const TRow& row = RowAt(FCurrent);
    if (FKeyField >= 0 && (FByKey || row[FKeyField])) {
        locator.byKey = true;
        locator.key = FByKey ? FKeyed.Key(FCurrent) : std::strtoll(row[FKeyField]->c_str(), nullptr, 10);
        locator.where = " WHERE " + db::QuoteIdentifier(FFields[FKeyField]->FColumnUtf8) + " = ?";
        return locator;
    }
    // No key in the result: the first row of the table with all these values.
    std::string match;
    for (const auto& field : FFields) {
        if (field->FColumnUtf8.empty()) continue;
        match += match.empty() ? " WHERE " : " AND ";
        match += db::QuoteIdentifier(field->FColumnUtf8) + " IS ?";
        locator.values.push_back(row[field->FIndex]);
    }
    locator.where = " WHERE rowid = (SELECT rowid FROM " + db::QuoteIdentifier(FTableUtf8) + match + " LIMIT 1)";
    return locator;
}

namespace {

template <typename TLocatorT>
void BindLocator(db::TStatement& statement, int first, const TLocatorT& locator)
{
    if (locator.byKey) {
        statement.BindInt64(first, locator.key);
        return;
    }
    for (size_t i = 0; i < locator.values.size(); ++i)
        statement.BindText(first + static_cast<int>(i), locator.values[i] ? &*locator.values[i] : nullptr);
}

}  // namespace

void TADOQuery::UpdateRecord()
{
    CheckActive();
    if (FState == dsEdit) DataEvent(deUpdateData);
}

void TADOQuery::Post()
{
    CheckActive();
    if (FState != dsEdit) throw EDatabaseError(Prefix(Name()) + NOT_EDITING);
    DataEvent(deUpdateData);

    std::vector<int> changed;
    {
        const TRow& original = RowAt(FCurrent);
        for (int i = 0; i < FieldCount(); ++i)
            if (FEditBuffer[i] != original[i]) changed.push_back(i);
    }

    if (!changed.empty()) {
        std::string sql = "UPDATE " + db::QuoteIdentifier(FTableUtf8) + " SET ";
        for (size_t i = 0; i < changed.size(); ++i)
            sql += (i ? ", " : "") + db::QuoteIdentifier(FFields[changed[i]]->FColumnUtf8) + " = ?";
        TLocator locator = LocateCurrentRow();
        sql += locator.where;

        sqlite3* db = FConnection->Handle();
        db::TStatement statement;
        statement.Prepare(db, sql);
        for (size_t i = 0; i < changed.size(); ++i) {
            const TValue& value = FEditBuffer[changed[i]];
            statement.BindText(static_cast<int>(i) + 1, value ? &*value : nullptr);
        }
        BindLocator(statement, static_cast<int>(changed.size()) + 1, locator);
        statement.Step();
        if (sqlite3_changes(db) != 1) throw EDatabaseError(ROW_NOT_FOUND);
        if (FByKey)
            FKeyed.Store(FCurrent, FEditBuffer);
        else
            FRows[FCurrent] = FEditBuffer;
    }
    DropEdit();
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
}

void TADOQuery::Delete()
{
    CheckActive();
    CheckNotEmpty();
    if (!CanModify()) throw EDatabaseError(Prefix(Name()) + READ_ONLY_DATASET);
    if (FState == dsEdit) {
        DropEdit();
        DataEvent(deEditingChanged);
    }
    TLocator locator = LocateCurrentRow();
    sqlite3* db = FConnection->Handle();
    db::TStatement statement;
    statement.Prepare(db, "DELETE FROM " + db::QuoteIdentifier(FTableUtf8) + locator.where);
    BindLocator(statement, 1, locator);
    statement.Step();
    if (sqlite3_changes(db) != 1) throw EDatabaseError(ROW_NOT_FOUND);

    if (FByKey)
        FKeyed.Erase(FCurrent);
    else
        FRows.erase(FRows.begin() + FCurrent);
    int count = RowCount();
    if (FCurrent >= count) FCurrent = count - 1;
    FBof = FEof = count == 0;
    DataEvent(deDataSetChanged);
}

// ---- notifications ----------------------------------------------------------------

void TADOQuery::RegisterDataSource(TDataSource* source)
{
    if (std::find(FDataSources.begin(), FDataSources.end(), source) == FDataSources.end())
        FDataSources.push_back(source);
}

void TADOQuery::UnregisterDataSource(TDataSource* source)
{
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source), FDataSources.end());
}

void TADOQuery::DataEvent(TDataEvent event, TField* field, int distance)
{
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->Notify(event, field, distance);
}
