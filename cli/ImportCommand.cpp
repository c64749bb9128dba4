#include "cli/ImportCommand.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>

#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "cli/ExitCode.h"
#include "cli/ImportStopGuard.h"
#include "cli/Report.h"
#include "data/ServerConnectionFile.h"
#include "data/ServerShop.h"
#include "import/AccessImport.h"
#include "platform/Fault.h"

namespace cli {

namespace {

// A new temporary folder, removed with everything in it when the object goes.
class StagingFolder
{
public:
    StagingFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pricebook-import-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder for the import");
        m_path = pattern;
    }
    ~StagingFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const std::string& path() const noexcept { return m_path; }

private:
    std::string m_path;
};

const Option kOptions[] = {
    {"--replace", "", "replace an existing vmdata.mdb (with --postgres: the server's shop tables)"},
    {"--postgres", "CONNINFO", "import into the database of a PostgreSQL server instead of DIR (a libpq\n"
                               "connection string or service name, no password)"},
};

const CommandText kImportText = {
    .name = "import-mdb",
    .summary = "bring a shop database over from the management system's file",
    .synopsis = "FILE.mdb DIR [--replace] | FILE.mdb --postgres CONNINFO [--replace]",
    .description =
        "Reads the Access (Jet) shop database FILE.mdb, without changing it, and writes DIR/vmdata.mdb as\n"
        "the price list's shop database. An existing vmdata.mdb is kept unless --replace is given. Stopping\n"
        "the program meanwhile leaves nothing behind in DIR. With --postgres the shop goes into the database\n"
        "of a PostgreSQL server instead, all or nothing, each table's rows counted there.",
    .epilogue = "Exit codes: 0 imported; 2 wrong arguments; 3 the import failed (nothing was written).",
};

} // namespace

ImportCommand::ImportCommand()
    : Command(kImportText, {std::begin(kOptions), std::end(kOptions)})
{
}

int ImportCommand::run(const ParsedArguments& arguments) const
{
    std::vector<std::string> words = arguments.positional();
    const std::optional<std::string> server = arguments.value("--postgres");
    std::optional<StagingFolder> staging;
    if (server) {
        if (words.size() != 1)
            throw UsageError("give the Access file only: --postgres names where it goes");
        if (const platform::Outcome unusable = data::checkConnectionString(*server))
            throw UsageError("the connection string of --postgres cannot be used: " + std::string(unusable->what()));
        // Imported into a file of its own first, then copied onto the server with every row counted.
        staging.emplace();
        words.push_back(staging->path());
    } else if (words.size() != 2) {
        throw UsageError("give the Access file and the data folder");
    }

    access_import::ImportOptions options;
    options.schemaSql = demoSchemaSql();
    options.replace = arguments.has("--replace");
    // A line per table while it runs, only for someone watching a terminal.
    if (::isatty(STDERR_FILENO) && !quiet())
        options.progress = [](const std::string& table, std::size_t rows) {
            std::cerr << "  " << table << ": " << rows << (rows == 1 ? " row" : " rows") << "\n";
        };
    access_import::StopCleanup cleanup;
    options.stopCleanup = &cleanup;
    try {
        const ImportStopGuard stopped(cleanup);
        access_import::ImportReport report = access_import::importAccessDatabase(words[0], words[1], options);
        if (server)
            report.database = "the " + data::copyShopToServer(report.database, *server, arguments.has("--replace")).database;
        notice("imported " + std::to_string(report.tables.size()) + (report.tables.size() == 1 ? " table" : " tables") +
               " from " + words[0] + " into " + report.database);
        if (!quiet())
            for (const std::string& note : report.notes)
                std::cerr << "  " << printable(note) << "\n";
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
