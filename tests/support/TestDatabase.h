#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// A temporary shop database for one test: a new SQLite file built from demo/schema.sql and then the
// test's own SQL (its rows), written with sqlite3 directly so the code under test opens it the normal
// way. The file (and its folder) are removed with the object.
class TestDatabase
{
public:
    explicit TestDatabase(std::string_view rowsSql = {}, bool withSchema = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& path() const noexcept { return m_path; }     // .../vmdata.mdb
    const std::string& folder() const noexcept { return m_folder; } // the temporary data folder

    // Runs more SQL on the file (sqlite3 directly, not the code under test).
    void exec(std::string_view sql) const;

private:
    std::string m_folder;
    std::string m_path;
};

// A fresh temporary folder, removed with the object.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const noexcept { return m_path; }

private:
    std::string m_path;
};

// Runs SQL on a database file with sqlite3 directly (not the code under test).
void runSql(const std::string& databaseFile, std::string_view sql);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view content);

// The demo shop's SQL (schema, then data) as one text, for tests that price the demo orders.
std::string demoShopSql();

} // namespace testsupport
