#include "ui/SaveFileDialog.h"

#include <QFileDialog>

namespace ui {

namespace {

SaveFileDialogFunction& saveFileDialogFunction()
{
    static SaveFileDialogFunction function;
    return function;
}

} // namespace

void setSaveFileDialogFunction(SaveFileDialogFunction function)
{
    saveFileDialogFunction() = std::move(function);
}

QString chooseSaveFile(QWidget* parent, const SaveFileQuestion& question)
{
    if (const SaveFileDialogFunction& replaced = saveFileDialogFunction())
        return replaced(question);
    return QFileDialog::getSaveFileName(parent, question.title, question.suggested, question.filters, nullptr,
                                        question.confirmOverwrite ? QFileDialog::Options()
                                                                  : QFileDialog::DontConfirmOverwrite);
}

} // namespace ui
