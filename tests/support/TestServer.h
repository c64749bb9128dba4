#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The throwaway PostgreSQL server scripts/test.sh starts for the tests of the shop database server: its
// connection string (PRICEBOOK_TEST_PG), or empty where none was started.
std::string testServer();

// Why the tests of the server skip where testServer() is empty, for GTEST_SKIP.
std::string noTestServerReason();

// The statements of an SQL script (schema.sql, a test's rows) one by one, without comments, BEGIN and
// COMMIT: for loading a script through the code under test, which runs one statement at a time.
std::vector<std::string> scriptStatements(std::string_view script);

// A new, empty database on the test server for one test, dropped with the object (with any session still
// on it). The name is unique to the process and object, so tests run side by side never meet.
class ServerDatabase
{
public:
    ServerDatabase();
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    const std::string& name() const noexcept { return m_name; }
    // The connection string of this database.
    const std::string& conninfo() const noexcept { return m_conninfo; }

    // Runs SQL (PostgreSQL's own) on the database with libpq directly, not the code under test.
    void exec(std::string_view sql) const;
    // The rows of a query run the same way, as "a|b|c" lines, each ending in a newline.
    std::string rows(std::string_view sql) const;

private:
    std::string m_name;
    std::string m_conninfo;
};

} // namespace testsupport
