// The main window: loading the order list, files and settings, choosing an order, the field checks and the
// Print button's state. Its controls are checked with every other window's in tests/shell/TestControlTables.cpp.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmPrice.h"

namespace {

using windowtest::control;
using windowtest::typeInto;

// Three orders: two with the shop's usual 8-character numbers, one with a short number; bindery rows of
// mixed kinds for the second.
constexpr const char* kOrders = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, STOCKDESC, PRESSFINISHEDSIZE, PRESSQTY)
VALUES ('Q2410001', 1, 'Q', 'Letterhead', '24# Bond White', '8.5 X 11', 500),
       ('J2410002', 2, 'J', 'Brochure', '80# Gloss Text', '11 X 17', 2500),
       ('24107', 1, 'J', 'Scratch pads', NULL, NULL, NULL);
INSERT INTO BINDERYSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, BINDERY)
VALUES ('J2410002', 2, 'Q', 'Fold'),
       ('Q2410001', 1, 'Q', 'Trim'),
       ('J2410002', 2, 'J', 'Stitch');
)sql";

class MainWindow : public testing::Test
{
protected:
    void SetUp() override { program.mark(db.folder()); }

    ui::frmPrice& window()
    {
        if (!m_window)
            m_window = std::make_unique<ui::frmPrice>();
        return *m_window;
    }
    std::string priceDataFile() const { return db.folder() + "/PriceData.dta"; }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{kOrders};

private:
    std::unique_ptr<ui::frmPrice> m_window;
};

// The order the list shows at first is the one chosen, so Create prices what the clerk sees.
TEST_F(MainWindow, ListsEveryOrderAndChoosesTheFirst)
{
    ui::frmPrice& w = window();
    auto* jobs = control<QComboBox>(&w, "cboJobs");
    ASSERT_EQ(jobs->count(), 3);
    EXPECT_EQ(jobs->itemText(0), QStringLiteral("Q2410001 - Letterhead"));
    EXPECT_EQ(jobs->itemText(1), QStringLiteral("J2410002 - Brochure"));
    EXPECT_EQ(jobs->itemText(2), QStringLiteral("24107 - Scratch pads"));
    EXPECT_EQ(jobs->currentText(), QStringLiteral("Q2410001 - Letterhead"));
    EXPECT_TRUE(w.orderChosen());
    EXPECT_EQ(control<QLineEdit>(&w, "txtQuoteorJob")->text(), QStringLiteral("Q2410001"));
    EXPECT_TRUE(messages.texts().isEmpty());
}

// Down in the order list picks the next order each time: the focus stays in the list.
TEST_F(MainWindow, DownInTheOrderListGoesOnFromOrderToOrder)
{
    ui::frmPrice& w = window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* jobs = control<QComboBox>(&w, "cboJobs");
    jobs->setFocus(Qt::TabFocusReason);
    QTest::keyClick(jobs, Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(jobs->currentIndex(), 2);
    EXPECT_EQ(control<QLineEdit>(&w, "txtQuoteorJob")->text(), QStringLiteral("24107"));
    EXPECT_TRUE(jobs->hasFocus());
}

// Enter in a quantity field takes the value as Tab does: it is checked, and the focus goes on.
TEST_F(MainWindow, EnterInAQuantityFieldChecksItAndGoesOn)
{
    ui::frmPrice& w = window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* qty2 = control<QLineEdit>(&w, "txtQty2");
    QTest::mouseClick(qty2, Qt::LeftButton);
    qty2->selectAll();
    QTest::keyClicks(qty2, QStringLiteral("1,200"));
    QTest::keyClick(qty2, Qt::Key_Return);
    EXPECT_EQ(qty2->text(), QStringLiteral("1200"));
    EXPECT_FALSE(qty2->hasFocus());
    EXPECT_EQ(testsupport::readFile(priceDataFile()).substr(0, 15), "100\r\n1200\r\n2000");

    auto* qty3 = control<QLineEdit>(&w, "txtQty3");
    QTest::mouseClick(qty3, Qt::LeftButton);
    qty3->selectAll();
    QTest::keyClicks(qty3, QStringLiteral("abc"));
    QTest::keyClick(qty3, Qt::Key_Enter);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("3rd Quantity takes a whole number, such as 1000 or 1,000.")});
    EXPECT_EQ(qty3->text(), QStringLiteral("2000"));
}

