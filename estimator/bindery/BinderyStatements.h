#pragma once

#include <optional>
#include <utility>

#include "platform/Statement.h"

namespace estimator::bindery {

// The bindery estimate's rule for faults. Until the first operation has been counted a fault ends the
// estimate and reaches the pricing run, as everywhere else in the engine. From then on a failing
// statement is passed over and the next one runs, so the walk finishes and every operation's row and the
// quantity's totals can still be looked into. A figure passed over leaves the department short, or
// carries the operation before it into the price, so the first such fault is kept and raised when the
// walk is done: the quantity is then left out with its reason instead of priced on those figures. Only a
// report's time text (`text`) may fail without that: no price is worked out from it. Every statement of
// the estimate goes through this, one per rule, so the granularity can be read off the code.
class BinderyStatements
{
public:
    void skipFailingFromHereOn() noexcept { m_skipFailing = true; }
    bool skipsFailing() const noexcept { return m_skipFailing; }

    template <class Statement>
    void operator()(Statement&& statement)
    {
        if (!m_skipFailing) {
            std::forward<Statement>(statement)();
            return;
        }
        std::optional<platform::Fault> fault;
        if (!platform::resumeNext(std::forward<Statement>(statement), &fault) && !m_firstPassedOver)
            m_firstPassedOver = std::move(fault);
    }

    // A statement that only writes a report's time text.
    template <class Statement>
    void text(Statement&& statement)
    {
        if (m_skipFailing)
            platform::resumeNext(std::forward<Statement>(statement));
        else
            std::forward<Statement>(statement)();
    }

    // Raises the first fault a figure was passed over for, if any.
    void raiseIfAnyPassedOver() const
    {
        if (m_firstPassedOver)
            throw *m_firstPassedOver;
    }

private:
    bool m_skipFailing = false;
    std::optional<platform::Fault> m_firstPassedOver;
};

} // namespace estimator::bindery
