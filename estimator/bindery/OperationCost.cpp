#include "estimator/bindery/OperationCost.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "estimator/cPressCurves.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator::bindery {

namespace {

using platform::divide;
using platform::intFloor;
using platform::toInt16;
using platform::toInt32;

// 0.999999 rounds a part count up to the next whole one without lifting an exact count.
constexpr double kRoundUp = 0.999999;

// Speeds of length-rated machines are quoted for an 11-inch sheet.
constexpr std::int32_t kReferenceLength = 11;

// How many pieces the operation handles at once, and the sheet it works on. The press sheet carries
// the number up, and a parent sheet that is cut into press sheets carries that many press sheets' worth.
// An unknown code keeps the previous operation's sheet.
void chooseSheet(const OrderFigures& order, OperationFigures& f)
{
    const auto& dim = order.sheetDim;
    switch (f.sheetSizeCode) {
    case 2:
        f.numberUp = order.numberUp;
        break;
    case 3:
        if (order.pressSheetsPerParent >= 2)
            f.numberUp = order.numberUp >= 2 ? order.pressSheetsPerParent * order.numberUp : order.pressSheetsPerParent;
        else
            f.numberUp = 1;
        break;
    default:
        f.numberUp = 1;
        break;
    }

    switch (f.sheetSizeCode) {
    case 0:
        f.sheetWidth = dim[2];
        f.sheetLength = dim[3];
        break;
    case 1:
        if (dim[0] != 0 && dim[1] != 0) {
            f.sheetWidth = dim[0];
            f.sheetLength = dim[1];
        } else {
            f.sheetWidth = dim[2];
            f.sheetLength = dim[3];
        }
        break;
    case 2:
        f.sheetWidth = dim[4];
        f.sheetLength = dim[5];
        break;
    case 3:
        if (order.pressSheetsPerParent >= 2) {
            f.sheetWidth = dim[6];
            f.sheetLength = dim[7];
        } else {
            f.sheetWidth = dim[2];
            f.sheetLength = dim[3];
        }
        break;
    default:
        break;
    }
}

// The selection's own settings: difficulty 0 reads as the neutral 5, no percentage as the whole run.
void takeSettings(const SelectionRow& selection, OperationFigures& f)
{
    f.difficulty = toInt16(*selection.difficulty);
    if (f.difficulty == 0)
        f.difficulty = 5;
    f.runs = *selection.runs;
    f.setups = *selection.setups;
    f.runFraction = *selection.percentOfRun / 100;
    if (f.runFraction == 0)
        f.runFraction = 1;
}

std::int16_t orDefault(double setting, std::int16_t fallback)
{
    const std::int16_t value = toInt16(setting);
    return value == 0 ? fallback : value;
}

// Speed and spoilage from the press curves, tuned by the selection and bounded by the bindery.
void curveSpeedAndSpoilage(const OperationInputs& in, const OrderFigures& order, OperationFigures& f)
{
    const SelectionRow& selection = in.selection;
    const BinderyRow& bindery = in.bindery;
    f.stockBinderyEfficiency = in.stockFound ? *in.stockBinderyEfficiency : 100;

    f.stockCaliper = *in.stockCaliper;
    const std::int16_t speedEfficiency = orDefault(*selection.speedEfficiency, 20);
    const std::int16_t speedKFactor = orDefault(*selection.speedKFactor, 5);
    const std::int16_t spoilEfficiency = orDefault(*selection.spoilEfficiency, 20);
    const std::int16_t spoilKFactor = orDefault(*selection.spoilKFactor, 20);
    const std::int32_t minSpeed = toInt32(*bindery.minSpeed);
    const std::int32_t maxSpeed = toInt32(*bindery.maxSpeed);
    const double minSpoilage = *bindery.minSpoilage;
    const double maxSpoilage = *bindery.maxSpoilage;
    const bool useStockPressEfficiency = *in.useStockPressEfficiency;

    cPressCurves curves;
    curves.StockPressEfficiency(f.stockBinderyEfficiency);
    curves.UseStockPressFile(useStockPressEfficiency);
    curves.PressEfficiency(speedEfficiency);
    curves.PressKFactor(speedKFactor);
    curves.SpoilEfficiency(spoilEfficiency);
    curves.SpoilKFactor(spoilKFactor);
    curves.Difficulty(f.difficulty);
    curves.PressMin(minSpeed);
    curves.PressMax(maxSpeed);
    curves.MinSpoil(minSpoilage);
    curves.MaxSpoil(maxSpoilage);
    curves.Caliper(f.stockCaliper == 0 ? kReferenceCaliper : f.stockCaliper);
    curves.NumUp(f.numberUp == 0 ? 1 : f.numberUp);
    curves.NumOn(order.pressDiffFactor == 0 ? 1 : order.pressDiffFactor);
    curves.Ordered(f.unitsForCurve);
    f.speed = toInt32(curves.Speed());
    f.spoilagePercent = curves.Spoilage();
}

// The machine's speed for this stock and sheet, and the spoilage within the bindery's range.
void adjustSpeed(const OperationInputs& in, const OrderFigures& order, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;

    // Machines rated on the reference caliper run thicker stock proportionally slower. A missing caliper
    // is taken as the reference one, and stays so for the rest of the estimate.
    if (*bindery.thickness && !*bindery.multiBinder) {
        if (f.stockCaliper <= 0)
            f.stockCaliper = kReferenceCaliper;
        f.speed = toInt32(divide(f.speed * kReferenceCaliper, f.stockCaliper));
    }

    if (*bindery.stock && order.stockSelected == 1 && f.stockBinderyEfficiency > 0) {
        f.speed = toInt32(intFloor(f.stockBinderyEfficiency / 100 * f.speed + 0.5));
        f.spoilagePercent = divide(f.spoilagePercent * 100, f.stockBinderyEfficiency);
    }

    const std::int32_t maxSpeed = toInt32(*bindery.maxSpeed);
    const double minSpoilage = *bindery.minSpoilage;
    const double maxSpoilage = *bindery.maxSpoilage;
    if (f.speed > maxSpeed)
        f.speed = maxSpeed;
    if (f.spoilagePercent < minSpoilage)
        f.spoilagePercent = minSpoilage;
    if (f.spoilagePercent > maxSpoilage)
        f.spoilagePercent = maxSpoilage;

    // Speeds of length-rated machines are quoted for an 11-inch sheet.
    if (*bindery.length) {
        if (order.productionType == 0 || f.sheetSizeCode != 2) {
            if (f.sheetLength != 0)
                f.speed = toInt32(divide(platform::multiply32(f.speed, kReferenceLength), f.sheetLength));
        } else if (order.productionType == 1) {
            if (order.numberUp != 2)
                f.speed = toInt32(divide(platform::multiply32(f.speed, kReferenceLength) * std::sqrt(order.numberUp),
                                         order.sheetDim[5]));
            else
                f.speed = toInt32(divide(platform::multiply32(f.speed, kReferenceLength), order.sheetDim[4]));
        }
    }
}

// Set-up cost, waste and the cost of the run at the machine's speed.
void setupWasteAndRun(const OperationInputs& in, bool padding, const OrderFigures& order, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;
    f.setupMinutes = *bindery.setupTime;
    f.costPerHour = *bindery.costPerHour;
    f.addlSetupMinutes = *bindery.addlSetupTime;
    if (f.setups > 0) {
        f.firstSetupCost = f.setupMinutes / 60 * f.costPerHour;
        f.setupCost = ((f.setups - 1) * f.addlSetupMinutes + f.setupMinutes) * f.costPerHour / 60;
    } else {
        f.setupCost = 0;
        f.firstSetupCost = 0;
    }

    f.fixedWaste = toInt32(*bindery.fixedWaste);
    f.wasteUnits = divide(f.spoilagePercent * order.piecesToProduce * f.runFraction * order.signatures,
                          f.numberUp * 100) +
                   f.fixedWaste;

    // Carbonless pads spoil whole sets.
    if (*bindery.carbonlessSpoilage && padding && f.setups > 0)
        f.wasteUnits = f.wasteUnits * order.parts;

    if (f.speed >= 1)
        f.runCost = divide((divide(order.piecesToProduce * f.runFraction, f.numberUp) * order.signatures + f.wasteUnits) *
                               f.costPerHour,
                           f.speed);
    else
        f.runCost = 0;
}

// Operations priced by the weight of the finished job (bundling) and delivery, which is charged by
// weight: MINCOST is the rate per pound and set-ups the number of drops. Packing and shipping
// operations name their package weight at the start of the bindery name ("40 LB CARTONS").
void weighedWork(const OperationInputs& in, const OrderFigures& order, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;
    f.weightPerThousand = *in.weightPerThousand;
    const double packageWeight = platform::val(*bindery.name);
    f.addlRunTime = *bindery.addlRunTime;

    // Pounds from the parent sheets used.
    const auto jobWeight = [&] {
        return divide(divide(order.piecesToProduce * order.signatures, order.numberUp) * order.parentUsageRatio *
                          f.weightPerThousand,
                      order.pressSheetsPerParent * 1000) *
               f.runFraction;
    };
    if (*bindery.weightBased) {
        f.weight = jobWeight();
        if (f.speed > 0)
            f.runCost = f.weight / f.speed * f.costPerHour;
        if (packageWeight > 0)
            f.runCost = f.runCost + intFloor(f.weight / packageWeight + kRoundUp) * f.addlRunTime;
    }

    f.minimumCost = *bindery.minCost;

    if (*bindery.delivery && f.weightPerThousand > 0) {
        f.weight = jobWeight();
        if (f.speed > 0) {
            f.runCost = f.weight / f.speed * f.costPerHour;
            f.runCost = f.weight * f.minimumCost * f.setups + f.runCost;
            if (packageWeight > 0)
                f.runCost = f.runCost + intFloor(f.weight / packageWeight + kRoundUp) * f.addlRunTime;
        }
    }
}

// Every further run spoils as much as the first; further set-ups of a plain operation add ADDLRUNTIME
// per cent of a run each.
void repeatWaste(const OperationInputs& in, bool padding, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;
    if (f.setups == 0 || padding || *bindery.packaging || *bindery.multiBinder || *bindery.weightBased ||
        *bindery.delivery)
        f.wasteUnits = (f.wasteUnits - f.fixedWaste) * (f.runs + 1) + f.fixedWaste;
    else
        f.wasteUnits = (f.wasteUnits - f.fixedWaste) * (f.runs + 1 + (f.setups - 1) * f.addlRunTime / 100) + f.fixedWaste;
}

// Gatherers and binders that take one pocket per signature: set-up per signature, and as many passes as
// the signatures need pockets beyond the set-ups.
void pocketBinder(const OperationInputs& in, const OrderFigures& order, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;
    const std::int32_t wholeSignatures = toInt32(intFloor(order.signatures + kRoundUp));
    f.setupCost = divide(f.addlSetupMinutes * f.costPerHour / 60 * f.runFraction, f.numberUp) * wholeSignatures;
    if (f.addlRunTime > 0)
        f.setupCost = f.setupCost * order.piecesToProduce / f.addlRunTime;

    double signatureSetupFactor = 0;
    if (f.setups > 0) {
        const double r = divide(wholeSignatures, f.setups);
        if (r > 1) {
            signatureSetupFactor = intFloor(r + kRoundUp);
        } else if (r == 1) {
            signatureSetupFactor = 1;
        } else {
            const std::int32_t setups = toInt32(f.setups);
            if (wholeSignatures == 0)
                platform::raise(platform::fault::DivisionByZero);
            signatureSetupFactor = divide(1, setups / wholeSignatures);
        }
    }

    f.runCost = divide((divide(order.piecesToProduce * f.runFraction, f.numberUp) + divide(f.wasteUnits, order.signatures)) *
                           f.costPerHour * signatureSetupFactor,
                       f.speed);

    if (*bindery.pages && order.productionType == 1 && f.sheetSizeCode == 0)
        f.setupCost = divide(f.pressPages * f.setupCost, wholeSignatures * 2.0);

    if (*bindery.thickness)
        f.setupCost = f.setupCost * f.stockCaliper / kReferenceCaliper + f.firstSetupCost;
    else
        f.setupCost = f.setupCost + f.firstSetupCost;
}

// Repeat runs of a plain operation cost a full run each, further set-ups ADDLRUNTIME per cent of one;
// with no set-up the run is paid only per repeat. Book-mode page work is priced per page pair. Waste is
// reported in press sheets.
void finishRun(const OperationInputs& in, bool padding, const OrderFigures& order, OperationFigures& f)
{
    const BinderyRow& bindery = in.bindery;
    if (!*bindery.foil && !padding && !*bindery.packaging && !*bindery.weightBased &&
        !*bindery.multiBinder && !*bindery.delivery) {
        if (f.setups >= 1)
            f.runCost = f.runCost * (f.runs + 1 + (f.setups - 1) * f.addlRunTime / 100);
        else
            f.runCost = f.runCost * f.runs;
    }
    if (*bindery.pages && order.productionType == 1 && f.sheetSizeCode == 0)
        f.runCost = divide(f.pressPages * f.runCost, order.signatures * 2);

    f.wasteUnits = divide(f.wasteUnits * f.numberUp, order.numberUp);
    f.operationCost = f.setupCost + f.runCost;
}

} // namespace

