#include "ui/frmPrice.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Statement.h"
#include "pricing/Categories.h"
#include "pricing/PricingRun.h"
#include "pricing/QuantityText.h"
#include "pricing/Schedule.h"
#include "ui/DataFolder.h"
#include "ui/ElidedLabel.h"
#include "ui/MessageBox.h"
#include "ui/PriceListDelegate.h"
#include "ui/WindowPlace.h"
#include "ui/frmCategories.h"
#include "ui/frmPriceBook.h"

namespace ui {

namespace {

// The calculated prices drop down over the order's details, 960 twips below the top of the window.
constexpr int kPriceFrameTop = 64;
// What the order list puts between an order's number and its description.
const QString kEntrySeparator = QStringLiteral(" - ");
// The longest category name the list shows whole without widening the window ("Letterheads and Envelopes").
constexpr int kCategoryLength = 26;
const QString kCategoryKey = QStringLiteral("Category");
const QString kOrderKey = QStringLiteral("Order");

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string toStd(const QString& text)
{
    return text.toStdString();
}

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const char* name, const QString& caption)
{
    auto* result = named(new QLabel(caption), name);
    result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return result;
}

QLineEdit* hiddenText(QWidget* parent, const char* name)
{
    auto* field = named(new QLineEdit(parent), name);
    field->hide();
    return field;
}

// Wide enough to show a number of this many digits whole.
int widthForDigits(const QLineEdit* field, int digits)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    // QLineEdit keeps 2 pixels free on either side of its text.
    const QSize text(field->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('9'))) + 4,
                     field->fontMetrics().height());
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width();
}

// Keeps a control's place in the layout while it is hidden, so showing it during a run moves nothing.
void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Clears a pair of exclusive option buttons: neither Up nor Down is a state of its own.
void clearOptions(std::initializer_list<QRadioButton*> options)
{
    for (QRadioButton* option : options) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

// A file of the data folder that is there but could not be read: the window goes on without it and says so.
void tellUnreadable(const std::optional<platform::Fault>& unreadable)
{
    if (unreadable)
        showDetailedMessage(fromStd(unreadable->what()), fromStd(unreadable->detail()));
}

} // namespace

frmPrice::frmPrice(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmPrice"));
    setWindowTitle(kProgramTitle);

    buildControls();
    buildPriceList();
    buildMenus();
    keepWindowPlace(this);

    loadWindow();
}

frmPrice::~frmPrice() = default;

