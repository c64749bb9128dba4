#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/bindery/BinderyInputs.h"

namespace estimator::bindery {

// The bindery's reads of the shop database. Each opens its query, takes what the costing needs from it
// and closes it again; nothing here works anything out.

// The current row of a BINDERIES recordset.
BinderyRow readBinderyRow(const data::Recordset& bindery);

// The rows one operation is costed from: the selection, its bindery, whether the bindery's category is
// padding, the order's stock and the order row's figures. Reading stops at a missing selection or
// bindery, as the costing does.
OperationInputs loadOperation(const data::Database& db, const data::Recordset& order, std::int32_t selectionId,
                              const std::string& stockIdText);

// The bindery a selection of the order names, or none when it is gone. The selection's BINDERYID is a
// plain value: Null or a stray text is a fault, not an id 0 that would drop the operation from the
// price without a word.
std::optional<BinderyRow> loadSelectedBindery(const data::Database& db, const data::Recordset& selections);

// The name of the bindery's category, or none when the category is gone.
std::optional<std::string> loadCategoryName(const data::Database& db, const BinderyRow& bindery);

// Whether the bindery's category is FIXED CHIP PADDING.
bool loadFixedChipPadding(const data::Database& db, const BinderyRow& bindery);

// The bindery markup in per cent, 0 without a MARKUPS row for the department.
double loadBinderyMarkup(const data::Database& db);

} // namespace estimator::bindery
