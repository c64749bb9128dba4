#include "estimator/OrderKey.h"

#include "data/Dialect.h"

namespace estimator {

namespace {

std::string column(std::string_view table, std::string_view name)
{
    return table.empty() ? std::string(name) : std::string(table) + "." + std::string(name);
}

} // namespace

std::string OrderKey::orderClause(std::string_view table) const
{
    return column(table, "ORDERNO") + " = " + data::sqlLiteral(orderNo);
}

std::string OrderKey::partClause(std::string_view table) const
{
    return orderClause(table) + " AND " + column(table, "PARTNO") + " = " + std::to_string(partNo);
}

std::string OrderKey::where(std::string_view table) const
{
    return partClause(table) + " AND " + column(table, "QUOTEORJOB") + " = " + data::sqlLiteral(quoteOrJob);
}

} // namespace estimator
