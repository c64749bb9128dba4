#include "cli/StreamedOutput.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "cli/Report.h"
#include "estimator/EstimateResults.h"
#include "estimator/Summary.h"
#include "platform/Conversions.h"
#include "platform/CsvJson.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceMatrix.h"
#include "pricing/Rounding.h"
#include "sheet/PriceSheet.h"

namespace cli {

namespace {
// Doubles as the shortest text that reads back to the same double.
std::string number(double value)
{
    if (!std::isfinite(value))
        return "null";
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc())
        return "null";
    return std::string(buffer.data(), end);
}

std::string jsonValue(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        return "null";
    case Kind::Integer:
        return std::to_string(value.integer());
    case Kind::Double:
        return number(value.real());
    case Kind::Text: {
        // The summary's texts are the old fixed-width fields, padded with blanks to their width: the
        // padding is no part of the shop's text.
        const std::string_view text = value.text();
        return platform::jsonString(text.substr(0, text.find_last_not_of(' ') + 1));
    }
    case Kind::Boolean:
        return value.boolean() ? "true" : "false";
    case Kind::Date:
        return number(value.dateSerial());
    }
    return "null";
}

// The price as its line shows it, without the dollar sign.
std::string csvPrice(const platform::Currency& price)
{
    return pricing::shownPrice(pricing::priceText(price));
}

void writeResults(std::ostream& out, const pricing::EstimateResults& r)
{
    out << "{";
    for (const estimator::EstimateResultField& field : estimator::kEstimateResultFields)
        out << platform::jsonString(field.name) << ": " << number(r.*field.member) << ", ";
    out << "\"PressSheetsToOrder\": " << r.PressSheetsToOrder << "}";
}

// The text columns: the quantity right-aligned in the width of the largest quantity, the price in a
// column for prices up to a million dollars ("$999,999.99"); a larger one only pushes its own line out.
constexpr std::size_t kPriceWidth = 12;

std::string rightAligned(const std::string& text, std::size_t width)
{
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

// The JSON document in three parts, so that each quantity goes out as soon as it is priced: the order, the
// quantities one by one, then the lines, the skipped quantities and the notes.
void writeJsonHead(std::ostream& out, const pricing::OrderSelection& order, pricing::QuoteOrJob quoteOrJob)
{
    out << "{\"order\": " << platform::jsonString(order.orderNo) << ",\n \"part\": ";
    if (platform::isNumeric(order.partNo))
        out << number(platform::val(order.partNo));
    else
        out << platform::jsonString(order.partNo);
    out << ",\n \"quote_or_job\": " << platform::jsonString(pricing::quoteOrJobCode(quoteOrJob))
        << ",\n \"quantities\": [";
}

void writeJsonQuantity(std::ostream& out, const pricing::PricedQuantity& priced, bool first)
{
    out << (first ? "\n  " : ",\n  ") << "{\"quantity\": " << priced.quantity
        << ", \"price\": " << number(priced.price.toDouble()) << ", \"line\": " << platform::jsonString(priced.line)
        << ",\n   \"results\": ";
    writeResults(out, priced.results);
    out << ",\n   \"summary\": {";
    bool firstField = true;
    estimator::forEachSummaryField(priced.summary, [&](std::string_view name, const platform::Value& value) {
        out << (firstField ? "" : ", ") << platform::jsonString(name) << ": " << jsonValue(value);
        firstField = false;
    });
    out << "}}";
}

void writeJsonTail(std::ostream& out, const std::vector<std::string>& lines, const pricing::PricingResult& result,
                   const std::vector<pricing::PriceCheck>& checks)
{
    out << "],\n \"lines\": [";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << (i > 0 ? ", " : "") << platform::jsonString(lines[i]);
    out << "],\n \"skipped\": [";
    for (std::size_t i = 0; i < result.skipped.size(); ++i)
        out << (i > 0 ? ", " : "") << "{\"quantity\": " << result.skipped[i].quantity
            << ", \"fault\": " << platform::jsonString(result.skipped[i].fault) << "}";
    out << "],\n \"notes\": [";
    for (std::size_t i = 0; i < result.notes.size(); ++i)
        out << (i > 0 ? ", " : "") << platform::jsonString(result.notes[i]);
    out << "],\n \"checks\": [";
    for (std::size_t i = 0; i < checks.size(); ++i) {
        out << (i > 0 ? "," : "") << "\n  {\"kind\": " << platform::jsonString(pricing::checkKindName(checks[i].kind))
            << ", \"quantities\": [";
        for (std::size_t k = 0; k < checks[i].quantities.size(); ++k)
            out << (k > 0 ? ", " : "") << checks[i].quantities[k];
        out << "],\n   \"text\": " << platform::jsonString(checks[i].text) << "}";
    }
    out << "]";
    if (result.stopped)
        out << ",\n \"stopped\": " << platform::jsonString(result.stopped->message);
    out << "}\n";
}

} // namespace

