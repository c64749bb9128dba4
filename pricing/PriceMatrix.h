#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pricing/BookRun.h"
#include "pricing/PageStore.h"
#include "pricing/PricedBook.h"

namespace pricing {

// A price matrix, as a web store imports a product's prices: a row for each price list (a page of the book,
// or one order), a column for each quantity. Each cell holds the price exactly as the list's sheet prints
// it, as a plain number ("1446.39": no "$", no thousands separators), so a spreadsheet or a store reads it
// as a number; a quantity a row's list does not price leaves its cell empty.
enum class MatrixFormat
{
    Csv,  // a header (reference, order, part, quote or job, description, category, then the quantities)
          // and a row a list, CR LF at each line's end
    Json, // {"quantities": [...], "rows": [{"reference": ..., "prices": [1446.39, null, ...]}, ...]}
};

struct MatrixRow
{
    std::string reference; // "Q-24101", as the list's page shows it
    std::string orderNo;
    std::string partNo;
    QuoteOrJob quoteOrJob = QuoteOrJob::Unset;
    std::string description;
    std::string category;
    // The list's prices as its lines show them ("1446.39"), by quantity, ascending.
    std::vector<std::pair<std::int32_t, std::string>> cells;
};

// Writes a matrix a row at a time to `write`: its columns are given first, so each row goes out as it comes
// and a matrix of many long lists holds one of them at a time.
class PriceMatrixWriter
{
public:
    // `quantities`: the columns, ascending, each once.
    PriceMatrixWriter(MatrixFormat format, std::vector<std::int32_t> quantities,
                      std::function<void(std::string_view)> write);

    void add(const MatrixRow& row);
    void finish();

    std::size_t rows() const noexcept { return m_rows; }
    std::size_t columns() const noexcept { return m_quantities.size(); }

private:
    MatrixFormat m_format;
    std::vector<std::int32_t> m_quantities;
    std::function<void(std::string_view)> m_write;
    std::size_t m_rows = 0;
};

// A row's cells from the lines of its list.
std::vector<std::pair<std::int32_t, std::string>> matrixCells(const std::vector<StoredLine>& lines);

// What a book's matrix holds.
struct MatrixSize
{
    std::size_t rows = 0;
    std::size_t quantities = 0;
};

// The matrix of a priced book: a row for each printed page, in book order, its prices as `priced` put them
// aside; the columns are the quantities of those pages together. Pages that were not printed are left out.
MatrixSize writeBookMatrix(const std::vector<PricedPage>& pages, const PricedBook& priced, MatrixFormat format,
                           const std::function<void(std::string_view)>& write);

} // namespace pricing
