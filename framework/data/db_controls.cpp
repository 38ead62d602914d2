// Bound edit box, combo box and memo (see db_controls.h).
#include "framework/data/db_controls.h"

// What the three bound controls share: the field link, showing the field's
// value as the control's text, and taking the user's text into the row.
//
// Invariant: while FShowing is set, a change of the control's text comes
// from the row and must not go back into it; while FAssigning is set, the
// row is being given the control's own text and must not be shown again
// (that would move the caret while the user types).
class TFieldBinding {
public:
    struct TCallbacks {
        std::function<std::string()> GetText;
        std::function<void(const std::string&)> SetText;
        // Runs after the text was set from the row: the control announces
        // the change if its own machinery did not.
        std::function<void(bool changed)> Shown;
        // The link's state changed (opened, closed, another field).
        std::function<void()> StateChanged;
    };

    explicit TFieldBinding(TCallbacks callbacks) : FCallbacks(std::move(callbacks))
    {
        FLink.OnDataChange = [this] { ShowField(); };
        FLink.OnActiveChange = [this] {
            if (FCallbacks.StateChanged) FCallbacks.StateChanged();
        };
        FLink.OnUpdateData = [this] { Assign(); };
    }

    TFieldDataLink& Link() { return FLink; }
    // Lets go of the data source without telling the control, which is
    // being destroyed.
    void Detach()
    {
        FLink.OnDataChange = nullptr;
        FLink.OnActiveChange = nullptr;
        FLink.OnUpdateData = nullptr;
        FLink.SetDataSource(nullptr);
    }
    bool Showing() const { return FShowing; }
    bool ReadOnly() const { return FLink.ReadOnly(); }
    void SetReadOnly(bool value)
    {
        FLink.SetReadOnly(value);
        if (FCallbacks.StateChanged) FCallbacks.StateChanged();
    }
    void SetFieldName(const std::string& name)
    {
        FLink.SetFieldName(name);
        if (FCallbacks.StateChanged) FCallbacks.StateChanged();
    }
    // The control's window should refuse typing.
    bool RefusesTyping() const
    {
        TField* field = FLink.Field();
        return FLink.ReadOnly() || (field && !field->CanModify());
    }

    enum TOutcome { Taken, Kept, Reverted };
    // The user changed the text: put the row into edit state and give the
    // field the new text (Taken). A read-only control shows the field's
    // value again (Reverted: that already announced the change); otherwise
    // a row that cannot be edited is left alone and the text stays (Kept).
    TOutcome UserChanged()
    {
        if (FShowing || FAssigning) return Kept;
        if (!FLink.CanModify() || !FLink.Edit()) {
            if (FLink.ReadOnly() && FLink.Active()) {
                ShowField();
                return Reverted;
            }
            return Kept;
        }
        FLink.Modified();
        Assign();
        return Taken;
    }

private:
    void ShowField()
    {
        if (FAssigning) return;
        TField* field = FLink.Field();
        std::string text = field ? field->AsString() : std::string();
        bool changed = text != FCallbacks.GetText();
        FShowing = true;
        try {
            if (changed) FCallbacks.SetText(text);
        } catch (...) {
            FShowing = false;
            throw;
        }
        FShowing = false;
        if (FCallbacks.Shown) FCallbacks.Shown(changed);
    }

    void Assign()
    {
        TField* field = FLink.Field();
        if (!field || !FLink.Editing() || !field->CanModify()) return;
        FAssigning = true;
        try {
            field->SetAsString(FCallbacks.GetText());
        } catch (...) {
            FAssigning = false;
            throw;
        }
        FAssigning = false;
    }

    TCallbacks FCallbacks;
    TFieldDataLink FLink;
    bool FShowing = false;
    bool FAssigning = false;
};

// ---- TDBEdit --------------------------------------------------------------------------

