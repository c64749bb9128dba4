#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/Snapshot.h"
#include "estimator/EstimateResults.h"
#include "estimator/RunContext.h"
#include "estimator/Summary.h"
#include "platform/Conversions.h"
#include "platform/Outcome.h"
#include "pricing/OrderRowWriter.h"
#include "pricing/OrderSelection.h"
#include "pricing/PriceRequest.h"
#include "pricing/Schedule.h"

namespace estimator {
class cEstimator;
}

namespace pricing {

// The engine's results for one quantity, read from the estimator after its four estimates.
using EstimateResults = estimator::EstimateResults;

// One priced quantity: its line of the list and what the engine worked out.
struct PricedQuantity
{
    std::int32_t quantity = 0;
    std::string text;          // the quantity text of the line
    platform::Currency price;  // rounded
    std::string line;          // text + 27 spaces + "$##0.00"
    EstimateResults results;
    estimator::SummaryRecord summary; // summary record 1 after the estimates
};

// A quantity the engine could not price: it gets no line, the run goes on.
struct SkippedQuantity
{
    std::int32_t quantity = 0;
    std::string text;
    std::string fault;  // the engine's fault text
    std::string detail; // the database's own words and SQL text behind it, when there are any
};

struct PricingInputs
{
    std::string dataFolder;    // holds vmdata.mdb
    std::string programFolder; // holds the report work database; empty for the current folder
    OrderSelection order;      // the row the request names: orderNo, partNo, bookmark, pressQty/origQty are used
    // What is priced: the quote or job mark (Job prices as "J", anything else as "Q"), the schedule run()
    // walks, and the rounding.
    PriceRequest request;
};

struct PricingCallbacks
{
    std::function<void(const std::string& quantityText)> onProgress; // txtQty: the quantity now priced
    std::function<void(const PricedQuantity& priced)> onLine;        // a line added to lstPrice
    MessageCallback onMessage;                                       // message boxes / stderr
    estimator::EngineHooks engineHooks; // the engine's own messages (with their title) and its yields
    std::function<bool()> cancelRequested;                           // asked between quantities
    // With false, a priced quantity is handed to onLine and not kept in the result (its lines and priced
    // quantities stay empty; pricedCount counts them), so a long schedule's memory does not grow.
    bool keepResults = true;
    // The run's session of the shop database: its busy timeout, the trace of the statements it sends, its
    // read cache.
    data::SessionOptions session;
};

// Why a run stopped before the end of its schedule, when the user must hear of it.
enum class StopReason
{
    ShopDatabaseBusy, // another program held the shop database longer than the busy timeout
    CannotWrite,      // the order row could not be written (read-only, disk full, damaged ...)
    OrderGone,        // the order's row is no longer in the shop database (fault 3159)
    OrderKeyNotFound, // no row has the number, part and quote-or-job mark the estimator looks for
    ShopDataChanged,  // another program changed the shop's data between two quantities of a file whose
                      // readers would hold up its writers (so it is read a quantity at a time)
};

struct RunStop
{
    StopReason reason = StopReason::CannotWrite;
    std::string message; // in the shop's words; empty when the run's message callback has told it already
    std::string detail;  // the fault behind it in the database's own words, for a details view or --verbose
};

struct PricingResult
{
    std::vector<std::string> lines; // lstPrice, in schedule order
    std::vector<PricedQuantity> priced;
    std::size_t pricedCount = 0; // quantities priced, kept or not
    std::vector<SkippedQuantity> skipped;
    // The schedule's notes (steps of 0 or less, the 32-bit limit).
    std::vector<std::string> notes;
    bool cancelled = false;
    std::string cancelledAt; // the quantity that was next when the run was cancelled
    // Set when the run stopped early because of the shop database: nothing further was priced, and the
    // list does not cover the schedule.
    std::optional<RunStop> stopped;
};

// The message of a run stopped because another program holds the shop database.
extern const char* const kShopDatabaseBusyMessage;

// What the user is told about the quantities that got no line, the quantities of each fault together:
// "3 quantities could not be priced: 100, 125 (Division by zero); 150 (Overflow)". Empty without any.
std::string skippedMessage(const std::vector<SkippedQuantity>& skipped);

// What stands behind that message: for each different detail of the skipped quantities, the quantities
// and the detail ("100, 125: no such table: PRESSES / SQL: ..."), one after the other. Empty without any.
std::string skippedDetails(const std::vector<SkippedQuantity>& skipped);

// What a run does to the shop database before it prices anything, through the session it prices with.
// Each returns why the run cannot go on, or nothing.
// - The estimator will find the order's row by its number, part and quote-or-job mark.
std::optional<RunStop> checkOrderKey(const data::Database& shop, const PricingInputs& inputs);
// - The row's stored estimate figures are cleared and it is marked for print pricing, its press quantity
//   left as it is: the run's one change to the database, committed at once.
std::optional<RunStop> clearOrderEstimates(const data::Database& shop, const PricingInputs& inputs,
                                           const MessageCallback& onMessage);

// The pricing run of the main window (cmdPrice). It works through a session of its own on the shop
// database, which it hands to the engine. The database is changed once, at the start: the order's row gets
// its stored estimate figures cleared and is marked for print pricing, its press quantity left as it is.
// Then every quantity of the schedule reads one snapshot of the shop's data, taken after that change: the
// quantity is written (Saveit) into a private working copy of the order's rows, which the engine reads in
// place of the file's, and priced with a fresh engine (TimeCost, CalcMode), and the write is undone when
// the quantity ends. So a list never mixes two states of the rates, the file never holds a schedule
// quantity, other programs and runs never wait for a run or see its quantities, and a run stopped at any
// moment (a crash, a kill, a power cut) leaves the order as the start left it.
class PricingRun
{
public:
    PricingRun(PricingInputs inputs, PricingCallbacks callbacks = {});
    // A run inside a snapshot the caller holds (a book's, whose pages all read one state of the data): the
    // caller has checked the order and cleared its estimate figures through the snapshot's session.
    PricingRun(PricingInputs inputs, PricingCallbacks callbacks, data::Snapshot& snapshot);
    ~PricingRun();
    PricingRun(const PricingRun&) = delete;
    PricingRun& operator=(const PricingRun&) = delete;

