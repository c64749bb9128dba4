#include <cmath>
#include <string>

#include "estimator/cEstimator.h"
#include "estimator/modEstimator.h"
#include "estimator/press/PressRun.h"
#include "platform/Conversions.h"

namespace estimator {

namespace {

// Retail of a cost at a department markup in per cent.
double markedUp(double markupPercent, double cost)
{
    return (markupPercent / 100 + 1) * cost;
}

} // namespace

// A department's markup (per cent): the first MARKUPS row whose department the query matches; a
// department the shop has not set up has no markup.
double cEstimator::ReadMarkup(const char* sql) const
{
    data::Recordset markup = m_db.openRecordset(sql);
    const double percent = markup.recordCount() > 0 ? markup.field(0).number() : 0;
    markup.close();
    return percent;
}

// The whole job at the current quantity once the press and its ink are priced: total cost, total retail
// with each department's markup, the stock markup from its curve, and what each further thousand costs
// and sells for. Returns the total cost.
double cEstimator::JobTotals(PressRun& run, const data::Recordset& order)
{
    using platform::divide;

    SummaryRecord& record = summary();
    const BinderyReportRow& bindery = m_binderyTotals.at(static_cast<std::size_t>(m_currentQuantity));
    const double q = currentQuantityValue();
    const double N = run.passes;
    const double s = run.pressSpoilage;
    const double T = run.totalSpoilage;
    const double B = run.binderySpoilage;
    const double R = run.costPerHour;

    // Bindery and press time.
    const double binderyCost = bindery.cost;
    record.pressCost = run.runCost + run.spoilageCost + run.makeReadyCost + run.washupCost;

    // Outside services at this quantity's level.
    std::int16_t level = m_currentQuantity;
    run.vendorCost = EstimateVendor(level);
    const double V = run.vendorCost;
    record.vendorCost = V;

    // Everything the job costs.
    run.totalCost = run.runCost + run.spoilageCost + run.makeReadyCost + run.prePressCost + run.pressStockCost
                    + run.spoilageStockCost + run.plateCost + run.washupCost + run.blackCost + binderyCost
                    + run.colourCost + V;
    record.totalCost = run.totalCost;

    // The stock as the press uses it, spoilage included.
    m_results.ResStockCost = run.pressStockCost + run.spoilageStockCost;

    // What one more thousand costs: the press time less the plate mounting, the share of the spoilage
    // that the running and the bindery cause, the stock, the ink, the bindery less its set-up time, and
    // the vendors' level-1 price, each spread over the quantity's thousands.
    const bool perThousand = q > 999;
    if (perThousand) {
        run.binderyTimeCost = bindery.setupMinutes * m_costPerHour / 60;
        m_binderyWork[8] = run.binderyTimeCost;
        double x = (run.makeReadyHours - run.totalPlates * run.mountingPerPlate / 60) * R + run.runCost;
        x = divide((run.spoilageCost + run.spoilageStockCost) * (N * s + B), T) + x + run.pressStockCost;
        std::int16_t levelOne = 1;
        run.vendorPerThousand = EstimateVendor(levelOne) * 1000 / q;
        x = x + run.blackCost + binderyCost - run.binderyTimeCost + run.colourCost;
        run.costPerAddedThousand = x * 1000 / q + run.vendorPerThousand;
    } else {
        run.costPerAddedThousand = 0;
    }
    record.costPerAddedThousand = run.costPerAddedThousand;

    // Department markups.
    const double stockMinimum = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (minimum)*'");
    const double stockMaximum = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Stock (maximum)*'");
    const double pressMarkup = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Press*'");
    const double prePressMarkup = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Pre-Press*'");
    const double binderyMarkup = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'");
    const double outsideMarkup =
        ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Outside Services*'");

    // Stock markup: from the maximum on a small job down an arctangent curve as the job grows, by its
    // stock dollars or by its net press sheets, never below the minimum.
    const bool byDollars = order.field("STOCKUSEDOLLARMARKUP").toBoolean();
    double basis;
    std::int16_t efficiency;
    std::int16_t k;
    if (byDollars) {
        basis = run.pressStockCost + run.spoilageStockCost;
        efficiency = platform::toInt16(order.field("STOCKDOLLAREFF").number());
        k = platform::toInt16(order.field("STOCKDOLLARKFACTOR").number());
    } else {
        basis = divide(m_piecesToProduce * m_signatures, m_numberUp);
        efficiency = platform::toInt16(order.field("STOCKQTYEFF").number());
        k = platform::toInt16(order.field("STOCKQTYKFACTOR").number());
    }
    if (efficiency == 0)
        efficiency = 20;
    if (k == 0)
        k = 5;
    const std::int16_t maximum = platform::toInt16(stockMaximum);
    const std::int16_t scale = platform::multiply16(k, 1000); // a k factor above 32 is an overflow fault
    double stockPercent = (1 - efficiency * std::atan(divide(basis, scale)) / 100) * maximum;
    if (stockPercent < stockMinimum)
        stockPercent = stockMinimum;
    run.stockMarkupPercent = stockPercent;

    // Retail: press labour, plates, washup and ink at the press markup; each other department at its
    // own.
    const double stockCost = run.pressStockCost + run.spoilageStockCost;
    const double pressPart = run.totalCost - V - run.prePressCost - run.pressStockCost - run.spoilageStockCost
                             - binderyCost;
    double retail = markedUp(pressMarkup, pressPart) + markedUp(prePressMarkup, m_results.ResPrePressCost);
    retail = markedUp(binderyMarkup, binderyCost) + retail + stockCost * (stockPercent / 100 + 1);
    const double vendorRetail = markedUp(outsideMarkup, V);
    retail = vendorRetail + retail;
    run.totalRetail = retail;
    record.totalRetail = retail;
    record.pressMarkup = pressMarkup / 100;
    record.stockMarkup = stockPercent / 100;
    record.vendorRetail = vendorRetail;
    record.outsideServicesMarkup = outsideMarkup / 100;
    m_results.VendorRetail = vendorRetail;

    // What one more thousand sells for, each part at its department's markup.
    if (perThousand) {
        double y = (run.makeReadyHours - run.totalPlates * run.mountingPerPlate / 60) * R + run.runCost;
        y = divide((N * s + B) * run.spoilageCost, T) + y + run.blackCost + run.colourCost;
        y = markedUp(pressMarkup, y) + (binderyCost - run.binderyTimeCost) * (binderyMarkup / 100 + 1)
            + (divide((N * s + B) * run.spoilageStockCost, T) + run.pressStockCost) * (stockPercent / 100 + 1);
        run.retailPerAddedThousand = y * 1000 / q + markedUp(outsideMarkup, run.vendorPerThousand);
    } else {
        run.retailPerAddedThousand = 0;
    }
    record.retailPerAddedThousand = run.retailPerAddedThousand;

    // Price per thousand pieces.
    run.pricePerThousand = q > 0 ? run.totalRetail * 1000 / q : 0;
    record.pricePerThousand = run.pricePerThousand;

    // Impressions over the whole run.
    const std::int32_t quantityPasses = platform::multiply32(currentQuantityValue(), run.passes);
    record.impressions =
        platform::toInt32(divide(quantityPasses * m_pressDiffFactor * m_parts, m_numberUp));

    // The results the pricing run reads.
    m_results.EstRetail = run.totalRetail;
    m_results.EstHrs = record.totalHours;
    m_results.Price1000 = run.pricePerThousand;
    m_results.ResStockRetail = (stockPercent / 100 + 1) * m_results.ResStockCost;
    m_results.ResPressMinutes = record.pressHours * 60;

    return run.totalCost;
}

// The job when the order names no press: outside services, bindery and pre-press only, and the press
// sheets the bindery's spoilage alone calls for. Returns the vendor cost.
double cEstimator::JobTotalsWithoutPress()
{
    using platform::divide;

    SummaryRecord& record = summary();
    const BinderyReportRow& bindery = m_binderyTotals.at(static_cast<std::size_t>(m_currentQuantity));
    const double q = currentQuantityValue();
    const double binderyCost = bindery.cost;

    // Outside services, the job's cost and its hours.
    std::int16_t level = m_currentQuantity;
    const double V = EstimateVendor(level);
    record.vendorCost = V;
    record.totalCost = V + binderyCost + record.prePressCost;
    record.totalHours = record.prePressHours + record.binderyHours;
    record.totalHoursText = ConvertHours(record.totalHours);

    // Each further thousand: the bindery without its set-up, and the vendors' level-1 price.
    double vendorPerThousand = 0;
    double binderyTimeCost = 0;
    if (q > 999) {
        std::int16_t levelOne = 1;
        vendorPerThousand = EstimateVendor(levelOne) * 1000 / q;
        binderyTimeCost = bindery.setupMinutes * m_costPerHour / 60;
        m_binderyWork[8] = binderyTimeCost;
        record.costPerAddedThousand = (binderyCost - binderyTimeCost) * 1000 / q + vendorPerThousand;
    } else {
        record.costPerAddedThousand = 0;
    }

    // The pre-press markup is read with the others; the pre-press retail already carries it.
    ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Pre-Press*'");
    const double binderyMarkup = ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'");
    const double outsideMarkup =
        ReadMarkup("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Outside Services*'");
    const double vendorRetail = markedUp(outsideMarkup, V);
    record.vendorRetail = vendorRetail;
    m_results.VendorRetail = vendorRetail;
    record.outsideServicesMarkup = outsideMarkup / 100;

    // Each further thousand at the bindery and outside-services markups.
    if (q > 999)
        record.retailPerAddedThousand = (binderyCost - binderyTimeCost) * (binderyMarkup / 100 + 1) * 1000 / q
                                        + markedUp(outsideMarkup, vendorPerThousand);
    else
        record.retailPerAddedThousand = 0;

    // The price per thousand leaves the pre-press out: it is the same whatever the quantity.
    record.totalRetail = vendorRetail + bindery.retail + record.prePressRetail;
    m_results.EstRetail = record.totalRetail;
    record.pricePerThousand = q >= 1 ? (vendorRetail + bindery.retail) * 1000 / q : 0;

    // Press sheets for what the bindery spoils.
    if (m_signatures == 0)
        m_signatures = 1;
    const double P = m_piecesToProduce;
    const double U = m_numberUp;
    const double S = m_signatures;
    const double Q = divide(bindery.waste * U, P * S) * 100;
    const double spoilageSheets = divide(Q * P, U) * S / 100;
    const double pressSheetsToOrder = divide(P * S, U) + spoilageSheets;
    record.spoilageSheets = platform::toInt32(spoilageSheets);
    record.pressSheetsToOrder = platform::toInt32(pressSheetsToOrder);
    m_results.PressSheetsToOrder = platform::toInt32(pressSheetsToOrder);

    return m_results.VendorCost;
}

} // namespace estimator
