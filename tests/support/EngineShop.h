#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "data/Database.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace testsupport {

// Which engine keeps a test's shop database: a SQLite file, or a database on the test server.
enum class Engine
{
    File,
    Server
};

inline std::string engineName(Engine engine)
{
    return engine == Engine::File ? "File" : "Server";
}

// A shop database with demo/schema.sql and a test's rows on either engine. On the server both are loaded
// statement by statement through the code under test, so its DDL and INSERTs are tested too. Tests of
// the server skip where there is none: check available() first.
class EngineShop
{
public:
    static bool available(Engine engine) { return engine == Engine::File || !testServer().empty(); }

    EngineShop(Engine engine, std::string_view rowsSql);

    data::Database& database() noexcept { return m_database; }
    // How the data folder names the database: the file's path, or the server's connection string.
    const std::string& location() const noexcept { return m_location; }

private:
    std::unique_ptr<TestDatabase> m_file;
    std::unique_ptr<ServerDatabase> m_server;
    std::string m_location;
    data::Database m_database;
};

} // namespace testsupport
