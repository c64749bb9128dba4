#pragma once

#include <optional>
#include <utility>

#include "platform/Fault.h"

namespace platform {

// Runs one statement of a routine that skips its failing statements: a Fault raised by the statement
// leaves it without effect and the routine goes on with the next one. Returns whether the statement
// completed. Only Faults are skipped; anything else is a program error and passes up.
template <class Statement>
bool resumeNext(Statement&& statement)
{
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (const Fault&) {
        return false;
    }
}

// The same, keeping the Fault the statement raised in `fault` (when one is asked for), so the caller can say
// what went wrong.
template <class Statement>
bool resumeNext(Statement&& statement, std::optional<Fault>* fault)
{
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (const Fault& raised) {
        if (fault)
            *fault = raised;
        return false;
    }
}

} // namespace platform
