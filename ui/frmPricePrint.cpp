// The main window's printing: the Print Price Sheet button, File, Printer and File, Print Preview.

#include "ui/frmPrice.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>

#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"
#include "ui/MessageBox.h"
#include "ui/PrinterChoice.h"
#include "ui/SheetPrinter.h"

namespace ui {

sheet::SheetInputs frmPrice::sheetInputs() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(m_lstPrice->count()));
    for (int i = 0; i < m_lstPrice->count(); ++i)
        lines.push_back(m_lstPrice->item(i)->text().toStdString());
    const std::optional<pricing::PriceRequest> request = currentRequest();
    if (!request || !m_order)
        return {};
    return sheet::sheetInputs(*request, *m_order, std::move(lines));
}

// Prints the price list as the counter sheet, when it is complete and the window still shows what it was
// priced for: its typeface and category are the window's now. While the sheet goes to the printer both run
// buttons are off; a printer that fails is named in a message and the buttons come back, so the same sheet can
// be printed again. The status line says where it went.
void frmPrice::printSheet()
{
    if (m_running || m_lstPrice->count() == 0)
        return;
    if (!listPrintable()) {
        showMessage(kListNotForTheseSettings);
        updatePrintState();
        return;
    }
    m_cmdPrint->setEnabled(false);
    m_cmdPrint->setText(QStringLiteral("Working..."));
    m_cmdPrice->setEnabled(false);
    m_lblcalc->hide();
    m_txtQty->hide();
    // The staff see "Working..." before the printer takes its time (painted now; no events are handled).
    m_cmdPrint->repaint();

    const PrintOutcome printed = ui::printSheet(sheetInputs(), printer());

    m_cmdPrint->setText(QStringLiteral("Print Price Sheet"));
    m_cmdPrice->setEnabled(true);
    updatePrintState();
    if (!printed.failure.isEmpty())
        showDetailedMessage(printed.failure, printed.failureDetail);
    else
        showStatus(printedText(QStringLiteral("Price sheet"), printed, printer()));
}

void frmPrice::showPrintPreview()
{
    if (m_running)
        return;
    if (m_lstPrice->count() == 0) {
        showMessage(kNothingToPreview);
        return;
    }
    if (!listPrintable()) {
        showMessage(kListNotForTheseSettings);
        return;
    }
    // The preview's own Print button prints on the same printer as Print Price Sheet.
    previewSheet(sheetInputs(), printer(), this);
}

void frmPrice::showPrinterDialog()
{
    choosePrinter(printer(), this);
}

QPrinter& frmPrice::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>();
        restorePrinter(*m_printer);
        // A printer prints on its own paper; a PDF (a printer that prints to a file, or none installed) on
        // the system's, as the sheet command writes it.
        if (m_printer->outputFormat() == QPrinter::PdfFormat)
            m_printer->setPageLayout(sheet::pageLayout(sheet::systemPaper()));
        else
            sheet::setSheetMargins(*m_printer);
    }
    return *m_printer;
}

} // namespace ui
