#include "cli/DemoDataCommand.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <optional>
#include <system_error>

#include <sqlite3.h>

#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "data/ServerConnectionFile.h"
#include "data/ServerShop.h"
#include "platform/Fault.h"
#include "platform/FileKind.h"
#include "platform/Outcome.h"
#include "platform/ReplacementFile.h"
#include "platform/TextFile.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

using platform::fault::FileAlreadyExists;
using platform::fault::PathFileAccessError;

constexpr const char* kShopDatabaseName = "vmdata.mdb";
constexpr const char* kCategoriesName = "Categories.dat";

// Builds the database in the empty file at `path` from the embedded SQL. Nothing when it worked, otherwise
// a fault in SQLite's words.
platform::Outcome loadShopDatabase(const std::string& path)
{
    sqlite3* db = nullptr;
    // The file was just made empty by us: it is opened, never created or followed through a symbolic link
    // (the folders on its way may be links).
    const int opened = sqlite3_open_v2(platform::inRealFolder(path).c_str(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    std::string failure;
    if (opened != SQLITE_OK) {
        failure = db ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
    } else {
        // One transaction: the whole shop or nothing, and quick on a slow disk.
        std::string script = "BEGIN;\n";
        script += demoSchemaSql();
        script += "\n";
        script += demoDataSql();
        script += "\nCOMMIT;\n";
        // Write-ahead-log mode: the order-row write of every priced quantity then costs a log append
        // instead of a synced rollback journal, and the window can read while a run writes.
        script += "PRAGMA journal_mode = WAL;\n";
        char* error = nullptr;
        if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            failure = error ? error : sqlite3_errmsg(db);
            sqlite3_free(error);
        }
    }
    if (sqlite3_close(db) != SQLITE_OK && failure.empty())
        failure = "the file could not be closed";
    if (failure.empty())
        return std::nullopt;
    return platform::Fault(PathFileAccessError, failure);
}

const Option kOptions[] = {
    {"--replace", "", "replace an existing vmdata.mdb (with --postgres: the shop tables on the server and vmdata.pg)"},
    {"--postgres", "CONNINFO", "put the demo shop into the database of a PostgreSQL server instead (a libpq\n"
                               "connection string or service name, no password); with DIR, DIR/vmdata.pg\n"
                               "then points the data folder at it"},
};

const CommandText kDemoDataText = {
    .name = "demo-data",
    .summary = "build a data folder with the demo shop's database",
    .synopsis = "DIR [--replace] | [DIR] --postgres CONNINFO [--replace]",
    .description =
        "Builds DIR/vmdata.mdb (the demo shop's database), DIR/Categories.dat and DIR/PriceBook.dat (a\n"
        "Counter Price Book of every demo order). An existing vmdata.mdb is kept unless --replace is given;\n"
        "existing category and book files are always kept.\n"
        "\n"
        "With --postgres the demo shop goes into an empty database of a PostgreSQL server, all or nothing; a\n"
        "database that has shop tables already is left as it is unless --replace is given. With DIR too,\n"
        "DIR/vmdata.pg (the connection string), DIR/Categories.dat and DIR/PriceBook.dat make DIR a data\n"
        "folder on that server.",
    .epilogue = "Exit codes: 0 written; 1 vmdata.mdb is there already, or the folder or a file could not be written;\n"
                "2 wrong arguments.",
};

} // namespace

const std::vector<std::string>& demoCategories()
{
    static const std::vector<std::string> categories = {
        "Letterheads and Envelopes", "Business Forms", "Brochures and Flyers",
        "Booklets and Newsletters",  "Business Cards", "Notepads",
    };
    return categories;
}

