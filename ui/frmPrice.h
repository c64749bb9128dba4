#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "pricing/OrderSelection.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceRequest.h"
#include "pricing/PriceSettings.h"
#include "sheet/PriceSheet.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPrinter;
class QPushButton;
class QRadioButton;
class QResizeEvent;

namespace pricing {
struct PricingResult;
}

namespace ui {

class WrappingLabel;
class frmCategories;
class frmPriceBook;
class WorkerRun;

// Messages of the main window, as the counter staff see them.
inline const QString kSelectOrderFirst = QStringLiteral("Sorry but you need to select one of the quotes or jobs above");
inline const QString kOrderGone =
    QStringLiteral("\"%1\" is no longer in the shop database. Choose another order, or open the data folder "
                   "again with File, Path.");
inline const QString kLongScheduleQuestion =
    QStringLiteral("This schedule prices %1 quantities, which takes a while. Create the price list all the same?");
// Schedules longer than this are priced only when the user says so.
inline constexpr std::uint64_t kAskAboveQuantities = 1000;
inline const QString kProgramFault =
    QStringLiteral("The price list could not be created because of a fault in this program. No price of it is "
                   "shown or printed. Please report it to your support, with the text under Show Details.");
inline const QString kNothingToPreview =
    QStringLiteral("There is no price list to preview yet. Choose a quote or job and create the price sheet first.");
inline const QString kListNotForTheseSettings =
    QStringLiteral("The price list shown is not complete, or was made for other settings than the window shows "
                   "now, so it is not printed. Click Create Price Sheet to price the order as it is set now.");
inline const QString kFolderChangedDuringRun =
    QStringLiteral("The new data folder is saved, but this price list is still being made from the old one. When it "
                   "is finished, choose File, Path and click Continue again to load the new folder.");

// The main window "Price Catalogs": the user picks a quote or job of the shop database, sets the quantity
// schedule, the rounding and the typeface, and creates the price list of the order. The pricing itself is
// the pricing run of pricing/, on a thread of its own; the window only feeds it a price request and shows
// what it gives back. The list carries the request it was priced for, and Print prints it only while it is
// complete and the window still shows that request.
class frmPrice : public QMainWindow
{
    Q_OBJECT

public:
    // Loads at once: the marker file's data folder, "Categories.dat", "PriceData.dta" and the order list.
    explicit frmPrice(QWidget* parent = nullptr);
    ~frmPrice() override;

    // The data folder this window read from the marker file at its load.
    const std::string& dataFolder() const noexcept { return m_dataFolder; }
    // Loads the window again from the data folder the marker file names now: the orders, the categories and
    // the pricing parameters; what was shown of the folder before (the order, its prices) is cleared. The
    // folder chooser calls it when the user clicks Continue. While a price list is being made the window
    // keeps its folder and says so.
    void reloadDataFolder();

    // Choosing an entry of cboJobs: fills the texts of the order and remembers its row. An entry is chosen
    // by its place in the list; a text that is none chooses the first row of its order number.
    void chooseOrder(const QString& entry);
    void chooseOrderAt(int index);
    bool orderChosen() const noexcept { return m_order.has_value(); }

    // What the window is set to price now: the chosen order with the schedule, rounding, typeface and
    // category the window shows. None without a chosen order, or when a schedule field cannot be taken
    // (`problem` then says which and why).
    std::optional<pricing::PriceRequest> currentRequest(std::optional<pricing::ScheduleProblem>* problem = nullptr) const;

    // "Create Price Sheet": prices the current request on a thread of its own; returns at once. Ignored while
    // a run is in progress. While it runs, the order list, the quantities and the rounding are off.
    void cmdPriceClick();
    bool isRunning() const noexcept { return m_running; }
    // Asks a running pricing to stop after the quantity being priced (the order row is still restored).
    void requestCancel();

    // "Print Price Sheet": prints the price list on the chosen printer, when it is complete and the window
    // still shows the request it was priced for.
    void printSheet();
    // File, Print Preview: the sheet as it will print, before a stack of them is printed.
    void showPrintPreview();
    // What the sheet prints now: the list, with the order's texts and the current typeface and category.
    sheet::SheetInputs sheetInputs() const;
    // The printer chosen with File, Printer; made on first use.
    QPrinter& printer();

    // Save price settings (PriceData) and apply them (GetPrice).
    void PriceData();
    void GetPrice();
    const pricing::PriceDataPositions& priceSettings() const noexcept { return m_settings; }

    // The parameters as the fields and options show them now.
    pricing::PriceParameters parameters() const;

    // File, Categories: the category editor, one at a time, kept in step with cboCategories.
    frmCategories* showCategories();

    // File, Price Book: the book's pages and the whole book printed, one window at a time.
    frmPriceBook* showPriceBook();
    // The page Add Current Order adds: the chosen order with the window's parameters and category; or why
    // there is none, in the shop's words.
    std::variant<pricing::BookPage, QString> currentBookPage() const;

signals:
    // Menu commands whose windows live in the program shell.
    void pathRequested();
    void aboutRequested();
    void procedureRequested();
    // The window has closed; the program ends with it.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildPriceList();
    void buildMenus();
    void loadWindow();
    void loadCategories();
    void loadPriceData();
    void loadOrders();
    // The status line: the data folder in use and whether the shop database is in it.
    void showDataFolder();
    // What was done last (a sheet printed, a folder loaded), under the data folder.
    void showStatus(const QString& text);
    void rememberCategory() const;
    void rememberOrder() const;
    void restoreCategory();

