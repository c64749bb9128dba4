#pragma once

#include <cstdint>

namespace estimator {

// The press performance model: running speed and spoilage allowance of one run from its length, the
// stock's caliper, a difficulty rating and the press's speed range and curve factors. Longer runs approach
// the press's better speed and lower spoilage along an arctangent curve; stock thicker or thinner than the
// 0.004 reference caliper is penalised by a bell-shaped modifier. Outputs are computed on every read, so
// inputs may be set in any order.
class cPressCurves
{
public:
    void NumUp(double v) noexcept { m_numUp = v; }
    double NumUp() const noexcept { return m_numUp; }
    double PE() const;
    double NCP() const;
    void CurveType(std::int16_t v) noexcept { m_curveType = v; }
    std::int16_t CurveType() const noexcept { return m_curveType; }
    void SpoilKFactor(double v) noexcept { m_spoilKFactor = v; }
    double SpoilKFactor() const noexcept { return m_spoilKFactor; }
    void SpoilEfficiency(double v) noexcept { m_spoilEfficiency = v; }
    double SpoilEfficiency() const noexcept { return m_spoilEfficiency; }
    void PressKFactor(double v) noexcept { m_pressKFactor = v; }
    double PressKFactor() const noexcept { return m_pressKFactor; }
    void PressEfficiency(double v) noexcept { m_pressEfficiency = v; }
    double PressEfficiency() const noexcept { return m_pressEfficiency; }
    void UseStockPressFile(bool v) noexcept { m_useStockPressFile = v; }
    bool UseStockPressFile() const noexcept { return m_useStockPressFile; }
    double PerformanceModifier() const;
    double Speed() const;
    void PressMax(double v) noexcept { m_pressMax = v; }
    double PressMax() const noexcept { return m_pressMax; }
    void PressMin(double v) noexcept { m_pressMin = v; }
    double PressMin() const noexcept { return m_pressMin; }
    void StockPressEfficiency(double v) noexcept { m_stockPressEfficiency = v; }
    double StockPressEfficiency() const noexcept { return m_stockPressEfficiency; }
    void Caliper(double v) noexcept { m_caliper = v; }
    double Caliper() const noexcept { return m_caliper; }
    void Difficulty(double v) noexcept { m_difficulty = v; }
    double Difficulty() const noexcept { return m_difficulty; }
    void NumParts(double v) noexcept { m_numParts = v; }
    double NumParts() const noexcept { return m_numParts; }
    void Ordered(double v) noexcept { m_ordered = v; }
    double Ordered() const noexcept { return m_ordered; }
    double Spoilage() const;
    void MaxSpoil(double v) noexcept { m_maxSpoil = v; }
    double MaxSpoil() const noexcept { return m_maxSpoil; }
    void MinSpoil(double v) noexcept { m_minSpoil = v; }
    double MinSpoil() const noexcept { return m_minSpoil; }
    void NumOn(double v) noexcept { m_numOn = v; }
    double NumOn() const noexcept { return m_numOn; }

private:
    double m_numUp = 1;
    double m_numOn = 1;
    double m_numParts = 1;
    double m_ordered = 1000;
    double m_caliper = 0.004;
    double m_difficulty = 5;
    double m_pressMin = 3000;
    double m_pressMax = 7000;
    double m_pressEfficiency = 10;
    double m_pressKFactor = 5;
    double m_spoilEfficiency = 10;
    double m_spoilKFactor = 5;
    double m_minSpoil = 0.5;
    double m_maxSpoil = 5;
    double m_stockPressEfficiency = 100;
    bool m_useStockPressFile = false;
    std::int16_t m_curveType = 0;
};

} // namespace estimator
