#pragma once

#include <optional>

#include "platform/Fault.h"

namespace platform {

// What a step returns when failing is one of its ordinary outcomes for its caller (the order's row deleted
// by another program, a file that is no Access database): the fault when it failed, nothing when it went
// through. Read it as "if (const Outcome failed = step())". A failure that ends the caller's work is
// thrown as a Fault instead.
using Outcome = std::optional<Fault>;

} // namespace platform
