#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using estimator::cEstimator;
using estimator::EstimatorProbe;
using testing::Property;
using testing::Throws;

class OrderVariables : public enginetest::EngineTest
{
protected:
    // Loads the order variables of the one order row given by `columns` and `values`.
    void load(const std::string& columns, const std::string& values)
    {
        m_engine.reset();
        if (!m_db)
            m_db = std::make_unique<testsupport::TestDatabase>();
        m_db->exec("DELETE FROM ORDERS; INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, " + columns +
                   ") VALUES ('V1', 1, 'J', 1000, " + values + ");");
        m_engine = std::make_unique<cEstimator>(m_context);
        pointAt(*m_engine, *m_db, "V1");
        m_engine->Estimate(5, 1, 0);
        EstimatorProbe::CheckVariables(*m_engine);
    }
    const cEstimator& engine() const { return *m_engine; }

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<cEstimator> m_engine;
};

TEST_F(OrderVariables, ZeroOrEmptyFiguresBecomeOne)
{
    load("STOCKPARTS, PRESSDIFFFRMPRESSSHT, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSSIGNATURES",
         "0, NULL, 0, NULL, 0");
    EXPECT_EQ(EstimatorProbe::parts(engine()), 1);
    EXPECT_EQ(EstimatorProbe::pressDiffFactor(engine()), 1);
    EXPECT_EQ(EstimatorProbe::numberUp(engine()), 1);
    EXPECT_EQ(EstimatorProbe::pressSheetsPerParent(engine()), 1);
    EXPECT_EQ(EstimatorProbe::signatures(engine()), 1);
    EXPECT_EQ(EstimatorProbe::piecesToProduce(engine()), 1000); // 1000 x 1 x 1
}

TEST_F(OrderVariables, PiecesToProduceMultiplyQuantityPartsAndFactor)
{
    // 1000 pieces x 3 parts x factor 2 = 6000; negative number-up figures count by their size.
    load("STOCKPARTS, PRESSDIFFFRMPRESSSHT, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSSIGNATURES, PRODUCTIONTYPE",
         "3, 2, -4, -6, 8, 1");
    EXPECT_EQ(EstimatorProbe::parts(engine()), 3);
    EXPECT_EQ(EstimatorProbe::pressDiffFactor(engine()), 2);
    EXPECT_EQ(EstimatorProbe::piecesToProduce(engine()), 6000);
    EXPECT_EQ(EstimatorProbe::numberUp(engine()), 4);
    EXPECT_EQ(EstimatorProbe::pressSheetsPerParent(engine()), 6);
    EXPECT_EQ(EstimatorProbe::signatures(engine()), 8);
    EXPECT_EQ(EstimatorProbe::productionType(engine()), 1);
}

TEST_F(OrderVariables, FlagsForStockAndPressType)
{
    load("STOCKID, PRESSTYPE, STOCKPARENTSIZE", "12, 0, '25 X 38'");
    EXPECT_EQ(EstimatorProbe::stockSelected(engine()), 1);
    EXPECT_EQ(EstimatorProbe::pressTypeZero(engine()), 1);
    load("STOCKID, PRESSTYPE", "0, 2");
    EXPECT_EQ(EstimatorProbe::stockSelected(engine()), 0);
    EXPECT_EQ(EstimatorProbe::pressTypeZero(engine()), 0);
    load("STOCKID, PRESSTYPE", "NULL, NULL"); // an empty press type reads as 0
    EXPECT_EQ(EstimatorProbe::stockSelected(engine()), 0);
    EXPECT_EQ(EstimatorProbe::pressTypeZero(engine()), 1);
}

TEST_F(OrderVariables, SheetDimensionsTable)
{
    load("PRESSBLEEDSIZE, PRESSFINISHEDSIZE, PRESSSIZE, STOCKPARENTSIZE",
         "'8.75 X 11.25', '8.5 X 11', '12.5x19', '25 X 38'");
    const double expected[] = {8.75, 11.25, 8.5, 11, 12.5, 19, 25, 38, 0, 0};
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(EstimatorProbe::sheetDim(engine(), i), expected[i]) << "entry " << i;
    EXPECT_EQ(EstimatorProbe::finishedSizeText(engine()), "8.5 X 11");
}

TEST_F(OrderVariables, ParentUsageRatioBySheetModeOrBookMode)
{
    const std::string columns = "STOCKID, PRODUCTIONTYPE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSFINISHEDSIZE, "
                                "PRESSSIZE, STOCKPARENTSIZE";
    // Sheet mode: 8.5 x 11 x 4 up = 374 sq in; x 2 press sheets a parent / (25 x 38 = 950) = 0.787368...
    load(columns, "12, 0, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_DOUBLE_EQ(EstimatorProbe::parentUsageRatio(engine()), 748.0 / 950.0);
    // Book mode, same sizes: the press sheet 12.5 x 19 = 237.5 sq in; x 2 / 950 = 0.5.
    load(columns, "12, 1, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_DOUBLE_EQ(EstimatorProbe::parentUsageRatio(engine()), 0.5);
    // Production type 0.5 rounds to even (0): sheet mode.
    load(columns, "12, 0.5, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_EQ(EstimatorProbe::productionType(engine()), 0);
    EXPECT_DOUBLE_EQ(EstimatorProbe::parentUsageRatio(engine()), 748.0 / 950.0);
}

TEST_F(OrderVariables, NoStockSelectedMeansNoParentUsage)
{
    const std::string columns = "STOCKID, PRODUCTIONTYPE, PRESSFINISHEDSIZE, STOCKPARENTSIZE";
    load(columns, "NULL, 0, '8.5 X 11', '25 X 38'");
    EXPECT_EQ(EstimatorProbe::parentUsageRatio(engine()), 0);
    // Without stock the parent size is not divided by, so an empty one does no harm.
    load(columns, "0, 0, '8.5 X 11', ''");
    EXPECT_EQ(EstimatorProbe::parentUsageRatio(engine()), 0);
}

TEST_F(OrderVariables, StockWithoutParentSizeIsADivisionByZero)
{
    m_db = std::make_unique<testsupport::TestDatabase>(
        "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, STOCKID, PRESSFINISHEDSIZE, STOCKPARENTSIZE) "
        "VALUES ('V1', 1, 'J', 1000, 12, '8.5 X 11', '');");
    m_engine = std::make_unique<cEstimator>(m_context);
    pointAt(*m_engine, *m_db, "V1");
    m_engine->Estimate(5, 1, 0);
    EXPECT_THAT([&] { EstimatorProbe::CheckVariables(*m_engine); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::DivisionByZero)));
    // The loader keeps what it had reached before the fault.
    EXPECT_EQ(EstimatorProbe::sheetDim(engine(), 2), 8.5);
}

} // namespace
