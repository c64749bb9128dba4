#pragma once

#include <cstdint>
#include <string>

namespace data {
class Database;
class Recordset;
} // namespace data

namespace estimator {

// The order's stock as the stock estimate prices it: press sheets for the quantity, how many press sheets
// a parent sheet gives, the three carton price breaks, and the markup that applies to the stock.
struct StockInputs
{
    double pressSheets = 0;      // for the quantity being priced
    double pressSheetsPerParent = 0; // PRESSNUMUPPARENTSHT as entered; 0 or less buys nothing
    double break1 = 0, break2 = 0, break3 = 0; // STOCKIND1..3, in cartons
    double sheetsPerCarton = 0;  // STOCK1000CTN, in thousands of sheets
    double cost1 = 0, cost2 = 0, cost3 = 0; // a thousand parent sheets at each break
    std::string stockIdText;     // STOCKID as "0000"; the bindery looks the stock up by it
    double markup = 0;           // per cent
};

struct StockResults
{
    double parentSheets = 0;     // fractional: a count that does not divide evenly is priced as is
    double pricePerThousand = 0;
    double cost = 0;
    double retail = 0;
};

// Reads the order's stock columns and its markup: the stock's own (STOCKMARKUP) when the shop set one,
// else the average of its stock departments. Faults of the database pass up.
StockInputs loadStock(data::Database& db, const data::Recordset& order, std::int32_t quantity);

// Prices the parent sheets at the highest carton break they reach.
StockResults priceStock(const StockInputs& in);

} // namespace estimator
