#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace estimator {

// One part of a quote or a job: the key every table of an order is read by (ORDERS and each selection
// table). The key is written into SQL texts here and nowhere else, its texts as escaped literals: an
// order number with an apostrophe prices like any other and can never change the query.
struct OrderKey
{
    std::string orderNo;
    std::int16_t partNo = 0;
    std::string quoteOrJob; // "Q" or "J"

    // "ORDERNO = '1001'": every part of the order, quote or job.
    std::string orderClause(std::string_view table = {}) const;
    // "ORDERNO = '1001' AND PARTNO = 1": the part, quote or job.
    std::string partClause(std::string_view table = {}) const;
    // "ORDERNO = '1001' AND PARTNO = 1 AND QUOTEORJOB = 'Q'": the one row of ORDERS, or the part's rows of
    // a selection table. With a table named, its columns are qualified ("INKSELECTIONS.ORDERNO = ...").
    std::string where(std::string_view table = {}) const;
};

} // namespace estimator
