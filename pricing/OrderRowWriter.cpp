#include "pricing/OrderRowWriter.h"

#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

constexpr int NotAValidBookmark = 3159;

platform::Value zero()
{
    return platform::Value::fromInteger(0);
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

    // The table is opened once for the run; moving to the bookmark reads the row afresh each time.
    if (!m_open) {
        platform::Outcome notOpened = attempt([this] { m_orders = m_db.openTable("Orders"); });
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
    platform::Outcome quantityNotSet;
    if (pressQuantity)
        quantityNotSet = attempt([&] { m_orders.setField("PRESSQTY", *pressQuantity); });
    for (const auto& [clearedName, clearedValue] : clearedOrderFields()) {
        // Plain names: clang 14 does not let a lambda capture structured bindings.
        const auto& name = clearedName;
        const auto& value = clearedValue;
        attempt([&] { m_orders.setField(name, value); }); // a missing column is skipped
    }
    if (platform::Outcome notStored = attempt([this] { m_orders.update(); })) {
        m_orders.cancelUpdate();
        return notStored;
    }
    return quantityNotSet;
}

} // namespace pricing
