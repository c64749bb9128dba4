#include "data/Connection.h"

#include <atomic>

#include "data/ConnectionRegistry.h"
#include "data/Dialect.h"
#include "data/FieldNames.h"
#include "data/ReadCache.h"
#include "data/ServerConnection.h"
#include "data/SqliteConnection.h"

namespace data {

namespace {

std::atomic<int> g_busyTimeout{5000};

} // namespace

std::size_t QueryResult::position(std::string_view name) const
{
    if (!positions)
        positions = std::make_shared<FieldPositions>();
    if (const auto found = positions->find(name); found != positions->end())
        return found->second;
    const std::size_t at = findField(names, name);
    positions->emplace(std::string(name), at);
    return at;
}

Connection::Connection() = default;
Connection::~Connection() = default;

std::shared_ptr<Connection> Connection::open(const std::string& path, Access access, Sharing sharing)
{
    return SqliteConnection::open(path, access, sharing);
}

std::shared_ptr<Connection> Connection::create(const std::string& path)
{
    return SqliteConnection::create(path);
}

std::shared_ptr<Connection> Connection::openServer(const std::string& conninfo, Sharing sharing)
{
    return ServerConnection::open(conninfo, sharing);
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

void Connection::startReadCache()
{
    if (m_readCacheAllowed)
        m_readCache = std::make_unique<ReadCache>();
}

void Connection::stopReadCache() noexcept
{
    m_readCache.reset();
}

void Connection::savepoint(const std::string& name)
{
    runTransactionStatement("SAVEPOINT " + sqlIdentifier(name));
    if (m_readCache)
        m_readCache->mark(name);
}

void Connection::rollbackToSavepoint(const std::string& name)
{
    runTransactionStatement("ROLLBACK TO SAVEPOINT " + sqlIdentifier(name));
    if (m_readCache)
        m_readCache->backTo(name);
}

void Connection::releaseSavepoint(const std::string& name)
{
    runTransactionStatement("RELEASE SAVEPOINT " + sqlIdentifier(name));
    if (m_readCache)
        m_readCache->forget(name);
}

void Connection::trace(const std::string& sql, std::span<const platform::Value> parameters) const
{
    traceStatement(sql, parameters);
    if (m_trace)
        m_trace(sql, parameters);
}

} // namespace data
