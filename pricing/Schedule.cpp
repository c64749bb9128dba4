#include "pricing/Schedule.h"

#include <cmath>
#include <string>

#include "platform/Conversions.h"
#include "platform/Format.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

constexpr const char* StepNames[] = {"first", "second", "third"};

// The schedule is worked out as the price list always did it: each sum in double precision, rounded
// half to even to the 32-bit quantity the order row holds. A sum beyond that range ends the schedule
// with a note instead of repeating the failed addition for ever. Each quantity goes to the visitor as it
// is reached; a counting walk (no visitor) leaps over the quantities of a whole-number step at once.
class ScheduleBuilder
{
public:
    ScheduleBuilder(const PriceParameters& parameters, const ScheduleVisitor* visit)
        : m_visit(visit),
          m_upper{platform::val(parameters.qty2), platform::val(parameters.qty3), platform::val(parameters.qty4)},
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

    std::vector<std::string> takeNotes() { return std::move(m_notes); }
    std::uint64_t count() const noexcept { return m_count; }

private:
    const ScheduleVisitor* m_visit; // none: only count
    double m_upper[3];
    double m_step[3];
    std::int32_t m_q = 0;
    std::string m_text;
    std::vector<std::string> m_notes;
    std::uint64_t m_count = 0;

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
            m_notes.push_back("The schedule ends here: " + what
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
                m_notes.push_back("The " + std::string(StepNames[stretch]) + " step is "
                                  + platform::formatGeneral(step)
                                  + ", so the quantities from " + std::to_string(m_q) + " to "
                                  + platform::formatGeneral(m_upper[stretch]) + " are left out.");
            return true;
        }
        while (m_q <= m_upper[stretch]) {
            if (m_visit) {
                if (!(*m_visit)(ScheduleEntry{m_q, m_text}))
                    return false;
                ++m_count;
            } else if (step == std::floor(step)) {
                // Counting only: every further quantity of the stretch at once, up to its last one (whole
                // numbers far below 2^53, so the double arithmetic is exact).
                const double further = std::floor((m_upper[stretch] - m_q) / step);
                m_count += static_cast<std::uint64_t>(further) + 1;
                m_q = static_cast<std::int32_t>(m_q + further * step);
            } else {
                ++m_count;
            }
            const std::int32_t before = m_q;
            if (!assign(static_cast<double>(m_q) + step, afterText(stretch)))
                return false;
            m_text = std::to_string(m_q);
            if (m_q <= before) {
                // A step below one half rounds back to the same quantity; going on would never end.
                m_notes.push_back("The " + std::string(StepNames[stretch]) + " step "
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
    Schedule schedule;
    schedule.notes = walkSchedule(parameters, [&](const ScheduleEntry& entry) {
        schedule.entries.push_back(entry);
        return true;
    });
    return schedule;
}

std::vector<std::string> walkSchedule(const PriceParameters& parameters, const ScheduleVisitor& visit)
{
    return ScheduleBuilder(parameters, &visit).takeNotes();
}

std::uint64_t scheduleLength(const PriceParameters& parameters)
{
    return ScheduleBuilder(parameters, nullptr).count();
}

Schedule singleQuantity(std::int32_t quantity)
{
    Schedule schedule;
    schedule.entries.push_back({quantity, std::to_string(quantity)});
    return schedule;
}

} // namespace pricing
