#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/Database.h"
#include "data/TableView.h"
#include "platform/Outcome.h"
#include "platform/Value.h"

namespace pricing {

// Receives what the user must be told ("Error Number  3159"); the window shows a message box, the
// command line writes it to stderr.
using MessageCallback = std::function<void(const std::string& message)>;

// The fields the writer sets, in the order it sets them, with the value of each except "PRESSQTY" (the
// quantity being priced): the row then describes a single-quantity job marked for print pricing.
const std::vector<std::pair<std::string, platform::Value>>& clearedOrderFields();

// Writes the quantity being priced into the chosen order's row of "Orders" (Saveit), through the run's
// session of the shop database. The table is opened once for the run, and only the row is ever read: every
// write goes back to the row by its bookmark, which reads that one row.
class OrderRowWriter
{
public:
    OrderRowWriter(data::Database shop, std::int64_t bookmark, MessageCallback onMessage = {});

    // Writes "PRESSQTY" = pressQuantity and the cleared fields (a field that holds its value already is left
    // as it is, so a row that holds them all is not written). A row the database no longer knows
    // (fault 3159) is reported as "Error Number  3159" and nothing is written; a table or row that cannot
    // be reached otherwise writes nothing either (never another order's row). Once on the row, a failing
    // field (a missing column) is skipped and the others are written; a failing store leaves the row as
    // it was. Returns nothing when the row was stored with the new press quantity, i.e. when an estimate
    // now prices that quantity; otherwise the fault of the step that failed (reaching the row, setting the
    // press quantity or storing the row).
    platform::Outcome Saveit(const platform::Value& pressQuantity);

    // The same without "PRESSQTY": the row keeps the press quantity it has and gets every other field of
    // the list. Returns nothing when the row was stored, otherwise the fault that kept it from it.
    platform::Outcome clearEstimates();

    // Lets go of the table (the next write reads it again).
    void close();

private:
    data::Database m_db;
    std::int64_t m_bookmark;
    MessageCallback m_onMessage;
    data::TableView m_orders;
    bool m_open = false;
    void report(const std::string& message) const;
    platform::Outcome write(const platform::Value* pressQuantity);
};

} // namespace pricing
