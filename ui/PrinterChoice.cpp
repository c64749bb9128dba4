#include "ui/PrinterChoice.h"

#include <memory>

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>

namespace ui {

namespace {

const QString kPrinterKey = QStringLiteral("Printer/Name");
const QString kFileKey = QStringLiteral("Printer/File");

bool printsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

PrinterDialogFunction& dialogFunction()
{
    static PrinterDialogFunction function;
    return function;
}

} // namespace

void rememberPrinter(const QPrinter& printer)
{
    QSettings settings;
    const bool toFile = printsToFile(printer);
    settings.setValue(kPrinterKey, toFile ? QString() : printer.printerName());
    settings.setValue(kFileKey, toFile ? printer.outputFileName() : QString());
}

void restorePrinter(QPrinter& printer)
{
    const QSettings settings;
    const QString name = settings.value(kPrinterKey).toString();
    const QString file = settings.value(kFileKey).toString();
    if (!name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull()) {
        printer.setPrinterName(name);
    } else if (!file.isEmpty() && QFileInfo(file).dir().exists()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    }
}

void copyPrinterChoice(const QPrinter& from, QPrinter& to)
{
    if (printsToFile(from)) {
        to.setOutputFormat(QPrinter::PdfFormat);
        to.setOutputFileName(from.outputFileName());
    } else {
        // A printer, never a file left over from an earlier choice.
        to.setOutputFileName(QString());
        to.setOutputFormat(from.outputFormat());
        to.setPrinterName(from.printerName());
    }
    to.setPageLayout(from.pageLayout());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setColorMode(from.colorMode());
}

void choosePrinter(QPrinter& printer, QWidget* parent)
{
    auto choice = std::make_shared<QPrinter>();
    copyPrinterChoice(printer, *choice);
    const auto take = [&printer, choice] {
        copyPrinterChoice(*choice, printer);
        rememberPrinter(printer);
    };
    if (dialogFunction()) {
        if (dialogFunction()(*choice))
            take();
        return;
    }
    auto* dialog = new QPrintDialog(choice.get(), parent);
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setWindowTitle(QStringLiteral("Printer"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The dialog chooses the printer; it prints nothing, so its button says OK.
    for (QDialogButtonBox* buttons : dialog->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    // The copy lives as long as the dialog that shows it: `take` holds it.
    QObject::connect(dialog, &QDialog::accepted, dialog, take);
    dialog->open();
}

void setPrinterDialogFunction(PrinterDialogFunction function)
{
    dialogFunction() = std::move(function);
}

} // namespace ui
