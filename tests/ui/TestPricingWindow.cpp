// A pricing run in the main window over the demo shop's data: progress, the price lines, the order row put
// back, a second click and a cancel during the run, and quantities the engine could not price.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "data/Database.h"
#include "pricing/OrderSelection.h"
#include "pricing/PricingRun.h"
#include "pricing/Schedule.h"
#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmCategories.h"
#include "ui/PriceListDelegate.h"
#include "ui/PrinterChoice.h"
#include "ui/frmPrice.h"
#include "ui/frmPriceBook.h"

namespace {

using windowtest::control;

// One whole number of the shop database, read with sqlite3 directly.
long long queryNumber(const std::string& databaseFile, const std::string& sql)
{
    sqlite3* db = nullptr;
    long long result = -1;
    if (sqlite3_open_v2(databaseFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            result = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

// The schedule of the initial parameters (100, 25, 500, 100, 2000, 500, 5000): 100 to 500 by 25 (17
// quantities), 600 to 2000 by 100 (15), 2500 to 5000 by 500 (6).
std::vector<int> initialSchedule()
{
    std::vector<int> quantities;
    for (int q = 100; q <= 500; q += 25)
        quantities.push_back(q);
    for (int q = 600; q <= 2000; q += 100)
        quantities.push_back(q);
    for (int q = 2500; q <= 5000; q += 500)
        quantities.push_back(q);
    return quantities;
}

class PricingWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(db.folder());
        window = std::make_unique<ui::frmPrice>();
        window->show();
    }

    // Chooses the demo letterhead quote, whose row holds a press quantity of its own.
    void chooseLetterhead()
    {
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        const int index = jobs->findText(QStringLiteral("24101 - "), Qt::MatchStartsWith);
        ASSERT_GE(index, 0);
        window->chooseOrder(jobs->itemText(index));
        ASSERT_TRUE(window->orderChosen());
    }
    long long pressQty() const
    {
        return queryNumber(db.path(), "SELECT PRESSQTY FROM ORDERS WHERE ORDERNO = '24101'");
    }
    QListWidget* prices() const { return control<QListWidget>(window.get(), "lstPrice"); }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{testsupport::demoShopSql(), false};
    std::unique_ptr<ui::frmPrice> window;
};

TEST_F(PricingWindow, ARunListsEveryQuantityOfTheScheduleAndPutsTheRowBack)
{
    chooseLetterhead();
    const long long ownQty = pressQty();
    ASSERT_GT(ownQty, 0);
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));

    const std::vector<int> schedule = initialSchedule();
    ASSERT_EQ(schedule.size(), 38u);
    ASSERT_EQ(prices()->count(), 38) << messages.texts().join(QLatin1Char('\n')).toStdString();
    // Quantity text, 27 spaces, "$##0.00".
    const QRegularExpression line(QStringLiteral("^(\\d+) {27}\\$\\d+\\.\\d\\d$"));
    for (int i = 0; i < 38; ++i) {
        const QString text = prices()->item(i)->text();
        const QRegularExpressionMatch match = line.match(text);
        ASSERT_TRUE(match.hasMatch()) << text.toStdString();
        EXPECT_EQ(match.captured(1).toInt(), schedule[static_cast<std::size_t>(i)]) << text.toStdString();
    }
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    // The order's own press quantity is back in its row; the run's buttons are usable again.
    EXPECT_EQ(pressQty(), ownQty);
    EXPECT_EQ(queryNumber(db.path(), "SELECT PRINTPRICING FROM ORDERS WHERE ORDERNO = '24101'"), -1);
    auto* print = control<QPushButton>(window.get(), "cmdPrint");
    EXPECT_FALSE(print->isHidden());
    EXPECT_TRUE(print->isEnabled());
    EXPECT_TRUE(control<QPushButton>(window.get(), "cmdPrice")->isEnabled());
    EXPECT_FALSE(window->isRunning());
    // The run says it is done instead of "Calculating:" staying in view, and the list says what it is of.
    EXPECT_TRUE(control<QLineEdit>(window.get(), "txtQty")->isHidden());
    EXPECT_TRUE(control<QLabel>(window.get(), "lblcalc")->isHidden());
    EXPECT_EQ(control<QLabel>(window.get(), "lblStatus")->text(),
              QStringLiteral("Done: 38 prices. 1 check to look at under the calculated prices."));
    EXPECT_EQ(control<QLabel>(window.get(), "lblPricesFor")->text(),
              QStringLiteral("24101 part 1, quote: 100 by 25 to 500, by 100 to 2000, by 500 to 5000; not rounded"));
}

