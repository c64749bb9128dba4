#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "pricing/OrderSelection.h"
#include "pricing/PriceBook.h"
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
class PricingRun;
}

namespace ui {

class ElidedLabel;
class frmCategories;
class frmPriceBook;

// Messages of the main window, as the counter staff see them.
inline const QString kSelectOrderFirst = QStringLiteral("Sorry but you need to select one of the quotes or jobs above");
inline const QString kQuantityAboveZero = QStringLiteral("Quantities Must Be Greater Than Zero!");
inline const QString kQuantityAbovePrevious =
    QStringLiteral("Quantities Must Be Greater Than Zero or Greater than Previous Quantity!");
inline const QString kOrderGone =
    QStringLiteral("\"%1\" is no longer in the shop database. Choose another order, or open the data folder "
                   "again with File, Path.");
inline const QString kNotAWholeNumber = QStringLiteral("%1 takes a whole number, such as 1000 or 1,000.");
inline const QString kQuantityTooLarge = QStringLiteral("%1 can be at most 2,147,483,647.");
inline const QString kLongScheduleQuestion =
    QStringLiteral("This schedule prices %1 quantities, which takes a while. Create the price list all the same?");
// Schedules longer than this are priced only when the user says so.
inline constexpr std::uint64_t kAskAboveQuantities = 1000;
inline const QString kProgramFault =
    QStringLiteral("The price list could not be created because of a fault in this program. No price of it is "
                   "shown or printed. Please report it to your support, with the text under Show Details.");
inline const QString kNothingToPreview =
    QStringLiteral("There is no price list to preview yet. Choose a quote or job and create the price sheet first.");
inline const QString kFolderChangedDuringRun =
    QStringLiteral("The new data folder is saved, but this price list is still being made from the old one. When it "
                   "is finished, choose File, Path and click Continue again to load the new folder.");

// The main window "Price Catalogs": the user picks a quote or job of the shop database, sets the quantity
// schedule, the rounding and the typeface, and creates the price list of the order. The pricing itself is
// the pricing run of pricing/; the window only feeds it and shows what it gives back.
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

    // "Create Price Sheet": the pricing run over the schedule. Ignored while a run is in progress.
    void cmdPriceClick();
    bool isRunning() const noexcept { return m_running; }
    // Asks a running pricing to stop after the quantity being priced (the order row is still restored).
    void requestCancel();

    // "Print Price Sheet": prints the price list of the last run on the chosen printer.
    void printSheet();
    // File, Print Preview: the sheet as it will print, before a stack of them is printed.
    void showPrintPreview();
    // What the sheet prints, read from the window's fields now.
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
    // The page Add Current Order adds: the chosen order with the window's parameters and category.
    std::optional<pricing::BookPage> currentBookPage() const;

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

    void showOrder(pricing::OrderSelection order);
    // The price list no longer belongs to the order and parameters shown: cleared, and Print off.
    void clearPrices();
    // A quantity or step field with its name in messages, its neighbours it must stay above and below,
    // and its place among the saved settings.
    struct FieldRule
    {
        QLineEdit* field;
        QString name;
        QLineEdit* previous;
        QLineEdit* next;
        std::size_t position;
        bool tested;
    };
    std::array<FieldRule, 7> fieldRules() const;
    // What is wrong with the field's value, for the user; nothing when it can be taken.
    std::optional<QString> fieldFault(const FieldRule& rule) const;
    bool scheduleFieldsAreSound();                   // says what is wrong with the first field that is not
    QString pricesForText() const;                   // which order and parameters the list belongs to
    void fieldEntered(QLineEdit* field);
    void fieldLeft(QLineEdit* field);
    void cboJobsEntered();
    void cboJobsLeft();
    void roundingChosen();
    void typefaceChosen(bool save);
    void check1Changed(bool checked);
    void placePriceFrame();
    void showPrinterDialog();
    // The sheet of the window's fields, printed now.
    sheet::SheetOps sheetOps() const;
    void disablePrint();
    void finishRun();

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
    QPushButton* m_cmdPrice = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblPricesFor = nullptr;
    ElidedLabel* m_lblDataFolder = nullptr;
    ElidedLabel* m_lblLastAction = nullptr;
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
    std::unique_ptr<pricing::PricingRun> m_lastRun; // keeps the engine of the last pricing
    std::unique_ptr<QPrinter> m_printer;
    QPointer<frmCategories> m_categories;
    QPointer<frmPriceBook> m_priceBook;
    QString m_cboJobsOnEntry;
    bool m_running = false;
    bool m_cancelRequested = false;
    bool m_closeAfterRun = false;
    bool m_checkingField = false;
};

} // namespace ui
