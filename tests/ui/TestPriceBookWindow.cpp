// File, Price Book: the book's pages in a window, changed with the mouse (each change written to the book
// file at once), and the whole book printed on the main window's printer, with Cancel.
#include <filesystem>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "tests/sheet/PdfText.h"
#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmPrice.h"
#include "ui/frmPriceBook.h"
#include "ui/SaveFileDialog.h"

namespace {

using testing::HasSubstr;
using testing::StartsWith;
using windowtest::control;

constexpr const char* kSmall = "100,100,300,100,350,500,400";

class PriceBookWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(db.folder());
        testsupport::writeFile(bookFile(), std::string("24101,1,Q,Letterheads,") + kSmall + "\r\n" +
                                               "24103,1,J,Forms," + kSmall + "\r\n" + "24105,1,J,Cards," + kSmall +
                                               "\r\n");
        window = std::make_unique<ui::frmPrice>();
        window->show();
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        const int index = jobs->findText(QStringLiteral("24107 - "), Qt::MatchStartsWith);
        ASSERT_GE(index, 0);
        window->chooseOrder(jobs->itemText(index));
        // File, Price Book... with the mouse, as the clerk opens it.
        QMenuBar* menus = window->menuBar();
        auto* file = control<QMenu>(window.get(), "mnuFile");
        QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(file->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
        QTest::mouseClick(file, Qt::LeftButton, {},
                          file->actionGeometry(control<QAction>(window.get(), "mnuBook")).center());
        book = window->findChild<ui::frmPriceBook*>(QStringLiteral("frmPriceBook"));
        ASSERT_NE(book, nullptr);
        grid = control<QTableWidget>(book, "grdPages");
    }
    std::string bookFile() const { return db.folder() + "/PriceBook.dat"; }
    std::vector<std::string> bookLines() const
    {
        std::vector<std::string> lines;
        std::string text = testsupport::readFile(bookFile());
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos; text.erase(0, at + 2))
            lines.push_back(text.substr(0, at));
        return lines;
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(book, name), Qt::LeftButton); }
    void clickRow(int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 0)).center());
    }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{testsupport::demoShopSql(), false};
    testsupport::TemporaryFolder out;
    std::unique_ptr<ui::frmPrice> window;
    ui::frmPriceBook* book = nullptr;
    QTableWidget* grid = nullptr;
};

TEST_F(PriceBookWindow, PagesAreAddedMovedAndRemovedAndTheBookFileFollows)
{
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("J-24103"));
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("Work order forms, 3-part carbonless"));
    EXPECT_EQ(grid->item(1, 3)->text(), QStringLiteral("Forms"));

    // The main window's order, parameters and category, typed into its category box.
    auto* category = control<QComboBox>(window.get(), "cboCategories");
    category->lineEdit()->clear();
    QTest::keyClicks(category->lineEdit(), QStringLiteral("Notepads"));
    click("cmdAdd");
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(3, 0)->text(), QStringLiteral("J-24107"));
    ASSERT_EQ(bookLines().size(), 4u);
    EXPECT_THAT(bookLines()[3], StartsWith("24107,1,J,Notepads,100,25,500,100,2000,500,5000,"));

    // Letterheads come first in print: moved down past Forms, the whole category goes after it.
    clickRow(0);
    click("cmdDown");
    EXPECT_THAT(bookLines()[0], StartsWith("24103,1,J,Forms,"));
    EXPECT_THAT(bookLines()[1], StartsWith("24101,1,Q,Letterheads,"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("Q-24101"));

    // Remove asks first: No keeps the page, Yes removes it.
    QStringList asked;
    bool answer = false;
    ui::setQuestionFunction([&](const QString& text) {
        asked << text;
        return answer;
    });
    clickRow(2);
    click("cmdRemove");
    EXPECT_EQ(grid->rowCount(), 4);
    answer = true;
    click("cmdRemove");
    ui::setQuestionFunction({});
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], QStringLiteral("Remove the page of order 24105 part 1 (job) (Cards) from the price book?"));
    EXPECT_EQ(grid->rowCount(), 3);
    ASSERT_EQ(bookLines().size(), 3u);
    EXPECT_THAT(bookLines()[2], StartsWith("24107,1,J,Notepads,"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

// The order added once more asks to replace its page; a schedule the main window would refuse (typed, its
// field not yet left) is said so and adds nothing. The description column shows its texts whole, and the
// window opens again where it was left.
TEST_F(PriceBookWindow, AddChecksTheMainWindowsSettingsAndKeepsOnePageAnOrder)
{
    auto* start = control<QLineEdit>(window.get(), "txtQty1");
    start->setFocus();
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("abc"));
    click("cmdAdd");
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Start Quantity takes a whole number, such as 1000 or 1,000.")});
    EXPECT_EQ(bookLines().size(), 3u);
    start->setText(QStringLiteral("200"));
    messages.clear();

    click("cmdAdd");
    ASSERT_EQ(bookLines().size(), 4u);
    EXPECT_THAT(bookLines()[3], StartsWith("24107,1,J,\"\",200,25,500,"));
    QStringList asked;
    ui::setQuestionFunction([&](const QString& text) {
        asked << text;
        return true;
    });
    start->setText(QStringLiteral("300"));
    click("cmdAdd");
    ui::setQuestionFunction({});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("order 24107 part 1 (job) is in the price book already")));
    ASSERT_EQ(bookLines().size(), 4u);
    EXPECT_THAT(bookLines()[3], StartsWith("24107,1,J,\"\",300,25,500,"));

    const QFontMetrics metrics(grid->font());
    for (int row = 0; row < grid->rowCount(); ++row)
        EXPECT_GT(grid->columnWidth(2), metrics.horizontalAdvance(grid->item(row, 2)->text())) << row;

    // A place on the test's screen (800 by 600).
    book->setGeometry(QRect(QPoint(40, 60), QSize(700, 400)));
    const QRect left = book->geometry();
    click("cmdClose");
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->findChild<ui::frmPriceBook*>() == nullptr; }));
    EXPECT_EQ(window->showPriceBook()->geometry(), left);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

