#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
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

std::string& resolvedProgramFolder()
{
    static std::string folder = ".";
    return folder;
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
        out << "  " << name << std::string(name.size() < 13 ? 13 - name.size() : 1, ' ') << command->summary() << "\n";
    }
    out << "\"pricebook COMMAND --help\" describes a command's arguments.\n"
           "\n"
           "Options:\n"
           "  --program-dir DIR          the program's own folder (the report work database lives there)\n"
           "  --verbose                  with a message, what stands behind it: the database's own words\n"
           "                             and the SQL text (also after a command's own options)\n"
           "  --help, -h                 show this help\n"
           "  --version                  show the program's version\n";
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
    std::cerr << "pricebook: unknown command " << printable(name) << "\n";
    usage(std::cerr);
    return ExitUsage;
}

} // namespace

std::string programFolderFor(const std::vector<std::string>& leadingOptions, const std::string& executableFolder)
{
    return startup::resolveProgramFolder(startup::programFolderOption(leadingOptions), executableFolder);
}

const std::string& programFolder()
{
    return resolvedProgramFolder();
}

bool wantsCommandLine(int argc, char** argv)
{
    int i = 1;
    while (i < argc) {
        const std::string_view arg(argv[i]);
        if (arg == kProgramDirOption)
            i += 2;
        else if (startsWith(arg, "--program-dir=") || arg == kVerboseOption)
            i += 1;
        else
            break;
    }
    if (i >= argc)
        return false;
    // Single-dash words other than -h are the window toolkit's own options (-platform, -style ...).
    const std::string_view first(argv[i]);
    if (first.size() > 1 && first[0] == '-' && first[1] != '-' && first != "-h")
        return false;
    return true;
}

int run(int argc, char** argv)
{
    try {
        std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
        std::size_t i = 0;
        while (i < args.size()) {
            if (args[i] == kProgramDirOption) {
                if (i + 1 >= args.size()) {
                    std::cerr << "pricebook: --program-dir needs a folder\n";
                    usage(std::cerr);
                    return ExitUsage;
                }
                i += 2;
            } else if (startsWith(args[i], "--program-dir=")) {
                i += 1;
            } else if (args[i] == kVerboseOption) {
                setVerbose(true);
                i += 1;
            } else {
                break;
            }
        }
        startup::nameProgram();
        const std::vector<std::string> leadingOptions(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(i));
        resolvedProgramFolder() =
            programFolderFor(leadingOptions, startup::runningProgramFolder(argc > 0 ? argv[0] : nullptr));
        if (i >= args.size()) {
            std::cerr << "pricebook: no command given\n";
            usage(std::cerr);
            return ExitUsage;
        }
        const std::string command = args[i];
        const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
        // Whatever a command prints from the shop's data reaches a terminal with its control characters
        // escaped.
        const TerminalOutput terminal(std::cout, STDOUT_FILENO);
        return dispatch(command, rest);
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
