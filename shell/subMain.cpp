#include "shell/subMain.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include <QApplication>

#include "platform/Fault.h"
#include "platform/Statement.h"
#include "shell/frmAbout.h"
#include "shell/frmHelp.h"
#include "shell/frmPath.h"
#include "shell/NoDisplay.h"
#include "shell/modRegistry.h"
#include "startup/ProgramFolder.h"
#include "ui/DataFolder.h"
#include "ui/MessageBox.h"

namespace shell {

namespace {

// A data folder text this short ("C:\", "/") names no shop's data folder.
constexpr qsizetype kShortestDataFolder = 4;

// A window of the shell opened from the main window's menu: one at a time, brought to the front when open.
template <class Window>
void showOnce(QPointer<Window>& window, QWidget* owner)
{
    if (!window) {
        window = new Window(owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

struct MenuWindows
{
    QPointer<frmPath> chooser;
    QPointer<frmAbout> about;
    QPointer<frmHelp> help;
};

ui::frmPrice* openMainWindow(StartedWindows& windows)
{
    if (windows.main)
        return windows.main;
    auto* main = new ui::frmPrice;
    main->setAttribute(Qt::WA_DeleteOnClose);
    auto* menus = new MenuWindows;
    QObject::connect(main, &QObject::destroyed, [menus] { delete menus; });
    QObject::connect(main, &ui::frmPrice::pathRequested, main, [main, menus] {
        const bool wasOpen = !menus->chooser.isNull();
        showOnce(menus->chooser, main);
        if (!wasOpen) {
            QObject::connect(menus->chooser, &frmPath::folderChosen, main, &ui::frmPrice::reloadDataFolder);
            menus->chooser->load();
        }
    });
    QObject::connect(main, &ui::frmPrice::aboutRequested, main, [main, menus] { showOnce(menus->about, main); });
    QObject::connect(main, &ui::frmPrice::procedureRequested, main,
                     [main, menus] { showOnce(menus->help, main); });
    // Closing the main window ends the program, also while other windows are open.
    QObject::connect(main, &ui::frmPrice::closed, qApp, [] { QApplication::closeAllWindows(); QApplication::quit(); });
    main->show();
    windows.main = main;
    return main;
}

void openChooser(StartedWindows& windows)
{
    auto* chooser = new frmPath;
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    windows.chooser = chooser;
    // The main window opens behind the chooser once the chooser has read (or made) the marker file.
    QObject::connect(chooser, &frmPath::loaded, chooser, [&windows] { openMainWindow(windows); });
    QObject::connect(chooser, &frmPath::folderChosen, chooser, [&windows] {
        if (windows.main)
            windows.main->reloadDataFolder();
    });
    chooser->load();
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
}

// The registry's folder ends in a separator; the marker file holds it without one.
QString withoutTrailingSeparator(QString folder)
{
    if (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

QString programFolderFor(const QStringList& arguments, const QString& executableFolder)
{
    std::vector<std::string> words;
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    return QString::fromStdString(
        startup::resolveProgramFolder(startup::programFolderOption(words), executableFolder.toStdString()));
}

StartedWindows StartUp()
{
    // One set of windows for the program's run; the chooser's signal fills it in later.
    static StartedWindows windows;
    windows = StartedWindows{};

    QString dataFolder;
    platform::resumeNext([&] { dataFolder = QString::fromStdString(ui::readMarkerFile()); });

    // A marker file that names a folder is the program's own setting: the shop's settings are not needed, and
    // whatever they lack is not the user's concern. Otherwise they give the folder, or the user chooses it.
    const ShopSettings settings = ReadSettings();
    if (dataFolder.size() >= kShortestDataFolder) {
        ui::setDataFolder(dataFolder.toStdString());
        openMainWindow(windows);
    } else if (!settings.dataFolder.isEmpty()) {
        if (!settings.namesCompany)
            ui::showMessage(kCustomerNotAvailable);
        const QString folder = withoutTrailingSeparator(settings.dataFolder);
        platform::resumeNext([&] { ui::writeMarkerFile(folder.toStdString()); });
        ui::setDataFolder(folder.toStdString());
        openChooser(windows);
    } else {
        // An unusable folder in the settings is passed over silently, as the management system may not have
        // been set up on this machine yet; no folder named anywhere is said.
        if (!settings.namesDataFolder)
            ui::showMessage(kDataNotAvailable);
        openChooser(windows);
    }
    return windows;
}

int Main(int argc, char** argv)
{
    if (const std::optional<int> refused = refuseWithoutDisplay())
        return *refused;
    const bool verbose = std::any_of(argv + std::min(argc, 1), argv + argc,
                                     [](const char* word) { return std::string_view(word) == "--verbose"; });
    std::optional<DisplayGuard> startingToolkit(std::in_place, verbose);
    QApplication app(argc, argv);
    startingToolkit.reset();
    startup::nameProgram();
    QApplication::setApplicationDisplayName(ui::kProgramTitle);
    // The desktop entry the package installs, so the desktop shows the window under its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PRICEBOOK_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false);

    ui::setProgramFolder(programFolderFor(QApplication::arguments(), QApplication::applicationDirPath()).toStdString());

    const StartedWindows windows = StartUp();
    if (!windows.main && !windows.chooser)
        return 1;
    return app.exec();
}

} // namespace shell