    void showOrder(pricing::OrderSelection order, int index);
    // The price list no longer belongs to the order and parameters shown: cleared, and Print off.
    void clearPrices();
    // A quantity or step field: the number of the schedule it holds and its place among the saved settings.
    struct ScheduleField
    {
        QLineEdit* field;
        pricing::ScheduleItem item;
        std::size_t position;
    };
    std::array<ScheduleField, pricing::kScheduleItems> scheduleFields() const;
    QLineEdit* fieldOf(pricing::ScheduleItem item) const;
    void fieldEntered(QLineEdit* field);
    void fieldLeft(QLineEdit* field);
    // After a parameter was taken: the list goes when it no longer matches, Print follows.
    void parametersChanged();
    void roundingChosen();
    void typefaceChosen(bool save);
    // Print is on only for a complete list whose request the window shows now.
    bool listPrintable() const;
    void updatePrintState();
    void check1Changed(bool checked);
    void placePriceFrame();
    void showPrinterDialog();
    // The fields of the request, and the commands that read the shop database, off while a run prices.
    void lockForRun(bool running);
    void showRunProgress(const QStringList& lines, const QString& quantity, quint64 reached, quint64 count);
    struct RunOutcome;
    void finishRun(const RunOutcome& outcome, quint64 count);
    // Says under the list what its prices give to look at, and marks the quantities concerned.
    void showChecks(const RunOutcome& outcome);

    std::string categoryFolder() const;

    // Controls, named as the shop's staff and the old screens know them.
    QLabel* m_Label1 = nullptr;
    QLabel* m_Picture1 = nullptr;
    QGroupBox* m_fraJob = nullptr;
    QComboBox* m_cboJobs = nullptr;
    QRadioButton* m_optQuote = nullptr;
    QRadioButton* m_optJob = nullptr;
    QGroupBox* m_fraDescription = nullptr;
    QLabel* m_lblStock = nullptr;
    QLineEdit* m_txtStock = nullptr;
    QLabel* m_lblDesc = nullptr;
    QLineEdit* m_txtDesc = nullptr;
    QLabel* m_lblSize = nullptr;
    QLineEdit* m_txtSize = nullptr;
    QLabel* m_lblBind = nullptr;
    QLineEdit* m_txtBind = nullptr;
    QLabel* m_Label9 = nullptr;
    QComboBox* m_cboCategories = nullptr;
    QGroupBox* m_Frame1 = nullptr;
    QLineEdit* m_txtQty1 = nullptr;
    QLineEdit* m_txtQty2 = nullptr;
    QLineEdit* m_txtQty3 = nullptr;
    QLineEdit* m_txtQty4 = nullptr;
    QLineEdit* m_txtJump1 = nullptr;
    QLineEdit* m_txtJump2 = nullptr;
    QLineEdit* m_txtJump3 = nullptr;
    QLabel* m_Label5Round = nullptr;
    QGroupBox* m_Frame2 = nullptr;
    QRadioButton* m_opt25 = nullptr;
    QRadioButton* m_opt1 = nullptr;
    QRadioButton* m_optNone = nullptr;
    QGroupBox* m_fraUpDn = nullptr;
    QRadioButton* m_optUP = nullptr;
    QRadioButton* m_optDN = nullptr;
    QLabel* m_Label5Font = nullptr;
    QRadioButton* m_optCour = nullptr;
    QRadioButton* m_optTime = nullptr;
    QRadioButton* m_optSans = nullptr;
    QLabel* m_lblcalc = nullptr;
    QLineEdit* m_txtQty = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QCheckBox* m_Check1 = nullptr;
    QGroupBox* m_fraCalculated = nullptr;
    QLabel* m_lblCalculated = nullptr;
    QListWidget* m_lstPrice = nullptr;
    WrappingLabel* m_lblChecks = nullptr; // under the list: what its prices give to look at
    QPushButton* m_cmdPrice = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblPricesFor = nullptr;
    WrappingLabel* m_lblDataFolder = nullptr;
    WrappingLabel* m_lblLastAction = nullptr;
    QLineEdit* m_txtTemp = nullptr;
    QLineEdit* m_txtQuoteorJob = nullptr;
    QLineEdit* m_txtPart = nullptr;
    QLineEdit* m_txtOrigQty = nullptr;
    QLineEdit* m_txtLast = nullptr;
    QMenu* m_mnuFile = nullptr;
    QAction* m_mnuPath = nullptr;
    QAction* m_mnuPrinter = nullptr;
    QAction* m_mnuPreview = nullptr;
    QAction* m_mnuCat = nullptr;
    QAction* m_mnuBook = nullptr;
    QAction* m_mnuExit = nullptr;
    QMenu* m_mnuHelp = nullptr;
    QAction* m_mnuAbout = nullptr;
    QAction* m_mnuProcedure = nullptr;

    std::string m_dataFolder;
    pricing::PriceDataPositions m_settings{};
    std::optional<pricing::OrderSelection> m_order;
    int m_orderIndex = -1; // the entry of cboJobs the order was chosen from
    // What the list shown was priced for (or is being priced for), and whether every quantity got its price.
    std::optional<pricing::PriceRequest> m_listRequest;
    bool m_listComplete = false;
    WorkerRun* m_run = nullptr; // the run going on
    std::unique_ptr<QPrinter> m_printer;
    QPointer<frmCategories> m_categories;
    QPointer<frmPriceBook> m_priceBook;
    bool m_running = false;
    bool m_closeAfterRun = false;
    bool m_checkingField = false;
};

} // namespace ui