    // The request's schedule, walked one quantity at a time and never kept whole.
    PricingResult run();
    // Another schedule with the request's order and rounding (one quantity, or a schedule of any shape).
    PricingResult run(const Schedule& schedule);

    // One quantity of the run; used by run().
    void SelectQuote(const ScheduleEntry& entry);
    platform::Outcome Saveit(const platform::Value& pressQuantity); // nothing when the row holds the quantity
    void TimeCost(const ScheduleEntry& entry);
    void CalcMode(const ScheduleEntry& entry); // faults pass up to TimeCost

    const PricingResult& result() const noexcept { return m_result; }
    // The engine of the last pricing, kept until the next run, as the window keeps it.
    const estimator::cEstimator* lastEstimator() const noexcept { return m_estimator.get(); }

private:
    PricingInputs m_inputs;
    PricingCallbacks m_callbacks;
    PricingResult m_result;
    // What the run's estimators share, the run's session among it; declared before them, as they hold on
    // to it.
    estimator::RunContext m_context;
    std::unique_ptr<estimator::cEstimator> m_estimator;
    data::Snapshot* m_givenSnapshot = nullptr;   // a book's, when the run is one of its pages
    std::optional<data::Snapshot> m_ownSnapshot; // the run's own otherwise, for as long as it prices
    data::Snapshot* m_snapshot = nullptr;        // the one the run reads
    std::optional<OrderRowWriter> m_writer;      // writes each quantity into the working copy

    PricingResult runWalking(const std::function<std::vector<std::string>(const ScheduleVisitor&)>& walk);
    bool prepare();
    bool takeSnapshot(const data::Database& shop);
    void stop(StopReason reason, std::string message, std::string detail);
    // A stop of the run, if any; a busy wait that Cancel or Ctrl-C ended is the run cancelled at `atQuantity`.
    void stop(std::optional<RunStop> stop, const std::string& atQuantity = {});
};

} // namespace pricing
