#include "ui/frmPriceBook.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/Fault.h"
#include "platform/FileKind.h"
#include "platform/Format.h"
#include "platform/ReplacementFile.h"
#include "pricing/BookRun.h"
#include "pricing/PriceChanges.h"
#include "pricing/PriceMatrix.h"
#include "pricing/PricedBook.h"
#include "sheet/BookLayout.h"
#include "sheet/BookPdf.h"
#include "startup/ShopSettings.h"
#include "ui/MessageBox.h"
#include "ui/PrinterChoice.h"
#include "ui/SaveFileDialog.h"
#include "ui/SheetPrinter.h"
#include "ui/WindowPlace.h"
#include "ui/WorkerRun.h"
#include "ui/WrappingLabel.h"

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

// The folders Save as PDF and Export Price Matrix offer: the one saved into last, else the user's documents
// folder.
const QString kPdfFolderKey = QStringLiteral("PriceBook/PdfFolder");
const QString kMatrixFolderKey = QStringLiteral("PriceBook/MatrixFolder");

// The Save dialog opened on `name` in the folder `key` keeps; the folder of the file chosen is kept for the
// next time. Empty when the user cancels.
QString chooseInLastFolder(QWidget* parent, const QString& key, SaveFileQuestion question, const QString& name)
{
    const QString folder =
        QSettings().value(key, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toString();
    question.suggested = QDir(folder).filePath(name);
    const QString path = chooseSaveFile(parent, question);
    if (!path.isEmpty())
        QSettings().setValue(key, QFileInfo(path).absolutePath());
    return path;
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
    // Each column as wide as its texts, the schedule taking what room is left: nothing is cut off (a window
    // too narrow for the texts scrolls).
    QHeaderView* header = m_grdPages->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);

    m_cmdAdd = button(QStringLiteral("&Add Current Order"), "cmdAdd", this);
    m_cmdRemove = button(QStringLiteral("&Remove"), "cmdRemove", this);
    m_cmdUp = button(QStringLiteral("Move &Up"), "cmdUp", this);
    m_cmdDown = button(QStringLiteral("Move &Down"), "cmdDown", this);
    m_cmdPreview = button(QStringLiteral("Pre&view"), "cmdPreview", this);
    m_cmdPrint = button(QStringLiteral("&Print"), "cmdPrint", this);
    m_cmdSavePdf = button(QStringLiteral("&Save as PDF..."), "cmdSavePdf", this);
    m_cmdMatrix = button(QStringLiteral("Export Price &Matrix..."), "cmdMatrix", this);
    m_cmdClose = button(QStringLiteral("Close"), "cmdClose", this);
    m_lblStatus = new WrappingLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {m_cmdAdd, m_cmdRemove, m_cmdUp, m_cmdDown})
        side->addWidget(b);
    side->addStretch();
    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {m_cmdPreview, m_cmdPrint, m_cmdSavePdf, m_cmdMatrix})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(m_cmdClose);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_grdPages, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->addLayout(bottom, 1, 0, 1, 2);
    layout->addWidget(m_lblStatus, 2, 0, 1, 2);
    resize(760, 420);
    keepWindowPlace(this);

    connect(m_cmdAdd, &QPushButton::clicked, this, &frmPriceBook::addCurrentOrder);
    connect(m_cmdRemove, &QPushButton::clicked, this, &frmPriceBook::removePage);
    connect(m_cmdUp, &QPushButton::clicked, this, [this] { movePage(-1); });
    connect(m_cmdDown, &QPushButton::clicked, this, [this] { movePage(1); });
    connect(m_cmdPreview, &QPushButton::clicked, this, &frmPriceBook::preview);
    connect(m_cmdPrint, &QPushButton::clicked, this, &frmPriceBook::print);
    connect(m_cmdSavePdf, &QPushButton::clicked, this, qOverload<>(&frmPriceBook::saveAsPdf));
    connect(m_cmdMatrix, &QPushButton::clicked, this, qOverload<>(&frmPriceBook::exportMatrix));
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::close);
    load();
}

frmPriceBook::~frmPriceBook()
{
    // A book still being priced stops between quantities and is waited for.
    delete m_run;
}

void frmPriceBook::load()
{
    try {
        m_pages = pricing::inPrintedOrder(pricing::readPriceBook(m_setup.dataFolder, m_setup.defaults));
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
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            m_grdPages->setItem(row, column, item);
        }
    }
    if (selectRow >= 0 && selectRow < m_grdPages->rowCount())
        m_grdPages->selectRow(selectRow);
    m_lblStatus->setText(m_pages.size() == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(m_pages.size()));
    updateButtons();
}

