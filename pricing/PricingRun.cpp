#include "pricing/PricingRun.h"

#include <optional>
#include <string>
#include <utility>

#include "data/JetErrors.h"
#include "data/ServerFaults.h"
#include "estimator/cEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Statement.h"
#include "pricing/Rounding.h"

namespace pricing {

const char* const kShopDatabaseBusyMessage =
    "The shop database is being changed by another program. Nothing was changed; try again in a moment.";

namespace {

using data::DiskFull;
using data::Locked;
using data::NoCurrentRecord;
using data::NotAValidBookmark;
using data::ReadOnly;

// The engine's areas in the order a whole job is priced, each at quantity slot 1: stock, pre-press,
// bindery, press (the press runs the ink, outside services and job totals).
struct EstimateCall
{
    estimator::EstimateArea area;
    std::int16_t count;
};
using Area = estimator::EstimateArea;
constexpr EstimateCall EstimateCalls[] = {{Area::Stock, 0}, {Area::PrePress, 0}, {Area::Bindery, 1}, {Area::Press, 1}};

// CInt of the part number text: a text that is no number is a type mismatch, as it always was.
std::int16_t partNumber(const std::string& text)
{
    if (!platform::isNumeric(text))
        platform::raise(platform::fault::TypeMismatch);
    return platform::toInt16(platform::val(text));
}

// A fault as a run's stop shows it behind its message: the fault's own text, then the database's words.
std::string behind(const platform::Fault& fault)
{
    return fault.detail().empty() ? fault.what() : fault.what() + std::string("\n") + fault.detail();
}

} // namespace

std::string skippedMessage(const std::vector<SkippedQuantity>& skipped)
{
    if (skipped.empty())
        return {};
    // Quantities that failed for the same reason are named together, in the order they came.
    std::vector<std::pair<std::string, std::vector<std::string>>> byFault;
    for (const SkippedQuantity& s : skipped) {
        auto group = byFault.begin();
        while (group != byFault.end() && group->first != s.fault)
            ++group;
        if (group == byFault.end()) {
            byFault.push_back({s.fault, {}});
            group = byFault.end() - 1;
        }
        group->second.push_back(s.text.empty() ? std::to_string(s.quantity) : s.text);
    }
    std::string message = std::to_string(skipped.size()) +
                          (skipped.size() == 1 ? " quantity could not be priced: " : " quantities could not be priced: ");
    for (std::size_t g = 0; g < byFault.size(); ++g) {
        if (g > 0)
            message += "; ";
        for (std::size_t i = 0; i < byFault[g].second.size(); ++i)
            message += (i > 0 ? ", " : "") + byFault[g].second[i];
        message += " (" + byFault[g].first + ")";
    }
    return message;
}

std::string skippedDetails(const std::vector<SkippedQuantity>& skipped)
{
    std::vector<std::pair<std::string, std::string>> byDetail; // detail, quantities
    for (const SkippedQuantity& s : skipped) {
        if (s.detail.empty())
            continue;
        auto group = byDetail.begin();
        while (group != byDetail.end() && group->first != s.detail)
            ++group;
        const std::string quantity = s.text.empty() ? std::to_string(s.quantity) : s.text;
        if (group == byDetail.end())
            byDetail.push_back({s.detail, quantity});
        else
            group->second += ", " + quantity;
    }
    std::string details;
    for (const auto& [detail, quantities] : byDetail)
        details += (details.empty() ? "" : "\n") + quantities + ": " + detail;
    return details;
}

namespace {

// Why a run stops when the order's row could not be written, in the shop's words; `atQuantity` is empty
// when nothing was priced yet.
RunStop writeFaultStop(int number, const std::string& atQuantity, std::string detail)
{
    const std::string stopped = atQuantity.empty() ? "Nothing was priced" : "Pricing stopped at " + atQuantity;
    switch (number) {
    case Locked:
        return {StopReason::ShopDatabaseBusy,
                atQuantity.empty() ? kShopDatabaseBusyMessage
                                   : "The shop database is being changed by another program, so pricing stopped at " +
                                         atQuantity + ". Try again in a moment.",
                std::move(detail)};
    case NotAValidBookmark:
        // The row writer has shown "Error Number  3159" already.
        return {StopReason::OrderGone, {}, std::move(detail)};
    case ReadOnly:
        return {StopReason::CannotWrite,
                "The order row could not be written: the shop database or its folder is read-only. " + stopped +
                    "; ask for write access to the data folder.",
                std::move(detail)};
    case DiskFull:
        return {StopReason::CannotWrite,
                "The order row could not be written: the disk is full. " + stopped +
                    "; make room on the disk and try again.",
                std::move(detail)};
    default:
        return {StopReason::CannotWrite, "The order row could not be written. " + stopped + ".", std::move(detail)};
    }
}

} // namespace

std::optional<RunStop> checkOrderKey(const data::Database& shop, const PricingInputs& inputs)
{
    // An order the estimator would not find is told at once, before anything is written: every price of
    // the list would be the $0.00 of an empty estimate. (A part number that is no number is the engine's
    // own type mismatch at every quantity.)
    platform::Outcome missing;
    try {
        std::int16_t part = 0;
        if (platform::resumeNext([&] { part = partNumber(inputs.order.partNo); }))
            missing = missingOrderKey(shop, inputs.order.orderNo, part, inputs.request.quoteOrJob);
    } catch (const platform::Fault& fault) {
        if (fault.number() == Locked)
            return writeFaultStop(Locked, {}, behind(fault));
        return RunStop{StopReason::CannotWrite,
                       "The order could not be read from the shop database, so nothing was priced.", behind(fault)};
    }
    if (missing)
        return RunStop{StopReason::OrderKeyNotFound, missing->what() + std::string(" Nothing was priced."), {}};
    return std::nullopt;
}

std::optional<RunStop> clearOrderEstimates(const data::Database& shop, const PricingInputs& inputs,
                                           const MessageCallback& onMessage)
{
    if (const platform::Outcome notCleared = OrderRowWriter(shop, inputs.order.bookmark, onMessage).clearEstimates())
        return writeFaultStop(notCleared->number(), {}, behind(*notCleared));
    return std::nullopt;
}

PricingRun::PricingRun(PricingInputs inputs, PricingCallbacks callbacks)
    : m_inputs(std::move(inputs)), m_callbacks(std::move(callbacks))
{
    if (!m_inputs.programFolder.empty())
        m_context.programFolder = m_inputs.programFolder;
    m_context.hooks = m_callbacks.engineHooks;
}

PricingRun::PricingRun(PricingInputs inputs, PricingCallbacks callbacks, data::Snapshot& snapshot)
    : PricingRun(std::move(inputs), std::move(callbacks))
{
    m_givenSnapshot = &snapshot;
}

PricingRun::~PricingRun() = default;

PricingResult PricingRun::run(const Schedule& schedule)
{
    return runWalking([&](const ScheduleVisitor& visit) {
        for (const ScheduleEntry& entry : schedule.entries)
            if (!visit(entry))
                break;
        return schedule.notes;
    });
}

PricingResult PricingRun::run()
{
    const PriceParameters schedule = requestParameters(m_inputs.request);
    return runWalking([&](const ScheduleVisitor& visit) { return walkSchedule(schedule, visit); });
}

PricingResult PricingRun::runWalking(const std::function<std::vector<std::string>(const ScheduleVisitor&)>& walk)
{
    m_result = PricingResult{};
    // The snapshot, its working copy and the session are let go however the run ends, a program error
    // included: while the copy lives, every read of the order on the session would see it.
    struct Release
    {
        PricingRun& run;
        ~Release()
        {
            run.m_writer.reset();
            run.m_snapshot = nullptr;
            run.m_ownSnapshot.reset();
            run.m_context.shop.close();
        }
    };

    const Release release{*this};

    const bool ready = prepare();
    m_result.notes = walk([&](const ScheduleEntry& entry) {
        if (!ready || m_result.stopped || m_result.cancelled)
            return false;
        if (m_callbacks.cancelRequested && m_callbacks.cancelRequested()) {
            m_result.cancelled = true;
            m_result.cancelledAt = entry.text;
            return false;
        }
        if (m_callbacks.onProgress)
            m_callbacks.onProgress(entry.text);
        SelectQuote(entry);
        return !m_result.stopped;
    });
    return m_result;
}

bool PricingRun::prepare()
{
    data::Database shop;
    if (m_givenSnapshot) {
        shop = m_givenSnapshot->session();
        m_snapshot = m_givenSnapshot;
    } else {
        try {
            shop = data::Database::openSession(databasePath(m_inputs.dataFolder), m_callbacks.session);
        } catch (const platform::Fault& fault) {
            stop(StopReason::CannotWrite, "The shop database could not be opened, so nothing was priced.",
                 behind(fault));
            return false;
        }
        stop(checkOrderKey(shop, m_inputs));
        // The run's one change to the file, before anything is priced and before the snapshot begins.
        if (!m_result.stopped)
            stop(clearOrderEstimates(shop, m_inputs, m_callbacks.onMessage));
        if (m_result.stopped || !takeSnapshot(shop))
            return false;
    }
    try {
        m_snapshot->fill(m_inputs.order.bookmark, "ORDERNO", platform::Value::fromText(m_inputs.order.orderNo));
    } catch (const platform::Fault& fault) {
        if (fault.number() == Locked || fault.number() == data::DataChanged)
            stop(fault.number() == Locked ? writeFaultStop(Locked, {}, behind(fault))
                                          : RunStop{StopReason::ShopDataChanged,
                                                    "Another program changed the shop's data as the list was about "
                                                    "to be priced, so nothing was priced. Price the list again.",
                                                    behind(fault)});
        else
            stop(StopReason::CannotWrite, "The order could not be read from the shop database, so nothing was priced.",
                 behind(fault));
        return false;
    }
    m_writer.emplace(shop, m_inputs.order.bookmark, m_callbacks.onMessage);
    m_context.shop = shop;
    return true;
}

bool PricingRun::takeSnapshot(const data::Database& shop)
{
    try {
        m_ownSnapshot.emplace(shop, "Orders");
    } catch (const platform::Fault& fault) {
        if (fault.number() == Locked)
            stop(writeFaultStop(Locked, {}, behind(fault)));
        else
            stop(StopReason::CannotWrite, "The order could not be made ready for pricing, so nothing was priced.",
                 behind(fault));
        return false;
    }
    m_snapshot = &*m_ownSnapshot;
    return true;
}

void PricingRun::stop(StopReason reason, std::string message, std::string detail)
{
    m_result.stopped = RunStop{reason, std::move(message), std::move(detail)};
}

void PricingRun::stop(std::optional<RunStop> stop, const std::string& atQuantity)
{
    if (!stop)
        return;
    // A wait for the lock that Ctrl-C or Cancel ended is the user's stop, not a busy database.
    if (stop->reason == StopReason::ShopDatabaseBusy && m_callbacks.cancelRequested && m_callbacks.cancelRequested()) {
        m_result.cancelled = true;
        m_result.cancelledAt = atQuantity;
        return;
    }
    m_result.stopped = std::move(stop);
}

void PricingRun::SelectQuote(const ScheduleEntry& entry)
{
    const std::size_t pricedBefore = m_result.priced.size();
    try {
        // This quantity's write and its four estimates, inside the run's snapshot: the quantity is written
        // into the working copy, the engine reads the snapshot, and the quantity's end undoes the write.
        const data::Snapshot::Quantity quantity(*m_snapshot);
        if (const platform::Outcome notWritten = Saveit(platform::Value::fromInteger(entry.quantity))) {
            const int number = notWritten->number();
            if (number == NotAValidBookmark || number == Locked) {
                stop(writeFaultStop(number, entry.text, behind(*notWritten)), entry.text);
                return;
            }
            // The copy does not hold this quantity, so an estimate now would price another quantity under
            // this one's line.
            m_result.skipped.push_back({entry.quantity, entry.text,
                                        "the order row could not be written: " + std::string(notWritten->what()),
                                        notWritten->detail()});
            return;
        }
        TimeCost(entry);
    } catch (const platform::Fault& fault) {
        // The snapshot could not go on: no quantity can be priced.
        if (fault.number() == Locked)
            stop(writeFaultStop(Locked, entry.text, behind(fault)), entry.text);
        else if (fault.number() == data::DataChanged)
            stop(StopReason::ShopDataChanged,
                 "Another program changed the shop's data while the list was being priced, so pricing stopped at " +
                     entry.text + " rather than mix prices from before and after the change. Price the list again.",
                 behind(fault));
        else if (fault.number() == data::ServerConnectionFailed)
            // The server rolled back the run's transaction: the order is as it was.
            stop(StopReason::CannotWrite, std::string(fault.what()) + " Pricing stopped at " + entry.text + ".",
                 behind(fault));
        else
            stop(StopReason::CannotWrite,
                 "The order could not be read from the shop database, so pricing stopped at " + entry.text + ".",
                 behind(fault));
    }
    // The line is handed on once the quantity's write is undone: no lock of the file is held while the front
    // end takes it.
    if (m_result.priced.size() > pricedBefore) {
        ++m_result.pricedCount;
        if (m_callbacks.onLine)
            m_callbacks.onLine(m_result.priced.back());
        if (!m_callbacks.keepResults) {
            m_result.priced.pop_back();
            m_result.lines.pop_back();
        }
    }
}

platform::Outcome PricingRun::Saveit(const platform::Value& pressQuantity)
{
    return m_writer->Saveit(pressQuantity);
}

void PricingRun::TimeCost(const ScheduleEntry& entry)
{
    // A fault of the engine (the shop's data, its arithmetic) ends this quantity only: it gets no line and
    // the run goes on. The quantity and the engine's text are kept so the user learns which prices are
    // missing and why. A shop database held by another program ends the whole run instead: every later
    // quantity would wait and fail alike. Any other exception is an error of the program, not of the
    // shop's data: it ends the run and is never shown as a quantity left out.
    try {
        CalcMode(entry);
    } catch (const platform::Fault& error) {
        if (error.number() == Locked) {
            stop(writeFaultStop(Locked, entry.text, behind(error)), entry.text);
            return;
        }
        m_result.skipped.push_back({entry.quantity, entry.text, error.what(), error.detail()});
    }
}

void PricingRun::CalcMode(const ScheduleEntry& entry)
{
    // A fresh engine for every quantity; the previous one is released now.
    m_estimator.reset();
    m_estimator = std::make_unique<estimator::cEstimator>(m_context);
    estimator::cEstimator& engine = *m_estimator;
    engine.DataFile(databasePath(m_inputs.dataFolder));
    engine.QuoteOrJob(quoteOrJobCode(m_inputs.request.quoteOrJob));
    engine.OrderNo(m_inputs.order.orderNo);
    engine.PartNo(partNumber(m_inputs.order.partNo));
    for (const EstimateCall& call : EstimateCalls)
        engine.Estimate(call.area, 1, call.count);

    const estimator::SummaryRecord& summary = m_context.summary[1];
    // An engine that found no order row has priced nothing: its $0.00 is no price for this quantity.
    if (summary.quantity == 0 && entry.quantity != 0)
        throw platform::Fault(NoCurrentRecord, "the estimator found no order " + m_inputs.order.orderNo + " part " +
                                                   m_inputs.order.partNo + " as a " +
                                                   (m_inputs.request.quoteOrJob == QuoteOrJob::Job ? "job (J)" : "quote (Q)"));
    // The engine prices the press quantity it reads from the order's row; had it read any other than the
    // one just written, its price would stand under this quantity's line.
    if (summary.quantity != 0 && summary.quantity != entry.quantity)
        throw platform::Fault(platform::fault::InvalidProcedureCall,
                              "the estimate was made for " + std::to_string(summary.quantity) + " instead of " +
                                  entry.text);
    const platform::Currency price = roundPrice(platform::Currency::fromDouble(summary.totalRetail),
                                                m_inputs.request.step, m_inputs.request.direction);

    PricedQuantity priced;
    priced.quantity = entry.quantity;
    priced.text = entry.text;
    priced.price = price;
    priced.line = priceLine(entry.text, price);
    priced.results = engine.results();
    priced.summary = summary;
    m_result.lines.push_back(priced.line);
    m_result.priced.push_back(std::move(priced));
}

} // namespace pricing
