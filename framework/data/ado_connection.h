// The connection to the ledger's database file.
//
// A connection is configured with an OLE DB style connection string
// ("Provider=...;Data Source=<file>;..."): of its keys only "Data Source"
// matters, and names the database file. The connection opens when the first
// query opens (or on Open()) and stays open until Close() or destruction.
// It never creates a database: a missing file is an error.
#pragma once

#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/data/db_error.h"

struct sqlite3;
class TADOQuery;

class TADOConnection : public TComponent {
    DECLARE_CLASS(TADOConnection, TComponent)
public:
    explicit TADOConnection(TComponent* owner);
    ~TADOConnection() override;

    // The connection string in the ANSI code page, and in UTF-16 (which can
    // name any folder, whatever the code page). Changing it while the
    // connection is open throws EDatabaseError and changes nothing.
    std::string ConnectionString() const;
    void SetConnectionString(const std::string& text);
    const std::wstring& ConnectionStringW() const { return FConnectionString; }
    void SetConnectionStringW(const std::wstring& text);

    // The file named by "Data Source" in the connection string ("" if none).
    std::wstring DataSourcePath() const;

    // Kept for the form's settings; the connection never asks for a login.
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool value) { FLoginPrompt = value; }

    // Opens the database file for reading and writing. Throws EDatabaseError
    // when the connection string names no file, the file is missing, cannot
    // be opened or is not a database; the connection then stays closed.
    void Open();
    // Closes every query on this connection (pending edits are dropped), then
    // the file. Closing a closed connection does nothing.
    void Close();
    bool Connected() const { return FDb != nullptr; }
    void SetConnected(bool value) { value ? Open() : Close(); }

    // Runs one statement that returns no rows; returns the number of rows it
    // changed. Opens the connection first if needed. `sqlAnsi` is in the ANSI
    // code page. Throws EDatabaseError with the engine's text.
    int Execute(const std::string& sqlAnsi);

    // The engine's handle while connected, otherwise nullptr.
    sqlite3* Handle() const { return FDb; }

    // The queries that use this connection, open or not.
    int DataSetCount() const { return static_cast<int>(FDataSets.size()); }
    TADOQuery* DataSets(int index) const { return FDataSets.at(index); }

private:
    friend class TADOQuery;
    void RegisterDataSet(TADOQuery* dataSet);
    void UnregisterDataSet(TADOQuery* dataSet);

    std::wstring FConnectionString;
    bool FLoginPrompt = false;
    sqlite3* FDb = nullptr;
    std::vector<TADOQuery*> FDataSets;
};

// The value of `key` (compared without regard to ASCII case) in a connection
// string of "key=value" pairs separated by ";". A value may be put in double
// or single quotes, doubling the quote inside, when it holds a ";". Returns
// "" when the key is absent.
std::wstring ConnectionStringValue(const std::wstring& connectionString, const std::wstring& key);
