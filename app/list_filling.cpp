// Filling the program's lists (see list_filling.h).
#include "app/list_filling.h"

#include <windows.h>

namespace ledger {

void AppendLines(TStrings* items, const std::vector<std::string>& lines)
{
    items->BeginUpdate();
    try {
        for (const std::string& line : lines) items->Add(line);
    } catch (...) {
        items->EndUpdate();
        throw;
    }
    items->EndUpdate();
}

void OfferChoices(TCustomComboBox* combo, std::shared_ptr<const std::vector<std::string>> lines)
{
    if (lines->size() <= IMMEDIATE_CHOICES) {
        combo->OnDropDown = nullptr;
        AppendLines(combo->Items(), *lines);
        return;
    }
    // The handler stays in place once it has run (it cannot remove itself
    // while running); the shared flag makes it fill only once.
    auto pending = std::make_shared<bool>(true);
    combo->OnDropDown = [combo, lines, pending](TObject*) {
        if (!*pending) return;
        *pending = false;
        AppendLines(combo->Items(), *lines);
        // The list was sized for the items it had before: size it again, as
        // the box does, for a full page of choices.
        RECT closed;
        GetWindowRect(combo->Handle(), &closed);
        const int height = (closed.bottom - closed.top) + combo->ItemHeight() * combo->DropDownCount() + 2;
        SetWindowPos(combo->Handle(), nullptr, 0, 0, closed.right - closed.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    };
}

}  // namespace ledger
