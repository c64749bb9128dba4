#include "tests/support/TestServer.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include <unistd.h>

#include <libpq-fe.h>

namespace testsupport {

namespace {

using ServerConnection = std::unique_ptr<PGconn, decltype(&PQfinish)>;

ServerConnection connect(const std::string& conninfo)
{
    ServerConnection connection(PQconnectdb(conninfo.c_str()), &PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw std::runtime_error("cannot reach the test server: " + std::string(PQerrorMessage(connection.get())));
    PQsetNoticeProcessor(connection.get(), [](void*, const char*) {}, nullptr);
    return connection;
}

void execOn(PGconn* connection, const std::string& sql)
{
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection, sql.c_str()), &PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error("test SQL failed: " + std::string(PQerrorMessage(connection)));
}

} // namespace

std::string testServer()
{
    const char* conninfo = std::getenv("PRICEBOOK_TEST_PG");
    return conninfo ? conninfo : "";
}

std::string noTestServerReason()
{
    return "No PostgreSQL test server: PRICEBOOK_TEST_PG is not set (scripts/test.sh starts a throwaway "
           "server and sets it).";
}

std::vector<std::string> scriptStatements(std::string_view script)
{
    std::vector<std::string> statements;
    std::string current;
    const auto keep = [&](std::string& text) {
        const std::size_t start = text.find_first_not_of(" \t\r\n");
        if (start != std::string::npos) {
            std::string statement = text.substr(start);
            if (statement != "BEGIN" && statement != "COMMIT")
                statements.push_back(std::move(statement));
        }
        text.clear();
    };
    char quote = 0;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (!quote && c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n')
                ++i;
            current += '\n';
            continue;
        }
        if (quote && c == quote)
            quote = 0;
        else if (!quote && (c == '\'' || c == '"'))
            quote = c;
        if (!quote && c == ';') {
            keep(current);
            continue;
        }
        current += c;
    }
    keep(current); // a last statement without a semicolon
    return statements;
}

ServerDatabase::ServerDatabase()
{
    static std::atomic<int> counter{0};
    m_name = "pricebook_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    const std::string server = testServer();
    if (server.empty())
        throw std::runtime_error(noTestServerReason());
    const ServerConnection admin = connect(server);
    execOn(admin.get(), "DROP DATABASE IF EXISTS " + m_name + " WITH (FORCE)");
    execOn(admin.get(), "CREATE DATABASE " + m_name);
    m_conninfo = server + " dbname=" + m_name;
}

ServerDatabase::~ServerDatabase()
{
    try {
        const ServerConnection admin = connect(testServer());
        execOn(admin.get(), "DROP DATABASE IF EXISTS " + m_name + " WITH (FORCE)");
    } catch (const std::exception&) {
        // A server gone already leaves nothing to drop.
    }
}

void ServerDatabase::exec(std::string_view sql) const
{
    const ServerConnection connection = connect(m_conninfo);
    execOn(connection.get(), std::string(sql));
}

std::string ServerDatabase::rows(std::string_view sql) const
{
    const ServerConnection connection = connect(m_conninfo);
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection.get(), std::string(sql).c_str()),
                                                               &PQclear);
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        throw std::runtime_error("test query failed: " + std::string(PQerrorMessage(connection.get())));
    std::string out;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        for (int column = 0; column < PQnfields(result.get()); ++column)
            out += (column ? "|" : "") + std::string(PQgetvalue(result.get(), row, column));
        out += "\n";
    }
    return out;
}

} // namespace testsupport
