// The main window over a data folder that is missing, empty or without its shop database, and over a
// damaged shop database: it opens with an empty order list (naming a damaged file and what is wrong), asks for an order when Create Price Sheet is
// clicked, and leaves every file of the folder exactly as it was.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "platform/SmallFile.h"
#include "tests/reliability/BackgroundProgram.h"
#include "tests/support/PrivateMounts.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Watchdog.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmCategories.h"
#include "ui/frmPrice.h"

namespace {

namespace fs = std::filesystem;
using windowtest::control;

// Every file under a folder with its bytes, to show that opening the window changed nothing.
std::map<std::string, std::string> folderContents(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    if (!fs::is_directory(folder))
        return contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        contents[entry.path().string()] = entry.is_regular_file() ? testsupport::readFile(entry.path().string()) : "";
    return contents;
}

// Opens the main window over the data folder, checks the empty order list, the message at load (none for
// a folder without a shop database; else one naming the file and containing `loadMessage`), the answer of
// Create Price Sheet, and that the folder is as it was.
void expectEmptyOrderListAndNothingChanged(const std::string& dataFolder, const std::string& loadMessage = {})
{
    windowtest::ProgramFolder program;
    program.mark(dataFolder);
    const auto before = folderContents(dataFolder);
    windowtest::MessageCapture messages;
    {
        ui::frmPrice window;
        EXPECT_EQ(control<QComboBox>(&window, "cboJobs")->count(), 0);
        if (loadMessage.empty()) {
            EXPECT_TRUE(messages.texts().isEmpty()) << "the order list stays empty without a message at load";
        } else {
            ASSERT_EQ(messages.texts().size(), 1);
            const std::string shown = messages.texts()[0].toStdString();
            EXPECT_NE(shown.find(dataFolder + "/vmdata.mdb"), std::string::npos) << shown;
            EXPECT_NE(shown.find(loadMessage), std::string::npos) << shown;
            messages.clear();
        }
        window.cmdPriceClick();
        EXPECT_EQ(messages.texts(), QStringList{ui::kSelectOrderFirst});
    }
    EXPECT_EQ(folderContents(dataFolder), before);
}

TEST(WindowFailures, AMissingOrEmptyDataFolderOrOneWithoutTheShopDatabaseGivesAnEmptyOrderList)
{
    testsupport::TemporaryFolder work;
    const std::string missing = work.path() + "/gone";
    const std::string empty = work.path() + "/empty";
    const std::string withoutDatabase = work.path() + "/no database";
    fs::create_directory(empty);
    fs::create_directory(withoutDatabase);
    testsupport::writeFile(withoutDatabase + "/Categories.dat", "Letterheads\r\nForms\r\n");
    testsupport::writeFile(withoutDatabase + "/PriceData.dta", "100\r\n500\r\n");

    for (const std::string& folder : {missing, empty, withoutDatabase}) {
        SCOPED_TRACE(folder);
        expectEmptyOrderListAndNothingChanged(folder);
        EXPECT_FALSE(fs::exists(folder + "/vmdata.mdb")) << "opening must never create the shop database";
    }
    EXPECT_FALSE(fs::exists(missing)) << "opening must never create the data folder";
}

TEST(WindowFailures, ADamagedShopDatabaseGivesAnEmptyOrderListAndKeepsItsBytes)
{
    const testsupport::TestDatabase shop(
        "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY) VALUES ('Q2410001', 1, 'Q', "
        "'Letterhead', 500);");
    const std::string whole = testsupport::readFile(shop.path());
    ASSERT_GT(whole.size(), 1500u);
    std::string random(4096, '\0');
    unsigned seed = 4711;
    for (char& c : random) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    std::string jet(2048, '\0');
    jet.replace(0, 19, std::string("\x00\x01\x00\x00Standard Jet DB", 19));
    struct Case
    {
        const char* why;
        std::string bytes;
        const char* message; // what the message at load says is wrong
    };
    const std::vector<Case> files = {
        {"zero-length", "", "The file is empty."},
        {"truncated", whole.substr(0, 1500), "truncated"},
        {"random bytes", random, "not a database"},
        {"an Access file", jet, "import it first with \"pricebook import-mdb\""},
    };
    for (const auto& [why, bytes, message] : files) {
        SCOPED_TRACE(why);
        testsupport::writeFile(shop.path(), bytes);
        expectEmptyOrderListAndNothingChanged(shop.folder(), message);
        EXPECT_EQ(testsupport::readFile(shop.path()), bytes);
    }
}

// A FIFO, a folder or a file larger than such a file ever is, in place of "Categories.dat" and "PriceData.dta":
// the window opens at once with the shop's orders, says which files it could not read and why, and the
// category editor's Save and Delete say so too, leaving both files as they are.
TEST(WindowFailures, CategoryAndPriceFilesThatAreNoOrdinaryFilesAreNamedAndLeftAsTheyAre)
{
    const testsupport::Watchdog watchdog(30);
    enum class AtTheName { Fifo, Folder, OverTheLimit };
    const std::map<AtTheName, QString> reasons = {{AtTheName::Fifo, QStringLiteral("is a pipe or a device")},
                                                  {AtTheName::Folder, QStringLiteral("is a folder")},
                                                  {AtTheName::OverTheLimit, QStringLiteral("holds more than 1 MB")}};
    for (const auto& [at, reason] : reasons) {
        SCOPED_TRACE(static_cast<int>(at));
        const testsupport::TestDatabase shop(
            "INSERT INTO ORDERS (ORDERNO, DESCRIPTION) VALUES ('Q2410001', 'Letterhead');");
        const QString categories = QString::fromStdString(shop.folder() + "/Categories.dat");
        const QString priceData = QString::fromStdString(shop.folder() + "/PriceData.dta");
        for (const QString& path : {categories, priceData}) {
            if (at == AtTheName::Fifo)
                ASSERT_EQ(::mkfifo(path.toStdString().c_str(), 0666), 0);
            else if (at == AtTheName::Folder)
                fs::create_directory(path.toStdString());
            else
                testsupport::writeFile(path.toStdString(), std::string(platform::kSmallFileLimit + 1, '9'));
        }
        const auto before = folderContents(shop.folder());
        windowtest::ProgramFolder program;
        program.mark(shop.folder());
        ui::setDataFolder(shop.folder());
        windowtest::MessageCapture messages;
        {
            ui::frmPrice window;
            EXPECT_EQ(control<QComboBox>(&window, "cboJobs")->count(), 1);
            EXPECT_EQ(control<QComboBox>(&window, "cboCategories")->count(), 0);
            EXPECT_EQ(control<QLineEdit>(&window, "txtQty1")->text(), QStringLiteral("100"));
            ASSERT_EQ(messages.texts().size(), 2);
            for (int i = 0; i < 2; ++i) {
                const QString& text = messages.texts()[i];
                EXPECT_TRUE(text.startsWith(i == 0 ? categories : priceData)) << text.toStdString();
                EXPECT_TRUE(text.contains(reason)) << text.toStdString();
            }
            messages.clear();

            ui::frmCategories* editor = window.showCategories();
            QTest::keyClicks(control<QLineEdit>(editor, "txtCat"), QStringLiteral("Posters"));
            QTest::mouseClick(control<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
            QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
            ASSERT_EQ(messages.texts().size(), 2);
            EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("The category \"Posters\" could not be saved")));
            EXPECT_TRUE(messages.texts()[1].contains(QStringLiteral("nothing was deleted")));
            for (const QString& text : messages.texts()) {
                EXPECT_TRUE(text.contains(categories + QLatin1Char(' ') + reason)) << text.toStdString();
            }
            EXPECT_EQ(control<QListWidget>(editor, "lstCategories")->count(), 0);
        }
        EXPECT_EQ(folderContents(shop.folder()), before);
        EXPECT_EQ(fs::is_fifo(categories.toStdString()), at == AtTheName::Fifo);
    }
}

