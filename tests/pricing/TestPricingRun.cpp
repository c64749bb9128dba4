#include "pricing/PricingRun.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/Database.h"
#include "data/Recordset.h"
#include "pricing/BookRun.h"
#include "pricing/PriceBook.h"
#include "pricing/Rounding.h"
#include "tests/support/TestDatabase.h"

namespace {

using platform::Currency;
using pricing::PricingResult;
using pricing::QuoteOrJob;
using pricing::RoundingDirection;
using pricing::RoundingStep;
using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::TestDatabase;

// An order printed outside: no press, no stock, no bindery, no pre-press, so its price is its outside
// services, the same at every quantity. Without a press the job totals mark the vendor cost up by the
// shop's Outside Services markup (the rows' own markups are not used there):
// vendor cost = 100.00 + 10.10 = 110.10; retail = 110.10 x (1 + 20 / 100) = 132.12.
constexpr const char* kOutsideJob = R"sql(
INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('Pre-Press', 0), ('Bindery', 0), ('Outside Services', 20),
    ('Press', 0), ('Stock', 0);
INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSID, PRESSQTY, ADJUSTMENT, PRINTPRICING,
    PRESSQTY2, PRESSCOST)
VALUES (12, '30001', 1, 'Q', 'Embossed folders, bought in', 0, 1500, 42.5, 0, 3000, 77);
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, VENDORNAME, DESCRIPTION, COST, MARKUP) VALUES
    ('30001', 1, 'Q', 'Coastal Embossing', 'Blind emboss', 100.00, 25),
    ('30001', 1, 'Q', 'Coastal Embossing', 'Freight', 10.10, 0);
)sql";

pricing::PriceParameters shortSchedule()
{
    // 100, 200, 300 and nothing more: 300 + 100 - 100 + 100 = 400 > 350; 400 - 100 + 500 = 800 > 400.
    pricing::PriceParameters p;
    p.qty1 = "100";
    p.jump1 = "100";
    p.qty2 = "300";
    p.jump2 = "100";
    p.qty3 = "350";
    p.jump3 = "500";
    p.qty4 = "400";
    return p;
}

class PricingRunTest : public testing::Test
{
protected:
    pricing::PricingInputs inputsFor(const TestDatabase& db, const std::string& orderNo) const
    {
        const std::optional<pricing::OrderSelection> order = pricing::selectOrder(db.path(), orderNo);
        EXPECT_TRUE(order) << orderNo;
        pricing::PricingInputs inputs;
        inputs.dataFolder = db.folder();
        inputs.programFolder = m_programFolder.path();
        if (order) {
            inputs.order = *order;
            // The short schedule, as the window would ask for it.
            inputs.request =
                std::get<pricing::PriceRequest>(pricing::makePriceRequest(*order, order->quoteOrJob, shortSchedule()));
        }
        return inputs;
    }

    static data::Recordset orderRow(const TestDatabase& db, const std::string& orderNo)
    {
        return data::Database::open(db.path()).openRecordset("SELECT * FROM ORDERS WHERE ORDERNO = '" + orderNo + "'");
    }

    // The row as the run leaves it: its own press quantity, every stored estimate figure 0, marked for
    // print pricing.
    static void expectRowAfterRun(const TestDatabase& db, const std::string& orderNo, double pressQty)
    {
        const data::Recordset row = orderRow(db, orderNo);
        ASSERT_EQ(row.recordCount(), 1);
        EXPECT_EQ(row.field("PRESSQTY").number(), pressQty);
        EXPECT_TRUE(row.field("PRINTPRICING").toBoolean());
        EXPECT_EQ(row.field("ADJUSTMENT").number(), 0);
        for (const auto& [name, value] : pricing::clearedOrderFields()) {
            if (name != "PrintPricing") {
                EXPECT_EQ(row.field(name).number(), 0) << name;
            }
        }
    }

    testsupport::TemporaryFolder m_programFolder;
};

