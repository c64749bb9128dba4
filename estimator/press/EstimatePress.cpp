#include <cmath>
#include <memory>
#include <string>

#include "data/Dialect.h"
#include "estimator/cEstimator.h"
#include "estimator/cPressCurves.h"
#include "estimator/modEstimator.h"
#include "estimator/press/PressRun.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

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

} // namespace

// Prices the press run of the order part at the current quantity, then its ink and the whole job's
// totals. Returns the job's total cost; 0 when the order, its press or its plate cannot be found; the
// vendor cost alone when the order names no press.
double cEstimator::EstimatePress()
{
    using platform::divide;
    using platform::intFloor;

    // The working values are kept from the start, so after a fault the figures reached so far can be
    // looked into.
    auto runPtr = std::make_shared<PressRun>();
    PressRun& run = *runPtr;
    m_lastPressRun = runPtr;

    // The order row, read afresh: the pricing run has just written the quantity into it.
    data::Recordset order = m_db.openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = " + data::sqlLiteral(m_orderNo)
                                               + " AND PARTNO = " + std::to_string(m_partNo)
                                               + " AND QUOTEORJOB = " + data::sqlLiteral(m_quoteOrJob));
    if (order.recordCount() == 0) {
        order.close();
        return 0;
    }
    CheckVariables();

    // A job printed outside (or not printed at all) is only its vendor, bindery and pre-press work.
    const platform::Value& pressIdValue = order.field("PRESSID");
    if (pressIdValue.isNull() || press::numberAsRead(pressIdValue) == 0) {
        const double result = JobTotalsWithoutPress();
        order.close();
        return result;
    }

    // The press.
    run.pressId = press::longAsRead(pressIdValue);
    data::Recordset pressRow =
        m_db.openRecordset("SELECT * FROM PRESSES " + std::string("WHERE PRESSID = ") + std::to_string(run.pressId));
    if (pressRow.recordCount() == 0) {
        order.close();
        pressRow.close();
        return 0;
    }

    // How well the chosen stock runs on a press; a job without stock runs at full efficiency.
    m_stockPressEfficiency = order.field("STOCKID").number() == 0 ? 100 : doubleColumn(order, "STOCKPRESSEFFPERC");

    // The plate.
    run.plateId = longColumn(order, "PRESSPLATEID");
    data::Recordset plateRow =
        m_db.openRecordset("SELECT * FROM PLATES " + std::string("WHERE PLATEID = ") + std::to_string(run.plateId));
    if (plateRow.recordCount() == 0) {
        order.close();
        pressRow.close();
        plateRow.close();
        return 0;
    }

    // Press, plate and job settings.
    run.feederHeight = press::numberAsRead(pressRow.field("FEEDERHEIGHT"));
    run.feederSheets = run.feederHeight / 0.004;
    run.speedEfficiency = integerColumn(order, "PRESSSPEEDEFF");
    if (run.speedEfficiency == 0)
        run.speedEfficiency = 20;
    run.speedKFactor = integerColumn(order, "PRESSSPEEDKFACTOR");
    if (run.speedKFactor == 0)
        run.speedKFactor = 5;
    run.spoilEfficiency = integerColumn(order, "PRESSSPOILEFF");
    if (run.spoilEfficiency == 0)
        run.spoilEfficiency = 20;
    run.spoilKFactor = integerColumn(order, "PRESSSPOILKFACTOR");
    if (run.spoilKFactor == 0)
        run.spoilKFactor = 20;
    run.minSpeed = longColumn(pressRow, "MINSPEED");
    run.maxSpeed = longColumn(pressRow, "MAXSPEED");
    run.minSpoilage = doubleColumn(pressRow, "MINSPOILAGE");
    run.maxSpoilage = doubleColumn(pressRow, "MAXSPOILAGE");
    run.useStockPressEfficiency = flagColumn(order, "STOCKUSEPRESSEFF");
    run.difficulty = integerColumn(order, "PRESSDIFFICULTY");
    run.plates = longColumn(order, "PRESSPLATES");
    if (run.plates < 1)
        run.plates = 1;
    run.passes = longColumn(order, "PRESSPASSES");
    if (run.passes < 1)
        run.passes = 1;
    run.printHeads = longColumn(order, "PRESSPRINTHEADS");
    run.pressSpec = doubleColumn(order, "PRESSSPEC");
    run.carbonlessImpact = flagColumn(pressRow, "CARBONLESSIMPACTFLAG");
    run.stockImpact = flagColumn(pressRow, "STOCKIMPACTFLAG");
    run.washupTime = doubleColumn(pressRow, "WASHUPTIME");
    run.fountainWaste = doubleColumn(pressRow, "FOUNTAINWASTE");
    run.feederLoadingTime = doubleColumn(pressRow, "FEEDERLOADINGTIME");
    run.regGuideTime = doubleColumn(pressRow, "REGGUIDETIME");
    run.deliveryTime = doubleColumn(pressRow, "DELIVERYTIME");
    run.setupTime = doubleColumn(pressRow, "SETUPTIME");
    run.costPerHour = doubleColumn(pressRow, "COSTPERHOUR");
    run.sheetsPerPlate = longColumn(plateRow, "SHEETSPERPLATE");
    run.impressionsPerPlate = doubleColumn(plateRow, "IMPRESSIONSPERPLATE");
    run.mountingTime = doubleColumn(plateRow, "MOUNTINGTIME");
    run.remountTime = doubleColumn(plateRow, "REMOUNTTIME");
    run.wtTime = doubleColumn(plateRow, "WTTIME");
    run.costPerPlate = doubleColumn(plateRow, "COSTPERPLATE");

    const double P = m_piecesToProduce;
    const double U = m_numberUp;
    const double S = m_signatures;
    const double N = run.passes;
    const double L = run.plates;
    const double K = run.sheetsPerPlate;
    const double R = run.costPerHour;
    const bool workAndTurn = run.pressSpec == 1;

    // Speed and spoilage from the press's performance curves. The curves see the difficulty as
    // entered (0 gives them a speed of 0, which the clamp below lifts to the press's minimum).
    {
        cPressCurves curves;
        curves.StockPressEfficiency(m_stockPressEfficiency);
        curves.UseStockPressFile(run.useStockPressEfficiency);
        curves.PressEfficiency(run.speedEfficiency);
        curves.PressKFactor(run.speedKFactor);
        curves.SpoilEfficiency(run.spoilEfficiency);
        curves.SpoilKFactor(run.spoilKFactor);
        curves.Difficulty(run.difficulty);
        curves.PressMin(run.minSpeed);
        curves.PressMax(run.maxSpeed);
        curves.MinSpoil(run.minSpoilage);
        curves.MaxSpoil(run.maxSpoilage);
        curves.Caliper(m_stockCaliper == 0 ? 0.004 : m_stockCaliper);
        curves.NumUp(U == 0 ? 1 : U);
        curves.NumOn(m_pressDiffFactor == 0 ? 1 : m_pressDiffFactor);
        curves.Ordered(P);
        m_speed = platform::toInt32(curves.Speed());
        m_spoilagePercent = curves.Spoilage();
    }

    // Keep the curves inside what the press can do, then rate the job. A rating of 11 or more is
    // not a rating at all but the speed the estimator wants the job priced at.
    if (m_speed > run.maxSpeed)
        m_speed = run.maxSpeed;
    if (m_speed < run.minSpeed)
        m_speed = run.minSpeed;
    if (m_spoilagePercent > run.maxSpoilage)
        m_spoilagePercent = run.maxSpoilage;
    if (m_spoilagePercent < run.minSpoilage)
        m_spoilagePercent = run.minSpoilage;
    const std::int32_t d = run.difficulty == 0 ? 5 : run.difficulty;
    if (d < 11) {
        run.pressSpeed = platform::multiply32(d, m_speed) / 5.0;
        run.pressSpoilage = m_spoilagePercent * 5 / d;
    } else {
        run.pressSpeed = d;
        run.pressSpoilage = m_spoilagePercent;
    }

    // Caliper factor: stock far from the 0.004 reference caliper makes more plate-change spoilage.
    if (!(m_stockCaliper > 0.0001) || m_stockCaliper > 0.9)
        m_stockCaliper = 0.004;
    const double r = m_stockCaliper / 0.004;
    double p = r >= 1 ? r : 0.004 / m_stockCaliper;
    if (p < 1)
        p = 1;
    if (m_stockSelected == 1)
        run.caliperFactor = m_stockPressEfficiency > 0 ? 1 : 0;
    else
        run.caliperFactor =
            std::pow(2.71828, -((p - 1) * (p - 1)) / 2) * (1 / std::sqrt(3.14159)) * 1.77258;
    if (run.caliperFactor < 0.7)
        run.caliperFactor = 0.7;
    const double c = run.caliperFactor;

    // Carbonless sets spoil a set for every spoiled part; a stock with its own press efficiency
    // runs slower and spoils more in proportion.
    if (run.carbonlessImpact)
        run.pressSpoilage = run.pressSpoilage * m_parts;
    if (m_stockSelected == 1 && run.stockImpact && run.useStockPressEfficiency && m_stockPressEfficiency > 0) {
        const double e = m_stockPressEfficiency;
        run.pressSpeed = intFloor(run.pressSpeed * e / 100 + 0.5);
        run.pressSpoilage = run.pressSpoilage * 100 / e;
    }
    const double v = run.pressSpeed;
    const double s = run.pressSpoilage;
    summary().pressSpeed = platform::toInt32(v);
    summary().pressSpoilagePercent = s;

    // How many sheets one feeder load holds.
    const double roundedSignatures = intFloor(S + 0.6);
    if (m_pressTypeZero == 1) {
        run.feederStack = run.feederSheets;
        if (roundedSignatures > 1)
            run.feederStack = std::pow(run.feederSheets, roundedSignatures - 1);
    } else {
        run.feederStack = divide(run.feederHeight, m_stockCaliper == 0 ? 0.004 : m_stockCaliper);
    }

    // Sheets the bindery spoils, as a share of the net press sheets.
    const BinderyReportRow& bindery = m_binderyTotals.at(m_currentQuantity);
    run.binderySpoilage = bindery.spoilagePercent;
    summary().binderySpoilagePercent = run.binderySpoilage;
    run.binderyShare = divide(bindery.waste * U, P * S) * 100;
    const double Q = run.binderyShare;
    const double B = run.binderySpoilage;

    // Total spoilage: running spoilage, make-ready sheets of every plate, and the bindery's share.
    double T;
    if (m_pressTypeZero == 1) {
        T = divide(divide(K * s * L * U, P) * 100, roundedSignatures) + divide(1, c) + Q + B;
    } else {
        const double plateSheets = platform::multiply32(run.sheetsPerPlate, run.plates);
        T = divide(N * s, S) + divide(divide(divide(plateSheets * U, P) * 100, S), c) + Q;
    }
    if (!(T > 0))
        T = 0.0001;
    run.totalSpoilage = T;
    summary().totalSpoilagePercent = T;

    // Running time.
    run.runHours = divide(divide(P, v) * N, U);
    summary().runHours = run.runHours;
    summary().runHoursText = ConvertHours(run.runHours);

    // Washing up every printing head.
    run.washupMinutes = run.washupTime * run.printHeads;

    // Time spent running the spoiled sheets, pass by pass.
    if (m_pressTypeZero == 1) {
        double x = divide((s + Q) / 100 * P, U);
        x = divide(L, roundedSignatures) * K + x;
        run.spoilageHours = divide(x, v);
    } else {
        const std::int16_t n = platform::toInt16(divide(N, S));
        double x = 0;
        // A 32-bit counter, so that the largest pass count still ends the loop.
        for (std::int32_t pass = 1; pass <= n; ++pass) {
            x = divide((pass * s + Q) / 100 * P, U) + x;
            x = divide(L, pass * S) * K + x;
        }
        run.spoilageHours = n < 1 ? 0 : divide(x, v) * S;
    }
    summary().spoilageHours = run.spoilageHours;
    summary().spoilageHoursText = ConvertHours(run.spoilageHours);

    // Plates wear out: a long run needs fresh sets, each mounted again.
    run.impressions = divide(P, U);
    if (workAndTurn)
        run.impressions = run.impressions * 2;
    run.plateSets = 1;
    if (run.impressionsPerPlate > 0 && intFloor(run.impressions / run.impressionsPerPlate + 1) > 1)
        run.plateSets = intFloor(run.impressions / run.impressionsPerPlate + 1);
    run.totalPlates = L * run.plateSets;
    double m = run.mountingTime * L;
    if (run.plateSets > 1)
        m = run.remountTime * L * (run.plateSets + 1) + m;
    if (workAndTurn)
        m = run.wtTime * L + m;
    run.plateMinutes = m;
    run.mountingPerPlate = divide(m, run.totalPlates);
    if (m_pressTypeZero == 1)
        run.makeReadyHours = (roundedSignatures * run.feederLoadingTime + m) / 60;
    else if (run.feederStack > 0)
        run.makeReadyHours = (divide(run.feederLoadingTime * P * N, run.feederStack * U) + m) / 60;
    else
        run.makeReadyHours = (run.feederLoadingTime + m) / 60;
    run.makeReadyHours = (run.regGuideTime * L + run.deliveryTime + run.setupTime) / 60 + run.makeReadyHours;
    summary().makeReadyHours = run.makeReadyHours;
    summary().makeReadyHoursText = ConvertHours(run.makeReadyHours);

    // All the hours of the job.
    run.totalHours = run.runHours + run.spoilageHours + run.makeReadyHours + summary().binderyHours
                     + m_scanMinutes / 60 + m_prePressWorkMinutes / 60 + m_cameraMinutes / 60
                     + run.washupMinutes / 60;

    // Press time at the press's rate.
    run.runCost = R * run.runHours;
    run.spoilageCost = R * run.spoilageHours;
    run.makeReadyCost = R * run.makeReadyHours;
    summary().runCost = run.runCost;
    summary().spoilageCost = run.spoilageCost;
    summary().makeReadyCost = run.makeReadyCost;
    run.prePressCost = m_prePressWorkCost + m_cameraCost + m_scanCost;

    // Stock for the press at the price break the parent sheets reach.
    const double cartonSheets = doubleColumn(order, "STOCK1000CTN");
    const double break2 = doubleColumn(order, "STOCKIND2");
    const double break3 = doubleColumn(order, "STOCKIND3");
    const double stockCost1 = doubleColumn(order, "STOCKCOST1");
    const double stockCost2 = doubleColumn(order, "STOCKCOST2");
    const double stockCost3 = doubleColumn(order, "STOCKCOST3");
    m_orderStockValues[9] = cartonSheets;
    m_orderStockValues[17] = break2;
    m_orderStockValues[18] = break3;
    m_orderStockValues[10] = stockCost1;
    m_orderStockValues[11] = stockCost2;
    m_orderStockValues[12] = stockCost3;
    if (m_pressSheetsPerParent == 0)
        m_pressSheetsPerParent = 1;
    const double perParent = m_pressSheetsPerParent;
    run.parentSheets = divide(P, perParent * U) * S;
    // The first break is its cartons times the carton's thousands; the second adds one carton's
    // thousands to the break's thousands. Estimates already on file were priced this way.
    double pricePerThousandParents;
    if (cartonSheets * break2 * 1000 > run.parentSheets)
        pricePerThousandParents = stockCost1;
    else if (break3 * 1000 + cartonSheets > run.parentSheets)
        pricePerThousandParents = stockCost2;
    else
        pricePerThousandParents = stockCost3;
    run.stockPricePerThousand = divide(pricePerThousandParents, perParent);
    run.pressStockCost = divide(run.stockPricePerThousand * S, U) * P / 1000;
    run.spoilageStockCost = run.pressStockCost * T / 100;
    summary().pressStockCost = run.pressStockCost;
    summary().spoilageStockCost = run.spoilageStockCost;

    // Plates; metal plates are reported apart from paper and film ones.
    run.plateCost = run.totalPlates * run.costPerPlate;
    summary().plates = platform::toInt16(run.totalPlates);
    const std::string plateName = platform::upperCase(plateRow.field("PLATENAME").formatted());
    const std::string plateDesc = platform::upperCase(plateRow.field("PLATEDESC").formatted());
    run.metalPlate = plateName.find("METAL") != std::string::npos || plateDesc.find("METAL") != std::string::npos;
    summary().plateCostMetal = run.metalPlate ? run.plateCost : 0;
    summary().plateCostOther = run.metalPlate ? 0 : run.plateCost;

    // Washup.
    run.washupCost = run.washupTime / 60 * R * run.printHeads;
    summary().washupCost = run.washupCost;
    summary().washupMinutes = run.washupMinutes;
    summary().washupMinutesText = ConvertMinutes(run.washupMinutes);

    // The job's hours, and the press's own share of them.
    summary().totalHours = run.totalHours;
    summary().totalHoursText = ConvertHours(run.totalHours);
    summary().pressHours = run.runHours + run.spoilageHours + run.makeReadyHours + run.washupMinutes / 60;

    // Press sheets to order: the net sheets and the spoilage on top.
    run.spoilageSheets = divide(T * P, U) * S / 100;
    run.pressSheetsToOrder = divide(P * S, U) + run.spoilageSheets;
    summary().spoilageSheets = platform::toInt32(run.spoilageSheets);
    summary().pressSheetsToOrder = platform::toInt32(run.pressSheetsToOrder);
    m_results.PressSheetsToOrder = platform::toInt32(run.pressSheetsToOrder);

    // Paper weights (STOCKWT1000 is the weight of a thousand parent sheets).
    const double weightPerThousand = doubleColumn(order, "STOCKWT1000");
    run.pressSheetWeight = weightPerThousand / perParent / 1000 * run.pressSheetsToOrder;
    if (m_sheetDim[6] != 0 && m_sheetDim[7] != 0)
        run.usedPaperWeight = (run.pressSheetsToOrder - run.spoilageSheets) * weightPerThousand
                              / (perParent * 1000) * m_parentUsageRatio;
    else
        run.usedPaperWeight = 0;
    summary().pressSheetWeight = run.pressSheetWeight;
    summary().usedPaperWeight = run.usedPaperWeight;

    // Effective speed: the run's impressions over the time the press is busy with them, feeder
    // reloads included.
    double f = run.mountingTime * L;
    if (workAndTurn)
        f = f + run.wtTime * L;
    double loads;
    if (run.feederStack > 0) {
        loads = divide(N * P, run.feederStack * U);
        if (loads > 1)
            loads = loads - 1;
    } else {
        loads = 1;
    }
    const double baseMakeReady = (loads * run.feederLoadingTime + f) / 60;
    if (run.makeReadyHours > baseMakeReady) {
        run.effectiveSpeed =
            intFloor(divide(divide(P, U) * N, run.makeReadyHours - baseMakeReady + run.runHours) + 0.5);
        if (run.effectiveSpeed < 0)
            run.effectiveSpeed = v;
    } else {
        run.effectiveSpeed = v;
    }
    summary().effectiveSpeed = platform::toInt32(run.effectiveSpeed);

    // The press sheet's size, for the ink coverage.
    const std::string pressSize = order.field("PRESSSIZE").formatted();
    run.pressSheetWidth = GetDimension(pressSize, 0, "X");
    run.pressSheetLength = GetDimension(pressSize, 1, "X");

    // Ink, then the whole job.
    EstimateInk(run);
    const double totalCost = JobTotals(run, order);
    SetSummary(order);
    order.close();
    pressRow.close();
    plateRow.close();
    return totalCost;
}

} // namespace estimator
