#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "pricing/OrderSelection.h"
#include "pricing/PricingRun.h"

namespace cli {

enum class PriceFormat { Text, Csv, Json };

// Writes the price command's output as the run goes: nothing until the first quantity is priced (a run
// stopped before it leaves standard output empty), then every quantity at once in the chosen format: the
// window's price lines (text), quantity,price rows (csv), or the prices with the engine's results and
// summary of every quantity and the lines (json).
class StreamedOutput
{
public:
    StreamedOutput(std::ostream& out, PriceFormat format, const pricing::OrderSelection& order,
                   pricing::QuoteOrJob quoteOrJob)
        : m_out(out), m_format(format), m_order(order), m_quoteOrJob(quoteOrJob)
    {
    }

    void add(const pricing::PricedQuantity& priced);

    // Ends the output; a run stopped before any quantity was priced writes nothing at all.
    void finish(const pricing::PricingResult& result);

private:
    void begin();

    std::ostream& m_out;
    PriceFormat m_format;
    const pricing::OrderSelection& m_order;
    pricing::QuoteOrJob m_quoteOrJob;
    bool m_begun = false;
    std::vector<std::string> m_lines;
};

} // namespace cli
