#include <cstdint>
#include <string>

#include "estimator/Sheets.h"
#include "estimator/cEstimator.h"
#include "estimator/press/PressInputs.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/FixedText.h"

namespace estimator {

namespace press {

double numberAsRead(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        platform::raise(platform::fault::InvalidUseOfNull);
    case Kind::Text:
        if (!platform::isNumeric(value.text()))
            platform::raise(platform::fault::TypeMismatch);
        return platform::val(value.text());
    case Kind::Integer:
    case Kind::Double:
    case Kind::Boolean:
    case Kind::Date:
        break;
    }
    return value.real();
}

std::int32_t longAsRead(const platform::Value& value)
{
    return platform::toInt32(numberAsRead(value));
}

} // namespace press

namespace {

std::int16_t integerColumn(const data::Recordset& rs, const char* name)
{
    return platform::toInt16(rs.field(name).number());
}

std::int32_t longColumn(const data::Recordset& rs, const char* name)
{
    return platform::toInt32(rs.field(name).number());
}

double doubleColumn(const data::Recordset& rs, const char* name)
{
    return rs.field(name).number();
}

bool flagColumn(const data::Recordset& rs, const char* name)
{
    return rs.field(name).toBoolean();
}

// Runs the reads of a late group, keeping their failure for the pricing to raise.
template <typename Reads>
press::LateRead lateRead(Reads reads)
{
    try {
        reads();
        return {};
    } catch (...) {
        return {std::current_exception()};
    }
}

// Whether the ink pricing can read a selection's mileage and coverage (it reads them only with a mileage).
bool inkReadable(const press::InkSelection& selection)
{
    if (!(selection.mileage.number() > 0))
        return true;
    try {
        press::numberAsRead(selection.mileage);
        press::numberAsRead(selection.coverage);
        return true;
    } catch (const platform::Fault&) {
        return false;
    }
}

// The press and plate settings; a setting the shop left at 0 takes its default.
void readSettings(const data::Recordset& order, const data::Recordset& pressRow, const data::Recordset& plateRow,
                  press::PressSettings& press)
{
    press.feederHeight = press::numberAsRead(pressRow.field("FEEDERHEIGHT"));
    press.speedEfficiency = integerColumn(order, "PRESSSPEEDEFF");
    if (press.speedEfficiency == 0)
        press.speedEfficiency = 20;
    press.speedKFactor = integerColumn(order, "PRESSSPEEDKFACTOR");
    if (press.speedKFactor == 0)
        press.speedKFactor = 5;
    press.spoilEfficiency = integerColumn(order, "PRESSSPOILEFF");
    if (press.spoilEfficiency == 0)
        press.spoilEfficiency = 20;
    press.spoilKFactor = integerColumn(order, "PRESSSPOILKFACTOR");
    if (press.spoilKFactor == 0)
        press.spoilKFactor = 20;
    press.minSpeed = longColumn(pressRow, "MINSPEED");
    press.maxSpeed = longColumn(pressRow, "MAXSPEED");
    press.minSpoilage = doubleColumn(pressRow, "MINSPOILAGE");
    press.maxSpoilage = doubleColumn(pressRow, "MAXSPOILAGE");
    press.useStockPressEfficiency = flagColumn(order, "STOCKUSEPRESSEFF");
    press.difficulty = integerColumn(order, "PRESSDIFFICULTY");
    press.plates = longColumn(order, "PRESSPLATES");
    if (press.plates < 1)
        press.plates = 1;
    press.passes = longColumn(order, "PRESSPASSES");
    if (press.passes < 1)
        press.passes = 1;
    press.printHeads = longColumn(order, "PRESSPRINTHEADS");
    press.pressSpec = doubleColumn(order, "PRESSSPEC");
    press.carbonlessImpact = flagColumn(pressRow, "CARBONLESSIMPACTFLAG");
    press.stockImpact = flagColumn(pressRow, "STOCKIMPACTFLAG");
    press.washupTime = doubleColumn(pressRow, "WASHUPTIME");
    press.fountainWaste = doubleColumn(pressRow, "FOUNTAINWASTE");
    press.feederLoadingTime = doubleColumn(pressRow, "FEEDERLOADINGTIME");
    press.regGuideTime = doubleColumn(pressRow, "REGGUIDETIME");
    press.deliveryTime = doubleColumn(pressRow, "DELIVERYTIME");
    press.setupTime = doubleColumn(pressRow, "SETUPTIME");
    press.costPerHour = doubleColumn(pressRow, "COSTPERHOUR");
    press.sheetsPerPlate = longColumn(plateRow, "SHEETSPERPLATE");
    press.impressionsPerPlate = doubleColumn(plateRow, "IMPRESSIONSPERPLATE");
    press.mountingTime = doubleColumn(plateRow, "MOUNTINGTIME");
    press.remountTime = doubleColumn(plateRow, "REMOUNTTIME");
    press.wtTime = doubleColumn(plateRow, "WTTIME");
    press.costPerPlate = doubleColumn(plateRow, "COSTPERPLATE");
    // Metal plates are reported apart from paper and film ones.
    press.plateNameRead = lateRead([&] {
        const std::string plateName = platform::upperCase(plateRow.field("PLATENAME").formatted());
        const std::string plateDesc = platform::upperCase(plateRow.field("PLATEDESC").formatted());
        press.metalPlate = plateName.find("METAL") != std::string::npos || plateDesc.find("METAL") != std::string::npos;
    });
}

void readStockPrices(const data::Recordset& order, press::StockPrices& stock)
{
    stock.pricesRead = lateRead([&] {
        stock.cartonThousands = doubleColumn(order, "STOCK1000CTN");
        stock.break2 = doubleColumn(order, "STOCKIND2");
        stock.break3 = doubleColumn(order, "STOCKIND3");
        stock.cost1 = doubleColumn(order, "STOCKCOST1");
        stock.cost2 = doubleColumn(order, "STOCKCOST2");
        stock.cost3 = doubleColumn(order, "STOCKCOST3");
    });
    stock.weightRead = lateRead([&] { stock.weightPerThousand = doubleColumn(order, "STOCKWT1000"); });
}

} // namespace

