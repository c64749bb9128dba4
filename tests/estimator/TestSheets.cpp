#include <cstdint>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/RunContext.h"
#include "estimator/Sheets.h"
#include "estimator/cEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "tests/support/TestDatabase.h"

namespace {

using estimator::cEstimator;
using testing::Property;
using testing::Throws;

struct DimensionCase
{
    const char* why;
    const char* text;
    double width;  // part 0
    double height; // part 1
};

const DimensionCase kDimensions[] = {
    {"width X height", "8.5 X 11", 8.5, 11},
    {"no blanks", "17.5X22.5", 17.5, 22.5},
    {"lower-case separator", "8.5 x 11", 8.5, 11},
    {"empty text", "", 0, 0},
    {"one number serves as both sides", "11", 11, 11},
    {"one number with blanks around it", " 11 ", 11, 11},
    {"text starting with the separator", "X 11", 0, 11},
    {"separator at the end", "8.5 X", 8.5, 0},
    {"blanks inside a number are skipped, reading stops at the slash", "8 1/2 X 11", 81, 11},
    {"a name without the separator is not a number", "Letter", 0, 0},
    {"a name holding an x", "Box", 0, 0},
    {"three sizes: the height stops at the second X", "12 X 18 X 4", 12, 18},
    {"exponent letter in a single number", "1E1", 10, 10},
};

TEST(GetDimension, ReadsWidthAndHeight)
{
    for (const DimensionCase& c : kDimensions) {
        EXPECT_EQ(estimator::readDimension(c.text, 0, "X"), c.width) << c.why << ": '" << c.text << "'";
        EXPECT_EQ(estimator::readDimension(c.text, 1, "X"), c.height) << c.why << ": '" << c.text << "'";
    }
}

TEST(GetDimension, AnyPartOtherThanZeroReadsAfterTheSeparator)
{
    EXPECT_EQ(estimator::readDimension("8.5 X 11", 2, "X"), 11);
    EXPECT_EQ(estimator::readDimension("X 11", 2, "X"), 0); // only part 1 reads a leading separator
}

class CalcPressSheets : public testing::Test
{
protected:
    // The press sheets of the database's one order row at `quantity`, or at its own PRESSQTY.
    static std::int32_t sheets(const testsupport::TestDatabase& db, std::int32_t quantity = -1)
    {
        data::Database connection = data::Database::open(db.path());
        const data::Recordset row = connection.openRecordset("SELECT * FROM ORDERS");
        if (quantity < 0)
            quantity = row.recordCount() > 0 ? platform::toInt32(row.field("PRESSQTY").number()) : 0;
        return estimator::calcPressSheets(row, quantity);
    }

    // An order priced at `quantity` with the press-sheet columns given as SQL values (NULL allowed).
    static std::string order(const std::string& signatures, const std::string& quantity, const std::string& factor,
                             const std::string& numberUp)
    {
        return "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSSIGNATURES, PRESSDIFFFRMPRESSSHT, "
               "PRESSNUMUPPRESSSHT) VALUES ('P1', 1, 'J', " +
               quantity + ", " + signatures + ", " + factor + ", " + numberUp + ");";
    }
};

struct SheetCase
{
    const char* why;
    const char* signatures;
    const char* quantity;
    const char* factor;
    const char* numberUp;
    std::int32_t expected;
};

const SheetCase kSheets[] = {
    {"4 x 1000 x 1 / 8", "4", "1000", "1", "8", 500},
    {"1000 / 3 = 333.33", "1", "1000", "1", "3", 333},
    {"5 / 2 = 2.5 rounds to even", "1", "5", "1", "2", 2},
    {"7 / 2 = 3.5 rounds to even", "1", "7", "1", "2", 4},
    {"no signatures: no default of 1 here", "0", "1000", "1", "8", 0},
    {"no difference factor: no default of 1 here", "4", "1000", "0", "8", 0},
    {"empty signatures read as 0", "NULL", "1000", "1", "8", 0},
    {"negative number up gives negative sheets", "2", "1000", "1", "-4", -500},
    {"number up 0: nothing to count", "2", "1000", "1", "0", 0},
    {"number up empty: nothing to count", "2", "1000", "1", "NULL", 0},
    {"signatures 2.5 round to 2", "2.5", "1000", "1", "1", 2000},
    {"factor 1.5 rounds to 2", "1", "1000", "1.5", "1", 2000},
    {"number up 2.5 rounds to 2", "1", "1000", "1", "2.5", 500},
    {"largest product that fits 32 bits", "1", "2147483647", "1", "1", 2147483647},
};

TEST_F(CalcPressSheets, CountsPressSheetsInWholeNumbers)
{
    testsupport::TestDatabase db;
    for (const SheetCase& c : kSheets) {
        db.exec("DELETE FROM ORDERS;" + order(c.signatures, c.quantity, c.factor, c.numberUp));
        EXPECT_EQ(sheets(db), c.expected) << c.why;
    }
}

TEST_F(CalcPressSheets, NoOrderRecordCountsNothing)
{
    testsupport::TestDatabase db;
    EXPECT_EQ(sheets(db, 1000), 0);
}

TEST_F(CalcPressSheets, ProductBeyondThirtyTwoBitsIsAnOverflow)
{
    // 3 x 1,000,000,000 does not fit a 32-bit integer.
    testsupport::TestDatabase db(order("3", "1000000000", "1", "1"));
    EXPECT_THAT([&] { (void)sheets(db); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::Overflow)));
}

TEST_F(CalcPressSheets, NumberUpThatRoundsToZeroIsADivisionByZero)
{
    // 0.4 is not 0, so the count goes on; rounded it is 0 and the division fails.
    testsupport::TestDatabase db(order("1", "1000", "1", "0.4"));
    EXPECT_THAT([&] { (void)sheets(db); },
                Throws<platform::Fault>(Property(&platform::Fault::number, platform::fault::DivisionByZero)));
}

TEST_F(CalcPressSheets, AQuantityOfNothingNeedsNoSheets)
{
    // Slots 2 to 4 are never loaded from the order: their quantity is 0, and so are their sheets.
    testsupport::TestDatabase db(order("4", "1000", "1", "8"));
    EXPECT_EQ(sheets(db, 0), 0);
}

TEST(PressSheetsToOrder, IsZeroBeforeAnyPressEstimate)
{
    estimator::RunContext context;
    const cEstimator engine(context);
    EXPECT_EQ(engine.PressSheetsToOrder(), 0);
}

} // namespace