TEST_F(PricingWindow, ASecondClickDuringTheRunIsIgnored)
{
    chooseLetterhead();
    window->cmdPriceClick();
    ASSERT_TRUE(window->isRunning());
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    // One run's 38 lines, not a second run's lines on top of them.
    EXPECT_EQ(prices()->count(), 38);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(PricingWindow, TheButtonsAreDisabledWhileTheRunShowsItsQuantity)
{
    chooseLetterhead();
    QStringList seen;
    bool buttonsDisabled = true;
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, [&] {
        if (!window->isRunning())
            return;
        seen << control<QLineEdit>(window.get(), "txtQty")->text();
        buttonsDisabled = buttonsDisabled && !control<QPushButton>(window.get(), "cmdPrice")->isEnabled()
                          && !control<QPushButton>(window.get(), "cmdPrint")->isEnabled()
                          && !control<QPushButton>(window.get(), "cmdExit")->isEnabled();
    });
    progress.start(0);
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    progress.stop();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(buttonsDisabled);
    // The run shows the start quantity as it begins, then the quantities as it reaches them.
    const std::vector<int> schedule = initialSchedule();
    for (const QString& quantity : seen)
        EXPECT_NE(std::find(schedule.begin(), schedule.end(), quantity.toInt()), schedule.end()) << quantity.toStdString();
}

// A longer schedule, so there is time to act while it prices: 100 to 500 by 25 (17 quantities), 600 to 2000
// by 100 (15), then 2000 + 4 = 2004 to 5000 by 4 (750).
constexpr int kLongRun = 782;

TEST_F(PricingWindow, EscStopsBetweenQuantitiesAndTheWindowSaysWhere)
{
    chooseLetterhead();
    const long long ownQty = pressQty();
    windowtest::typeInto(control<QLineEdit>(window.get(), "txtJump3"), QStringLiteral("4"));
    window->cmdPriceClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prices()->count() >= 3 || !window->isRunning(); }));
    ASSERT_TRUE(window->isRunning()) << "the run was over before it could be stopped";
    QTest::keyClick(window.get(), Qt::Key_Escape);
    ASSERT_TRUE(windowtest::waitForRun(*window));
    EXPECT_GE(prices()->count(), 3);
    EXPECT_LT(prices()->count(), kLongRun);
    EXPECT_EQ(pressQty(), ownQty);
    // A list cut short is not a price sheet, and the window says where it stopped.
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
    const pricing::Schedule schedule = pricing::buildSchedule(pricing::requestParameters(*window->currentRequest()));
    ASSERT_EQ(schedule.entries.size(), static_cast<std::size_t>(kLongRun));
    EXPECT_EQ(control<QLabel>(window.get(), "lblStatus")->text(),
              QStringLiteral("Cancelled at %1.")
                  .arg(QString::fromStdString(schedule.entries[static_cast<std::size_t>(prices()->count())].text)));
    EXPECT_TRUE(control<QPushButton>(window.get(), "cmdPrice")->isEnabled());
}

TEST_F(PricingWindow, ClosingDuringTheRunWaitsForTheRunToStop)
{
    chooseLetterhead();
    const long long ownQty = pressQty();
    window->cmdPriceClick();
    window->close();
    EXPECT_TRUE(window->isVisible()) << "not before the run has stopped";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
    EXPECT_FALSE(window->isRunning());
    EXPECT_EQ(pressQty(), ownQty);
}

