// The main window as a desktop window: the status line with its data folder, its size, its keys, and what
// it remembers between starts (the category, the printer, its place and size).
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/WrappingLabel.h"
#include "ui/frmPrice.h"

namespace {

using windowtest::control;

class DesktopWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(db.folder());
        testsupport::writeFile(categoryFile(), "Letterheads\r\nLetterheads and Envelopes\r\nForms\r\n");
    }
    // The window as the program opens it, in front and active.
    std::unique_ptr<ui::frmPrice> open() const
    {
        auto window = std::make_unique<ui::frmPrice>();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
    // Ctrl+Q, as the user ends the program.
    static void quit(ui::frmPrice& window)
    {
        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        ASSERT_FALSE(window.isVisible());
    }
    std::string categoryFile() const { return db.folder() + "/Categories.dat"; }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{"INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION) "
                                 "VALUES ('Q2410001', 1, 'Q', 'Letterhead'), ('Q2410002', 1, 'Q', 'Envelope');"};
};

struct FolderCase
{
    const char* why;
    std::function<std::string(const testsupport::TestDatabase&, const testsupport::TemporaryFolder&)> folder;
    const char* says; // the start of the status line, then the folder
};

const FolderCase kFolders[] = {
    {"the shop database is there", [](auto& db, auto&) { return db.folder(); }, "Shop database: "},
    {"a folder without one", [](auto&, auto& empty) { return empty.path(); }, "No shop database (vmdata.mdb) in "},
    {"a folder that is gone", [](auto&, auto& empty) { return empty.path() + "/gone"; }, "The data folder "},
};

class DataFolderStatus : public DesktopWindow, public testing::WithParamInterface<FolderCase>
{
};

TEST_P(DataFolderStatus, NamesTheFolderAndWhetherTheShopDatabaseIsThere)
{
    const FolderCase& c = GetParam();
    testsupport::TemporaryFolder empty;
    const QString folder = QString::fromStdString(c.folder(db, empty));
    program.mark(folder.toStdString());
    const auto window = open();
    const QString status = control<ui::WrappingLabel>(window.get(), "lblDataFolder")->text();
    EXPECT_TRUE(status.startsWith(QString::fromLatin1(c.says) + folder)) << c.why << ": " << status.toStdString();
    EXPECT_EQ(status.endsWith(QStringLiteral("Choose the shop's data folder with File, Path.")),
              folder != QString::fromStdString(db.folder()))
        << c.why;
    EXPECT_EQ(control<ui::WrappingLabel>(window.get(), "lblDataFolder")->toolTip(), status);
    EXPECT_TRUE(messages.texts().isEmpty()) << c.why;
}

INSTANTIATE_TEST_SUITE_P(DesktopWindow, DataFolderStatus, testing::ValuesIn(kFolders));

// A data folder whose connection file puts the shop database on a server: the status line names the server
// (never a password), or says why the file cannot be used.
TEST_F(DesktopWindow, TheStatusLineNamesTheShopDatabaseServer)
{
    const struct
    {
        const char* content;
        const char* says;
    } cases[] = {
        {"host=/nonexistent dbname=shop\n",
         "Shop database: the server dbname=shop host=/nonexistent (from "},
        {"host=/nonexistent dbname=shop password=s3cret\n", "Shop database: The connection file '"},
    };
    for (const auto& c : cases) {
        testsupport::TemporaryFolder folder;
        testsupport::writeFile(folder.path() + "/vmdata.pg", c.content);
        program.mark(folder.path());
        const auto window = open();
        const QString status = control<ui::WrappingLabel>(window.get(), "lblDataFolder")->text();
        EXPECT_TRUE(status.startsWith(QString::fromLatin1(c.says))) << status.toStdString();
        EXPECT_FALSE(status.contains(QStringLiteral("s3cret"))) << status.toStdString();
    }
}