// Print sends the whole book to the main window's printer (here a PDF file): the cover, the contents and
// one page for each order; the prices it printed are kept for the next book.
TEST_F(PriceBookWindow, PrintWritesTheWholeBookOnTheMainWindowsPrinter)
{
    const std::string pdf = out.path() + "/book.pdf";
    window->printer().setOutputFormat(QPrinter::PdfFormat);
    window->printer().setOutputFileName(QString::fromStdString(pdf));
    click("cmdPrint");
    // The book prices on its own thread; the main window may not price meanwhile.
    EXPECT_TRUE(book->isRunning());
    EXPECT_FALSE(control<QPushButton>(window.get(), "cmdPrice")->isEnabled());
    ASSERT_TRUE(windowtest::waitForRun(*book));
    EXPECT_TRUE(control<QPushButton>(window.get(), "cmdPrice")->isEnabled());
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_THAT(control<QLabel>(book, "lblStatus")->text().toStdString(), HasSubstr("saved as " + pdf));
    EXPECT_TRUE(std::filesystem::exists(db.folder() + "/PriceBook.last"));
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    EXPECT_EQ(testsupport::pdfPages(pdf), 5);
    const std::string text = testsupport::pdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Ref#: J-24105"));
    EXPECT_THAT(text, HasSubstr("Page 3"));
}

// Export Price Matrix... asks for the file, prices the book on its own thread and writes its matrix there:
// CSV, or JSON for a name ending in ".json"; a row a page in the book's order, a column a quantity. Nothing is
// kept for the next book, as nothing was printed.
TEST_F(PriceBookWindow, ExportPriceMatrixWritesTheBooksMatrixToTheChosenFile)
{
    for (const char* name : {"matrix.csv", "matrix.JSON"}) {
        SCOPED_TRACE(name);
        const std::string path = out.path() + "/" + name;
        ui::SaveFileQuestion asked;
        ui::setSaveFileDialogFunction([&](const ui::SaveFileQuestion& question) {
            asked = question;
            return QString::fromStdString(path);
        });
        click("cmdMatrix");
        ui::setSaveFileDialogFunction({});
        EXPECT_EQ(asked.title, QStringLiteral("Export the Price Matrix"));
        EXPECT_TRUE(asked.suggested.endsWith(QStringLiteral("/PriceMatrix.csv")));
        EXPECT_TRUE(asked.confirmOverwrite);
        EXPECT_TRUE(book->isRunning());
        ASSERT_TRUE(windowtest::waitForRun(*book));
        EXPECT_EQ(control<QLabel>(book, "lblStatus")->text().toStdString(),
                  "Price matrix saved as " + path + " (3 rows, 3 quantities).");
        const std::string matrix = testsupport::readFile(path);
        if (std::string(name).ends_with(".csv")) {
            EXPECT_THAT(matrix, StartsWith("reference,order,part,quote or job,description,category,100,200,300\r\n"
                                           "Q-24101,24101,1,Q,\"Letterhead, 1 colour PMS 286\",Letterheads,"));
            EXPECT_THAT(matrix, testing::ContainsRegex("\r\nJ-24103,[^\r]*\r\nJ-24105,[^\r]*\r\n$"));
        } else {
            EXPECT_THAT(matrix,
                        StartsWith("{\"quantities\": [100, 200, 300],\n \"rows\": [\n  {\"reference\": \"Q-24101\""));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(db.folder() + "/PriceBook.last"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

// Cancel in the progress window stops the book between quantities: nothing is printed or kept.
TEST_F(PriceBookWindow, CancelPrintsNothing)
{
    const std::string pdf = out.path() + "/book.pdf";
    window->printer().setOutputFormat(QPrinter::PdfFormat);
    window->printer().setOutputFileName(QString::fromStdString(pdf));
    click("cmdPrint");
    auto* progress = book->findChild<QProgressDialog*>(QStringLiteral("dlgBookProgress"));
    ASSERT_NE(progress, nullptr);
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(windowtest::waitForRun(*book));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(db.folder() + "/PriceBook.last"));
    EXPECT_THAT(control<QLabel>(book, "lblStatus")->text().toStdString(), HasSubstr("Cancelled"));
}

} // namespace
