#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "estimator/ReportRows.h"

namespace estimator::prepress {

// One of the five pre-press items entered on the order (typesetting, design, paste-up, preflight,
// match print), in the order they are priced.
struct ItemInput
{
    double value = 0;          // what the shop entered
    std::int16_t valueType = 0; // 0: the value is the shop's cost; otherwise the customer's price
    double minutes = 0;
};
inline constexpr std::size_t kItemCount = 5;

// One camera or scan selection of the order part with its type and size as looked up. A selection
// whose type and size are not on file is only counted by its quantity.
struct SelectionInput
{
    double quantity = 0;
    bool found = false;
    std::string typeName{}, sizeName{};
    double costType = 0;    // 0 per piece, 1 per square inch of the size, 2 per size
    double costRate = 0;    // COSTONLY, COSTSQIN or COSTPERSIZE, whichever the cost type reads
    double costPerHour = 0;
    double setupCost = 0;   // read only where there is an hourly rate
    double minutesEach = 0; // MINUTES
};

// The figures one item, or one kind of selection work, comes to.
struct ItemFigures
{
    double cost = 0, retail = 0, minutes = 0;
};

struct SelectionWork
{
    std::vector<PrePressLine> lines;
    double cost = 0, minutes = 0;
};

// The department's totals as the items, then camera work and scans are added.
struct PrePressTotals
{
    double cost = 0, retail = 0, minutes = 0;
};

// What the pre-press estimate leaves for the press estimate, which prices the items' time and the
// camera and scan work each in its own way.
struct PrePressFigures
{
    double workCost = 0, workMinutes = 0; // the five items
    double cameraCost = 0, cameraMinutes = 0;
    double scanCost = 0, scanMinutes = 0;
};

} // namespace estimator::prepress