std::vector<pricing::BookPage> demoPriceBook()
{
    using pricing::QuoteOrJob;
    const std::vector<std::string>& c = demoCategories();
    const struct
    {
        const char* orderNo;
        std::int16_t part;
        QuoteOrJob mark;
        const std::string& category;
    } kPages[] = {
        {"24101", 1, QuoteOrJob::Quote, c[0]},     {"24102", 1, QuoteOrJob::Quote, c[2]},
        {"24102", 2, QuoteOrJob::Quote, c[2]},     {"24103", 1, QuoteOrJob::Job, c[1]},
        {"24104", 1, QuoteOrJob::Job, c[3]},       {"O'NEIL-01", 1, QuoteOrJob::Quote, c[2]},
        {"24105", 1, QuoteOrJob::Job, c[4]},       {"24106", 1, QuoteOrJob::Quote, c[2]},
        {"24107", 1, QuoteOrJob::Job, c[5]},       {"24108", 1, QuoteOrJob::Quote, c[2]},
        {"24109", 1, QuoteOrJob::Job, c[1]},       {"24110", 1, QuoteOrJob::Quote, c[4]},
    };
    std::vector<pricing::BookPage> pages;
    for (const auto& p : kPages) {
        pricing::BookPage page;
        page.orderNo = p.orderNo;
        page.key.partNo = p.part;
        page.key.quoteOrJob = p.mark;
        page.category = p.category;
        page.parameters.direction = pricing::RoundingDirection::Down;
        pages.push_back(std::move(page));
    }
    return pages;
}

namespace {

// The tags of the files a run builds beside their names (see platform::ReplacementFile).
constexpr std::string_view kNewTag = ".new-";
constexpr std::string_view kBuildingTag = ".building-";

// The files of a demo folder, each built whole beside its name before any takes it: they take their names
// together at the end, the shop database (or the server's connection file) last, so a folder with the demo
// shop's database always has its category and book files too. A run stopped at any moment leaves only
// files of its own pattern, claimed by no one, which the next run removes; the next run then builds
// what is missing.
class DemoFolderFiles
{
public:
    // Removes what killed runs left first, also beside a file this run keeps or does not write.
    explicit DemoFolderFiles(const fs::path& folder) : m_folder(folder)
    {
        for (const char* name : {kCategoriesName, pricing::PriceBookFileName, data::ServerConnectionFileName})
            platform::removeLeftovers((folder / name).string(), kNewTag);
        platform::removeLeftovers((folder / kShopDatabaseName).string(), kBuildingTag, platform::sqliteCompanions());
    }

    // The category list and the price book, unless the shop has its own: a shop's files are never
    // overwritten.
    void addShopFiles()
    {
        const fs::path categories = m_folder / kCategoriesName;
        if (!fs::exists(categories))
            add(categories, demoCategories());
        const fs::path book = m_folder / pricing::PriceBookFileName;
        if (!fs::exists(fs::symlink_status(book))) {
            std::vector<std::string> lines;
            for (const pricing::BookPage& page : demoPriceBook())
                lines.push_back(pricing::bookLine(page));
            add(book, lines);
        }
    }

    // A file of text lines, each ended by CR LF. `OnlyIfFree` keeps a file of the shop's own that came to
    // stand at the name meanwhile.
    void add(const fs::path& path, const std::vector<std::string>& lines,
             platform::ReplacementFile::Placing placing = platform::ReplacementFile::Placing::OnlyIfFree)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        m_files.push_back({std::make_unique<platform::ReplacementFile>(path.string(), kNewTag), placing});
        m_files.back().file->write(text);
    }

    // Puts every file in its place, in the order added.
    void putInPlace()
    {
        for (const Built& built : m_files)
            built.file->putInPlace(built.placing);
    }

private:
    struct Built
    {
        std::unique_ptr<platform::ReplacementFile> file;
        platform::ReplacementFile::Placing placing;
    };
    fs::path m_folder;
    std::vector<Built> m_files;
};

void makeFolder(const fs::path& dir)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        throw platform::Fault(PathFileAccessError, "Path/File access error: cannot create the data folder " +
                                                       dir.string() + (error ? ": " + error.message() : ""));
}

} // namespace

