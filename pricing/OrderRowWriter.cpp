#include "pricing/OrderRowWriter.h"

#include <cmath>

#include "data/JetErrors.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

using data::NotAValidBookmark;

platform::Value zero()
{
    return platform::Value::fromInteger(0);
}

// Whether a field holding `held` already holds `wanted`: the same value, or the same number (a yes/no
// field's True is -1, a number field keeps 0 as 0.0), so that writing it would change nothing.
bool holdsAlready(const platform::Value& held, const platform::Value& wanted)
{
    if (held == wanted)
        return true;
    using Kind = platform::Value::Kind;
    const auto isNumber = [](const platform::Value& v) {
        return v.kind() == Kind::Integer || v.kind() == Kind::Double || v.kind() == Kind::Boolean;
    };
    constexpr double Exact = 9007199254740992.0; // 2^53: beyond it two whole numbers can read as one double
    return isNumber(held) && isNumber(wanted) && held.real() == wanted.real() && std::fabs(held.real()) < Exact;
}

} // namespace

const std::vector<std::pair<std::string, platform::Value>>& clearedOrderFields()
{
    static const std::vector<std::pair<std::string, platform::Value>> fields = {
        {"PRESSQTY2", zero()},
        {"PRESSQTY3", zero()},
        {"PRESSQTY4", zero()},
        {"PRESSSPOILCUSTOM", platform::Value::fromBoolean(false)},
        {"PressCost", zero()},
        {"PressCost2", zero()},
        {"PressCost3", zero()},
        {"PressCost4", zero()},
        {"BinderyHrs", zero()},
        {"BinderyCost", zero()},
        {"BinderyCost2", zero()},
        {"BinderyCost3", zero()},
        {"BinderyCost4", zero()},
        {"PrintPricing", platform::Value::fromInteger(-1)},
        {"VendorCost", zero()},
        {"VendorCost2", zero()},
        {"VendorCost3", zero()},
        {"VendorCost4", zero()},
        {"EstHrs1", zero()},
        {"EstHrs2", zero()},
        {"EstHrs3", zero()},
        {"EstHrs4", zero()},
        {"Price10001", zero()},
        {"Price10002", zero()},
        {"Price10003", zero()},
        {"Price10004", zero()},
        {"StockEstCost1", zero()},
        {"StockEstCost2", zero()},
        {"StockEstCost3", zero()},
        {"StockEstCost4", zero()},
        {"PressSheets1", zero()},
        {"PressSheets2", zero()},
        {"PressSheets3", zero()},
        {"PressSheets4", zero()},
        {"BindSheets1", zero()},
        {"BindSheets2", zero()},
        {"BindSheets3", zero()},
        {"BindSheets4", zero()},
        {"Adjustment", zero()},
    };
    return fields;
}

OrderRowWriter::OrderRowWriter(data::Database shop, std::int64_t bookmark, MessageCallback onMessage)
    : m_db(std::move(shop)), m_bookmark(bookmark), m_onMessage(std::move(onMessage))
{
}

void OrderRowWriter::report(const std::string& message) const
{
    if (m_onMessage)
        m_onMessage(message);
}

void OrderRowWriter::close()
{
    m_orders.close();
    m_open = false;
}

platform::Outcome OrderRowWriter::Saveit(const platform::Value& pressQuantity)
{
    return write(&pressQuantity);
}

platform::Outcome OrderRowWriter::clearEstimates()
{
    return write(nullptr);
}

platform::Outcome OrderRowWriter::write(const platform::Value* pressQuantity)
{
    const auto attempt = [](auto&& statement) -> platform::Outcome {
        try {
            statement();
            return std::nullopt;
        } catch (const platform::Fault& fault) {
            return fault;
        }
    };

    // The table is opened once for the run, without its rows; moving to the bookmark reads the row afresh
    // each time.
    if (!m_open) {
        platform::Outcome notOpened =
            attempt([this] { m_orders = m_db.openTable("Orders", data::TableRows::ByBookmark); });
        if (notOpened) {
            close();
            return notOpened;
        }
        m_open = true;
    }

    if (platform::Outcome notOnTheRow = attempt([this] { m_orders.setBookmark(m_bookmark); })) {
        if (notOnTheRow->number() == NotAValidBookmark)
            report("Error Number " + platform::str(NotAValidBookmark));
        // Not on the order's row: editing now would change whatever row the table is on.
        return notOnTheRow;
    }

    if (platform::Outcome notEditing = attempt([this] { m_orders.edit(); }))
        return notEditing; // a read-only database: every later step would fail the same way
    // A field that holds its value already is left alone: the row changes only where it must, and a row
    // an earlier run left cleared is not written at all.
    const auto set = [&](const std::string& name, const platform::Value& value) {
        return attempt([&] {
            if (!holdsAlready(m_orders.field(name), value))
                m_orders.setField(name, value);
        });
    };
    platform::Outcome quantityNotSet;
    if (pressQuantity)
        quantityNotSet = set("PRESSQTY", *pressQuantity);
    for (const auto& [clearedName, clearedValue] : clearedOrderFields())
        set(clearedName, clearedValue); // a missing column is skipped
    if (platform::Outcome notStored = attempt([this] { m_orders.update(); })) {
        m_orders.cancelUpdate();
        return notStored;
    }
    return quantityNotSet;
}

} // namespace pricing
