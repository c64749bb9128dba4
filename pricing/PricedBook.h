#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "pricing/BookRun.h"
#include "pricing/PageStore.h"
#include "pricing/PriceChanges.h"
#include "pricing/PriceChecks.h"

namespace pricing {

// A book as its pages are priced, on its way to print: each printed page is compared with the last book as
// it comes (which of its prices moved, and the moves themselves when the change report asks for them), its
// prices are checked as a list (checkPrices), and its price lines are put aside in a PageStore, so the whole
// book is laid out, printed and kept for the next book with one page's lines in memory at a time.
class PricedBook
{
public:
    // `last`: the last book to compare with, when there is one; `listChanges`: keep every move for the
    // change report, not only the marks.
    PricedBook(std::optional<LastBook> last, bool listChanges);

    // For BookRunCallbacks::onPriced: takes the page's lines and prices.
    void add(std::size_t index, PricedPage& page);

    // A printed page's price lines (with their quantities), and which of them moved since the last book.
    std::vector<std::string> lines(std::size_t index) const;
    std::vector<StoredLine> storedLines(std::size_t index) const;
    std::vector<bool> marks(std::size_t index) const;
    // What a printed page's prices give to look at; none for a page not printed.
    const std::vector<PriceCheck>& checks(std::size_t index) const;
    // For each page of the book: whether any of its prices moved.
    std::vector<bool> changedPages() const;
    // The date of the last book when a printed price moved since; empty when none did.
    std::string changesSince() const;
    // The moves, largest first (see sortChanges); empty unless they were to be listed.
    std::vector<PriceChange> changes() const;

    // Writes the prices the binder now holds for the next book: every printed page's, then for each page of
    // `pages` that was not printed this time (its quantities could not all be priced) what the last book
    // had of it, as long as its schedule prices no fewer quantities (so the kept prices never outgrow the
    // book). A page no longer in the book, or whose order is gone from the shop database, is not kept.
    void keepForNextBook(const std::string& dataFolder, const std::vector<PricedPage>& pages,
                         const std::string& printedOn) const;

private:
    struct Page
    {
        std::optional<std::size_t> stored; // in m_store, for a printed page
        std::vector<bool> marks;
        std::vector<PriceCheck> checks;
    };

    std::optional<LastBook> m_last;
    bool m_listChanges;
    PageStore m_store;
    std::vector<Page> m_pages; // by the page's index in the book
    std::vector<PriceChange> m_changes;
    bool m_anyChange = false;
};

} // namespace pricing
