#include <string>

#include "estimator/press/PressInputs.h"
#include "estimator/press/PressResults.h"
#include "platform/Conversions.h"

namespace estimator::press {

namespace {

// Only an ink called plain "black" is charged as black; a "process black" is charged as a colour.
bool isBlack(const std::string& colourName)
{
    return platform::upperCase(platform::trim(colourName)) == "BLACK";
}

// The price per pound of the ink called plain black, if there is one.
const double* blackCostPerPound(const PressResults& out)
{
    for (const PressResults::Ink& ink : out.inks)
        if (isBlack(ink.colourName))
            return &ink.costPerPound;
    return nullptr;
}

// Fountain waste: the ink left in each inked fountain at washup. Black is charged at its own price per
// pound, the colours at their average price per pound.
void addFountainWaste(const PressInputs& in, const InkInputs& inks, PressResults& out)
{
    const std::int32_t heads = in.settings.printHeads;
    const double waste = in.settings.fountainWaste;
    if (inks.colours.empty() || heads <= 0)
        return;
    if (inks.hasColour && inks.hasBlack && heads > 1 && heads >= out.colourSelections) {
        const double fountains = out.colourSelections;
        if (out.colourPounds > 0)
            out.colourCost = out.colourCost + out.colourCost / out.colourPounds * waste * fountains;
        out.colourPounds = waste * fountains + out.colourPounds;
        out.blackPounds = waste + out.blackPounds;
        if (const double* perPound = blackCostPerPound(out))
            out.blackCost = waste * *perPound + out.blackCost;
    } else if (inks.hasColour) {
        if (out.colourPounds > 0)
            out.colourCost = out.colourCost + out.colourCost / out.colourPounds * waste * heads;
        out.colourPounds = waste * heads + out.colourPounds;
    } else {
        out.blackPounds = waste + out.blackPounds;
        if (const double* perPound = blackCostPerPound(out))
            out.blackCost = waste * *perPound + out.blackCost;
    }
}

} // namespace

void priceInk(const PressInputs& in, const InkInputs& inks, PressResults& out)
{
    out.blackPounds = 0;
    out.blackCost = 0;
    out.colourPounds = 0;
    out.colourCost = 0;
    const double sheetArea = inks.sheetWidth * inks.sheetLength;
    for (const InkColour& colour : inks.colours) {
        out.inks.push_back({colour.name, 0});
        PressResults::Ink& ink = out.inks.back();
        const bool black = isBlack(ink.colourName);
        double thisPounds = 0;
        double thisCost = 0;
        for (const InkSelection& selection : colour.selections) {
            ink.costPerPound = selection.costPerPound;
            // A colour without a mileage on file (or missing from the colour list) cannot be estimated and
            // adds nothing.
            if (selection.mileage.number() > 0) {
                const double pounds = platform::divide(sheetArea * out.pressSheetsToOrder, numberAsRead(selection.mileage))
                                      * numberAsRead(selection.coverage) / 100;
                const double cost = pounds * ink.costPerPound;
                if (black) {
                    out.blackPounds += pounds;
                    out.blackCost += cost;
                } else {
                    out.colourSelections = platform::toInt16(out.colourSelections + 1.0);
                    thisPounds += pounds;
                    thisCost += cost;
                }
            }
        }
        if (!black) {
            out.colourPounds += thisPounds;
            out.colourCost += thisCost;
        }
    }
    addFountainWaste(in, inks, out);

    out.report.blackInkCost = out.blackCost;
    out.report.blackInkPounds = out.blackPounds;
    out.report.colourInkCost = out.colourCost;
    out.report.colourInkPounds = out.colourPounds;
    out.report.thirdInkCost = 0;
    out.report.thirdInkPounds = 0;
}

} // namespace estimator::press
