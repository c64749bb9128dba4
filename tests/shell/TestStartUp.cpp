// Start-up: the data folder from the marker file, the shop's settings or the folder chooser, in that order,
// and the program folder.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "cli/Cli.h"
#include "shell/frmPath.h"
#include "shell/modRegistry.h"
#include "shell/subMain.h"
#include "startup/ProgramFolder.h"
#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/DataFolder.h"

namespace {

using windowtest::control;

// The shop's settings in a folder of the test's own, never the machine's.
class ShopSettings
{
public:
    ShopSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, QString::fromStdString(m_folder.path()));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, QString::fromStdString(m_folder.path()));
    }
    void set(const QString& name, const QString& value) const
    {
        QSettings settings(QSettings::SystemScope, shell::kSettingsOrganisation, shell::kSettingsApplication);
        settings.setValue(name, value);
        settings.sync();
    }

private:
    testsupport::TemporaryFolder m_folder;
};

class StartUp : public testing::Test
{
protected:
    void TearDown() override
    {
        delete windows.chooser.data();
        delete windows.main.data();
    }
    std::string marker() const { return testsupport::readFile(program.markerFile()); }
    QString chooserText() const { return control<QLineEdit>(windows.chooser.data(), "Text1")->text(); }
    // A data folder the shop's management system set up: the database in it.
    std::string dataFolder() const { return db.folder(); }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    ShopSettings settings;
    testsupport::TestDatabase db{"INSERT INTO ORDERS (ORDERNO, DESCRIPTION) VALUES ('Q2410001', 'Letterhead');"};
    shell::StartedWindows windows;
};

TEST_F(StartUp, AGoodMarkerFileOpensTheMainWindowOnIt)
{
    program.mark(dataFolder());
    settings.set(QStringLiteral("NewDataDir"), QStringLiteral("/elsewhere/"));
    settings.set(QStringLiteral("Company"), QStringLiteral("Harbor Print"));
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_FALSE(windows.chooser);
    EXPECT_EQ(windows.main->dataFolder(), dataFolder());
    EXPECT_EQ(ui::dataFolder(), dataFolder());
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(marker(), dataFolder() + "\r\n"); // left as it was
}

TEST_F(StartUp, AGoodMarkerFileNeedsNothingOfTheShopsSettings)
{
    // Neither a folder nor a name in the shop's settings: nothing to tell, the marker file names the folder.
    program.mark(dataFolder());
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_FALSE(windows.chooser);
    EXPECT_TRUE(messages.texts().isEmpty());
    delete windows.main.data();

    settings.set(QStringLiteral("NewDataDir"), QString::fromStdString(dataFolder() + "/"));
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_TRUE(messages.texts().isEmpty()) << "no Company value, but none is needed";
}

