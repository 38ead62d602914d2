// Helpers for the form skinner and skin manager tests: a main form carrying
// the program's stored skin (as the ledger's main window does), message
// pumping, and a plain window class whose procedure counts what it gets.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "../data/skin_model_support.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/streams.h"
#include "framework/timer.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/data/stored_skin.h"
#include "skin/form/form_skinner.h"

namespace formtest {

// Runs the message loop for `ms` milliseconds, or until `done` answers true.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 2000)
{
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done()) return true;
        if (static_cast<int>(GetTickCount() - end) >= 0) return done ? done() : true;
        Sleep(2);
    }
}
inline void Pump(DWORD ms) { PumpUntil(nullptr, ms); }

// A framework form with the stored skin on it, made the way the program
// makes its main window: the component's Loaded creates the manager.
inline TForm* MakeSkinnedForm(TSkinData*& skin, TSkinFormType type = sfMainform, const char* caption = "Ravelbook")
{
    auto* form = new TForm(nullptr);
    form->SetBounds(120, 100, 420, 300);
    form->SetCaption(caption);
    skin = new TSkinData(form);
    skin->BeginLoading();
    TMemoryStream stream;
    const skintest::TBytes bytes = skintest::StoredSkinBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*skin, stream);
    skin->SetSkinFormtype(type);
    form->FinishCreation();
    return form;
}

// A plain form without a skin component.
inline TForm* MakePlainForm(const char* caption, int tag = 0)
{
    auto* form = new TForm(nullptr);
    form->SetBounds(160, 140, 300, 200);
    form->SetCaption(caption);
    form->SetTag(tag);
    form->FinishCreation();
    return form;
}

// The form skinner of `window`, or null.
inline TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

// A plain window class whose procedure counts the messages it receives.
struct TCountingWindow {
    static std::map<UINT, int>& Counts()
    {
        static std::map<UINT, int> counts;
        return counts;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ++Counts()[msg];
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    // Registers the class for `module` under `name` (once per name and module).
    static void Register(HINSTANCE module, const char* name)
    {
        WNDCLASSA cls{};
        cls.lpfnWndProc = Proc;
        cls.hInstance = module;
        cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = name;
        RegisterClassA(&cls);
    }
};

// Every test starts with no manager and ends freeing it.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFormSkinning();
        FreeSkinManager();
    }
    void TearDown() override
    {
        for (auto it = Forms.rbegin(); it != Forms.rend(); ++it) delete *it;
        Forms.clear();
        Pump(20);
        FreeSkinManager();
    }
    TForm* Keep(TForm* form)
    {
        Forms.push_back(form);
        return form;
    }
    std::vector<TForm*> Forms;
};

}  // namespace formtest
