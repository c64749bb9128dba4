#include "ui/frmPrice.h"

#include <QListWidget>

#include "ui/MessageBox.h"

namespace ui {

// Prints the price list of the last run as the counter sheet. An empty list prints nothing.
void frmPrice::printSheet()
{
    auto* list = findChild<QListWidget*>(QStringLiteral("lstPrice"));
    if (!list || list->count() == 0)
        return;
    // TODO: lay out the "Counter Price Book" sheet and send it to printer().
    showMessage(kPrintingNotAvailable);
}

} // namespace ui
