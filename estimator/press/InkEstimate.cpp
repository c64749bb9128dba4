#include <string>

#include "estimator/cEstimator.h"
#include "estimator/modEstimator.h"
#include "estimator/press/PressRun.h"
#include "platform/Conversions.h"
#include "platform/FixedText.h"

namespace estimator {

namespace {

// Only an ink called plain "black" is charged as black; a "process black" is charged as a colour.
bool isBlack(const std::string& colourName)
{
    return platform::upperCase(platform::trim(colourName)) == "BLACK";
}

} // namespace

// Pounds and cost of the order part's inks over the press sheets to order, black apart from the other
// colours, plus the ink each fountain wastes on washup.
void cEstimator::EstimateInk(PressRun& run)
{
    const std::string keyCondition = "WHERE INKSELECTIONS.ORDERNO=" + Quotes(m_orderNo, 0)
                                     + " AND INKSELECTIONS.PARTNO=" + std::to_string(m_partNo)
                                     + " AND INKSELECTIONS.QUOTEORJOB=" + Quotes(m_quoteOrJob, 0);
    const std::string distinctColours = "SELECT DISTINCT COLORID AS ID, INKCOLOR AS COLOR FROM INKSELECTIONS ";

    // Is there any black, any other colour? Any name with "black" in it counts here.
    data::Recordset colours = m_db.openRecordset(distinctColours + keyCondition
                                                 + " AND COLORID <> 0 AND UCASE(INKCOLOR) LIKE '*BLACK*'");
    run.hasBlack = colours.recordCount() > 0;
    colours = m_db.openRecordset(distinctColours + keyCondition
                                 + " AND COLORID <> 0 AND UCASE(INKCOLOR) NOT LIKE '*BLACK*'");
    run.hasColour = colours.recordCount() > 0;

    // Every stock colour selected (PMS-only selections have COLORID 0 and are not priced here).
    colours = m_db.openRecordset(distinctColours + keyCondition + " AND COLORID <> 0");
    run.blackPounds = 0;
    run.blackCost = 0;
    run.colourPounds = 0;
    run.colourCost = 0;
    const bool anyColour = colours.recordCount() > 0;
    const double sheetArea = run.pressSheetWidth * run.pressSheetLength;
    while (anyColour && !colours.eof()) {
        run.inks.push_back({platform::trim(platform::fixedText(colours.field("COLOR").formatted(), 15)), 0});
        PressRun::Ink& ink = run.inks.back();
        const bool black = isBlack(ink.colourName);

        data::Recordset selections = m_db.openRecordset(
            "SELECT INKSELECTIONS.ORDERNO, INKSELECTIONS.PARTNO, INKSELECTIONS.QUOTEORJOB, INKSELECTIONS.COLORID, "
            "INKSELECTIONS.INKCOLOR, COLORS.COSTPERLB AS CCOSTPERLB, COLORS.MILEAGE AS CMILEAGE, "
            "INKSELECTIONS.PMSID, INKSELECTIONS.PMSNO, PMSCOLORS.COSTPERLB AS PCOSTPERLB, "
            "PMSCOLORS.MILEAGE AS PMILEAGE, INKSELECTIONS.COVERAGE "
            + std::string("FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) "
                          "LEFT JOIN PMSCOLORS ON INKSELECTIONS.PMSID = PMSCOLORS.PMSID ")
            + keyCondition + " AND INKSELECTIONS.COLORID= " + colours.field("ID").formatted());
        double thisPounds = 0;
        double thisCost = 0;
        while (!selections.eof()) {
            ink.costPerPound = selections.field("CCOSTPERLB").number();
            // A colour without a mileage on file (or missing from COLORS) cannot be estimated and adds
            // nothing.
            if (selections.field("CMILEAGE").number() > 0) {
                const double pounds = platform::divide(sheetArea * run.pressSheetsToOrder,
                                                       press::numberAsRead(selections.field("CMILEAGE")))
                                      * press::numberAsRead(selections.field("COVERAGE")) / 100;
                const double cost = pounds * ink.costPerPound;
                if (black) {
                    run.blackPounds += pounds;
                    run.blackCost += cost;
                } else {
                    run.colourSelections = platform::toInt16(run.colourSelections + 1.0);
                    thisPounds += pounds;
                    thisCost += cost;
                }
            }
            selections.moveNext();
            m_context.hooks.yieldEvents();
        }
        if (!black) {
            run.colourPounds += thisPounds;
            run.colourCost += thisCost;
        }
        colours.moveNext();
        m_context.hooks.yieldEvents();
    }

    // Fountain waste: the ink left in each inked fountain at washup. Black is charged at its own price
    // per pound, the colours at their average price per pound.
    const auto blackCostPerPound = [&run]() -> const double* {
        for (const PressRun::Ink& ink : run.inks)
            if (isBlack(ink.colourName))
                return &ink.costPerPound;
        return nullptr;
    };
    const std::int32_t heads = run.printHeads;
    const double waste = run.fountainWaste;
    if (anyColour && heads > 0) {
        if (run.hasColour && run.hasBlack && heads > 1 && heads >= run.colourSelections) {
            const double fountains = run.colourSelections;
            if (run.colourPounds > 0)
                run.colourCost = run.colourCost + run.colourCost / run.colourPounds * waste * fountains;
            run.colourPounds = waste * fountains + run.colourPounds;
            run.blackPounds = waste + run.blackPounds;
            if (const double* perPound = blackCostPerPound())
                run.blackCost = waste * *perPound + run.blackCost;
        } else if (run.hasColour) {
            if (run.colourPounds > 0)
                run.colourCost = run.colourCost + run.colourCost / run.colourPounds * waste * heads;
            run.colourPounds = waste * heads + run.colourPounds;
        } else {
            run.blackPounds = waste + run.blackPounds;
            if (const double* perPound = blackCostPerPound())
                run.blackCost = waste * *perPound + run.blackCost;
        }
    }

    // The ink figures of the quantity.
    SummaryRecord& record = summary();
    record.blackInkCost = run.blackCost;
    record.blackInkPounds = run.blackPounds;
    record.colourInkCost = run.colourCost;
    record.colourInkPounds = run.colourPounds;
    record.thirdInkCost = 0;
    record.thirdInkPounds = 0;
}

} // namespace estimator
