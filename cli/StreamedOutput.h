#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "pricing/OrderSelection.h"
#include "pricing/PriceChecks.h"
#include "pricing/PriceRequest.h"
#include "pricing/PricingRun.h"

namespace cli {

enum class PriceFormat { Text, Csv, Json, Matrix };

// Writes the price command's output as the run goes: nothing until the first quantity is priced (a run
// stopped before it leaves standard output empty), then every quantity at once in the chosen format: the
// quantities and prices as the sheet prints them, in aligned columns under what was priced (text),
// quantity,price rows (csv), or the prices with the engine's results and summary of every quantity, the
// window's lines and the list's checks (json). The price matrix's one row (matrix) is written at the
// end, and only for a list that priced every quantity of its schedule.
class StreamedOutput
{
public:
    // `onlyQuantity`: the one quantity priced instead of the request's schedule (--qty).
    StreamedOutput(std::ostream& out, PriceFormat format, const pricing::OrderSelection& order,
                   const pricing::PriceRequest& request, std::optional<std::int32_t> onlyQuantity);

    void add(const pricing::PricedQuantity& priced);

    // Ends the output; a run stopped before any quantity was priced, or a text output without any price,
    // writes nothing at all. `checks` are the list's, `prices` every price of it (for the matrix).
    void finish(const pricing::PricingResult& result, const std::vector<pricing::PriceCheck>& checks,
                const std::vector<pricing::PricePoint>& prices);

private:
    void begin();

    std::ostream& m_out;
    PriceFormat m_format;
    const pricing::OrderSelection& m_order;
    const pricing::PriceRequest& m_request;
    std::optional<std::int32_t> m_onlyQuantity;
    std::size_t m_quantityWidth = 0; // text: the quantity column, wide enough for the largest quantity
    bool m_begun = false;
    std::vector<std::string> m_lines;
};

} // namespace cli
