#include "cli/ImportCommand.h"

#include <iostream>

#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "import/AccessImport.h"

namespace cli {

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitImportFailed = 3;

void usage(std::ostream& out)
{
    out << "Usage: pricebook import-mdb FILE.mdb DIR [--replace]\n"
           "Reads the Access (Jet) shop database FILE.mdb, without changing it, and writes DIR/vmdata.mdb as\n"
           "the price list's shop database. An existing vmdata.mdb is kept unless --replace is given.\n";
}

} // namespace

int importCommand(const std::vector<std::string>& args)
{
    std::vector<std::string> words;
    bool replace = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--replace") {
            replace = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "pricebook import-mdb: unknown option " << arg << "\n";
            usage(std::cerr);
            return ExitUsage;
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() != 2) {
        std::cerr << "pricebook import-mdb: give the Access file and the data folder\n";
        usage(std::cerr);
        return ExitUsage;
    }

    access_import::ImportOptions options;
    options.schemaSql = demoSchemaSql();
    options.replace = replace;
    // A line per table while it runs, only for someone watching a terminal.
    if (::isatty(STDERR_FILENO))
        options.progress = [](const std::string& table, std::size_t rows) {
            std::cerr << "  " << table << ": " << rows << (rows == 1 ? " row" : " rows") << "\n";
        };
    try {
        const access_import::ImportReport report = access_import::importAccessDatabase(words[0], words[1], options);
        std::cout << "Imported " << report.tables.size() << (report.tables.size() == 1 ? " table" : " tables")
                  << " from " << words[0] << " into " << report.database << "\n";
        for (const std::string& note : report.notes)
            std::cout << "  " << note << "\n";
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "pricebook import-mdb: " << failure.what() << "\n";
        return ExitImportFailed;
    }
}

} // namespace cli
