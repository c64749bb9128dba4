// The folder chooser, the about box and the procedure window.
#include <filesystem>
#include <memory>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "shell/frmAbout.h"
#include "shell/frmHelp.h"
#include "shell/frmPath.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Watchdog.h"
#include "tests/ui/WindowTestSupport.h"

namespace {

using windowtest::control;

class FolderChooser : public testing::Test
{
protected:
    ~FolderChooser() override { shell::setFolderDialogFunction({}); }
    shell::frmPath& open()
    {
        chooser = std::make_unique<shell::frmPath>();
        chooser->load();
        return *chooser;
    }
    std::string marker() const { return testsupport::readFile(program.markerFile()); }
    QString text1() const { return control<QLineEdit>(chooser.get(), "Text1")->text(); }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TemporaryFolder data;
    std::unique_ptr<shell::frmPath> chooser;
};

TEST_F(FolderChooser, OpensOnTheMarkedFolder)
{
    program.mark(data.path());
    shell::frmPath& w = open();
    EXPECT_EQ(text1(), QString::fromStdString(data.path()));
    EXPECT_EQ(QDir(w.dirPath()), QDir(QString::fromStdString(data.path())));
    EXPECT_TRUE(QString::fromStdString(data.path()).startsWith(w.drivePath()));
}

// The usual folder in the platform's form goes into the marker file; the lists show the user's home folder.
TEST_F(FolderChooser, WithoutAMarkerFileWritesTheUsualTextAndKeepsItsDefaults)
{
    shell::frmPath& w = open();
    EXPECT_EQ(marker(), "/Orvelle/Data\r\n");
    EXPECT_EQ(text1(), QStringLiteral("No Folder Selected"));
    EXPECT_EQ(QDir(w.dirPath()), QDir::home());
    EXPECT_TRUE(QDir::homePath().startsWith(w.drivePath()));
}

TEST_F(FolderChooser, AnEmptyMarkerFileIsTreatedAsNone)
{
    // Nothing to read in it, as in a missing file: the usual text is written and read back.
    testsupport::writeFile(program.markerFile(), "");
    open();
    EXPECT_EQ(marker(), "/Orvelle/Data\r\n");
    EXPECT_EQ(text1(), QStringLiteral("No Folder Selected"));
}

// A pipe at the marker file's name is named when the chooser opens, and again when Continue cannot write the
// marker over it: it is never written over or read.
TEST_F(FolderChooser, AMarkerFileThatCannotBeReadIsNamedAndNeverWrittenOver)
{
    const testsupport::Watchdog watchdog(20);
    ASSERT_EQ(::mkfifo(program.markerFile().c_str(), 0666), 0);
    shell::frmPath& w = open();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(QString::fromStdString(program.markerFile() + " is a pipe or a device")))
        << messages.texts()[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_fifo(program.markerFile())) << "the usual text is not written over it";
    EXPECT_EQ(text1(), QStringLiteral("No Folder Selected"));

    w.show();
    auto* text = control<QLineEdit>(&w, "Text1");
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(text, QString::fromStdString(data.path()));
    QTest::mouseClick(control<QPushButton>(&w, "cmdPath"), Qt::LeftButton);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[1].contains(QStringLiteral("is a pipe, not a file"))) << messages.texts()[1].toStdString();
    EXPECT_TRUE(std::filesystem::is_fifo(program.markerFile()));
}

