// The program's data module: a non-visual container made at start-up after
// the main window. It holds a connection of its own, given the ledger's
// connection string when it is made; nothing uses that connection, and since
// a connection opens only on first use, it never touches data.mdb.
#pragma once

#include "framework/classes.h"
#include "framework/data/ado_connection.h"

class TfrmdataBase : public TComponent {
    DECLARE_CLASS_INLINE(TfrmdataBase, TComponent)
public:
    explicit TfrmdataBase(TComponent* owner);

    TADOConnection* ADOConnection1;
};

extern TfrmdataBase* frmdataBase;
