#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace ui {

// The printer chosen with File, Printer, kept in the program's settings between starts: a printer by its
// name, or the PDF file of a printer that prints to a file.
void rememberPrinter(const QPrinter& printer);

// Takes the remembered printer when it is still installed, or the remembered PDF file when its folder is
// still there; otherwise the printer stays as it is (the system's default printer).
void restorePrinter(QPrinter& printer);

// What a printer dialog chooses, copied from one printer to another: the printer or the PDF file, the paper,
// orientation and margins, copies, sides and colour.
void copyPrinterChoice(const QPrinter& from, QPrinter& to);

// File, Printer: the printer dialog (window-modal; returns at once) on a copy of the printer's settings.
// Only its OK puts the choice into `printer` and remembers it; Cancel leaves the printer and what is
// remembered exactly as they were.
void choosePrinter(QPrinter& printer, QWidget* parent);

// Stands in for the dialog in tests: gets the copy the dialog would show, may change it as a user would,
// and returns whether OK was clicked. An empty function puts the dialog back.
using PrinterDialogFunction = std::function<bool(QPrinter& choice)>;
void setPrinterDialogFunction(PrinterDialogFunction function);

} // namespace ui
