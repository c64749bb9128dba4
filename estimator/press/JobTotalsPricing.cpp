#include <cmath>
#include <cstdint>

#include "estimator/modEstimator.h"
#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"
#include "platform/Conversions.h"

namespace estimator::press {

namespace {

using platform::divide;

// Retail of a cost at a department markup in per cent.
double markedUp(double markupPercent, double cost)
{
    return (markupPercent / 100 + 1) * cost;
}

// Stock markup: from the maximum on a small job down an arctangent curve as the job grows, by its stock
// dollars or by its net press sheets, never below the minimum.
double stockMarkupPercent(const PressInputs& in, const JobTotalsInputs& totals, const PressResults& out)
{
    double basis;
    if (totals.stockMarkupByDollars)
        basis = out.pressStockCost + out.spoilageStockCost;
    else
        basis = divide(in.order.piecesToProduce * in.order.signatures, in.order.numberUp);
    std::int16_t efficiency = platform::toInt16(totals.stockEfficiency);
    std::int16_t k = platform::toInt16(totals.stockKFactor);
    if (efficiency == 0)
        efficiency = 20;
    if (k == 0)
        k = 5;
    const std::int16_t maximum = platform::toInt16(totals.markups.stockMaximum);
    const std::int16_t scale = platform::multiply16(k, 1000); // a k factor above 32 is an overflow fault
    double percent = (1 - efficiency * std::atan(divide(basis, scale)) / 100) * maximum;
    if (percent < totals.markups.stockMinimum)
        percent = totals.markups.stockMinimum;
    return percent;
}

} // namespace

void priceJobTotals(const PressInputs& in, const JobTotalsInputs& totals, PressResults& out)
{
    SummaryRecord& record = out.report;
    const Markups& markups = totals.markups;
    const double q = in.order.quantity;
    const double N = in.settings.passes;
    const double s = out.pressSpoilage;
    const double T = out.totalSpoilage;
    const double B = out.binderySpoilage;
    const double R = in.settings.costPerHour;
    const double binderyCost = in.bindery.cost;

    record.pressCost = out.runCost + out.spoilageCost + out.makeReadyCost + out.washupCost;
    out.vendorCost = totals.vendorCost;
    const double V = out.vendorCost;
    record.vendorCost = V;

    // Everything the job costs.
    out.totalCost = out.runCost + out.spoilageCost + out.makeReadyCost + out.prePressCost + out.pressStockCost
                    + out.spoilageStockCost + out.plateCost + out.washupCost + out.blackCost + binderyCost
                    + out.colourCost + V;
    record.totalCost = out.totalCost;

    // The stock as the press uses it, spoilage included.
    out.engine.ResStockCost = out.pressStockCost + out.spoilageStockCost;

    // What one more thousand costs: the press time less the plate mounting, the share of the spoilage that
    // the running and the bindery cause, the stock, the ink, the bindery less its set-up time, and the
    // vendors' level-1 price, each spread over the quantity's thousands.
    const bool perThousand = q > 999;
    if (perThousand) {
        out.binderyTimeCost = in.bindery.setupMinutes * in.bindery.costPerHour / 60;
        double x = (out.makeReadyHours - out.totalPlates * out.mountingPerPlate / 60) * R + out.runCost;
        x = divide((out.spoilageCost + out.spoilageStockCost) * (N * s + B), T) + x + out.pressStockCost;
        out.vendorPerThousand = totals.vendorLevelOneCost * 1000 / q;
        x = x + out.blackCost + binderyCost - out.binderyTimeCost + out.colourCost;
        out.costPerAddedThousand = x * 1000 / q + out.vendorPerThousand;
    } else {
        out.costPerAddedThousand = 0;
    }
    record.costPerAddedThousand = out.costPerAddedThousand;

    const double stockPercent = stockMarkupPercent(in, totals, out);
    out.stockMarkupPercent = stockPercent;

    // Retail: press labour, plates, washup and ink at the press markup; each other department at its own.
    const double stockCost = out.pressStockCost + out.spoilageStockCost;
    const double pressPart =
        out.totalCost - V - out.prePressCost - out.pressStockCost - out.spoilageStockCost - binderyCost;
    double retail = markedUp(markups.press, pressPart) + markedUp(markups.prePress, in.prePress.resultCost);
    retail = markedUp(markups.bindery, binderyCost) + retail + stockCost * (stockPercent / 100 + 1);
    const double vendorRetail = markedUp(markups.outsideServices, V);
    retail = vendorRetail + retail;
    out.totalRetail = retail;
    record.totalRetail = retail;
    record.pressMarkup = markups.press / 100;
    record.stockMarkup = stockPercent / 100;
    record.vendorRetail = vendorRetail;
    record.outsideServicesMarkup = markups.outsideServices / 100;
    out.engine.VendorRetail = vendorRetail;

    // What one more thousand sells for, each part at its department's markup.
    if (perThousand) {
        double y = (out.makeReadyHours - out.totalPlates * out.mountingPerPlate / 60) * R + out.runCost;
        y = divide((N * s + B) * out.spoilageCost, T) + y + out.blackCost + out.colourCost;
        y = markedUp(markups.press, y) + (binderyCost - out.binderyTimeCost) * (markups.bindery / 100 + 1)
            + (divide((N * s + B) * out.spoilageStockCost, T) + out.pressStockCost) * (stockPercent / 100 + 1);
        out.retailPerAddedThousand = y * 1000 / q + markedUp(markups.outsideServices, out.vendorPerThousand);
    } else {
        out.retailPerAddedThousand = 0;
    }
    record.retailPerAddedThousand = out.retailPerAddedThousand;

    out.pricePerThousand = q > 0 ? out.totalRetail * 1000 / q : 0;
    record.pricePerThousand = out.pricePerThousand;

    // Impressions over the whole run.
    const std::int32_t quantityPasses = platform::multiply32(in.order.quantity, in.settings.passes);
    record.impressions =
        platform::toInt32(divide(quantityPasses * in.order.pressDiffFactor * in.order.parts, in.order.numberUp));

    // The results the pricing run reads.
    out.engine.EstRetail = out.totalRetail;
    out.engine.EstHrs = record.totalHours;
    out.engine.Price1000 = out.pricePerThousand;
    out.engine.ResStockRetail = (stockPercent / 100 + 1) * out.engine.ResStockCost;
    out.engine.ResPressMinutes = record.pressHours * 60;
}

void priceJobWithoutPress(const PressInputs& in, const JobTotalsInputs& totals, PressResults& out)
{
    SummaryRecord& record = out.report;
    const BinderyHandover& bindery = in.bindery;
    const double q = in.order.quantity;
    const double binderyCost = bindery.cost;

    // Outside services, the job's cost and its hours.
    const double V = totals.vendorCost;
    out.vendorCost = V;
    record.vendorCost = V;
    record.totalCost = V + binderyCost + in.prePress.reportCost;
    record.totalHours = in.prePress.reportHours + bindery.hours;
    record.totalHoursText = ConvertHours(record.totalHours);

    // Each further thousand: the bindery without its set-up, and the vendors' level-1 price.
    if (q > 999) {
        out.vendorPerThousand = totals.vendorLevelOneCost * 1000 / q;
        out.binderyTimeCost = bindery.setupMinutes * bindery.costPerHour / 60;
        record.costPerAddedThousand = (binderyCost - out.binderyTimeCost) * 1000 / q + out.vendorPerThousand;
    } else {
        record.costPerAddedThousand = 0;
    }

    // The pre-press retail already carries its markup.
    const double vendorRetail = markedUp(totals.markups.outsideServices, V);
    record.vendorRetail = vendorRetail;
    out.engine.VendorRetail = vendorRetail;
    record.outsideServicesMarkup = totals.markups.outsideServices / 100;

    // Each further thousand at the bindery and outside-services markups.
    if (q > 999)
        record.retailPerAddedThousand = (binderyCost - out.binderyTimeCost) * (totals.markups.bindery / 100 + 1)
                                            * 1000 / q
                                        + markedUp(totals.markups.outsideServices, out.vendorPerThousand);
    else
        record.retailPerAddedThousand = 0;

    // The price per thousand leaves the pre-press out: it is the same whatever the quantity.
    record.totalRetail = vendorRetail + bindery.retail + in.prePress.reportRetail;
    out.engine.EstRetail = record.totalRetail;
    record.pricePerThousand = q >= 1 ? (vendorRetail + bindery.retail) * 1000 / q : 0;

    // Press sheets for what the bindery spoils.
    const double P = in.order.piecesToProduce;
    const double U = in.order.numberUp;
    const double S = in.order.signatures == 0 ? 1 : in.order.signatures;
    const double Q = divide(bindery.waste * U, P * S) * 100;
    out.spoilageSheets = divide(Q * P, U) * S / 100;
    out.pressSheetsToOrder = divide(P * S, U) + out.spoilageSheets;
    record.spoilageSheets = platform::toInt32(out.spoilageSheets);
    record.pressSheetsToOrder = platform::toInt32(out.pressSheetsToOrder);
    out.engine.PressSheetsToOrder = platform::toInt32(out.pressSheetsToOrder);
}

} // namespace estimator::press
