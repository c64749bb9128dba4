// Printing from the main window: the sheet of the last run goes to the chosen printer (here a PDF file),
// the buttons during and after it, a printer that fails, and the print preview.
#include <filesystem>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "tests/sheet/PdfText.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/PrinterChoice.h"
#include "ui/WrappingLabel.h"
#include "ui/frmPrice.h"

namespace {

using testing::HasSubstr;
using windowtest::control;

// Notes what a button shows each time it is painted, and whether the run buttons were on while it read
// "Working...".
class PaintWatch : public QObject
{
public:
    PaintWatch(QPushButton* print, QPushButton* price) : m_print(print), m_price(price) { print->installEventFilter(this); }
    ~PaintWatch() override { m_print->removeEventFilter(this); }
    QStringList captions;
    bool runButtonsOnWhileWorking = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            captions << m_print->text();
            if (m_print->text() == QStringLiteral("Working..."))
                runButtonsOnWhileWorking = runButtonsOnWhileWorking || m_print->isEnabled() || m_price->isEnabled();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton* m_print;
    QPushButton* m_price;
};

class PrintWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(db.folder());
        window = std::make_unique<ui::frmPrice>();
        window->show();
        auto* jobs = control<QComboBox>(window.get(), "cboJobs");
        const int index = jobs->findText(QStringLiteral("24101 - "), Qt::MatchStartsWith);
        ASSERT_GE(index, 0);
        window->chooseOrder(jobs->itemText(index));
    }
    // A short run: 100, 200 and 300 (400 is above 350, then 400 - 100 + 500 = 800 above 400).
    void priceThreeQuantities()
    {
        typeInto("txtQty1", "100");
        typeInto("txtJump1", "100");
        typeInto("txtQty2", "300");
        typeInto("txtJump2", "100");
        typeInto("txtQty3", "350");
        typeInto("txtJump3", "500");
        typeInto("txtQty4", "400");
        window->cmdPriceClick();
        ASSERT_TRUE(windowtest::waitForRun(*window));
        ASSERT_EQ(control<QListWidget>(window.get(), "lstPrice")->count(), 3)
            << messages.texts().join(QLatin1Char('\n')).toStdString();
        messages.clear();
    }
    void typeInto(const char* name, const char* text)
    {
        windowtest::typeInto(control<QLineEdit>(window.get(), name), QString::fromLatin1(text));
    }
    void printTo(const std::string& pdf)
    {
        window->printer().setOutputFormat(QPrinter::PdfFormat);
        window->printer().setOutputFileName(QString::fromStdString(pdf));
    }
    QPushButton* button(const char* name) const { return control<QPushButton>(window.get(), name); }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{testsupport::demoShopSql(), false};
    testsupport::TemporaryFolder out;
    std::unique_ptr<ui::frmPrice> window;
};

TEST_F(PrintWindow, PrintSendsTheSheetOfTheWindowsFieldsToThePrinter)
{
    priceThreeQuantities();
    control<QComboBox>(window.get(), "cboCategories")->setEditText(QStringLiteral("Letterheads"));
    control<QRadioButton>(window.get(), "optCour")->click();
    const std::string pdf = out.path() + "/printed.pdf";
    printTo(pdf);

    // What the staff see while the sheet goes out: "Working...", both run buttons off.
    PaintWatch watch(button("cmdPrint"), button("cmdPrice"));
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);

    EXPECT_TRUE(watch.captions.contains(QStringLiteral("Working..."))) << watch.captions.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(watch.runButtonsOnWhileWorking);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(button("cmdPrint")->text(), QStringLiteral("Print Price Sheet"));
    EXPECT_TRUE(button("cmdPrint")->isEnabled());
    EXPECT_TRUE(button("cmdPrice")->isEnabled());
    EXPECT_TRUE(control<QLabel>(window.get(), "lblcalc")->isHidden());
    EXPECT_TRUE(control<QLineEdit>(window.get(), "txtQty")->isHidden());
    // The list stays, so the same sheet can be printed again.
    EXPECT_EQ(control<QListWidget>(window.get(), "lstPrice")->count(), 3);

    ASSERT_TRUE(std::filesystem::exists(pdf));
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    EXPECT_EQ(testsupport::pdfPages(pdf), 1);
    const std::string text = testsupport::pdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Counter Price Book"));
    EXPECT_THAT(text, HasSubstr("Letterheads"));
    EXPECT_THAT(text, HasSubstr("Q-24101"));
    EXPECT_THAT(text, HasSubstr(control<QLineEdit>(window.get(), "txtStock")->text().toStdString()));
}

