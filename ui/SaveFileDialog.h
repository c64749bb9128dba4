#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace ui {

// What a Save dialog asks: its title, the file it suggests (in the folder to start in) and the kinds of
// file it offers ("PDF files (*.pdf)", several separated by ";;"); and whether it asks before an earlier
// file of the chosen name is written over.
struct SaveFileQuestion
{
    QString title;
    QString suggested;
    QString filters;
    bool confirmOverwrite = true;
};

// The desktop's own Save dialog, in front of `parent`: the file chosen, empty when the user cancels.
QString chooseSaveFile(QWidget* parent, const SaveFileQuestion& question);

// Stands in for the dialog in tests: gets the question, answers with a file name (empty for Cancel). An
// empty function puts the desktop's dialog back.
using SaveFileDialogFunction = std::function<QString(const SaveFileQuestion& question)>;
void setSaveFileDialogFunction(SaveFileDialogFunction function);

} // namespace ui
