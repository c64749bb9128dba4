#include <string>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include "tests/support/TestServer.h"

namespace {

// How many databases of that name the test server holds.
int databasesNamed(const std::string& name)
{
    PGconn* connection = PQconnectdb(testsupport::testServer().c_str());
    const char* values[] = {name.c_str()};
    PGresult* result = PQexecParams(connection, "SELECT count(*) FROM pg_database WHERE datname = $1", 1, nullptr,
                                    values, nullptr, nullptr, 0);
    const int count = PQresultStatus(result) == PGRES_TUPLES_OK ? std::stoi(PQgetvalue(result, 0, 0)) : -1;
    PQclear(result);
    PQfinish(connection);
    return count;
}

// Each test of the server gets a database of its own, which is gone when the test ends, even with a
// session still open on it.
TEST(ServerHarnessTest, EachTestHasItsOwnDatabaseDroppedAfterIt)
{
    if (testsupport::testServer().empty())
        GTEST_SKIP() << testsupport::noTestServerReason();
    std::string first;
    PGconn* lingering = nullptr;
    {
        const testsupport::ServerDatabase a;
        const testsupport::ServerDatabase b;
        EXPECT_NE(a.name(), b.name());
        a.exec("CREATE TABLE T (N integer)");
        EXPECT_THROW(b.exec("SELECT N FROM T"), std::runtime_error);
        lingering = PQconnectdb(a.conninfo().c_str());
        ASSERT_EQ(PQstatus(lingering), CONNECTION_OK);
        first = a.name();
        EXPECT_EQ(databasesNamed(first), 1);
    }
    EXPECT_EQ(databasesNamed(first), 0);
    PQfinish(lingering);
}

} // namespace
