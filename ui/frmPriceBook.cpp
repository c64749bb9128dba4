#include "ui/frmPriceBook.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/Fault.h"
#include "platform/Format.h"
#include "pricing/BookRun.h"
#include "pricing/PriceChanges.h"
#include "pricing/PricedBook.h"
#include "sheet/BookLayout.h"
#include "sheet/BookPdf.h"
#include "startup/ShopSettings.h"
#include "ui/MessageBox.h"
#include "ui/SheetPrinter.h"

namespace ui {

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QString scheduleText(const pricing::PriceParameters& p)
{
    return fromStd(p.qty1 + " +" + p.jump1 + " to " + p.qty2 + " +" + p.jump2 + " to " + p.qty3 + " +" + p.jump3 +
                   " to " + p.qty4);
}

} // namespace

frmPriceBook::frmPriceBook(Setup setup, QWidget* parent) : QDialog(parent), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("frmPriceBook"));
    setWindowTitle(QStringLiteral("Price Book"));

    m_grdPages = new QTableWidget(0, 5, this);
    m_grdPages->setObjectName(QStringLiteral("grdPages"));
    m_grdPages->setHorizontalHeaderLabels({QStringLiteral("Reference"), QStringLiteral("Part"),
                                           QStringLiteral("Description"), QStringLiteral("Category"),
                                           QStringLiteral("Schedule")});
    m_grdPages->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdPages->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdPages->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdPages->verticalHeader()->setVisible(false);
    m_grdPages->horizontalHeader()->setStretchLastSection(true);

    m_cmdAdd = button(QStringLiteral("&Add Current Order"), "cmdAdd", this);
    m_cmdRemove = button(QStringLiteral("&Remove"), "cmdRemove", this);
    m_cmdUp = button(QStringLiteral("Move &Up"), "cmdUp", this);
    m_cmdDown = button(QStringLiteral("Move &Down"), "cmdDown", this);
    m_cmdPreview = button(QStringLiteral("Pre&view"), "cmdPreview", this);
    m_cmdPrint = button(QStringLiteral("&Print"), "cmdPrint", this);
    m_cmdSavePdf = button(QStringLiteral("&Save as PDF..."), "cmdSavePdf", this);
    m_cmdClose = button(QStringLiteral("Close"), "cmdClose", this);
    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {m_cmdAdd, m_cmdRemove, m_cmdUp, m_cmdDown})
        side->addWidget(b);
    side->addStretch();
    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {m_cmdPreview, m_cmdPrint, m_cmdSavePdf})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(m_cmdClose);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_grdPages, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->addLayout(bottom, 1, 0, 1, 2);
    layout->addWidget(m_lblStatus, 2, 0, 1, 2);
    resize(760, 420);

    connect(m_cmdAdd, &QPushButton::clicked, this, &frmPriceBook::addCurrentOrder);
    connect(m_cmdRemove, &QPushButton::clicked, this, &frmPriceBook::removePage);
    connect(m_cmdUp, &QPushButton::clicked, this, [this] { movePage(-1); });
    connect(m_cmdDown, &QPushButton::clicked, this, [this] { movePage(1); });
    connect(m_cmdPreview, &QPushButton::clicked, this, &frmPriceBook::preview);
    connect(m_cmdPrint, &QPushButton::clicked, this, &frmPriceBook::print);
    connect(m_cmdSavePdf, &QPushButton::clicked, this, qOverload<>(&frmPriceBook::saveAsPdf));
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::close);
    load();
}

void frmPriceBook::load()
{
    try {
        m_pages = pricing::readPriceBook(m_setup.dataFolder, m_setup.defaults);
    } catch (const platform::Fault& fault) {
        m_pages.clear();
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
    }
    m_descriptions.clear();
    for (const pricing::BookPage& page : m_pages)
        m_descriptions.push_back(describe(page));
    refresh(m_pages.empty() ? -1 : 0);
}

QString frmPriceBook::describe(const pricing::BookPage& page) const
{
    if (!page.problem.empty())
        return fromStd("(" + page.problem + ")");
    try {
        const auto order = pricing::findBookOrder(pricing::databasePath(m_setup.dataFolder), page);
        return order ? fromStd(order->description) : QStringLiteral("(not in the shop database)");
    } catch (const platform::Fault&) {
        return QStringLiteral("(the shop database could not be read)");
    }
}

