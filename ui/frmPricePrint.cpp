// The main window's printing: the Print Price Sheet button, File, Printer and File, Print Preview.

#include "ui/frmPrice.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "cli/SheetPainter.h"
#include "ui/MessageBox.h"
#include "ui/SheetPrinter.h"

namespace ui {

namespace {

std::string toStd(const QString& text)
{
    return text.toStdString();
}

} // namespace

pricing::SheetInputs frmPrice::sheetInputs() const
{
    pricing::SheetInputs inputs;
    inputs.priceLines.reserve(static_cast<std::size_t>(m_lstPrice->count()));
    for (int i = 0; i < m_lstPrice->count(); ++i)
        inputs.priceLines.push_back(toStd(m_lstPrice->item(i)->text()));
    inputs.category = toStd(m_cboCategories->currentText());
    inputs.job = m_optJob->isChecked();
    inputs.orderNo = toStd(m_txtQuoteorJob->text());
    inputs.description = toStd(m_txtDesc->text());
    inputs.stock = toStd(m_txtStock->text());
    inputs.size = toStd(m_txtSize->text());
    inputs.bindery = toStd(m_txtBind->text());
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

// Prints the price list of the last run as the counter sheet. An empty list prints nothing. While the
// sheet goes to the printer both run buttons are off; a printer that fails is named in a message and
// the buttons come back, so the same sheet can be printed again.
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

    const pricing::SheetOps ops = pricing::buildPriceSheet(sheetInputs(), pricing::localNowSerial());
    const QString failure = ui::printSheet(ops, printer());

    m_cmdPrint->setEnabled(true);
    m_cmdPrint->setText(QStringLiteral("Print Price Sheet"));
    m_cmdPrice->setEnabled(true);
    if (!failure.isEmpty())
        showMessage(failure);
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
    previewSheet(pricing::buildPriceSheet(sheetInputs(), pricing::localNowSerial()), printer(), this);
}

void frmPrice::showPrinterDialog()
{
    auto* dialog = new QPrintDialog(&printer(), this);
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

QPrinter& frmPrice::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>();
        cli::setSheetMargins(*m_printer);
    }
    return *m_printer;
}

} // namespace ui