std::string costOperation(const OperationInputs& in, const OrderFigures& order, OperationFigures& f)
{
    if (!in.selectionFound)
        return "Specified Bindery Operation (rec # " + std::to_string(in.selectionId) + ") could not be found.";

    f.sheetSizeCode = in.selection.sheetSizeCode;
    chooseSheet(order, f);
    takeSettings(in.selection, f);

    if (!in.binderyFound)
        return "Specified Bindery (rec # " + platform::exactText(in.selection.binderyId) + ") could not be found.";
    const BinderyRow& bindery = in.bindery;

    // Foil is stamped on every piece whatever share of the run the selection names; the share is kept
    // for the foil charge of the bindery estimate.
    if (*bindery.foil) {
        f.savedRunFraction = f.runFraction;
        f.runFraction = 1;
    }

    const bool padding = *in.paddingCategory;

    // Carbonless sets are padded as whole sets, so only one sheet in `parts` counts towards the run.
    if (*bindery.carbonlessSpoilage && order.parts > 1 && padding)
        f.runFraction = divide(f.runFraction, order.parts);

    f.unitsForCurve = f.numberUp > 0 ? divide(order.piecesToProduce, f.numberUp) : order.piecesToProduce;

    curveSpeedAndSpoilage(in, order, f);
    adjustSpeed(in, order, f);
    setupWasteAndRun(in, padding, order, f);
    weighedWork(in, order, f);
    repeatWaste(in, padding, f);

    f.pressPages = toInt32(std::fabs(*in.pressPages));
    if (f.pressPages == 0)
        f.pressPages = 1;

    if (*bindery.multiBinder)
        pocketBinder(in, order, f);
    finishRun(in, padding, order, f);
    return {};
}

} // namespace estimator::bindery
