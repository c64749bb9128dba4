#include "cli/DemoDataCommand.h"

#include <filesystem>
#include <iostream>
#include <random>
#include <system_error>

#include <sqlite3.h>

#include "platform/Fault.h"
#include "platform/TextFile.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr int FileAlreadyExists = 58;
constexpr int PathFileAccessError = 75;

constexpr const char* kShopDatabaseName = "vmdata.mdb";
constexpr const char* kCategoriesName = "Categories.dat";

// A name beside the shop database that no other run is using, for building the new file.
fs::path temporaryBeside(const fs::path& target)
{
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = target;
        candidate += ".building-" + std::to_string(random() % 1000000);
        std::error_code error;
        if (!fs::exists(candidate, error) && !error)
            return candidate;
    }
    throw platform::Fault(PathFileAccessError,
                          "Path/File access error: no temporary file name is free beside " + target.string());
}

// Builds the database at `path` from the embedded SQL. Any failure removes the partial file.
void loadShopDatabase(const fs::path& path)
{
    sqlite3* db = nullptr;
    const int opened =
        sqlite3_open_v2(path.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
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
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove(path, ignored);
        throw platform::Fault(PathFileAccessError,
                              "Path/File access error: could not write " + path.string() + ": " + failure);
    }
}

void usage(std::ostream& out)
{
    out << "Usage: pricebook demo-data DIR [--replace]\n"
           "Builds DIR/vmdata.mdb (the demo shop's database) and DIR/Categories.dat. An existing\n"
           "vmdata.mdb is kept unless --replace is given.\n";
}

} // namespace

const std::vector<std::string>& demoCategories()
{
    static const std::vector<std::string> categories = {
        "Letterheads and Envelopes", "Business Forms", "Brochures and Flyers",
        "Booklets and Newsletters",  "Business Cards", "Notepads",
    };
    return categories;
}

std::string buildDemoShop(const std::string& folder, bool replace)
{
    const fs::path dir(folder);
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        throw platform::Fault(PathFileAccessError, "Path/File access error: cannot create the data folder " +
                                                       folder + (error ? ": " + error.message() : ""));

    const fs::path target = dir / kShopDatabaseName;
    if (fs::is_directory(target))
        throw platform::Fault(FileAlreadyExists, "File already exists: " + target.string() + " is a folder");
    if (!replace && fs::exists(target))
        throw platform::Fault(FileAlreadyExists, "File already exists: " + target.string() +
                                                     " (give --replace to overwrite it)");

    const fs::path building = temporaryBeside(target);
    loadShopDatabase(building);
    fs::rename(building, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(building, ignored);
        throw platform::Fault(PathFileAccessError, "Path/File access error: could not write " +
                                                       target.string() + ": " + error.message());
    }

    // The shop's own category list is never overwritten.
    const fs::path categories = dir / kCategoriesName;
    if (!fs::exists(categories))
        platform::writeLines(categories.string(), demoCategories());
    return target.string();
}

int demoDataCommand(const std::vector<std::string>& args)
{
    std::string folder;
    bool replace = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--replace") {
            replace = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "pricebook demo-data: unknown option " << arg << "\n";
            usage(std::cerr);
            return 2;
        } else if (folder.empty()) {
            folder = arg;
        } else {
            std::cerr << "pricebook demo-data: one data folder only (" << folder << ", " << arg << ")\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (folder.empty()) {
        std::cerr << "pricebook demo-data: no data folder given\n";
        usage(std::cerr);
        return 2;
    }
    const std::string written = buildDemoShop(folder, replace);
    std::cout << "Demo shop database written to " << written << "\n";
    return 0;
}

} // namespace cli