// The order variables of the quantity and what the bindery and pre-press estimates left for the press.
press::PressInputs cEstimator::LoadPressHandover()
{
    press::PressInputs in;
    press::OrderFigures& order = in.order;
    order.quantity = currentQuantityValue();
    const OrderVariables& v = m_orderVariables;
    order.piecesToProduce = v.piecesToProduce;
    order.numberUp = v.numberUp;
    order.signatures = v.signatures;
    order.parts = v.parts;
    order.pressDiffFactor = v.pressDiffFactor;
    order.pressSheetsPerParent = v.pressSheetsPerParent;
    order.stockSelected = v.stockSelected == 1;
    order.pressTypeZero = v.pressTypeZero == 1;
    order.parentSheetKnown = v.sheetDim[6] != 0 && v.sheetDim[7] != 0;
    order.parentUsageRatio = v.parentUsageRatio;

    const SummaryRecord& record = summary();
    const BinderyReportRow& totals = m_binderyTotals.at(static_cast<std::size_t>(m_currentQuantity));
    press::BinderyHandover& bindery = in.bindery;
    bindery.stockCaliper = m_stockCaliper;
    bindery.spoilagePercent = totals.spoilagePercent;
    bindery.waste = totals.waste;
    bindery.cost = totals.cost;
    bindery.retail = totals.retail;
    bindery.setupMinutes = totals.setupMinutes;
    bindery.costPerHour = m_costPerHour;
    bindery.hours = record.binderyHours;

    press::PrePressHandover& prePress = in.prePress;
    prePress.workMinutes = m_prePress.workMinutes;
    prePress.cameraMinutes = m_prePress.cameraMinutes;
    prePress.scanMinutes = m_prePress.scanMinutes;
    prePress.workCost = m_prePress.workCost;
    prePress.cameraCost = m_prePress.cameraCost;
    prePress.scanCost = m_prePress.scanCost;
    prePress.resultCost = m_results.ResPrePressCost;
    prePress.reportCost = record.prePressCost;
    prePress.reportHours = record.prePressHours;
    prePress.reportRetail = record.prePressRetail;
    return in;
}

// The order's press and plate and their settings. False when either is not on file.
bool cEstimator::LoadPressRows(const data::Recordset& order, press::PressInputs& in)
{
    press::PressSettings& press = in.settings;
    press.pressId = press::longAsRead(order.field("PRESSID"));
    const data::Recordset pressRow =
        m_db.openRecordset("SELECT * FROM PRESSES " + std::string("WHERE PRESSID = ") + std::to_string(press.pressId));
    if (pressRow.recordCount() == 0)
        return false;

    // How well the chosen stock runs on a press; a job without stock runs at full efficiency.
    m_stockPressEfficiency = order.field("STOCKID").number() == 0 ? 100 : doubleColumn(order, "STOCKPRESSEFFPERC");
    press.stockPressEfficiency = m_stockPressEfficiency;

    press.plateId = longColumn(order, "PRESSPLATEID");
    const data::Recordset plateRow =
        m_db.openRecordset("SELECT * FROM PLATES " + std::string("WHERE PLATEID = ") + std::to_string(press.plateId));
    if (plateRow.recordCount() == 0)
        return false;

    readSettings(order, pressRow, plateRow, press);
    readStockPrices(order, in.stock);
    return true;
}

