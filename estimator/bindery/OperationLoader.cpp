#include "estimator/bindery/OperationLoader.h"

#include <string_view>

#include "estimator/modEstimator.h"
#include "platform/Conversions.h"

namespace estimator::bindery {

namespace {

Loaded<double> number(const data::Recordset& record, std::string_view column)
{
    return Loaded<double>::read([&] { return record.field(column).number(); });
}

Loaded<bool> flag(const data::Recordset& record, std::string_view column)
{
    return Loaded<bool>::read([&] { return record.field(column).toBoolean(); });
}

// An id written into an SQL text as it is stored: 1.6 names no row, not bindery 2.
std::string idText(const Loaded<double>& id)
{
    return platform::exactText(*id);
}

// A plain value: a Null or a text that is no number is a fault, never an id 0 that would drop the
// operation from the price (or leave its category out of it) without a word.
Loaded<double> plainNumber(const data::Recordset& record, std::string_view column)
{
    return Loaded<double>::read([&] { return record.field(column).plainNumber(); });
}

SelectionRow readSelectionRow(const data::Recordset& selection)
{
    SelectionRow row;
    // Plain values: a Null or a text that is no number is a fault, never an operation on sheet size 0 or
    // a bindery that silently drops out of the price.
    row.binderyId = selection.field("BINDERYID").plainNumber();
    row.sheetSizeCode = platform::toInt16(selection.field("SHEETSIZE").plainNumber());
    row.difficulty = number(selection, "DIFFICULTY");
    row.runs = number(selection, "RUNS");
    row.setups = number(selection, "SETUPS");
    row.percentOfRun = number(selection, "PCTOFRUN");
    row.speedEfficiency = number(selection, "SPEEDEFFICIENCY");
    row.speedKFactor = number(selection, "SPEEDKFACTOR");
    row.spoilEfficiency = number(selection, "SPOILEFFICIENCY");
    row.spoilKFactor = number(selection, "SPOILKFACTOR");
    return row;
}

} // namespace

BinderyRow readBinderyRow(const data::Recordset& bindery)
{
    BinderyRow row;
    row.binderyId = number(bindery, "BINDERYID");
    row.categoryId = plainNumber(bindery, "BINDERYCATEGORYID");
    row.name = Loaded<std::string>::read([&] { return bindery.field("BINDERYNAME").formatted(); });
    row.minSpeed = number(bindery, "MINSPEED");
    row.maxSpeed = number(bindery, "MAXSPEED");
    row.minSpoilage = number(bindery, "MINSPOILAGE");
    row.maxSpoilage = number(bindery, "MAXSPOILAGE");
    row.setupTime = number(bindery, "SETUPTIME");
    row.costPerHour = number(bindery, "COSTPERHR");
    row.addlSetupTime = number(bindery, "ADDLSETUPTIME");
    row.fixedWaste = number(bindery, "FIXEDWASTE");
    row.addlRunTime = number(bindery, "ADDLRUNTIME");
    row.minCost = number(bindery, "MINCOST");
    row.foil = flag(bindery, "FOILFLAG");
    row.carbonlessSpoilage = flag(bindery, "CARBONLESSSPOILAGEFLAG");
    row.thickness = flag(bindery, "THICKNESSFLAG");
    row.multiBinder = flag(bindery, "MULTIBINDERFILEFLAG");
    row.stock = flag(bindery, "STOCKFLAG");
    row.length = flag(bindery, "LENGTHFLAG");
    row.weightBased = flag(bindery, "WTBASEDFILEFLAG");
    row.delivery = flag(bindery, "DELIVERYFILEFLAG");
    row.packaging = flag(bindery, "PACKAGINGFILEFLAG");
    row.pages = flag(bindery, "PAGESFLAG");
    row.signatures = flag(bindery, "SIGNATURESFLAG");
    return row;
}

OperationInputs loadOperation(const data::Database& db, const data::Recordset& order, std::int32_t selectionId,
                              const std::string& stockIdText)
{
    OperationInputs in;
    in.selectionId = selectionId;
    data::Recordset selection =
        db.openRecordset("SELECT * FROM BINDERYSELECTIONS WHERE BINDERYSELECTIONID = " + std::to_string(selectionId));
    in.selectionFound = selection.recordCount() > 0;
    if (!in.selectionFound)
        return in;
    in.selection = readSelectionRow(selection);
    selection.close();

    data::Recordset bindery =
        db.openRecordset("SELECT * FROM BINDERIES  WHERE BINDERYID=" + platform::exactText(in.selection.binderyId) + ";");
    in.binderyFound = bindery.recordCount() > 0;
    if (!in.binderyFound)
        return in;
    in.bindery = readBinderyRow(bindery);
    bindery.close();

    data::Recordset category = db.openRecordset(
        "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=" + Quotes("PADDING") + ",True,False) AS IsPadding " +
        "FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
        "BINDERYCATEGORIES.BINDERYCATEGORYID " +
        "WHERE BINDERIES.BINDERYID=" + platform::exactText(in.selection.binderyId) + ";");
    if (category.recordCount() > 0)
        in.paddingCategory = Loaded<bool>::read([&] { return category.field(0).toBoolean(); });
    category.close();

    data::Recordset stock = db.openRecordset("SELECT * FROM STOCK WHERE STOCKID = " + Quotes(stockIdText));
    in.stockFound = stock.recordCount() > 0;
    if (in.stockFound)
        in.stockBinderyEfficiency = number(stock, "BINDEFFPERC");
    stock.close();

    in.stockCaliper = number(order, "STOCKCALIPER");
    in.useStockPressEfficiency = flag(order, "STOCKUSEPRESSEFF");
    in.weightPerThousand = number(order, "STOCKWT1000");
    in.pressPages = number(order, "PRESSPAGES");
    return in;
}

std::optional<BinderyRow> loadSelectedBindery(const data::Database& db, const data::Recordset& selections)
{
    data::Recordset bindery = db.openRecordset("SELECT * FROM BINDERIES WHERE BINDERYID = " +
                                               platform::exactText(selections.field("BINDERYID").plainNumber()));
    if (bindery.recordCount() == 0)
        return std::nullopt;
    BinderyRow row = readBinderyRow(bindery);
    bindery.close();
    return row;
}

std::optional<std::string> loadCategoryName(const data::Database& db, const BinderyRow& bindery)
{
    data::Recordset category =
        db.openRecordset("SELECT * FROM BINDERYCATEGORIES WHERE BINDERYCATEGORYID = " + idText(bindery.categoryId));
    if (category.recordCount() == 0)
        return std::nullopt;
    std::string name = category.field("BINDERYCATEGORY").formatted();
    category.close();
    return name;
}

bool loadFixedChipPadding(const data::Database& db, const BinderyRow& bindery)
{
    data::Recordset chip = db.openRecordset(
        "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=" + Quotes("FIXED CHIP PADDING") +
        ",True,False) AS IsFixedChipPadding " +
        "FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
        "BINDERYCATEGORIES.BINDERYCATEGORYID " +
        "WHERE BINDERIES.BINDERYID=" + idText(bindery.binderyId) + ";");
    const bool fixedChip = chip.recordCount() > 0 && chip.field(0).toBoolean();
    chip.close();
    return fixedChip;
}

double loadBinderyMarkup(const data::Database& db)
{
    data::Recordset markups = db.openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'");
    const double markup = markups.recordCount() > 0 ? markups.field(0).number() : 0;
    markups.close();
    return markup;
}

} // namespace estimator::bindery