TEST_F(PricingRunTest, PricesEveryQuantityAtTheTotalRetailAndRounds)
{
    TestDatabase db(kOutsideJob);
    pricing::PricingInputs inputs = inputsFor(db, "30001");
    inputs.request.step = RoundingStep::Quarter;
    inputs.request.direction = RoundingDirection::Up;
    pricing::PricingRun run(inputs);
    const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));

    // 132.12: whole 132, fraction 0.12 < 0.25, so up to 132.25.
    const std::string price = "$132.25";
    EXPECT_THAT(result.lines, ElementsAre("100" + std::string(27, ' ') + price, "200" + std::string(27, ' ') + price,
                                          "300" + std::string(27, ' ') + price));
    EXPECT_TRUE(result.skipped.empty()) << pricing::skippedMessage(result.skipped);
    EXPECT_FALSE(result.cancelled);
    EXPECT_FALSE(result.stopped);
    ASSERT_EQ(result.priced.size(), 3u);
    EXPECT_EQ(result.priced[1].quantity, 200);
    EXPECT_EQ(result.priced[1].price, Currency::fromDouble(132.25));
    EXPECT_NEAR(result.priced[1].results.VendorRetail, 132.12, 1e-9);
    EXPECT_NEAR(result.priced[1].results.VendorCost, 110.10, 1e-9);
    EXPECT_NEAR(result.priced[1].summary.totalRetail, 132.12, 1e-9);
    EXPECT_EQ(result.priced[1].summary.quantity, 200) << "the engine priced the quantity written into the row";
    expectRowAfterRun(db, "30001", 1500);
}

TEST_F(PricingRunTest, WithoutRoundingTheLineShowsTheCents)
{
    TestDatabase db(kOutsideJob);
    pricing::PricingRun run(inputsFor(db, "30001"));
    const PricingResult result = run.run(pricing::singleQuantity(5000));
    EXPECT_THAT(result.lines, ElementsAre("5000" + std::string(27, ' ') + "$132.12"));
}

TEST_F(PricingRunTest, ReportsEachQuantityAndItsLine)
{
    TestDatabase db(kOutsideJob);
    std::vector<std::string> progress;
    std::vector<std::string> lines;
    pricing::PricingCallbacks callbacks;
    callbacks.onProgress = [&](const std::string& text) { progress.push_back(text); };
    callbacks.onLine = [&](const pricing::PricedQuantity& priced) { lines.push_back(priced.line); };
    pricing::PricingRun run(inputsFor(db, "30001"), callbacks);
    const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
    EXPECT_THAT(progress, ElementsAre("100", "200", "300"));
    EXPECT_EQ(lines, result.lines);
}

TEST_F(PricingRunTest, ACancelStopsBetweenQuantitiesAndLeavesTheRowAsTheStartLeftIt)
{
    TestDatabase db(kOutsideJob);
    int asked = 0;
    pricing::PricingCallbacks callbacks;
    callbacks.cancelRequested = [&] { return ++asked > 2; }; // before the third quantity
    pricing::PricingRun run(inputsFor(db, "30001"), callbacks);
    const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
    EXPECT_EQ(result.lines.size(), 2u);
    EXPECT_TRUE(result.cancelled);
    expectRowAfterRun(db, "30001", 1500);
}

// The chosen row deleted after it was chosen: the run names the order when no row has its key any more,
// and shows the row writer's "Error Number  3159" when another row of the same key is left.
TEST_F(PricingRunTest, ADeletedRowStopsTheRunWithOneMessage)
{
    struct Case
    {
        const char* change;
        pricing::StopReason reason;
        std::vector<std::string> messages; // shown through the run's message callback
        const char* stopMessage;
    };
    const Case cases[] = {
        {"DELETE FROM ORDERS WHERE rowid = 12;", pricing::StopReason::OrderKeyNotFound, {},
         "Order 30001 is not in the shop database. Nothing was priced."},
        {"INSERT INTO ORDERS (rowid, ORDERNO, PARTNO, QUOTEORJOB) VALUES (13, '30001', 1, 'Q'); "
         "DELETE FROM ORDERS WHERE rowid = 12;",
         pricing::StopReason::OrderGone, {"Error Number  3159"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        TestDatabase db(kOutsideJob);
        const pricing::PricingInputs inputs = inputsFor(db, "30001");
        db.exec(c.change);
        std::vector<std::string> messages;
        pricing::PricingCallbacks callbacks;
        callbacks.onMessage = [&](const std::string& message) { messages.push_back(message); };
        pricing::PricingRun run(inputs, callbacks);
        const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
        EXPECT_EQ(messages, c.messages);
        EXPECT_TRUE(result.lines.empty()) << "no price for a row that does not hold the quantity";
        ASSERT_TRUE(result.stopped);
        EXPECT_EQ(result.stopped->reason, c.reason);
        EXPECT_EQ(result.stopped->message, c.stopMessage);
    }
}

TEST_F(PricingRunTest, AnEngineFaultSkipsTheQuantityWithItsTextAndTheRunGoesOn)
{
    TestDatabase db(kOutsideJob);
    db.exec("DROP TABLE VENDORSELECTIONS;");
    pricing::PricingRun run(inputsFor(db, "30001"));
    const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
    EXPECT_TRUE(result.lines.empty());
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[2].quantity, 300);
    EXPECT_THAT(result.skipped[0].fault, HasSubstr("VENDORSELECTIONS"));
    EXPECT_THAT(pricing::skippedMessage(result.skipped), testing::StartsWith("3 quantities could not be priced: 100, 200, 300 ("));
    expectRowAfterRun(db, "30001", 1500);
}

TEST_F(PricingRunTest, APartNumberThatIsNoNumberIsATypeMismatch)
{
    TestDatabase db(kOutsideJob);
    pricing::PricingInputs inputs = inputsFor(db, "30001");
    inputs.order.partNo = "one";
    pricing::PricingRun run(inputs);
    const PricingResult result = run.run(pricing::singleQuantity(100));
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].fault, "Type mismatch");
}

