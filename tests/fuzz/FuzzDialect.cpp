#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/Dialect.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

// The SQL dialect adapters (a file's and a server's) over any text: a fault is a fine answer, a crash or a
// hang is not.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    try {
        (void)data::adaptSql(sql);
    } catch (const platform::Fault&) {
    }
    // A server database with the shop's orders: a table, a number column and a text column.
    static const data::ServerCatalog catalog{
        [](std::string_view name) {
            const std::string upper = platform::upperCase(name);
            return upper == "ORDERS" || upper == "STOCKID" || upper == "ORDERNO" ? upper : std::string();
        },
        [](std::string_view table, std::string_view column) {
            if (platform::upperCase(table) != "ORDERS")
                return data::ColumnHolds::Nothing;
            const std::string upper = platform::upperCase(column);
            return upper == "STOCKID" ? data::ColumnHolds::Numbers
                   : upper == "ORDERNO" ? data::ColumnHolds::Texts
                                        : data::ColumnHolds::Nothing;
        },
        [](std::string_view table) { return table == "ORDERS"; },
    };
    try {
        (void)data::adaptSqlForServer(sql, catalog);
    } catch (const platform::Fault&) {
    }
    return 0;
}
