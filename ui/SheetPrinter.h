#pragma once

#include <QString>

#include "pricing/PriceSheet.h"

class QPrinter;
class QWidget;

namespace ui {

// Prints on the printer; returns an empty text on success, else what went wrong, for the user.
QString printSheet(const pricing::SheetOps& ops, QPrinter& printer);

// Shows the sheet as it will print on `printer`, with the dialog's own Print button (modal).
void previewSheet(const pricing::SheetOps& ops, QPrinter& printer, QWidget* parent);

} // namespace ui
