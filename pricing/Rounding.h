#pragma once

#include <string>
#include <string_view>

#include "platform/Conversions.h"
#include "pricing/PriceSettings.h"

namespace pricing {

// Rounds a price to the shop's counter steps. whole = the price rounded down to the dollar, fraction =
// price - whole. Up always moves strictly above (12.00 -> 12.25 with a quarter step, 13.00 -> 14.00 with a
// dollar step); Down with a quarter step moves an exact quarter to the quarter below (12.75 -> 12.50).
// Any direction other than Up rounds down. Step None leaves the price as it is.
platform::Currency roundPrice(const platform::Currency& price, RoundingStep step, RoundingDirection direction);

// The price text of a list line: "$##0.00", no thousands separator ($1234.50, $0.50).
std::string priceText(const platform::Currency& price);

// A line of the price list: quantity text, 27 spaces, price text.
std::string priceLine(std::string_view quantityText, const platform::Currency& price);

// The price a list line shows, without its "$" but with its sign: "1234.50" for "$1234.50", "-0.50" for
// "-$0.50". Empty for a line without a price.
std::string shownPrice(std::string_view line);

} // namespace pricing