std::string buildDemoShop(const std::string& folder, bool replace)
{
    const fs::path dir(folder);
    makeFolder(dir);
    DemoFolderFiles files(dir);

    const fs::path target = dir / kShopDatabaseName;
    if (fs::is_directory(target))
        throw platform::Fault(FileAlreadyExists, "File already exists: " + target.string() + " is a folder");
    const auto alreadyExists = [&] {
        return platform::Fault(FileAlreadyExists,
                               "File already exists: " + target.string() + " (give --replace to overwrite it)");
    };
    if (!replace && fs::exists(target))
        throw alreadyExists();

    platform::Outcome failed;
    try {
        files.addShopFiles();
        // Built in a file of its own beside the target (removed, with any journal, on failure) and put in
        // place whole after the other files; without --replace only while the name is still free. The file
        // stays open here, and so claimed, until it has its name; SQLite opens it by that name.
        platform::ReplacementFile building(target.string(), kBuildingTag, platform::sqliteCompanions());
        failed = loadShopDatabase(building.path());
        if (!failed) {
            files.putInPlace();
            if (!building.putInPlace(replace ? platform::ReplacementFile::Placing::Replace
                                             : platform::ReplacementFile::Placing::OnlyIfFree))
                throw alreadyExists();
        }
    } catch (const std::system_error& error) {
        failed = platform::Fault(PathFileAccessError, error.code().message(), error.what());
    }
    if (failed)
        throw platform::Fault(PathFileAccessError,
                              "Path/File access error: could not write " + target.string() + ": " + failed->what(),
                              failed->detail());
    return target.string();
}

DemoDataCommand::DemoDataCommand()
    : Command(kDemoDataText, {std::begin(kOptions), std::end(kOptions)})
{
}

std::string buildDemoShopOnServer(const std::string& conninfo, const std::string& folder, bool replace)
{
    if (const platform::Outcome unusable = data::checkConnectionString(conninfo))
        throw UsageError("the connection string of --postgres cannot be used: " + std::string(unusable->what()));
    std::vector<std::string> statements = data::scriptStatements(demoSchemaSql());
    for (std::string& statement : data::scriptStatements(demoDataSql()))
        statements.push_back(std::move(statement));
    const std::string written = data::loadShopIntoServer(conninfo, statements, replace);
    if (folder.empty())
        return written;

    const fs::path dir(folder);
    makeFolder(dir);
    DemoFolderFiles files(dir);
    const fs::path connectionFile = dir / data::ServerConnectionFileName;
    if (!replace && fs::exists(connectionFile))
        throw platform::Fault(FileAlreadyExists, "File already exists: " + connectionFile.string() +
                                                     " (give --replace to overwrite it)");
    try {
        files.addShopFiles();
        files.add(connectionFile, {conninfo},
                  replace ? platform::ReplacementFile::Placing::Replace : platform::ReplacementFile::Placing::OnlyIfFree);
        files.putInPlace();
    } catch (const std::system_error& error) {
        throw platform::Fault(PathFileAccessError, "Path/File access error: could not write the data folder " +
                                                       folder + ": " + error.code().message(),
                              error.what());
    }
    return written + ", with the data folder " + folder;
}

int DemoDataCommand::run(const ParsedArguments& arguments) const
{
    const std::vector<std::string> folders = arguments.positional();
    if (const std::optional<std::string> conninfo = arguments.value("--postgres")) {
        if (folders.size() > 1)
            throw UsageError("one data folder only (" + folders[0] + ", " + folders[1] + ")");
        const std::string written =
            buildDemoShopOnServer(*conninfo, folders.empty() ? std::string() : folders[0], arguments.has("--replace"));
        notice("demo shop database written to the " + written);
        return ExitSuccess;
    }
    if (folders.empty())
        throw UsageError("no data folder given");
    if (folders.size() > 1)
        throw UsageError("one data folder only (" + folders[0] + ", " + folders[1] + ")");
    const std::string written = buildDemoShop(folders[0], arguments.has("--replace"));
    notice("demo shop database written to " + written);
    return ExitSuccess;
}

} // namespace cli
