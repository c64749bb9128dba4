#include "pricing/Schedule.h"

#include <string>

#include "platform/Conversions.h"
#include "platform/Format.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

constexpr const char* StepNames[] = {"first", "second", "third"};

// The schedule is worked out as the price list always did it: each sum in double precision, rounded
// half to even to the 32-bit quantity the order row holds. A sum beyond that range ends the schedule
// with a note instead of repeating the failed addition for ever.
class ScheduleBuilder
{
public:
    explicit ScheduleBuilder(const PriceParameters& parameters)
        : m_upper{platform::val(parameters.qty2), platform::val(parameters.qty3), platform::val(parameters.qty4)},
          m_step{platform::val(parameters.jump1), platform::val(parameters.jump2), platform::val(parameters.jump3)}
    {
        const double start = platform::val(parameters.qty1);
        if (!assign(start, "the start quantity " + platform::formatGeneral(start)))
            return;
        m_text = parameters.qty1; // the first line shows the start quantity as typed

        for (int stretch = 0; stretch < 3; ++stretch) {
            if (stretch > 0) {
                // Back to the last quantity priced, then on by the next step.
                if (!assign(static_cast<double>(m_q) - m_step[stretch - 1], afterText(stretch - 1)))
                    return;
                if (!assign(static_cast<double>(m_q) + m_step[stretch], afterText(stretch)))
                    return;
                m_text = std::to_string(m_q);
            }
            if (!walk(stretch))
                return;
        }
    }

    Schedule take() { return std::move(m_schedule); }

private:
    double m_upper[3];
    double m_step[3];
    std::int32_t m_q = 0;
    std::string m_text;
    Schedule m_schedule;

    std::string afterText(int stretch) const
    {
        return "the quantity after " + std::to_string(m_q) + " (" + StepNames[stretch] + " step "
            + platform::formatGeneral(m_step[stretch]) + ")";
    }

    bool assign(double sum, const std::string& what)
    {
        try {
            m_q = platform::toInt32(sum);
            return true;
        } catch (const platform::Fault&) {
            m_schedule.notes.push_back("The schedule ends here: " + what
                                       + " is beyond the largest quantity that can be priced (2147483647).");
            return false;
        }
    }

    // One stretch: price while the quantity is not above the stretch's upper quantity.
    bool walk(int stretch)
    {
        const double step = m_step[stretch];
        if (step <= 0) {
            // The old list went round for ever on such a step; the stretch is taken as done instead.
            if (m_q <= m_upper[stretch])
                m_schedule.notes.push_back("The " + std::string(StepNames[stretch]) + " step is "
                                           + platform::formatGeneral(step)
                                           + ", so the quantities from " + std::to_string(m_q) + " to "
                                           + platform::formatGeneral(m_upper[stretch]) + " are left out.");
            return true;
        }
        while (m_q <= m_upper[stretch]) {
            m_schedule.entries.push_back({m_q, m_text});
            const std::int32_t before = m_q;
            if (!assign(static_cast<double>(m_q) + step, afterText(stretch)))
                return false;
            m_text = std::to_string(m_q);
            if (m_q <= before) {
                // A step below one half rounds back to the same quantity; going on would never end.
                m_schedule.notes.push_back("The " + std::string(StepNames[stretch]) + " step "
                                           + platform::formatGeneral(step)
                                           + " does not reach the next whole quantity after "
                                           + std::to_string(before) + "; the stretch ends there.");
                return true;
            }
        }
        return true;
    }
};

} // namespace

Schedule buildSchedule(const PriceParameters& parameters)
{
    return ScheduleBuilder(parameters).take();
}

Schedule singleQuantity(std::int32_t quantity)
{
    Schedule schedule;
    schedule.entries.push_back({quantity, std::to_string(quantity)});
    return schedule;
}

} // namespace pricing