void frmPriceBook::save()
{
    try {
        pricing::writePriceBook(m_setup.dataFolder, m_pages);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(QStringLiteral("The price book could not be saved: %1").arg(fromStd(fault.what())),
                            fromStd(fault.detail()));
    }
}

void frmPriceBook::refresh(int selectRow)
{
    m_grdPages->setRowCount(static_cast<int>(m_pages.size()));
    for (int row = 0; row < m_grdPages->rowCount(); ++row) {
        const pricing::BookPage& page = m_pages[static_cast<std::size_t>(row)];
        const QString cells[] = {
            fromStd(pricing::bookReference(page.key.quoteOrJob.value_or(pricing::QuoteOrJob::Quote), page.orderNo)),
            page.key.partNo ? QString::number(*page.key.partNo) : QString(),
            m_descriptions[static_cast<std::size_t>(row)],
            fromStd(page.category),
            scheduleText(page.parameters),
        };
        for (int column = 0; column < 5; ++column)
            m_grdPages->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    if (selectRow >= 0 && selectRow < m_grdPages->rowCount())
        m_grdPages->selectRow(selectRow);
    m_lblStatus->setText(QStringLiteral("%1 pages").arg(m_pages.size()));
}

int frmPriceBook::selectedRow() const
{
    const QList<QTableWidgetItem*> selected = m_grdPages->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

void frmPriceBook::addCurrentOrder()
{
    const std::optional<pricing::BookPage> page = m_setup.currentPage ? m_setup.currentPage() : std::nullopt;
    if (!page) {
        showMessage(QStringLiteral("Sorry but you need to select one of the quotes or jobs above"));
        return;
    }
    m_pages.push_back(*page);
    m_descriptions.push_back(describe(*page));
    save();
    refresh(static_cast<int>(m_pages.size()) - 1);
}

void frmPriceBook::removePage()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_pages.erase(m_pages.begin() + row);
    m_descriptions.erase(m_descriptions.begin() + row);
    save();
    refresh(std::min(row, static_cast<int>(m_pages.size()) - 1));
}

void frmPriceBook::movePage(int by)
{
    const int row = selectedRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= static_cast<int>(m_pages.size()))
        return;
    std::swap(m_pages[static_cast<std::size_t>(row)], m_pages[static_cast<std::size_t>(to)]);
    std::swap(m_descriptions[static_cast<std::size_t>(row)], m_descriptions[static_cast<std::size_t>(to)]);
    save();
    refresh(to);
}

void frmPriceBook::preview()
{
    printBook(Output::Preview);
}

void frmPriceBook::print()
{
    printBook(Output::Printer);
}

void frmPriceBook::saveAsPdf()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the Price Book as PDF"),
                                                      QStringLiteral("PriceBook.pdf"),
                                                      QStringLiteral("PDF files (*.pdf)"));
    if (!path.isEmpty())
        saveAsPdf(path);
}

void frmPriceBook::saveAsPdf(const QString& path)
{
    printBook(Output::File, path);
}

