#pragma once

class QPrinter;

namespace ui {

// The printer chosen with File, Printer, kept in the program's settings between starts: a printer by its
// name, or the PDF file of a printer that prints to a file.
void rememberPrinter(const QPrinter& printer);

// Takes the remembered printer when it is still installed, or the remembered PDF file when its folder is
// still there; otherwise the printer stays as it is (the system's default printer).
void restorePrinter(QPrinter& printer);

} // namespace ui
