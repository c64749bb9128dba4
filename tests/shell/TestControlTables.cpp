// Every control of every window, as the counter staff know the old screens: name, kind, caption or initial
// text and whether it is in view when the window opens; the window's own caption and, for a window that
// keeps one size, its size. Also pictures of each window for a look at the layout, when WINDOW_SCREENSHOTS
// names a folder.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "shell/frmAbout.h"
#include "shell/frmHelp.h"
#include "shell/frmPath.h"
#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/WrappingLabel.h"
#include "ui/frmCategories.h"
#include "ui/frmPrice.h"

namespace {

enum class Shown { Yes, No, NotChecked };

struct ControlRow
{
    const char* name;
    const char* kind; // the Qt class standing in for the old control
    const char* caption; // caption, initial text or title; nullptr when not checked
    Shown shown;
};

struct WindowTable
{
    const char* name;
    const char* caption;
    QSize size; // twips / 15; none for a window that may be resized
    std::vector<ControlRow> controls;
};

const QString kHelpLabel2 = QStringLiteral(
    "The price sheet consists of 2 columns of data starting with the \"Start Quantity\" and ending with the "
    "\"Final Quantity\". The Start Qty will increment by the amount shown in the first \"Jump by\" section until "
    "the quantity reaches the \"2nd Quantity\". The next jump will take place until the \"3rd Quantity\" is "
    "reached followed by a 3rd jump until the Final Qty.  The actual price will be as calculated or rounded "
    "up/down by the amount shown.");
const QString kHelpLabel6 = QStringLiteral(
    "All price lists are created from existing jobs or quotes.  The description, category and bindery "
    "descriptions may be modified as desired. A Ref# is printed with the price sheet and represents the actual "
    "job or quote number.");

// The main window, once 5400 x 8670 twips; now as large as the user makes it. The first order is chosen.
const WindowTable kMainWindow{
    "frmPrice",
    "Price Catalogs",
    QSize(),
    {
        {"Label1", "QLabel", "P R I C E   C A T A L O G S", Shown::Yes},
        {"fraJob", "QGroupBox", "Identify Quote or Job Selection", Shown::Yes},
        {"cboJobs", "QComboBox", "Q2410001 - Letterhead", Shown::Yes},
        {"optQuote", "QRadioButton", "Quote", Shown::No},
        {"optJob", "QRadioButton", "Job", Shown::No},
        {"fraDescription", "QGroupBox", "Selection Description", Shown::Yes},
        {"lblStock", "QLabel", "Stock:", Shown::Yes},
        {"txtStock", "QLineEdit", "", Shown::Yes},
        {"lblDesc", "QLabel", "Description:", Shown::Yes},
        {"txtDesc", "QLineEdit", "Letterhead", Shown::Yes},
        {"lblSize", "QLabel", "Finished Size:", Shown::Yes},
        {"txtSize", "QLineEdit", "", Shown::Yes},
        {"lblBind", "QLabel", "Binderies:", Shown::Yes},
        {"txtBind", "QLineEdit", "", Shown::Yes},
        {"Label9", "QLabel", "Categories:", Shown::Yes},
        {"cboCategories", "QComboBox", "", Shown::Yes},
        {"Frame1", "QGroupBox", "Catalog Pricing Parameters", Shown::Yes},
        {"lblStart", "QLabel", "Start Quantity:", Shown::Yes},
        {"txtQty1", "QLineEdit", "100", Shown::Yes},
        {"Label3", "QLabel", "Jump by:", Shown::Yes},
        {"txtJump1", "QLineEdit", "25", Shown::Yes},
        {"lblJump", "QLabel", "2nd Quantity:", Shown::Yes},
        {"txtQty2", "QLineEdit", "500", Shown::Yes},
        {"Label6", "QLabel", "Jump by:", Shown::Yes},
        {"txtJump2", "QLineEdit", "100", Shown::Yes},
        {"lblEnd", "QLabel", "3rd Quantity:", Shown::Yes},
        {"txtQty3", "QLineEdit", "2000", Shown::Yes},
        {"Label7", "QLabel", "Jump by:", Shown::Yes},
        {"txtJump3", "QLineEdit", "500", Shown::Yes},
        {"Label4", "QLabel", "Final Quantity:", Shown::Yes},
        {"txtQty4", "QLineEdit", "5000", Shown::Yes},
        {"Frame2", "QGroupBox", "", Shown::Yes},
        {"opt25", "QRadioButton", "0.25", Shown::Yes},
        {"opt1", "QRadioButton", "1.00", Shown::Yes},
        {"optNone", "QRadioButton", "None", Shown::Yes},
        {"fraUpDn", "QGroupBox", "", Shown::Yes},
        {"optUP", "QRadioButton", "Up", Shown::Yes},
        {"optDN", "QRadioButton", "Down", Shown::Yes},
        {"optCour", "QRadioButton", "Courier", Shown::Yes},
        {"optTime", "QRadioButton", "Times Roman", Shown::Yes},
        {"optSans", "QRadioButton", "Sans Serif", Shown::Yes},
        {"lblcalc", "QLabel", "Calculating:", Shown::No},
        {"txtQty", "QLineEdit", "", Shown::No},
        {"Check1", "QCheckBox", "Show Calculated Prices Without Printing", Shown::Yes},
        {"fraCalculated", "QGroupBox", "Calculated Prices", Shown::No},
        {"lblCalculated", "QLabel", "Quantity    Price", Shown::No},
        {"lstPrice", "QListWidget", "", Shown::No},
        {"cmdPrice", "QPushButton", "Create Price Sheet", Shown::Yes},
        {"cmdPrint", "QPushButton", "Print Price Sheet", Shown::No},
        {"cmdExit", "QPushButton", "Exit", Shown::Yes},
        {"Picture1", "QLabel", nullptr, Shown::Yes},
        {"lblStatus", "QLabel", "", Shown::No},
        {"txtTemp", "QLineEdit", "", Shown::No},
        {"txtQuoteorJob", "QLineEdit", "Q2410001", Shown::No},
        {"txtPart", "QLineEdit", "1", Shown::No},
        {"txtOrigQty", "QLineEdit", "500", Shown::No},
        {"txtLast", "QLineEdit", "", Shown::No},
        {"lblDataFolder", "ui::WrappingLabel", nullptr, Shown::Yes},
        {"lblLastAction", "ui::WrappingLabel", "", Shown::No},
        {"dtaOrders", "QObject", nullptr, Shown::NotChecked},
        {"Data2", "QObject", nullptr, Shown::NotChecked},
        {"mnuFile", "QMenu", "File", Shown::NotChecked},
        {"mnuPath", "QAction", "Path", Shown::NotChecked},
        {"mnuPrinter", "QAction", "Printer", Shown::NotChecked},
        {"mnuCat", "QAction", "Categories", Shown::NotChecked},
        {"mnuExit", "QAction", "Exit", Shown::NotChecked},
        {"mnuHelp", "QMenu", "Help", Shown::NotChecked},
        {"mnuAbout", "QAction", "About", Shown::NotChecked},
        {"mnuProcedure", "QAction", "Procedure", Shown::NotChecked},
    },
};

// The category editor, once 5415 x 3165 twips.
const WindowTable kCategoryEditor{
    "frmCategories",
    "Create or Delete Categories",
    QSize(),
    {
        {"FraCat", "QGroupBox", "Categories", Shown::Yes},
        {"lstCategories", "QListWidget", "", Shown::Yes},
        {"Label1", "QLabel", "Enter New Category Below and Click Save to Add to List", Shown::Yes},
        {"txtCat", "QLineEdit", "", Shown::Yes},
        {"cmdSave", "QPushButton", "Save", Shown::Yes},
        {"Command1", "QPushButton", "Delete", Shown::Yes},
        {"Command2", "QPushButton", "Exit", Shown::Yes},
        {"lstCat", "QListWidget", "", Shown::No},
    },
};

// The folder chooser on a first start, once 4200 x 5445 twips.
const WindowTable kFolderChooser{
    "frmPath",
    "Order Entry Database",
    QSize(),
    {
        {"lblHead", "QLabel", "Click on Drive. Then Double Click on Folder Where Orvelle Resides", Shown::Yes},
        {"drvBox", "QComboBox", nullptr, Shown::Yes},
        {"cmdBrowse", "QPushButton", "&Browse...", Shown::Yes},
        {"dirBox", "QListWidget", "", Shown::Yes},
        {"Label1", "QLabel", "Location of Orvelle Data", Shown::Yes},
        {"Text1", "QLineEdit", "No Folder Selected", Shown::Yes},
        {"Label3", "QLabel", "Location of Orvelle Data Folder.", Shown::Yes},
        {"Label4", "QLabel", "If the locations above are correct, click the Continue button below.", Shown::Yes},
        {"cmdPath", "QPushButton", "Continue", Shown::Yes},
        {"cmdDemo", "QPushButton", "Use the &Demo Shop", Shown::Yes},
    },
};

const WindowTable kAboutBox{
    "frmAbout",
    "About Price Catalogs",
    QSize(), // no size of its own
    {
        {"picIcon", "QLabel", nullptr, Shown::Yes},
        {"lblTitle", "QLabel", "Price Catalogs", Shown::Yes},
        {"Label2", "QLabel", nullptr, Shown::Yes},
        {"lblVersion", "QLabel", "Version " PRICEBOOK_VERSION, Shown::Yes},
        {"lblDescription", "QLabel", nullptr, Shown::Yes},
        {"Label1", "QLabel", nullptr, Shown::Yes},
        {"lblDisclaimer", "QLabel", nullptr, Shown::Yes},
        {"cmdOK", "QPushButton", "OK", Shown::Yes},
        {"cmdSysInfo", "QPushButton", "&System Info...", Shown::Yes},
    },
};

const WindowTable kProcedureWindow{
    "frmHelp",
    "Price Catalogs",
    QSize(),
    {
        {"Label1", "QLabel", "Catalog Pricing Parameters", Shown::Yes},
        {"Label2", "QLabel", nullptr, Shown::Yes}, // the long texts are compared whole below
        {"Label5", "QLabel", "General", Shown::Yes},
        {"Label6", "QLabel", nullptr, Shown::Yes},
        {"cmdClose", "QPushButton", "&Close", Shown::Yes},
    },
};

// The caption a control shows: the menus' access-key marks are not part of their captions.
QString captionOf(const QObject* object)
{
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* field = qobject_cast<const QLineEdit*>(object))
        return field->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(object))
        return frame->title();
    if (auto* combo = qobject_cast<const QComboBox*>(object))
        return combo->currentText();
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title().remove(QLatin1Char('&'));
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text().remove(QLatin1Char('&'));
    return {};
}