// A sheet printed to a file is a PDF on the system's paper, as "pricebook sheet" writes it, wherever the
// window's toolkit would put its own PDF printer (on A4).
TEST_F(PrintWindow, ASheetPrintedToAFileIsOnTheSystemsPaper)
{
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    const testsupport::ScopedEnvironment letter({{"PAPERSIZE", "letter"}});
    priceThreeQuantities();
    const std::string pdf = out.path() + "/letter.pdf";
    printTo(pdf);
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_THAT(testsupport::commandOutput("pdfinfo '" + pdf + "'"), HasSubstr("612 x 792 pts (letter)"));
}

TEST_F(PrintWindow, TheSheetReadsTheWindowsFieldsWhenPrintingStarts)
{
    priceThreeQuantities();
    control<QComboBox>(window.get(), "cboCategories")->setEditText(QStringLiteral("Forms"));
    control<QRadioButton>(window.get(), "optSans")->click();
    const sheet::SheetInputs inputs = window->sheetInputs();
    ASSERT_EQ(inputs.priceLines.size(), 3u);
    EXPECT_EQ(inputs.priceLines[0], control<QListWidget>(window.get(), "lstPrice")->item(0)->text().toStdString());
    EXPECT_EQ(inputs.category, "Forms");
    EXPECT_FALSE(inputs.job);
    EXPECT_EQ(inputs.orderNo, "24101");
    EXPECT_EQ(inputs.bindery, control<QLineEdit>(window.get(), "txtBind")->text().toStdString());
    EXPECT_EQ(inputs.typeface, pricing::Typeface::SansSerif);
}

// A printer that cannot take the sheet is named in a message, and both buttons come back.
TEST_F(PrintWindow, APrinterThatFailsIsNamedAndTheButtonsComeBack)
{
    priceThreeQuantities();
    const std::string pdf = out.path() + "/no such folder/printed.pdf";
    printTo(pdf);
    button("cmdPrint")->click();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_THAT(messages.texts()[0].toStdString(), HasSubstr(pdf));
    EXPECT_TRUE(button("cmdPrint")->isEnabled());
    EXPECT_EQ(button("cmdPrint")->text(), QStringLiteral("Print Price Sheet"));
    EXPECT_TRUE(button("cmdPrice")->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// A sheet printed to a file never goes through a symbolic link at the file's name: the link is something
// already there, so the sheet takes the next free name and the link and the file it points to are kept.
TEST_F(PrintWindow, PrintingToAFileLeavesALinkAtItsNameNeverWritingThroughIt)
{
    priceThreeQuantities();
    testsupport::TemporaryFolder elsewhere;
    const std::string victim = elsewhere.path() + "/accounts.txt";
    testsupport::writeFile(victim, "not a sheet");
    const std::string pdf = out.path() + "/printed.pdf";
    std::filesystem::create_symlink(victim, pdf);
    printTo(pdf);
    button("cmdPrint")->click();
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(pdf)));
    EXPECT_TRUE(std::filesystem::is_regular_file(out.path() + "/printed (2).pdf"));
    EXPECT_TRUE(testsupport::readFile(victim) == "not a sheet") << "the linked file was written";
}

// Printing again to the same file keeps the sheet printed before; the status line says where each went.
TEST_F(PrintWindow, PrintingAgainToAFileKeepsTheSheetBeforeAndSaysWhereEachWent)
{
    priceThreeQuantities();
    // The focus leaves the last parameter field, and its check, before the clicks.
    button("cmdPrice")->setFocus();
    QCoreApplication::processEvents();
    messages.clear();
    const std::string pdf = out.path() + "/sheet.pdf";
    printTo(pdf);
    auto* lastAction = control<ui::WrappingLabel>(window.get(), "lblLastAction");
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    EXPECT_EQ(lastAction->text(), QStringLiteral("Price sheet saved as %1.").arg(QString::fromStdString(pdf)));
    const std::string first = testsupport::readFile(pdf);
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    EXPECT_EQ(testsupport::readFile(pdf), first);
    const std::string third = out.path() + "/sheet (3).pdf";
    EXPECT_TRUE(std::filesystem::exists(out.path() + "/sheet (2).pdf"));
    EXPECT_TRUE(std::filesystem::exists(third));
    EXPECT_EQ(lastAction->text(), QStringLiteral("Price sheet saved as %1, as sheet.pdf is already there.")
                                      .arg(QString::fromStdString(third)));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
}