TEST_F(MainWindow, ChoosingAnOrderFillsItsTexts)
{
    ui::frmPrice& w = window();
    auto* jobs = control<QComboBox>(&w, "cboJobs");
    w.chooseOrder(jobs->itemText(1));
    ASSERT_TRUE(w.orderChosen());
    EXPECT_EQ(control<QLineEdit>(&w, "txtQuoteorJob")->text(), QStringLiteral("J2410002"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtStock")->text(), QStringLiteral("80# Gloss Text"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtDesc")->text(), QStringLiteral("Brochure"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtSize")->text(), QStringLiteral("11 X 17"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtPart")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtOrigQty")->text(), QStringLiteral("2500"));
    // Both bindery rows in table order, joined by ", " without a trailing one; the last row ('J') decides.
    EXPECT_EQ(control<QLineEdit>(&w, "txtBind")->text(), QStringLiteral("Fold, Stitch"));
    EXPECT_TRUE(control<QRadioButton>(&w, "optJob")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(&w, "optQuote")->isChecked());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(MainWindow, AnOrderWithoutBinderyKeepsTheQuoteOrJobChoice)
{
    ui::frmPrice& w = window();
    auto* jobs = control<QComboBox>(&w, "cboJobs");
    w.chooseOrder(jobs->itemText(1)); // its last bindery row sets Job
    // The short order number is found by the text before " - "; its Null fields show as empty texts.
    w.chooseOrder(jobs->itemText(2));
    ASSERT_TRUE(w.orderChosen());
    EXPECT_EQ(control<QLineEdit>(&w, "txtQuoteorJob")->text(), QStringLiteral("24107"));
    EXPECT_EQ(control<QLineEdit>(&w, "txtStock")->text(), QString());
    EXPECT_EQ(control<QLineEdit>(&w, "txtSize")->text(), QString());
    EXPECT_EQ(control<QLineEdit>(&w, "txtBind")->text(), QString());
    EXPECT_TRUE(control<QRadioButton>(&w, "optJob")->isChecked());
}

TEST_F(MainWindow, AnEntryThatMatchesNoOrderKeepsTheTextsButForgetsTheChoice)
{
    ui::frmPrice& w = window();
    w.chooseOrder(control<QComboBox>(&w, "cboJobs")->itemText(0));
    ASSERT_TRUE(w.orderChosen());
    w.chooseOrder(QStringLiteral("X9999999 - Gone"));
    EXPECT_FALSE(w.orderChosen());
    EXPECT_EQ(control<QLineEdit>(&w, "txtDesc")->text(), QStringLiteral("Letterhead"));
    w.cmdPriceClick();
    EXPECT_EQ(messages.texts(), QStringList{ui::kSelectOrderFirst});
}

TEST_F(MainWindow, AMissingDatabaseGivesAnEmptyOrderListWithoutAMessage)
{
    program.mark(db.folder() + "/no such folder");
    ui::frmPrice& w = window();
    EXPECT_EQ(control<QComboBox>(&w, "cboJobs")->count(), 0);
    EXPECT_TRUE(messages.texts().isEmpty());
    w.cmdPriceClick();
    EXPECT_EQ(messages.texts(), QStringList{ui::kSelectOrderFirst});
}

TEST_F(MainWindow, LoadsCategoriesAndPriceDataOfTheDataFolder)
{
    testsupport::writeFile(db.folder() + "/Categories.dat", "Letterheads\r\nForms\r\n");
    // Down ("1"), step 1.00 ("2"), Courier ("0").
    testsupport::writeFile(priceDataFile(), "200\r\n600\r\n1500\r\n4000\r\n50\r\n150\r\n250\r\n1\r\n2\r\n0\r\n");
    ui::frmPrice& w = window();
    auto* categories = control<QComboBox>(&w, "cboCategories");
    ASSERT_EQ(categories->count(), 2);
    EXPECT_EQ(categories->itemText(0), QStringLiteral("Letterheads"));
    EXPECT_EQ(categories->itemText(1), QStringLiteral("Forms"));
    const char* fields[] = {"txtQty1", "txtQty2", "txtQty3", "txtQty4", "txtJump1", "txtJump2", "txtJump3"};
    const char* expected[] = {"200", "600", "1500", "4000", "50", "150", "250"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(control<QLineEdit>(&w, fields[i])->text(), QString::fromLatin1(expected[i])) << fields[i];
    EXPECT_TRUE(control<QRadioButton>(&w, "optDN")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(&w, "opt1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(&w, "optCour")->isChecked());
    EXPECT_EQ(w.priceSettings()[0], "200");
}

TEST_F(MainWindow, APriceDataFileOfElevenItemsIsNotApplied)
{
    // "1,000" reads as two items, 1 and 000: eleven items in all, so nothing is applied.
    testsupport::writeFile(priceDataFile(), "1,000\r\n600\r\n1500\r\n4000\r\n50\r\n150\r\n250\r\n1\r\n2\r\n0\r\n");
    ui::frmPrice& w = window();
    EXPECT_EQ(control<QLineEdit>(&w, "txtQty1")->text(), QStringLiteral("100"));
    EXPECT_TRUE(control<QRadioButton>(&w, "optNone")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(&w, "optTime")->isChecked());
    // The initial texts stand in for the settings that were not applied.
    EXPECT_EQ(w.priceSettings()[0], "100");
}

struct FieldCase
{
    const char* why;
    const char* field;
    const char* typed;
    const char* message; // empty when accepted
    const char* initial; // the field's initial text, put back when refused
    const char* shown = nullptr; // the text an accepted value is shown as, when not as typed
};

const FieldCase kFieldChecks[] = {
    {"a start quantity of 0 is refused", "txtQty1", "0", "Quantities Must Be Greater Than Zero!", "100"},
    {"letters are no number", "txtQty1", "abc", "Start Quantity takes a whole number, such as 1000 or 1,000.", "100"},
    {"12 followed by letters is no number either", "txtQty1", "12abc",
     "Start Quantity takes a whole number, such as 1000 or 1,000.", "100"},
    {"a start quantity above the second (500) is refused, naming the second", "txtQty1", "600",
     "Start Quantity must be below the 2nd Quantity (500).", "100"},
    {"a third quantity above the final one (5000)", "txtQty3", "5000",
     "3rd Quantity must be below the Final Quantity (5000).", "2000"},
    {"a second quantity equal to the first is refused", "txtQty2", "100",
     "Quantities Must Be Greater Than Zero or Greater than Previous Quantity!", "500"},
    {"a sign makes no whole number", "txtQty2", "-5", "2nd Quantity takes a whole number, such as 1000 or 1,000.",
     "500"},
    {"a second quantity above the first is taken", "txtQty2", "101", "", "500"},
    {"thousands with a comma are taken and shown without it", "txtQty3", "2,500", "", "2000", "2500"},
    {"thousands with a blank too", "txtQty4", " 12 000 ", "", "5000", "12000"},
    {"a decimal is no whole number", "txtQty3", "2500.5", "3rd Quantity takes a whole number, such as 1000 or 1,000.",
     "2000"},
    {"a third quantity at the second (500) is refused", "txtQty3", "500",
     "Quantities Must Be Greater Than Zero or Greater than Previous Quantity!", "2000"},
    {"a final quantity below the third (2000) is refused", "txtQty4", "1999",
     "Quantities Must Be Greater Than Zero or Greater than Previous Quantity!", "5000"},
    {"a final quantity beyond what the order row holds is refused", "txtQty4", "99999999999",
     "Final Quantity can be at most 2,147,483,647.", "5000"},
    {"a first step of 0 is refused", "txtJump1", "0", "Quantities Must Be Greater Than Zero!", "25"},
    {"a second step equal to the first is taken: the steps may go in any order", "txtJump2", "25", "", "100"},
    {"a second step above the first is taken", "txtJump2", "26", "", "100"},
    {"the third step is never tested, also 0", "txtJump3", "0", "", "500"},
};

class FieldCheck : public MainWindow, public testing::WithParamInterface<FieldCase>
{
};

TEST_P(FieldCheck, RefusesOrTakesTheValue)
{
    const FieldCase& c = GetParam();
    ui::frmPrice& w = window();
    auto* field = control<QLineEdit>(&w, c.field);
    typeInto(field, QString::fromLatin1(c.typed));
    if (*c.message) {
        EXPECT_EQ(messages.texts(), QStringList{QString::fromLatin1(c.message)}) << c.why;
        // Nothing saved yet and no price-data file: the field gets its initial text back.
        EXPECT_EQ(field->text(), QString::fromLatin1(c.initial)) << c.why;
        EXPECT_FALSE(windowtest::fileExists(priceDataFile())) << c.why;
    } else {
        EXPECT_TRUE(messages.texts().isEmpty()) << c.why;
        EXPECT_EQ(field->text(), QString::fromLatin1(c.shown ? c.shown : c.typed)) << c.why;
        EXPECT_TRUE(windowtest::fileExists(priceDataFile())) << c.why;
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, FieldCheck, testing::ValuesIn(kFieldChecks));

TEST_F(MainWindow, ARefusedFieldGetsItsSavedValueBack)
{
    testsupport::writeFile(priceDataFile(), "150\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n0\r\n1\r\n1\r\n");
    ui::frmPrice& w = window();
    auto* qty2 = control<QLineEdit>(&w, "txtQty2");
    typeInto(qty2, QStringLiteral("150"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Quantities Must Be Greater Than Zero or Greater than Previous Quantity!")});
    EXPECT_EQ(qty2->text(), QStringLiteral("500"));
}

// A refused field gets its saved value back and lets the focus go where the user sent it: two values out of
// order are mended from either field, without the message coming back at every step (real keys and mouse).
TEST_F(MainWindow, ARefusedFieldNeverTrapsTheFocusAndAChosenOrderLeavesItWhereItIs)
{
    ui::frmPrice& w = window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* qty1 = control<QLineEdit>(&w, "txtQty1");
    auto* qty2 = control<QLineEdit>(&w, "txtQty2");
    QTest::mouseClick(qty2, Qt::LeftButton);
    qty2->selectAll();
    QTest::keyClicks(qty2, QStringLiteral("50")); // below the start quantity of 100
    QTest::mouseClick(qty1, Qt::LeftButton);      // to mend the start quantity instead
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Quantities Must Be Greater Than Zero or Greater than Previous Quantity!")});
    EXPECT_EQ(qty2->text(), QStringLiteral("500"));
    EXPECT_TRUE(qty1->hasFocus()) << "the focus went where the user sent it";
    qty1->selectAll();
    QTest::keyClicks(qty1, QStringLiteral("40"));
    QTest::mouseClick(qty2, Qt::LeftButton);
    qty2->selectAll();
    QTest::keyClicks(qty2, QStringLiteral("50"));
    QTest::keyClick(qty2, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts().size(), 1) << "40 then 50 are in order: no new message";
    EXPECT_EQ(qty1->text(), QStringLiteral("40"));
    EXPECT_EQ(qty2->text(), QStringLiteral("50"));

    // Choosing an order leaves the focus where the clerk has it.
    QWidget* focus = QApplication::focusWidget();
    w.chooseOrder(control<QComboBox>(&w, "cboJobs")->itemText(1));
    EXPECT_EQ(QApplication::focusWidget(), focus);
}

TEST_F(MainWindow, AnAcceptedChangeSavesAllTenPositions)
{
    ui::frmPrice& w = window();
    typeInto(control<QLineEdit>(&w, "txtQty1"), QStringLiteral("150"));
    // The seven texts; neither Up nor Down keeps position 8 as it was (empty); None is "0"; Times Roman "1".
    EXPECT_EQ(testsupport::readFile(priceDataFile()),
              "150\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n\r\n0\r\n1\r\n");
}

struct AcceptedChangeCase
{
    const char* field;
    std::size_t position; // line of the price-data file, from 0
    const char* typed;
};

// Each field left with a new value it accepts: the prices of the last run no longer match, and the value
// is saved.
const AcceptedChangeCase kAcceptedChanges[] = {
    {"txtQty1", 0, "150"}, {"txtQty2", 1, "600"},  {"txtQty3", 2, "2500"}, {"txtQty4", 3, "6000"},
    {"txtJump1", 4, "50"}, {"txtJump2", 5, "200"}, {"txtJump3", 6, "250"},
};

class AcceptedChange : public MainWindow, public testing::WithParamInterface<AcceptedChangeCase>
{
};

TEST_P(AcceptedChange, DisablesPrintAndSaves)
{
    const AcceptedChangeCase& c = GetParam();
    ui::frmPrice& w = window();
    auto* print = control<QPushButton>(&w, "cmdPrint");
    print->setEnabled(true); // as a finished run leaves it
    typeInto(control<QLineEdit>(&w, c.field), QString::fromLatin1(c.typed));
    EXPECT_TRUE(messages.texts().isEmpty()) << c.field;
    EXPECT_FALSE(print->isEnabled()) << c.field;
    // The initial texts with the new one in its place; neither Up nor Down (empty), None, Times Roman.
    std::string lines[10] = {"100", "500", "2000", "5000", "25", "100", "500", "", "0", "1"};
    lines[c.position] = c.typed;
    std::string expected;
    for (const std::string& line : lines)
        expected += line + "\r\n";
    EXPECT_EQ(testsupport::readFile(priceDataFile()), expected) << c.field;
}

INSTANTIATE_TEST_SUITE_P(MainWindow, AcceptedChange, testing::ValuesIn(kAcceptedChanges));

TEST_F(MainWindow, LeavingAFieldUnchangedWritesNothing)
{
    ui::frmPrice& w = window();
    for (const char* name : {"txtQty1", "txtQty2", "txtQty3", "txtQty4", "txtJump1", "txtJump2", "txtJump3"}) {
        auto* field = control<QLineEdit>(&w, name);
        typeInto(field, field->text());
    }
    EXPECT_FALSE(windowtest::fileExists(priceDataFile()));
    EXPECT_TRUE(messages.texts().isEmpty());
}

struct OptionSaveCase
{
    const char* option;
    bool saves;
};

// Every option chosen is saved at once, but Sans Serif, which waits for the next save.
const OptionSaveCase kOptionSaves[] = {
    {"opt25", true}, {"opt1", true},    {"optNone", true}, {"optUP", true},
    {"optDN", true}, {"optCour", true}, {"optTime", true}, {"optSans", false},
};

class OptionSave : public MainWindow, public testing::WithParamInterface<OptionSaveCase>
{
};

TEST_P(OptionSave, FollowsTheOptionChosen)
{
    const OptionSaveCase& c = GetParam();
    ui::frmPrice& w = window();
    control<QRadioButton>(&w, c.option)->click();
    EXPECT_EQ(windowtest::fileExists(priceDataFile()), c.saves) << c.option;
}

INSTANTIATE_TEST_SUITE_P(MainWindow, OptionSave, testing::ValuesIn(kOptionSaves));

// A rounding step with neither Up nor Down ticked prices down: the window ticks Down, saves it, and shows it
// again at the next start, so the prices do not change with a restart.
TEST_F(MainWindow, ARoundingStepWithoutADirectionShowsAndKeepsDown)
{
    {
        ui::frmPrice& w = window();
        w.show();
        QTest::mouseClick(control<QRadioButton>(&w, "opt25"), Qt::LeftButton);
        EXPECT_TRUE(control<QRadioButton>(&w, "optDN")->isChecked());
        EXPECT_EQ(w.currentRequest()->direction, pricing::RoundingDirection::Down);
    }
    EXPECT_EQ(testsupport::readFile(priceDataFile()), "100\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n1\r\n1\r\n1\r\n");
    ui::frmPrice again;
    EXPECT_TRUE(control<QRadioButton>(&again, "optDN")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(&again, "opt25")->isChecked());

    // A step saved without a direction (written by hand) is shown as the Down it prices with.
    testsupport::writeFile(priceDataFile(), "100\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n5\r\n2\r\n1\r\n");
    ui::frmPrice handMade;
    EXPECT_TRUE(control<QRadioButton>(&handMade, "optDN")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(&handMade, "opt1")->isChecked());
}

TEST_F(MainWindow, SavingAfterAnOptionRecordsTheOptionJustChosen)
{
    ui::frmPrice& w = window();
    control<QRadioButton>(&w, "optUP")->click();
    control<QRadioButton>(&w, "opt25")->click();
    control<QRadioButton>(&w, "optCour")->click();
    // Up "0", 0.25 "1", Courier "0".
    EXPECT_EQ(testsupport::readFile(priceDataFile()),
              "100\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n0\r\n1\r\n0\r\n");
}

TEST_F(MainWindow, Check1ShowsTheCalculatedPricesBelowTheTop)
{
    ui::frmPrice& w = window();
    w.show();
    auto* check = control<QCheckBox>(&w, "Check1");
    auto* frame = control<QGroupBox>(&w, "fraCalculated");
    check->setChecked(true);
    EXPECT_FALSE(frame->isHidden());
    // At the window's left edge, 960 twips (64 pixels) from the top.
    EXPECT_EQ(frame->pos(), QPoint(0, 64));
    EXPECT_EQ(check->text(), QStringLiteral("Uncheck to Remove Calculated Price Window"));
    check->setChecked(false);
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(check->text(), QStringLiteral("Show Calculated Prices Without Printing"));
}

TEST_F(MainWindow, PrintingAnEmptyListDoesNothing)
{
    ui::frmPrice& w = window();
    w.printSheet();
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
