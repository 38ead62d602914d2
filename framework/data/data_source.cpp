// Data sources and the links of bound controls.
#include "framework/data/data_source.h"

#include <algorithm>

// ---- TDataLink ------------------------------------------------------------------

TDataLink::~TDataLink()
{
    if (FDataSource) FDataSource->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == FDataSource) return;
    if (FDataSource) FDataSource->RemoveLink(this);
    FDataSource = source;
    if (FDataSource) FDataSource->AddLink(this);
    ActiveChanged();
}

TADOQuery* TDataLink::DataSet() const
{
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

bool TDataLink::Active() const
{
    return FDataSource && FDataSource->State() != dsInactive;
}

bool TDataLink::Editing() const
{
    return FDataSource && FDataSource->State() == dsEdit;
}

bool TDataLink::Edit()
{
    if (!Active() || FReadOnly) return false;
    TADOQuery* dataSet = DataSet();
    // An empty result has no row to edit: the control simply stays as it is.
    if (!Editing() && FDataSource->AutoEdit() && dataSet->CanModify() && !dataSet->IsEmpty()) dataSet->Edit();
    return Editing();
}

// ---- TDataSource ----------------------------------------------------------------

using PDataSource = TPropBuilder<TDataSource>;
IMPLEMENT_CLASS(TDataSource, PDataSource::Bool("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled),
                PDataSource::Bool("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit))

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource()
{
    OnDataChange = nullptr;
    OnStateChange = nullptr;
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        link->FDataSource = nullptr;
}

void TDataSource::SetDataSet(TADOQuery* dataSet)
{
    if (dataSet == FDataSet) return;
    if (FDataSet) FDataSet->UnregisterDataSource(this);
    FDataSet = dataSet;
    if (FDataSet) FDataSet->RegisterDataSource(this);
    Notify(deActiveChanged, nullptr, 0);
}

void TDataSource::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    Notify(deActiveChanged, nullptr, 0);
}

TDataSetState TDataSource::State() const
{
    return FEnabled && FDataSet ? FDataSet->State() : dsInactive;
}

void TDataSource::AddLink(TDataLink* link)
{
    if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link)
{
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), link), FLinks.end());
}

void TDataSource::Notify(TDataEvent event, TField* field, int distance)
{
    // A disabled source still tells its links that it went inactive, once.
    if (!FEnabled && event != deActiveChanged) return;
    // Links may come and go while they are told; tell those still there.
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) NotifyLink(link, event, field, distance);

    if ((event == deActiveChanged || event == deEditingChanged) && OnStateChange) OnStateChange(*this);
    if ((event == deActiveChanged || event == deDataSetChanged || event == deDataSetScroll ||
         event == deRecordChanged) &&
        OnDataChange && State() != dsInactive)
        OnDataChange(*this, event == deRecordChanged ? field : nullptr);
}

void TDataSource::NotifyLink(TDataLink* link, TDataEvent event, TField* field, int distance)
{
    switch (event) {
        case deActiveChanged: link->ActiveChanged(); break;
        case deDataSetChanged: link->DataSetChanged(); break;
        case deDataSetScroll: link->DataSetScrolled(distance); break;
        case deRecordChanged: link->RecordChanged(field); break;
        case deEditingChanged: link->EditingChanged(); break;
        case deUpdateData: link->UpdateData(); break;
    }
}

// ---- TFieldDataLink ----------------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string& name)
{
    if (name == FFieldName) return;
    FFieldName = name;
    UpdateField();
    FModified = false;
    if (OnDataChange) OnDataChange();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && FField != nullptr && FField->CanModify();
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateField()
{
    TADOQuery* dataSet = DataSet();
    FField = Active() && !FFieldName.empty() ? dataSet->FindField(FFieldName) : nullptr;
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    FModified = false;
    if (OnActiveChange) OnActiveChange();
    if (OnDataChange) OnDataChange();
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field != nullptr && field != FField) return;
    FModified = false;
    if (OnDataChange) OnDataChange();
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::UpdateData()
{
    if (!FModified) return;
    FModified = false;
    if (OnUpdateData) OnUpdateData();
}
