#include "data/JetErrors.h"
#include "pricing/OrderRowWriter.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "tests/support/TestDatabase.h"

namespace {

using platform::Value;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;
using testsupport::TestDatabase;

// Two orders with every stored estimate field filled in; the writer must clear them in 24101's row only.
constexpr const char* kTwoOrders = R"sql(
INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSSPOILCUSTOM, PRESSCOST, PRESSCOST2, PRESSCOST3, PRESSCOST4, BINDERYHRS, BINDERYCOST, BINDERYCOST2,
    BINDERYCOST3, BINDERYCOST4, PRINTPRICING, VENDORCOST, VENDORCOST2, VENDORCOST3, VENDORCOST4, ESTHRS1, ESTHRS2,
    ESTHRS3, ESTHRS4, PRICE10001, PRICE10002, PRICE10003, PRICE10004, STOCKESTCOST1, STOCKESTCOST2, STOCKESTCOST3,
    STOCKESTCOST4, PRESSSHEETS1, PRESSSHEETS2, PRESSSHEETS3, PRESSSHEETS4, BINDSHEETS1, BINDSHEETS2, BINDSHEETS3,
    BINDSHEETS4, ADJUSTMENT)
VALUES
    (7, '24101', 1, 'Q', 'Letterhead', 2500, 5000, 10000, 20000,
     1, 11.5, 12.5, 13.5, 14.5, 2.25, 21, 22, 23, 24, 0, 31, 32, 33, 34, 1.5, 2.5, 3.5, 4.5,
     41, 42, 43, 44, 51, 52, 53, 54, 61, 62, 63, 64, 71, 72, 73, 74, 15.75),
    (9, '24102', 1, 'Q', 'Brochure', 1000, 2000, 3000, 4000,
     1, 11.5, 12.5, 13.5, 14.5, 2.25, 21, 22, 23, 24, 0, 31, 32, 33, 34, 1.5, 2.5, 3.5, 4.5,
     41, 42, 43, 44, 51, 52, 53, 54, 61, 62, 63, 64, 71, 72, 73, 74, 15.75);
)sql";

data::Recordset orderRow(const std::string& databaseFile, const std::string& orderNo)
{
    data::Recordset row = data::Database::open(databaseFile)
                              .openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = '" + orderNo + "'");
    EXPECT_EQ(row.recordCount(), 1);
    return row;
}

struct Messages
{
    std::vector<std::string> shown;
    pricing::MessageCallback callback()
    {
        return [this](const std::string& message) { shown.push_back(message); };
    }
};

TEST(OrderRowWriter, SetsThirtyNineFieldsBesideThePressQuantityInTheirOrder)
{
    const auto& fields = pricing::clearedOrderFields();
    ASSERT_EQ(fields.size(), 39u);
    EXPECT_EQ(fields.front().first, "PRESSQTY2");
    EXPECT_EQ(fields[3].first, "PRESSSPOILCUSTOM");
    EXPECT_EQ(fields[3].second, Value::fromBoolean(false));
    EXPECT_EQ(fields[13].first, "PrintPricing");
    EXPECT_EQ(fields[13].second, Value::fromInteger(-1));
    EXPECT_EQ(fields.back().first, "Adjustment");
    for (const auto& [name, value] : fields) {
        if (name != "PrintPricing" && name != "PRESSSPOILCUSTOM") {
            EXPECT_EQ(value, Value::fromInteger(0)) << name;
        }
    }
}

TEST(OrderRowWriter, WritesTheQuantityAndClearsTheStoredEstimate)
{
    TestDatabase db(kTwoOrders);
    Messages messages;
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 7, messages.callback());
    EXPECT_FALSE(writer.Saveit(Value::fromInteger(750)).has_value());
    EXPECT_TRUE(messages.shown.empty());

    const data::Recordset row = orderRow(db.path(), "24101");
    EXPECT_EQ(row.field("PRESSQTY").number(), 750);
    EXPECT_TRUE(row.field("PRINTPRICING").toBoolean());
    EXPECT_FALSE(row.field("PRESSSPOILCUSTOM").toBoolean());
    for (const auto& [name, value] : pricing::clearedOrderFields()) {
        if (name != "PrintPricing") {
            EXPECT_EQ(row.field(name).number(), 0) << name;
        }
    }
    EXPECT_EQ(row.field("ADJUSTMENT").number(), 0) << "an adjustment is cleared too";
    EXPECT_EQ(row.field("DESCRIPTION").formatted(), "Letterhead") << "other columns keep their values";

    // The other order's row is not touched.
    const data::Recordset other = orderRow(db.path(), "24102");
    EXPECT_EQ(other.field("PRESSQTY").number(), 1000);
    EXPECT_EQ(other.field("PRESSQTY2").number(), 2000);
    EXPECT_EQ(other.field("ADJUSTMENT").number(), 15.75);
    EXPECT_FALSE(other.field("PRINTPRICING").toBoolean());
}

