#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <QDialog>
#include <QString>

#include "platform/Fault.h"
#include "pricing/BookRun.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceMatrix.h"
#include "pricing/PricedBook.h"
#include "pricing/PriceSettings.h"

class QPrinter;
class QProgressDialog;
class QPushButton;
class QTableWidget;

namespace pricing {
struct BookRunResult;
}

namespace ui {

class WorkerRun;
class WrappingLabel;

inline const QString kEmptyBook =
    QStringLiteral("The price book has no pages yet. Choose a quote or job in the main window and click Add "
                   "Current Order.");

// File, Price Book: the pages of the Counter Price Book (PriceBook.dat), one row each in the order the book
// prints them, to add the main window's order to, remove and move, and the whole book to preview, print or
// save as one PDF, or to export as a web store's price matrix. Every change of the pages is written to the book
// file at once. Printing and exporting price every page with the pricing run on a thread of its own, page by
// page with Cancel; printing uses the main window's printer.
class frmPriceBook : public QDialog
{
    Q_OBJECT

public:
    struct Setup
    {
        std::string dataFolder;
        std::string programFolder;
        pricing::PriceParameters defaults; // for items a line of the book leaves out
        // The page the main window would add now (its order, parameters and category), or why there is none.
        std::function<std::variant<pricing::BookPage, QString>()> currentPage;
        QPrinter* printer = nullptr; // the main window's printer, shared with its Print
    };

    explicit frmPriceBook(Setup setup, QWidget* parent = nullptr);
    ~frmPriceBook() override;

    const std::vector<pricing::BookPage>& pages() const noexcept { return m_pages; }
    bool isRunning() const noexcept { return m_run != nullptr; }

    void addCurrentOrder();
    void removePage();
    void movePage(int by);
    // Preview, Print and Save as PDF price the book first and return at once; the output follows when every
    // page is priced.
    void preview();
    void print();
    void saveAsPdf();
    // Save as PDF to a file already chosen (an earlier file of that name is kept: the book takes the next free
    // name).
    void saveAsPdf(const QString& path);
    // Export Price Matrix...: the book's price matrix, a row a printed page and a column a quantity, as CSV or,
    // for a file whose name ends in ".json", as JSON. The chosen file is replaced when the whole matrix is
    // written; what is no file at its name (a folder, a pipe, a device) is refused before anything is priced.
    void exportMatrix();
    void exportMatrix(const QString& path);

    // While the main window prices, the shop database is its run's: nothing here reads it.
    void setPricingElsewhere(bool pricing);

signals:
    // The book's pricing started or ended.
    void runningChanged(bool running);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Output { Preview, Printer, File, Matrix };

    Setup m_setup;
    std::vector<pricing::BookPage> m_pages; // in printed order
    std::vector<QString> m_descriptions; // of each page's order, as the shop database has it
    QTableWidget* m_grdPages = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdRemove = nullptr;
    QPushButton* m_cmdUp = nullptr;
    QPushButton* m_cmdDown = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdSavePdf = nullptr;
    QPushButton* m_cmdMatrix = nullptr;
    QPushButton* m_cmdClose = nullptr;
    WrappingLabel* m_lblStatus = nullptr;
    QProgressDialog* m_progress = nullptr;
    WorkerRun* m_run = nullptr;
    bool m_pricingElsewhere = false;
    bool m_closeAfterRun = false;

    void load();
    void save();
    void refresh(int selectRow);
    void updateButtons();
    int selectedRow() const;
    QString describe(const pricing::BookPage& page) const;
    void printBook(Output output, const QString& file = {});
    // What a book's work hands back: the pages priced, each page's lines put aside and compared with the last
    // book, or the fault that stopped it; for an export, what the price matrix holds once written.
    struct PricedBookRun
    {
        pricing::BookRunResult result;
        std::optional<pricing::PricedBook> priced;
        std::optional<platform::Fault> fault;
        std::optional<pricing::MatrixSize> matrix;
        std::optional<platform::Fault> matrixFault; // the matrix could not be written
    };
    void bookPriced(PricedBookRun& book, Output output, const QString& file);
    // Says which pages could not be priced, and so were `how` ("left out of the price matrix").
    void tellPagesLeftOut(const pricing::BookRunResult& result, const QString& how);
};

} // namespace ui
