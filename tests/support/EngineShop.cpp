#include "tests/support/EngineShop.h"

namespace testsupport {

EngineShop::EngineShop(Engine engine, std::string_view rowsSql)
{
    if (engine == Engine::File) {
        m_file = std::make_unique<TestDatabase>(rowsSql);
        m_location = m_file->path();
        m_database = data::Database::open(m_location);
        return;
    }
    m_server = std::make_unique<ServerDatabase>();
    m_location = m_server->conninfo();
    m_database = data::Database::openServer(m_location);
    for (const std::string& statement : scriptStatements(readFile(SCHEMA_SQL)))
        m_database.execute(statement);
    for (const std::string& statement : scriptStatements(rowsSql))
        m_database.execute(statement);
}

} // namespace testsupport