// A key the estimator would find no row for (the quote priced as a job, another part, a row marked
// neither Q nor J) stops the run before anything is written, with what did not match: no list of $0.00
// lines from an empty estimate.
TEST_F(PricingRunTest, AnOrderTheEngineCannotFindStopsTheRunSayingWhatDidNotMatch)
{
    struct Case
    {
        const char* change; // to the row, or to the run's key
        QuoteOrJob quoteOrJob;
        const char* partNo;
        const char* message;
    };
    const Case cases[] = {
        {"", QuoteOrJob::Job, "1",
         "Order 30001 part 1 is not a job (J) in the shop database: its row is marked Q. Nothing was priced."},
        {"", QuoteOrJob::Quote, "2", "Order 30001 has no part 2 in the shop database. Nothing was priced."},
        {"UPDATE ORDERS SET QUOTEORJOB = NULL;", QuoteOrJob::Unset, "1",
         "Order 30001 part 1 is not a quote (Q) in the shop database: its row is marked neither Q nor J. Nothing "
         "was priced."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TestDatabase db(kOutsideJob);
        db.exec(c.change);
        pricing::PricingInputs inputs = inputsFor(db, "30001");
        inputs.request.quoteOrJob = c.quoteOrJob;
        inputs.order.partNo = c.partNo;
        pricing::PricingRun run(inputs);
        const PricingResult result = run.run(pricing::singleQuantity(100));
        EXPECT_TRUE(result.lines.empty());
        ASSERT_TRUE(result.stopped);
        EXPECT_EQ(result.stopped->reason, pricing::StopReason::OrderKeyNotFound);
        EXPECT_EQ(result.stopped->message, c.message);
        EXPECT_EQ(data::Database::open(db.path()).openRecordset("SELECT * FROM ORDERS").field("PRESSCOST").formatted(),
                  "77")
            << "nothing was written";
    }
}

// Another program, a real process of its own, commits a change while the run prices its first quantity: a
// new price of an outside service, or the quote marked a job (the estimator would find no row for the
// quote). The list is priced from one state of the shop's data. A file kept with a write-ahead log, which
// the change does not wait for, gives the lines of the state the run began with; a file kept with a
// rollback journal, read a quantity at a time so that writers are never held up, stops at the next
// quantity rather than mix the two states.
TEST_F(PricingRunTest, AChangeCommittedDuringTheRunNeverMixesTwoStatesOfTheData)
{
    struct Case
    {
        const char* journal;
        const char* change;
    };
    const Case cases[] = {
        {"WAL", "UPDATE VENDORSELECTIONS SET COST = 200 WHERE DESCRIPTION = 'Blind emboss'"},
        {"WAL", "UPDATE ORDERS SET QUOTEORJOB = 'J'"},
        {"DELETE", "UPDATE VENDORSELECTIONS SET COST = 200 WHERE DESCRIPTION = 'Blind emboss'"},
        {"DELETE", "UPDATE ORDERS SET QUOTEORJOB = 'J'"},
    };
    const std::string line = "00" + std::string(27, ' ') + "$132.12";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.journal) + ": " + c.change);
        TestDatabase db(kOutsideJob);
        db.exec(std::string("PRAGMA journal_mode = ") + c.journal);
        pricing::PricingCallbacks callbacks;
        int committed = -1;
        callbacks.onLine = [&](const pricing::PricedQuantity& priced) {
            if (priced.quantity == 100)
                committed = std::system(("sqlite3 -cmd '.timeout 5000' '" + db.path() + "' \"" + c.change + "\"").c_str());
        };
        pricing::PricingRun run(inputsFor(db, "30001"), callbacks);
        const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
        EXPECT_EQ(committed, 0) << "the other program was not held up";
        if (std::string(c.journal) == "WAL") {
            EXPECT_THAT(result.lines, ElementsAre("1" + line, "2" + line, "3" + line));
            EXPECT_FALSE(result.stopped);
            continue;
        }
        EXPECT_THAT(result.lines, ElementsAre("1" + line));
        ASSERT_TRUE(result.stopped);
        EXPECT_EQ(result.stopped->reason, pricing::StopReason::ShopDataChanged);
        EXPECT_THAT(result.stopped->message, HasSubstr("changed the shop's data"));
        EXPECT_THAT(result.stopped->message, HasSubstr("stopped at 200"));
    }
}