void frmPriceBook::updateButtons()
{
    // Adding reads the order from the shop database; printing prices the book from it.
    const bool canRead = !isRunning() && !m_pricingElsewhere;
    for (QPushButton* b : {m_cmdAdd, m_cmdPreview, m_cmdPrint, m_cmdSavePdf, m_cmdMatrix})
        b->setEnabled(canRead);
    for (QPushButton* b : {m_cmdRemove, m_cmdUp, m_cmdDown})
        b->setEnabled(!isRunning());
}

void frmPriceBook::setPricingElsewhere(bool pricing)
{
    m_pricingElsewhere = pricing;
    updateButtons();
}

int frmPriceBook::selectedRow() const
{
    const QList<QTableWidgetItem*> selected = m_grdPages->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

void frmPriceBook::addCurrentOrder()
{
    if (isRunning() || m_pricingElsewhere)
        return;
    // The main window's order with the settings it shows, checked as the window checks them: a page is added
    // only as the window would price it.
    const std::variant<pricing::BookPage, QString> current =
        m_setup.currentPage ? m_setup.currentPage() : std::variant<pricing::BookPage, QString>(QString());
    if (const auto* why = std::get_if<QString>(&current)) {
        showMessage(why->isEmpty() ? QStringLiteral("Sorry but you need to select one of the quotes or jobs above")
                                   : *why);
        return;
    }
    const pricing::BookPage& page = std::get<pricing::BookPage>(current);
    // One page an order: the page already there is replaced, when the clerk says so.
    if (const std::optional<std::size_t> there = pricing::findBookPage(m_pages, page)) {
        const pricing::BookPage& old = m_pages[*there];
        if (!askYesNo(QStringLiteral("%1 is in the price book already (%2). Replace its page with the schedule, "
                                     "rounding, typeface and category the main window shows now?")
                          .arg(fromStd(pricing::describeBookPage(old)), fromStd(old.category))))
            return;
        m_pages.erase(m_pages.begin() + static_cast<std::ptrdiff_t>(*there));
        m_descriptions.erase(m_descriptions.begin() + static_cast<std::ptrdiff_t>(*there));
    }
    const std::size_t at = pricing::addBookPage(m_pages, page);
    m_descriptions.insert(m_descriptions.begin() + static_cast<std::ptrdiff_t>(at), describe(page));
    save();
    refresh(static_cast<int>(at));
}

void frmPriceBook::removePage()
{
    const int row = selectedRow();
    if (row < 0 || isRunning())
        return;
    const pricing::BookPage& page = m_pages[static_cast<std::size_t>(row)];
    if (!askYesNo(QStringLiteral("Remove the page of %1 (%2) from the price book?")
                      .arg(fromStd(pricing::describeBookPage(page)), fromStd(page.category))))
        return;
    m_pages.erase(m_pages.begin() + row);
    m_descriptions.erase(m_descriptions.begin() + row);
    save();
    refresh(std::min(row, static_cast<int>(m_pages.size()) - 1));
}

void frmPriceBook::movePage(int by)
{
    const int row = selectedRow();
    if (row < 0 || isRunning())
        return;
    std::vector<std::string> categories;
    for (const pricing::BookPage& page : m_pages)
        categories.push_back(page.category);
    const std::vector<std::size_t> order = pricing::movedPageOrder(categories, static_cast<std::size_t>(row), by);
    std::vector<pricing::BookPage> pages;
    std::vector<QString> descriptions;
    int to = row;
    for (std::size_t k = 0; k < order.size(); ++k) {
        pages.push_back(std::move(m_pages[order[k]]));
        descriptions.push_back(std::move(m_descriptions[order[k]]));
        if (order[k] == static_cast<std::size_t>(row))
            to = static_cast<int>(k);
    }
    m_pages = std::move(pages);
    m_descriptions = std::move(descriptions);
    if (to == row)
        return;
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
    // An earlier book of the chosen name is kept (the book takes the next free name), so there is nothing to
    // confirm.
    const QString path = chooseInLastFolder(
        this, kPdfFolderKey,
        {QStringLiteral("Save the Price Book as PDF"), {}, QStringLiteral("PDF files (*.pdf)"), false},
        QStringLiteral("PriceBook.pdf"));
    if (!path.isEmpty())
        saveAsPdf(path);
}

void frmPriceBook::saveAsPdf(const QString& path)
{
    printBook(Output::File, path);
}

void frmPriceBook::exportMatrix()
{
    // The store's import reads the file of its own name again and again, so the matrix replaces it, once the
    // dialog has asked.
    const QString path = chooseInLastFolder(this, kMatrixFolderKey,
                                            {QStringLiteral("Export the Price Matrix"), {},
                                             QStringLiteral("CSV files (*.csv);;JSON files (*.json)"), true},
                                            QStringLiteral("PriceMatrix.csv"));
    if (!path.isEmpty())
        exportMatrix(path);
}

void frmPriceBook::exportMatrix(const QString& path)
{
    // Said before the book is priced, not after.
    const std::string refused = platform::unwritableKindAt(path.toStdString());
    if (!refused.empty()) {
        showMessage(fromStd(refused));
        return;
    }
    printBook(Output::Matrix, path);
}

void frmPriceBook::printBook(Output output, const QString& file)
{
    if (isRunning() || m_pricingElsewhere)
        return;
    if (m_pages.empty()) {
        showMessage(kEmptyBook);
        return;
    }
    // What moved since the book printed last is found page by page as the book is priced, and each page's
    // lines are put aside until printed: a book of long pages holds one page's lines at a time.
    std::optional<pricing::LastBook> last;
    try {
        last = pricing::LastBook::open(m_setup.dataFolder);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
    }
    auto book = std::make_shared<PricedBookRun>();
    try {
        book->priced.emplace(std::move(last), false);
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
        return;
    }

    const int count = static_cast<int>(m_pages.size());
    m_progress = new QProgressDialog(QStringLiteral("Pricing the price book..."), QStringLiteral("Cancel"), 0, count, this);
    m_progress->setObjectName(QStringLiteral("dlgBookProgress"));
    m_progress->setWindowTitle(QStringLiteral("Price Book"));
    // Nothing else of the program reads the shop database or prices while the book has it.
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    // The dialog's own setValue() handles the window's events when the dialog is modal, which would let the
    // book's end run inside a page's progress; its bar is set directly instead.
    auto* bar = new QProgressBar(m_progress);
    bar->setRange(0, count);
    bar->setValue(0);
    m_progress->setBar(bar);
    m_progress->show();

    m_run = new WorkerRun(this);
    WorkerRun* run = m_run;
    connect(m_progress, &QProgressDialog::canceled, run, &WorkerRun::requestStop);
    connect(run, &WorkerRun::finished, this, [this, book, output, file] { bookPriced(*book, output, file); });
    updateButtons();
    emit runningChanged(true);

    // The priced book is the work's alone until finished() hands it back to this thread.
    const std::optional<pricing::MatrixFormat> matrix =
        output != Output::Matrix ? std::nullopt
        : QFileInfo(file).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0
            ? std::optional(pricing::MatrixFormat::Json)
            : std::optional(pricing::MatrixFormat::Csv);
    run->start([this, run, book, pages = m_pages, dataFolder = m_setup.dataFolder,
                programFolder = m_setup.programFolder, matrix, target = file.toStdString()] {
        pricing::BookRunCallbacks callbacks;
        callbacks.onPage = [this, run](std::size_t index, std::size_t total, const pricing::BookPage& page) {
            run->post([this, index, total, text = fromStd(pricing::describeBookPage(page))] {
                if (!m_progress)
                    return;
                if (auto* bar = m_progress->findChild<QProgressBar*>())
                    bar->setValue(static_cast<int>(index));
                m_progress->setLabelText(QStringLiteral("Pricing page %1 of %2: %3").arg(index + 1).arg(total).arg(text));
            });
        };
        callbacks.onPriced = [book](std::size_t index, pricing::PricedPage& page) { book->priced->add(index, page); };
        callbacks.cancelRequested = [run] { return run->stopRequested(); };
        try {
            book->result = pricing::priceBook(dataFolder, programFolder, pages, callbacks);
        } catch (const platform::Fault& fault) {
            book->fault = fault;
            return;
        }
        // The matrix is written here too, from the pages' prices where the book put them aside.
        if (matrix && !book->result.stopped && !book->result.cancelled) {
            try {
                platform::writeWholeFile(target, "The price matrix", [&](const auto& write) {
                    book->matrix = pricing::writeBookMatrix(book->result.pages, *book->priced, *matrix, write);
                });
            } catch (const platform::Fault& fault) {
                book->matrixFault = fault;
            }
        }
    });
}

void frmPriceBook::bookPriced(PricedBookRun& book, Output output, const QString& file)
{
    m_run->deleteLater();
    m_run = nullptr;
    m_progress->deleteLater();
    m_progress->hide();
    m_progress = nullptr;
    updateButtons();
    emit runningChanged(false);
    if (m_closeAfterRun) {
        close();
        return;
    }
    const bool matrix = output == Output::Matrix;
    const std::string notDone = matrix ? " The price matrix was not written." : " The price book was not printed.";
    if (book.fault) {
        showDetailedMessage(fromStd(book.fault->what() + notDone), fromStd(book.fault->detail()));
        return;
    }
    const pricing::BookRunResult& result = book.result;
    std::optional<pricing::PricedBook>& priced = book.priced;
    if (result.stopped) {
        showDetailedMessage(fromStd(result.stopped->message + notDone), fromStd(result.stopped->detail));
        return;
    }
    if (result.cancelled) {
        m_lblStatus->setText(matrix ? QStringLiteral("Cancelled: no price matrix was written.")
                                    : QStringLiteral("Cancelled: nothing of the price book was printed."));
        return;
    }
    if (book.matrixFault) {
        showDetailedMessage(fromStd(book.matrixFault->what()), fromStd(book.matrixFault->detail()));
        return;
    }
    if (matrix) {
        m_lblStatus->setText(QStringLiteral("Price matrix saved as %1 (%2 rows, %3 quantities).")
                                 .arg(file)
                                 .arg(book.matrix->rows)
                                 .arg(book.matrix->quantities));
        tellPagesLeftOut(result, QStringLiteral("left out of the price matrix"));
        return;
    }

    sheet::BookFront front;
    front.company = startup::shopCompanyName();
    front.printedAt = sheet::localNowSerial();
    front.changesSince = priced->changesSince();
    const sheet::LaidOutBook laidOut =
        sheet::layOutBook(sheet::bookEntries(result.pages, *priced), front);
    const sheet::BookPageLines lines = [&priced](std::size_t entry) {
        return sheet::PageLines{priced->lines(entry), priced->marks(entry)};
    };

    QPrinter& printer = *m_setup.printer;
    QString written;
    switch (output) {
    case Output::Preview: {
        // The dialog's own printer settings are a copy: what its print dialog chooses or cancels is its own.
        QPrinter shown;
        copyPrinterChoice(printer, shown);
        QPrintPreviewDialog dialog(&shown, this);
        dialog.setObjectName(QStringLiteral("dlgBookPreview"));
        dialog.setWindowTitle(QStringLiteral("Price Book Preview"));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&laidOut, &lines](QPrinter* target) {
            QPainter painter(target);
            sheet::paintBook(laidOut, lines, painter, *target);
        });
        dialog.exec();
        return; // a preview prints nothing, so the prices of the last book stay
    }
    case Output::File: {
        const QString target = unusedFileName(file);
        try {
            sheet::writeBookPdf(laidOut, lines, target);
        } catch (const platform::Fault& fault) {
            showDetailedMessage(fromStd(fault.what()), fromStd(fault.detail()));
            return;
        }
        written = target == file ? QStringLiteral("Price book saved as %1.").arg(target)
                                 : QStringLiteral("Price book saved as %1, as %2 is already there.")
                                       .arg(target, QFileInfo(file).fileName());
        break;
    }
    case Output::Matrix:
        return; // written and told above
    case Output::Printer: {
        const PrintOutcome printed = ui::print(
            {QStringLiteral("price book"),
             [&laidOut, &lines](QPainter& painter, QPrinter& device) { sheet::paintBook(laidOut, lines, painter, device); },
             [&laidOut, &lines](const QString& target, const QPageLayout& layout) {
                 sheet::writeBookPdf(laidOut, lines, target, layout);
             }},
            printer);
        if (!printed.failure.isEmpty()) {
            showDetailedMessage(printed.failure, printed.failureDetail);
            return;
        }
        written = printedText(QStringLiteral("Price book"), printed, printer);
        break;
    }
    }

    // The binder now holds these prices: kept for the next book.
    try {
        priced->keepForNextBook(m_setup.dataFolder, result.pages, platform::formatDate(front.printedAt, "mm/dd/yy"));
    } catch (const platform::Fault& fault) {
        showDetailedMessage(fromStd(std::string(fault.what()) + " The next price book cannot show what changed."),
                            fromStd(fault.detail()));
    }

    m_lblStatus->setText(written);
    tellPagesLeftOut(result, QStringLiteral("not printed; the contents page says why"));
}

void frmPriceBook::tellPagesLeftOut(const pricing::BookRunResult& result, const QString& how)
{
    std::size_t failed = 0;
    std::string details;
    for (const pricing::PricedPage& page : result.pages) {
        if (!page.printable()) {
            ++failed;
            details += pricing::describeBookPage(page.page) + ": " + page.problem + "\n";
        }
    }
    if (failed > 0)
        showDetailedMessage(QStringLiteral("%1 of the %2 pages could not be priced and were %3.")
                                .arg(failed)
                                .arg(result.pages.size())
                                .arg(how),
                            fromStd(details));
}

void frmPriceBook::closeEvent(QCloseEvent* event)
{
    // Closing while the book prices first lets the run stop between quantities.
    if (isRunning()) {
        m_closeAfterRun = true;
        m_run->requestStop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace ui