void frmPriceBook::printBook(Output output, const QString& file)
{
    if (m_pages.empty()) {
        showMessage(kEmptyBook);
        return;
    }
    const int count = static_cast<int>(m_pages.size());
    QProgressDialog progress(QStringLiteral("Pricing the price book..."), QStringLiteral("Cancel"), 0, count, this);
    progress.setObjectName(QStringLiteral("dlgBookProgress"));
    progress.setWindowTitle(QStringLiteral("Price Book"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);

    // What moved since the book printed last is found page by page as the book is priced, and each page's
    // lines are put aside until printed: a book of long pages holds one page's lines at a time.
    std::optional<pricing::LastBook> last;
    try {
        last = pricing::LastBook::open(m_setup.dataFolder);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
    }
    std::optional<pricing::PricedBook> priced;
    try {
        priced.emplace(std::move(last), false);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
        return;
    }

    pricing::BookRunCallbacks callbacks;
    callbacks.onPage = [&progress](std::size_t index, std::size_t total, const pricing::BookPage& page) {
        progress.setValue(static_cast<int>(index));
        progress.setLabelText(QStringLiteral("Pricing page %1 of %2: %3")
                                  .arg(index + 1)
                                  .arg(total)
                                  .arg(fromStd(pricing::describeBookPage(page))));
        QCoreApplication::processEvents();
    };
    callbacks.onPriced = [&priced](std::size_t index, pricing::PricedPage& page) { priced->add(index, page); };
    callbacks.cancelRequested = [&progress] {
        QCoreApplication::processEvents();
        return progress.wasCanceled();
    };
    pricing::BookRunResult result;
    try {
        result = pricing::priceBook(m_setup.dataFolder, m_setup.programFolder, m_pages, callbacks);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what() + std::string(" The price book was not printed.")),
                            fromStd(fault.detail()));
        return;
    }
    progress.setValue(count);
    if (result.stopped) {
        showDetailedMessage(fromStd(result.stopped->message + " The price book was not printed."),
                            fromStd(result.stopped->detail));
        return;
    }
    if (result.cancelled) {
        m_lblStatus->setText(QStringLiteral("Cancelled: nothing of the price book was printed."));
        return;
    }

    sheet::BookFront front;
    front.company = startup::shopCompanyName();
    front.printedAt = sheet::localNowSerial();
    front.changesSince = priced->changesSince();
    const sheet::LaidOutBook book = sheet::layOutBook(sheet::bookEntries(result.pages, priced->changedPages()), front);
    const sheet::BookPageLines lines = [&priced](std::size_t entry) {
        return sheet::PageLines{priced->lines(entry), priced->marks(entry)};
    };

    QPrinter& printer = *m_setup.printer;
    QString written;
    try {
        switch (output) {
        case Output::Preview: {
            QPrintPreviewDialog dialog(&printer, this);
            dialog.setObjectName(QStringLiteral("dlgBookPreview"));
            dialog.setWindowTitle(QStringLiteral("Price Book Preview"));
            connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&book, &lines](QPrinter* target) {
                QPainter painter(target);
                sheet::paintBook(book, lines, painter, *target);
            });
            dialog.exec();
            return; // a preview prints nothing, so the prices of the last book stay
        }
        case Output::File:
            sheet::writeBookPdf(book, lines, file);
            written = QStringLiteral("The price book was saved as %1.").arg(file);
            break;
        case Output::Printer:
            // A printer that prints to a file writes as Save as PDF does, never over an earlier file.
            if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
                const QString target = unusedFileName(printer.outputFileName());
                sheet::writeBookPdf(book, lines, target, printer.pageLayout());
                written = QStringLiteral("The price book was saved as %1.").arg(target);
            } else {
                printer.setDocName(QStringLiteral("Counter Price Book"));
                QPainter painter;
                if (!painter.begin(&printer)) {
                    showMessage(QStringLiteral("The printer %1 could not start the price book. Check that it is "
                                               "switched on and ready, or choose another with File, Printer.")
                                    .arg(printer.printerName()));
                    return;
                }
                sheet::paintBook(book, lines, painter, printer);
                painter.end();
                written = QStringLiteral("The price book was sent to the printer %1.").arg(printer.printerName());
            }
            break;
        }
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
        return;
    }

    // The binder now holds these prices: kept for the next book.
    try {
        priced->keepForNextBook(m_setup.dataFolder, result.pages, platform::formatDate(front.printedAt, "mm/dd/yy"));
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(std::string(fault.what()) + " The next price book cannot show what changed."),
                            fromStd(fault.detail()));
    }

    std::vector<pricing::PricedPage> failed;
    std::string details;
    for (const pricing::PricedPage& page : result.pages) {
        if (!page.printable()) {
            failed.push_back(page);
            details += pricing::describeBookPage(page.page) + ": " + page.problem + "\n";
        }
    }
    m_lblStatus->setText(written);
    if (!failed.empty())
        showDetailedMessage(QStringLiteral("%1 of the %2 pages could not be priced and were not printed; the "
                                           "contents page says why.")
                                .arg(failed.size())
                                .arg(count),
                            fromStd(details));
}

} // namespace ui