// The same for a book, whose pages are all priced from one state of the shop's data. Another process
// commits a change as a page is about to be priced: a press's hourly cost doubled before the third page,
// or, before the first page (and so before the book's snapshot), the first order marked a job, which leaves
// the estimator no row for that page's quote.
TEST_F(PricingRunTest, AChangeCommittedDuringTheBookNeverMixesTwoStatesOfTheData)
{
    struct Case
    {
        const char* journal;
        std::size_t beforePage;
        const char* change;
    };
    const Case cases[] = {
        {"WAL", 2, "UPDATE PRESSES SET COSTPERHOUR = COSTPERHOUR * 2"},
        {"DELETE", 2, "UPDATE PRESSES SET COSTPERHOUR = COSTPERHOUR * 2"},
        {"DELETE", 0, "UPDATE ORDERS SET QUOTEORJOB = 'J' WHERE ORDERNO = '24101'"},
    };
    const auto linesOf = [](const pricing::BookRunResult& book) {
        std::vector<std::vector<std::string>> lines;
        for (const pricing::PricedPage& page : book.pages)
            lines.push_back(page.lines);
        return lines;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.journal) + ": " + c.change);
        TestDatabase db(testsupport::demoShopSql(), false);
        db.exec(std::string("PRAGMA journal_mode = ") + c.journal);
        const std::vector<pricing::BookPage> pages =
            pricing::parsePriceBook("24101\n24102\n24103\n24104\n", shortSchedule());
        const std::string program = m_programFolder.path();
        const pricing::BookRunResult before = pricing::priceBook(db.folder(), program, pages);
        ASSERT_FALSE(before.stopped);
        pricing::BookRunCallbacks callbacks;
        int committed = -1;
        callbacks.onPage = [&](std::size_t index, std::size_t, const pricing::BookPage&) {
            if (index == c.beforePage)
                committed = std::system(("sqlite3 -cmd '.timeout 5000' '" + db.path() + "' \"" + c.change + "\"").c_str());
        };
        const pricing::BookRunResult during = pricing::priceBook(db.folder(), program, pages, callbacks);
        const pricing::BookRunResult after = pricing::priceBook(db.folder(), program, pages);
        EXPECT_EQ(committed, 0) << "the other program was not held up";
        if (c.beforePage == 0) {
            ASSERT_EQ(during.pages.size(), 4u);
            EXPECT_THAT(during.pages[0].lines, testing::IsEmpty()) << "no $0.00 of an empty estimate";
            EXPECT_EQ(during.pages[0].problem, "3 quantities could not be priced: 100, 200, 300 (the estimator found "
                                               "no order 24101 part 1 as a quote (Q))");
            EXPECT_EQ(linesOf(during), linesOf(after));
            continue;
        }
        ASSERT_NE(linesOf(before), linesOf(after)) << "the change shows in the prices";
        if (std::string(c.journal) == "WAL") {
            EXPECT_EQ(linesOf(during), linesOf(before));
            EXPECT_FALSE(during.stopped);
            continue;
        }
        ASSERT_TRUE(during.stopped);
        EXPECT_EQ(during.stopped->reason, pricing::StopReason::ShopDataChanged);
        ASSERT_EQ(during.pages.size(), 3u);
        EXPECT_EQ(during.pages[0].lines, before.pages[0].lines);
        EXPECT_EQ(during.pages[1].lines, before.pages[1].lines);
        EXPECT_THAT(during.pages[2].lines, testing::IsEmpty());
    }
}