TEST(OrderRowWriter, EveryCallGoesBackToTheSameRow)
{
    TestDatabase db(kTwoOrders);
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 9);
    for (int quantity : {100, 125, 150})
        ASSERT_FALSE(writer.Saveit(Value::fromInteger(quantity)).has_value());
    EXPECT_EQ(orderRow(db.path(), "24102").field("PRESSQTY").number(), 150);
    EXPECT_EQ(orderRow(db.path(), "24101").field("PRESSQTY").number(), 2500);
}

TEST(OrderRowWriter, ADeletedRowGivesTheBookmarkMessageEveryTimeAndWritesNothing)
{
    TestDatabase db(kTwoOrders);
    Messages messages;
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 7, messages.callback());
    ASSERT_FALSE(writer.Saveit(Value::fromInteger(100)).has_value());
    db.exec("DELETE FROM ORDERS WHERE rowid = 7;");
    EXPECT_TRUE(writer.Saveit(Value::fromInteger(125)).has_value());
    const platform::Outcome failed = writer.Saveit(Value::fromInteger(150));
    // "Error Number " and Str(3159), which puts a blank before a positive number: two blanks.
    EXPECT_THAT(messages.shown, ElementsAre("Error Number  3159", "Error Number  3159"));
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->number(), data::NotAValidBookmark);
    EXPECT_THAT(failed->what(), HasSubstr("bookmark"));
    // Nothing went to the row the table happened to be on.
    EXPECT_EQ(orderRow(db.path(), "24102").field("PRESSQTY").number(), 1000);
    EXPECT_EQ(orderRow(db.path(), "24102").field("ADJUSTMENT").number(), 15.75);
}

TEST(OrderRowWriter, AMissingColumnIsSkippedAndTheOthersAreWritten)
{
    // An older shop database without ADJUSTMENT and PRINTPRICING.
    TestDatabase db(R"sql(
        CREATE TABLE ORDERS (ORDERNO TEXT, PARTNO INTEGER, QUOTEORJOB TEXT, PRESSQTY INTEGER, PRESSQTY2 INTEGER,
            PRESSQTY3 INTEGER, PRESSQTY4 INTEGER, PRESSCOST REAL, BINDSHEETS4 REAL);
        INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
            PRESSCOST, BINDSHEETS4) VALUES (3, 'OLD1', 1, 'Q', 500, 1000, 2000, 3000, 99.5, 12);
    )sql", false);
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 3);
    EXPECT_FALSE(writer.Saveit(Value::fromInteger(250)).has_value()) << "the row holds the new quantity";
    const data::Recordset row = orderRow(db.path(), "OLD1");
    EXPECT_EQ(row.field("PRESSQTY").number(), 250);
    EXPECT_EQ(row.field("PRESSQTY4").number(), 0);
    EXPECT_EQ(row.field("PRESSCOST").number(), 0);
    EXPECT_EQ(row.field("BINDSHEETS4").number(), 0);
    // A quantity that cannot be written is told by its own fault, not by a skipped column's.
    const platform::Outcome failed = writer.Saveit(Value::fromText("12abc"));
    ASSERT_TRUE(failed.has_value());
    EXPECT_THAT(failed->what(), Not(HasSubstr("Adjustment")));
    EXPECT_THAT(failed->what(), Not(HasSubstr("PrintPricing")));
}

TEST(OrderRowWriter, AQuantityThatIsNoNumberLeavesThePressQuantityAndClearsTheRest)
{
    TestDatabase db(kTwoOrders);
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 7);
    EXPECT_TRUE(writer.Saveit(Value::fromText("12abc")).has_value()) << "the row does not hold the quantity asked for";
    const data::Recordset row = orderRow(db.path(), "24101");
    EXPECT_EQ(row.field("PRESSQTY").number(), 2500);
    EXPECT_EQ(row.field("PRESSQTY2").number(), 0);
    EXPECT_EQ(row.field("ADJUSTMENT").number(), 0);
}

TEST(OrderRowWriter, ANullQuantityIsWrittenAsNull)
{
    // The restoring write of an order whose press quantity was empty puts the empty value back.
    TestDatabase db(kTwoOrders);
    pricing::OrderRowWriter writer(data::Database::open(db.path()), 7);
    EXPECT_FALSE(writer.Saveit(Value::null()).has_value());
    EXPECT_TRUE(orderRow(db.path(), "24101").field("PRESSQTY").isNull());
}

} // namespace
