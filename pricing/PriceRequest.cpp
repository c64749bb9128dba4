#include "pricing/PriceRequest.h"

#include <utility>

#include "pricing/QuantityText.h"

namespace pricing {

namespace {

constexpr ScheduleItem kWindowOrder[] = {ScheduleItem::Qty1,  ScheduleItem::Qty2,  ScheduleItem::Qty3, ScheduleItem::Qty4,
                                         ScheduleItem::Jump1, ScheduleItem::Jump2, ScheduleItem::Jump3};

std::size_t index(ScheduleItem item)
{
    return static_cast<std::size_t>(item);
}

bool isQuantity(ScheduleItem item)
{
    return index(item) % 2 == 0;
}

// The quantity before or after a quantity (two places away: the step lies between them); none at the ends.
std::optional<ScheduleItem> neighbourOf(ScheduleItem item, int direction)
{
    const auto at = static_cast<int>(index(item)) + 2 * direction;
    if (at < 0 || at >= static_cast<int>(kScheduleItems))
        return std::nullopt;
    return static_cast<ScheduleItem>(at);
}

// The number of a text, when it is one that can be priced.
std::optional<std::int32_t> numberOf(const std::string& text)
{
    const std::optional<std::uint64_t> read = readQuantityText(text);
    if (!read || *read > kLargestQuantity)
        return std::nullopt;
    return static_cast<std::int32_t>(*read);
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

const char* scheduleItemName(ScheduleItem item)
{
    switch (item) {
    case ScheduleItem::Qty1:
        return "Start Quantity";
    case ScheduleItem::Jump1:
        return "Jump by (after the start quantity)";
    case ScheduleItem::Qty2:
        return "2nd Quantity";
    case ScheduleItem::Jump2:
        return "Jump by (after the 2nd quantity)";
    case ScheduleItem::Qty3:
        return "3rd Quantity";
    case ScheduleItem::Jump3:
        return "Jump by (after the 3rd quantity)";
    case ScheduleItem::Qty4:
        break;
    }
    return "Final Quantity";
}

namespace {

// The field of an item, of the parameters as they are given (read-only or not).
template <class Parameters>
auto& textOf(Parameters& p, ScheduleItem item)
{
    switch (item) {
    case ScheduleItem::Qty1:
        return p.qty1;
    case ScheduleItem::Jump1:
        return p.jump1;
    case ScheduleItem::Qty2:
        return p.qty2;
    case ScheduleItem::Jump2:
        return p.jump2;
    case ScheduleItem::Qty3:
        return p.qty3;
    case ScheduleItem::Jump3:
        return p.jump3;
    case ScheduleItem::Qty4:
        break;
    }
    return p.qty4;
}

} // namespace

const std::string& scheduleText(const PriceParameters& parameters, ScheduleItem item)
{
    return textOf(parameters, item);
}

std::string& scheduleText(PriceParameters& parameters, ScheduleItem item)
{
    return textOf(parameters, item);
}

std::string ScheduleProblem::message() const
{
    const std::string name = scheduleItemName(item);
    switch (fault) {
    case ScheduleFault::NotAWholeNumber:
        return name + " takes a whole number, such as 1000 or 1,000.";
    case ScheduleFault::TooLarge:
        return name + " can be at most 2,147,483,647.";
    case ScheduleFault::Zero:
        return "Quantities Must Be Greater Than Zero!";
    case ScheduleFault::NotAbovePrevious:
        return "Quantities Must Be Greater Than Zero or Greater than Previous Quantity!";
    case ScheduleFault::NotBelowNext:
        break;
    }
    return name + " must be below the " + scheduleItemName(*neighbourOf(item, 1)) + " (" + neighbour + ").";
}

std::string ScheduleProblem::withValue() const
{
    const std::string name = scheduleItemName(item);
    switch (fault) {
    case ScheduleFault::NotAWholeNumber:
        return name + " takes a whole number, such as 1000 or 1,000, not " + quoted(text) + ".";
    case ScheduleFault::TooLarge:
        return name + " can be at most 2,147,483,647, not " + text + ".";
    case ScheduleFault::Zero:
    case ScheduleFault::NotAbovePrevious:
        return name + " " + quoted(text) + ": " + message();
    case ScheduleFault::NotBelowNext:
        break;
    }
    return name + " (" + text + ") must be below the " + scheduleItemName(*neighbourOf(item, 1)) + " (" +
           neighbour + ").";
}

std::optional<ScheduleProblem> scheduleItemProblem(const PriceParameters& texts, ScheduleItem item, bool againstNext)
{
    const std::string& text = scheduleText(texts, item);
    const auto problem = [&](ScheduleFault fault, std::string neighbour = {}) {
        return ScheduleProblem{item, fault, text, std::move(neighbour)};
    };
    const std::optional<std::uint64_t> read = readQuantityText(text);
    if (!read)
        return problem(ScheduleFault::NotAWholeNumber);
    if (*read > kLargestQuantity)
        return problem(ScheduleFault::TooLarge);
    if (!isQuantity(item)) {
        // The third step may be 0: its stretch is then left out.
        if (*read == 0 && item != ScheduleItem::Jump3)
            return problem(ScheduleFault::Zero);
        return std::nullopt;
    }
    const std::optional<ScheduleItem> previous = neighbourOf(item, -1);
    if (!previous && *read == 0)
        return problem(ScheduleFault::Zero);
    if (previous) {
        const std::optional<std::int32_t> before = numberOf(scheduleText(texts, *previous));
        if (*read == 0 || (before && static_cast<std::uint64_t>(*before) >= *read))
            return problem(ScheduleFault::NotAbovePrevious);
    }
    if (const std::optional<ScheduleItem> next = neighbourOf(item, 1); next && againstNext) {
        const std::optional<std::int32_t> after = numberOf(scheduleText(texts, *next));
        if (after && *read >= static_cast<std::uint64_t>(*after))
            return problem(ScheduleFault::NotBelowNext, scheduleText(texts, *next));
    }
    return std::nullopt;
}

std::variant<ScheduleNumbers, ScheduleProblem> readScheduleNumbers(const PriceParameters& texts)
{
    ScheduleNumbers numbers{};
    for (const ScheduleItem item : kWindowOrder) {
        if (std::optional<ScheduleProblem> problem = scheduleItemProblem(texts, item))
            return std::move(*problem);
        numbers[index(item)] = *numberOf(scheduleText(texts, item));
    }
    return numbers;
}

std::variant<PriceRequest, ScheduleProblem> makePriceRequest(const OrderSelection& order, QuoteOrJob quoteOrJob,
                                                             const PriceParameters& parameters, std::string category)
{
    std::variant<ScheduleNumbers, ScheduleProblem> schedule = readScheduleNumbers(parameters);
    if (auto* problem = std::get_if<ScheduleProblem>(&schedule))
        return std::move(*problem);
    PriceRequest request;
    request.orderNo = order.orderNo;
    request.partNo = order.partNo;
    request.quoteOrJob = quoteOrJob;
    request.schedule = std::get<ScheduleNumbers>(schedule);
    request.step = parameters.step;
    request.direction =
        parameters.direction == RoundingDirection::Up ? RoundingDirection::Up : RoundingDirection::Down;
    request.typeface = parameters.typeface;
    request.category = std::move(category);
    return request;
}

bool samePrices(const PriceRequest& a, const PriceRequest& b)
{
    return a.orderNo == b.orderNo && a.partNo == b.partNo && a.quoteOrJob == b.quoteOrJob &&
           a.schedule == b.schedule && a.step == b.step && a.direction == b.direction;
}

PriceParameters requestParameters(const PriceRequest& request)
{
    PriceParameters parameters;
    for (std::size_t k = 0; k < kScheduleItems; ++k)
        scheduleText(parameters, static_cast<ScheduleItem>(k)) = std::to_string(request.schedule[k]);
    parameters.step = request.step;
    parameters.direction = request.direction;
    parameters.typeface = request.typeface;
    return parameters;
}

std::string describeRequest(const PriceRequest& request, std::optional<std::int32_t> onlyQuantity)
{
    const auto number = [&request](ScheduleItem item) { return std::to_string(request.schedule[index(item)]); };
    std::string text = request.orderNo + " part " + request.partNo + ", " +
                       (request.quoteOrJob == QuoteOrJob::Job ? "job" : "quote") + ": ";
    if (onlyQuantity)
        text += std::to_string(*onlyQuantity) + " only; ";
    else
        text += number(ScheduleItem::Qty1) + " by " + number(ScheduleItem::Jump1) + " to " +
                number(ScheduleItem::Qty2) + ", by " + number(ScheduleItem::Jump2) + " to " +
                number(ScheduleItem::Qty3) + ", by " + number(ScheduleItem::Jump3) + " to " +
                number(ScheduleItem::Qty4) + "; ";
    switch (request.step) {
    case RoundingStep::None:
        return text + "not rounded";
    case RoundingStep::Quarter:
        text += "rounded to 0.25";
        break;
    case RoundingStep::Dollar:
        text += "rounded to 1.00";
        break;
    }
    return text + (request.direction == RoundingDirection::Up ? " up" : " down");
}

} // namespace pricing
