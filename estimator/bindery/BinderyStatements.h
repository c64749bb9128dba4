#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Statement.h"

namespace estimator::bindery {

// The bindery estimate's rule for faults. Until the first operation has been counted a fault ends the
// estimate and reaches the pricing run, as everywhere else in the engine. From then on a failing
// statement is passed over and the next one runs, so the walk finishes and every operation's row and the
// quantity's totals can still be looked into. A figure passed over leaves the department short, or
// carries the operation before it into the price, so the first such fault is kept and raised when the
// walk is done: the quantity is then left out with its reason instead of priced on those figures. Only a
// field of the report that no price is worked out from (`reportOnly`: the time texts, an operation row's
// description, set-ups, sheet size, runs, share of the run and difficulty) may fail without that. Every
// statement of the estimate goes through this, one per rule, so the granularity can be read off the code.
//
// A fault that leaves the quantity out names the operation (its bindery's name) and the figure it was
// working out, so the shop knows which bindery entry to mend: "Division by zero in the padding charge of
// bindery operation "PADDER"". Its number and detail stay the same.
class BinderyStatements
{
public:
    void skipFailingFromHereOn() noexcept { m_skipFailing = true; }
    bool skipsFailing() const noexcept { return m_skipFailing; }

    // The operation the statements below work on (empty outside one) and the figure they work out.
    void operation(std::string name) { m_operation = std::move(name); }
    void figure(std::string_view name) { m_figure = name; }

    template <class Statement>
    void operator()(Statement&& statement)
    {
        try {
            std::forward<Statement>(statement)();
        } catch (const platform::Fault& fault) {
            if (!m_skipFailing)
                throw named(fault);
            if (!m_firstPassedOver)
                m_firstPassedOver = named(fault);
        }
    }

    // A statement that only writes a field of the report no price reads.
    template <class Statement>
    void reportOnly(Statement&& statement)
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
    platform::Fault named(const platform::Fault& fault) const
    {
        if (m_operation.empty())
            return fault;
        return platform::Fault(fault.number(),
                               std::string(fault.what()) + " in the " + m_figure + " of bindery operation " + m_operation,
                               fault.detail());
    }

    bool m_skipFailing = false;
    std::string m_operation;
    std::string m_figure;
    std::optional<platform::Fault> m_firstPassedOver;
};

} // namespace estimator::bindery
