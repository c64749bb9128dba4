#pragma once

#include <cstdint>
#include <string_view>

namespace estimator {

// The engine's results of one order part at one quantity, by the names the shop's rules read them under.
// This list is the only place they are named: the estimator's getters, the results a pricing run keeps of
// every quantity and the price command's exports are all made from it, in this order.
#define PRICEBOOK_ESTIMATE_RESULTS(X) \
    X(ResStockCost)                   \
    X(ResStockRetail)                 \
    X(ResPrePressCost)                \
    X(ResPrePressRetail)              \
    X(ResPrePressMinutes)             \
    X(ResPressMinutes)                \
    X(ResPressCost)                   \
    X(ResPressRetail)                 \
    X(ResInkCost)                     \
    X(ResInkRetail)                   \
    X(ResBindCost)                    \
    X(ResBindRetail)                  \
    X(ResBindMinutes)                 \
    X(VendorCost)                     \
    X(VendorRetail)                   \
    X(EstHrs)                         \
    X(EstRetail)                      \
    X(Price1000)

struct EstimateResults
{
#define PRICEBOOK_RESULT_MEMBER(name) double name = 0;
    PRICEBOOK_ESTIMATE_RESULTS(PRICEBOOK_RESULT_MEMBER)
#undef PRICEBOOK_RESULT_MEMBER
    std::int32_t PressSheetsToOrder = 0; // the press sheets to buy, a count beside the money and time
};

// Each money and time result with its name, in the list's order, for readers that walk them all.
struct EstimateResultField
{
    std::string_view name;
    double EstimateResults::*member;
};

inline constexpr EstimateResultField kEstimateResultFields[] = {
#define PRICEBOOK_RESULT_FIELD(name) {#name, &EstimateResults::name},
    PRICEBOOK_ESTIMATE_RESULTS(PRICEBOOK_RESULT_FIELD)
#undef PRICEBOOK_RESULT_FIELD
};

} // namespace estimator
