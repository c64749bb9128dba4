#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "data/Recordset.h"
#include "platform/Value.h"
#include "data/TableView.h"

namespace data {

class Connection;
class Database;

// While it lives, the queries on its file form one read transaction, when the file is kept in
// write-ahead-log mode: the few hundred queries the engine makes for one quantity then take the file's
// locks once instead of each time. In that mode a reader holds up no writer of another program. A file
// in another journal mode, or a connection already inside a transaction (another group), is left as it is.
class ReadGroup
{
public:
    ReadGroup() = default;
    ~ReadGroup();
    ReadGroup(ReadGroup&& other) noexcept : m_connection(std::move(other.m_connection)) {}
    ReadGroup& operator=(ReadGroup&&) = delete;
    ReadGroup(const ReadGroup&) = delete;
    ReadGroup& operator=(const ReadGroup&) = delete;

    bool isGrouping() const noexcept { return static_cast<bool>(m_connection); }

private:
    friend class Database;
    explicit ReadGroup(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> m_connection; // set while a transaction of its own is open
};

// A shop database or report work database: a SQLite 3 file reached through one shared connection per
// file inside the process, which keeps its prepared statements, so the many short-lived estimator objects
// of a pricing run stay cheap. Every read still goes to the file, so a row written by the order-row writer
// is seen by the next query.
class Database
{
public:
    Database() = default;

    // Opens an existing file, shared and read-write. Never creates one: a missing file, a file that is not
    // SQLite, or an Access (Jet) file is a Fault whose text names the file and says what is wrong.
    static Database open(const std::string& path);

    // Creates a new, empty database file (the report work database). Fails when the file exists.
    static Database create(const std::string& path);

    bool isOpen() const noexcept { return static_cast<bool>(m_connection); }
    const std::string& path() const;

    // A read-only snapshot of the rows of one SQL text of the old engine's dialect.
    Recordset openRecordset(std::string_view sql) const;

    // A walk over a whole table ("Orders", "BinderySelections") in stored order, with row positions
    // and edit/update.
    TableView openTable(std::string_view table) const;

    // Runs one statement (DDL, INSERT, UPDATE, DELETE) of the old dialect.
    void execute(std::string_view sql) const;

    // Releases this handle; the shared connection closes when its last handle goes.
    void close();

    // One read transaction for the queries that follow, until the group is let go (see ReadGroup).
    ReadGroup groupReads() const;

private:
    explicit Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}
    std::shared_ptr<Connection> m_connection;
};

// Sees every statement text that SQLite runs (after dialect adaptation), in order; for the database
// floor benchmark. Pass an empty function to stop tracing.
void setTraceHook(std::function<void(const std::string& sql)> hook);

// The same, with the values bound to ?1, ?2 ... of each statement (the row writes carry theirs so), for
// replaying a run's statements exactly. Pass an empty function to stop tracing.
void setBoundTraceHook(std::function<void(const std::string& sql, std::span<const platform::Value> parameters)> hook);

// How long a statement waits for a lock held by another program before it fails (milliseconds).
void setBusyTimeout(int milliseconds);

} // namespace data
