#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "data/Access.h"
#include "data/Recordset.h"
#include "data/StatementTrace.h"
#include "data/TableView.h"
#include "data/TypedStatement.h"
#include "platform/Value.h"

namespace data {

class Connection;
class Database;
class Snapshot;

// What a session's connection starts with: its own busy timeout (milliseconds; below 0 the process's), a
// trace of the statements it sends, with their bound values (none: no trace of its own), and whether it
// keeps the rows it reads inside a snapshot (without, every read goes to the database: for measuring what
// the cache saves).
struct SessionOptions
{
    int busyTimeout = -1;
    BoundTraceHook trace;
    bool readCache = true;
};

// A transaction on a database file: while it lives, the statements on the file see one snapshot of it and
// take its locks once. Whatever was not committed is rolled back when it is let go, so work done inside
// one (a quantity written into a working copy, say) leaves nothing behind. One at a time per file.
class Transaction
{
public:
    Transaction() = default;
    ~Transaction() { rollback(); }
    Transaction(Transaction&& other) noexcept : m_connection(std::move(other.m_connection)) {}
    Transaction& operator=(Transaction&&) = delete;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback() noexcept;

private:
    friend class Database;
    explicit Transaction(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}
    std::shared_ptr<Connection> m_connection; // set while the transaction is open
};

// A private copy of some rows of one table that this process reads in the table's place while the copy
// lives: every query of the table's name, on any handle of the file in this process, sees the copy. Rows
// written to it never reach the file, so other programs and other runs never see them, and a crash
// leaves the file as it was. The copy has the table's columns with their declared types, so its values
// read back exactly as the table's own.
class WorkingCopy
{
public:
    WorkingCopy() = default;
    ~WorkingCopy();
    WorkingCopy(WorkingCopy&& other) noexcept
        : m_connection(std::move(other.m_connection)), m_table(std::move(other.m_table))
    {
    }
    WorkingCopy& operator=(WorkingCopy&& other) noexcept;
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

    bool isOpen() const noexcept { return static_cast<bool>(m_connection); }

    // Empties the copy and fills it afresh from the file: the row at `bookmark` and every row whose
    // `column` equals `value`. Read inside a Transaction, the rows come from its snapshot.
    void refill(std::int64_t bookmark, const std::string& column, const platform::Value& value);

    // Drops the copy: the table's name means the file's table again.
    void close() noexcept;

private:
    friend class Database;
    WorkingCopy(std::shared_ptr<Connection> connection, std::string table)
        : m_connection(std::move(connection)), m_table(std::move(table))
    {
    }
    std::shared_ptr<Connection> m_connection;
    std::string m_table;
};

// A shop database or report work database: a SQLite 3 file, or a database on a server, reached through
// one shared connection per database inside the process, which keeps its prepared statements, so the many
// short-lived estimator objects of a pricing run stay cheap. Every read still goes to the database, so a
// row written by the order-row writer is seen by the next query.
class Database
{
public:
    Database() = default;

    // Opens an existing file, shared and read-write (or only for reading, at SQLite's own level). Never
    // creates one: a missing file, a file that is not SQLite, or an Access (Jet) file is a Fault whose text
    // names the file and says what is wrong. A server connection file ("vmdata.pg") opens the shop
    // database on the server it names.
    static Database open(const std::string& path, Access access = Access::ReadWrite);

    // Opens the shop database on a database server by its libpq connection string or service name (the
    // data folder's "vmdata.pg"). The same interfaces serve it as a file.
    static Database openServer(const std::string& conninfo);

    // A session of its own on an existing shop database (a file, or a server by its connection file),
    // opened and checked as open() does: a connection no other caller in the process shares, with its own
    // prepared statements, busy timeout and statement trace. A pricing run works through one and hands it
    // to the engine, so the run's snapshot, read cache and working copy are its alone, and a run on a
    // thread of its own never shares a connection with the window.
    static Database openSession(const std::string& path, const SessionOptions& options = {});

    // Creates a new, empty database file (the report work database). Fails when the file exists.
    static Database create(const std::string& path);

    bool isOpen() const noexcept { return static_cast<bool>(m_connection); }
    const std::string& path() const;

    // A read-only snapshot of the rows of one SQL text of the old engine's dialect.
    Recordset openRecordset(std::string_view sql) const;

    // A walk over a whole table ("Orders", "BinderySelections") in stored order, with row positions
    // and edit/update; with TableRows::ByBookmark, a view that reads only the rows it is moved to.
    TableView openTable(std::string_view table, TableRows rows = TableRows::All) const;

    // Runs one statement (DDL, INSERT, UPDATE, DELETE) of the old dialect.
    void execute(std::string_view sql) const;

    // Runs one statement of the old dialect that a person typed at the SQL console, within its limits,
    // handing its rows on as they are read (see Connection::runTyped).
    TypedOutcome runTyped(std::string_view sql, const TypedStatementLimits& limits, const TypedRows& rows) const;

    // Releases this handle; the shared connection closes when its last handle goes.
    void close();

    // Starts a transaction on the file (see Transaction); fault 3219 inside another one.
    Transaction beginTransaction() const;

    // A working copy of table (see WorkingCopy), empty until it is filled. A fault when the file has no
    // such table or a copy of it exists already.
    WorkingCopy workingCopy(std::string_view table) const;

private:
    friend class Snapshot;
    explicit Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}
    std::shared_ptr<Connection> m_connection;
};

// How long a statement waits for a lock held by another program before it fails (milliseconds).
void setBusyTimeout(int milliseconds);
int busyTimeout();

} // namespace data