using PDBEdit = TPropBuilder<TDBEdit>;
IMPLEMENT_CLASS(TDBEdit,
    PDBEdit::String("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField),
    PDBEdit::Object("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource),
    PDBEdit::Bool("ReadOnly", &TDBEdit::ReadOnly, &TDBEdit::SetReadOnly))

TDBEdit::TDBEdit(TComponent* owner) : TEdit(owner)
{
    FBinding = std::make_unique<TFieldBinding>(TFieldBinding::TCallbacks{
        [this] { return GetText(); },
        [this](const std::string& text) { TEdit::SetText(text); },
        nullptr,  // setting the text runs Change, and so OnChange
        [this] { UpdateReadOnly(); }});
}

TDBEdit::~TDBEdit()
{
    FBinding->Detach();
}

TDataSource* TDBEdit::DataSource() const { return FBinding->Link().DataSource(); }
void TDBEdit::SetDataSource(TDataSource* source) { FBinding->Link().SetDataSource(source); }
const std::string& TDBEdit::DataField() const { return FBinding->Link().FieldName(); }
void TDBEdit::SetDataField(const std::string& name) { FBinding->SetFieldName(name); }
TField* TDBEdit::Field() const { return FBinding->Link().Field(); }
bool TDBEdit::ReadOnly() const { return FBinding->ReadOnly(); }
void TDBEdit::SetReadOnly(bool value) { FBinding->SetReadOnly(value); }

void TDBEdit::UpdateReadOnly() { TEdit::SetReadOnly(FBinding->RefusesTyping()); }

void TDBEdit::Change()
{
    if (!FBinding->Showing() && FBinding->UserChanged() == TFieldBinding::Reverted) return;
    TEdit::Change();
}

// ---- TDBComboBox ------------------------------------------------------------------------

using PDBComboBox = TPropBuilder<TDBComboBox>;
IMPLEMENT_CLASS(TDBComboBox,
    PDBComboBox::String("DataField", &TDBComboBox::DataField, &TDBComboBox::SetDataField),
    PDBComboBox::Object("DataSource", &TDBComboBox::DataSource, &TDBComboBox::SetDataSource),
    PDBComboBox::Bool("ReadOnly", &TDBComboBox::ReadOnly, &TDBComboBox::SetReadOnly))

TDBComboBox::TDBComboBox(TComponent* owner) : TComboBox(owner)
{
    FBinding = std::make_unique<TFieldBinding>(TFieldBinding::TCallbacks{
        [this] { return GetText(); },
        [this](const std::string& text) { TComboBox::SetText(text); },
        // Text set from code is not announced by a combo box: do it here.
        [this](bool changed) {
            if (changed && OnChange) OnChange(this);
        },
        [this] { UpdateReadOnly(); }});
}

TDBComboBox::~TDBComboBox()
{
    FBinding->Detach();
}

TDataSource* TDBComboBox::DataSource() const { return FBinding->Link().DataSource(); }
void TDBComboBox::SetDataSource(TDataSource* source) { FBinding->Link().SetDataSource(source); }
const std::string& TDBComboBox::DataField() const { return FBinding->Link().FieldName(); }
void TDBComboBox::SetDataField(const std::string& name) { FBinding->SetFieldName(name); }
TField* TDBComboBox::Field() const { return FBinding->Link().Field(); }
bool TDBComboBox::ReadOnly() const { return FBinding->ReadOnly(); }
void TDBComboBox::SetReadOnly(bool value) { FBinding->SetReadOnly(value); }

void TDBComboBox::UpdateReadOnly()
{
    if (HWND edit = FHandle ? EditHandle() : nullptr) ::SendMessageA(edit, EM_SETREADONLY, FBinding->RefusesTyping(), 0);
}

void TDBComboBox::CreateWindowDone()
{
    TComboBox::CreateWindowDone();
    UpdateReadOnly();
}

void TDBComboBox::Change()
{
    // Only the user's changes come here; the row's values are shown through
    // the binding.
    if (FBinding->UserChanged() == TFieldBinding::Reverted) return;
    TComboBox::Change();
}

// ---- TDBMemo ------------------------------------------------------------------------------

using PDBMemo = TPropBuilder<TDBMemo>;
IMPLEMENT_CLASS(TDBMemo,
    PDBMemo::String("DataField", &TDBMemo::DataField, &TDBMemo::SetDataField),
    PDBMemo::Object("DataSource", &TDBMemo::DataSource, &TDBMemo::SetDataSource),
    PDBMemo::Bool("ReadOnly", &TDBMemo::ReadOnly, &TDBMemo::SetReadOnly))

TDBMemo::TDBMemo(TComponent* owner) : TMemo(owner)
{
    FBinding = std::make_unique<TFieldBinding>(TFieldBinding::TCallbacks{
        [this] { return GetText(); },
        [this](const std::string& text) { TMemo::SetText(text); },
        nullptr,  // a memo announces every new text itself
        [this] { UpdateReadOnly(); }});
}

TDBMemo::~TDBMemo()
{
    FBinding->Detach();
}

TDataSource* TDBMemo::DataSource() const { return FBinding->Link().DataSource(); }
void TDBMemo::SetDataSource(TDataSource* source) { FBinding->Link().SetDataSource(source); }
const std::string& TDBMemo::DataField() const { return FBinding->Link().FieldName(); }
void TDBMemo::SetDataField(const std::string& name) { FBinding->SetFieldName(name); }
TField* TDBMemo::Field() const { return FBinding->Link().Field(); }
bool TDBMemo::ReadOnly() const { return FBinding->ReadOnly(); }
void TDBMemo::SetReadOnly(bool value) { FBinding->SetReadOnly(value); }

void TDBMemo::UpdateReadOnly() { TMemo::SetReadOnly(FBinding->RefusesTyping()); }

void TDBMemo::Change()
{
    if (!FBinding->Showing() && FBinding->UserChanged() == TFieldBinding::Reverted) return;
    TMemo::Change();
}
