#include "pricing/PricingRun.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "estimator/EngineState.h"
#include "estimator/cEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Statement.h"
#include "pricing/Rounding.h"
#include "pricing/RunJournal.h"

namespace pricing {

namespace {

// The engine's areas in the order a whole job is priced, each at quantity slot 1: stock, pre-press,
// bindery, press (the press runs the ink, outside services and job totals).
struct EstimateCall
{
    std::int32_t area;
    std::int16_t count;
};
constexpr EstimateCall EstimateCalls[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}};

// CInt of the part number text: a text that is no number is a type mismatch, as it always was.
std::int16_t partNumber(const std::string& text)
{
    if (!platform::isNumeric(text))
        platform::raise(platform::fault::TypeMismatch);
    return platform::toInt16(platform::val(text));
}

EstimateResults resultsOf(const estimator::cEstimator& engine)
{
    EstimateResults r;
    r.ResStockCost = engine.ResStockCost();
    r.ResStockRetail = engine.ResStockRetail();
    r.ResPrePressCost = engine.ResPrePressCost();
    r.ResPrePressRetail = engine.ResPrePressRetail();
    r.ResPrePressMinutes = engine.ResPrePressMinutes();
    r.ResPressMinutes = engine.ResPressMinutes();
    r.ResPressCost = engine.ResPressCost();
    r.ResPressRetail = engine.ResPressRetail();
    r.ResInkCost = engine.ResInkCost();
    r.ResInkRetail = engine.ResInkRetail();
    r.ResBindCost = engine.ResBindCost();
    r.ResBindRetail = engine.ResBindRetail();
    r.ResBindMinutes = engine.ResBindMinutes();
    r.VendorCost = engine.VendorCost();
    r.VendorRetail = engine.VendorRetail();
    r.EstHrs = engine.EstHrs();
    r.EstRetail = engine.EstRetail();
    r.Price1000 = engine.Price1000();
    r.PressSheetsToOrder = engine.PressSheetsToOrder();
    return r;
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

PricingRun::PricingRun(PricingInputs inputs, PricingCallbacks callbacks)
    : m_inputs(std::move(inputs)),
      m_callbacks(std::move(callbacks)),
      m_writer(databasePath(m_inputs.dataFolder), m_inputs.order.bookmark, m_callbacks.onMessage)
{
}

PricingRun::~PricingRun() = default;

PricingResult PricingRun::run(const Schedule& schedule)
{
    m_result = PricingResult{};
    m_result.notes = schedule.notes;
    m_engineFoundNoOrder = false;
    if (!m_inputs.programFolder.empty())
        estimator::setProgramFolder(m_inputs.programFolder);

    // Before the first write: should the program be stopped mid-run, the next start puts the order's own
    // press quantity back from this journal. One left by an unfinished run of the same row holds the true
    // original quantity and is kept.
    const std::optional<JournalEntry> pending = readJournal(m_inputs.dataFolder);
    const bool earlierRunPending = pending && pending->bookmark == m_inputs.order.bookmark;
    if (!earlierRunPending) {
        std::string failure;
        if (!writeJournal(m_inputs.dataFolder,
                          {m_inputs.order.orderNo, m_inputs.order.partNo, m_inputs.order.bookmark,
                           m_inputs.order.pressQty},
                          &failure))
            m_result.notes.push_back("The run kept no journal (" + failure +
                                     "); had it been stopped, the order's press quantity would not be put back.");
    }

    for (const ScheduleEntry& entry : schedule.entries) {
        if (m_callbacks.cancelRequested && m_callbacks.cancelRequested()) {
            m_result.cancelled = true;
            break;
        }
        if (m_callbacks.onProgress)
            m_callbacks.onProgress(entry.text);
        SelectQuote(entry, false);
    }

    // The order gets its own press quantity back, also after a cancel; this pricing adds no line.
    const ScheduleEntry restoring = restoringEntry();
    if (m_callbacks.onProgress)
        m_callbacks.onProgress(restoring.text);
    SelectQuote(restoring, true);
    m_writer.close();
    // Kept when the press quantity could not be written back, so the next start tries again; an earlier
    // run's journal stays for the start-up recovery, which knows the quantity from before that run.
    if (m_result.restored && !earlierRunPending)
        removeJournal(m_inputs.dataFolder);

    if (m_engineFoundNoOrder)
        m_result.notes.push_back("The estimator found no order " + m_inputs.order.orderNo + " part " +
                                 m_inputs.order.partNo + " as a " +
                                 (m_inputs.quoteOrJob == QuoteOrJob::Job ? "job (J)" : "quote (Q)") +
                                 ", so its prices are those of an empty estimate.");
    return m_result;
}

ScheduleEntry PricingRun::restoringEntry() const
{
    // txtOrigQty converted as the window converted it; when it holds no number (the press quantity was
    // Null) the value read at selection goes back unchanged.
    ScheduleEntry entry;
    entry.text = m_inputs.order.origQty;
    platform::resumeNext([&] {
        entry.quantity = platform::isNumeric(entry.text) ? platform::toInt32(platform::val(entry.text)) : 0;
    });
    return entry;
}

platform::Value PricingRun::restoringQuantity() const
{
    const std::string& text = m_inputs.order.origQty;
    platform::Value quantity = m_inputs.order.pressQty;
    platform::resumeNext([&] {
        if (platform::isNumeric(text))
            quantity = platform::Value::fromInteger(platform::toInt32(platform::val(text)));
    });
    return quantity;
}

void PricingRun::SelectQuote(const ScheduleEntry& entry, bool last)
{
    const platform::Value quantity = last ? restoringQuantity() : platform::Value::fromInteger(entry.quantity);
    const bool stored = Saveit(quantity);
    if (last)
        m_result.restored = stored;
    if (!stored) {
        // The row does not hold this quantity, so an estimate now would price another quantity under
        // this one's line.
        if (!last)
            m_result.skipped.push_back(
                {entry.quantity, entry.text, "the order row could not be written: " + m_writer.lastFault()});
        return;
    }
    TimeCost(entry, last);
}

bool PricingRun::Saveit(const platform::Value& pressQuantity)
{
    return m_writer.Saveit(pressQuantity);
}

void PricingRun::TimeCost(const ScheduleEntry& entry, bool last)
{
    // A fault of the engine ends this quantity only: it gets no line and the run goes on. The quantity
    // and the engine's text are kept so the user learns which prices are missing and why.
    std::string fault;
    try {
        CalcMode(entry, last);
        return;
    } catch (const platform::Fault& error) {
        fault = error.what();
    } catch (const std::exception& error) {
        fault = error.what();
    }
    if (!last)
        m_result.skipped.push_back({entry.quantity, entry.text, fault});
}

void PricingRun::CalcMode(const ScheduleEntry& entry, bool last)
{
    // A fresh engine for every quantity; the previous one is released now.
    m_estimator.reset();
    m_estimator = std::make_unique<estimator::cEstimator>();
    estimator::cEstimator& engine = *m_estimator;
    engine.DataFile(databasePath(m_inputs.dataFolder));
    engine.QuoteOrJob(quoteOrJobCode(m_inputs.quoteOrJob));
    engine.OrderNo(m_inputs.order.orderNo);
    engine.PartNo(partNumber(m_inputs.order.partNo));
    {
        // The engine's queries of this quantity read the row just written, in one snapshot.
        const data::ReadGroup reads = m_writer.groupReads();
        for (const EstimateCall& call : EstimateCalls)
            engine.Estimate(call.area, 1, call.count);
    }

    const estimator::SummaryRecord& summary = estimator::processState().summary[1];
    if (summary.quantity == 0 && entry.quantity != 0)
        m_engineFoundNoOrder = true;
    const platform::Currency price = roundPrice(platform::Currency::fromDouble(summary.totalRetail),
                                                m_inputs.parameters.step, m_inputs.parameters.direction);
    if (last)
        return;

    PricedQuantity priced;
    priced.quantity = entry.quantity;
    priced.text = entry.text;
    priced.price = price;
    priced.line = priceLine(entry.text, price);
    priced.results = resultsOf(engine);
    priced.summary = summary;
    m_result.lines.push_back(priced.line);
    m_result.priced.push_back(std::move(priced));
    if (m_callbacks.onLine)
        m_callbacks.onLine(m_result.priced.back());
}

} // namespace pricing
