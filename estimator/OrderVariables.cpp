#include "estimator/OrderVariables.h"

#include <cmath>

#include "data/Recordset.h"
#include "estimator/Sheets.h"
#include "platform/Conversions.h"

namespace estimator {

void loadOrderVariables(const data::Recordset& order, std::int32_t quantity, OrderVariables& into)
{
    const platform::Value& stockId = order.field("STOCKID");
    into.stockSelected = (!stockId.isNull() && stockId.number() != 0) ? 1 : 0;
    into.pressTypeZero = order.field("PRESSTYPE").number() == 0 ? 1 : 0;

    into.parts = order.field("STOCKPARTS").number();
    if (into.parts == 0)
        into.parts = 1;
    into.piecesToProduce = quantity * into.parts;
    into.pressDiffFactor = order.field("PRESSDIFFFRMPRESSSHT").number();
    if (into.pressDiffFactor == 0)
        into.pressDiffFactor = 1;
    into.piecesToProduce = into.pressDiffFactor * into.piecesToProduce;

    into.numberUp = std::fabs(order.field("PRESSNUMUPPRESSSHT").number());
    if (into.numberUp == 0)
        into.numberUp = 1;
    into.pressSheetsPerParent = std::fabs(order.field("PRESSNUMUPPARENTSHT").number());
    if (into.pressSheetsPerParent == 0)
        into.pressSheetsPerParent = 1;
    into.productionType = platform::toInt16(order.field("PRODUCTIONTYPE").number());
    into.signatures = order.field("PRESSSIGNATURES").number();
    if (into.signatures == 0)
        into.signatures = 1;

    into.finishedSizeText = order.field("PRESSFINISHEDSIZE").formatted();
    into.bleedSizeText = order.field("PRESSBLEEDSIZE").formatted();
    into.pressSizeText = order.field("PRESSSIZE").formatted();
    into.parentSizeText = order.field("STOCKPARENTSIZE").formatted();

    std::array<double, 10>& dim = into.sheetDim;
    dim[0] = readDimension(into.bleedSizeText, 0, "X");
    dim[1] = readDimension(into.bleedSizeText, 1, "X");
    dim[2] = readDimension(into.finishedSizeText, 0, "X");
    dim[3] = readDimension(into.finishedSizeText, 1, "X");
    dim[4] = readDimension(into.pressSizeText, 0, "X");
    dim[5] = readDimension(into.pressSizeText, 1, "X");
    dim[6] = readDimension(into.parentSizeText, 0, "X");
    dim[7] = readDimension(into.parentSizeText, 1, "X");

    // How much of a parent sheet one press sheet's work uses: sheet-mode jobs by their finished pieces,
    // book-mode jobs by the whole press sheet.
    const double area = into.productionType == 0 ? dim[2] * dim[3] * into.numberUp : dim[4] * dim[5];
    if (into.stockSelected == 1)
        into.parentUsageRatio = platform::divide(area * into.pressSheetsPerParent, dim[6] * dim[7]);
    else
        into.parentUsageRatio = 0;
}

} // namespace estimator
