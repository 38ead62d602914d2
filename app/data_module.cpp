// The program's data module (see data_module.h).
#include "app/data_module.h"

#include "app/ledger_files.h"

TfrmdataBase* frmdataBase = nullptr;

TfrmdataBase::TfrmdataBase(TComponent* owner) : TComponent(owner)
{
    SetName("frmdataBase");
    ADOConnection1 = new TADOConnection(this);
    ADOConnection1->SetName("ADOConnection1");
    ADOConnection1->SetLoginPrompt(false);
    ADOConnection1->SetConnectionStringW(ledger::LedgerConnectionString());
}
