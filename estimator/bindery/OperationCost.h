#pragma once

#include <string>

#include "estimator/bindery/BinderyInputs.h"
#include "estimator/bindery/OperationFigures.h"

namespace estimator::bindery {

// Costs one bindery operation from its rows and the order's figures: the sheet it works on, speed and
// spoilage through the press curves, waste, set-up, run and operation cost. Works on `figures` in place,
// starting from the previous operation's, so a fault part-way (a division by a zero speed, an overflow)
// leaves what was worked out until then. Returns an empty text, or the message naming the missing row.
// Reads nothing: the rows come in `inputs`.
std::string costOperation(const OperationInputs& inputs, const OrderFigures& order, OperationFigures& figures);

} // namespace estimator::bindery
