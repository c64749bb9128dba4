#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "pricing/PriceBook.h"
#include "pricing/PriceSettings.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace ui {

inline const QString kEmptyBook =
    QStringLiteral("The price book has no pages yet. Choose a quote or job in the main window and click Add "
                   "Current Order.");

// File, Price Book: the pages of the Counter Price Book (PriceBook.dat), one row each, to add the main
// window's order to, remove and move, and the whole book to preview, print or save as one PDF. Every change
// of the pages is written to the book file at once. Printing prices every page with the pricing run, page by
// page with Cancel, and uses the main window's printer.
class frmPriceBook : public QDialog
{
    Q_OBJECT

public:
    struct Setup
    {
        std::string dataFolder;
        std::string programFolder;
        pricing::PriceParameters defaults; // for items a line of the book leaves out
        // The page the main window would add now (its order, parameters and category); none without an order.
        std::function<std::optional<pricing::BookPage>()> currentPage;
        QPrinter* printer = nullptr; // the main window's printer, shared with its Print
    };

    explicit frmPriceBook(Setup setup, QWidget* parent = nullptr);

    const std::vector<pricing::BookPage>& pages() const noexcept { return m_pages; }

    void addCurrentOrder();
    void removePage();
    void movePage(int by);
    void preview();
    void print();
    void saveAsPdf();
    // Save as PDF to a file already chosen.
    void saveAsPdf(const QString& path);

private:
    enum class Output { Preview, Printer, File };

    Setup m_setup;
    std::vector<pricing::BookPage> m_pages;
    std::vector<QString> m_descriptions; // of each page's order, as the shop database has it
    QTableWidget* m_grdPages = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdRemove = nullptr;
    QPushButton* m_cmdUp = nullptr;
    QPushButton* m_cmdDown = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdSavePdf = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QLabel* m_lblStatus = nullptr;

    void load();
    void save();
    void refresh(int selectRow);
    int selectedRow() const;
    QString describe(const pricing::BookPage& page) const;
    void printBook(Output output, const QString& file = {});
};

} // namespace ui