void checkTable(const QWidget& window, const WindowTable& table)
{
    EXPECT_EQ(window.objectName(), QString::fromLatin1(table.name));
    EXPECT_EQ(window.windowTitle(), QString::fromLatin1(table.caption));
    if (table.size.isValid()) {
        EXPECT_EQ(window.size(), table.size);
    }
    for (const ControlRow& row : table.controls) {
        SCOPED_TRACE(std::string(table.name) + "." + row.name);
        const QList<QObject*> found = window.findChildren<QObject*>(QString::fromLatin1(row.name));
        ASSERT_EQ(found.size(), 1) << "one control of this name";
        const QObject* control = found.front();
        EXPECT_STREQ(control->metaObject()->className(), row.kind);
        if (row.caption) {
            EXPECT_EQ(captionOf(control), QString::fromUtf8(row.caption));
        }
        if (row.shown != Shown::NotChecked) {
            auto* widget = qobject_cast<const QWidget*>(control);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->isVisible(), row.shown == Shown::Yes);
        }
    }
}

// Everything in view can be read: each control lies inside the window, no two overlap (a frame and what it
// holds aside), and a caption is not cut off.
void checkLayout(const QWidget& window, const WindowTable& table)
{
    struct Placed
    {
        const char* name;
        QRect rect;
    };
    std::vector<Placed> placed;
    for (const ControlRow& row : table.controls) {
        if (row.shown != Shown::Yes || std::string_view(row.kind) == "QGroupBox")
            continue;
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(row.name));
        if (!widget)
            continue;
        SCOPED_TRACE(std::string(table.name) + "." + row.name);
        const QRect rect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(window.rect().contains(rect)) << "outside the window";
        for (const Placed& other : placed)
            EXPECT_FALSE(rect.intersects(other.rect)) << "overlaps " << other.name;
        placed.push_back({row.name, rect});
        if (auto* label = qobject_cast<const QLabel*>(widget); label && label->pixmap().isNull()) {
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << "text cut off";
            } else {
                EXPECT_LE(label->sizeHint().width(), label->width()) << "text cut off";
            }
        }
        if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            EXPECT_LE(button->sizeHint().width(), button->width()) << "caption cut off";
        }
    }
}