// A data folder the program cannot write (a read-only view of it mounted over it), with the shop database
// in write-ahead-log mode: its orders are listed while the shop's other program has the database open, so
// that its log and index are beside it; else the list is empty and the message says why.
TEST(WindowFailures, AReadOnlyDataFolderListsTheOrdersWhileAnotherProgramHasTheDatabaseOpen)
{
    for (const bool otherProgramHasItOpen : {true, false}) {
        SCOPED_TRACE(otherProgramHasItOpen ? "open in another program" : "open nowhere else");
        const testsupport::TestDatabase shop("PRAGMA journal_mode = WAL; INSERT INTO ORDERS (ORDERNO, PARTNO, "
                                             "QUOTEORJOB, DESCRIPTION) VALUES ('Q2410001', 1, 'Q', 'Letterhead');");
        std::unique_ptr<reliability::BackgroundProgram> otherProgram;
        if (otherProgramHasItOpen) {
            otherProgram = std::make_unique<reliability::BackgroundProgram>("sqlite3 '" + shop.path() + "'",
                                                                            shop.folder(), "other");
            otherProgram->send("SELECT COUNT(*) FROM ORDERS;\n");
            ASSERT_TRUE(otherProgram->waitForOutput("1\n"));
        }
        testsupport::PrivateMounts mounts;
        if (!mounts.makeReadOnly(shop.folder()))
            GTEST_SKIP() << mounts.why();
        if (!otherProgramHasItOpen) {
            expectEmptyOrderListAndNothingChanged(shop.folder(), "cannot be written, so the database");
            continue;
        }
        windowtest::ProgramFolder program;
        program.mark(shop.folder());
        windowtest::MessageCapture messages;
        ui::frmPrice window;
        EXPECT_EQ(control<QComboBox>(&window, "cboJobs")->count(), 1);
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join("\n").toStdString();
    }
}

} // namespace
