#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "ui/frmPrice.h"

namespace shell {

class frmPath;

// The windows start-up opened.
struct StartedWindows
{
    QPointer<ui::frmPrice> main;
    QPointer<frmPath> chooser; // open in front of the main window when the data folder had to be asked for
};

// The program folder: the one given with --program-dir, else the executable's folder when it can be
// written, else the user's application data folder (made when missing). It holds the marker file and the
// report work database.
QString programFolderFor(const QStringList& arguments, const QString& executableFolder);

// Start-up (Sub Main): the data folder from the marker file of the program folder, else from the shop's
// settings (written into a new marker file), else from the user through the folder chooser; then the main
// window. The user hears of the shop's settings only when the marker file names no folder. The windows are
// wired to each other: the menus open the chooser, the about and the procedure windows, a folder chosen
// with Continue loads the main window again, and closing the main window ends the program.
StartedWindows StartUp();

// The desktop program: a QApplication, the program folder, start-up, the event loop.
int Main(int argc, char** argv);

} // namespace shell
