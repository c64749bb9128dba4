#include "pricing/Rounding.h"

#include <cstdint>

#include "platform/Format.h"

namespace pricing {

namespace {

constexpr std::int64_t Quarter = 2500; // ten-thousandths of a dollar
constexpr std::int64_t Half = 5000;
constexpr std::int64_t ThreeQuarters = 7500;
constexpr std::int64_t Dollar = 10000;

platform::Currency units(std::int64_t tenThousandths)
{
    return platform::Currency::fromTenThousandths(tenThousandths);
}

} // namespace

platform::Currency roundPrice(const platform::Currency& price, RoundingStep step, RoundingDirection direction)
{
    if (step == RoundingStep::None)
        return price;
    // The fraction is exact in ten-thousandths, so a price on a quarter compares equal to it.
    const platform::Currency whole = price.wholeFloor();
    const std::int64_t fraction = (price - whole).tenThousandths();
    const bool up = direction == RoundingDirection::Up;

    if (step == RoundingStep::Dollar)
        return up ? whole + units(Dollar) : whole;

    if (up) {
        if (fraction < Quarter)
            return whole + units(Quarter);
        if (fraction < Half)
            return whole + units(Half);
        if (fraction < ThreeQuarters)
            return whole + units(ThreeQuarters);
        return whole + units(Dollar);
    }
    if (fraction > ThreeQuarters)
        return whole + units(ThreeQuarters);
    if (fraction > Half)
        return whole + units(Half);
    if (fraction > Quarter)
        return whole + units(Quarter);
    return whole;
}

std::string priceText(const platform::Currency& price)
{
    return platform::format(price, "$##0.00");
}

std::string priceLine(std::string_view quantityText, const platform::Currency& price)
{
    return std::string(quantityText) + std::string(27, ' ') + priceText(price);
}

std::string shownPrice(std::string_view line)
{
    const std::size_t dollar = line.find('$');
    if (dollar == std::string_view::npos)
        return {};
    const bool negative = dollar > 0 && line[dollar - 1] == '-';
    return (negative ? "-" : "") + std::string(line.substr(dollar + 1));
}

} // namespace pricing
