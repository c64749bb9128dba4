#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "estimator/OrderKey.h"
#include "estimator/PrePressInputs.h"

namespace data {
class Database;
class Recordset;
} // namespace data

namespace estimator::prepress {

// The table and column names of camera work and of its scan twin.
struct SelectionTables
{
    std::string_view selections; // CAMERASELECTIONS
    std::string_view types;      // CAMERATYPES
    std::string_view sizes;      // CAMERASIZES
    std::string_view prefix;     // CAMERA
};
inline constexpr SelectionTables kCamera{"CAMERASELECTIONS", "CAMERATYPES", "CAMERASIZES", "CAMERA"};
inline constexpr SelectionTables kScan{"SCANSELECTIONS", "SCANTYPES", "SCANSIZES", "SCAN"};

// The pre-press markup in per cent ('Pre-Press:' in any letter case); 0 when the shop has none.
double loadMarkup(data::Database& db);

// Item `index` (0 to 4) of the order row.
ItemInput loadItem(const data::Recordset& order, std::size_t index);

// The order part's selections of one kind, each with its type and size looked up. Faults of the
// database pass up.
std::vector<SelectionInput> loadSelections(data::Database& db, const SelectionTables& tables, const OrderKey& key);

} // namespace estimator::prepress
