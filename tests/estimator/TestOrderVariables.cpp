#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/OrderVariables.h"
#include "platform/Fault.h"
#include "tests/support/TestDatabase.h"

namespace {

using testing::Property;
using testing::Throws;

class OrderVariables : public testing::Test
{
protected:
    // Loads the order variables of the one order row given by `columns` and `values`, at 1000 pieces.
    void load(const std::string& columns, const std::string& values)
    {
        m_db.exec("DELETE FROM ORDERS; INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, " + columns +
                  ") VALUES ('V1', 1, 'J', 1000, " + values + ");");
        m_vars = {};
        data::Database db = data::Database::open(m_db.path());
        const data::Recordset order = db.openRecordset("SELECT * FROM ORDERS");
        estimator::loadOrderVariables(order, 1000, m_vars);
    }

    testsupport::TestDatabase m_db;
    estimator::OrderVariables m_vars;
};

TEST_F(OrderVariables, ZeroOrEmptyFiguresBecomeOne)
{
    load("STOCKPARTS, PRESSDIFFFRMPRESSSHT, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSSIGNATURES",
         "0, NULL, 0, NULL, 0");
    EXPECT_EQ(m_vars.parts, 1);
    EXPECT_EQ(m_vars.pressDiffFactor, 1);
    EXPECT_EQ(m_vars.numberUp, 1);
    EXPECT_EQ(m_vars.pressSheetsPerParent, 1);
    EXPECT_EQ(m_vars.signatures, 1);
    EXPECT_EQ(m_vars.piecesToProduce, 1000); // 1000 x 1 x 1
}

TEST_F(OrderVariables, PiecesToProduceMultiplyQuantityPartsAndFactor)
{
    // 1000 pieces x 3 parts x factor 2 = 6000; negative number-up figures count by their size.
    load("STOCKPARTS, PRESSDIFFFRMPRESSSHT, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSSIGNATURES, PRODUCTIONTYPE",
         "3, 2, -4, -6, 8, 1");
    EXPECT_EQ(m_vars.parts, 3);
    EXPECT_EQ(m_vars.pressDiffFactor, 2);
    EXPECT_EQ(m_vars.piecesToProduce, 6000);
    EXPECT_EQ(m_vars.numberUp, 4);
    EXPECT_EQ(m_vars.pressSheetsPerParent, 6);
    EXPECT_EQ(m_vars.signatures, 8);
    EXPECT_EQ(m_vars.productionType, 1);
}

TEST_F(OrderVariables, FlagsForStockAndPressType)
{
    load("STOCKID, PRESSTYPE, STOCKPARENTSIZE", "12, 0, '25 X 38'");
    EXPECT_EQ(m_vars.stockSelected, 1);
    EXPECT_EQ(m_vars.pressTypeZero, 1);
    load("STOCKID, PRESSTYPE", "0, 2");
    EXPECT_EQ(m_vars.stockSelected, 0);
    EXPECT_EQ(m_vars.pressTypeZero, 0);
    load("STOCKID, PRESSTYPE", "NULL, NULL"); // an empty press type reads as 0
    EXPECT_EQ(m_vars.stockSelected, 0);
    EXPECT_EQ(m_vars.pressTypeZero, 1);
}

TEST_F(OrderVariables, SheetDimensionsTable)
{
    load("PRESSBLEEDSIZE, PRESSFINISHEDSIZE, PRESSSIZE, STOCKPARENTSIZE",
         "'8.75 X 11.25', '8.5 X 11', '12.5x19', '25 X 38'");
    const double expected[] = {8.75, 11.25, 8.5, 11, 12.5, 19, 25, 38, 0, 0};
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(m_vars.sheetDim[i], expected[i]) << "entry " << i;
    EXPECT_EQ(m_vars.finishedSizeText, "8.5 X 11");
}

TEST_F(OrderVariables, ParentUsageRatioBySheetModeOrBookMode)
{
    const std::string columns = "STOCKID, PRODUCTIONTYPE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRESSFINISHEDSIZE, "
                                "PRESSSIZE, STOCKPARENTSIZE";
    // Sheet mode: 8.5 x 11 x 4 up = 374 sq in; x 2 press sheets a parent / (25 x 38 = 950) = 0.787368...
    load(columns, "12, 0, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_DOUBLE_EQ(m_vars.parentUsageRatio, 748.0 / 950.0);
    // Book mode, same sizes: the press sheet 12.5 x 19 = 237.5 sq in; x 2 / 950 = 0.5.
    load(columns, "12, 1, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_DOUBLE_EQ(m_vars.parentUsageRatio, 0.5);
    // Production type 0.5 rounds to even (0): sheet mode.
    load(columns, "12, 0.5, 4, 2, '8.5 X 11', '12.5 X 19', '25 X 38'");
    EXPECT_EQ(m_vars.productionType, 0);
    EXPECT_DOUBLE_EQ(m_vars.parentUsageRatio, 748.0 / 950.0);
}

TEST_F(OrderVariables, NoStockSelectedMeansNoParentUsage)
{
    const std::string columns = "STOCKID, PRODUCTIONTYPE, PRESSFINISHEDSIZE, STOCKPARENTSIZE";
    load(columns, "NULL, 0, '8.5 X 11', '25 X 38'");
    EXPECT_EQ(m_vars.parentUsageRatio, 0);
    // Without stock the parent size is not divided by, so an empty one does no harm.
    load(columns, "0, 0, '8.5 X 11', ''");
    EXPECT_EQ(m_vars.parentUsageRatio, 0);
}

TEST_F(OrderVariables, StockWithoutParentSizeIsADivisionByZero)
{
    EXPECT_THAT([&] { load("STOCKID, PRESSFINISHEDSIZE, STOCKPARENTSIZE", "12, '8.5 X 11', ''"); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::DivisionByZero)));
    // The loader keeps what it had reached before the fault.
    EXPECT_EQ(m_vars.sheetDim[2], 8.5);
}

} // namespace
