#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "estimator/RunContext.h"
#include "estimator/cEstimator.h"
#include "tests/support/TestDatabase.h"

namespace enginetest {

using Area = estimator::EstimateArea;
// A number that names no department: Estimate opens the order and refreshes the summary, prices nothing.
inline constexpr Area kNoDepartment = static_cast<Area>(5);

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
