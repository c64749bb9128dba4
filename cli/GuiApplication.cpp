#include "cli/GuiApplication.h"

#include <QCoreApplication>

namespace cli {

namespace {

QtMessageHandler g_qtHandler = nullptr;

// Qt's notice that a login session has no runtime folder (a root shell, a service) says nothing the user
// of a command can act on; everything else Qt reports is passed on.
void filterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_qtHandler)
        g_qtHandler(type, context, message);
}

} // namespace

std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_qtHandler = qInstallMessageHandler(filterQtMessage);
    static int argc = 1;
    static char name[] = "pricebook";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace cli
