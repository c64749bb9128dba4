#include "ui/frmPrice.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <unordered_map>
#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
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
#include <QVBoxLayout>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Statement.h"
#include "pricing/Categories.h"
#include "pricing/PriceChecks.h"
#include "pricing/PriceRequest.h"
#include "pricing/PricingRun.h"
#include "pricing/QuantityText.h"
#include "pricing/Schedule.h"
#include "ui/DataFolder.h"
#include "ui/MessageBox.h"
#include "ui/PriceListDelegate.h"
#include "ui/WindowPlace.h"
#include "ui/WorkerRun.h"
#include "ui/WrappingLabel.h"
#include "ui/frmCategories.h"
#include "ui/frmPriceBook.h"

namespace ui {

namespace {

// The calculated prices drop down over the order's details, 960 twips below the top of the window.
constexpr int kPriceFrameTop = 64;

// A line of the list that the list's checks name: a pale amber behind it.
const QColor kCheckedLine(255, 236, 179);
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

frmPrice::~frmPrice()
{
    // A run still going stops between quantities and is waited for before anything of the window goes.
    delete m_run;
}

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
        // Enter takes the value as Tab does, and goes on to the next field.
        connect(field, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
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
    m_lblDataFolder = named(new WrappingLabel, "lblDataFolder");
    m_lblLastAction = named(new WrappingLabel, "lblLastAction");
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
    // What the list's prices give to look at, under it.
    m_lblChecks = named(new WrappingLabel, "lblChecks");
    m_fraCalculated->layout()->addWidget(m_lblChecks);
    m_lblChecks->hide();
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
    m_orderIndex = -1;
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
    // A folder without categories, where none was typed either, showed nothing to remember: what was chosen
    // in the shop's own folder stays for when it is open again.
    if (m_cboCategories->count() == 0 && m_cboCategories->currentText().isEmpty())
        return;
    QSettings().setValue(kCategoryKey, m_cboCategories->currentText());
}

void frmPrice::rememberOrder() const
{
    // Likewise a folder without orders (no shop database in it) keeps the order chosen last elsewhere.
    if (m_cboJobs->count() == 0)
        return;
    QSettings().setValue(kOrderKey, m_order ? m_cboJobs->itemText(m_orderIndex) : QString());
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
    // The order priced last is chosen again when the list still has its entry; else the first order, which
    // the list shows.
    const int last = m_cboJobs->findText(QSettings().value(kOrderKey).toString(), Qt::MatchExactly);
    if (m_cboJobs->count() > 0) {
        m_cboJobs->setCurrentIndex(std::max(last, 0));
        chooseOrderAt(std::max(last, 0));
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
    m_orderIndex = -1;
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
    if (!order)
        return;
    // The list shows the entry of the row found, so what is shown is what is priced.
    const int shown = m_cboJobs->findData(QVariant::fromValue<qlonglong>(order->bookmark));
    if (shown >= 0)
        m_cboJobs->setCurrentIndex(shown);
    showOrder(std::move(*order), shown);
}

void frmPrice::chooseOrderAt(int index)
{
    // While a run prices, the order's name in the shop database means the run's working copy of its rows:
    // another order is chosen once the run is over.
    if (m_running || index < 0 || index >= m_cboJobs->count())
        return;
    clearPrices();
    m_order.reset();
    m_orderIndex = -1;
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
    if (m_cboJobs->currentIndex() != index)
        m_cboJobs->setCurrentIndex(index);
    showOrder(std::move(*order), index);
}

void frmPrice::showOrder(pricing::OrderSelection order, int index)
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
    m_orderIndex = index;
    // The focus stays where the clerk has it (in the order list, the next Down picks the next order).
    updatePrintState();
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
    // A step saved without a direction prices down: the window shows it so.
    if (applied.step != pricing::RoundingStep::None && applied.direction == pricing::RoundingDirection::Neither)
        m_optDN->setChecked(true);
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
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            event->type() == QEvent::FocusIn ? fieldEntered(field) : fieldLeft(field);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmPrice::fieldEntered(QLineEdit* field)
{
    m_txtTemp->setText(field->text());
}

std::array<frmPrice::ScheduleField, pricing::kScheduleItems> frmPrice::scheduleFields() const
{
    using pricing::ScheduleItem;
    // In the window's order, with each field's place among the saved settings.
    return {{{m_txtQty1, ScheduleItem::Qty1, 0},
             {m_txtQty2, ScheduleItem::Qty2, 1},
             {m_txtQty3, ScheduleItem::Qty3, 2},
             {m_txtQty4, ScheduleItem::Qty4, 3},
             {m_txtJump1, ScheduleItem::Jump1, 4},
             {m_txtJump2, ScheduleItem::Jump2, 5},
             {m_txtJump3, ScheduleItem::Jump3, 6}}};
}

QLineEdit* frmPrice::fieldOf(pricing::ScheduleItem item) const
{
    for (const ScheduleField& f : scheduleFields()) {
        if (f.item == item)
            return f.field;
    }
    return nullptr;
}

void frmPrice::fieldLeft(QLineEdit* field)
{
    // While a run prices, the fields are off: nothing was typed.
    if (m_checkingField || m_running)
        return;
    const auto fields = scheduleFields();
    const auto f = std::find_if(fields.begin(), fields.end(), [field](const ScheduleField& s) { return s.field == field; });
    if (f == fields.end())
        return;

    // Thousands typed with separators are taken, and shown without them once taken.
    if (const std::optional<std::uint64_t> number = pricing::readQuantityText(toStd(field->text())))
        field->setText(QString::number(*number));
    // Each quantity above the one before and below the one after, so a pair out of order is named where it
    // is typed; the first two steps above 0; the third 0 or more (0 leaves its stretch out).
    if (const std::optional<pricing::ScheduleProblem> problem =
            pricing::scheduleItemProblem(parameters(), f->item, true)) {
        // The field gets its saved value back. The focus goes where the user sent it, so a pair of values
        // out of order can be mended from either field; Create checks every field again.
        m_checkingField = true;
        showMessage(fromStd(problem->message()));
        field->setText(fromStd(m_settings[f->position]));
        m_checkingField = false;
    } else if (toStd(field->text()) != m_settings[f->position]) {
        PriceData();
    }
    parametersChanged();
}

void frmPrice::parametersChanged()
{
    // The list stays as long as the window still shows what it was priced for: a field left unchanged, or
    // changed and put back, keeps it.
    if (m_listRequest && !m_running) {
        const std::optional<pricing::PriceRequest> current = currentRequest();
        if (!current || !pricing::samePrices(*current, *m_listRequest))
            clearPrices();
    }
    updatePrintState();
}

void frmPrice::roundingChosen()
{
    // A rounding step with neither Up nor Down ticked prices down: Down is ticked, so the window shows how
    // the prices are rounded and the saved settings bring the same back.
    if (!m_optNone->isChecked() && !m_optUP->isChecked() && !m_optDN->isChecked())
        m_optDN->setChecked(true);
    PriceData();
    parametersChanged();
}

void frmPrice::typefaceChosen(bool save)
{
    // The typeface changes only the printed sheet, not the prices, so the list stays. Sans Serif is saved
    // with the next save, as the window always did.
    if (save)
        PriceData();
    updatePrintState();
}

std::optional<pricing::PriceRequest> frmPrice::currentRequest(std::optional<pricing::ScheduleProblem>* problem) const
{
    // The order shown in the list is the one chosen.
    if (!m_order || m_cboJobs->currentIndex() != m_orderIndex)
        return std::nullopt;
    const pricing::QuoteOrJob quoteOrJob = m_optJob->isChecked()     ? pricing::QuoteOrJob::Job
                                           : m_optQuote->isChecked() ? pricing::QuoteOrJob::Quote
                                                                     : pricing::QuoteOrJob::Unset;
    std::variant<pricing::PriceRequest, pricing::ScheduleProblem> request =
        pricing::makePriceRequest(*m_order, quoteOrJob, parameters(), toStd(m_cboCategories->currentText()));
    if (auto* fault = std::get_if<pricing::ScheduleProblem>(&request)) {
        if (problem)
            *problem = std::move(*fault);
        return std::nullopt;
    }
    return std::get<pricing::PriceRequest>(std::move(request));
}

bool frmPrice::listPrintable() const
{
    if (m_running || !m_listComplete || !m_listRequest || m_lstPrice->count() == 0)
        return false;
    const std::optional<pricing::PriceRequest> current = currentRequest();
    return current && pricing::samePrices(*current, *m_listRequest);
}

void frmPrice::updatePrintState()
{
    m_cmdPrint->setEnabled(listPrintable());
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

void frmPrice::clearPrices()
{
    m_lstPrice->clear();
    m_lblChecks->setText({});
    m_lblChecks->hide();
    m_listRequest.reset();
    m_listComplete = false;
    m_lblPricesFor->clear();
    m_cmdPrint->setEnabled(false);
    m_lblcalc->hide();
    m_txtQty->hide();
    m_lblStatus->clear();
    m_lblStatus->hide();
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
    // The book window reads the shop database as it opens: not while a run has it.
    if (m_running)
        return nullptr;
    if (!m_priceBook) {
        frmPriceBook::Setup setup;
        setup.dataFolder = m_dataFolder;
        setup.programFolder = programFolder();
        setup.defaults = parameters();
        setup.currentPage = [this] { return currentBookPage(); };
        setup.printer = &printer();
        m_priceBook = new frmPriceBook(std::move(setup), this);
        m_priceBook->setAttribute(Qt::WA_DeleteOnClose);
        // While the book prices, this window neither reads the shop database nor prices.
        connect(m_priceBook, &frmPriceBook::runningChanged, this, [this](bool running) {
            m_cmdPrice->setEnabled(!running);
            m_cboJobs->setEnabled(!running);
            m_mnuPath->setEnabled(!running);
        });
    }
    m_priceBook->show();
    m_priceBook->raise();
    m_priceBook->activateWindow();
    return m_priceBook;
}

std::variant<pricing::BookPage, QString> frmPrice::currentBookPage() const
{
    std::optional<pricing::ScheduleProblem> problem;
    const std::optional<pricing::PriceRequest> request = currentRequest(&problem);
    if (!request)
        return problem ? fromStd(problem->message()) : kSelectOrderFirst;
    pricing::BookPage page;
    page.orderNo = request->orderNo;
    bool whole = false;
    const int part = QString::fromStdString(request->partNo).toInt(&whole);
    if (whole && part >= INT16_MIN && part <= INT16_MAX)
        page.key.partNo = static_cast<std::int16_t>(part);
    if (request->quoteOrJob != pricing::QuoteOrJob::Unset)
        page.key.quoteOrJob = request->quoteOrJob;
    page.category = request->category;
    page.parameters = pricing::requestParameters(*request);
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
    if (m_run)
        m_run->requestStop();
}

// What a run hands back to the window once it is over.
struct frmPrice::RunOutcome
{
    pricing::PricingResult result;
    // What the run and the engine said as they went, shown when the run is over: (text, title).
    std::vector<std::pair<QString, QString>> messages;
    QString failure;
    QString failureDetail;
    // What the list's prices give to look at, and the quantity of each line of the list, in list order (for
    // the marks); none for a list cut short.
    std::vector<pricing::PriceCheck> checks;
    std::vector<std::int32_t> quantities;
    bool notChecked = false; // the list is too long to be checked
};

namespace {

// The lines and the quantity priced last, handed to the window a batch at a time: often enough to watch the
// run move, seldom enough that a long run does not flood the window with events.
class ProgressBatch
{
public:
    explicit ProgressBatch(std::function<void(QStringList, QString, quint64)> show) : m_show(std::move(show))
    {
        m_sinceShown.start();
    }
    void progress(const std::string& quantity)
    {
        m_quantity = fromStd(quantity);
        ++m_reached;
        showWhenDue();
    }
    void line(const std::string& line)
    {
        m_lines << fromStd(line);
        showWhenDue();
    }
    void show()
    {
        m_show(std::exchange(m_lines, {}), m_quantity, m_reached);
        m_sinceShown.restart();
    }

private:
    static constexpr qint64 kEveryMilliseconds = 40;
    std::function<void(QStringList, QString, quint64)> m_show;
    QStringList m_lines;
    QString m_quantity;
    quint64 m_reached = 0;
    QElapsedTimer m_sinceShown;

    void showWhenDue()
    {
        if (m_sinceShown.elapsed() >= kEveryMilliseconds)
            show();
    }
};

} // namespace

void frmPrice::cmdPriceClick()
{
    if (m_running)
        return;
    // Every field once more: a value typed but not yet left, or saved values out of order.
    std::optional<pricing::ScheduleProblem> problem;
    const std::optional<pricing::PriceRequest> request = currentRequest(&problem);
    if (!request) {
        if (!problem) {
            showMessage(kSelectOrderFirst);
            return;
        }
        showMessage(fromStd(problem->message()));
        fieldOf(problem->item)->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::uint64_t count = pricing::scheduleLength(pricing::requestParameters(*request));
    if (count > kAskAboveQuantities && !askYesNo(kLongScheduleQuestion.arg(count)))
        return;

    m_running = true;
    clearPrices();
    m_listRequest = *request;
    m_lblPricesFor->setText(fromStd(pricing::describeRequest(*request)));
    // What was done before (a sheet printed) is no news of this run.
    m_lblLastAction->clear();
    m_lblLastAction->hide();
    m_lblStatus->setText(QStringLiteral("0 of %1").arg(count));
    m_lblStatus->show();
    m_txtLast->clear();
    m_lblcalc->show();
    m_txtQty->setText(m_txtQty1->text());
    m_txtQty->show();
    m_cmdCancel->show();
    m_cmdCancel->setEnabled(true);
    m_cmdPrint->show();
    lockForRun(true);

    pricing::PricingInputs inputs;
    inputs.dataFolder = m_dataFolder;
    inputs.programFolder = programFolder();
    inputs.order = *m_order;
    inputs.request = *request;

    auto outcome = std::make_shared<RunOutcome>();
    m_run = new WorkerRun(this);
    connect(m_run, &WorkerRun::finished, this, [this, outcome, count] { finishRun(*outcome, count); });
    WorkerRun* run = m_run;
    run->start([this, run, inputs = std::move(inputs), outcome, count] {
        ProgressBatch batch([this, run, count](QStringList lines, QString quantity, quint64 reached) {
            run->post([this, lines = std::move(lines), quantity = std::move(quantity), reached, count] {
                showRunProgress(lines, quantity, reached, count);
            });
        });
        pricing::PricingCallbacks callbacks;
        callbacks.onProgress = [&batch](const std::string& quantity) { batch.progress(quantity); };
        // The list itself holds the lines: the run keeps none, so a long schedule costs the window no more. Each
        // price is kept for the list's checks.
        callbacks.keepResults = false;
        pricing::PriceListChecks listChecks;
        callbacks.onLine = [&batch, &listChecks](const pricing::PricedQuantity& priced) {
            batch.line(priced.line);
            listChecks.add(priced.quantity, priced.price);
        };
        callbacks.onMessage = [&outcome](const std::string& message) {
            outcome->messages.emplace_back(fromStd(message), kProgramTitle);
        };
        callbacks.engineHooks.message = [&outcome](const std::string& text, const std::string& title) {
            outcome->messages.emplace_back(fromStd(text), fromStd(title));
        };
        callbacks.cancelRequested = [run] { return run->stopRequested(); };
        // A fault of the shop's data or files is said in its own words; anything else is a fault of this
        // program, said plainly with the program's own wording behind Show Details.
        try {
            outcome->result = pricing::PricingRun(inputs, callbacks).run();
        } catch (const platform::Fault& fault) {
            outcome->failure = QStringLiteral("The price list could not be created: %1").arg(fromStd(fault.what()));
            outcome->failureDetail = fromStd(fault.detail());
        } catch (const std::exception& error) {
            outcome->failure = kProgramFault;
            outcome->failureDetail = fromStd(error.what());
        }
        // A list cut short is not checked: what is missing could be what looks wrong.
        if (outcome->failure.isEmpty() && !outcome->result.cancelled && !outcome->result.stopped) {
            outcome->checks = listChecks.checks();
            outcome->notChecked = listChecks.tooLong();
            for (const pricing::PricePoint& point : listChecks.prices())
                outcome->quantities.push_back(point.quantity);
        }
        batch.show();
    });
}

void frmPrice::lockForRun(bool running)
{
    // Greyed, so the clerk sees they wait for the run; nothing typed or clicked there reaches them.
    for (const ScheduleField& f : scheduleFields())
        f.field->setEnabled(!running);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_Frame2, m_fraUpDn, m_cboJobs, m_cmdPrice, m_cmdExit})
        widget->setEnabled(!running);
    // These read the shop database, which the run has now.
    m_mnuBook->setEnabled(!running);
    if (m_priceBook)
        m_priceBook->setPricingElsewhere(running);
    updatePrintState();
}

void frmPrice::showRunProgress(const QStringList& lines, const QString& quantity, quint64 reached, quint64 count)
{
    m_lstPrice->addItems(lines);
    m_txtQty->setText(quantity);
    m_lblStatus->setText(QStringLiteral("%1 of %2").arg(reached).arg(count));
}

void frmPrice::finishRun(const RunOutcome& outcome, quint64 count)
{
    m_run->deleteLater();
    m_run = nullptr;
    m_running = false;
    const pricing::PricingResult& result = outcome.result;

    m_txtLast->clear();
    m_cmdCancel->hide();
    m_lblcalc->hide();
    m_txtQty->hide();
    // Only a list that covers the whole schedule can be printed: a cancelled, stopped or failed run, or one
    // with quantities left out, prints nothing that could be taken for the order's price list.
    m_listComplete = outcome.failure.isEmpty() && !result.cancelled && !result.stopped && result.skipped.empty() &&
                     m_lstPrice->count() > 0;
    lockForRun(false);
    if (result.cancelled)
        m_lblStatus->setText(QStringLiteral("Cancelled at %1.").arg(fromStd(result.cancelledAt)));
    else if (m_listComplete)
        m_lblStatus->setText(QStringLiteral("Done: %1 prices.").arg(m_lstPrice->count()));
    else
        m_lblStatus->setText(QStringLiteral("Not complete: %1 of %2 prices.").arg(m_lstPrice->count()).arg(count));
    showChecks(outcome);

    if (m_closeAfterRun) {
        close();
        return;
    }
    for (const auto& [text, title] : outcome.messages)
        showMessage(text, title);
    if (!outcome.failure.isEmpty())
        showDetailedMessage(outcome.failure, outcome.failureDetail);
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

void frmPrice::showChecks(const RunOutcome& outcome)
{
    QStringList texts;
    for (const pricing::PriceCheck& check : outcome.checks)
        texts << QStringLiteral("Check: %1").arg(fromStd(check.text));
    if (outcome.notChecked)
        texts << fromStd(pricing::notCheckedText());
    if (texts.isEmpty())
        return;
    m_lblChecks->setText(texts.join(QLatin1Char('\n')));
    m_lblChecks->show();
    // The status line says so too, as the list may not be shown.
    if (!outcome.checks.empty()) {
        const QString count = outcome.checks.size() == 1 ? QStringLiteral("1 check")
                                                         : QStringLiteral("%1 checks").arg(outcome.checks.size());
        m_lblStatus->setText(m_lblStatus->text() +
                             QStringLiteral(" %1 to look at under the calculated prices.").arg(count));
    }

    // Each line the checks name is marked, with what they say of it.
    std::unordered_map<std::int32_t, int> rowOf;
    for (std::size_t row = 0; row < outcome.quantities.size(); ++row)
        rowOf.emplace(outcome.quantities[row], static_cast<int>(row));
    for (const pricing::PriceCheck& check : outcome.checks) {
        for (const std::int32_t quantity : check.quantities) {
            const auto found = rowOf.find(quantity);
            QListWidgetItem* item = found == rowOf.end() ? nullptr : m_lstPrice->item(found->second);
            if (!item)
                continue;
            item->setBackground(kCheckedLine);
            const QString said = item->toolTip();
            item->setToolTip(said.isEmpty() ? fromStd(check.text) : said + QLatin1Char('\n') + fromStd(check.text));
        }
    }
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
    // Closing in the middle of a run first lets the run stop between quantities.
    if (m_running) {
        m_closeAfterRun = true;
        requestCancel();
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