// The windows over a small shop: one order, two categories, the marker file naming the folder.
class ControlTables : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(db.folder());
        ui::setDataFolder(db.folder());
        testsupport::writeFile(db.folder() + "/Categories.dat", "Letterheads\r\nForms\r\n");
    }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TestDatabase db{
        "INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, PRESSQTY) "
        "VALUES ('Q2410001', 1, 'Q', 'Letterhead', 500);"};
};

TEST_F(ControlTables, MainWindow)
{
    ui::frmPrice window;
    window.show();
    checkTable(window, kMainWindow);
    checkLayout(window, kMainWindow);
    // Round Price and Print Report in share the name Label5, told apart by their index; the calculating
    // label is item 1 of lblcalc.
    QStringList label5;
    for (const QLabel* label : window.findChildren<QLabel*>(QStringLiteral("Label5"))) {
        EXPECT_TRUE(label->isVisible());
        label5 << QStringLiteral("%1:%2").arg(label->property("Index").toInt()).arg(label->text());
    }
    label5.sort();
    EXPECT_EQ(label5, (QStringList{QStringLiteral("0:Round Price"), QStringLiteral("1:Print Report in:")}));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblcalc"))->property("Index").toInt(), 1);
    EXPECT_EQ(window.findChild<QObject*>(QStringLiteral("dtaOrders"))->property("RecordSource").toString(),
              QStringLiteral("Orders"));
    EXPECT_EQ(window.findChild<QObject*>(QStringLiteral("Data2"))->property("RecordSource").toString(),
              QStringLiteral("Orders"));
    // The heading and the price lines in Courier New, or a fixed-pitch face standing in for it.
    for (const QWidget* widget : {static_cast<QWidget*>(window.findChild<QLabel*>(QStringLiteral("lblCalculated"))),
                                  static_cast<QWidget*>(window.findChild<QListWidget*>(QStringLiteral("lstPrice")))}) {
        EXPECT_EQ(widget->font().family(), QStringLiteral("Courier New")) << widget->objectName().toStdString();
        EXPECT_TRUE(QFontInfo(widget->font()).fixedPitch()) << widget->objectName().toStdString();
    }
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
}

