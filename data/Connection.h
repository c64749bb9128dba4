#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/Access.h"
#include "data/StatementTrace.h"
#include "data/TypedStatement.h"
#include "platform/Fault.h"
#include "platform/Value.h"

namespace data {

class ReadCache;

// Whether a connection is shared with every other caller in the process that opens the same database, or
// is a session's own (a pricing run's: its snapshot, read cache and working copy are then its alone, and a
// run on another thread never shares a connection with the window's reads).
enum class Sharing
{
    Shared,
    Own,
};

// Positions of columns by the names they were asked for, looked up by any text of the name.
struct NameHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};
using FieldPositions = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;

// What one query handed back: the column names, and every row read at once. A result the read cache keeps
// is shared by every recordset that reads it, on the thread of the connection that made it.
struct QueryResult
{
    std::vector<std::string> names;
    std::vector<std::vector<platform::Value>> rows;
    // Shared by the results of one prepared statement, whose columns they all have: the engine reads the
    // same few dozen of an order's two hundred columns at every quantity.
    mutable std::shared_ptr<FieldPositions> positions;

    // The position of a column by name (see findField), remembered for the next look-up of the name.
    std::size_t position(std::string_view name) const;
};

// The one connection of a shop database inside the process: a SQLite file's, or a database server's.
// Every Database, Recordset and TableView of the database shares it; it closes when the last of them
// lets go. The layers above never know which engine serves them: each connection turns the old engine's
// SQL texts into its own dialect (adapt) and takes the statements of this layer (query, run, its working
// copies) as SQLite writes them: "double-quoted" names and ?1, ?2 ... parameters.
class Connection
{
public:
    // The shared connection of an existing database file for that access (a read-only one is not shared
    // with a read-write one). Never creates a file; a file that is missing, empty, not a SQLite database,
    // an Access file, or damaged is a Fault naming the file. The file's bytes are not changed by opening
    // it. A folder that cannot be written, a read-only file and a full disk show as faults in the shop's
    // words: 3027 at a write, 3051 (folder) and 3183 (disk) when even reading needs a file beside it.
    static std::shared_ptr<Connection>
    open(const std::string& path, Access access = Access::ReadWrite, Sharing sharing = Sharing::Shared);

    // A new, empty database file; fault 3204 when the file already exists.
    static std::shared_ptr<Connection> create(const std::string& path);

    // The shared connection of a shop database on a database server, by its libpq connection string or
    // service name. A server that cannot be reached is fault 3051 naming the server.
    static std::shared_ptr<Connection> openServer(const std::string& conninfo, Sharing sharing = Sharing::Shared);

    virtual ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The file's path, or the server's database as the shop's messages name it.
    virtual const std::string& path() const noexcept = 0;
    virtual bool isReadOnly() const noexcept = 0;
    // The fault a write meets on a read-only connection: it names the folder or file that cannot be
    // written.
    virtual platform::Fault readOnlyFault() const = 0;

    // One SQL text of the old engine's dialect in this connection's own.
    virtual std::string adapt(std::string_view oldDialectSql) const = 0;

    // Runs a query and reads all its rows. Parameters bind to ?1, ?2 ... in order.
    virtual std::shared_ptr<const QueryResult>
    query(const std::string& sql, std::span<const platform::Value> parameters = {}) = 0;

    // Runs one statement that changes the database; returns the number of rows it changed.
    virtual int run(const std::string& sql, std::span<const platform::Value> parameters = {}) = 0;

    // The declared types of a table's columns in the old engine's words (INTEGER, REAL, TEXT, YESNO,
    // DATETIME), upper-cased, by upper-cased column name.
    virtual const std::unordered_map<std::string, std::string>& declaredTypes(const std::string& table) = 0;

    // A table's or column's name as the database stores it, found without regard to case (as written when
    // the database has none such, or matches names without regard to case by itself).
    virtual std::string storedName(const std::string& name) const { return name; }

    // The column that keeps a table's rows in stored order and finds one again (a bookmark).
    virtual std::string rowKey() const = 0;

    // A transaction of this connection (BEGIN): the statements that follow see one snapshot of the
    // database and take its locks once. Starting one inside another is fault 3219. A lock another program
    // holds shows at the first statement that needs it, as fault 3218.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0; // also when the transaction already ended by itself
    virtual bool inTransaction() const noexcept = 0;

    // A named point inside the transaction that the work done after it can be undone back to (the point
    // stays), or let go of (the work stays).
    void savepoint(const std::string& name);
    void rollbackToSavepoint(const std::string& name);
    void releaseSavepoint(const std::string& name);

    // Whether a reader's transaction keeps other programs from committing while it lasts (a file kept with
    // a rollback journal), so that a long run must not hold one.
    virtual bool readersHoldUpWriters() const noexcept { return false; }
    // A number that changes whenever another connection has committed a change to the database since it
    // was last read (a file's data version); 0 where the engine keeps none.
    virtual std::int64_t dataVersion() { return 0; }

    // A temporary table of this connection under the name of `table` (matched without regard to case),
    // with its columns and declared types, read in the table's place by every query of the name on this
    // connection while it exists. Returns the table's name.
    virtual std::string createWorkingCopy(const std::string& table) = 0;
    // Empties the copy and fills it with the table's row `rowid` (its row key) and every row whose
    // `column` equals `value`, with their row keys, read from the database.
    virtual void refillWorkingCopy(const std::string& name,
                                   std::int64_t rowid,
                                   const std::string& column,
                                   const platform::Value& value) = 0;
    virtual void dropWorkingCopy(const std::string& name) noexcept = 0;

    // Runs one statement a person typed at the SQL console, within its limits, and hands its rows on as
    // they are read. A statement the console does not run is refused before anything runs (fault
    // RefusedStatement); a statement stopped by Ctrl-C or a limit says so in the outcome.
    virtual TypedOutcome
    runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows) = 0;

    // The number of prepared statements kept (for tests of the cache).
    virtual std::size_t cachedStatementCount() const noexcept { return 0; }

    // How long a statement waits for a lock another program holds (milliseconds): this connection's,
    // and (setBusyTimeout) every connection's.
    virtual void applyBusyTimeout(int milliseconds) = 0;
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // While on, a query asked again with the same text and values gets the rows it got before, as long as
    // no table it reads was written since (see ReadCache). Only inside one snapshot of the database: a
    // session turns it on when its snapshot begins and off when it ends.
    void startReadCache();
    void stopReadCache() noexcept;
    void allowReadCache(bool allowed) noexcept { m_readCacheAllowed = allowed; }
    // The statements this connection sends, as it sends them, beside the process's own trace hooks.
    void setTrace(BoundTraceHook hook) { m_trace = std::move(hook); }

protected:
    Connection();
    ReadCache* readCache() const noexcept { return m_readCache.get(); }
    // Runs one statement that marks or ends a part of the transaction (never wrapped in a savepoint).
    virtual void runTransactionStatement(const std::string& sql) = 0;
    // Hands a statement about to be sent to the connection's trace and the process's.
    void trace(const std::string& sql, std::span<const platform::Value> parameters = {}) const;

private:
    std::unique_ptr<ReadCache> m_readCache;
    bool m_readCacheAllowed = true;
    BoundTraceHook m_trace;
};

} // namespace data
