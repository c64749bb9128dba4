#include "estimator/cPressCurves.h"

#include <cmath>

#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace estimator {

namespace {

// Reference caliper of the curves: stock of this thickness runs at the press's own figures.
constexpr double kReferenceCaliper = 0.004;

// A run that overflows the arithmetic (huge quantities, say) is an error of the read, as the old
// runtime's floating-point overflow was, never an "inf" on a price sheet.
double checked(double value)
{
    if (!std::isfinite(value))
        platform::raise(platform::fault::Overflow);
    return value;
}

} // namespace

double cPressCurves::NCP() const
{
    return checked(m_numParts * m_ordered * m_numOn);
}

double cPressCurves::PE() const
{
    double pe = 0;
    const double t = m_caliper / kReferenceCaliper;
    if (t >= 1)
        pe = t;
    else if (m_caliper != 0)
        pe = kReferenceCaliper / m_caliper;
    if (!(pe >= 1))
        pe = 1;
    return checked(pe);
}

double cPressCurves::PerformanceModifier() const
{
    if (m_useStockPressFile && m_stockPressEfficiency > 0)
        return 1;
    // Both literals as the estimating rules have always used them: the modifier at the reference
    // caliper is 1.00007117, not 1, and every speed and spoilage figure carries that factor.
    const double s = std::sqrt(3.14159265358979);
    const double e = std::exp(1.0);
    const double deviation = PE() - 1;
    return checked(std::pow(e, -(deviation * deviation) / 2) * (1 / s) * 1.77258);
}

double cPressCurves::Speed() const
{
    double value = 0;
    if (m_pressKFactor != 0 && m_numUp != 0) {
        const double a = std::atan(NCP() / (std::fabs(m_numUp) * 1000 * m_pressKFactor));
        value = (a * m_pressEfficiency / 100 + 1) * (PerformanceModifier() * m_pressMin);
    }
    if (m_useStockPressFile && m_stockPressEfficiency > 0)
        value = platform::intFloor(m_stockPressEfficiency * value / 100 + 0.5);
    if (value > m_pressMax)
        value = m_pressMax;
    if (value < m_pressMin)
        value = m_pressMin;
    return checked(m_difficulty * value / 5);
}

double cPressCurves::Spoilage() const
{
    double value = 0;
    const double modifier = PerformanceModifier();
    if (modifier != 0 && m_numUp != 0 && m_spoilKFactor != 0) {
        const double a = std::atan(NCP() / (std::fabs(m_numUp) * 1000 * m_spoilKFactor));
        value = (1 - a * m_spoilEfficiency / 100) * (m_maxSpoil / modifier);
    }
    if (m_useStockPressFile && m_stockPressEfficiency > 0)
        value = value * 100 / m_stockPressEfficiency;
    // Difficulty ratings above 9 leave spoilage alone; only the faster speed reflects them.
    if (m_difficulty != 0 && m_difficulty <= 9)
        value = value * 5 / m_difficulty;
    if (value < m_minSpoil)
        value = m_minSpoil;
    return checked(value);
}

} // namespace estimator
