#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "estimator/RunContext.h"
#include "platform/Conversions.h"
#include "pricing/PriceBook.h"
#include "pricing/PricingRun.h"

namespace pricing {

// One quantity of a priced page.
struct BookPrice
{
    std::int32_t quantity = 0;
    platform::Currency price; // rounded, as the line shows it
};

// One page of the book after pricing: its order, its price lines, or why it cannot be printed.
struct PricedPage
{
    BookPage page;
    std::optional<OrderSelection> order; // the shop database's row, when one was found
    QuoteOrJob quoteOrJob = QuoteOrJob::Unset; // as the page was priced
    std::vector<std::string> lines;      // the price lines, exactly as the single sheet's run lists them
    std::vector<BookPrice> prices;       // the same, as numbers
    // Why the page is not printed (its line cannot be read, no such order, quantities that could not be
    // priced), in the shop's words; empty for a page whose every quantity was priced.
    std::string problem;
    std::string detail; // the database's own words behind it, for --verbose

    bool printable() const { return problem.empty(); }
};

struct BookRunCallbacks
{
    // Before each page is priced: its index (from 0) and the page.
    std::function<void(std::size_t index, std::size_t count, const BookPage& page)> onPage;
    // Each page the run priced, as soon as it is done and before the next is priced; it may take the page's
    // lines and prices (a PricedBook puts them aside), so a book of long pages keeps no more than one page's
    // in memory. (A page that could not be looked for has none.)
    std::function<void(std::size_t index, PricedPage& page)> onPriced;
    std::function<bool()> cancelRequested; // asked between quantities
    MessageCallback onMessage;             // what the run tells the user as it goes
    estimator::EngineHooks engineHooks;
};

struct BookRunResult
{
    std::vector<PricedPage> pages; // in book order; all of them unless the run was cancelled or stopped
    bool cancelled = false;
    // Set when the shop database stopped the book (busy, cannot be written or read), or when its pages price
    // too many quantities together (checkBookSize): every page after it would stop the same way, so nothing
    // further is priced and nothing is printed.
    std::optional<RunStop> stopped;
};

// Prices every page of the book with its own schedule and rounding, page by page, each by the very pricing
// run of the single sheet (the same lines, the same rounding, the shop database left as the run leaves it).
// A page that cannot be priced whole gets its reason and the book goes on.
BookRunResult priceBook(const std::string& dataFolder, const std::string& programFolder,
                        const std::vector<BookPage>& pages, const BookRunCallbacks& callbacks = {});

} // namespace pricing
