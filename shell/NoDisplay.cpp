#include "shell/NoDisplay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "cli/ExitCode.h"

namespace shell {

namespace {

constexpr const char* kCommands =
    ". Without one, the commands price orders and write the sheet and the whole book, for example "
    "\"pricebook price DATAFOLDER --order NO\" or \"pricebook sheet DATAFOLDER --order NO --pdf FILE\"; "
    "\"pricebook --help\" lists them.";

int refuse(const std::string& why, const std::vector<std::string>& behind = {})
{
    std::fprintf(stderr, "pricebook: the window cannot open: %s%s\n", why.c_str(), kCommands);
    for (const std::string& said : behind) {
        for (std::size_t start = 0; start < said.size();) {
            const std::size_t end = std::min(said.find('\n', start), said.size());
            if (end > start)
                std::fprintf(stderr, "    %.*s\n", static_cast<int>(end - start), said.c_str() + start);
            start = end + 1;
        }
    }
    std::fflush(stderr);
    return cli::ExitFailure;
}

// What the toolkit said while it started, held until it is known whether it could.
struct Held
{
    QtMsgType type;
    std::string file;
    int line;
    std::string function;
    std::string category;
    QString message;
};

struct GuardState
{
    QtMessageHandler previous = nullptr;
    bool verbose = false;
    std::vector<Held> held;
};

GuardState& state()
{
    static GuardState guarded;
    return guarded;
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    GuardState& s = state();
    if (type != QtFatalMsg) {
        s.held.push_back({type, context.file ? context.file : "", context.line,
                          context.function ? context.function : "", context.category ? context.category : "",
                          message});
        return;
    }
    // The toolkit found no display it could use and is about to abort: the user hears why in plain words.
    std::vector<std::string> behind;
    if (s.verbose) {
        for (const Held& held : s.held)
            behind.push_back(held.message.toStdString());
        behind.push_back(message.toStdString());
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::_Exit(refuse(display.isEmpty() ? std::string("no display could be opened")
                                        : "the display " + display.toStdString() + " could not be opened",
                      behind));
}

} // namespace

std::optional<int> refuseWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return refuse("there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    return std::nullopt;
}

DisplayGuard::DisplayGuard(bool verbose)
{
    state().verbose = verbose;
    state().held.clear();
    state().previous = qInstallMessageHandler(holdMessage);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(state().previous);
    for (const Held& held : state().held) {
        const QMessageLogContext context(held.file.c_str(), held.line, held.function.c_str(), held.category.c_str());
        qt_message_output(held.type, context, held.message);
    }
    state().held.clear();
}

} // namespace shell
