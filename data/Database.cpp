#include "data/Database.h"

#include <string>

#include "data/Connection.h"
#include "data/Dialect.h"
#include "data/JetErrors.h"
#include "data/ServerConnectionFile.h"
#include "platform/Fault.h"

namespace data {

Database Database::open(const std::string& path, Access access)
{
    // A data folder's connection file puts the shop database on a server.
    if (isServerConnectionFile(path))
        return openServer(readServerConnectionFile(path));
    return Database(Connection::open(path, access));
}

Database Database::openServer(const std::string& conninfo)
{
    return Database(Connection::openServer(conninfo));
}

Database Database::openSession(const std::string& path, const SessionOptions& options)
{
    std::shared_ptr<Connection> connection =
        isServerConnectionFile(path) ? Connection::openServer(readServerConnectionFile(path), Sharing::Own)
                                     : Connection::open(path, Access::ReadWrite, Sharing::Own);
    if (options.busyTimeout >= 0)
        connection->applyBusyTimeout(options.busyTimeout);
    connection->setTrace(options.trace);
    connection->allowReadCache(options.readCache);
    return Database(std::move(connection));
}

Database Database::create(const std::string& path)
{
    return Database(Connection::create(path));
}

const std::string& Database::path() const
{
    static const std::string none;
    return m_connection ? m_connection->path() : none;
}

Recordset Database::openRecordset(std::string_view sql) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    Recordset recordset;
    recordset.m_sql = m_connection->adapt(sql);
    recordset.m_connection = m_connection;
    recordset.load();
    return recordset;
}

TableView Database::openTable(std::string_view table, TableRows rows) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    TableView view;
    view.m_table = m_connection->storedName(std::string(table));
    view.m_connection = m_connection;
    if (rows == TableRows::All)
        view.load();
    return view;
}

void Database::execute(std::string_view sql) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    m_connection->run(m_connection->adapt(sql));
}

TypedOutcome Database::runTyped(std::string_view sql, const TypedStatementLimits& limits, const TypedRows& rows) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    return m_connection->runTyped(m_connection->adapt(sql), limits, rows);
}

Transaction Database::beginTransaction() const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    m_connection->begin();
    return Transaction(m_connection);
}

void Transaction::commit()
{
    if (!m_connection)
        return;
    m_connection->commit();
    m_connection.reset();
}

void Transaction::rollback() noexcept
{
    if (m_connection)
        m_connection->rollback();
    m_connection.reset();
}

WorkingCopy Database::workingCopy(std::string_view table) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    std::string name = m_connection->createWorkingCopy(std::string(table));
    return WorkingCopy(m_connection, std::move(name));
}

WorkingCopy::~WorkingCopy()
{
    close();
}

WorkingCopy& WorkingCopy::operator=(WorkingCopy&& other) noexcept
{
    if (this != &other) {
        close();
        m_connection = std::move(other.m_connection);
        m_table = std::move(other.m_table);
    }
    return *this;
}

void WorkingCopy::refill(std::int64_t bookmark, const std::string& column, const platform::Value& value)
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the working copy is closed.");
    m_connection->refillWorkingCopy(m_table, bookmark, column, value);
}

void WorkingCopy::close() noexcept
{
    if (m_connection)
        m_connection->dropWorkingCopy(m_table);
    m_connection.reset();
}

void Database::close()
{
    m_connection.reset();
}

void setBusyTimeout(int milliseconds)
{
    Connection::setBusyTimeout(milliseconds);
}

int busyTimeout()
{
    return Connection::busyTimeout();
}

} // namespace data