TEST_F(StartUp, AMarkerOfThreeCharactersFallsBackToTheSettings)
{
    program.mark("C:\\");
    settings.set(QStringLiteral("NewDataDir"), QString::fromStdString(dataFolder() + "/"));
    settings.set(QStringLiteral("Company"), QStringLiteral("Harbor Print"));
    windows = shell::StartUp();
    // The settings' folder without its trailing separator replaces the marker file; the chooser opens on it
    // in front of the main window, so the user can confirm it.
    EXPECT_EQ(marker(), dataFolder() + "\r\n");
    EXPECT_EQ(ui::dataFolder(), dataFolder());
    ASSERT_TRUE(windows.chooser);
    ASSERT_TRUE(windows.main);
    EXPECT_EQ(chooserText(), QDir::toNativeSeparators(QString::fromStdString(dataFolder())));
    EXPECT_EQ(windows.main->dataFolder(), dataFolder());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(StartUp, AMarkerOfFourCharactersIsTaken)
{
    program.mark("/srv");
    settings.set(QStringLiteral("NewDataDir"), QString::fromStdString(dataFolder() + "/"));
    settings.set(QStringLiteral("Company"), QStringLiteral("Harbor Print"));
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_FALSE(windows.chooser);
    EXPECT_EQ(windows.main->dataFolder(), "/srv");
}

TEST_F(StartUp, WithoutAMarkerFileTheSettingsGiveTheFolder)
{
    settings.set(QStringLiteral("NewDataDir"), QString::fromStdString(dataFolder() + "/"));
    windows = shell::StartUp();
    EXPECT_EQ(marker(), dataFolder() + "\r\n");
    ASSERT_TRUE(windows.chooser);
    ASSERT_TRUE(windows.main);
    // No "Company" value: the folder is still taken, and the user is told about the name.
    EXPECT_EQ(messages.texts(), QStringList{shell::kCustomerNotAvailable});
}

TEST_F(StartUp, ASettingsFolderWithoutFilesIsPassedOverSilently)
{
    testsupport::TemporaryFolder empty;
    settings.set(QStringLiteral("NewDataDir"), QString::fromStdString(empty.path() + "/"));
    settings.set(QStringLiteral("Company"), QStringLiteral("Harbor Print"));
    windows = shell::StartUp();
    EXPECT_TRUE(messages.texts().isEmpty());
    ASSERT_TRUE(windows.chooser);
    // As a first start: the chooser writes the usual folder text.
    EXPECT_EQ(marker(), "/Orvelle/Data\r\n");
}

TEST_F(StartUp, AFirstStartWritesTheUsualFolderTextAndOpensTheChooser)
{
    windows = shell::StartUp();
    EXPECT_EQ(messages.texts(), QStringList{shell::kDataNotAvailable});
    EXPECT_EQ(marker(), "/Orvelle/Data\r\n");
    ASSERT_TRUE(windows.chooser);
    ASSERT_TRUE(windows.main);
    // The usual text is no choice of the user's: the chooser keeps "No Folder Selected".
    EXPECT_EQ(chooserText(), QStringLiteral("No Folder Selected"));
    EXPECT_EQ(windows.main->dataFolder(), "/Orvelle/Data");
    EXPECT_TRUE(windows.chooser->isVisible());
    EXPECT_TRUE(windows.main->isVisible());
    // Start-up settled on no folder: the category editor works in the main window's folder.
    EXPECT_EQ(ui::dataFolder(), "");
}

TEST_F(StartUp, AMarkerFileOfAnyLetterCaseIsTheMarkerFile)
{
    testsupport::writeFile(program.path() + "/VMORVCK.DAT", dataFolder() + "\r\n");
    settings.set(QStringLiteral("NewDataDir"), QStringLiteral("/elsewhere/"));
    settings.set(QStringLiteral("Company"), QStringLiteral("Harbor Print"));
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_FALSE(windows.chooser);
    EXPECT_EQ(windows.main->dataFolder(), dataFolder());
}

TEST_F(StartUp, ADataFolderWithACommaInItsNameIsChosenOnceAndFoundAgain)
{
    testsupport::TemporaryFolder work;
    const std::string folder = work.path() + "/Shop, Main";
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(db.path(), folder + "/vmdata.mdb");

    // A first start: the user types the folder into the chooser and clicks Continue.
    windows = shell::StartUp();
    ASSERT_TRUE(windows.chooser);
    auto* text = control<QLineEdit>(windows.chooser.data(), "Text1");
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(text, QString::fromStdString(folder));
    QTest::mouseClick(control<QPushButton>(windows.chooser.data(), "cmdPath"), Qt::LeftButton);
    EXPECT_EQ(marker(), "\"" + folder + "\"\r\n");

    // The next start opens the main window on the whole folder, with the shop's order.
    delete windows.chooser.data();
    delete windows.main.data();
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    EXPECT_FALSE(windows.chooser);
    EXPECT_EQ(windows.main->dataFolder(), folder);
    EXPECT_EQ(control<QComboBox>(windows.main.data(), "cboJobs")->count(), 1);
}

TEST_F(StartUp, ClosingTheMainWindowClosesTheChooserToo)
{
    windows = shell::StartUp();
    ASSERT_TRUE(windows.chooser);
    ASSERT_TRUE(windows.main);
    windows.main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(!windows.chooser || !windows.chooser->isVisible());
}

TEST_F(StartUp, TheMenusOpenTheirWindowsModelessAndOneOfEach)
{
    program.mark(dataFolder());
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    struct MenuRow
    {
        const char* action;
        const char* window;
        const char* caption;
    };
    const MenuRow rows[] = {
        {"mnuPath", "frmPath", "Order Entry Database"},
        {"mnuCat", "frmCategories", "Create or Delete Categories"},
        {"mnuAbout", "frmAbout", "About Price Catalogs"},
        {"mnuProcedure", "frmHelp", "Price Catalogs"},
    };
    for (const MenuRow& row : rows) {
        SCOPED_TRACE(row.action);
        auto* action = windows.main->findChild<QAction*>(QString::fromLatin1(row.action));
        ASSERT_NE(action, nullptr);
        // A second choice of the menu brings the open window forward instead of opening another.
        action->trigger();
        action->trigger();
        const QList<QWidget*> opened = windows.main->findChildren<QWidget*>(QString::fromLatin1(row.window));
        ASSERT_EQ(opened.size(), 1);
        EXPECT_TRUE(opened.front()->isWindow());
        EXPECT_TRUE(opened.front()->isVisible());
        EXPECT_EQ(opened.front()->windowModality(), Qt::NonModal);
        EXPECT_EQ(opened.front()->windowTitle(), QString::fromLatin1(row.caption));
    }
    // The chooser opened from the menu reads the marker file as at start-up.
    EXPECT_EQ(control<QLineEdit>(windows.main->findChild<QWidget*>(QStringLiteral("frmPath")), "Text1")->text(),
              QString::fromStdString(dataFolder()));
    EXPECT_TRUE(windows.main->isVisible());
}

TEST_F(StartUp, ExitEndsTheProgramWithEveryWindow)
{
    program.mark(dataFolder());
    windows = shell::StartUp();
    ASSERT_TRUE(windows.main);
    windows.main->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    windows.main->findChild<QAction*>(QStringLiteral("mnuProcedure"))->trigger();
    const QPointer<QWidget> about = windows.main->findChild<QWidget*>(QStringLiteral("frmAbout"));
    const QPointer<QWidget> help = windows.main->findChild<QWidget*>(QStringLiteral("frmHelp"));
    ASSERT_TRUE(about && help);
    bool ended = false;
    QObject::connect(windows.main.data(), &ui::frmPrice::closed, [&] { ended = true; });
    control<QPushButton>(windows.main.data(), "cmdExit")->click();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(!windows.main || !windows.main->isVisible());
    EXPECT_TRUE(!about || !about->isVisible());
    EXPECT_TRUE(!help || !help->isVisible());
}

TEST(ProgramFolder, TheCommandLineChoosesFirst)
{
    testsupport::TemporaryFolder executable;
    const QString exe = QString::fromStdString(executable.path());
    EXPECT_EQ(shell::programFolderFor({QStringLiteral("pricebook"), QStringLiteral("--program-dir"),
                                       QStringLiteral("/opt/shop")},
                                      exe),
              QStringLiteral("/opt/shop"));
    EXPECT_EQ(shell::programFolderFor({QStringLiteral("pricebook"), QStringLiteral("--program-dir=/opt/shop")}, exe),
              QStringLiteral("/opt/shop"));
    // Otherwise the executable's folder, as long as the program can write its files there.
    EXPECT_EQ(shell::programFolderFor({QStringLiteral("pricebook")}, exe), exe);
}

TEST(ProgramFolder, AnExecutableFolderThatCannotBeWrittenGivesTheUsersApplicationData)
{
    testsupport::TemporaryFolder home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path()));
    const QString folder = shell::programFolderFor({QStringLiteral("pricebook")}, QStringLiteral("/no/such/folder"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(folder.startsWith(QString::fromStdString(home.path()))) << folder.toStdString();
    EXPECT_TRUE(QDir(folder).exists());
}

// The window and the command line work in one program folder, so they share one report work database:
// each case resolved by both front ends gives the same folder.
TEST(ProgramFolder, TheWindowAndTheCommandLineResolveTheSameFolder)
{
    testsupport::TemporaryFolder executable;
    testsupport::TemporaryFolder readOnly;
    std::filesystem::permissions(readOnly.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    testsupport::TemporaryFolder home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path()));
    startup::nameProgram();
    const std::string userFolder = home.path() + "/Velmora/PriceCatalogs";
    // An installed program: usr/bin with the package's usr/share/pricebook beside it.
    testsupport::TemporaryFolder root;
    std::filesystem::create_directories(root.path() + "/usr/bin");
    std::filesystem::create_directories(root.path() + "/usr/share/pricebook");

    struct Case
    {
        const char* why;
        std::vector<std::string> options;
        std::string executableFolder;
        std::string expected;
    };
    const Case cases[] = {
        {"a folder given as two words", {"--program-dir", "/opt/shop"}, executable.path(), "/opt/shop"},
        {"a folder given with =", {"--program-dir=/opt/shop"}, executable.path(), "/opt/shop"},
        {"the first folder given wins", {"--program-dir=/opt/a", "--program-dir", "/opt/b"}, executable.path(),
         "/opt/a"},
        {"the executable's folder when writable", {}, executable.path(), executable.path()},
        {"the verbose option changes nothing", {"--verbose"}, executable.path(), executable.path()},
        {"a read-only executable folder", {}, readOnly.path(), userFolder},
        {"an executable folder that is not there", {}, "/no/such/folder", userFolder},
        {"no executable folder known", {}, "", userFolder},
        {"an installed program, writable or not", {}, root.path() + "/usr/bin", userFolder},
    };
    for (const Case& c : cases) {
        QStringList arguments{QStringLiteral("pricebook")};
        for (const std::string& option : c.options)
            arguments << QString::fromStdString(option);
        const std::string window =
            shell::programFolderFor(arguments, QString::fromStdString(c.executableFolder)).toStdString();
        const std::string commandLine = cli::programFolderFor(c.options, c.executableFolder);
        EXPECT_EQ(window, commandLine) << c.why;
        // Root may write anywhere: the read-only case then keeps the executable's folder in both.
        if (std::string(c.why) != "a read-only executable folder" || ::geteuid() != 0) {
            EXPECT_EQ(window, c.expected) << c.why;
        }
    }
    qunsetenv("XDG_DATA_HOME");
    std::filesystem::permissions(readOnly.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

} // namespace
