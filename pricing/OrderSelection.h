#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Database.h"
#include "platform/Outcome.h"
#include "platform/Value.h"

namespace pricing {

// Whether the order is priced as a quote or a job. The order's bindery rows decide; an order without
// bindery rows leaves the window's choice as it was (Unset, which prices as a quote).
enum class QuoteOrJob { Unset, Quote, Job };

// The chosen order, as the main window shows and keeps it.
struct OrderSelection
{
    std::string orderNo;     // txtQuoteorJob, from "OrderNo"
    std::string stock;       // txtStock, "StockDesc"
    std::string description; // txtDesc, "Description"
    std::string size;        // txtSize, "PressFinishedSize"
    std::string partNo;      // txtPart, "PartNo" as text
    std::string origQty;     // txtOrigQty, "PressQty" as text
    platform::Value pressQty; // "PressQty" as read, written back unchanged at the end of a run
    std::int64_t bookmark = 0; // the row's position in "Orders"
    std::string bindery;      // txtBind: the order's "Bindery" names joined by ", "
    QuoteOrJob quoteOrJob = QuoteOrJob::Unset; // from the last bindery row of the order
};

// data folder + "/vmdata.pg" when the folder has that connection file (the shop database is on a server),
// otherwise data folder + "/vmdata.mdb". Every open of the shop database goes through this path.
std::string databasePath(const std::string& dataFolder);

// The shop database in use, as the window's status line and the commands name it: the file's path, or
// the server's connection string (without any password) and the connection file it comes from. A
// connection file that cannot be used is a Fault saying why.
std::string shopDatabaseName(const std::string& dataFolder);

// An entry of cboJobs: "OrderNo - Description" and the row it stands for.
struct OrderEntry
{
    std::string text;
    std::int64_t bookmark = 0;
};

// The entries of cboJobs: one for every row of "Orders" in stored order (Null shows as empty), so each
// part of an order is an entry of its own. A failure (no database, missing column) leaves the list as far
// as it got and, when faultText is given, puts the failure's text there.
std::vector<OrderEntry> listOrders(const std::string& databaseFile, std::string* faultText = nullptr);

// The same, the texts only.
std::vector<std::string> listOrderEntries(const std::string& databaseFile, std::string* faultText = nullptr);

// The order number of a cboJobs entry: its first 8 characters.
std::string orderNumberOfEntry(std::string_view entry);

// Chooses an order: the first row of "Orders" whose "OrderNo" equals orderNo, then the order's rows of
// "BinderySelections". No matching row gives nothing. A database that cannot be read is a
// platform::Fault naming the file.
std::optional<OrderSelection> selectOrder(const std::string& databaseFile, std::string_view orderNo);

// What the command line may ask beyond the order number: a part, and whether the quote or the job row of
// the order is meant. The row written during the run is then the one the engine prices.
struct OrderKeyFilter
{
    std::optional<std::int16_t> partNo;   // only rows whose "PartNo" has this number
    std::optional<QuoteOrJob> quoteOrJob; // only rows whose "QuoteOrJob" is "Q" (Quote) or "J" (Job)
    bool operator==(const OrderKeyFilter&) const = default;
};

// The first row of "Orders" with that "OrderNo" that also fits the filter; the bindery rows are those of
// the order number, as in the window. An empty filter selects as the window does.
std::optional<OrderSelection> selectOrder(const std::string& databaseFile,
                                          std::string_view orderNo,
                                          const OrderKeyFilter& filter);
// The same through an open database (a run's session); a database that cannot be read is a
// platform::Fault as the database gives it.
std::optional<OrderSelection> selectOrder(const data::Database& db, std::string_view orderNo,
                                          const OrderKeyFilter& filter);

// Chooses the row at `bookmark` (an entry of listOrders): that row's texts, and the bindery rows of its order
// number and part only. Nothing when the row is gone. A database that cannot be read is a platform::Fault.
std::optional<OrderSelection> selectOrderAt(const std::string& databaseFile, std::int64_t bookmark);

// The engine's QuoteOrJob key of a choice.
std::string quoteOrJobCode(QuoteOrJob choice); // "J" for a job, else "Q"

// Why the estimator would find no row of "Orders" for the key it is given (order number, part number and
// "Q" or "J"), in the shop's words: the order number, the part or the quote-or-job mark that matches no
// row ("Order 24103 part 1 is not a quote (Q) in the shop database: its row is marked J."), as a "No
// current record." fault (3021) with that text. Nothing when a row has that key. Reads the rows the way the
// estimator's own query does; a database that cannot be read is a thrown platform::Fault.
platform::Outcome missingOrderKey(const data::Database& db, const std::string& orderNo, std::int16_t partNo,
                            QuoteOrJob choice);

} // namespace pricing