void frmPrice::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);

    // Banner and the picture that takes the focus once an order is chosen.
    m_Picture1 = named(new QLabel, "Picture1");
    m_Picture1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(24, 24));
    // It takes the focus when an order is chosen, but is no stop of the Tab key: it shows no focus.
    m_Picture1->setFocusPolicy(Qt::ClickFocus);
    m_Picture1->setFixedSize(28, 28);
    m_Label1 = named(new QLabel(QStringLiteral("P R I C E   C A T A L O G S")), "Label1");
    QFont bannerFont = m_Label1->font();
    bannerFont.setBold(true);
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.3);
    m_Label1->setFont(bannerFont);
    m_Label1->setAlignment(Qt::AlignCenter);
    // The banner reaches down to where the calculated prices open, so that frame covers the order list
    // whole instead of leaving a sliver of it showing above.
    m_Label1->setFixedHeight(kPriceFrameTop - 4 - 3);
    auto* banner = new QHBoxLayout;
    banner->addWidget(m_Picture1);
    banner->addWidget(m_Label1, 1);
    layout->addLayout(banner);

    // The order list.
    m_fraJob = named(new QGroupBox(QStringLiteral("Identify Quote or Job Selection")), "fraJob");
    auto* jobLayout = new QVBoxLayout(m_fraJob);
    jobLayout->setContentsMargins(6, 2, 6, 4);
    m_cboJobs = named(new QComboBox, "cboJobs");
    m_cboJobs->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cboJobs->setMinimumContentsLength(20);
    m_cboJobs->installEventFilter(this);
    jobLayout->addWidget(m_cboJobs);
    m_optQuote = named(new QRadioButton(QStringLiteral("Quote"), m_fraJob), "optQuote");
    m_optJob = named(new QRadioButton(QStringLiteral("Job"), m_fraJob), "optJob");
    m_optQuote->hide();
    m_optJob->hide();
    layout->addWidget(m_fraJob);

    // What the chosen order is.
    m_fraDescription = named(new QGroupBox(QStringLiteral("Selection Description")), "fraDescription");
    auto* description = new QGridLayout(m_fraDescription);
    description->setContentsMargins(6, 2, 6, 4);
    description->setVerticalSpacing(2);
    m_lblStock = label("lblStock", QStringLiteral("Stock:"));
    m_txtStock = named(new QLineEdit, "txtStock");
    m_lblDesc = label("lblDesc", QStringLiteral("Description:"));
    m_txtDesc = named(new QLineEdit, "txtDesc");
    m_lblSize = label("lblSize", QStringLiteral("Finished Size:"));
    m_txtSize = named(new QLineEdit, "txtSize");
    m_lblBind = label("lblBind", QStringLiteral("Binderies:"));
    m_txtBind = named(new QLineEdit, "txtBind");
    m_Label9 = label("Label9", QStringLiteral("Categories:"));
    m_cboCategories = named(new QComboBox, "cboCategories");
    m_cboCategories->setEditable(true);
    m_cboCategories->setInsertPolicy(QComboBox::NoInsert);
    m_cboCategories->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cboCategories->setMinimumContentsLength(kCategoryLength);
    const std::array<std::pair<QLabel*, QWidget*>, 5> pairs{{{m_lblStock, m_txtStock},
                                                             {m_lblDesc, m_txtDesc},
                                                             {m_lblSize, m_txtSize},
                                                             {m_lblBind, m_txtBind},
                                                             {m_Label9, m_cboCategories}}};
    for (int row = 0; row < static_cast<int>(pairs.size()); ++row) {
        description->addWidget(pairs[row].first, row, 0);
        description->addWidget(pairs[row].second, row, 1);
    }
    description->setColumnStretch(1, 1);
    layout->addWidget(m_fraDescription);

    // The price-list parameters.
    m_Frame1 = named(new QGroupBox(QStringLiteral("Catalog Pricing Parameters")), "Frame1");
    auto* frame1 = new QVBoxLayout(m_Frame1);
    frame1->setContentsMargins(6, 2, 6, 4);
    frame1->setSpacing(2);
    auto* quantities = new QGridLayout;
    quantities->setVerticalSpacing(2);
    const auto quantityField = [this](const char* name, const char* text) {
        auto* field = named(new QLineEdit(QString::fromLatin1(text)), name);
        // Nine-digit quantities show whole.
        field->setFixedWidth(widthForDigits(field, 10));
        field->installEventFilter(this);
        return field;
    };
    m_txtQty1 = quantityField("txtQty1", "100");
    m_txtJump1 = quantityField("txtJump1", "25");
    m_txtQty2 = quantityField("txtQty2", "500");
    m_txtJump2 = quantityField("txtJump2", "100");
    m_txtQty3 = quantityField("txtQty3", "2000");
    m_txtJump3 = quantityField("txtJump3", "500");
    m_txtQty4 = quantityField("txtQty4", "5000");
    quantities->addWidget(label("lblStart", QStringLiteral("Start Quantity:")), 0, 0);
    quantities->addWidget(m_txtQty1, 0, 1);
    quantities->addWidget(label("Label3", QStringLiteral("Jump by:")), 0, 2);
    quantities->addWidget(m_txtJump1, 0, 3);
    quantities->addWidget(label("lblJump", QStringLiteral("2nd Quantity:")), 1, 0);
    quantities->addWidget(m_txtQty2, 1, 1);
    quantities->addWidget(label("Label6", QStringLiteral("Jump by:")), 1, 2);
    quantities->addWidget(m_txtJump2, 1, 3);
    quantities->addWidget(label("lblEnd", QStringLiteral("3rd Quantity:")), 2, 0);
    quantities->addWidget(m_txtQty3, 2, 1);
    quantities->addWidget(label("Label7", QStringLiteral("Jump by:")), 2, 2);
    quantities->addWidget(m_txtJump3, 2, 3);
    quantities->addWidget(label("Label4", QStringLiteral("Final Quantity:")), 3, 0);
    quantities->addWidget(m_txtQty4, 3, 1);
    frame1->addLayout(quantities);

    // Rounding step, direction and typeface, side by side.
    auto* options = new QHBoxLayout;
    options->setSpacing(4);
    auto* rounding = new QVBoxLayout;
    rounding->setSpacing(0);
    m_Label5Round = named(new QLabel(QStringLiteral("Round Price")), "Label5");
    m_Label5Round->setProperty("Index", 0);
    rounding->addWidget(m_Label5Round);
    auto* steps = new QHBoxLayout;
    steps->setSpacing(4);
    m_Frame2 = named(new QGroupBox, "Frame2");
    auto* frame2 = new QVBoxLayout(m_Frame2);
    frame2->setContentsMargins(4, 2, 4, 2);
    frame2->setSpacing(0);
    m_opt25 = named(new QRadioButton(QStringLiteral("0.25")), "opt25");
    m_opt1 = named(new QRadioButton(QStringLiteral("1.00")), "opt1");
    m_optNone = named(new QRadioButton(QStringLiteral("None")), "optNone");
    m_optNone->setChecked(true);
    frame2->addWidget(m_opt25);
    frame2->addWidget(m_opt1);
    frame2->addWidget(m_optNone);
    m_fraUpDn = named(new QGroupBox, "fraUpDn");
    auto* upDown = new QVBoxLayout(m_fraUpDn);
    upDown->setContentsMargins(4, 2, 4, 2);
    upDown->setSpacing(0);
    m_optUP = named(new QRadioButton(QStringLiteral("Up")), "optUP");
    m_optDN = named(new QRadioButton(QStringLiteral("Down")), "optDN");
    upDown->addWidget(m_optUP);
    upDown->addWidget(m_optDN);
    upDown->addStretch(1);
    steps->addWidget(m_Frame2);
    steps->addWidget(m_fraUpDn);
    rounding->addLayout(steps);
    options->addLayout(rounding);
    options->addStretch(1);

    auto* typeface = new QVBoxLayout;
    typeface->setSpacing(0);
    m_Label5Font = named(new QLabel(QStringLiteral("Print Report in:")), "Label5");
    m_Label5Font->setProperty("Index", 1);
    typeface->addWidget(m_Label5Font);
    // The typeface options form a group of their own, apart from the rounding options.
    auto* typefaces = new QWidget;
    auto* typefaceLayout = new QVBoxLayout(typefaces);
    typefaceLayout->setContentsMargins(8, 2, 0, 2);
    typefaceLayout->setSpacing(0);
    m_optCour = named(new QRadioButton(QStringLiteral("Courier")), "optCour");
    m_optTime = named(new QRadioButton(QStringLiteral("Times Roman")), "optTime");
    m_optSans = named(new QRadioButton(QStringLiteral("Sans Serif")), "optSans");
    m_optTime->setChecked(true);
    typefaceLayout->addWidget(m_optCour);
    typefaceLayout->addWidget(m_optTime);
    typefaceLayout->addWidget(m_optSans);
    typeface->addWidget(typefaces);
    options->addLayout(typeface);
    frame1->addLayout(options);
    layout->addWidget(m_Frame1);
    // A taller window gives the room to the calculated prices, which reach down to Check1.
    layout->addStretch(1);

    // The quantity being priced, shown while a run lasts.
    auto* progress = new QHBoxLayout;
    m_lblcalc = named(new QLabel(QStringLiteral("Calculating:")), "lblcalc");
    m_lblcalc->setProperty("Index", 1);
    m_txtQty = named(new QLineEdit, "txtQty");
    m_txtQty->setReadOnly(true);
    m_txtQty->setMaximumWidth(80);
    m_cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    m_cmdCancel->setToolTip(QStringLiteral("Stop after the quantity being priced (Esc)"));
    m_lblStatus = named(new QLabel, "lblStatus");
    for (QWidget* widget : std::initializer_list<QWidget*>{m_lblcalc, m_txtQty, m_cmdCancel}) {
        keepPlaceWhenHidden(widget);
        widget->hide();
    }
    m_lblStatus->hide();
    progress->addWidget(m_lblcalc);
    progress->addWidget(m_txtQty);
    progress->addWidget(m_cmdCancel);
    progress->addWidget(m_lblStatus, 1);
    progress->addStretch(1);
    layout->addLayout(progress);

    m_Check1 = named(new QCheckBox(QStringLiteral("Show Calculated Prices Without Printing")), "Check1");
    layout->addWidget(m_Check1);

    auto* buttons = new QHBoxLayout;
    m_cmdPrice = named(new QPushButton(QStringLiteral("Create Price Sheet")), "cmdPrice");
    m_cmdPrint = named(new QPushButton(QStringLiteral("Print Price Sheet")), "cmdPrint");
    m_cmdExit = named(new QPushButton(QStringLiteral("Exit")), "cmdExit");
    keepPlaceWhenHidden(m_cmdPrint);
    m_cmdPrint->hide();
    buttons->addWidget(m_cmdPrice);
    buttons->addWidget(m_cmdPrint);
    buttons->addWidget(m_cmdExit);
    layout->addLayout(buttons);

    // The status line: the data folder in use, and under it what was done last once there is something.
    auto* status = new QWidget;
    auto* statusLines = new QVBoxLayout(status);
    statusLines->setContentsMargins(0, 0, 0, 0);
    statusLines->setSpacing(0);
    m_lblDataFolder = named(new ElidedLabel, "lblDataFolder");
    m_lblLastAction = named(new ElidedLabel, "lblLastAction");
    m_lblLastAction->hide();
    statusLines->addWidget(m_lblDataFolder);
    statusLines->addWidget(m_lblLastAction);
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    statusBar()->addWidget(status, 1);

    // The calculated prices: a frame laid over the order's details when Check1 asks for it.
    m_fraCalculated = named(new QGroupBox(QStringLiteral("Calculated Prices"), central), "fraCalculated");
    auto* prices = new QVBoxLayout(m_fraCalculated);
    prices->setContentsMargins(6, 2, 6, 6);
    m_lblCalculated = named(new QLabel(QStringLiteral("Quantity    Price")), "lblCalculated");
    // Quantities and prices line up in a typewriter face; where Courier New is not installed the system's
    // own fixed-pitch face stands in for it.
    QFont listFont(QStringLiteral("Courier New"));
    listFont.setStyleHint(QFont::TypeWriter);
    listFont.setFixedPitch(true);
    m_lblCalculated->setFont(listFont);
    m_lstPrice = named(new QListWidget, "lstPrice");
    m_lstPrice->setFont(listFont);
    prices->addWidget(m_lblCalculated);
    prices->addWidget(m_lstPrice, 1);
    m_fraCalculated->setAutoFillBackground(true);
    m_fraCalculated->hide();

    // Window state kept in hidden fields, as the old screens kept it.
    m_txtTemp = hiddenText(central, "txtTemp");
    m_txtQuoteorJob = hiddenText(central, "txtQuoteorJob");
    m_txtPart = hiddenText(central, "txtPart");
    m_txtOrigQty = hiddenText(central, "txtOrigQty");
    m_txtLast = hiddenText(central, "txtLast");

    // Database access is the pricing layer's; these stand for the window's two views of "Orders".
    for (const char* name : {"dtaOrders", "Data2"}) {
        auto* view = named(new QObject(this), name);
        view->setProperty("RecordSource", QStringLiteral("Orders"));
    }

    connect(m_cboJobs, &QComboBox::activated, this, &frmPrice::chooseOrderAt);
    for (QRadioButton* option : {m_opt25, m_opt1, m_optNone, m_optUP, m_optDN})
        connect(option, &QRadioButton::clicked, this, &frmPrice::roundingChosen);
    connect(m_optCour, &QRadioButton::clicked, this, [this] { typefaceChosen(true); });
    connect(m_optTime, &QRadioButton::clicked, this, [this] { typefaceChosen(true); });
    connect(m_optSans, &QRadioButton::clicked, this, [this] { typefaceChosen(false); });
    connect(m_Check1, &QCheckBox::toggled, this, &frmPrice::check1Changed);
    connect(m_cmdPrice, &QPushButton::clicked, this, &frmPrice::cmdPriceClick);
    connect(m_cmdPrint, &QPushButton::clicked, this, &frmPrice::printSheet);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmPrice::requestCancel);
}

