#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "estimator/ReportRows.h"
#include "estimator/bindery/DepartmentRules.h"
#include "estimator/bindery/OperationCost.h"
#include "tests/estimator/bindery/GoldenInputs.h"

using estimator::BinderyReportRow;
using estimator::bindery::BinderyStatements;
using estimator::bindery::costOperation;
using estimator::bindery::DepartmentRun;
using estimator::bindery::OperationFigures;

namespace bindery_test {
namespace {

constexpr double kCent = 1e-6;

// The department's rules after the first counted operation: failing statements are passed over.
struct CountedOperation
{
    DepartmentRun run;
    BinderyStatements statement;
    std::vector<BinderyReportRow> rows = std::vector<BinderyReportRow>(2);
    BinderyReportRow total;

    explicit CountedOperation(double markup)
    {
        run.markup = markup;
        run.operations = 1;
        statement.skipFailingFromHereOn();
    }
};

struct SignatureCase
{
    const char* why;
    double differenceFactor;
    double piecesBefore, piecesAfter;
};

void PrintTo(const SignatureCase& c, std::ostream* os) { *os << c.why; }

// Folding 1000 pieces of 3 signatures: the folder is costed for one signature of 1000 pieces (the
// difference factor taken out), its waste 25 / 4 up = 6.25 press sheets counted for all 3 signatures.
const SignatureCase kSignatures[] = {
    {"factor 2 within the 4 up is put back: 2000 pieces for what follows", 2, 2000, 2000},
    {"factor 6 beyond the 4 up stays taken out: 1000 pieces for what follows", 6, 6000, 1000},
};

class SignatureWork : public testing::TestWithParam<SignatureCase>
{
};

TEST_P(SignatureWork, CostsOneSignatureAndCountsEverySignaturesWaste)
{
    const SignatureCase& c = GetParam();
    OrderFigures order = shopOrder();
    order.pressDiffFactor = c.differenceFactor;
    order.piecesToProduce = c.piecesBefore;
    order.signatures = 3;
    CountedOperation op(0);

    estimator::bindery::takeOutSignatures(order, op.run, op.statement);
    EXPECT_DOUBLE_EQ(order.piecesToProduce, 1000) << c.why;
    EXPECT_DOUBLE_EQ(order.signatures, 1) << c.why;

    OperationFigures f;
    f.wasteUnits = 6.25;
    estimator::bindery::putBackSignatures(order, op.run, f, op.statement);
    EXPECT_DOUBLE_EQ(order.piecesToProduce, c.piecesAfter) << c.why;
    EXPECT_DOUBLE_EQ(order.signatures, 3) << c.why;
    EXPECT_DOUBLE_EQ(f.wasteUnits, 18.75) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, SignatureWork, testing::ValuesIn(kSignatures));

struct PaddingCase
{
    const char* why;
    int setups;
    double cost, setupMinutes;
};

void PrintTo(const PaddingCase& c, std::ostream* os) { *os << c.why; }

// Two-part carbonless sets, 1000 of them (2000 sheets) padded at 8.5 x 11, 1000 an hour, spoilage 2 %,
// 40 an hour, first set-up 15 min (10.00), further set-ups 1 min, 0.5 pad glue per square unit.
// Pad edge time: 8.5 x 2000 x 0.5 x 1.02 / 1000 = 8.67; x 40 x 0.004 + 10.00 first set-up = 11.3872.
// Above ten lots each pad pays 8.5 x 0.5 x 11 / 93.5 = 0.5 for glue and 1 / 60 x 40 = 0.6667 handling:
// 11 lots are 2000 x 0.5 / 11 = 90.909 pads, 90.909 x 1.16667 = 106.0606 more.
const PaddingCase kPadding[] = {
    {"ten lots: no pad charge", 10, 11.3872, 24},             // set-up (9 x 1 + 15) x 40 / 60 = 16.00
    {"eleven lots: a charge per pad", 11, 117.447806061, 25}, // set-up (10 x 1 + 15) x 40 / 60 = 16.67
};

class Padding : public testing::TestWithParam<PaddingCase>
{
};

TEST_P(Padding, CarbonlessFormsPayEdgeTimeAndPads)
{
    const PaddingCase& c = GetParam();
    const OperationInputs in = carbonlessPadInputs(c.setups);
    const OrderFigures order = twoPartOrder();
    OperationFigures f;
    ASSERT_EQ(costOperation(in, order, f), "");
    CountedOperation op(0);
    op.run.padding = true;

    estimator::bindery::chargePadding(in.bindery, false, order, f, op.run, op.statement);
    estimator::bindery::writeRowAndTotal(in.bindery, f, op.run, op.rows, op.total, op.statement);
    EXPECT_NEAR(f.operationCost, c.cost, kCent) << c.why;
    const BinderyReportRow& row = op.rows[1];
    EXPECT_EQ(row.description.str(), "PADDING PRESS            ");
    EXPECT_NEAR(row.cost, c.cost, kCent) << c.why;
    EXPECT_NEAR(row.setupMinutes, c.setupMinutes, kCent) << c.why; // set-up cost x 60 / 40
    EXPECT_NEAR(row.totalMinutes, c.cost * 60 / 40, kCent) << c.why;
    EXPECT_EQ(row.percentOfRun, 50) << c.why; // one sheet in two
    EXPECT_EQ(row.waste, 10) << c.why;        // 40 sheets at 4 up
    EXPECT_NEAR(op.total.cost, c.cost, kCent) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Bindery, Padding, testing::ValuesIn(kPadding));

// Cartons of 500 pieces of 0.004 stock, fewer of the 0.008 stock here; 60 cartons an hour of the
// reference stock.
TEST(DepartmentRules, PackagingCountsPackagesOfThickStock)
{
    OperationInputs in = cutterInputs();
    in.bindery.name = std::string("Carton pack");
    in.bindery.packaging = true;
    in.bindery.thickness = true;
    in.bindery.minSpeed = 60;
    in.bindery.maxSpeed = 60;
    in.bindery.setupTime = 10;
    in.bindery.costPerHour = 30;
    in.bindery.addlRunTime = 500;
    in.stockCaliper = 0.008;
    const OrderFigures order = shopOrder();
    OperationFigures f;
    ASSERT_EQ(costOperation(in, order, f), "");
    EXPECT_EQ(f.speed, 30); // halved for the caliper
    CountedOperation op(0);

    estimator::bindery::chargePackaging(in.bindery, order, f, op.statement);
    // The speed is restored: 30 x 0.008 / 0.004 = 60. Package: 500 x 0.004 / 0.008 = 250 pieces;
    // Int(1000 / 250 + 0.8) = 4 cartons / 60 an hour = 0.066667 h; (0.066667 + 10 / 60) x 30 = 7.00.
    EXPECT_EQ(f.speed, 60);
    EXPECT_DOUBLE_EQ(f.packageSize, 250);
    EXPECT_NEAR(f.operationCost, 7, kCent);
}

} // namespace
} // namespace bindery_test
