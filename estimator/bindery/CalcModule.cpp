#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/Recordset.h"
#include "estimator/cEstimator.h"
#include "estimator/cPressCurves.h"
#include "estimator/modEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator {

namespace {

// Numbers are read through the column's formatted text (Null and non-numeric text give 0).
double number(const data::Recordset& record, std::string_view column)
{
    return record.field(column).number();
}

// Yes/no columns; a Null reads as "no".
bool flag(const data::Recordset& record, std::string_view column)
{
    return record.field(column).toBoolean();
}

// 0.999999 rounds a part count up to the next whole one without lifting an exact count.
constexpr double kRoundUp = 0.999999;

// The reference caliper of the speed tables (0.004 inch) and the reference sheet length (11 inch).
constexpr double kReferenceCaliper = 0.004;
constexpr std::int32_t kReferenceLength = 11;

} // namespace

// Costs one bindery operation (one BINDERYSELECTIONS row) at the current quantity and leaves its figures
// in the bindery working values, where the bindery estimate and the press estimate read them. Returns an
// empty text, or the message naming the missing row. Arithmetic and database faults end the calculation
// and pass up; the bindery estimate decides whether they end the department.
std::string cEstimator::CalcModule(std::int32_t& selectionId)
{
    using platform::divide;
    using platform::intFloor;
    using platform::toInt16;
    using platform::toInt32;

    data::Recordset selection =
        m_db.openRecordset("SELECT * FROM BINDERYSELECTIONS WHERE BINDERYSELECTIONID = " + std::to_string(selectionId));
    if (selection.recordCount() == 0) {
        selection.close();
        return "Specified Bindery Operation (rec # " + std::to_string(selectionId) + ") could not be found.";
    }

    // Read as plain values: a Null or a text that is no number is a fault, never an operation on sheet
    // size 0 or a bindery that silently drops out of the price.
    const std::int32_t binderyId = toInt32(selection.field("BINDERYID").plainNumber());
    m_opSheetSizeCode = toInt16(selection.field("SHEETSIZE").plainNumber());

    // How many pieces the operation handles at once: the press sheet carries the number up, and a parent
    // sheet that is cut into press sheets carries that many press sheets' worth.
    switch (m_opSheetSizeCode) {
    case 2:
        m_binderyWork[2] = m_numberUp;
        break;
    case 3:
        if (m_pressSheetsPerParent >= 2)
            m_binderyWork[2] = m_numberUp >= 2 ? m_pressSheetsPerParent * m_numberUp : m_pressSheetsPerParent;
        else
            m_binderyWork[2] = 1;
        break;
    default:
        m_binderyWork[2] = 1;
        break;
    }

    // The sheet the operation works on. An unknown code keeps the previous operation's sheet.
    switch (m_opSheetSizeCode) {
    case 0:
        m_opSheetWidth = m_sheetDim[2];
        m_opSheetLength = m_sheetDim[3];
        break;
    case 1:
        if (m_sheetDim[0] != 0 && m_sheetDim[1] != 0) {
            m_opSheetWidth = m_sheetDim[0];
            m_opSheetLength = m_sheetDim[1];
        } else {
            m_opSheetWidth = m_sheetDim[2];
            m_opSheetLength = m_sheetDim[3];
        }
        break;
    case 2:
        m_opSheetWidth = m_sheetDim[4];
        m_opSheetLength = m_sheetDim[5];
        break;
    case 3:
        if (m_pressSheetsPerParent >= 2) {
            m_opSheetWidth = m_sheetDim[6];
            m_opSheetLength = m_sheetDim[7];
        } else {
            m_opSheetWidth = m_sheetDim[2];
            m_opSheetLength = m_sheetDim[3];
        }
        break;
    default:
        break;
    }

    m_bindDifficulty = toInt16(number(selection, "DIFFICULTY"));
    if (m_bindDifficulty == 0)
        m_bindDifficulty = 5; // neutral rating
    m_runs = number(selection, "RUNS");
    m_setups = number(selection, "SETUPS");
    m_binderyWork[0] = number(selection, "PCTOFRUN") / 100;
    if (m_binderyWork[0] == 0)
        m_binderyWork[0] = 1; // no percentage entered: the whole run

    data::Recordset bindery =
        m_db.openRecordset("SELECT * FROM BINDERIES  WHERE BINDERYID=" + std::to_string(binderyId) + ";");
    if (bindery.recordCount() == 0) {
        selection.close();
        bindery.close();
        return "Specified Bindery (rec # " + std::to_string(binderyId) + ") could not be found.";
    }

    // Foil is stamped on every piece whatever share of the run the selection names; the share is kept
    // for the foil charge of the bindery estimate.
    if (flag(bindery, "FOILFLAG")) {
        m_savedRunFraction = m_binderyWork[0];
        m_binderyWork[0] = 1;
    }

    bool isPadding = false;
    {
        data::Recordset category = m_db.openRecordset(
            "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=" + Quotes("PADDING") +
            ",True,False) AS IsPadding " +
            "FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
            "BINDERYCATEGORIES.BINDERYCATEGORYID " +
            "WHERE BINDERIES.BINDERYID=" + std::to_string(binderyId) + ";");
        if (category.recordCount() > 0)
            isPadding = category.field(0).toBoolean();
        category.close();
    }

    // Carbonless sets are padded as whole sets, so only one sheet in `parts` counts towards the run.
    if (flag(bindery, "CARBONLESSSPOILAGEFLAG") && m_parts > 1 && isPadding)
        m_binderyWork[0] = divide(m_binderyWork[0], m_parts);

    m_unitsForCurve = m_binderyWork[2] > 0 ? divide(m_piecesToProduce, m_binderyWork[2]) : m_piecesToProduce;

    data::Recordset stock = m_db.openRecordset("SELECT * FROM STOCK WHERE STOCKID = " + Quotes(m_stockIdText));
    m_stockBinderyEfficiency = stock.recordCount() > 0 ? number(stock, "BINDEFFPERC") : 100;

    m_stockCaliper = m_order.field("STOCKCALIPER").number();
    std::int16_t speedEfficiency = toInt16(number(selection, "SPEEDEFFICIENCY"));
    if (speedEfficiency == 0)
        speedEfficiency = 20;
    std::int16_t speedKFactor = toInt16(number(selection, "SPEEDKFACTOR"));
    if (speedKFactor == 0)
        speedKFactor = 5;
    std::int16_t spoilEfficiency = toInt16(number(selection, "SPOILEFFICIENCY"));
    if (spoilEfficiency == 0)
        spoilEfficiency = 20;
    std::int16_t spoilKFactor = toInt16(number(selection, "SPOILKFACTOR"));
    if (spoilKFactor == 0)
        spoilKFactor = 20;
    const std::int32_t minSpeed = toInt32(number(bindery, "MINSPEED"));
    const std::int32_t maxSpeed = toInt32(number(bindery, "MAXSPEED"));
    const double minSpoilage = number(bindery, "MINSPOILAGE");
    const double maxSpoilage = number(bindery, "MAXSPOILAGE");
    const bool useStockPressEfficiency = m_order.field("STOCKUSEPRESSEFF").toBoolean();

    {
        cPressCurves curves;
        curves.StockPressEfficiency(m_stockBinderyEfficiency);
        curves.UseStockPressFile(useStockPressEfficiency);
        curves.PressEfficiency(speedEfficiency);
        curves.PressKFactor(speedKFactor);
        curves.SpoilEfficiency(spoilEfficiency);
        curves.SpoilKFactor(spoilKFactor);
        curves.Difficulty(m_bindDifficulty);
        curves.PressMin(minSpeed);
        curves.PressMax(maxSpeed);
        curves.MinSpoil(minSpoilage);
        curves.MaxSpoil(maxSpoilage);
        curves.Caliper(m_stockCaliper == 0 ? kReferenceCaliper : m_stockCaliper);
        curves.NumUp(m_binderyWork[2] == 0 ? 1 : m_binderyWork[2]);
        curves.NumOn(m_pressDiffFactor == 0 ? 1 : m_pressDiffFactor);
        curves.Ordered(m_unitsForCurve);
        m_bindSpeed = toInt32(curves.Speed());
        m_bindSpoilagePercent = curves.Spoilage();
    }

    // Machines rated on the reference caliper run thicker stock proportionally slower. A missing caliper
    // is taken as the reference one, and stays so for the rest of the estimate.
    if (flag(bindery, "THICKNESSFLAG") && !flag(bindery, "MULTIBINDERFILEFLAG")) {
        if (m_stockCaliper <= 0)
            m_stockCaliper = kReferenceCaliper;
        m_bindSpeed = toInt32(divide(m_bindSpeed * kReferenceCaliper, m_stockCaliper));
    }

    if (flag(bindery, "STOCKFLAG") && m_stockSelected == 1 && m_stockBinderyEfficiency > 0) {
        m_bindSpeed = toInt32(intFloor(m_stockBinderyEfficiency / 100 * m_bindSpeed + 0.5));
        m_bindSpoilagePercent = divide(m_bindSpoilagePercent * 100, m_stockBinderyEfficiency);
    }

    if (m_bindSpeed > maxSpeed)
        m_bindSpeed = maxSpeed;
    if (m_bindSpoilagePercent < minSpoilage)
        m_bindSpoilagePercent = minSpoilage;
    if (m_bindSpoilagePercent > maxSpoilage)
        m_bindSpoilagePercent = maxSpoilage;

    // Speeds of length-rated machines are quoted for an 11-inch sheet.
    if (flag(bindery, "LENGTHFLAG")) {
        if (m_productionType == 0 || m_opSheetSizeCode != 2) {
            if (m_opSheetLength != 0)
                m_bindSpeed = toInt32(divide(platform::multiply32(m_bindSpeed, kReferenceLength), m_opSheetLength));
        } else if (m_productionType == 1) {
            if (m_numberUp != 2)
                m_bindSpeed = toInt32(divide(platform::multiply32(m_bindSpeed, kReferenceLength) *
                                                 std::sqrt(m_numberUp),
                                             m_sheetDim[5]));
            else
                m_bindSpeed = toInt32(divide(platform::multiply32(m_bindSpeed, kReferenceLength), m_sheetDim[4]));
        }
    }

    m_setupMinutes = number(bindery, "SETUPTIME");
    m_costPerHour = number(bindery, "COSTPERHR");
    m_addlSetupMinutes = number(bindery, "ADDLSETUPTIME");
    if (m_setups > 0) {
        m_binderyWork[7] = m_setupMinutes / 60 * m_costPerHour;
        m_binderyWork[5] = ((m_setups - 1) * m_addlSetupMinutes + m_setupMinutes) * m_costPerHour / 60;
    } else {
        m_binderyWork[5] = 0;
        m_binderyWork[7] = 0;
    }

    m_fixedWaste = toInt32(number(bindery, "FIXEDWASTE"));
    m_wasteUnits = divide(m_bindSpoilagePercent * m_piecesToProduce * m_binderyWork[0] * m_signatures,
                          m_binderyWork[2] * 100) +
                   m_fixedWaste;

    // Carbonless pads spoil whole sets.
    if (flag(bindery, "CARBONLESSSPOILAGEFLAG") && isPadding && m_setups > 0)
        m_wasteUnits = m_wasteUnits * m_parts;

    if (m_bindSpeed >= 1)
        m_runCost = divide((divide(m_piecesToProduce * m_binderyWork[0], m_binderyWork[2]) * m_signatures +
                            m_wasteUnits) *
                               m_costPerHour,
                           m_bindSpeed);
    else
        m_runCost = 0;

    m_orderStockValues[1] = m_order.field("STOCKWT1000").number();

    // Packing and shipping operations name their package weight at the start of the bindery name
    // ("40 LB CARTONS").
    const double packageWeight = platform::val(bindery.field("BINDERYNAME").formatted());
    m_addlRunTime = number(bindery, "ADDLRUNTIME");

    // Operations priced by the weight of the finished job: pounds from the parent sheets used.
    auto jobWeight = [this] {
        return divide(divide(m_piecesToProduce * m_signatures, m_numberUp) * m_parentUsageRatio *
                          m_orderStockValues[1],
                      m_pressSheetsPerParent * 1000) *
               m_binderyWork[0];
    };
    if (flag(bindery, "WTBASEDFILEFLAG")) {
        m_weight = jobWeight();
        if (m_bindSpeed > 0)
            m_runCost = m_weight / m_bindSpeed * m_costPerHour;
        if (packageWeight > 0)
            m_runCost = m_runCost + intFloor(m_weight / packageWeight + kRoundUp) * m_addlRunTime;
    }

    m_minimumCost = number(bindery, "MINCOST");

    // Delivery is charged by weight: MINCOST is the rate per pound and set-ups the number of drops.
    if (flag(bindery, "DELIVERYFILEFLAG") && m_orderStockValues[1] > 0) {
        m_weight = jobWeight();
        if (m_bindSpeed > 0) {
            m_runCost = m_weight / m_bindSpeed * m_costPerHour;
            m_runCost = m_weight * m_minimumCost * m_setups + m_runCost;
            if (packageWeight > 0)
                m_runCost = m_runCost + intFloor(m_weight / packageWeight + kRoundUp) * m_addlRunTime;
        }
    }

    // Every further run spoils as much as the first; further set-ups of a plain operation add
    // ADDLRUNTIME per cent of a run each.
    if (m_setups == 0 || isPadding || flag(bindery, "PACKAGINGFILEFLAG") || flag(bindery, "MULTIBINDERFILEFLAG") ||
        flag(bindery, "WTBASEDFILEFLAG") || flag(bindery, "DELIVERYFILEFLAG"))
        m_wasteUnits = (m_wasteUnits - m_fixedWaste) * (m_runs + 1) + m_fixedWaste;
    else
        m_wasteUnits =
            (m_wasteUnits - m_fixedWaste) * (m_runs + 1 + (m_setups - 1) * m_addlRunTime / 100) + m_fixedWaste;

    m_pressPages = toInt32(std::fabs(m_order.field("PRESSPAGES").number()));
    if (m_pressPages == 0)
        m_pressPages = 1;

    // Gatherers and binders that take one pocket per signature: set-up per signature, and as many passes
    // as the signatures need pockets beyond the set-ups.
    if (flag(bindery, "MULTIBINDERFILEFLAG")) {
        const std::int32_t wholeSignatures = toInt32(intFloor(m_signatures + kRoundUp));
        m_binderyWork[5] = divide(m_addlSetupMinutes * m_costPerHour / 60 * m_binderyWork[0], m_binderyWork[2]) *
                           wholeSignatures;
        if (m_addlRunTime > 0)
            m_binderyWork[5] = m_binderyWork[5] * m_piecesToProduce / m_addlRunTime;

        double signatureSetupFactor = 0;
        if (m_setups > 0) {
            const double r = divide(wholeSignatures, m_setups);
            if (r > 1) {
                signatureSetupFactor = intFloor(r + kRoundUp);
            } else if (r == 1) {
                signatureSetupFactor = 1;
            } else {
                const std::int32_t setups = toInt32(m_setups);
                if (wholeSignatures == 0)
                    platform::raise(platform::fault::DivisionByZero);
                signatureSetupFactor = divide(1, setups / wholeSignatures);
            }
        }

        m_runCost = divide((divide(m_piecesToProduce * m_binderyWork[0], m_binderyWork[2]) +
                            divide(m_wasteUnits, m_signatures)) *
                               m_costPerHour * signatureSetupFactor,
                           m_bindSpeed);

        if (flag(bindery, "PAGESFLAG") && m_productionType == 1 && m_opSheetSizeCode == 0)
            m_binderyWork[5] = divide(m_pressPages * m_binderyWork[5], wholeSignatures * 2.0);

        if (flag(bindery, "THICKNESSFLAG"))
            m_binderyWork[5] = m_binderyWork[5] * m_stockCaliper / kReferenceCaliper + m_binderyWork[7];
        else
            m_binderyWork[5] = m_binderyWork[5] + m_binderyWork[7];
    }

    // Repeat runs of a plain operation cost a full run each, further set-ups ADDLRUNTIME per cent of one;
    // with no set-up the run is paid only per repeat. Book-mode page work is priced per page pair.
    if (!flag(bindery, "FOILFLAG") && !isPadding && !flag(bindery, "PACKAGINGFILEFLAG") &&
        !flag(bindery, "WTBASEDFILEFLAG") && !flag(bindery, "MULTIBINDERFILEFLAG") &&
        !flag(bindery, "DELIVERYFILEFLAG")) {
        if (m_setups >= 1)
            m_runCost = m_runCost * (m_runs + 1 + (m_setups - 1) * m_addlRunTime / 100);
        else
            m_runCost = m_runCost * m_runs;
    }
    if (flag(bindery, "PAGESFLAG") && m_productionType == 1 && m_opSheetSizeCode == 0)
        m_runCost = divide(m_pressPages * m_runCost, m_signatures * 2);

    // Waste is reported in press sheets.
    m_wasteUnits = divide(m_wasteUnits * m_binderyWork[2], m_numberUp);

    m_operationCost = m_binderyWork[5] + m_runCost;

    stock.close();
    bindery.close();
    selection.close();
    return {};
}

} // namespace estimator