TEST_F(ControlTables, MainWindowMenusInOrder)
{
    ui::frmPrice window;
    // The menu items the table names come in this order; other items may stand between them.
    const auto inOrder = [&](const char* menuName, const QStringList& expected) {
        QStringList names;
        for (const QAction* action : window.findChild<QMenu*>(QString::fromLatin1(menuName))->actions()) {
            if (expected.contains(action->objectName()))
                names << action->objectName();
        }
        EXPECT_EQ(names, expected) << menuName;
    };
    inOrder("mnuFile", {QStringLiteral("mnuPath"), QStringLiteral("mnuPrinter"), QStringLiteral("mnuCat"),
                        QStringLiteral("mnuExit")});
    inOrder("mnuHelp", {QStringLiteral("mnuAbout"), QStringLiteral("mnuProcedure")});
}

TEST_F(ControlTables, CategoryEditor)
{
    ui::frmPrice main;
    ui::frmCategories* editor = main.showCategories();
    editor->show();
    checkTable(*editor, kCategoryEditor);
    checkLayout(*editor, kCategoryEditor);
    EXPECT_EQ(editor->findChild<QListWidget*>(QStringLiteral("lstCategories"))->selectionMode(),
              QAbstractItemView::MultiSelection);
}

TEST_F(ControlTables, FolderChooser)
{
    QFile::remove(QString::fromStdString(program.markerFile()));
    shell::frmPath chooser;
    chooser.load();
    chooser.show();
    checkTable(chooser, kFolderChooser);
    checkLayout(chooser, kFolderChooser);
    EXPECT_GE(chooser.findChild<QComboBox*>(QStringLiteral("drvBox"))->findText(QDir::rootPath()), 0);
}