TEST_F(FolderChooser, DoubleClickingAFolderPutsItsPathIntoText1)
{
    QDir(QString::fromStdString(data.path())).mkdir(QStringLiteral("Orvelle"));
    program.mark(data.path());
    shell::frmPath& w = open();
    auto* folders = control<QListWidget>(&w, "dirBox");
    const QList<QListWidgetItem*> found = folders->findItems(QStringLiteral("Orvelle"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit folders->itemDoubleClicked(found.front());
    EXPECT_EQ(text1(), QString::fromStdString(data.path() + "/Orvelle"));
    EXPECT_EQ(w.dirPath(), QString::fromStdString(data.path() + "/Orvelle"));
}

// Browse... opens the desktop's folder dialog on the listed folder. Cancelled, it changes nothing; a folder
// chosen there is listed and goes into Text1, as a double-click puts it, and Continue keeps it.
TEST_F(FolderChooser, BrowseTakesTheFolderChosenInTheDesktopsDialog)
{
    const QString folder = QString::fromStdString(data.path() + "/Shop Data");
    ASSERT_TRUE(QDir().mkpath(folder));
    shell::frmPath& w = open();
    w.show();
    const QString listed = w.dirPath();
    QStringList starts;
    QString answer; // empty: the user cancels
    shell::setFolderDialogFunction([&](QWidget* parent, const QString& start) {
        EXPECT_EQ(parent, &w);
        starts << start;
        return answer;
    });
    auto* browse = control<QPushButton>(&w, "cmdBrowse");
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(text1(), QStringLiteral("No Folder Selected"));
    EXPECT_EQ(w.dirPath(), listed);

    answer = folder;
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(starts, QStringList({listed, listed}));
    EXPECT_EQ(text1(), folder);
    EXPECT_EQ(w.dirPath(), folder);
    EXPECT_TRUE(folder.startsWith(w.drivePath()));
    QTest::mouseClick(control<QPushButton>(&w, "cmdPath"), Qt::LeftButton);
    EXPECT_EQ(marker(), folder.toStdString() + "\r\n");
}

TEST_F(FolderChooser, ChangingTheDriveShowsItsRoot)
{
    program.mark(data.path());
    shell::frmPath& w = open();
    auto* drives = control<QComboBox>(&w, "drvBox");
    const int root = drives->findText(QDir::rootPath());
    ASSERT_GE(root, 0);
    if (drives->currentIndex() == root) {
        if (drives->count() < 2)
            GTEST_SKIP() << "one volume only";
        drives->setCurrentIndex(root == 0 ? 1 : 0);
    }
    drives->setCurrentIndex(root);
    EXPECT_EQ(w.dirPath(), QDir::rootPath());
}

TEST_F(FolderChooser, ContinueWritesText1IntoTheMarkerFile)
{
    program.mark(data.path());
    shell::frmPath& w = open();
    w.show();
    control<QLineEdit>(&w, "Text1")->setText(QStringLiteral("/srv/orvelle/data"));
    control<QPushButton>(&w, "cmdPath")->click();
    EXPECT_EQ(marker(), "/srv/orvelle/data\r\n");
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FolderChooser, ContinueWithNoFolderSelectedStillWritesIt)
{
    shell::frmPath& w = open();
    control<QPushButton>(&w, "cmdPath")->click();
    EXPECT_EQ(marker(), "No Folder Selected\r\n");
}

// A counter PC without the shop's data yet: the demo shop is made in the user's documents (once; a second
// choice uses it again) and becomes the data folder.
TEST_F(FolderChooser, TheDemoShopIsMadeInTheDocumentsFolderAndChosen)
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(data.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const std::string folder = data.path() + "/Documents/Counter Price Book Demo";
    for (int choice = 0; choice < 2; ++choice) {
        shell::frmPath& w = open();
        w.show();
        bool chosen = false;
        QObject::connect(&w, &shell::frmPath::folderChosen, [&chosen] { chosen = true; });
        QTest::mouseClick(control<QPushButton>(&w, "cmdDemo"), Qt::LeftButton);
        EXPECT_TRUE(chosen) << "choice " << choice;
        EXPECT_EQ(marker(), folder + "\r\n");
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/vmdata.mdb"));
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/PriceBook.dat"));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    qputenv("HOME", home);
}

TEST_F(FolderChooser, AMarkerFileThatCannotBeWrittenKeepsTheChooserOpen)
{
    program.mark(data.path());
    shell::frmPath& w = open();
    w.show();
    ui::setProgramFolder(data.path() + "/no such folder");
    control<QPushButton>(&w, "cmdPath")->click();
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(w.isVisible());
}

TEST(AboutBox, ShowsTheVersionAndHasNoSystemInformationToolHere)
{
    windowtest::MessageCapture messages;
    shell::frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Price Catalogs"));
    EXPECT_EQ(control<QLabel>(&about, "lblVersion")->text(), QStringLiteral("Version " PRICEBOOK_VERSION));
    EXPECT_EQ(shell::versionText(1, 0, 5), QStringLiteral("Version 1.0.5"));
    EXPECT_EQ(control<QPushButton>(&about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    for (const char* name : {"picIcon", "lblTitle", "Label2", "lblDescription", "Label1", "lblDisclaimer"})
        EXPECT_NE(control<QLabel>(&about, name), nullptr);
    control<QPushButton>(&about, "cmdSysInfo")->click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    about.show();
    control<QPushButton>(&about, "cmdOK")->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(ProcedureWindow, HasItsTextsAndOpensInTheMiddleOfTheScreen)
{
    shell::frmHelp help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Price Catalogs"));
    EXPECT_EQ(control<QLabel>(&help, "Label1")->text(), QStringLiteral("Catalog Pricing Parameters"));
    EXPECT_TRUE(control<QLabel>(&help, "Label2")->text().startsWith(
        QStringLiteral("The price sheet consists of 2 columns of data starting with the \"Start Quantity\"")));
    EXPECT_TRUE(control<QLabel>(&help, "Label2")->text().endsWith(
        QStringLiteral("Final Qty.  The actual price will be as calculated or rounded up/down by the amount shown.")));
    EXPECT_EQ(control<QLabel>(&help, "Label5")->text(), QStringLiteral("General"));
    EXPECT_EQ(control<QLabel>(&help, "Label6")->text(),
              QStringLiteral("All price lists are created from existing jobs or quotes.  The description, category "
                             "and bindery descriptions may be modified as desired. A Ref# is printed with the price "
                             "sheet and represents the actual job or quote number."));
    help.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = help.frameGeometry();
    // left = (screen width - window width) / 2, within a pixel of rounding.
    EXPECT_NEAR(frame.left(), screen.left() + (screen.width() - frame.width()) / 2, 1);
    EXPECT_NEAR(frame.top(), screen.top() + (screen.height() - frame.height()) / 2, 1);
}

} // namespace
