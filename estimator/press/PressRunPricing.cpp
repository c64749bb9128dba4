#include <cmath>
#include <cstdint>

#include "estimator/cPressCurves.h"
#include "estimator/modEstimator.h"
#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"
#include "platform/Conversions.h"

namespace estimator::press {

namespace {

using platform::divide;
using platform::intFloor;

// The caliper the press works to when the stock's own is unknown or out of range.
constexpr double kReferenceCaliper = 0.004;

// Speed and spoilage from the press's performance curves, kept inside what the press can do and rated
// for the job, then the caliper factor and the effects of carbonless sets and of the stock.
void rateSpeedAndSpoilage(const PressInputs& in, PressResults& out)
{
    const PressSettings& press = in.settings;
    const OrderFigures& order = in.order;
    const double U = order.numberUp;

    // The curves see the difficulty as entered (0 gives them a speed of 0, which the clamp below lifts
    // to the press's minimum).
    {
        cPressCurves curves;
        curves.StockPressEfficiency(press.stockPressEfficiency);
        curves.UseStockPressFile(press.useStockPressEfficiency);
        curves.PressEfficiency(press.speedEfficiency);
        curves.PressKFactor(press.speedKFactor);
        curves.SpoilEfficiency(press.spoilEfficiency);
        curves.SpoilKFactor(press.spoilKFactor);
        curves.Difficulty(press.difficulty);
        curves.PressMin(press.minSpeed);
        curves.PressMax(press.maxSpeed);
        curves.MinSpoil(press.minSpoilage);
        curves.MaxSpoil(press.maxSpoilage);
        curves.Caliper(out.stockCaliper == 0 ? kReferenceCaliper : out.stockCaliper);
        curves.NumUp(U == 0 ? 1 : U);
        curves.NumOn(order.pressDiffFactor == 0 ? 1 : order.pressDiffFactor);
        curves.Ordered(order.piecesToProduce);
        out.curveSpeed = platform::toInt32(curves.Speed());
        out.curveSpoilage = curves.Spoilage();
    }

    // A rating of 11 or more is not a rating at all but the speed the estimator wants the job priced at.
    if (out.curveSpeed > press.maxSpeed)
        out.curveSpeed = press.maxSpeed;
    if (out.curveSpeed < press.minSpeed)
        out.curveSpeed = press.minSpeed;
    if (out.curveSpoilage > press.maxSpoilage)
        out.curveSpoilage = press.maxSpoilage;
    if (out.curveSpoilage < press.minSpoilage)
        out.curveSpoilage = press.minSpoilage;
    const std::int32_t d = press.difficulty == 0 ? 5 : press.difficulty;
    if (d < 11) {
        out.pressSpeed = platform::multiply32(d, out.curveSpeed) / 5.0;
        out.pressSpoilage = out.curveSpoilage * 5 / d;
    } else {
        out.pressSpeed = d;
        out.pressSpoilage = out.curveSpoilage;
    }

    // Caliper factor: stock far from the reference caliper makes more plate-change spoilage.
    if (!(out.stockCaliper > 0.0001) || out.stockCaliper > 0.9)
        out.stockCaliper = kReferenceCaliper;
    const double r = out.stockCaliper / kReferenceCaliper;
    double p = r >= 1 ? r : kReferenceCaliper / out.stockCaliper;
    if (p < 1)
        p = 1;
    if (order.stockSelected)
        out.caliperFactor = press.stockPressEfficiency > 0 ? 1 : 0;
    else
        out.caliperFactor = std::pow(2.71828, -((p - 1) * (p - 1)) / 2) * (1 / std::sqrt(3.14159)) * 1.77258;
    if (out.caliperFactor < 0.7)
        out.caliperFactor = 0.7;

    // Carbonless sets spoil a set for every spoiled part; a stock with its own press efficiency runs
    // slower and spoils more in proportion.
    if (press.carbonlessImpact)
        out.pressSpoilage = out.pressSpoilage * order.parts;
    if (order.stockSelected && press.stockImpact && press.useStockPressEfficiency && press.stockPressEfficiency > 0) {
        const double e = press.stockPressEfficiency;
        out.pressSpeed = intFloor(out.pressSpeed * e / 100 + 0.5);
        out.pressSpoilage = out.pressSpoilage * 100 / e;
    }
    out.report.pressSpeed = platform::toInt32(out.pressSpeed);
    out.report.pressSpoilagePercent = out.pressSpoilage;
}

// Total spoilage (running spoilage, make-ready sheets of every plate, and the bindery's share), then the
// running time and the time spent running the spoiled sheets.
void spoilageAndRunningTime(const PressInputs& in, PressResults& out)
{
    const PressSettings& press = in.settings;
    const OrderFigures& order = in.order;
    const double P = order.piecesToProduce;
    const double U = order.numberUp;
    const double S = order.signatures;
    const double N = press.passes;
    const double L = press.plates;
    const double K = press.sheetsPerPlate;
    const double v = out.pressSpeed;
    const double s = out.pressSpoilage;
    const double c = out.caliperFactor;

    // How many sheets one feeder load holds.
    const double roundedSignatures = intFloor(S + 0.6);
    if (order.pressTypeZero) {
        out.feederStack = out.feederSheets;
        if (roundedSignatures > 1)
            out.feederStack = std::pow(out.feederSheets, roundedSignatures - 1);
    } else {
        out.feederStack = divide(press.feederHeight, out.stockCaliper == 0 ? kReferenceCaliper : out.stockCaliper);
    }

    // Sheets the bindery spoils, as a share of the net press sheets.
    out.binderySpoilage = in.bindery.spoilagePercent;
    out.report.binderySpoilagePercent = out.binderySpoilage;
    out.binderyShare = divide(in.bindery.waste * U, P * S) * 100;
    const double Q = out.binderyShare;
    const double B = out.binderySpoilage;

    double T;
    if (order.pressTypeZero) {
        T = divide(divide(K * s * L * U, P) * 100, roundedSignatures) + divide(1, c) + Q + B;
    } else {
        const double plateSheets = platform::multiply32(press.sheetsPerPlate, press.plates);
        T = divide(N * s, S) + divide(divide(divide(plateSheets * U, P) * 100, S), c) + Q;
    }
    if (!(T > 0))
        T = 0.0001;
    out.totalSpoilage = T;
    out.report.totalSpoilagePercent = T;

    out.runHours = divide(divide(P, v) * N, U);
    out.report.runHours = out.runHours;
    out.report.runHoursText = ConvertHours(out.runHours);

    // Washing up every printing head.
    out.washupMinutes = press.washupTime * press.printHeads;

    // Time spent running the spoiled sheets, pass by pass.
    if (order.pressTypeZero) {
        double x = divide((s + Q) / 100 * P, U);
        x = divide(L, roundedSignatures) * K + x;
        out.spoilageHours = divide(x, v);
    } else {
        const std::int16_t n = platform::toInt16(divide(N, S));
        double x = 0;
        // A 32-bit counter, so that the largest pass count still ends the loop.
        for (std::int32_t pass = 1; pass <= n; ++pass) {
            x = divide((pass * s + Q) / 100 * P, U) + x;
            x = divide(L, pass * S) * K + x;
        }
        out.spoilageHours = n < 1 ? 0 : divide(x, v) * S;
    }
    out.report.spoilageHours = out.spoilageHours;
    out.report.spoilageHoursText = ConvertHours(out.spoilageHours);
}

// Plates wear out: a long run needs fresh sets, each mounted again. Then the make-ready, the job's hours
// and the press time at the press's rate.
void platesMakeReadyAndPressTime(const PressInputs& in, PressResults& out)
{
    const PressSettings& press = in.settings;
    const OrderFigures& order = in.order;
    const PrePressHandover& prePress = in.prePress;
    const double P = order.piecesToProduce;
    const double U = order.numberUp;
    const double S = order.signatures;
    const double N = press.passes;
    const double L = press.plates;
    const double R = press.costPerHour;
    const bool workAndTurn = press.pressSpec == 1;
    const double roundedSignatures = intFloor(S + 0.6);

    out.impressions = divide(P, U);
    if (workAndTurn)
        out.impressions = out.impressions * 2;
    out.plateSets = 1;
    if (press.impressionsPerPlate > 0 && intFloor(out.impressions / press.impressionsPerPlate + 1) > 1)
        out.plateSets = intFloor(out.impressions / press.impressionsPerPlate + 1);
    out.totalPlates = L * out.plateSets;
    double m = press.mountingTime * L;
    if (out.plateSets > 1)
        m = press.remountTime * L * (out.plateSets + 1) + m;
    if (workAndTurn)
        m = press.wtTime * L + m;
    out.plateMinutes = m;
    out.mountingPerPlate = divide(m, out.totalPlates);
    if (order.pressTypeZero)
        out.makeReadyHours = (roundedSignatures * press.feederLoadingTime + m) / 60;
    else if (out.feederStack > 0)
        out.makeReadyHours = (divide(press.feederLoadingTime * P * N, out.feederStack * U) + m) / 60;
    else
        out.makeReadyHours = (press.feederLoadingTime + m) / 60;
    out.makeReadyHours = (press.regGuideTime * L + press.deliveryTime + press.setupTime) / 60 + out.makeReadyHours;
    out.report.makeReadyHours = out.makeReadyHours;
    out.report.makeReadyHoursText = ConvertHours(out.makeReadyHours);

    // All the hours of the job.
    out.totalHours = out.runHours + out.spoilageHours + out.makeReadyHours + in.bindery.hours
                     + prePress.scanMinutes / 60 + prePress.workMinutes / 60 + prePress.cameraMinutes / 60
                     + out.washupMinutes / 60;

    out.runCost = R * out.runHours;
    out.spoilageCost = R * out.spoilageHours;
    out.makeReadyCost = R * out.makeReadyHours;
    out.report.runCost = out.runCost;
    out.report.spoilageCost = out.spoilageCost;
    out.report.makeReadyCost = out.makeReadyCost;
    out.prePressCost = prePress.workCost + prePress.cameraCost + prePress.scanCost;
}

// Stock for the press at the price break the parent sheets reach, the plates (metal plates reported apart
// from paper and film ones), the washup and the job's hours.
void stockPlatesAndWashup(const PressInputs& in, PressResults& out)
{
    const PressSettings& press = in.settings;
    const StockPrices& stock = in.stock;
    const double P = in.order.piecesToProduce;
    const double U = in.order.numberUp;
    const double S = in.order.signatures;
    const double R = press.costPerHour;
    const double T = out.totalSpoilage;

    stock.pricesRead.raiseIfFailed();
    const double perParent = in.order.pressSheetsPerParent == 0 ? 1 : in.order.pressSheetsPerParent;
    out.parentSheets = divide(P, perParent * U) * S;
    double pricePerThousandParents;
    if (stock.cartonThousands * stock.break2 * 1000 > out.parentSheets)
        pricePerThousandParents = stock.cost1;
    else if (stock.break3 * 1000 + stock.cartonThousands > out.parentSheets)
        pricePerThousandParents = stock.cost2;
    else
        pricePerThousandParents = stock.cost3;
    out.stockPricePerThousand = divide(pricePerThousandParents, perParent);
    out.pressStockCost = divide(out.stockPricePerThousand * S, U) * P / 1000;
    out.spoilageStockCost = out.pressStockCost * T / 100;
    out.report.pressStockCost = out.pressStockCost;
    out.report.spoilageStockCost = out.spoilageStockCost;

    out.plateCost = out.totalPlates * press.costPerPlate;
    out.report.plates = platform::toInt16(out.totalPlates);
    press.plateNameRead.raiseIfFailed();
    out.report.plateCostMetal = press.metalPlate ? out.plateCost : 0;
    out.report.plateCostOther = press.metalPlate ? 0 : out.plateCost;

    out.washupCost = press.washupTime / 60 * R * press.printHeads;
    out.report.washupCost = out.washupCost;
    out.report.washupMinutes = out.washupMinutes;
    out.report.washupMinutesText = ConvertMinutes(out.washupMinutes);

    // The job's hours, and the press's own share of them.
    out.report.totalHours = out.totalHours;
    out.report.totalHoursText = ConvertHours(out.totalHours);
    out.report.pressHours = out.runHours + out.spoilageHours + out.makeReadyHours + out.washupMinutes / 60;
}

// Press sheets to order (the net sheets and the spoilage on top), their paper weights, and the effective
// speed: the run's impressions over the time the press is busy with them, feeder reloads included.
void sheetsWeightsAndEffectiveSpeed(const PressInputs& in, PressResults& out)
{
    const PressSettings& press = in.settings;
    const OrderFigures& order = in.order;
    const double P = order.piecesToProduce;
    const double U = order.numberUp;
    const double S = order.signatures;
    const double N = press.passes;
    const double L = press.plates;
    const double T = out.totalSpoilage;
    const bool workAndTurn = press.pressSpec == 1;

    out.spoilageSheets = divide(T * P, U) * S / 100;
    out.pressSheetsToOrder = divide(P * S, U) + out.spoilageSheets;
    out.report.spoilageSheets = platform::toInt32(out.spoilageSheets);
    out.report.pressSheetsToOrder = platform::toInt32(out.pressSheetsToOrder);
    out.engine.PressSheetsToOrder = platform::toInt32(out.pressSheetsToOrder);

    // STOCKWT1000 is the weight of a thousand parent sheets.
    in.stock.weightRead.raiseIfFailed();
    const double perParent = order.pressSheetsPerParent == 0 ? 1 : order.pressSheetsPerParent;
    const double weightPerThousand = in.stock.weightPerThousand;
    out.pressSheetWeight = weightPerThousand / perParent / 1000 * out.pressSheetsToOrder;
    if (order.parentSheetKnown)
        out.usedPaperWeight = (out.pressSheetsToOrder - out.spoilageSheets) * weightPerThousand / (perParent * 1000)
                              * order.parentUsageRatio;
    else
        out.usedPaperWeight = 0;
    out.report.pressSheetWeight = out.pressSheetWeight;
    out.report.usedPaperWeight = out.usedPaperWeight;

    double f = press.mountingTime * L;
    if (workAndTurn)
        f = f + press.wtTime * L;
    double loads;
    if (out.feederStack > 0) {
        loads = divide(N * P, out.feederStack * U);
        if (loads > 1)
            loads = loads - 1;
    } else {
        loads = 1;
    }
    const double baseMakeReady = (loads * press.feederLoadingTime + f) / 60;
    if (out.makeReadyHours > baseMakeReady) {
        out.effectiveSpeed =
            intFloor(divide(divide(P, U) * N, out.makeReadyHours - baseMakeReady + out.runHours) + 0.5);
        if (out.effectiveSpeed < 0)
            out.effectiveSpeed = out.pressSpeed;
    } else {
        out.effectiveSpeed = out.pressSpeed;
    }
    out.report.effectiveSpeed = platform::toInt32(out.effectiveSpeed);
}

} // namespace

void pricePressRun(const PressInputs& in, PressResults& out)
{
    out.stockCaliper = in.bindery.stockCaliper;
    out.feederSheets = in.settings.feederHeight / kReferenceCaliper;
    rateSpeedAndSpoilage(in, out);
    spoilageAndRunningTime(in, out);
    platesMakeReadyAndPressTime(in, out);
    stockPlatesAndWashup(in, out);
    sheetsWeightsAndEffectiveSpeed(in, out);
}

} // namespace estimator::press
