#include "cli/CopyDbCommand.h"

#include <filesystem>
#include <iostream>

#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "data/ServerConnectionFile.h"
#include "data/ServerShop.h"

namespace cli {

namespace {

const Option kOptions[] = {
    {"--postgres", "CONNINFO", "the server's database: a libpq connection string or service name, no password"},
    {"--replace", "", "replace the shop tables the server's database has already"},
};

const CommandText kCopyDbText = {
    .name = "copy-db",
    .summary = "move a shop database file onto a PostgreSQL server",
    .synopsis = "DATAFOLDER --postgres CONNINFO [--replace]",
    .description =
        "Copies every table of DATAFOLDER/vmdata.mdb, with its columns and every row in stored order, into\n"
        "the database of a PostgreSQL server, all or nothing, and checks each table's count of rows there\n"
        "before keeping the copy. The file is only read. A database that has shop tables already is left as\n"
        "it is unless --replace is given. Then put a vmdata.pg with the connection string in each counter's\n"
        "data folder.",
    .epilogue = "Exit codes: 0 copied; 1 the copy failed (nothing was written); 2 wrong arguments.",
};

} // namespace

CopyDbCommand::CopyDbCommand()
    : Command(kCopyDbText, {std::begin(kOptions), std::end(kOptions)})
{
}

int CopyDbCommand::run(const ParsedArguments& arguments) const
{
    const std::vector<std::string> folders = arguments.positional();
    if (folders.size() != 1)
        throw UsageError("give the data folder whose vmdata.mdb is copied");
    const std::optional<std::string> conninfo = arguments.value("--postgres");
    if (!conninfo)
        throw UsageError("give the server's database with --postgres CONNINFO");
    if (const platform::Outcome unusable = data::checkConnectionString(*conninfo))
        throw UsageError("the connection string of --postgres cannot be used: " + std::string(unusable->what()));
    const std::string file = (std::filesystem::path(folders[0]) / "vmdata.mdb").string();
    const data::ShopCopy copy = data::copyShopToServer(file, *conninfo, arguments.has("--replace"));
    long rows = 0;
    for (const auto& [table, count] : copy.tables)
        rows += count;
    notice("copied " + std::to_string(copy.tables.size()) + (copy.tables.size() == 1 ? " table, " : " tables, ") +
           std::to_string(rows) + (rows == 1 ? " row" : " rows") + " from " + file + " to the " + copy.database);
    if (!quiet())
        for (const auto& [table, count] : copy.tables)
            std::cerr << "  " << printable(table) << ": " << count << (count == 1 ? " row" : " rows") << "\n";
    return ExitSuccess;
}

} // namespace cli
