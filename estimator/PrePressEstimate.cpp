#include "estimator/cEstimator.h"

#include <string_view>
#include <vector>

#include "estimator/modEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator {

namespace {

// The five pre-press items entered on the order, in the order they are priced.
struct PrePressItem
{
    std::string_view valueColumn;
    std::string_view valueTypeColumn;
    std::string_view minutesColumn;
    double SummaryRecord::*minutes;
    platform::FixedText<6> SummaryRecord::*minutesText;
    double SummaryRecord::*cost;
    double SummaryRecord::*retail;
};

const PrePressItem kItems[] = {
    {"PPTYPESETVALUE", "PPTYPESETVALUETYPE", "PPTYPESETMINUTES", &SummaryRecord::typesetMinutes,
     &SummaryRecord::typesetMinutesText, &SummaryRecord::typesetCost, &SummaryRecord::typesetRetail},
    {"PPDESIGNVALUE", "PPDESIGNVALUETYPE", "PPDESIGNMINUTES", &SummaryRecord::designMinutes,
     &SummaryRecord::designMinutesText, &SummaryRecord::designCost, &SummaryRecord::designRetail},
    {"PPPASTEUPVALUE", "PPPASTEUPVALUETYPE", "PPPASTEUPMINUTES", &SummaryRecord::pasteupMinutes,
     &SummaryRecord::pasteupMinutesText, &SummaryRecord::pasteupCost, &SummaryRecord::pasteupRetail},
    {"PPPREFLIGHTVALUE", "PPPREFLIGHTVALUETYPE", "PPPREFLIGHTMINUTES", &SummaryRecord::preflightMinutes,
     &SummaryRecord::preflightMinutesText, &SummaryRecord::preflightCost, &SummaryRecord::preflightRetail},
    {"PPMATCHPRINTVALUE", "PPMATCHPRINTVALUETYPE", "PPMATCHPRINTMINUTES", &SummaryRecord::matchprintMinutes,
     &SummaryRecord::matchprintMinutesText, &SummaryRecord::matchprintCost, &SummaryRecord::matchprintRetail},
};

// The table and column names of camera work and of its scan twin.
struct SelectionTables
{
    std::string_view selections; // CAMERASELECTIONS
    std::string_view types;      // CAMERATYPES
    std::string_view sizes;      // CAMERASIZES
    std::string_view prefix;     // CAMERA
};

constexpr SelectionTables kCamera{"CAMERASELECTIONS", "CAMERATYPES", "CAMERASIZES", "CAMERA"};
constexpr SelectionTables kScan{"SCANSELECTIONS", "SCANTYPES", "SCANSIZES", "SCAN"};

std::string lookupSql(const SelectionTables& t, std::int32_t typeId, std::int32_t sizeId)
{
    const std::string types(t.types), sizes(t.sizes), p(t.prefix);
    return "SELECT " + types + "." + p + "TYPEID, " + types + "." + p + "TYPE, " + types + ".COSTTYPE, " +
           types + ".SETUPCOST, " + types + ".COSTONLY, " + types + ".COSTSQIN, " + types + ".COSTHR, " +
           sizes + "." + p + "SIZEID, " + sizes + "." + p + "SIZE, " + sizes + ".COSTPERSIZE, " + sizes +
           ".MINUTES " + "FROM " + types + " LEFT JOIN " + sizes + " ON " + types + "." + p + "TYPEID = " +
           sizes + "." + p + "TYPEID " + "WHERE " + types + "." + p + "TYPEID = " + std::to_string(typeId) +
           " AND " + sizes + "." + p + "SIZEID = " + std::to_string(sizeId);
}

} // namespace

