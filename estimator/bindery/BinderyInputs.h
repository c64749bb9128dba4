#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/Fault.h"

namespace estimator::bindery {

// A column as the loader read it: its value, or the fault reading it raised (a text in a yes/no column,
// a column the table lacks). The fault is raised again where the costing first uses the value, so an
// operation still fails at the step that uses the column, and under the bindery's rule of passing over
// failing statements only that statement is passed over.
template <class T>
class Loaded
{
public:
    Loaded() = default;
    Loaded(T value) : m_value(std::move(value)) {} // NOLINT: a plain value is a column read without fault

    template <class Read>
    static Loaded read(Read&& read)
    {
        Loaded loaded;
        try {
            loaded.m_value = std::forward<Read>(read)();
        } catch (const platform::Fault& fault) {
            loaded.m_fault = fault;
        }
        return loaded;
    }

    const T& operator*() const
    {
        if (m_fault)
            throw *m_fault;
        return m_value;
    }

private:
    T m_value{};
    std::optional<platform::Fault> m_fault;
};

// The order's figures the bindery works from, as the order-variable loader left them. The bindery
// estimate changes pieces to produce and signatures around an operation of a signature bindery.
struct OrderFigures
{
    double piecesToProduce = 0;
    double parts = 1;            // STOCKPARTS, at least 1
    double pressDiffFactor = 1;  // press-sheet difference factor, 0 read as 1
    std::int16_t productionType = 0; // 0 sheet work, 1 book work
    double numberUp = 1;         // pieces on a press sheet
    double pressSheetsPerParent = 1;
    double signatures = 1;
    double parentUsageRatio = 0;
    std::array<double, 10> sheetDim{}; // 0,1 bleed; 2,3 finished; 4,5 press sheet; 6,7 parent sheet
    std::int16_t stockSelected = 0;    // 1 when the order names a stock item
};

// A BINDERIES row: the machine or service and how it is priced. Numbers are read through their
// formatted text, but for the category id, a plain value like the selection's bindery id; flags read
// Null as "no".
struct BinderyRow
{
    Loaded<double> binderyId, categoryId;
    Loaded<std::string> name; // BINDERYNAME as formatted
    Loaded<double> minSpeed, maxSpeed, minSpoilage, maxSpoilage;
    Loaded<double> setupTime, costPerHour, addlSetupTime, fixedWaste, addlRunTime, minCost;
    Loaded<bool> foil, carbonlessSpoilage, thickness, multiBinder, stock, length;
    Loaded<bool> weightBased, delivery, packaging, pages, signatures;
};

// A BINDERYSELECTIONS row: the job's settings of one operation. The bindery id and the sheet size are
// plain values (a Null or a stray text faults when the row is loaded); the bindery is looked up by its id
// as stored, so an id that is no whole number names no bindery.
struct SelectionRow
{
    double binderyId = 0;
    std::int16_t sheetSizeCode = 0; // 0 finished, 1 bleed, 2 press sheet, 3 parent sheet
    Loaded<double> difficulty, runs, setups, percentOfRun;
    Loaded<double> speedEfficiency, speedKFactor, spoilEfficiency, spoilKFactor;
};

// Everything one bindery operation is costed from, read from the shop database in one go.
struct OperationInputs
{
    std::int32_t selectionId = 0;
    bool selectionFound = false;
    SelectionRow selection;
    bool binderyFound = false;
    BinderyRow bindery;
    Loaded<bool> paddingCategory; // the bindery's category is PADDING
    bool stockFound = false;
    Loaded<double> stockBinderyEfficiency; // STOCK.BINDEFFPERC of the order's stock
    // Of the order row.
    Loaded<double> stockCaliper, weightPerThousand, pressPages;
    Loaded<bool> useStockPressEfficiency;
};

} // namespace estimator::bindery