// While a long run prices, the clerk types into a step and clicks a rounding: the fields of the request are
// greyed out then, so the list that comes out is the one the window shows, complete and printable, with the
// heading of what it was priced for.
TEST_F(PricingWindow, TheRequestCannotChangeWhileItIsPriced)
{
    chooseLetterhead();
    auto* jump3 = control<QLineEdit>(window.get(), "txtJump3");
    windowtest::typeInto(jump3, QStringLiteral("4"));
    window->cmdPriceClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return prices()->count() > 0 || !window->isRunning(); }));
    ASSERT_TRUE(window->isRunning()) << "the run was over before the clerk could act";
    QTest::mouseClick(jump3, Qt::LeftButton);
    QTest::keyClick(jump3, Qt::Key_End);
    QTest::keyClick(jump3, Qt::Key_Backspace);
    QTest::keyClicks(jump3, QStringLiteral("200"));
    QTest::keyClick(jump3, Qt::Key_Tab);
    QTest::mouseClick(control<QRadioButton>(window.get(), "opt1"), Qt::LeftButton);
    EXPECT_TRUE(window->isRunning()) << "the key presses and the click came after the run";
    EXPECT_GT(prices()->count(), 0) << "the list was cleared during the run";
    ASSERT_TRUE(windowtest::waitForRun(*window));

    EXPECT_EQ(jump3->text(), QStringLiteral("4"));
    EXPECT_FALSE(control<QRadioButton>(window.get(), "opt1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(window.get(), "optNone")->isChecked());
    EXPECT_EQ(prices()->count(), kLongRun);
    EXPECT_TRUE(prices()->item(0)->text().startsWith(QStringLiteral("100 ")));
    EXPECT_TRUE(prices()->item(kLongRun - 1)->text().startsWith(QStringLiteral("5000 ")));
    EXPECT_TRUE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
    EXPECT_EQ(control<QLabel>(window.get(), "lblPricesFor")->text(),
              QStringLiteral("24101 part 1, quote: 100 by 25 to 500, by 100 to 2000, by 4 to 5000; not rounded"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(window->currentRequest()->schedule[5], 4) << "the saved settings were not changed either";
}

TEST_F(PricingWindow, QuantitiesThatCouldNotBePricedAreListedInOneMessage)
{
    chooseLetterhead();
    // Without its markups the shop cannot price a job: every quantity fails in the engine.
    db.exec("DROP TABLE MARKUPS;");
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    EXPECT_EQ(prices()->count(), 0);
    ASSERT_EQ(messages.texts().size(), 1) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(messages.texts().front().contains(QStringLiteral("could not be priced")))
        << messages.texts().front().toStdString();
    // Quantities failing with the same fault are listed together, the fault once after the last of them.
    EXPECT_TRUE(messages.texts().front().contains(QStringLiteral("38 quantities could not be priced: 100, 125")))
        << messages.texts().front().toStdString();
    EXPECT_TRUE(messages.texts().front().contains(QStringLiteral("4500, 5000 ("))) << messages.texts().front().toStdString();
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled()) << "nothing complete to print";
    // The database's own words and the SQL text stand behind the message, not in it.
    EXPECT_FALSE(messages.texts().front().contains(QStringLiteral("SELECT"))) << messages.texts().front().toStdString();
    EXPECT_TRUE(messages.details().front().contains(QStringLiteral("no such table: MARKUPS")))
        << messages.details().front().toStdString();
}

// A row whose quote-or-job mark is empty: the estimator would find no row, so the window says what did not
// match in one message and lists no $0.00 lines.
TEST_F(PricingWindow, AnOrderTheEstimatorCannotFindIsNamedInOneMessage)
{
    db.exec("UPDATE ORDERS SET QUOTEORJOB = '' WHERE ORDERNO = '24101';");
    chooseLetterhead();
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ASSERT_TRUE(windowtest::waitForRun(*window));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Order 24101 part 1 is not a quote (Q) in the shop "
                                                           "database: its row is marked neither Q nor J. Nothing was "
                                                           "priced.")});
    EXPECT_EQ(prices()->count(), 0);
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
}

// Another program holds the shop database: a click on "Create Price Sheet" ends in one plain message after
// one busy timeout, with nothing listed, Print off and the order as it was.
TEST_F(PricingWindow, ABusyShopDatabaseStopsTheRunWithOnePlainMessage)
{
    chooseLetterhead();
    data::setBusyTimeout(200);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE ORDERS SET PRESSQTY = PRESSQTY;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const long long ownQty = pressQty();
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ASSERT_TRUE(windowtest::waitForRun(*window));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    data::setBusyTimeout(5000);

    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(pricing::kShopDatabaseBusyMessage)});
    EXPECT_FALSE(messages.details().value(0).isEmpty()) << "the database's own words are behind the message";
    EXPECT_EQ(prices()->count(), 0);
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(window.get(), "cmdPrice")->isEnabled());
    EXPECT_EQ(pressQty(), ownQty);
}