// The press sheet's size and the order part's inks: whether there is any black and any other colour, and
// every stock colour selected with its selections.
press::InkInputs cEstimator::LoadInks(const data::Recordset& order) const
{
    press::InkInputs inks;
    const std::string pressSize = order.field("PRESSSIZE").formatted();
    inks.sheetWidth = readDimension(pressSize, 0, "X");
    inks.sheetLength = readDimension(pressSize, 1, "X");

    const std::string keyCondition = "WHERE " + m_key.where("INKSELECTIONS");
    const std::string distinctColours = "SELECT DISTINCT COLORID AS ID, INKCOLOR AS COLOR FROM INKSELECTIONS ";

    // Any name with "black" in it counts as black here.
    data::Recordset colours =
        m_db.openRecordset(distinctColours + keyCondition + " AND COLORID <> 0 AND UCASE(INKCOLOR) LIKE '*BLACK*'");
    inks.hasBlack = colours.recordCount() > 0;
    colours = m_db.openRecordset(distinctColours + keyCondition
                                 + " AND COLORID <> 0 AND UCASE(INKCOLOR) NOT LIKE '*BLACK*'");
    inks.hasColour = colours.recordCount() > 0;

    // PMS-only selections have COLORID 0 and are not priced here.
    colours = m_db.openRecordset(distinctColours + keyCondition + " AND COLORID <> 0");
    const bool anyColour = colours.recordCount() > 0;
    while (anyColour && !colours.eof()) {
        press::InkColour& colour = inks.colours.emplace_back();
        colour.name = platform::trim(platform::fixedText(colours.field("COLOR").formatted(), 15));
        data::Recordset selections = m_db.openRecordset(
            "SELECT INKSELECTIONS.ORDERNO, INKSELECTIONS.PARTNO, INKSELECTIONS.QUOTEORJOB, INKSELECTIONS.COLORID, "
            "INKSELECTIONS.INKCOLOR, COLORS.COSTPERLB AS CCOSTPERLB, COLORS.MILEAGE AS CMILEAGE, "
            "INKSELECTIONS.PMSID, INKSELECTIONS.PMSNO, PMSCOLORS.COSTPERLB AS PCOSTPERLB, "
            "PMSCOLORS.MILEAGE AS PMILEAGE, INKSELECTIONS.COVERAGE "
            + std::string("FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) "
                          "LEFT JOIN PMSCOLORS ON INKSELECTIONS.PMSID = PMSCOLORS.PMSID ")
            + keyCondition + " AND INKSELECTIONS.COLORID= " + colours.field("ID").formatted());
        while (!selections.eof()) {
            colour.selections.push_back({selections.field("CCOSTPERLB").number(), selections.field("CMILEAGE"),
                                         selections.field("COVERAGE")});
            // The pricing stops at a selection whose mileage or coverage it cannot read: no later colour
            // is read, as none ever was once that fault had ended the estimate.
            if (!inkReadable(colour.selections.back()))
                return inks;
            selections.moveNext();
            m_context.hooks.yieldEvents();
        }
        colours.moveNext();
        m_context.hooks.yieldEvents();
    }
    return inks;
}

// A department's markup (per cent): the first MARKUPS row whose department the query matches; a
// department the shop has not set up has no markup.
double cEstimator::ReadMarkup(const char* sql) const
{
    data::Recordset markup = m_db.openRecordset(sql);
    const double percent = markup.recordCount() > 0 ? markup.field(0).number() : 0;
    markup.close();
    return percent;
}

// The outside services at the quantity's level (and at level 1 from 1,000 pieces on), the department
// markups and, for a printed job, the order's stock markup curve.
press::JobTotalsInputs cEstimator::LoadJobTotals(const data::Recordset& order, bool printed)
{
    press::JobTotalsInputs totals;
    std::int16_t level = m_currentQuantity;
    totals.vendorCost = EstimateVendor(level);
    if (currentQuantityValue() > 999) {
        std::int16_t levelOne = 1;
        totals.vendorLevelOneCost = EstimateVendor(levelOne);
    }

    press::Markups& markups = totals.markups;
    if (printed) {
        markups.stockMinimum = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (minimum)*'");
        markups.stockMaximum = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (maximum)*'");
        markups.press = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Press*'");
    }
    markups.prePress = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Pre-Press*'");
    markups.bindery = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'");
    markups.outsideServices = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Outside Services*'");

    if (printed) {
        totals.stockMarkupByDollars = order.field("STOCKUSEDOLLARMARKUP").toBoolean();
        const char* efficiency = totals.stockMarkupByDollars ? "STOCKDOLLAREFF" : "STOCKQTYEFF";
        const char* kFactor = totals.stockMarkupByDollars ? "STOCKDOLLARKFACTOR" : "STOCKQTYKFACTOR";
        totals.stockEfficiency = order.field(efficiency).number();
        totals.stockKFactor = order.field(kFactor).number();
    }
    return totals;
}

} // namespace estimator
