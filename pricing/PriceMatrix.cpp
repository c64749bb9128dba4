#include "pricing/PriceMatrix.h"

#include <algorithm>
#include <iterator>

#include "platform/Conversions.h"
#include "platform/CsvJson.h"
#include "platform/Format.h"
#include "pricing/PriceBook.h"
#include "pricing/Rounding.h"

namespace pricing {

namespace {

// A part number as the price command's JSON gives it: a number when it reads as one.
std::string jsonPart(const std::string& partNo)
{
    return platform::isNumeric(partNo) ? platform::formatGeneral(platform::val(partNo)) : platform::jsonString(partNo);
}

bool printed(const PricedPage& page)
{
    return page.printable() && page.order.has_value();
}

MatrixRow bookRow(const PricedPage& page, const std::vector<StoredLine>& lines)
{
    MatrixRow row;
    row.reference = bookReference(page.quoteOrJob, page.order->orderNo);
    row.orderNo = page.order->orderNo;
    row.partNo = page.order->partNo;
    row.quoteOrJob = page.quoteOrJob;
    row.description = page.order->description;
    row.category = page.page.category;
    row.cells = matrixCells(lines);
    return row;
}

} // namespace

PriceMatrixWriter::PriceMatrixWriter(MatrixFormat format, std::vector<std::int32_t> quantities,
                                     std::function<void(std::string_view)> write)
    : m_format(format), m_quantities(std::move(quantities)), m_write(std::move(write))
{
    std::string head;
    if (m_format == MatrixFormat::Csv) {
        head = "reference,order,part,quote or job,description,category";
        for (const std::int32_t quantity : m_quantities)
            head += "," + std::to_string(quantity);
        head += "\r\n";
    } else {
        head = "{\"quantities\": [";
        for (std::size_t k = 0; k < m_quantities.size(); ++k)
            head += (k > 0 ? ", " : "") + std::to_string(m_quantities[k]);
        head += "],\n \"rows\": [";
    }
    m_write(head);
}

void PriceMatrixWriter::add(const MatrixRow& row)
{
    const bool csv = m_format == MatrixFormat::Csv;
    std::string out;
    if (csv) {
        for (const std::string* field : {&row.reference, &row.orderNo, &row.partNo})
            out += platform::csvField(*field) + ",";
        out += quoteOrJobCode(row.quoteOrJob) + "," + platform::csvField(row.description) + "," +
               platform::csvField(row.category);
    } else {
        out = std::string(m_rows > 0 ? "," : "") + "\n  {\"reference\": " + platform::jsonString(row.reference) +
              ", \"order\": " + platform::jsonString(row.orderNo) + ", \"part\": " + jsonPart(row.partNo) +
              ", \"quote_or_job\": " + platform::jsonString(quoteOrJobCode(row.quoteOrJob)) +
              ",\n   \"description\": " + platform::jsonString(row.description) +
              ", \"category\": " + platform::jsonString(row.category) + ",\n   \"prices\": [";
    }
    // Both in ascending quantity: each column takes the row's cell of its quantity, or stays empty.
    auto cell = row.cells.begin();
    for (std::size_t k = 0; k < m_quantities.size(); ++k) {
        while (cell != row.cells.end() && cell->first < m_quantities[k])
            ++cell;
        const bool priced = cell != row.cells.end() && cell->first == m_quantities[k];
        if (csv)
            out += "," + (priced ? cell->second : std::string());
        else
            out += (k > 0 ? ", " : "") + (priced ? cell->second : std::string("null"));
    }
    out += csv ? "\r\n" : "]}";
    m_write(out);
    ++m_rows;
}

void PriceMatrixWriter::finish()
{
    if (m_format == MatrixFormat::Json)
        m_write("]}\n");
}

std::vector<std::pair<std::int32_t, std::string>> matrixCells(const std::vector<StoredLine>& lines)
{
    std::vector<std::pair<std::int32_t, std::string>> cells;
    cells.reserve(lines.size());
    for (const StoredLine& line : lines)
        cells.emplace_back(line.quantity, shownPrice(line.line));
    std::stable_sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return cells;
}

MatrixSize writeBookMatrix(const std::vector<PricedPage>& pages, const PricedBook& priced, MatrixFormat format,
                           const std::function<void(std::string_view)>& write)
{
    // The columns first, a page's quantities at a time: the pages' prices stay where the book put them.
    std::vector<std::int32_t> columns;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (!printed(pages[k]))
            continue;
        std::vector<std::int32_t> quantities;
        for (const StoredLine& line : priced.storedLines(k))
            quantities.push_back(line.quantity);
        std::sort(quantities.begin(), quantities.end());
        quantities.erase(std::unique(quantities.begin(), quantities.end()), quantities.end());
        std::vector<std::int32_t> merged;
        merged.reserve(columns.size() + quantities.size());
        std::set_union(columns.begin(), columns.end(), quantities.begin(), quantities.end(),
                       std::back_inserter(merged));
        columns = std::move(merged);
    }
    PriceMatrixWriter writer(format, std::move(columns), write);
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (printed(pages[k]))
            writer.add(bookRow(pages[k], priced.storedLines(k)));
    }
    writer.finish();
    return {writer.rows(), writer.columns()};
}

} // namespace pricing