// A printer dialog cancelled keeps the earlier choice, whatever the dialog showed meanwhile: the next sheet
// still goes to the PDF file, beside the earlier one, and the status line says so. OK takes the choice.
TEST_F(PrintWindow, ACancelledPrinterDialogKeepsTheEarlierChoice)
{
    priceThreeQuantities();
    const std::string pdf = out.path() + "/sheet.pdf";
    printTo(pdf);
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    const std::string first = testsupport::readFile(pdf);
    ASSERT_FALSE(first.empty());

    QString shown;
    ui::setPrinterDialogFunction([&](QPrinter& choice) {
        shown = choice.outputFileName();
        // The clerk picks another printer in the dialog, then thinks better of it.
        choice.setOutputFileName(QString());
        choice.setPrinterName(QStringLiteral("BackOffice"));
        return false;
    });
    QMenuBar* menus = window->menuBar();
    auto* file = control<QMenu>(window.get(), "mnuFile");
    QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(control<QAction>(window.get(), "mnuPrinter")).center());
    ui::setPrinterDialogFunction({});
    EXPECT_EQ(shown, QString::fromStdString(pdf)) << "the dialog shows the choice as it is";

    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(testsupport::readFile(pdf), first) << "the earlier sheet was written over";
    EXPECT_TRUE(std::filesystem::exists(out.path() + "/sheet (2).pdf"));
    EXPECT_EQ(control<ui::WrappingLabel>(window.get(), "lblLastAction")->text(),
              QStringLiteral("Price sheet saved as %1, as sheet.pdf is already there.")
                  .arg(QString::fromStdString(out.path() + "/sheet (2).pdf")));

    // OK takes the choice and keeps it for the next start.
    const QString other = QString::fromStdString(out.path() + "/other.pdf");
    ui::setPrinterDialogFunction([&](QPrinter& choice) {
        choice.setOutputFileName(other);
        return true;
    });
    QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(control<QAction>(window.get(), "mnuPrinter")).center());
    ui::setPrinterDialogFunction({});
    EXPECT_EQ(window->printer().outputFileName(), other);
    EXPECT_EQ(QSettings().value(QStringLiteral("Printer/File")).toString(), other);
}

// File, Printer chooses the printer and prints nothing: its button says OK. A new run clears the status of
// the sheet printed before.
TEST_F(PrintWindow, ThePrinterDialogSaysOkAndANewRunClearsTheLastStatus)
{
    priceThreeQuantities();
    printTo(out.path() + "/sheet.pdf");
    QTest::mouseClick(button("cmdPrint"), Qt::LeftButton);
    auto* lastAction = control<ui::WrappingLabel>(window.get(), "lblLastAction");
    EXPECT_FALSE(lastAction->isHidden());
    QTest::mouseClick(button("cmdPrice"), Qt::LeftButton);
    EXPECT_TRUE(lastAction->isHidden());
    ASSERT_TRUE(windowtest::waitForRun(*window));

    QMenuBar* menus = window->menuBar();
    auto* file = control<QMenu>(window.get(), "mnuFile");
    QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(control<QAction>(window.get(), "mnuPrinter")).center());
    auto* dialog = window->findChild<QPrintDialog*>(QStringLiteral("CommonDialog1"));
    ASSERT_NE(dialog, nullptr);
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(window->printer().outputFileName(), QString::fromStdString(out.path() + "/sheet.pdf"));
}

TEST_F(PrintWindow, WithoutAnyPrinterTheMessageSaysSo)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers; the test would print on one";
    priceThreeQuantities();
    button("cmdPrint")->click();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts()[0],
              QStringLiteral("No printer is installed. Add a printer, then choose it with File, Printer."));
    EXPECT_TRUE(button("cmdPrint")->isEnabled());
    EXPECT_TRUE(button("cmdPrice")->isEnabled());
}

TEST_F(PrintWindow, PreviewBeforeAnyRunSaysThereIsNothingYet)
{
    window->showPrintPreview();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts()[0], ui::kNothingToPreview);
}

TEST_F(PrintWindow, PreviewShowsTheSheetWithoutPrintingIt)
{
    priceThreeQuantities();
    const std::string pdf = out.path() + "/previewed.pdf";
    printTo(pdf);
    bool shown = false;
    QTimer::singleShot(0, window.get(), [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(top); preview && preview->isVisible()) {
                shown = preview->windowTitle() == QStringLiteral("Print Preview");
                preview->reject();
            }
        }
    });
    window->showPrintPreview();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "a preview prints nothing";
}

} // namespace