TEST_F(DesktopWindow, CanBeMaximisedAndAnyRoomGoesToThePrices)
{
    const auto window = open();
    EXPECT_LT(window->minimumWidth(), window->maximumWidth());
    EXPECT_LT(window->minimumHeight(), window->maximumHeight());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    auto* check = control<QCheckBox>(window.get(), "Check1");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    auto* prices = control<QListWidget>(window.get(), "lstPrice");
    ASSERT_TRUE(prices->isVisible());
    const QSize before = prices->size();
    window->resize(window->size() + QSize(120, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(prices->size(), before + QSize(120, 100));
    // The prices reach down to Check1, whatever the size.
    EXPECT_LT(control<QWidget>(window.get(), "fraCalculated")->geometry().bottom(), check->geometry().top());
}

TEST_F(DesktopWindow, EveryTabStopIsAControlInView)
{
    const auto window = open();
    auto* exit = control<QPushButton>(window.get(), "cmdExit");
    exit->setFocus(Qt::OtherFocusReason);
    // Round the whole Tab order from Exit back to Exit.
    QWidget* stop = exit;
    for (int presses = 0; presses < 50; ++presses) {
        QTest::keyClick(stop, Qt::Key_Tab);
        stop = QApplication::focusWidget();
        ASSERT_NE(stop, nullptr);
        if (stop == exit)
            break;
        EXPECT_TRUE(stop->isVisible()) << stop->objectName().toStdString();
        EXPECT_NE(stop->objectName(), QStringLiteral("Picture1")) << "a picture shows no focus";
    }
    EXPECT_EQ(stop, exit);
}

TEST_F(DesktopWindow, LongQuantitiesAndCategoryNamesShowWhole)
{
    const auto window = open();
    auto* final = control<QLineEdit>(window.get(), "txtQty4");
    final->selectAll();
    QTest::keyClicks(final, QStringLiteral("999999999"));
    // The text, the field's frame and its margins.
    EXPECT_GE(final->width(), final->fontMetrics().horizontalAdvance(final->text()) + 8);
    auto* categories = control<QComboBox>(window.get(), "cboCategories");
    QTest::keyClicks(categories, QStringLiteral("Letterheads and Envelopes"));
    QTest::keyClick(categories, Qt::Key_Return);
    EXPECT_EQ(categories->currentIndex(), 1);
    EXPECT_GE(categories->lineEdit()->width(),
              categories->fontMetrics().horizontalAdvance(QStringLiteral("Letterheads and Envelopes")) + 4);
}

TEST_F(DesktopWindow, CtrlQEndsTheProgram)
{
    const auto window = open();
    bool ended = false;
    QObject::connect(window.get(), &ui::frmPrice::closed, [&] { ended = true; });
    quit(*window);
    EXPECT_TRUE(ended);
}

struct CategoryCase
{
    const char* why;
    const char* typed; // picked by typing it and Enter
    const char* categoriesNextTime; // the file at the next start
    const char* chosenNextTime;
};

const CategoryCase kCategories[] = {
    {"a category still in the list", "Forms", "Letterheads\r\nForms\r\n", "Forms"},
    {"a category deleted since", "Forms", "Letterheads\r\n", ""},
    {"a text that is no category of the list", "Specials", "Letterheads\r\nSpecials2\r\n", ""},
};

class CategoryMemory : public DesktopWindow, public testing::WithParamInterface<CategoryCase>
{
};

TEST_P(CategoryMemory, IsChosenAgainOnlyWhenStillInTheList)
{
    const CategoryCase& c = GetParam();
    {
        const auto window = open();
        auto* categories = control<QComboBox>(window.get(), "cboCategories");
        QTest::keyClicks(categories, QString::fromLatin1(c.typed));
        QTest::keyClick(categories, Qt::Key_Return);
        quit(*window);
    }
    testsupport::writeFile(categoryFile(), c.categoriesNextTime);
    const auto window = open();
    EXPECT_EQ(control<QComboBox>(window.get(), "cboCategories")->currentText(), QString::fromLatin1(c.chosenNextTime))
        << c.why;
}

INSTANTIATE_TEST_SUITE_P(DesktopWindow, CategoryMemory, testing::ValuesIn(kCategories));

TEST_F(DesktopWindow, OpensWhereItWasLeftAtItsSizeOrMaximised)
{
    QRect left;
    {
        const auto window = open();
        window->setGeometry(QRect(QPoint(30, 20), window->size() + QSize(40, 30)));
        QCoreApplication::processEvents();
        left = window->geometry();
        quit(*window);
    }
    {
        const auto window = open();
        EXPECT_EQ(window->geometry(), left);
        window->showMaximized();
        QCoreApplication::processEvents();
        quit(*window);
    }
    const auto window = open();
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(DesktopWindow, APlaceNoLongerOnAnyScreenIsNotTaken)
{
    // As left on a second screen, to the right of this one, that is no longer there.
    {
        const auto window = open();
        const QRect screen = window->screen()->geometry();
        window->move(screen.right() + 200, screen.top() + 100);
        QCoreApplication::processEvents();
        quit(*window);
    }
    const auto window = open();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->geometry()));
}

struct OrderCase
{
    const char* why;
    const char* changeBetween; // SQL run on the shop database between the two starts
    const char* chosenNextTime; // the order number chosen at the next start
};

const OrderCase kOrders[] = {
    {"an order still in the shop database", "", "Q2410002"},
    {"an order deleted since: the first is chosen", "DELETE FROM ORDERS WHERE ORDERNO = 'Q2410002'", "Q2410001"},
    {"an order whose description changed", "UPDATE ORDERS SET DESCRIPTION = 'Window envelope'", "Q2410001"},
};

class OrderMemory : public DesktopWindow, public testing::WithParamInterface<OrderCase>
{
};

TEST_P(OrderMemory, IsChosenAgainOnlyWhenStillInTheList)
{
    const OrderCase& c = GetParam();
    {
        const auto window = open();
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        jobs->setFocus();
        QTest::keyClick(jobs, Qt::Key_Down);
        ASSERT_EQ(control<QLineEdit>(window.get(), "txtQuoteorJob")->text(), QStringLiteral("Q2410002"));
        quit(*window);
    }
    if (*c.changeBetween)
        db.exec(c.changeBetween);
    const auto window = open();
    EXPECT_TRUE(window->orderChosen()) << c.why;
    EXPECT_EQ(control<QLineEdit>(window.get(), "txtQuoteorJob")->text(), QString::fromLatin1(c.chosenNextTime))
        << c.why;
    EXPECT_TRUE(messages.texts().isEmpty()) << c.why;
}

INSTANTIATE_TEST_SUITE_P(DesktopWindow, OrderMemory, testing::ValuesIn(kOrders));

// A start on a folder without the shop's database, then File, Path back to the shop: the order and category
// chosen there last are chosen again; the empty folder had nothing to remember.
TEST_F(DesktopWindow, AFolderWithoutTheShopKeepsWhatWasChosenInTheShop)
{
    {
        const auto window = open();
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        jobs->setFocus();
        QTest::keyClick(jobs, Qt::Key_Down);
        auto* categories = control<QComboBox>(window.get(), "cboCategories");
        QTest::keyClicks(categories, QStringLiteral("Forms"));
        QTest::keyClick(categories, Qt::Key_Return);
        quit(*window);
    }
    testsupport::TemporaryFolder empty;
    program.mark(empty.path());
    const auto window = open();
    EXPECT_FALSE(window->orderChosen());
    // File, Path chose the shop's folder again and Continue loads it.
    program.mark(db.folder());
    window->reloadDataFolder();
    EXPECT_EQ(control<QLineEdit>(window.get(), "txtQuoteorJob")->text(), QStringLiteral("Q2410002"));
    EXPECT_EQ(control<QComboBox>(window.get(), "cboCategories")->currentText(), QStringLiteral("Forms"));
}

// A data folder whose name is longer than the status line shows whole, on as many lines as it needs.
TEST_F(DesktopWindow, TheStatusLineShowsALongFolderWhole)
{
    testsupport::TemporaryFolder root;
    const std::string folder = root.path() + "/" + std::string(60, 'a') + "/Counter Price Book Data of the Shop";
    std::filesystem::create_directories(folder);
    program.mark(folder);
    const auto window = open();
    auto* status = control<ui::WrappingLabel>(window.get(), "lblDataFolder");
    EXPECT_TRUE(status->text().contains(QString::fromStdString(folder)));
    ASSERT_GT(status->heightForWidth(status->width()), status->fontMetrics().height() + 1) << "more than one line";
    EXPECT_TRUE(QTest::qWaitFor([status] { return status->height() >= status->heightForWidth(status->width()); }))
        << status->height() << " for " << status->heightForWidth(status->width());
}

struct PrinterCase
{
    const char* why;
    const char* name; // remembered printer
    const char* file; // remembered PDF file, in the test's folder ("" for none)
    bool restored;
};

const PrinterCase kPrinters[] = {
    {"a printer that is no longer installed", "Counter Laser (removed)", "", false},
    {"a PDF file in a folder that is there", "", "sheets.pdf", true},
    {"a PDF file in a folder that is gone", "", "gone/sheets.pdf", false},
};

class PrinterMemory : public DesktopWindow, public testing::WithParamInterface<PrinterCase>
{
};

TEST_P(PrinterMemory, IsTakenOnlyWhenStillThere)
{
    const PrinterCase& c = GetParam();
    testsupport::TemporaryFolder out;
    const QString file = *c.file ? QString::fromStdString(out.path() + "/" + c.file) : QString();
    QSettings settings;
    settings.setValue(QStringLiteral("Printer/Name"), QString::fromLatin1(c.name));
    settings.setValue(QStringLiteral("Printer/File"), file);
    settings.sync();
    const auto window = open();
    QPrinter& printer = window->printer();
    if (*c.name) {
        EXPECT_NE(printer.printerName(), QString::fromLatin1(c.name)) << c.why;
    }
    EXPECT_EQ(!file.isEmpty() && printer.outputFileName() == file, c.restored) << c.why;
}

INSTANTIATE_TEST_SUITE_P(DesktopWindow, PrinterMemory, testing::ValuesIn(kPrinters));

} // namespace
