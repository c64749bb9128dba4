#include "data/Database.h"

#include "data/Connection.h"
#include "data/Dialect.h"
#include "platform/Fault.h"

namespace data {

namespace {

constexpr int ObjectInvalid = 3420;

} // namespace

Database Database::open(const std::string& path)
{
    return Database(Connection::open(path));
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
    recordset.m_sql = adaptSql(sql);
    recordset.m_connection = m_connection;
    recordset.load();
    return recordset;
}

TableView Database::openTable(std::string_view table) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    TableView view;
    view.m_table = std::string(table);
    view.m_connection = m_connection;
    view.load();
    return view;
}

void Database::execute(std::string_view sql) const
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    m_connection->run(adaptSql(sql));
}

void Database::close()
{
    m_connection.reset();
}

void setTraceHook(std::function<void(const std::string& sql)> hook)
{
    Connection::setTraceHook(std::move(hook));
}

void setBoundTraceHook(std::function<void(const std::string& sql, std::span<const platform::Value> parameters)> hook)
{
    Connection::setBoundTraceHook(std::move(hook));
}

void setBusyTimeout(int milliseconds)
{
    Connection::setBusyTimeout(milliseconds);
}

} // namespace data
