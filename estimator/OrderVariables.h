#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace data {
class Recordset;
}

namespace estimator {

// The order part's variables as the bindery and press estimates work from them: counts with the
// shop's defaults in place (0 read as 1) and the four sheet sizes read into dimensions.
struct OrderVariables
{
    std::int16_t stockSelected = 0; // 1 when the order names a stock item
    std::int16_t pressTypeZero = 0; // 1 for a duplicator (press type 0 or empty)
    double parts = 0;               // sheets in a carbonless set, at least 1
    double pressDiffFactor = 0;     // press-sheet difference factor, at least 1
    double piecesToProduce = 0;     // quantity x parts x difference factor
    double numberUp = 0;            // pieces on a press sheet, by size, at least 1
    double pressSheetsPerParent = 0; // by size, at least 1
    std::int16_t productionType = 0; // 0 sheet work, 1 book work
    double signatures = 0;           // at least 1
    std::string finishedSizeText, bleedSizeText, pressSizeText, parentSizeText;
    std::array<double, 10> sheetDim{}; // 0,1 bleed; 2,3 finished; 4,5 press sheet; 6,7 parent sheet
    double parentUsageRatio = 0;       // share of a parent sheet one press sheet's work uses
};

// Reads the variables of the order row for the quantity being priced, in the order the estimates always
// read them. A fault (a missing column, a stock without parent size) ends the load and passes up; what
// was read before it stays in `into`.
void loadOrderVariables(const data::Recordset& order, std::int32_t quantity, OrderVariables& into);

} // namespace estimator