StreamedOutput::StreamedOutput(std::ostream& out, PriceFormat format, const pricing::OrderSelection& order,
                               const pricing::PriceRequest& request, std::optional<std::int32_t> onlyQuantity)
    : m_out(out), m_format(format), m_order(order), m_request(request), m_onlyQuantity(onlyQuantity)
{
    const std::int32_t largest =
        onlyQuantity.value_or(request.schedule[static_cast<std::size_t>(pricing::ScheduleItem::Qty4)]);
    m_quantityWidth = std::max<std::size_t>(
        std::string_view("Quantity").size(), platform::trim(sheet::printedQuantity(std::to_string(largest))).size());
}

void StreamedOutput::add(const pricing::PricedQuantity& priced)
{
    begin();
    switch (m_format) {
    case PriceFormat::Text:
        // Each quantity and price exactly as the sheet prints it.
        m_out << rightAligned(platform::trim(sheet::printedQuantity(priced.line)), m_quantityWidth) << "  "
              << rightAligned(sheet::printedPrice(priced.line), kPriceWidth) << "\n";
        break;
    case PriceFormat::Csv:
        m_out << priced.quantity << "," << csvPrice(priced.price) << "\n";
        break;
    case PriceFormat::Json:
        writeJsonQuantity(m_out, priced, m_lines.empty());
        m_lines.push_back(priced.line); // a few dozen bytes a quantity, for the lines at the end
        break;
    case PriceFormat::Matrix:
        return; // the row needs every price: it is written at the end
    }
    flushOutput(m_out);
}

void StreamedOutput::finish(const pricing::PricingResult& result, const std::vector<pricing::PriceCheck>& checks,
                            const std::vector<pricing::PricePoint>& prices)
{
    if (m_format == PriceFormat::Matrix) {
        // A row with prices missing would be imported as the order's whole price list.
        if (result.stopped || result.cancelled || !result.skipped.empty() || prices.empty())
            return;
        pricing::MatrixRow row;
        row.reference = pricing::bookReference(m_request.quoteOrJob, m_order.orderNo);
        row.orderNo = m_order.orderNo;
        row.partNo = m_order.partNo;
        row.quoteOrJob = m_request.quoteOrJob;
        row.description = m_order.description;
        row.category = m_request.category;
        std::vector<std::int32_t> quantities;
        for (const pricing::PricePoint& point : prices) {
            row.cells.emplace_back(point.quantity, csvPrice(point.price));
            quantities.push_back(point.quantity);
        }
        pricing::PriceMatrixWriter writer(pricing::MatrixFormat::Csv, std::move(quantities),
                                          [this](std::string_view piece) { m_out << piece; });
        writer.add(row);
        writer.finish();
        flushOutput(m_out);
        return;
    }
    // No price at all: no heading over an empty list either. CSV and JSON still say there is none.
    if (!m_begun && (result.stopped || m_format == PriceFormat::Text))
        return;
    begin();
    if (m_format == PriceFormat::Json)
        writeJsonTail(m_out, m_lines, result, checks);
    flushOutput(m_out);
}

void StreamedOutput::begin()
{
    if (m_begun)
        return;
    m_begun = true;
    if (m_format == PriceFormat::Text)
        m_out << pricing::describeRequest(m_request, m_onlyQuantity) << "\n"
              << rightAligned("Quantity", m_quantityWidth) << "  " << rightAligned("Price", kPriceWidth) << "\n";
    else if (m_format == PriceFormat::Csv)
        m_out << "quantity,price\n";
    else if (m_format == PriceFormat::Json)
        writeJsonHead(m_out, m_order, m_request.quoteOrJob);
}

} // namespace cli
