#include "estimator/cEstimator.h"

namespace estimator {

// Placeholder until the press department is built.
double cEstimator::EstimatePress()
{
    return 0;
}

} // namespace estimator
