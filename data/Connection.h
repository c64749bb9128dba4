#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/Access.h"
#include "data/ColumnValues.h"
#include "data/TypedStatement.h"
#include "platform/Fault.h"
#include "platform/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// What one query handed back: the column names, and every row read at once.
struct QueryResult
{
    std::vector<std::string> names;
    std::vector<std::vector<platform::Value>> rows;
};

// The one sqlite3 connection of a database file inside the process. Every Database, Recordset and
// TableView of the file shares it; it closes when the last of them lets go. It keeps the prepared
// statements of the SQL texts it has run, so the thousands of small queries of a pricing run are
// prepared once each, and it installs the old engine's functions (like with its patterns, ucase).
// All SQL it takes is already adapted to SQLite's dialect.
class Connection
{
public:
    // The shared connection of an existing database file for that access (a read-only one is not shared
    // with a read-write one). Never creates a file; a file that is missing, empty, not a SQLite database,
    // an Access file, or damaged is a Fault naming the file. The file's bytes are not changed by opening
    // it. A folder that cannot be written, a read-only file and a full disk show as faults in the shop's
    // words: 3027 at a write, 3051 (folder) and 3183 (disk) when even reading needs a file beside it.
    static std::shared_ptr<Connection> open(const std::string& path, Access access = Access::ReadWrite);

    // A new, empty database file; fault 3204 when the file already exists.
    static std::shared_ptr<Connection> create(const std::string& path);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& path() const noexcept { return m_path; }
    bool isReadOnly() const noexcept { return m_readOnly; }
    // The fault a write meets on a read-only connection: it names the folder or file that cannot be
    // written.
    platform::Fault readOnlyFault() const;

    // Runs a query and reads all its rows. Parameters bind to ?1, ?2 ... in order.
    QueryResult query(const std::string& sql, std::span<const platform::Value> parameters = {});

    // Runs one statement that changes the database; returns the number of rows it changed.
    int run(const std::string& sql, std::span<const platform::Value> parameters = {});

    // The declared types of a table's columns, upper-cased, by upper-cased column name.
    const std::unordered_map<std::string, std::string>& declaredTypes(const std::string& table);

    // A transaction of this connection (BEGIN): the statements that follow see one snapshot of the file
    // and take its locks once. Starting one inside another is fault 3219. A lock another program holds
    // shows at the first statement that needs the file, as fault 3218.
    void begin();
    void commit();
    void rollback() noexcept; // also when the transaction already ended by itself (a failed statement)
    bool inTransaction() const noexcept;

    // A temporary table of this connection under the name of `table` (matched without regard to case),
    // with its columns and declared types; SQLite looks a table name up among the connection's temporary
    // tables first, so every query of the name reads the copy while it exists. Returns the table's name.
    std::string createWorkingCopy(const std::string& table);
    // Empties the copy and fills it with the table's row `rowid` and every row whose `column` equals
    // `value`, with their rowids, read from the file.
    void refillWorkingCopy(const std::string& name,
                           std::int64_t rowid,
                           const std::string& column,
                           const platform::Value& value);
    void dropWorkingCopy(const std::string& name) noexcept;

    // Runs one statement a person typed at the SQL console, watched over by a StatementGuard, and hands
    // its rows on as they are read. A statement the console does not run is refused before anything runs
    // (fault RefusedStatement); a statement stopped by Ctrl-C or a limit says so in the outcome. Not on a
    // connection that holds working copies.
    TypedOutcome runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows);

    // The number of prepared statements kept (for tests of the cache).
    std::size_t cachedStatementCount() const noexcept { return m_statements.size(); }

    // How long a statement of every connection waits for a lock another program holds (milliseconds).
    static void setBusyTimeout(int milliseconds);

private:
    struct Statement
    {
        sqlite3_stmt* handle = nullptr;
        std::vector<ColumnKind> kinds; // by declared type of each result column
        std::vector<std::string> names;
        int reprepared = 0; // SQLite's count of re-preparations when names and kinds were last read
    };

    Connection(sqlite3* handle, std::string path, bool readOnly);
    // Opens and checks the file for open(), as a connection to be registered under `key`.
    static std::shared_ptr<Connection> openFile(const std::string& path, Access access, const std::string& key);
    Statement& prepare(const std::string& sql);
    // The statement's result column names and kinds, as SQLite prepared it last.
    static void readColumns(Statement& statement);
    void bind(Statement& statement, std::span<const platform::Value> parameters, const std::string& sql);
    [[noreturn]] void fail(int code, const std::string& sql, bool writing) const;
    void runOnce(const std::string& sql); // a statement run once, not kept prepared (BEGIN, DDL)
    void clearStatements() noexcept;
    void applyBusyTimeout(int milliseconds);

    sqlite3* m_db = nullptr;
    std::string m_path;
    std::string m_key; // the canonical path this connection is registered under
    bool m_readOnly = false;
    bool m_writeAheadLog = false;
    std::unordered_map<std::string, Statement> m_statements;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_tableTypes;
    std::unordered_map<std::string, std::string> m_workingCopyColumns; // the column list of each working copy
};

} // namespace data
