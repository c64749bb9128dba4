#include "estimator/PrePressLoader.h"

#include <array>

#include "data/Database.h"
#include "data/Recordset.h"
#include "platform/Conversions.h"

namespace estimator::prepress {

namespace {

struct ItemColumns
{
    std::string_view value, valueType, minutes;
};

constexpr std::array<ItemColumns, kItemCount> kItemColumns{{
    {"PPTYPESETVALUE", "PPTYPESETVALUETYPE", "PPTYPESETMINUTES"},
    {"PPDESIGNVALUE", "PPDESIGNVALUETYPE", "PPDESIGNMINUTES"},
    {"PPPASTEUPVALUE", "PPPASTEUPVALUETYPE", "PPPASTEUPMINUTES"},
    {"PPPREFLIGHTVALUE", "PPPREFLIGHTVALUETYPE", "PPPREFLIGHTMINUTES"},
    {"PPMATCHPRINTVALUE", "PPMATCHPRINTVALUETYPE", "PPMATCHPRINTMINUTES"},
}};

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

// The type and size row of a selection, read column by column as the pricing uses them: only the cost
// column of its cost type, and the set-up only where there is an hourly rate.
void readLookup(const data::Recordset& lookup, const std::string& prefix, SelectionInput& s)
{
    s.found = true;
    s.typeName = lookup.field(prefix + "TYPE").formatted();
    s.sizeName = lookup.field(prefix + "SIZE").formatted();
    s.costType = lookup.field("COSTTYPE").number();
    if (s.costType == 0)
        s.costRate = lookup.field("COSTONLY").number();
    else if (s.costType == 1)
        s.costRate = lookup.field("COSTSQIN").number();
    else if (s.costType == 2)
        s.costRate = lookup.field("COSTPERSIZE").number();
    s.costPerHour = lookup.field("COSTHR").number();
    if (s.costPerHour != 0)
        s.setupCost = lookup.field("SETUPCOST").number();
    s.minutesEach = lookup.field("MINUTES").number();
}

} // namespace

double loadMarkup(data::Database& db)
{
    data::Recordset row = db.openRecordset("SELECT MARKUP FROM MARKUPS WHERE UCASE(DEPARTMENT) = 'PRE-PRESS:'");
    const double markup = row.recordCount() > 0 ? row.field(0).number() : 0;
    row.close();
    return markup;
}

ItemInput loadItem(const data::Recordset& order, std::size_t index)
{
    const ItemColumns& c = kItemColumns.at(index);
    ItemInput item;
    item.value = order.field(c.value).number();
    item.valueType = platform::toInt16(order.field(c.valueType).number());
    item.minutes = order.field(c.minutes).number();
    return item;
}

std::vector<SelectionInput> loadSelections(data::Database& db, const SelectionTables& tables,
                                           const OrderKey& key)
{
    const std::string prefix(tables.prefix);
    std::vector<SelectionInput> out;
    data::Recordset selections = db.openRecordset("SELECT * FROM " + std::string(tables.selections) + " WHERE " + key.where());
    for (; !selections.eof(); selections.moveNext()) {
        SelectionInput& s = out.emplace_back();
        s.quantity = selections.field("QTY").number();
        const std::int32_t typeId = platform::toInt32(selections.field(prefix + "TYPEID").number());
        const std::int32_t sizeId = platform::toInt32(selections.field(prefix + "SIZEID").number());
        data::Recordset lookup = db.openRecordset(lookupSql(tables, typeId, sizeId));
        if (lookup.recordCount() > 0)
            readLookup(lookup, prefix, s);
        lookup.close();
    }
    selections.close();
    return out;
}

} // namespace estimator::prepress
