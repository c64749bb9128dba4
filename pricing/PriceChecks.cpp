#include "pricing/PriceChecks.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Format.h"

namespace pricing {

namespace {

constexpr std::int64_t kDollar = 10000; // ten-thousandths

std::string quantityText(std::int32_t quantity)
{
    return platform::format(static_cast<double>(quantity), "#,##0");
}

std::string money(const platform::Currency& amount)
{
    return platform::format(amount, "$#,##0.00");
}

// The price of one piece in ten-thousandths of a dollar, rounded half away from zero: what "$0.0613 each"
// shows.
std::int64_t perPiece(const PricePoint& point)
{
    const std::int64_t units = point.price.tenThousandths();
    const std::int64_t quantity = point.quantity;
    std::int64_t each = units / quantity;
    const std::int64_t rest = units % quantity;
    if (2 * std::llabs(rest) >= quantity)
        each += units < 0 ? -1 : 1;
    return each;
}

// " Also at 1,100, 1,200 and 1,300." for the quantities after the first; empty when there are none.
std::string alsoAt(const std::vector<std::int32_t>& quantities)
{
    constexpr std::size_t kNamed = 3;
    if (quantities.size() < 2)
        return {};
    const std::size_t others = quantities.size() - 1;
    const std::size_t named = std::min(others, kNamed);
    std::string text = " Also at ";
    for (std::size_t k = 0; k < named; ++k) {
        if (k > 0)
            text += k + 1 == named && named == others ? " and " : ", ";
        text += quantityText(quantities[k + 1]);
    }
    if (others > named)
        text += " and " + std::to_string(others - named) + " more";
    return text + ".";
}

// One check of its kind: the first finding in words, the others named after it.
struct Findings
{
    CheckKind kind;
    std::vector<std::int32_t> quantities;
    std::string first;

    void add(std::int32_t quantity, const std::string& text)
    {
        if (quantities.empty())
            first = text;
        quantities.push_back(quantity);
    }
    void into(std::vector<PriceCheck>& checks) const
    {
        if (!quantities.empty())
            checks.push_back({kind, quantities, first + alsoAt(quantities)});
    }
};

double median(std::vector<double> values)
{
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 != 0)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

} // namespace

std::string_view checkKindName(CheckKind kind)
{
    switch (kind) {
    case CheckKind::SamePrice:
        return "same-price";
    case CheckKind::LowerPrice:
        return "lower-price";
    case CheckKind::DearerPerPiece:
        return "dearer-per-piece";
    case CheckKind::BigStep:
        return "big-step";
    }
    return "unknown";
}

std::vector<PriceCheck> checkPrices(std::vector<PricePoint> prices)
{
    std::stable_sort(prices.begin(), prices.end(),
                     [](const PricePoint& a, const PricePoint& b) { return a.quantity < b.quantity; });
    prices.erase(std::unique(prices.begin(), prices.end(),
                             [](const PricePoint& a, const PricePoint& b) { return a.quantity == b.quantity; }),
                 prices.end());
    std::vector<PriceCheck> checks;
    if (prices.size() < 2)
        return checks;

    const auto samePrice = [&prices](const PricePoint& p) { return p.price == prices.front().price; };
    if (std::all_of(prices.begin(), prices.end(), samePrice)) {
        PriceCheck& check = checks.emplace_back();
        check.kind = CheckKind::SamePrice;
        for (const PricePoint& p : prices)
            check.quantities.push_back(p.quantity);
        check.text = "Every quantity from " + quantityText(prices.front().quantity) + " to " +
                     quantityText(prices.back().quantity) + " has the same price, " + money(prices.front().price) + ".";
        return checks;
    }

    // Against the dearest smaller quantity, and the one cheapest a piece.
    Findings lower{CheckKind::LowerPrice, {}, {}};
    Findings dearer{CheckKind::DearerPerPiece, {}, {}};
    const PricePoint* dearest = &prices.front();
    const PricePoint* cheapestEach = nullptr;
    std::int64_t cheapestEachUnits = 0;
    for (const PricePoint& p : prices) {
        if (p.price < dearest->price)
            lower.add(p.quantity, quantityText(p.quantity) + " costs less than " + quantityText(dearest->quantity) +
                                      ": " + money(p.price) + " against " + money(dearest->price) + ".");
        else if (p.price > dearest->price)
            dearest = &p;
        if (p.quantity <= 0)
            continue;
        const std::int64_t each = perPiece(p);
        if (cheapestEach && each > cheapestEachUnits) {
            const auto shown = [](std::int64_t units) {
                return platform::format(platform::Currency::fromTenThousandths(units), "$#,##0.0000");
            };
            dearer.add(p.quantity, quantityText(p.quantity) + " costs more per piece than " +
                                       quantityText(cheapestEach->quantity) + ": " + shown(each) + " against " +
                                       shown(cheapestEachUnits) + " each.");
        } else if (!cheapestEach || each < cheapestEachUnits) {
            cheapestEach = &p;
            cheapestEachUnits = each;
        }
    }
    lower.into(checks);
    dearer.into(checks);

    // Each rise a piece, against the list's median rise a piece.
    if (prices.size() >= 4) {
        std::vector<double> rises;
        for (std::size_t k = 1; k < prices.size(); ++k)
            rises.push_back(static_cast<double>((prices[k].price - prices[k - 1].price).tenThousandths()) /
                            (static_cast<double>(prices[k].quantity) - prices[k - 1].quantity));
        const double usual = std::max(median(rises), 0.0);
        Findings steps{CheckKind::BigStep, {}, {}};
        for (std::size_t k = 1; k < prices.size(); ++k) {
            const PricePoint& from = prices[k - 1];
            const PricePoint& to = prices[k];
            const std::int64_t rise = (to.price - from.price).tenThousandths();
            const double expected = usual * (static_cast<double>(to.quantity) - from.quantity);
            if (static_cast<double>(rise) > kBigStepFactor * expected && static_cast<double>(rise) - expected > kDollar)
                steps.add(to.quantity, "The price jumps " + money(to.price - from.price) + " from " +
                                           quantityText(from.quantity) + " to " + quantityText(to.quantity) +
                                           ", more than " + std::to_string(kBigStepFactor) +
                                           " times the usual rise.");
        }
        steps.into(checks);
    }
    return checks;
}

void PriceListChecks::add(std::int32_t quantity, const platform::Currency& price)
{
    if (m_tooLong)
        return;
    if (m_prices.size() == kMostCheckedQuantities) {
        m_tooLong = true;
        std::vector<PricePoint>().swap(m_prices);
        return;
    }
    m_prices.push_back({quantity, price});
}

std::vector<PriceCheck> PriceListChecks::checks() const
{
    return m_tooLong ? std::vector<PriceCheck>{} : checkPrices(m_prices);
}

std::string notCheckedText()
{
    return "The prices were not checked: the list has more than " +
           quantityText(static_cast<std::int32_t>(PriceListChecks::kMostCheckedQuantities)) + " quantities.";
}

} // namespace pricing
