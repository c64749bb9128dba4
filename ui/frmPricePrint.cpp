// The main window's printing: the Print Price Sheet button, File, Printer and File, Print Preview.

#include "ui/frmPrice.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"
#include "ui/MessageBox.h"
#include "ui/PrinterChoice.h"
#include "ui/SheetPrinter.h"

namespace ui {

sheet::SheetInputs frmPrice::sheetInputs() const
{
    sheet::SheetInputs inputs;
    inputs.priceLines.reserve(static_cast<std::size_t>(m_lstPrice->count()));
    for (int i = 0; i < m_lstPrice->count(); ++i)
        inputs.priceLines.push_back(m_lstPrice->item(i)->text().toStdString());
    inputs.category = m_cboCategories->currentText().toStdString();
    inputs.job = m_optJob->isChecked();
    inputs.orderNo = m_txtQuoteorJob->text().toStdString();
    inputs.description = m_txtDesc->text().toStdString();
    inputs.stock = m_txtStock->text().toStdString();
    inputs.size = m_txtSize->text().toStdString();
    inputs.bindery = m_txtBind->text().toStdString();
    if (m_optCour->isChecked())
        inputs.typeface = pricing::Typeface::Courier;
    else if (m_optTime->isChecked())
        inputs.typeface = pricing::Typeface::TimesRoman;
    else if (m_optSans->isChecked())
        inputs.typeface = pricing::Typeface::SansSerif;
    else
        inputs.typeface = std::nullopt;
    return inputs;
}

sheet::SheetOps frmPrice::sheetOps() const
{
    return sheet::buildPriceSheet(sheetInputs(), sheet::localNowSerial());
}

// Prints the price list of the last run as the counter sheet. An empty list prints nothing. While the
// sheet goes to the printer both run buttons are off; a printer that fails is named in a message and
// the buttons come back, so the same sheet can be printed again. The status line says where it went.
void frmPrice::printSheet()
{
    if (m_running || m_lstPrice->count() == 0)
        return;
    m_cmdPrint->setEnabled(false);
    m_cmdPrint->setText(QStringLiteral("Working..."));
    m_cmdPrice->setEnabled(false);
    m_lblcalc->hide();
    m_txtQty->hide();
    QApplication::processEvents(); // the staff see "Working..." before the printer takes its time

    const PrintOutcome printed = ui::printSheet(sheetOps(), printer());

    m_cmdPrint->setEnabled(true);
    m_cmdPrint->setText(QStringLiteral("Print Price Sheet"));
    m_cmdPrice->setEnabled(true);
    if (!printed.failure.isEmpty())
        showDetailedMessage(printed.failure, printed.failureDetail);
    else if (printed.file.isEmpty())
        showStatus(QStringLiteral("Price sheet sent to the printer %1.").arg(printed.printerName));
    else if (printed.file == printer().outputFileName())
        showStatus(QStringLiteral("Price sheet saved as %1.").arg(printed.file));
    else
        showStatus(QStringLiteral("Price sheet saved as %1, as %2 is already there.")
                       .arg(printed.file, QFileInfo(printer().outputFileName()).fileName()));
}

void frmPrice::showPrintPreview()
{
    if (m_running)
        return;
    if (m_lstPrice->count() == 0) {
        showMessage(kNothingToPreview);
        return;
    }
    // The preview's own Print button prints on the same printer as Print Price Sheet.
    previewSheet(sheetOps(), printer(), this);
}

void frmPrice::showPrinterDialog()
{
    auto* dialog = new QPrintDialog(&printer(), this);
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { rememberPrinter(printer()); });
    dialog->open();
}

QPrinter& frmPrice::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>();
        restorePrinter(*m_printer);
        sheet::setSheetMargins(*m_printer);
    }
    return *m_printer;
}

} // namespace ui
