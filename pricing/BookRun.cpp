#include "pricing/BookRun.h"

#include <memory>
#include <variant>

#include "data/Database.h"
#include "data/JetErrors.h"
#include "data/Snapshot.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

std::string behind(const platform::Fault& fault)
{
    return fault.what() + (fault.detail().empty() ? std::string() : "\n" + fault.detail());
}

// Notes what a stop of the shop database means for a page: an order that is not there is the page's
// problem, and the book goes on; anything else stops the whole book (true).
bool noteStop(PricedPage& priced, const RunStop& stop, BookRunResult& book)
{
    switch (stop.reason) {
    case StopReason::OrderKeyNotFound:
    case StopReason::OrderGone:
        priced.problem = stop.message.empty() ? describeBookPage(priced.page) + " could not be found" : stop.message;
        priced.detail = stop.detail;
        return false;
    case StopReason::ShopDatabaseBusy:
    case StopReason::CannotWrite:
    case StopReason::ShopDataChanged:
        break;
    }
    book.stopped = stop;
    priced.problem = stop.message;
    priced.detail = stop.detail;
    return true;
}

// The request a page is priced for. The page's schedule was checked as its line was read; a page made
// otherwise is checked here, and one that cannot be priced says why.
std::optional<PricingInputs> pageInputs(PricedPage& priced, const std::string& dataFolder,
                                        const std::string& programFolder)
{
    std::variant<PriceRequest, ScheduleProblem> request =
        makePriceRequest(*priced.order, priced.order->quoteOrJob, priced.page.parameters, priced.page.category);
    if (const auto* problem = std::get_if<ScheduleProblem>(&request)) {
        priced.problem = problem->withValue();
        return std::nullopt;
    }
    PricingInputs inputs;
    inputs.dataFolder = dataFolder;
    inputs.programFolder = programFolder;
    inputs.order = *priced.order;
    inputs.request = std::get<PriceRequest>(std::move(request));
    return inputs;
}

// Finds a page's order and makes it ready for pricing: checked as the run checks it, its stored estimate
// figures cleared (a short commit of its own). What the page is priced for, when it can be priced.
std::optional<PricingInputs> preparePage(PricedPage& priced, const data::Database& shop, const std::string& dataFolder,
                                         const std::string& programFolder, const BookRunCallbacks& callbacks,
                                         BookRunResult& book)
{
    if (!priced.page.problem.empty()) {
        priced.problem =
            "line " + std::to_string(priced.page.line) + " of " + PriceBookFileName + ": " + priced.page.problem;
        return std::nullopt;
    }
    try {
        priced.order = findBookOrder(shop, priced.page);
    } catch (const platform::Fault& fault) {
        noteStop(priced,
                 {StopReason::CannotWrite, "The shop database could not be read, so the book was not priced.",
                  behind(fault)},
                 book);
        return std::nullopt;
    }
    if (!priced.order) {
        // Said as the pricing run says it: which of number, part and Q or J matches no row.
        platform::Outcome missing;
        try {
            missing = missingOrderKey(shop, priced.page.orderNo, priced.page.key.partNo.value_or(1),
                                      priced.page.key.quoteOrJob.value_or(QuoteOrJob::Quote));
        } catch (const platform::Fault&) {
            // The plain words below say enough.
        }
        priced.problem =
            missing ? std::string(missing->what()) : "Order " + priced.page.orderNo + " is not in the shop database.";
        return std::nullopt;
    }
    priced.quoteOrJob = priced.order->quoteOrJob;
    std::optional<PricingInputs> inputs = pageInputs(priced, dataFolder, programFolder);
    if (!inputs)
        return std::nullopt;
    std::optional<RunStop> stop = checkOrderKey(shop, *inputs);
    if (!stop)
        stop = clearOrderEstimates(shop, *inputs, callbacks.onMessage);
    if (stop) {
        noteStop(priced, *stop, book);
        return std::nullopt;
    }
    return inputs;
}

