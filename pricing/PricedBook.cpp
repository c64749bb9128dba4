#include "pricing/PricedBook.h"

#include <algorithm>
#include <set>

#include "pricing/Schedule.h"

namespace pricing {

PricedBook::PricedBook(std::optional<LastBook> last, bool listChanges)
    : m_last(std::move(last)), m_listChanges(listChanges)
{
}

void PricedBook::add(std::size_t index, PricedPage& page)
{
    if (m_pages.size() <= index)
        m_pages.resize(index + 1);
    Page& kept = m_pages[index];
    if (page.printable() && page.order) {
        if (m_last) {
            const LastPage now = lastPageOf(page);
            if (const std::optional<LastPage> then = m_last->page(now.key)) {
                PageComparison comparison = comparePage(index, now, *then);
                m_anyChange = m_anyChange || !comparison.changes.empty();
                if (m_listChanges)
                    m_changes.insert(m_changes.end(), comparison.changes.begin(), comparison.changes.end());
                kept.marks = std::move(comparison.changed);
            }
        }
        std::vector<std::int32_t> quantities;
        std::vector<PricePoint> prices;
        quantities.reserve(page.prices.size());
        prices.reserve(page.prices.size());
        for (const BookPrice& price : page.prices) {
            quantities.push_back(price.quantity);
            prices.push_back({price.quantity, price.price});
        }
        kept.checks = checkPrices(std::move(prices));
        kept.stored = m_store.keep(page.lines, quantities);
    }
    // Taken: the page keeps its order and its reasons, not its lines.
    std::vector<std::string>().swap(page.lines);
    std::vector<BookPrice>().swap(page.prices);
}

std::vector<std::string> PricedBook::lines(std::size_t index) const
{
    std::vector<std::string> lines;
    for (StoredLine& line : storedLines(index))
        lines.push_back(std::move(line.line));
    return lines;
}

std::vector<StoredLine> PricedBook::storedLines(std::size_t index) const
{
    if (index < m_pages.size() && m_pages[index].stored)
        return m_store.page(*m_pages[index].stored);
    return {};
}

std::vector<bool> PricedBook::marks(std::size_t index) const
{
    return index < m_pages.size() ? m_pages[index].marks : std::vector<bool>{};
}

const std::vector<PriceCheck>& PricedBook::checks(std::size_t index) const
{
    static const std::vector<PriceCheck> none;
    return index < m_pages.size() ? m_pages[index].checks : none;
}

std::vector<bool> PricedBook::changedPages() const
{
    std::vector<bool> changed;
    for (const Page& page : m_pages)
        changed.push_back(std::find(page.marks.begin(), page.marks.end(), true) != page.marks.end());
    return changed;
}

std::string PricedBook::changesSince() const
{
    return m_anyChange && m_last ? m_last->printedOn() : std::string();
}

std::vector<PriceChange> PricedBook::changes() const
{
    std::vector<PriceChange> sorted = m_changes;
    sortChanges(sorted);
    return sorted;
}

void PricedBook::keepForNextBook(const std::string& dataFolder, const std::vector<PricedPage>& pages,
                                 const std::string& printedOn) const
{
    LastBookWriter writer(dataFolder, printedOn);
    std::set<PageKey> written;
    for (std::size_t k = 0; k < pages.size() && k < m_pages.size(); ++k) {
        if (!m_pages[k].stored)
            continue;
        const PageKey key = *pageKeyOf(pages[k]);
        if (written.insert(key).second)
            writer.add(lastPageOf(key, m_store.page(*m_pages[k].stored)));
    }
    if (m_last) {
        for (const PricedPage& page : pages) {
            const std::optional<PageKey> key = pageKeyOf(page);
            if (page.printable() || !key || written.count(*key) != 0)
                continue;
            const std::optional<LastPage> then = m_last->page(*key);
            if (then && then->prices.size() <= scheduleLength(page.page.parameters)) {
                writer.add(*then);
                written.insert(*key);
            }
        }
    }
    writer.putInPlace();
}

} // namespace pricing
