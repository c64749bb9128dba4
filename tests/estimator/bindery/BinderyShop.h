#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "estimator/cEstimator.h"
#include "tests/support/TestDatabase.h"

namespace bindery_test {

// The shop every bindery test starts from: one quote, 1001 part 1, for 1000 pieces of a one-part
// 8.5 x 11 job, 4 up on a 17 x 22 press sheet, 2 press sheets to a 22 x 34 parent sheet, sheet mode, one
// signature, stock not selected, caliper at the 0.004 reference. Tests change it with UPDATE texts.
// Categories: 1 CUTTING, 2 AUTOCUT, 3 PADDING, 4 PACKAGING, 5 FOLDING, 6 FOIL STAMPING, 7 STITCHING,
// 8 DELIVERY, 9 FIXED CHIP PADDING.
std::string shopSql(std::string_view extra = {});

// A bindery row that runs at exactly 1000 an hour with no spoilage (its speed and spoilage ranges are
// single points, so the curves land on them), 60 an hour, no set-up time, waste or minimum charge, and
// no flag set.
std::string binderySql(int binderyId, int categoryId, std::string_view name);

// An operation of quote 1001 part 1: finished size, difficulty 5, no repeat runs, one set-up, the whole
// run, curve tuning left to the defaults.
std::string selectionSql(int selectionId, int binderyId);

// Each test gets a fresh run context and its own program folder for the report work database.
class BinderyTest : public testing::Test
{
protected:
    void SetUp() override;

    // An estimator on quote 1001 part 1 of the shop, opened by a bindery pass that prices nothing, so
    // the order row is loaded and the report work database made.
    std::unique_ptr<estimator::cEstimator> openEstimator(const testsupport::TestDatabase& shop);

    // Quantity slot 1's totals and its row of operation n, as the run context holds them.
    const estimator::BinderyReportRow& totals() const { return m_context.binderyTotals[1]; }
    const estimator::BinderyReportRow& row(std::size_t n) const { return m_context.binderyRows[1].at(n); }

    estimator::RunContext m_context;

private:
    testsupport::TemporaryFolder m_programFolder;
};

} // namespace bindery_test