// Prices one page that is ready, inside the book's snapshot.
void pricePage(PricedPage& priced, const PricingInputs& inputs, data::Snapshot& snapshot,
               const BookRunCallbacks& callbacks, BookRunResult& book)
{
    PricingCallbacks run;
    run.cancelRequested = callbacks.cancelRequested;
    run.onMessage = callbacks.onMessage;
    run.engineHooks = callbacks.engineHooks;
    run.keepResults = false;
    run.onLine = [&priced](const PricedQuantity& line) {
        priced.lines.push_back(line.line);
        priced.prices.push_back({line.quantity, line.price});
    };
    const PricingResult result = PricingRun(inputs, run, snapshot).run();

    if (result.cancelled) {
        book.cancelled = true;
        priced.problem = "cancelled";
        return;
    }
    if (result.stopped) {
        noteStop(priced, *result.stopped, book);
        return;
    }
    if (!result.skipped.empty()) {
        priced.problem = skippedMessage(result.skipped);
        priced.detail = skippedDetails(result.skipped);
    } else if (priced.lines.empty()) {
        priced.problem = "its schedule has no quantity to price";
    }
}

} // namespace

BookRunResult priceBook(const std::string& dataFolder, const std::string& programFolder,
                        const std::vector<BookPage>& pages, const BookRunCallbacks& callbacks)
{
    BookRunResult book;
    if (const platform::Outcome tooLarge = checkBookSize(pages)) {
        book.stopped = RunStop{StopReason::CannotWrite, tooLarge->what(), {}};
        return book;
    }
    // The book works through one session of its own. Every page's order is found, checked and has its
    // stored estimate figures cleared first, each clearing a short commit of its own: those are the book's
    // only changes to the shop database. Then one snapshot is taken, and every page is priced from it, so
    // the whole book is priced from one state of the shop's data.
    data::Database shop;
    std::vector<std::optional<PricingInputs>> ready(pages.size());
    for (std::size_t index = 0; index < pages.size() && !book.stopped; ++index) {
        PricedPage& priced = book.pages.emplace_back();
        priced.page = pages[index];
        if (!shop.isOpen() && priced.page.problem.empty()) {
            try {
                shop = data::Database::openSession(databasePath(dataFolder));
            } catch (const platform::Fault& fault) {
                noteStop(priced,
                         {StopReason::CannotWrite, "The shop database could not be read, so the book was not priced.",
                          behind(fault)},
                         book);
                break;
            }
        }
        ready[index] = preparePage(priced, shop, dataFolder, programFolder, callbacks, book);
    }

    std::unique_ptr<data::Snapshot> snapshot;
    for (std::size_t index = 0; index < book.pages.size() && !book.stopped; ++index) {
        if (callbacks.cancelRequested && callbacks.cancelRequested()) {
            book.cancelled = true;
            book.pages.resize(index);
            break;
        }
        if (callbacks.onPage)
            callbacks.onPage(index, pages.size(), pages[index]);
        if (!ready[index])
            continue;
        if (!snapshot) {
            try {
                snapshot = std::make_unique<data::Snapshot>(shop, "Orders");
            } catch (const platform::Fault& fault) {
                noteStop(book.pages[index],
                         fault.number() == data::Locked
                             ? RunStop{StopReason::ShopDatabaseBusy, kShopDatabaseBusyMessage, behind(fault)}
                             : RunStop{StopReason::CannotWrite,
                                       "The shop database could not be read, so the book was not priced.",
                                       behind(fault)},
                         book);
                break;
            }
        }
        pricePage(book.pages[index], *ready[index], *snapshot, callbacks, book);
        if (callbacks.onPriced)
            callbacks.onPriced(index, book.pages[index]);
        if (book.cancelled || book.stopped)
            book.pages.resize(index + 1);
    }
    // A wait for another program's lock that Ctrl-C or Cancel ended is the user's stop, not a busy database.
    if (book.stopped && book.stopped->reason == StopReason::ShopDatabaseBusy && callbacks.cancelRequested &&
        callbacks.cancelRequested()) {
        book.stopped.reset();
        book.cancelled = true;
    }
    return book;
}

} // namespace pricing
