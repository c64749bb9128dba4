#pragma once

#include <utility>

#include "platform/Statement.h"

namespace estimator::bindery {

// The bindery estimate's rule for faults. Until the first operation has been counted a fault ends the
// estimate and reaches the pricing run, as everywhere else in the engine. From then on a failing
// statement is passed over and the next one runs, so one bad figure on a later operation cannot lose the
// operations already costed. Every statement of the estimate goes through this, one per rule, so the
// granularity can be read off the code.
class BinderyStatements
{
public:
    void skipFailingFromHereOn() noexcept { m_skipFailing = true; }
    bool skipsFailing() const noexcept { return m_skipFailing; }

    template <class Statement>
    void operator()(Statement&& statement)
    {
        if (m_skipFailing)
            platform::resumeNext(std::forward<Statement>(statement));
        else
            std::forward<Statement>(statement)();
    }

private:
    bool m_skipFailing = false;
};

} // namespace estimator::bindery