// Each part of an order is an entry of its own, chosen with the keyboard: the brochure's price insert (part 2
// of 24102) shows, prices and prints as itself, and choosing it clears the list of the order before.
TEST_F(PricingWindow, EachPartOfAnOrderIsChosenAndPricedAsItself)
{
    chooseLetterhead();
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    ASSERT_EQ(prices()->count(), 38);
    auto* jobs = control<QComboBox>(window.get(), "cboJobs");
    const int insert = jobs->findText(QStringLiteral("24102 - Price insert"), Qt::MatchStartsWith);
    ASSERT_GE(insert, 0);
    jobs->setFocus(Qt::TabFocusReason);
    while (jobs->currentIndex() != insert)
        QTest::keyClick(jobs, jobs->currentIndex() < insert ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(prices()->count(), 0) << "the letterhead's prices went with it";
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
    EXPECT_EQ(control<QLineEdit>(window.get(), "txtPart")->text(), QStringLiteral("2"));
    EXPECT_TRUE(control<QLineEdit>(window.get(), "txtDesc")->text().startsWith(QStringLiteral("Price insert")));

    // The same quantity priced as part 2 by the pricing run itself.
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ASSERT_TRUE(windowtest::waitForRun(*window));
    ASSERT_EQ(prices()->count(), 38) << messages.texts().join(QLatin1Char('\n')).toStdString();
    pricing::PricingInputs inputs;
    inputs.dataFolder = db.folder();
    pricing::OrderKeyFilter part2;
    part2.partNo = 2;
    inputs.order = *pricing::selectOrder(db.path(), "24102", part2);
    inputs.request.quoteOrJob = inputs.order.quoteOrJob;
    const pricing::PricingResult alone = pricing::PricingRun(inputs).run(pricing::singleQuantity(100));
    ASSERT_EQ(alone.lines.size(), 1u);
    EXPECT_EQ(prices()->item(0)->text().toStdString(), alone.lines[0]);
    EXPECT_TRUE(control<QLabel>(window.get(), "lblPricesFor")->text().startsWith(QStringLiteral("24102 part 2")));
}

// A changed parameter clears the list it no longer matches; long texts show their beginning and the whole
// of them as a tooltip.
TEST_F(PricingWindow, AChangedParameterClearsTheListAndLongTextsShowTheirBeginning)
{
    chooseLetterhead();
    auto* bindery = control<QLineEdit>(window.get(), "txtBind");
    EXPECT_EQ(bindery->cursorPosition(), 0);
    EXPECT_EQ(bindery->toolTip(), bindery->text());
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    ASSERT_EQ(prices()->count(), 38);
    QTest::mouseClick(control<QRadioButton>(window.get(), "opt25"), Qt::LeftButton);
    EXPECT_EQ(prices()->count(), 0);
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrint")->isEnabled());
}

// After a refused entry the window still knows what changed: clicking from field to field, or choosing the
// typeface, keeps the list printable; a step changed from 25 to 1000 clears it and is saved.
TEST_F(PricingWindow, OnlyAChangeOfThePricesClearsTheList)
{
    chooseLetterhead();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ASSERT_TRUE(windowtest::waitForRun(*window));
    ASSERT_EQ(prices()->count(), 38);
    auto* print = control<QPushButton>(window.get(), "cmdPrint");
    auto* qty2 = control<QLineEdit>(window.get(), "txtQty2");
    auto* jump1 = control<QLineEdit>(window.get(), "txtJump1");

    QTest::mouseClick(qty2, Qt::LeftButton);
    qty2->selectAll();
    QTest::keyClicks(qty2, QStringLiteral("50")); // below the start quantity: refused, 500 comes back
    QTest::mouseClick(jump1, Qt::LeftButton);
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(qty2->text(), QStringLiteral("500"));
    for (const char* name : {"txtQty3", "txtQty4", "txtJump2"})
        QTest::mouseClick(control<QLineEdit>(window.get(), name), Qt::LeftButton);
    QTest::mouseClick(control<QRadioButton>(window.get(), "optCour"), Qt::LeftButton);
    EXPECT_EQ(prices()->count(), 38);
    EXPECT_TRUE(print->isEnabled());

    QTest::mouseClick(jump1, Qt::LeftButton);
    jump1->selectAll();
    QTest::keyClicks(jump1, QStringLiteral("1000"));
    QTest::keyClick(jump1, Qt::Key_Tab);
    EXPECT_EQ(prices()->count(), 0);
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(testsupport::readFile(db.folder() + "/PriceData.dta").substr(0, 26),
              "100\r\n500\r\n2000\r\n5000\r\n1000");
}

// On screen every price stands right-aligned under the heading's "Price", for three- and four-digit
// quantities alike, while each line stays the price line the sheet prints.
TEST_F(PricingWindow, PricesStandInOneColumnUnderThePriceHeading)
{
    chooseLetterhead();
    window->cmdPriceClick();
    ASSERT_TRUE(windowtest::waitForRun(*window));
    QTest::mouseClick(control<QCheckBox>(window.get(), "Check1"), Qt::LeftButton);
    ASSERT_EQ(prices()->count(), 38);
    const auto* delegate = dynamic_cast<const ui::PriceListDelegate*>(prices()->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const auto* heading = control<QLabel>(window.get(), "lblCalculated");
    const int headingRight = heading->mapToGlobal(QPoint(heading->contentsRect().left() +
                                                         heading->fontMetrics().horizontalAdvance(heading->text()), 0)).x() -
                             prices()->viewport()->mapToGlobal(QPoint(0, 0)).x();
    QStyleOptionViewItem option;
    option.initFrom(prices());
    option.widget = prices();
    for (const int row : {0, 37}) { // 100 and 5000
        const QString line = prices()->item(row)->text();
        option.rect = prices()->visualItemRect(prices()->item(row));
        EXPECT_EQ(delegate->priceRect(option, line).right() + 1, headingRight) << line.toStdString();
        EXPECT_LT(delegate->quantityRect(option, line).right(), delegate->priceRect(option, line).left());
    }
    EXPECT_TRUE(prices()->item(37)->text().startsWith(QStringLiteral("5000") + QString(27, QLatin1Char(' '))));
}

// What a list's prices give to look at is said in a line under the list and in the status line, and the
// quantities it names are marked (with what is said of them on hover); a list with nothing to look at says
// nothing. The lines themselves stay the price lines the sheet prints.
TEST_F(PricingWindow, TheListsChecksAreSaidUnderItAndTheirQuantitiesMarked)
{
    const struct
    {
        const char* order;
        QString said; // empty: nothing
        std::vector<int> marked;
    } cases[] = {
        {"24106 - ", QStringLiteral("Check: Every quantity from 100 to 5,000 has the same price, $2,629.00."), {}},
        {"24101 - ",
         QStringLiteral("Check: 5,000 costs more per piece than 4,500: $0.0613 against $0.0596 each."),
         {37}},
        {"24103 - ", QString(), {}},
    };
    const QRegularExpression priceLine(QStringLiteral("^\\d+ {27}\\$\\d+\\.\\d\\d$"));
    auto* checks = control<QLabel>(window.get(), "lblChecks");
    auto* status = control<QLabel>(window.get(), "lblStatus");
    QTest::mouseClick(control<QCheckBox>(window.get(), "Check1"), Qt::LeftButton);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        window->chooseOrder(jobs->itemText(jobs->findText(QString::fromLatin1(c.order), Qt::MatchStartsWith)));
        QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
        ASSERT_TRUE(windowtest::waitForRun(*window));
        ASSERT_EQ(prices()->count(), 38);
        EXPECT_EQ(checks->isVisible(), !c.said.isEmpty());
        EXPECT_EQ(checks->text(), c.said);
        const bool told = status->text().endsWith(QStringLiteral("1 check to look at under the calculated prices."));
        EXPECT_EQ(told, !c.said.isEmpty()) << status->text().toStdString();
        std::vector<int> marked = c.marked;
        if (c.said.contains(QStringLiteral("same price")))
            for (int row = 0; row < 38; ++row)
                marked.push_back(row);
        for (int row = 0; row < 38; ++row) {
            const QListWidgetItem* item = prices()->item(row);
            const bool mark = std::find(marked.begin(), marked.end(), row) != marked.end();
            EXPECT_EQ(item->background().style() != Qt::NoBrush, mark) << row;
            EXPECT_EQ(item->toolTip(), mark ? c.said.mid(7) : QString()) << row;
            EXPECT_TRUE(priceLine.match(item->text()).hasMatch()) << "the line stays the sheet's price line";
        }
    }
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

// More than 1,000 quantities: the window asks first, naming the count; No creates nothing.
TEST_F(PricingWindow, ALongScheduleIsPricedOnlyWhenTheClerkSaysSo)
{
    chooseLetterhead();
    windowtest::typeInto(control<QLineEdit>(window.get(), "txtJump1"), QStringLiteral("1"));
    windowtest::typeInto(control<QLineEdit>(window.get(), "txtQty2"), QStringLiteral("1,500"));
    QStringList asked;
    ui::setQuestionFunction([&](const QString& text) {
        asked << text;
        return false;
    });
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ui::setQuestionFunction({});
    // 100 to 1500 by 1 (1401), then 1500 - 1 + 100 = 1599 to 1999 by 100 (5), then 1999 - 100 + 500 = 2399
    // to 4899 by 500 (6).
    EXPECT_EQ(asked, QStringList{ui::kLongScheduleQuestion.arg(1412)});
    EXPECT_EQ(prices()->count(), 0);
    EXPECT_FALSE(window->isRunning());
}

// Pictures of the windows during a long run on the demo shop and after it, for a look at the layout (every
// window at rest is pictured by tests/shell/TestControlTables.cpp): only when WINDOW_SCREENSHOTS names a folder
// (run under xvfb-run with QT_QPA_PLATFORM=xcb and a window manager).
TEST_F(PricingWindow, Screenshot)
{
    const QString folder = qEnvironmentVariable("WINDOW_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "WINDOW_SCREENSHOTS not set";
    QDir().mkpath(folder);
    testsupport::TemporaryFolder out;
    window->printer().setOutputFormat(QPrinter::PdfFormat);
    window->printer().setOutputFileName(QString::fromStdString(out.path() + "/sheet.pdf"));
    chooseLetterhead();
    ui::frmPriceBook* book = window->showPriceBook();
    // 100 to 500 by 25, then by 1 to 2000 and to 5000: 4,517 quantities.
    windowtest::typeInto(control<QLineEdit>(window.get(), "txtJump2"), QStringLiteral("1"));
    windowtest::typeInto(control<QLineEdit>(window.get(), "txtJump3"), QStringLiteral("1"));
    ui::setQuestionFunction([](const QString&) { return true; });
    window->activateWindow();
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrice"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return prices()->count() > 40 || !window->isRunning(); }));
    windowtest::saveScreenshot(*window, folder, "frmPrice-running");
    control<QCheckBox>(window.get(), "Check1")->setChecked(true);
    windowtest::saveScreenshot(*window, folder, "frmPrice-running-prices");
    windowtest::saveScreenshot(*book, folder, "frmPriceBook-during-run");
    EXPECT_TRUE(window->isRunning()) << "the pictures were taken after the run";
    ASSERT_TRUE(windowtest::waitForRun(*window));
    book->hide();
    windowtest::saveScreenshot(*window, folder, "frmPrice-run-prices");
    control<QCheckBox>(window.get(), "Check1")->setChecked(false);
    windowtest::saveScreenshot(*window, folder, "frmPrice-run");
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdPrint"), Qt::LeftButton);
    windowtest::saveScreenshot(*window, folder, "frmPrice-printed");

    // The book with the long page, priced in the background.
    book->show();
    QTest::mouseClick(control<QPushButton>(book, "cmdAdd"), Qt::LeftButton);
    windowtest::saveScreenshot(*book, folder, "frmPriceBook");
    QTest::mouseClick(control<QPushButton>(book, "cmdPrint"), Qt::LeftButton);
    auto* progress = book->findChild<QProgressDialog*>(QStringLiteral("dlgBookProgress"));
    ASSERT_NE(progress, nullptr);
    windowtest::saveScreenshot(*progress, folder, "frmPriceBook-pricing");
    EXPECT_TRUE(book->isRunning()) << "the picture was taken after the book's run";
    ASSERT_TRUE(windowtest::waitForRun(*book));
    windowtest::saveScreenshot(*book, folder, "frmPriceBook-printed");
    ui::setQuestionFunction({});

    // File, Printer.
    ui::choosePrinter(window->printer(), window.get());
    auto* dialog = window->findChild<QDialog*>(QStringLiteral("CommonDialog1"));
    ASSERT_NE(dialog, nullptr);
    windowtest::saveScreenshot(*dialog, folder, "CommonDialog1");
    dialog->reject();
}

} // namespace
