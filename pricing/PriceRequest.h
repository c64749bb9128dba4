#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "pricing/OrderSelection.h"
#include "pricing/PriceSettings.h"

namespace pricing {

// The seven numbers of a price list's schedule, in the order the book file and the command line give them.
enum class ScheduleItem { Qty1, Jump1, Qty2, Jump2, Qty3, Jump3, Qty4 };
inline constexpr std::size_t kScheduleItems = 7;

// The seven numbers, indexed by ScheduleItem.
using ScheduleNumbers = std::array<std::int32_t, kScheduleItems>;

// The window's name of an item: "Start Quantity", "2nd Quantity", ..., "Jump by (after the start quantity)".
const char* scheduleItemName(ScheduleItem item);

// The text of an item among the window's parameters.
const std::string& scheduleText(const PriceParameters& parameters, ScheduleItem item);
std::string& scheduleText(PriceParameters& parameters, ScheduleItem item);

// Why a schedule's number cannot be taken.
enum class ScheduleFault
{
    NotAWholeNumber,  // letters, a sign, a decimal, badly grouped digits, nothing at all
    TooLarge,         // beyond the largest quantity the order row holds
    Zero,             // the start quantity or one of the first two steps is 0
    NotAbovePrevious, // a quantity at or below the one before it (0 included)
    NotBelowNext,     // a quantity at or above the one after it (the window's check of one field)
};

struct ScheduleProblem
{
    ScheduleItem item = ScheduleItem::Qty1;
    ScheduleFault fault = ScheduleFault::NotAWholeNumber;
    std::string text;     // the value as given
    std::string neighbour; // for NotBelowNext: the text of the quantity after it

    // What the window says, its field then getting its last good value back.
    std::string message() const;
    // The same naming the value, for the book file and the command line.
    std::string withValue() const;
};

// What is wrong with one number of the schedule: a whole number (thousands separators allowed) of at most
// 2,147,483,647; a quantity above 0 and above the quantity before it; the first two steps above 0, the third
// 0 or more (0 leaves its stretch out). With `againstNext` a quantity must also be below the one after it,
// as the window checks a field the clerk leaves. A neighbour that is itself no number is not compared.
std::optional<ScheduleProblem> scheduleItemProblem(const PriceParameters& texts, ScheduleItem item,
                                                   bool againstNext = false);

// The numbers of the seven texts, or the first problem in the window's order: the four quantities, then the
// three steps.
std::variant<ScheduleNumbers, ScheduleProblem> readScheduleNumbers(const PriceParameters& texts);

// What one price list is priced for: the order, its part and whether it is priced as a quote or a job, the
// schedule, the rounding, and the look of its sheet (typeface and category). The window, the book file and
// the command line each build one, with the same rules and messages; a list carries the request it was
// priced for.
struct PriceRequest
{
    std::string orderNo;
    std::string partNo; // as the order's row holds it
    QuoteOrJob quoteOrJob = QuoteOrJob::Unset;
    ScheduleNumbers schedule{100, 25, 500, 100, 2000, 500, 5000};
    RoundingStep step = RoundingStep::None;
    RoundingDirection direction = RoundingDirection::Down; // Up or Down: neither prices as Down
    Typeface typeface = Typeface::TimesRoman;
    std::string category;

    bool operator==(const PriceRequest&) const = default;
};

// The request for an order priced as `quoteOrJob` with the window's parameters, or what is wrong with their
// schedule. A rounding direction of neither becomes Down, which is how it prices.
std::variant<PriceRequest, ScheduleProblem> makePriceRequest(const OrderSelection& order, QuoteOrJob quoteOrJob,
                                                             const PriceParameters& parameters,
                                                             std::string category = {});

// Whether two requests give the same prices: the same order, part, quote or job, schedule and rounding. The
// typeface and the category change only the sheet's look.
bool samePrices(const PriceRequest& a, const PriceRequest& b);

// The request's schedule and options as the window's parameters (its numbers as plain digits), as the
// schedule is walked and the files keep them.
PriceParameters requestParameters(const PriceRequest& request);

// What a list was priced for, in the shop's words:
// "24101 part 1, quote: 100 by 25 to 500, by 100 to 2000, by 500 to 5000; rounded to 0.25 up", or for one
// quantity priced instead of the schedule "24101 part 1, quote: 250 only; not rounded".
std::string describeRequest(const PriceRequest& request, std::optional<std::int32_t> onlyQuantity = std::nullopt);

} // namespace pricing