TEST_F(ControlTables, AboutBox)
{
    shell::frmAbout about;
    about.show();
    checkTable(about, kAboutBox);
    checkLayout(about, kAboutBox);
}

TEST_F(ControlTables, ProcedureWindow)
{
    shell::frmHelp help;
    help.show();
    checkTable(help, kProcedureWindow);
    checkLayout(help, kProcedureWindow);
    EXPECT_EQ(help.findChild<QLabel*>(QStringLiteral("Label2"))->text(), kHelpLabel2);
    EXPECT_EQ(help.findChild<QLabel*>(QStringLiteral("Label6"))->text(), kHelpLabel6);
}

// Pictures of every window, for a look at the layout: only when WINDOW_SCREENSHOTS names a folder (run under
// xvfb-run with QT_QPA_PLATFORM=xcb, with a window manager for the title bars). Each window is saved as it
// draws itself (NAME.png), as the screen shows it with its title bar (NAME-framed.png) and the whole screen
// (NAME-screen.png).
class Screenshots : public ControlTables
{
protected:
    void SetUp() override
    {
        folder = qEnvironmentVariable("WINDOW_SCREENSHOTS");
        if (folder.isEmpty())
            GTEST_SKIP() << "WINDOW_SCREENSHOTS not set";
        ControlTables::SetUp();
        QDir().mkpath(folder);
    }
    void save(QWidget& window, const char* name) const { windowtest::saveScreenshot(window, folder, name); }

    QString folder;
};

TEST_F(Screenshots, EveryWindow)
{
    ui::frmPrice main;
    save(main, "frmPrice");
    main.chooseOrder(QStringLiteral("Q2410001 - Letterhead"));
    main.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
    main.findChild<QListWidget*>(QStringLiteral("lstPrice"))
        ->addItems({QStringLiteral("100") + QString(27, QLatin1Char(' ')) + QStringLiteral("$41.20"),
                    QStringLiteral("5000") + QString(27, QLatin1Char(' ')) + QStringLiteral("$1234.50")});
    save(main, "frmPrice-prices");
    main.showMaximized();
    save(main, "frmPrice-maximised");
    main.showNormal();
    main.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(false);
    auto* categories = main.findChild<QComboBox*>(QStringLiteral("cboCategories"));
    categories->addItem(QStringLiteral("Letterheads and Envelopes"));
    categories->setCurrentIndex(categories->count() - 1);
    main.findChild<QLineEdit*>(QStringLiteral("txtQty4"))->setText(QStringLiteral("999999999"));
    save(main, "frmPrice-long");
    save(*main.showCategories(), "frmCategories");

    shell::frmPath chooser(&main);
    chooser.load();
    save(chooser, "frmPath");
    shell::frmAbout about(&main);
    save(about, "frmAbout");
    shell::frmHelp help(&main);
    save(help, "frmHelp");
}

} // namespace
