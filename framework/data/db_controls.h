// Bound edit box, combo box and memo: each shows one field of a query's
// current row and writes the user's changes back to it.
//
// A bound control always shows the value of its field (DataField) in the
// current row of its data source's query, and follows the row when the
// cursor moves, whether or not the control is visible. With no open query,
// no such field or an empty result it shows an empty text.
//
// When the user changes the text, the row goes into edit state and the new
// text becomes the field's pending value at once (the grid shows it); the
// database gets it when the row is posted (Post, or any move of the cursor),
// and loses it when the row is cancelled or the query is closed. A control
// that is ReadOnly, a field that cannot be changed (the key) or a query that
// cannot edit its row (an empty result, a read-only result) leaves the row
// alone: the typed text just stays in the control, while a read-only control
// does not take the change at all.
//
// OnChange runs whenever the control's text changes: typed, chosen from the
// list, or because the control now shows another row's value.
#pragma once

#include <memory>
#include <string>

#include "framework/combo_box.h"
#include "framework/data/data_source.h"
#include "framework/memo.h"
#include "framework/std_controls.h"

// The link between one control's text and one field; shared by the bound
// controls below. Defined in db_controls.cpp.
class TFieldBinding;

class TDBEdit : public TEdit {
    DECLARE_CLASS(TDBEdit, TEdit)
public:
    explicit TDBEdit(TComponent* owner);
    ~TDBEdit() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const;
    void SetDataField(const std::string& name);
    // The bound field while the query is open and has it, else null.
    TField* Field() const;
    bool ReadOnly() const;
    void SetReadOnly(bool value);

protected:
    void Change() override;

private:
    void UpdateReadOnly();
    std::unique_ptr<TFieldBinding> FBinding;
};

class TDBComboBox : public TComboBox {
    DECLARE_CLASS(TDBComboBox, TComboBox)
public:
    explicit TDBComboBox(TComponent* owner);
    ~TDBComboBox() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const;
    void SetDataField(const std::string& name);
    TField* Field() const;
    bool ReadOnly() const;
    void SetReadOnly(bool value);

protected:
    void Change() override;
    void CreateWindowDone() override;

private:
    void UpdateReadOnly();
    std::unique_ptr<TFieldBinding> FBinding;
};

class TDBMemo : public TMemo {
    DECLARE_CLASS(TDBMemo, TMemo)
public:
    explicit TDBMemo(TComponent* owner);
    ~TDBMemo() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const;
    void SetDataField(const std::string& name);
    TField* Field() const;
    bool ReadOnly() const;
    void SetReadOnly(bool value);

protected:
    void Change() override;

private:
    void UpdateReadOnly();
    std::unique_ptr<TFieldBinding> FBinding;
};