void frmPrice::buildPriceList()
{
    // Which order and parameters the calculated prices belong to, above the list.
    m_lblPricesFor = named(new QLabel, "lblPricesFor");
    m_lblPricesFor->setWordWrap(true);
    static_cast<QBoxLayout*>(m_fraCalculated->layout())->insertWidget(0, m_lblPricesFor);
    // On screen each price stands right-aligned under the heading's "Price"; the lines themselves stay the
    // price lines the sheet prints.
    m_lstPrice->setItemDelegate(new PriceListDelegate(m_lblCalculated, m_lstPrice));
}

void frmPrice::buildMenus()
{
    m_mnuFile = named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
    m_mnuPath = named(m_mnuFile->addAction(QStringLiteral("&Path")), "mnuPath");
    m_mnuPrinter = named(m_mnuFile->addAction(QStringLiteral("P&rinter")), "mnuPrinter");
    m_mnuPreview = named(m_mnuFile->addAction(QStringLiteral("Print Pre&view")), "mnuPreview");
    m_mnuCat = named(m_mnuFile->addAction(QStringLiteral("&Categories")), "mnuCat");
    m_mnuBook = named(m_mnuFile->addAction(QStringLiteral("Price &Book...")), "mnuBook");
    m_mnuFile->addSeparator();
    m_mnuExit = named(m_mnuFile->addAction(QStringLiteral("E&xit")), "mnuExit");
    m_mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_mnuHelp = named(menuBar()->addMenu(QStringLiteral("&Help")), "mnuHelp");
    m_mnuAbout = named(m_mnuHelp->addAction(QStringLiteral("&About")), "mnuAbout");
    m_mnuProcedure = named(m_mnuHelp->addAction(QStringLiteral("P&rocedure")), "mnuProcedure");

    connect(m_mnuPath, &QAction::triggered, this, &frmPrice::pathRequested);
    connect(m_mnuPrinter, &QAction::triggered, this, &frmPrice::showPrinterDialog);
    connect(m_mnuPreview, &QAction::triggered, this, &frmPrice::showPrintPreview);
    connect(m_mnuCat, &QAction::triggered, this, &frmPrice::showCategories);
    connect(m_mnuBook, &QAction::triggered, this, &frmPrice::showPriceBook);
    connect(m_mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(m_mnuAbout, &QAction::triggered, this, &frmPrice::aboutRequested);
    connect(m_mnuProcedure, &QAction::triggered, this, &frmPrice::procedureRequested);
}

void frmPrice::loadWindow()
{
    // Each step stands alone: a missing file leaves its part of the window as it starts.
    platform::resumeNext([this] { m_dataFolder = readMarkerFile(); });
    loadCategories();
    loadPriceData();
    loadOrders();
    showDataFolder();
}

void frmPrice::reloadDataFolder()
{
    if (m_running) {
        showMessage(kFolderChangedDuringRun);
        return;
    }
    // The category and order chosen now are chosen again when the new folder's lists have them.
    rememberCategory();
    rememberOrder();
    m_cboJobs->clear();
    m_cboCategories->clear();
    m_order.reset();
    for (QLineEdit* text : {m_txtStock, m_txtDesc, m_txtSize, m_txtBind, m_txtQuoteorJob, m_txtPart, m_txtOrigQty})
        text->clear();
    clearPrices();
    loadWindow();
    // The category editor follows the folder the user chose. The book window shows the old folder's book
    // and saves each change into it, so it closes (nothing of it is unsaved) and opens on the new one.
    setDataFolder(m_dataFolder);
    if (m_categories)
        m_categories->setDataFolder(m_dataFolder);
    if (m_priceBook)
        m_priceBook->close();
    showStatus(QStringLiteral("Orders, categories and pricing parameters loaded from %1.").arg(fromStd(m_dataFolder)));
}

void frmPrice::showDataFolder()
{
    const QString folder = fromStd(m_dataFolder);
    const QString choose = QStringLiteral("Choose the shop's data folder with File, Path.");
    std::error_code ignored;
    if (std::filesystem::is_regular_file(pricing::databasePath(m_dataFolder), ignored)) {
        // A file's path, or the server a connection file names.
        QString database;
        try {
            database = fromStd(pricing::shopDatabaseName(m_dataFolder));
        } catch (const platform::Fault& fault) {
            database = fromStd(fault.what());
        }
        m_lblDataFolder->setText(QStringLiteral("Shop database: %1").arg(database));
    }
    else if (!m_dataFolder.empty() && std::filesystem::is_directory(m_dataFolder, ignored))
        m_lblDataFolder->setText(QStringLiteral("No shop database (vmdata.mdb) in %1. %2").arg(folder, choose));
    else
        m_lblDataFolder->setText(QStringLiteral("The data folder %1 is not there. %2").arg(folder, choose));
}

void frmPrice::showStatus(const QString& text)
{
    m_lblLastAction->setText(text);
    m_lblLastAction->show();
}

void frmPrice::rememberCategory() const
{
    QSettings().setValue(kCategoryKey, m_cboCategories->currentText());
}

void frmPrice::rememberOrder() const
{
    QSettings().setValue(kOrderKey, m_order ? m_cboJobs->currentText() : QString());
}

void frmPrice::restoreCategory()
{
    // Only a category the list still offers is chosen again.
    const int index = m_cboCategories->findText(QSettings().value(kCategoryKey).toString(), Qt::MatchExactly);
    if (index >= 0)
        m_cboCategories->setCurrentIndex(index);
}

void frmPrice::loadCategories()
{
    std::optional<platform::Fault> unreadable;
    for (const std::string& category : pricing::readCategories(m_dataFolder, &unreadable))
        m_cboCategories->addItem(fromStd(category));
    // The list offers the categories; none is on the sheet until the user picks or types one, or picked it
    // the last time.
    m_cboCategories->setCurrentIndex(-1);
    restoreCategory();
    tellUnreadable(unreadable);
}

void frmPrice::loadPriceData()
{
    std::optional<platform::Fault> unreadable;
    if (const std::optional<pricing::PriceDataPositions> positions =
            pricing::readPriceData(m_dataFolder, &unreadable)) {
        m_settings = *positions;
        GetPrice();
        return;
    }
    tellUnreadable(unreadable);
    // Without settings of the shop's own, the window's initial parameters count as saved: a refused entry
    // goes back to the initial text, not to an empty field that the next check would refuse again.
    m_settings = pricing::priceDataFrom(parameters(), m_settings);
}

void frmPrice::loadOrders()
{
    // A shop database that cannot be opened leaves the list empty (or as far as it got): the user sees no
    // orders and can point the program at the right folder with File, Path. A folder without one says
    // nothing more; a file that is there but damaged, or an Access file, is named with what is wrong.
    const std::string databaseFile = pricing::databasePath(m_dataFolder);
    std::string fault;
    // Each entry carries its row, so each part of an order is chosen, priced and printed as itself.
    for (const pricing::OrderEntry& entry : pricing::listOrders(databaseFile, &fault))
        m_cboJobs->addItem(fromStd(entry.text), QVariant::fromValue<qlonglong>(entry.bookmark));
    std::error_code ignored;
    if (!fault.empty() && std::filesystem::exists(databaseFile, ignored))
        showMessage(fromStd(fault));
    if (m_cboJobs->count() > 0)
        m_cboJobs->setCurrentIndex(0);
    // The order priced last is chosen again when the list still has its entry.
    const int last = m_cboJobs->findText(QSettings().value(kOrderKey).toString(), Qt::MatchExactly);
    if (last >= 0) {
        m_cboJobs->setCurrentIndex(last);
        chooseOrderAt(last);
    }
}

void frmPrice::chooseOrder(const QString& entry)
{
    const int index = m_cboJobs->findText(entry, Qt::MatchExactly);
    if (index >= 0) {
        chooseOrderAt(index);
        return;
    }
    // A text that is no entry of the list: the first row of its order number.
    if (m_running)
        return;
    clearPrices();
    m_order.reset();
    const std::string databaseFile = pricing::databasePath(m_dataFolder);
    std::optional<pricing::OrderSelection> order;
    try {
        order = pricing::selectOrder(databaseFile, pricing::orderNumberOfEntry(toStd(entry)));
        // The first 8 characters are the order number only for the shop's usual 8-character numbers; a
        // shorter or longer one is the text before the " - " the list put after it.
        const qsizetype separator = entry.indexOf(kEntrySeparator);
        if (!order && separator > 0)
            order = pricing::selectOrder(databaseFile, toStd(entry.left(separator)));
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
        return;
    }
    if (order)
        showOrder(std::move(*order));
}

void frmPrice::chooseOrderAt(int index)
{
    // While a run prices, the order's name in the shop database means the run's working copy of its rows:
    // another order is chosen once the run is over.
    if (m_running || index < 0 || index >= m_cboJobs->count())
        return;
    clearPrices();
    m_order.reset();
    std::optional<pricing::OrderSelection> order;
    try {
        order = pricing::selectOrderAt(pricing::databasePath(m_dataFolder),
                                       m_cboJobs->itemData(index).toLongLong());
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
        return;
    }
    if (!order) {
        showMessage(kOrderGone.arg(m_cboJobs->itemText(index)));
        return;
    }
    showOrder(std::move(*order));
}

void frmPrice::showOrder(pricing::OrderSelection order)
{
    // Long texts show their beginning, the whole of them in the tooltip.
    const auto show = [](QLineEdit* field, const std::string& text) {
        field->setText(fromStd(text));
        field->setCursorPosition(0);
        field->setToolTip(field->text());
    };
    show(m_txtQuoteorJob, order.orderNo);
    show(m_txtStock, order.stock);
    show(m_txtDesc, order.description);
    show(m_txtSize, order.size);
    show(m_txtPart, order.partNo);
    show(m_txtOrigQty, order.origQty);
    show(m_txtBind, order.bindery);
    // An order without bindery rows leaves the quote-or-job choice as it was.
    if (order.quoteOrJob == pricing::QuoteOrJob::Quote)
        m_optQuote->setChecked(true);
    else if (order.quoteOrJob == pricing::QuoteOrJob::Job)
        m_optJob->setChecked(true);
    m_order = std::move(order);
    m_Picture1->setFocus();
}

pricing::PriceParameters frmPrice::parameters() const
{
    pricing::PriceParameters result;
    result.qty1 = toStd(m_txtQty1->text());
    result.qty2 = toStd(m_txtQty2->text());
    result.qty3 = toStd(m_txtQty3->text());
    result.qty4 = toStd(m_txtQty4->text());
    result.jump1 = toStd(m_txtJump1->text());
    result.jump2 = toStd(m_txtJump2->text());
    result.jump3 = toStd(m_txtJump3->text());
    result.step = m_opt25->isChecked()  ? pricing::RoundingStep::Quarter
                  : m_opt1->isChecked() ? pricing::RoundingStep::Dollar
                                        : pricing::RoundingStep::None;
    result.direction = m_optUP->isChecked()   ? pricing::RoundingDirection::Up
                       : m_optDN->isChecked() ? pricing::RoundingDirection::Down
                                              : pricing::RoundingDirection::Neither;
    result.typeface = m_optCour->isChecked()   ? pricing::Typeface::Courier
                      : m_optSans->isChecked() ? pricing::Typeface::SansSerif
                                               : pricing::Typeface::TimesRoman;
    return result;
}

void frmPrice::PriceData()
{
    m_settings = pricing::priceDataFrom(parameters(), m_settings);
    // The settings are a convenience of this window; a file that cannot be written is not reported.
    pricing::writePriceData(m_dataFolder, m_settings);
}

void frmPrice::GetPrice()
{
    pricing::PriceParameters applied;
    pricing::applyPriceData(m_settings, applied);
    m_txtQty1->setText(fromStd(applied.qty1));
    m_txtQty2->setText(fromStd(applied.qty2));
    m_txtQty3->setText(fromStd(applied.qty3));
    m_txtQty4->setText(fromStd(applied.qty4));
    m_txtJump1->setText(fromStd(applied.jump1));
    m_txtJump2->setText(fromStd(applied.jump2));
    m_txtJump3->setText(fromStd(applied.jump3));
    switch (applied.direction) {
    case pricing::RoundingDirection::Up:
        m_optUP->setChecked(true);
        break;
    case pricing::RoundingDirection::Down:
        m_optDN->setChecked(true);
        break;
    case pricing::RoundingDirection::Neither:
        clearOptions({m_optUP, m_optDN});
        break;
    }
    switch (applied.step) {
    case pricing::RoundingStep::None:
        m_optNone->setChecked(true);
        break;
    case pricing::RoundingStep::Quarter:
        m_opt25->setChecked(true);
        break;
    case pricing::RoundingStep::Dollar:
        m_opt1->setChecked(true);
        break;
    }
    switch (applied.typeface) {
    case pricing::Typeface::Courier:
        m_optCour->setChecked(true);
        break;
    case pricing::Typeface::TimesRoman:
        m_optTime->setChecked(true);
        break;
    case pricing::Typeface::SansSerif:
        m_optSans->setChecked(true);
        break;
    }
}

bool frmPrice::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // Switching to another window or opening a drop-down list is not leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QMainWindow::eventFilter(watched, event);
        const bool entering = event->type() == QEvent::FocusIn;
        if (watched == m_cboJobs) {
            entering ? cboJobsEntered() : cboJobsLeft();
        } else if (auto* field = qobject_cast<QLineEdit*>(watched)) {
            entering ? fieldEntered(field) : fieldLeft(field);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmPrice::fieldEntered(QLineEdit* field)
{
    m_txtTemp->setText(field->text());
}

std::array<frmPrice::FieldRule, 7> frmPrice::fieldRules() const
{
    // Each quantity above the one before and below the one after. The first two steps above 0, in any
    // order (100 then 100 is as sound a schedule as 25 then 100); the third step is never tested (a step of
    // 0 leaves its stretch out).
    return {{{m_txtQty1, QStringLiteral("Start Quantity"), nullptr, m_txtQty2, 0, true},
             {m_txtQty2, QStringLiteral("2nd Quantity"), m_txtQty1, m_txtQty3, 1, true},
             {m_txtQty3, QStringLiteral("3rd Quantity"), m_txtQty2, m_txtQty4, 2, true},
             {m_txtQty4, QStringLiteral("Final Quantity"), m_txtQty3, nullptr, 3, true},
             {m_txtJump1, QStringLiteral("Jump by (after the start quantity)"), nullptr, nullptr, 4, true},
             {m_txtJump2, QStringLiteral("Jump by (after the 2nd quantity)"), nullptr, nullptr, 5, true},
             {m_txtJump3, QStringLiteral("Jump by (after the 3rd quantity)"), nullptr, nullptr, 6, false}}};
}

namespace {

// The number a field holds, when it holds one that can be priced.
std::optional<std::uint64_t> fieldNumber(const QLineEdit* field)
{
    const std::optional<std::uint64_t> number = pricing::readQuantityText(toStd(field->text()));
    if (!number || *number > pricing::kLargestQuantity)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<QString> frmPrice::fieldFault(const FieldRule& rule) const
{
    const std::optional<std::uint64_t> read = pricing::readQuantityText(toStd(rule.field->text()));
    if (!read)
        return kNotAWholeNumber.arg(rule.name);
    if (*read > pricing::kLargestQuantity)
        return kQuantityTooLarge.arg(rule.name);
    if (!rule.tested)
        return std::nullopt;
    const std::optional<std::uint64_t> previous = rule.previous ? fieldNumber(rule.previous) : std::nullopt;
    const std::optional<std::uint64_t> next = rule.next ? fieldNumber(rule.next) : std::nullopt;
    if (*read == 0 || (previous && *previous >= *read))
        return rule.previous ? kQuantityAbovePrevious : kQuantityAboveZero;
    if (next && *read >= *next)
        return kQuantityAbovePrevious;
    return std::nullopt;
}

void frmPrice::fieldLeft(QLineEdit* field)
{
    if (m_checkingField)
        return;
    const std::array<FieldRule, 7> rules = fieldRules();
    const auto rule = std::find_if(rules.begin(), rules.end(), [field](const FieldRule& r) { return r.field == field; });
    if (rule == rules.end())
        return;

    // Thousands typed with separators are taken, and shown without them once taken.
    if (const std::optional<std::uint64_t> number = pricing::readQuantityText(toStd(field->text())))
        field->setText(QString::number(*number));
    if (const std::optional<QString> fault = fieldFault(*rule)) {
        // The field gets its saved value back. The focus goes where the user sent it, so a pair of values
        // out of order can be mended from either field; Create checks every field again.
        m_checkingField = true;
        showMessage(*fault);
        field->setText(fromStd(m_settings[rule->position]));
        m_checkingField = false;
        return;
    }
    if (field->text() != m_txtTemp->text()) {
        clearPrices();
        PriceData();
    }
}

bool frmPrice::scheduleFieldsAreSound()
{
    for (const FieldRule& rule : fieldRules()) {
        const std::optional<QString> fault = fieldFault(rule);
        if (!fault)
            continue;
        showMessage(*fault);
        rule.field->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

void frmPrice::cboJobsEntered()
{
    m_cboJobsOnEntry = m_cboJobs->currentText();
}

void frmPrice::cboJobsLeft()
{
    if (m_cboJobs->currentText() != m_cboJobsOnEntry)
        disablePrint();
}

void frmPrice::roundingChosen()
{
    clearPrices();
    PriceData();
}

void frmPrice::typefaceChosen(bool save)
{
    // The typeface changes only the printed sheet, not the prices, so Print stays as it is. Sans Serif is
    // saved with the next save, as the window always did.
    if (save)
        PriceData();
}

void frmPrice::check1Changed(bool checked)
{
    if (checked) {
        placePriceFrame();
        m_fraCalculated->show();
        m_fraCalculated->raise();
        m_Check1->setText(QStringLiteral("Uncheck to Remove Calculated Price Window"));
    } else {
        m_fraCalculated->hide();
        m_Check1->setText(QStringLiteral("Show Calculated Prices Without Printing"));
    }
}

void frmPrice::placePriceFrame()
{
    // From the window's left edge down to just above the check box that shows it.
    QWidget* central = centralWidget();
    central->layout()->activate();
    const int bottom = m_Check1->geometry().top() - 2;
    m_fraCalculated->setGeometry(0, kPriceFrameTop, central->width(), std::max(80, bottom - kPriceFrameTop));
}

void frmPrice::disablePrint()
{
    m_cmdPrint->setEnabled(false);
}

void frmPrice::clearPrices()
{
    m_lstPrice->clear();
    m_lblPricesFor->clear();
    disablePrint();
    m_lblcalc->hide();
    m_txtQty->hide();
    m_lblStatus->clear();
    m_lblStatus->hide();
}

QString frmPrice::pricesForText() const
{
    const pricing::PriceParameters p = parameters();
    QString text = QStringLiteral("%1 part %2, %3: %4 by %5 to %6, by %7 to %8, by %9 to %10")
                       .arg(m_txtQuoteorJob->text(), m_txtPart->text(),
                            m_optJob->isChecked() ? QStringLiteral("job") : QStringLiteral("quote"),
                            fromStd(p.qty1), fromStd(p.jump1), fromStd(p.qty2), fromStd(p.jump2))
                       .arg(fromStd(p.qty3), fromStd(p.jump3), fromStd(p.qty4));
    switch (p.step) {
    case pricing::RoundingStep::None:
        return text + QStringLiteral("; not rounded");
    case pricing::RoundingStep::Quarter:
        text += QStringLiteral("; rounded to 0.25");
        break;
    case pricing::RoundingStep::Dollar:
        text += QStringLiteral("; rounded to 1.00");
        break;
    }
    return text + (p.direction == pricing::RoundingDirection::Up ? QStringLiteral(" up") : QStringLiteral(" down"));
}

frmCategories* frmPrice::showCategories()
{
    if (!m_categories) {
        m_categories = new frmCategories(categoryFolder(), m_cboCategories, this);
        m_categories->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_categories->show();
    m_categories->raise();
    m_categories->activateWindow();
    return m_categories;
}

frmPriceBook* frmPrice::showPriceBook()
{
    if (!m_priceBook) {
        frmPriceBook::Setup setup;
        setup.dataFolder = m_dataFolder;
        setup.programFolder = programFolder();
        setup.defaults = parameters();
        setup.currentPage = [this] { return currentBookPage(); };
        setup.printer = &printer();
        m_priceBook = new frmPriceBook(std::move(setup), this);
        m_priceBook->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_priceBook->show();
    m_priceBook->raise();
    m_priceBook->activateWindow();
    return m_priceBook;
}

std::optional<pricing::BookPage> frmPrice::currentBookPage() const
{
    if (!m_order)
        return std::nullopt;
    pricing::BookPage page;
    page.orderNo = m_order->orderNo;
    bool whole = false;
    const int part = QString::fromStdString(m_order->partNo).toInt(&whole);
    if (whole && part >= INT16_MIN && part <= INT16_MAX)
        page.key.partNo = static_cast<std::int16_t>(part);
    if (m_optJob->isChecked())
        page.key.quoteOrJob = pricing::QuoteOrJob::Job;
    else if (m_optQuote->isChecked())
        page.key.quoteOrJob = pricing::QuoteOrJob::Quote;
    page.category = m_cboCategories->currentText().toStdString();
    page.parameters = parameters();
    return page;
}

std::string frmPrice::categoryFolder() const
{
    // The editor works in the folder start-up settled on. When start-up had to ask the user, there is none
    // yet, and this window's own folder is the one whose categories the user sees.
    return ui::dataFolder().empty() ? m_dataFolder : ui::dataFolder();
}

void frmPrice::requestCancel()
{
    if (m_running)
        m_cancelRequested = true;
}

void frmPrice::cmdPriceClick()
{
    // The run lets window events through between quantities; a second click then must not start a run
    // inside the run.
    if (m_running)
        return;
    if (!m_order) {
        showMessage(kSelectOrderFirst);
        return;
    }
    // Every field once more: a value typed but not yet left, or saved values out of order.
    if (!scheduleFieldsAreSound())
        return;
    const std::uint64_t count = pricing::scheduleLength(parameters());
    if (count > kAskAboveQuantities && !askYesNo(kLongScheduleQuestion.arg(count)))
        return;
    m_running = true;
    m_cancelRequested = false;

    clearPrices();
    m_lblPricesFor->setText(pricesForText());
    m_lblStatus->show();
    m_cmdPrice->setEnabled(false);
    m_cmdExit->setEnabled(false);
    m_cboJobs->setEnabled(false);
    m_txtLast->clear();
    m_lblcalc->show();
    m_txtQty->show();
    m_cmdCancel->show();
    m_cmdCancel->setEnabled(true);
    m_txtQty->setText(m_txtQty1->text());
    m_cmdPrint->show();

    pricing::PricingInputs inputs;
    inputs.dataFolder = m_dataFolder;
    inputs.programFolder = programFolder();
    inputs.order = *m_order;
    inputs.quoteOrJob = m_optJob->isChecked()     ? pricing::QuoteOrJob::Job
                        : m_optQuote->isChecked() ? pricing::QuoteOrJob::Quote
                                                  : pricing::QuoteOrJob::Unset;
    inputs.parameters = parameters();

    pricing::PricingCallbacks callbacks;
    std::uint64_t reached = 0;
    callbacks.onProgress = [this, &reached, count](const std::string& quantityText) {
        m_txtQty->setText(fromStd(quantityText));
        m_lblStatus->setText(QStringLiteral("%1 of %2").arg(++reached).arg(count));
        QCoreApplication::processEvents();
    };
    // The list itself holds the lines: the run keeps none, so a long schedule costs the window no more.
    callbacks.keepResults = false;
    callbacks.onLine = [this](const pricing::PricedQuantity& priced) {
        m_lstPrice->addItem(fromStd(priced.line));
        QCoreApplication::processEvents();
    };
    callbacks.onMessage = [](const std::string& message) { showMessage(fromStd(message)); };
    callbacks.engineHooks.message = [](const std::string& text, const std::string& title) {
        showMessage(fromStd(text), fromStd(title));
    };
    // The engine lets the window breathe after each ink, colour and bindery row, so the quantity shown in
    // txtQty moves on and a Cancel gets through.
    callbacks.engineHooks.yield = [] { QCoreApplication::processEvents(); };
    callbacks.cancelRequested = [this] { return m_cancelRequested; };

    // The engine of the previous run is released now; the new one stays until the next run.
    m_lastRun.reset();
    pricing::PricingResult result;
    // A fault of the shop's data or files is said in its own words; anything else is a fault of this program,
    // said plainly with the program's own wording behind Show Details.
    QString failure;
    QString failureDetail;
    try {
        auto run = std::make_unique<pricing::PricingRun>(std::move(inputs), std::move(callbacks));
        result = run->run(parameters());
        m_lastRun = std::move(run);
    } catch (const platform::Fault& fault) {
        failure = QStringLiteral("The price list could not be created: %1").arg(fromStd(fault.what()));
        failureDetail = fromStd(fault.detail());
    } catch (const std::exception& error) {
        failure = kProgramFault;
        failureDetail = fromStd(error.what());
    }

    m_txtLast->clear();
    m_cmdCancel->hide();
    m_lblcalc->hide();
    m_txtQty->hide();
    m_cmdPrice->setEnabled(true);
    m_cmdExit->setEnabled(true);
    m_cboJobs->setEnabled(true);
    // Only a list that covers the whole schedule can be printed: a cancelled, stopped or failed run, or one
    // with quantities left out, prints nothing that could be taken for the order's price list.
    const bool complete = failure.isEmpty() && !result.cancelled && !result.stopped && result.skipped.empty();
    m_cmdPrint->setEnabled(complete && m_lstPrice->count() > 0);
    if (result.cancelled)
        m_lblStatus->setText(QStringLiteral("Cancelled at %1.").arg(fromStd(result.cancelledAt)));
    else if (complete)
        m_lblStatus->setText(QStringLiteral("Done: %1 prices.").arg(m_lstPrice->count()));
    else
        m_lblStatus->setText(QStringLiteral("Not complete: %1 of %2 prices.").arg(m_lstPrice->count()).arg(count));
    m_running = false;

    if (m_closeAfterRun) {
        close();
        return;
    }
    if (!failure.isEmpty())
        showDetailedMessage(failure, failureDetail);
    if (result.stopped && !result.stopped->message.empty())
        showDetailedMessage(fromStd(result.stopped->message), fromStd(result.stopped->detail));
    if (!result.notes.empty() && !result.cancelled) {
        QStringList notes;
        for (const std::string& note : result.notes)
            notes << fromStd(note);
        showMessage(notes.join(QLatin1Char('\n')));
    }
    if (!result.skipped.empty())
        showDetailedMessage(fromStd(pricing::skippedMessage(result.skipped)),
                            fromStd(pricing::skippedDetails(result.skipped)));
}

void frmPrice::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_running) {
        requestCancel();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmPrice::closeEvent(QCloseEvent* event)
{
    // Closing in the middle of a run first lets the run put the order's own quantity back into its row.
    if (m_running) {
        m_closeAfterRun = true;
        m_cancelRequested = true;
        event->ignore();
        return;
    }
    rememberCategory();
    rememberOrder();
    QMainWindow::closeEvent(event);
    emit closed();
}

void frmPrice::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_fraCalculated && m_fraCalculated->isVisible())
        placePriceFrame();
}

} // namespace ui
