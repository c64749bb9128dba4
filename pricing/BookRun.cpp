#include "pricing/BookRun.h"

#include <variant>

#include "data/Database.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

// Prices one page whose line reads and whose order was found.
void pricePage(PricedPage& priced, const std::string& dataFolder, const std::string& programFolder,
               const BookRunCallbacks& callbacks, BookRunResult& book)
{
    PricingInputs inputs;
    inputs.dataFolder = dataFolder;
    inputs.programFolder = programFolder;
    inputs.order = *priced.order;
    // The page's schedule was checked as its line was read; a page made otherwise is checked here.
    std::variant<PriceRequest, ScheduleProblem> request =
        makePriceRequest(*priced.order, priced.order->quoteOrJob, priced.page.parameters, priced.page.category);
    if (const auto* problem = std::get_if<ScheduleProblem>(&request)) {
        priced.problem = problem->withValue();
        return;
    }
    inputs.request = std::get<PriceRequest>(std::move(request));
    priced.quoteOrJob = inputs.request.quoteOrJob;

    PricingCallbacks run;
    run.cancelRequested = callbacks.cancelRequested;
    run.onMessage = callbacks.onMessage;
    run.engineHooks = callbacks.engineHooks;
    run.keepResults = false;
    run.onLine = [&priced](const PricedQuantity& line) {
        priced.lines.push_back(line.line);
        priced.prices.push_back({line.quantity, line.price});
    };
    const PricingResult result = PricingRun(inputs, run).run();

    if (result.cancelled) {
        book.cancelled = true;
        priced.problem = "cancelled";
        return;
    }
    if (result.stopped) {
        switch (result.stopped->reason) {
        case StopReason::OrderKeyNotFound:
        case StopReason::OrderGone:
            priced.problem = result.stopped->message.empty() ? describeBookPage(priced.page) + " could not be found"
                                                             : result.stopped->message;
            priced.detail = result.stopped->detail;
            break;
        case StopReason::ShopDatabaseBusy:
        case StopReason::CannotWrite:
            book.stopped = result.stopped;
            priced.problem = result.stopped->message;
            priced.detail = result.stopped->detail;
            break;
        }
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
    const std::string databaseFile = databasePath(dataFolder);
    for (std::size_t index = 0; index < pages.size(); ++index) {
        if (callbacks.cancelRequested && callbacks.cancelRequested()) {
            book.cancelled = true;
            break;
        }
        if (callbacks.onPage)
            callbacks.onPage(index, pages.size(), pages[index]);
        PricedPage& priced = book.pages.emplace_back();
        priced.page = pages[index];
        if (!priced.page.problem.empty()) {
            priced.problem = "line " + std::to_string(priced.page.line) + " of " + PriceBookFileName + ": " +
                             priced.page.problem;
            continue;
        }
        try {
            priced.order = findBookOrder(databaseFile, priced.page);
        } catch (const platform::Fault& fault) {
            book.stopped = RunStop{StopReason::CannotWrite,
                                   "The shop database could not be read, so the book was not priced.",
                                   std::string(fault.what()) +
                                       (fault.detail().empty() ? std::string() : "\n" + fault.detail())};
            priced.problem = book.stopped->message;
            break;
        }
        if (!priced.order) {
            // Said as the pricing run says it: which of number, part and Q or J matches no row.
            platform::Outcome missing;
            try {
                missing = missingOrderKey(data::Database::open(databaseFile), priced.page.orderNo,
                                          priced.page.key.partNo.value_or(1),
                                          priced.page.key.quoteOrJob.value_or(QuoteOrJob::Quote));
            } catch (const platform::Fault&) {
                // The plain words below say enough.
            }
            priced.problem = missing ? std::string(missing->what())
                                     : "Order " + priced.page.orderNo + " is not in the shop database.";
            continue;
        }
        pricePage(priced, dataFolder, programFolder, callbacks, book);
        if (callbacks.onPriced)
            callbacks.onPriced(index, priced);
        if (book.cancelled || book.stopped)
            break;
    }
    return book;
}

} // namespace pricing
