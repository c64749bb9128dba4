#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "cli/BookCommand.h"
#include "cli/Command.h"
#include "cli/CopyDbCommand.h"
#include "cli/DemoDataCommand.h"
#include "cli/ExitCode.h"
#include "cli/ImportCommand.h"
#include "cli/PriceCommand.h"
#include "cli/Report.h"
#include "cli/SheetCommand.h"
#include "cli/SqlCommand.h"
#include "cli/TerminalOutput.h"
#include "platform/Fault.h"
#include "startup/ProgramFolder.h"


namespace cli {

namespace {

constexpr std::string_view kProgramDirOption = "--program-dir";
constexpr std::string_view kVerboseOption = "--verbose";
constexpr std::string_view kQuietOption = "--quiet";

// The old engine's faults that mean the shop database file itself is missing, unreadable or not a
// database: the user must fix the file or the path, not the command.
bool isDatabaseFileFault(int number)
{
    switch (number) {
    case 3024: // could not find file
    case 3044: // not a valid path
    case 3045: // could not use the file; already in use
    case 3049: // cannot open the database; it may be damaged
    case 3051: // the engine cannot open the file (no permission, read-only medium)
    case 3055: // not a valid file name
    case 3343: // unrecognized database format
        return true;
    default:
        return false;
    }
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The program folder is worked out when a command first needs it, from what run() was given: resolving it
// may make the user's data folder, which --help and --version must leave alone.
struct ProgramFolderSource
{
    std::vector<std::string> leadingOptions;
    std::string executableFolder;
    std::optional<std::string> resolved = "."; // a command run without run() (a test) prices in the current folder
};

ProgramFolderSource& programFolderSource()
{
    static ProgramFolderSource source;
    return source;
}

// The window toolkit's own options (Qt's), which open the window with them; any other single-dash word is
// the user's slip, answered as a command line.
bool isToolkitOption(std::string_view word)
{
    static constexpr std::string_view kOptions[] = {
        "-platform", "-platformpluginpath", "-platformtheme", "-plugin",  "-qmljsdebugger", "-qwindowgeometry",
        "-qwindowicon", "-qwindowtitle",    "-reverse",       "-session", "-style",         "-stylesheet",
        "-widgetcount", "-display",         "-geometry",      "-name",    "-title",         "-visual",
        "-dialogs",     "-fontengine",      "-nograb",        "-dograb",  "-sync",
    };
    const std::string_view name = word.substr(0, word.find('='));
    return std::find(std::begin(kOptions), std::end(kOptions), name) != std::end(kOptions);
}

// The program's commands, in the order its help lists them.
const std::array<const Command*, 7>& commands()
{
    static const PriceCommand price;
    static const SheetCommand sheet;
    static const BookCommand book;
    static const DemoDataCommand demoData;
    static const SqlCommand sql;
    static const ImportCommand importMdb;
    static const CopyDbCommand copyDb;
    static const std::array<const Command*, 7> all = {&price, &sheet, &book, &demoData, &sql, &importMdb, &copyDb};
    return all;
}

void usage(std::ostream& out)
{
    out << "Usage: pricebook [--program-dir DIR] [COMMAND [ARGS...]]\n"
           "\n"
           "Without a command, opens the price list window. Commands run without a window:\n";
    for (const Command* command : commands()) {
        const std::string name(command->name());
        const std::string lead = "  " + name + std::string(name.size() < 13 ? 13 - name.size() : 1, ' ');
        out << lead << wrapText(command->summary(), lead.size(), 15) << "\n";
    }
    out << "\"pricebook COMMAND --help\" describes a command's arguments.\n"
           "\n"
           "Options (before the command, or after its own options):\n";
    // The program's own, and those every command takes.
    out << optionHelp({kProgramDirOption, "DIR", "the program's own folder, where the report work database lives"});
    for (const Option& option : commonOptions())
        out << optionHelp(option);
    out << optionHelp({"--version", "", "show the program's version"});
    out << "\n"
           "Exit codes: 0 done; 1 another failure, an output that could not be written too;\n"
           "2 wrong arguments; 3 the data folder or shop database; 4 order not found; 5 not\n"
           "every quantity or page priced; 130 stopped by Ctrl-C.\n";
}

// A command line that cannot be run: one line saying why, and where to read more.
int wrongArguments(const std::string& why)
{
    std::cerr << "pricebook: " << printable(why) << " (see \"pricebook --help\")\n";
    return ExitUsage;
}

int dispatch(const std::string& name, const std::vector<std::string>& rest)
{
    if (name == "--help" || name == "-h" || name == "help") {
        usage(std::cout);
        return ExitSuccess;
    }
    if (name == "--version") {
        std::cout << "pricebook " << PRICEBOOK_VERSION << "\n";
        return ExitSuccess;
    }
    const auto command = std::find_if(commands().begin(), commands().end(),
                                      [&](const Command* candidate) { return candidate->name() == name; });
    if (command != commands().end())
        return (*command)->execute(rest);
    return wrongArguments((startsWith(name, "-") ? "unknown option " : "unknown command ") + name);
}

} // namespace

std::string programFolderFor(const std::vector<std::string>& leadingOptions, const std::string& executableFolder)
{
    return startup::resolveProgramFolder(startup::programFolderOption(leadingOptions), executableFolder);
}

const std::string& programFolder()
{
    ProgramFolderSource& source = programFolderSource();
    if (!source.resolved)
        source.resolved = programFolderFor(source.leadingOptions, source.executableFolder);
    return *source.resolved;
}

bool wantsCommandLine(int argc, char** argv)
{
    int i = 1;
    while (i < argc) {
        const std::string_view arg(argv[i]);
        if (arg == kProgramDirOption)
            i += 2;
        else if (startsWith(arg, "--program-dir=") || arg == kVerboseOption || arg == kQuietOption)
            i += 1;
        else
            break;
    }
    return i < argc && !isToolkitOption(argv[i]);
}

int run(int argc, char** argv)
{
    try {
        std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
        std::size_t i = 0;
        while (i < args.size()) {
            if (args[i] == kProgramDirOption) {
                if (i + 1 >= args.size())
                    return wrongArguments("--program-dir needs a folder");
                i += 2;
            } else if (startsWith(args[i], "--program-dir=")) {
                i += 1;
            } else if (args[i] == kVerboseOption) {
                setVerbose(true);
                i += 1;
            } else if (args[i] == kQuietOption) {
                setQuiet(true);
                i += 1;
            } else {
                break;
            }
        }
        startup::nameProgram();
        programFolderSource() = {std::vector<std::string>(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(i)),
                                 startup::runningProgramFolder(argc > 0 ? argv[0] : nullptr), std::nullopt};
        if (i >= args.size())
            return wrongArguments("no command given");
        const std::string command = args[i];
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
        int exit = ExitSuccess;
        {
            // Whatever a command prints from the shop's data reaches a terminal with its control characters
            // escaped.
            const TerminalOutput terminal(std::cout, STDOUT_FILENO);
            exit = dispatch(command, rest);
        }
        // Output that never arrived (a full disk, a closed descriptor) is no success, whatever else the
        // command did.
        return finishOutput() ? exit : ExitFailure;
    } catch (const platform::Fault& fault) {
        report(std::cerr, std::string(fault.what()) + " (error " + std::to_string(fault.number()) + ")",
               fault.detail());
        return isDatabaseFileFault(fault.number()) ? ExitDataFolder : ExitFailure;
    } catch (const std::bad_alloc&) {
        std::cerr << "pricebook: out of memory\n";
        return ExitFailure;
    } catch (const std::exception& error) {
        std::cerr << "pricebook: " << error.what() << "\n";
        return ExitFailure;
    } catch (...) {
        std::cerr << "pricebook: unexpected failure\n";
        return ExitFailure;
    }
}

} // namespace cli
