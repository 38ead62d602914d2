// Data sources and data links: how controls follow a query.
//
// A TDataSource stands between one query and the controls bound to it. Each
// bound control owns a TDataLink (usually a TFieldDataLink) attached to the
// data source; the query tells every link of every data source on it what
// happened:
//
//   ActiveChanged     the query opened or closed
//   DataSetChanged    the rows or the current row's values changed (Post,
//                     Cancel, Delete, Refresh)
//   DataSetScrolled   another row became current (distance in rows; 0 when
//                     only Bof/Eof changed)
//   RecordChanged     one field of the current row was assigned (field), or
//                     the whole row is to be shown again (nullptr)
//   EditingChanged    the current row entered or left edit state
//   UpdateData        the row is about to be posted: write any value typed
//                     into the control but not yet assigned to its field
//
// By default DataSetScrolled calls DataSetChanged, which calls
// RecordChanged(nullptr), so a control that only shows the current row
// overrides RecordChanged alone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/data/ado_query.h"

class TDataSource;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    // Attaching to a data source reports ActiveChanged at once.
    void SetDataSource(TDataSource* source);
    TADOQuery* DataSet() const;

    // Attached to an enabled data source whose query is open.
    bool Active() const;
    // The query's current row is in edit state.
    bool Editing() const;

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }

    // Puts the current row into edit state, when the link is not read-only,
    // the data source allows it (AutoEdit) and the query has a row that can
    // be changed. Returns Editing(): false means the control must not take
    // the user's change.
    bool Edit();

protected:
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void EditingChanged() {}
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    TDataSource* FDataSource = nullptr;
    bool FReadOnly = false;
};

class TDataSource : public TComponent {
    DECLARE_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent* owner);
    ~TDataSource() override;

    TADOQuery* DataSet() const { return FDataSet; }
    void SetDataSet(TADOQuery* dataSet);

    // A disabled data source tells its links that the query is inactive.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    // Whether a link may put the query into edit state when its control is
    // changed by the user.
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool value) { FAutoEdit = value; }

    // The query's state; dsInactive without an open query or when disabled.
    TDataSetState State() const;

    int LinkCount() const { return static_cast<int>(FLinks.size()); }
    TDataLink* Links(int index) const { return FLinks.at(index); }

    // Events for the form: the current row or a value of it changed (field is
    // null for the whole row), and the state changed.
    std::function<void(TDataSource& sender, TField* field)> OnDataChange;
    std::function<void(TDataSource& sender)> OnStateChange;

private:
    friend class TADOQuery;
    friend class TDataLink;
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void Notify(TDataEvent event, TField* field, int distance);
    void NotifyLink(TDataLink* link, TDataEvent event, TField* field, int distance);

    TADOQuery* FDataSet = nullptr;
    bool FEnabled = true;
    bool FAutoEdit = true;
    std::vector<TDataLink*> FLinks;
};

// The link of a control that shows and edits one field of the current row.
//
// The control reacts to three callbacks: OnDataChange (show Field()'s value,
// or nothing when Field() is null), OnEditingChange (the row entered or left
// edit state) and OnUpdateData (assign the control's text to Field()). When
// the user changes the control, it calls Edit() and then Modified(); its text
// is asked for through OnUpdateData before the row is posted.
class TFieldDataLink : public TDataLink {
public:
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& name);
    // The bound field while the query is open and has it, otherwise null.
    TField* Field() const { return FField; }
    // The field can be changed through this link.
    bool CanModify() const;

    // Marks the control's text as changed and not yet assigned.
    void Modified() { FModified = true; }
    bool IsModified() const { return FModified; }
    // Shows the field's value again, dropping the control's unassigned text.
    void Reset();

    std::function<void()> OnActiveChange;
    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override;
    void RecordChanged(TField* field) override;
    void EditingChanged() override;
    void UpdateData() override;

private:
    void UpdateField();
    std::string FFieldName;
    TField* FField = nullptr;
    bool FModified = false;
};