TEST_F(PricingRunTest, AnEmptyPressQuantityIsPutBackEmpty)
{
    TestDatabase db(kOutsideJob);
    db.exec("UPDATE ORDERS SET PRESSQTY = NULL;");
    pricing::PricingRun run(inputsFor(db, "30001"));
    const PricingResult result = run.run(pricing::singleQuantity(100));
    EXPECT_EQ(result.lines.size(), 1u);
    EXPECT_TRUE(orderRow(db, "30001").field("PRESSQTY").isNull());
}

// The run never writes the press quantity: whatever is stored stays exactly so, whatever its kind, also
// what another program commits while the run prices.
TEST_F(PricingRunTest, ThePressQuantityStaysExactlyAsStoredAndAnotherProgramsChangesAreKept)
{
    struct Case
    {
        const char* stored;   // SQL value put into PRESSQTY before the run
        const char* expected; // quote(PRESSQTY) after the run
    };
    const Case cases[] = {
        {"2500.7", "2500.7"}, {"'&H10'", "'&H10'"}, {"'about 2,000'", "'about 2,000'"}, {"NULL", "NULL"},
        {"1500", "1500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TestDatabase db(kOutsideJob);
        db.exec(std::string("PRAGMA journal_mode = WAL; UPDATE ORDERS SET PRESSQTY = ") + c.stored + ";");
        pricing::PricingCallbacks callbacks;
        // Another program changes the order's description and a figure the run cleared at its start,
        // while the second quantity is priced.
        callbacks.onLine = [&](const pricing::PricedQuantity& priced) {
            if (priced.quantity == 100)
                db.exec("UPDATE ORDERS SET DESCRIPTION = 'Changed meanwhile', PRESSCOST = 55;");
        };
        pricing::PricingRun run(inputsFor(db, "30001"), callbacks);
        const PricingResult result = run.run(pricing::buildSchedule(shortSchedule()));
        EXPECT_EQ(result.lines.size(), 3u);
        const data::Recordset row = data::Database::open(db.path()).openRecordset(
            "SELECT quote(PRESSQTY) AS Q, DESCRIPTION, PRESSCOST FROM ORDERS WHERE ORDERNO = '30001'");
        EXPECT_EQ(row.field("Q").formatted(), c.expected);
        EXPECT_EQ(row.field("DESCRIPTION").formatted(), "Changed meanwhile");
        EXPECT_EQ(row.field("PRESSCOST").number(), 55);
    }
}

TEST_F(PricingRunTest, TheScheduleNotesComeWithTheResult)
{
    TestDatabase db(kOutsideJob);
    pricing::PriceParameters p = shortSchedule();
    p.jump1 = "0";
    pricing::PricingRun run(inputsFor(db, "30001"));
    const PricingResult result = run.run(pricing::buildSchedule(p));
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_THAT(result.notes[0], HasSubstr("first step is 0"));
}

struct SkippedCase
{
    const char* why;
    std::vector<pricing::SkippedQuantity> skipped;
    const char* expected;
    const char* details; // what stands behind the message
};

const SkippedCase kSkipped[] = {
    {"nothing skipped says nothing", {}, "", ""},
    {"one quantity", {{100, "100", "Division by zero", ""}}, "1 quantity could not be priced: 100 (Division by zero)",
     ""},
    {"the quantities of one fault together, in order; the database's words only behind the message",
     {{100, "100", "Division by zero", ""},
      {125, "125", "Could not read; currently locked.", "database is locked\nSQL: SELECT * FROM PRESSES"},
      {150, "150", "Division by zero", ""},
      {175, "175", "Could not read; currently locked.", "database is locked\nSQL: SELECT * FROM PRESSES"}},
     "4 quantities could not be priced: 100, 150 (Division by zero); 125, 175 (Could not read; currently locked.)",
     "125, 175: database is locked\nSQL: SELECT * FROM PRESSES"},
    {"the quantity as its line shows it", {{100, "0100", "Overflow", ""}},
     "1 quantity could not be priced: 0100 (Overflow)", ""},
};

class SkippedMessage : public testing::TestWithParam<SkippedCase>
{
};

TEST_P(SkippedMessage, NamesTheQuantitiesAndWhy)
{
    EXPECT_EQ(pricing::skippedMessage(GetParam().skipped), GetParam().expected) << GetParam().why;
    EXPECT_EQ(pricing::skippedDetails(GetParam().skipped), GetParam().details) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(Pricing, SkippedMessage, testing::ValuesIn(kSkipped));

// ---- the demo shop ----

TEST_F(PricingRunTest, TheDemoLetterheadOverTheWindowsScheduleGives38LinesAndItsRowBack)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    pricing::PricingRun run(inputsFor(db, "24101"));
    const PricingResult result = run.run(pricing::buildSchedule(pricing::PriceParameters{}));
    EXPECT_TRUE(result.skipped.empty()) << pricing::skippedMessage(result.skipped);
    ASSERT_EQ(result.lines.size(), 38u);
    const pricing::Schedule schedule = pricing::buildSchedule(pricing::PriceParameters{});
    for (std::size_t i = 0; i < result.priced.size(); ++i) {
        const pricing::PricedQuantity& priced = result.priced[i];
        EXPECT_EQ(priced.quantity, schedule.entries[i].quantity);
        EXPECT_EQ(priced.summary.quantity, priced.quantity);
        EXPECT_EQ(result.lines[i], pricing::priceLine(schedule.entries[i].text, priced.price));
        EXPECT_EQ(priced.price, Currency::fromDouble(priced.summary.totalRetail)) << "no rounding chosen";
        EXPECT_GT(priced.summary.totalRetail, 0) << priced.quantity;
    }
    expectRowAfterRun(db, "24101", 2500);
}

// Two runs in one process, the second priced whole between the first one's quantities, each in its own
// program folder: each gets the prices it gets alone, and each checks its own report work database.
TEST_F(PricingRunTest, TwoRunsInterleavedKeepToThemselves)
{
    TestDatabase first(testsupport::demoShopSql(), false);
    TestDatabase second(testsupport::demoShopSql(), false);
    const std::vector<std::string> firstAlone = pricing::PricingRun(inputsFor(first, "24101")).run().lines;
    const std::vector<std::string> secondAlone =
        pricing::PricingRun(inputsFor(second, "24104")).run().lines;
    ASSERT_EQ(firstAlone.size(), 3u);
    ASSERT_NE(firstAlone, secondAlone);

    testsupport::TemporaryFolder firstFolder, secondFolder;
    pricing::PricingInputs firstInputs = inputsFor(first, "24101");
    firstInputs.programFolder = firstFolder.path();
    pricing::PricingInputs secondInputs = inputsFor(second, "24104");
    secondInputs.programFolder = secondFolder.path();
    std::vector<std::string> secondLines;
    pricing::PricingCallbacks callbacks;
    callbacks.onLine = [&](const pricing::PricedQuantity& priced) {
        if (priced.quantity == 100)
            secondLines = pricing::PricingRun(secondInputs).run().lines;
    };
    pricing::PricingRun firstRun(firstInputs, callbacks);
    const PricingResult firstResult = firstRun.run();

    EXPECT_EQ(firstResult.lines, firstAlone);
    EXPECT_EQ(secondLines, secondAlone);
    for (const pricing::PricedQuantity& priced : firstResult.priced)
        EXPECT_EQ(priced.summary.orderNumber.str().substr(0, 5), "24101") << priced.quantity;
    EXPECT_TRUE(std::filesystem::exists(firstFolder.path() + "/VMestrpt.mdb"));
    EXPECT_TRUE(std::filesystem::exists(secondFolder.path() + "/VMestrpt.mdb"));
}

// An error of the program itself (here one thrown where the engine lets the window breathe) is no fault of
// the shop's data: it is never listed as a quantity that could not be priced, it ends the run, and the
// order's row is left as the start left it.
TEST_F(PricingRunTest, AProgramErrorEndsTheRunInsteadOfSkippingAQuantity)
{
    TestDatabase db(testsupport::demoShopSql(), false);
    pricing::PricingCallbacks callbacks;
    callbacks.engineHooks.yield = [] { throw std::out_of_range("vector::_M_range_check"); };
    std::vector<std::int32_t> lines;
    callbacks.onLine = [&](const pricing::PricedQuantity& priced) { lines.push_back(priced.quantity); };
    pricing::PricingRun run(inputsFor(db, "24101"), callbacks);
    EXPECT_THROW(run.run(), std::out_of_range);
    EXPECT_TRUE(lines.empty());
    expectRowAfterRun(db, "24101", 2500);
}

} // namespace
