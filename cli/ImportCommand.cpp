#include "cli/ImportCommand.h"

#include <iostream>

#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "cli/ExitCode.h"
#include "cli/ImportStopGuard.h"
#include "cli/Report.h"
#include "import/AccessImport.h"
#include "platform/Fault.h"

namespace cli {

namespace {

const Option kOptions[] = {
    {"--replace", "", "replace an existing vmdata.mdb"},
};

const CommandText kImportText = {
    .name = "import-mdb",
    .summary = "bring a shop database over from the management system's file",
    .synopsis = "FILE.mdb DIR [--replace]",
    .description =
        "Reads the Access (Jet) shop database FILE.mdb, without changing it, and writes DIR/vmdata.mdb as\n"
        "the price list's shop database. An existing vmdata.mdb is kept unless --replace is given. Stopping\n"
        "the program meanwhile leaves nothing behind in DIR.",
    .epilogue = "Exit codes: 0 imported; 2 wrong arguments; 3 the import failed (nothing was written).",
};

} // namespace

ImportCommand::ImportCommand()
    : Command(kImportText, {std::begin(kOptions), std::end(kOptions)})
{
}

int ImportCommand::run(const ParsedArguments& arguments) const
{
    const std::vector<std::string> words = arguments.positional();
    if (words.size() != 2)
        throw UsageError("give the Access file and the data folder");

    access_import::ImportOptions options;
    options.schemaSql = demoSchemaSql();
    options.replace = arguments.has("--replace");
    // A line per table while it runs, only for someone watching a terminal.
    if (::isatty(STDERR_FILENO))
        options.progress = [](const std::string& table, std::size_t rows) {
            std::cerr << "  " << table << ": " << rows << (rows == 1 ? " row" : " rows") << "\n";
        };
    access_import::StopCleanup cleanup;
    options.stopCleanup = &cleanup;
    try {
        const ImportStopGuard stopped(cleanup);
        const access_import::ImportReport report = access_import::importAccessDatabase(words[0], words[1], options);
        std::cout << "Imported " << report.tables.size() << (report.tables.size() == 1 ? " table" : " tables")
                  << " from " << words[0] << " into " << report.database << "\n";
        for (const std::string& note : report.notes)
            std::cout << "  " << note << "\n";
        return ExitSuccess;
    } catch (const platform::Fault& failure) {
        std::cerr << "pricebook import-mdb: " << failure.what() << "\n";
        if (verbose() && !failure.detail().empty())
            std::cerr << "    " << printable(failure.detail()) << "\n";
        // Nothing was written: the import's failure is one of the data folder's.
        return ExitDataFolder;
    }
}

} // namespace cli
