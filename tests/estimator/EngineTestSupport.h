#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "estimator/RunContext.h"
#include "estimator/cEstimator.h"
#include "tests/support/TestDatabase.h"

namespace estimator {

// Reaches the engine's private procedures and working values, so a test can check a department's
// figures one by one instead of only the totals the front end sees.
struct EstimatorProbe
{
    static double GetDimension(const cEstimator& e, const std::string& text, std::int16_t part,
                               const std::string& separator = "X")
    {
        return e.GetDimension(text, part, separator);
    }
    static std::int32_t CalcPressSheets(const cEstimator& e) { return e.CalcPressSheets(); }
    static void CheckVariables(cEstimator& e) { e.CheckVariables(); }
    static double EstimatePrePress(cEstimator& e) { return e.EstimatePrePress(); }
    static void setCurrentQuantity(cEstimator& e, std::int16_t index) { e.m_currentQuantity = index; }
    static void setQuantity(cEstimator& e, std::size_t index, std::int32_t quantity)
    {
        e.m_quantity[index] = quantity;
    }

    // Order variables as the loader left them.
    static std::int16_t stockSelected(const cEstimator& e) { return e.m_stockSelected; }
    static std::int16_t pressTypeZero(const cEstimator& e) { return e.m_pressTypeZero; }
    static double parts(const cEstimator& e) { return e.m_parts; }
    static double pressDiffFactor(const cEstimator& e) { return e.m_pressDiffFactor; }
    static double piecesToProduce(const cEstimator& e) { return e.m_piecesToProduce; }
    static double numberUp(const cEstimator& e) { return e.m_numberUp; }
    static double pressSheetsPerParent(const cEstimator& e) { return e.m_pressSheetsPerParent; }
    static std::int16_t productionType(const cEstimator& e) { return e.m_productionType; }
    static double signatures(const cEstimator& e) { return e.m_signatures; }
    static double sheetDim(const cEstimator& e, std::size_t i) { return e.m_sheetDim[i]; }
    static double parentUsageRatio(const cEstimator& e) { return e.m_parentUsageRatio; }
    static const std::string& finishedSizeText(const cEstimator& e) { return e.m_finishedSizeText; }

    // What the stock estimate keeps for the later departments.
    static double pressSheets(const cEstimator& e) { return e.m_pressSheets; }
    static const std::string& stockIdText(const cEstimator& e) { return e.m_stockIdText; }
    static double sheetsPerCarton(const cEstimator& e) { return e.m_sheetsPerCarton; }
    static double stockBreak1(const cEstimator& e) { return e.m_stockBreak1; }
    static double stockCost3(const cEstimator& e) { return e.m_stockCost3; }

    // What the pre-press estimate keeps for the press estimate.
    static double prePressWorkMinutes(const cEstimator& e) { return e.m_prePressWorkMinutes; }
    static double prePressWorkCost(const cEstimator& e) { return e.m_prePressWorkCost; }
    static double cameraCost(const cEstimator& e) { return e.m_cameraCost; }
    static double cameraMinutes(const cEstimator& e) { return e.m_cameraMinutes; }
    static double scanCost(const cEstimator& e) { return e.m_scanCost; }
    static double scanMinutes(const cEstimator& e) { return e.m_scanMinutes; }
};

} // namespace estimator

namespace enginetest {

// Every engine test starts a fresh run context: empty summary and line tables, the report database not
// yet checked, the program folder in a temporary place (so no test writes VMestrpt.mdb into the
// source or build tree) and the engine's messages captured instead of printed.
class EngineTest : public testing::Test
{
protected:
    void SetUp() override { prepareContext(); }

    // A new pricing run: a fresh context in the same program folder, its messages captured as before.
    void startNewRun()
    {
        m_context = estimator::RunContext{};
        prepareContext();
    }

    void prepareContext()
    {
        // Creating the report work database costs a dozen disk writes; only the tests about it (and
        // about when it is checked) start without it checked.
        m_context.reportDatabaseChecked = !checksReportDatabase();
        m_context.programFolder = m_programFolder.path();
        m_context.hooks.message = [this](const std::string& text, const std::string& title) {
            m_messages.emplace_back(text, title);
        };
    }

    virtual bool checksReportDatabase() const { return false; }

    // An estimator pointed at one order part of a database, as the pricing run sets it up.
    static void pointAt(estimator::cEstimator& engine, const testsupport::TestDatabase& db,
                        const std::string& orderNo, std::int16_t partNo = 1, const std::string& quoteOrJob = "J")
    {
        engine.DataFile(db.path());
        engine.QuoteOrJob(quoteOrJob);
        engine.OrderNo(orderNo);
        engine.PartNo(partNo);
    }

    estimator::SummaryRecord& summary(std::size_t slot) { return m_context.summary[slot]; }
    static std::string trimmed(const std::string& fixed) { return fixed.substr(0, fixed.find_last_not_of(' ') + 1); }

    testsupport::TemporaryFolder m_programFolder;
    std::vector<std::pair<std::string, std::string>> m_messages;
    estimator::RunContext m_context; // what the estimators of a test share, as those of one pricing run do
};

} // namespace enginetest
