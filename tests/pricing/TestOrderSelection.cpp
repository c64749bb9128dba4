#include "pricing/OrderSelection.h"

#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "tests/support/TestDatabase.h"

namespace {

using pricing::OrderSelection;
using pricing::QuoteOrJob;
using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::TestDatabase;

constexpr const char* kOrders = R"sql(
INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, STOCKDESC, PRESSFINISHEDSIZE, PRESSQTY) VALUES
    (4, '24101-01', 1, 'Q', 'Letterhead', '24# White Bond', '8.5 X 11', 2500),
    (5, '24101-01', 2, 'J', 'Letterhead, second sheet', '24# White Bond', '8.5 X 11', 1000),
    (6, '24102', 1, 'Q', NULL, NULL, NULL, NULL),
    (8, '24103-01', 1, 'J', 'Forms', 'Carbonless', '8.5 X 11', 500);
INSERT INTO BINDERYSELECTIONS (BINDERYSELECTIONID, ORDERNO, PARTNO, QUOTEORJOB, BINDERY) VALUES
    (1, '24101-01', 1, 'Q', 'Guillotine Cutting'),
    (2, '24103-01', 1, 'Q', 'Collator 10-Bin'),
    (3, '24101-01', 1, 'Q', 'Shrink Wrap'),
    (4, '24103-01', 1, 'J', 'Padding');
)sql";

TEST(OrderSelection, ListsEveryOrderAsNumberDashDescription)
{
    TestDatabase db(kOrders);
    EXPECT_THAT(pricing::listOrderEntries(db.path()),
                ElementsAre("24101-01 - Letterhead", "24101-01 - Letterhead, second sheet", "24102 - ",
                            "24103-01 - Forms"));
}

TEST(OrderSelection, AnUnreadableDatabaseListsNothingAndSaysWhy)
{
    testsupport::TemporaryFolder folder;
    std::string fault;
    EXPECT_TRUE(pricing::listOrderEntries(folder.path() + "/vmdata.mdb", &fault).empty());
    EXPECT_THAT(fault, HasSubstr(folder.path() + "/vmdata.mdb"));
}

TEST(OrderSelection, TheOrderNumberOfAnEntryIsItsFirstEightCharacters)
{
    EXPECT_EQ(pricing::orderNumberOfEntry("24101-01 - Letterhead"), "24101-01");
    // A shorter number takes part of the separator along, so it matches no order.
    EXPECT_EQ(pricing::orderNumberOfEntry("24102 - "), "24102 - ");
    EXPECT_EQ(pricing::orderNumberOfEntry("abc"), "abc");
}

TEST(OrderSelection, TakesTheFirstRowOfTheOrderAndItsBinderyRows)
{
    TestDatabase db(kOrders);
    const std::optional<OrderSelection> order = pricing::selectOrder(db.path(), "24101-01");
    ASSERT_TRUE(order);
    EXPECT_EQ(order->orderNo, "24101-01");
    EXPECT_EQ(order->description, "Letterhead");
    EXPECT_EQ(order->stock, "24# White Bond");
    EXPECT_EQ(order->size, "8.5 X 11");
    EXPECT_EQ(order->partNo, "1");
    EXPECT_EQ(order->origQty, "2500");
    EXPECT_EQ(order->pressQty.number(), 2500);
    EXPECT_EQ(order->bookmark, 4);
    EXPECT_EQ(order->bindery, "Guillotine Cutting, Shrink Wrap");
    EXPECT_EQ(order->quoteOrJob, QuoteOrJob::Quote);
}

TEST(OrderSelection, MixedBinderyRowsEndWithTheLastRowsChoice)
{
    TestDatabase db(kOrders);
    const std::optional<OrderSelection> order = pricing::selectOrder(db.path(), "24103-01");
    ASSERT_TRUE(order);
    EXPECT_EQ(order->bindery, "Collator 10-Bin, Padding");
    EXPECT_EQ(order->quoteOrJob, QuoteOrJob::Job);
}

TEST(OrderSelection, AnOrderWithoutBinderyRowsLeavesTheChoiceOpen)
{
    TestDatabase db(kOrders);
    const std::optional<OrderSelection> order = pricing::selectOrder(db.path(), "24102");
    ASSERT_TRUE(order);
    EXPECT_EQ(order->bindery, "");
    EXPECT_EQ(order->quoteOrJob, QuoteOrJob::Unset);
    EXPECT_EQ(pricing::quoteOrJobCode(order->quoteOrJob), "Q") << "no choice prices as a quote";
    // Empty columns show as empty texts; the empty press quantity is kept to be written back.
    EXPECT_EQ(order->description, "");
    EXPECT_EQ(order->origQty, "");
    EXPECT_TRUE(order->pressQty.isNull());
}

TEST(OrderSelection, AnUnknownOrderGivesNothing)
{
    TestDatabase db(kOrders);
    EXPECT_EQ(pricing::selectOrder(db.path(), "99999"), std::nullopt);
    EXPECT_EQ(pricing::selectOrder(db.path(), "24101-0"), std::nullopt) << "numbers are matched whole";
}

TEST(OrderSelection, AMissingDatabaseIsAFaultNamingTheFile)
{
    testsupport::TemporaryFolder folder;
    const std::string file = folder.path() + "/vmdata.mdb";
    try {
        pricing::selectOrder(file, "24101");
        FAIL() << "no fault";
    } catch (const platform::Fault& fault) {
        EXPECT_THAT(fault.what(), HasSubstr(file));
    }
}

TEST(OrderSelection, AFilterPicksThePartAndKindAsked)
{
    TestDatabase db(kOrders);
    pricing::OrderKeyFilter filter;
    filter.partNo = 2;
    std::optional<OrderSelection> order = pricing::selectOrder(db.path(), "24101-01", filter);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->bookmark, 5);
    EXPECT_EQ(order->partNo, "2");
    EXPECT_EQ(order->bindery, "") << "the bindery rows are part 1's";

    filter = {};
    filter.quoteOrJob = QuoteOrJob::Job;
    order = pricing::selectOrder(db.path(), "24101-01", filter);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->bookmark, 5);
    EXPECT_EQ(order->quoteOrJob, QuoteOrJob::Job) << "asked for, whatever the bindery rows say";

    filter.partNo = 1;
    EXPECT_EQ(pricing::selectOrder(db.path(), "24101-01", filter), std::nullopt) << "part 1 is only a quote";
}

} // namespace
