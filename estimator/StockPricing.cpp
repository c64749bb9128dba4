#include "estimator/StockPricing.h"

#include "data/Database.h"
#include "data/Dialect.h"
#include "data/Recordset.h"
#include "estimator/Sheets.h"
#include "platform/Format.h"

namespace estimator {

StockInputs loadStock(data::Database& db, const data::Recordset& order, std::int32_t quantity)
{
    StockInputs in;
    in.pressSheets = calcPressSheets(order, quantity);
    in.pressSheetsPerParent = order.field("PRESSNUMUPPARENTSHT").number();
    in.break1 = order.field("STOCKIND1").number();
    in.break2 = order.field("STOCKIND2").number();
    in.break3 = order.field("STOCKIND3").number();
    in.sheetsPerCarton = order.field("STOCK1000CTN").number();
    in.cost1 = order.field("STOCKCOST1").number();
    in.cost2 = order.field("STOCKCOST2").number();
    in.cost3 = order.field("STOCKCOST3").number();
    in.stockIdText = platform::format(order.field("STOCKID"), "0000");

    data::Recordset markups =
        db.openRecordset("SELECT MARKUP FROM STOCKMARKUP WHERE STOCKID = " + data::sqlLiteral(in.stockIdText));
    if (markups.recordCount() > 0) {
        in.markup = markups.field(0).number();
    } else {
        markups.close();
        markups = db.openRecordset("SELECT Avg(MARKUP) AS AVGMARKUP From MARKUPS WHERE DEPARTMENT Like 'Stock*'");
        if (markups.recordCount() > 0)
            in.markup = markups.field(0).number();
    }
    markups.close();
    return in;
}

StockResults priceStock(const StockInputs& in)
{
    StockResults out;
    const double up = in.pressSheetsPerParent;
    out.parentSheets = up > 0 ? in.pressSheets / up : 0;

    // Highest break first. Break 1 only documents the smallest carton count: everything below break 2
    // pays the break-1 price.
    out.pricePerThousand = in.cost1;
    if (in.break3 * in.sheetsPerCarton * 1000 <= out.parentSheets)
        out.pricePerThousand = in.cost3;
    else if (in.break2 * in.sheetsPerCarton * 1000 <= out.parentSheets)
        out.pricePerThousand = in.cost2;

    out.cost = out.parentSheets * out.pricePerThousand / 1000;
    out.retail = (in.markup / 100 + 1) * out.cost;
    return out;
}

} // namespace estimator
