#include "data/Connection.h"

#include <atomic>

#include "data/ConnectionRegistry.h"
#include "data/ServerConnection.h"
#include "data/SqliteConnection.h"

namespace data {

namespace {

std::atomic<int> g_busyTimeout{5000};

} // namespace

std::shared_ptr<Connection> Connection::open(const std::string& path, Access access)
{
    return SqliteConnection::open(path, access);
}

std::shared_ptr<Connection> Connection::create(const std::string& path)
{
    return SqliteConnection::create(path);
}

std::shared_ptr<Connection> Connection::openServer(const std::string& conninfo)
{
    return ServerConnection::open(conninfo);
}

int Connection::busyTimeout()
{
    return g_busyTimeout.load();
}

void Connection::setBusyTimeout(int milliseconds)
{
    g_busyTimeout = milliseconds < 0 ? 0 : milliseconds;
    for (const auto& connection : openConnections())
        connection->applyBusyTimeout(g_busyTimeout.load());
}

} // namespace data
