// Filling the program's lists from the category file, which may hold many
// thousands of lines: a list or combo box window takes one window message per
// line it is given, so long lists are filled once and only when they are
// about to be seen, and never item by item with a repaint after each.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/combo_box.h"
#include "framework/string_list.h"

namespace ledger {

// Up to this many lines a combo box gets its choices at once; beyond it, the
// choices wait until the user first opens its list.
constexpr size_t IMMEDIATE_CHOICES = 1000;

// Appends `lines` to `items` as one update: the window is redrawn once.
void AppendLines(TStrings* items, const std::vector<std::string>& lines);

// Makes `lines` the choices of `combo` (its current choices stay; callers
// clear them first): at once when they are few, else when its list is first
// opened (OnDropDown, which this takes over). A later call replaces pending
// choices not yet shown.
void OfferChoices(TCustomComboBox* combo, std::shared_ptr<const std::vector<std::string>> lines);

}  // namespace ledger
