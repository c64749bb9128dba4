#pragma once

#include <array>
#include <vector>

#include "estimator/PrePressInputs.h"
#include "estimator/Summary.h"

namespace estimator::prepress {

// Plain arithmetic over what the loader read; nothing here reads the database.

// An item priced with the department's markup factor (1 + markup / 100). A value of 0 or less prices
// nothing but its minutes still count. Fault 11 for a customer's price under a markup of -100 %.
ItemFigures priceItem(const ItemInput& item, double markupFactor);

// Camera or scan work: one line per selection. The set-up is time at the hourly rate: it adds minutes,
// not cost.
SelectionWork priceSelections(const std::vector<SelectionInput>& selections, double markupFactor);

// Adds priced work to the totals (the retail at the department's markup).
void addItem(PrePressTotals& totals, const ItemFigures& item);
void addSelections(PrePressTotals& totals, const SelectionWork& work, double markupFactor);

// Pre-press does not depend on the quantity: every priced slot (slot 1, and any other with a quantity)
// shows the same totals.
void spreadTotals(const PrePressTotals& totals, std::array<SummaryRecord, 5>& summary);

} // namespace estimator::prepress
