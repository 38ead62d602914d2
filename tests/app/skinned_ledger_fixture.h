// The program's windows over a ledger with the main window's skin component
// given the build's stored skin (test programs carry no resources) and
// switched on, so each window is skinned as it is activated.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/data_module.h"
#include "framework/streams.h"
#include "skin/form/form_skinner.h"
#include "tests/app/ledger_windows_fixture.h"

class SkinnedLedgerFixture : public LedgerWindowsTest {
protected:
    SkinnedLedgerFixture() { RegisterFormSkinning(); }
    ~SkinnedLedgerFixture() override
    {
        delete frmdataBase;
        frmdataBase = nullptr;
    }

    // The windows as start-up makes them over `entries`, the skin on.
    void StartSkinned(const std::vector<TEntry>& entries)
    {
        MakeLedger(entries);
        CreateMainForm();
        frmdataBase = new TfrmdataBase(Application);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);

        std::string path = RAVELBOOK_SKIN_BIN;
        if (path[0] == '/') path = "Z:" + path;
        std::ifstream file(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(bytes.empty()) << path;
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        Form1->SkinData1->ReadSkinStream(stream);
        ASSERT_FALSE(Form1->SkinData1->NoSkin());
        Form1->SkinData1->SetActive(true);
    }
};