double cEstimator::EstimatePrePress()
{

    data::Recordset markupRow =
        m_db.openRecordset("SELECT MARKUP FROM MARKUPS WHERE UCASE(DEPARTMENT) = 'PRE-PRESS:'");
    const double markup = markupRow.recordCount() > 0 ? markupRow.field(0).number() : 0;
    markupRow.close();
    const double markupFactor = markup / 100 + 1;

    double totalCost = 0, totalRetail = 0, totalMinutes = 0;
    SummaryRecord& first = m_context.summary[1];

    for (const PrePressItem& item : kItems) {
        const double value = m_order.field(item.valueColumn).number();
        const std::int16_t valueType = platform::toInt16(m_order.field(item.valueTypeColumn).number());
        const double minutes = m_order.field(item.minutesColumn).number();

        double itemCost = 0, itemRetail = 0;
        if (value > 0) {
            // Value type 0: the shop entered its cost; otherwise the price the customer pays.
            if (valueType == 0) {
                itemCost = value;
                itemRetail = markupFactor * value;
            } else {
                itemCost = platform::divide(value, markupFactor);
                itemRetail = value;
            }
            totalCost += itemCost;
            totalRetail += itemRetail;
        }
        totalMinutes += minutes;

        first.*item.minutes = platform::toSingle(minutes);
        first.*item.minutesText = ConvertMinutes(minutes);
        first.*item.cost = platform::toSingle(itemCost);
        first.*item.retail = platform::toSingle(itemRetail);
        if (item.minutes == &SummaryRecord::typesetMinutes)
            first.typesetMarkup = platform::toSingle(markup / 100);
    }
    m_prePressWorkMinutes = totalMinutes;
    m_prePressWorkCost = totalCost;

    // Camera work and scans: one line per selection of the order part.
    const auto selectionWork = [&](const SelectionTables& tables, std::vector<PrePressLine>& lines,
                                   double& workCost, double& workMinutes) {
        const std::string prefix(tables.prefix);
        lines.clear();
        workCost = 0;
        workMinutes = 0;
        data::Recordset selections =
            m_db.openRecordset("SELECT * FROM " + std::string(tables.selections) + " WHERE " + keyClause());
        for (; !selections.eof(); selections.moveNext()) {
            lines.emplace_back();
            const double quantity = selections.field("QTY").number();
            lines.back().quantity = quantity;
            const std::int32_t typeId = platform::toInt32(selections.field(prefix + "TYPEID").number());
            const std::int32_t sizeId = platform::toInt32(selections.field(prefix + "SIZEID").number());

            data::Recordset lookup = m_db.openRecordset(lookupSql(tables, typeId, sizeId));
            if (lookup.recordCount() > 0) {
                PrePressLine& line = lines.back();
                line.typeName = lookup.field(prefix + "TYPE").formatted();
                const std::string sizeName = lookup.field(prefix + "SIZE").formatted();
                line.sizeName = sizeName;

                const double costType = lookup.field("COSTTYPE").number();
                double lineCost = 0;
                if (costType == 0)
                    lineCost = quantity * lookup.field("COSTONLY").number();
                else if (costType == 1)
                    lineCost = quantity * GetDimension(sizeName, 1, "X") * GetDimension(sizeName, 0, "X") *
                               lookup.field("COSTSQIN").number();
                else if (costType == 2)
                    lineCost = quantity * lookup.field("COSTPERSIZE").number();
                workCost += lineCost;
                line.lineCost = lineCost;
                line.lineRetail = markupFactor * lineCost;

                // The set-up is time at the hourly rate: it adds minutes, not cost.
                const double costPerHour = lookup.field("COSTHR").number();
                const double setupMinutes =
                    costPerHour != 0 ? lookup.field("SETUPCOST").number() / costPerHour * 60 : 0;
                line.lineMinutes = lookup.field("MINUTES").number() * quantity + setupMinutes;
                workMinutes += line.lineMinutes;
            }
            lookup.close();
        }
        selections.close();

        totalCost += workCost;
        totalRetail += markupFactor * workCost;
        totalMinutes += workMinutes;
    };

    selectionWork(kCamera, m_context.cameraLines, m_cameraCost, m_cameraMinutes);
    first.cameraCost = m_cameraCost;
    first.cameraMinutes = m_cameraMinutes;
    first.cameraMinutesText = ConvertMinutes(m_cameraMinutes);

    selectionWork(kScan, m_context.scanLines, m_scanCost, m_scanMinutes);
    first.scanCost = m_scanCost;
    first.scanMinutes = m_scanMinutes;
    first.scanMinutesText = ConvertMinutes(m_scanMinutes);

    m_results.ResPrePressCost = totalCost;
    m_results.ResPrePressRetail = totalRetail;
    m_results.ResPrePressMinutes = totalMinutes;

    // Pre-press does not depend on the quantity: every priced slot shows the same totals.
    const std::string minutesText = ConvertMinutes(totalMinutes);
    for (std::size_t slot = 1; slot <= 4; ++slot) {
        SummaryRecord& record = m_context.summary[slot];
        if (slot != 1 && record.quantity == 0)
            continue;
        record.prePressHours = totalMinutes / 60;
        record.prePressMinutesText = minutesText;
        record.prePressCost = totalCost;
        record.prePressRetail = totalRetail;
    }
    return totalCost;
}

} // namespace estimator
