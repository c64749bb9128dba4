#include "tests/support/TestDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sqlite3.h>

namespace testsupport {

namespace {

std::string makeTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "pricebook-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

void execOn(const std::string& path, std::string_view sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open test database " + path);
    }
    // Test files are thrown away: no need to wait for the disk after every statement of a script.
    sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    char* error = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        sqlite3_close(db);
        throw std::runtime_error("test SQL failed: " + message);
    }
    sqlite3_close(db);
}

} // namespace

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string demoShopSql()
{
    return readFile(SCHEMA_SQL) + "\n" + readFile(DEMO_DATA_SQL);
}

TestDatabase::TestDatabase(std::string_view rowsSql, bool withSchema)
    : m_folder(makeTempFolder()), m_path(m_folder + "/vmdata.mdb")
{
    static const std::string schema = readFile(SCHEMA_SQL);
    if (withSchema)
        execOn(m_path, schema);
    if (!rowsSql.empty())
        execOn(m_path, rowsSql);
    if (!withSchema && rowsSql.empty())
        execOn(m_path, "PRAGMA user_version = 0;");
}

TestDatabase::~TestDatabase()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void runSql(const std::string& databaseFile, std::string_view sql)
{
    execOn(databaseFile, sql);
}

void TestDatabase::exec(std::string_view sql) const
{
    execOn(m_path, sql);
}

TemporaryFolder::TemporaryFolder() : m_path(makeTempFolder()) {}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace testsupport
