#include "estimator/cEstimator.h"

namespace estimator {

// Placeholder until the bindery department is built: no bindery work.
double cEstimator::EstimateBindery(BinderyRowTable&, BinderyTotalsTable&)
{
    return 0;
}

std::string cEstimator::CalcModule(std::int32_t&)
{
    return {};
}

} // namespace estimator
