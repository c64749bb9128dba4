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
#include "data/Connection.h"
#include "data/ReadCache.h"

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// A sqlite3 connection of a database file: the one every caller in the process shares, or a session's
// own. It keeps the prepared statements of the SQL texts it has run, so the thousands of small queries of
// a pricing run are prepared once each, installs the old engine's functions (like with its patterns,
// ucase), and learns from SQLite, as each statement is prepared, which tables it reads and writes (for
// the read cache). Several connections of one process to one file are safe: SQLite keeps one set of locks
// a file and closes no descriptor while another connection of the file holds a lock.
class SqliteConnection final : public Connection
{
public:
    static std::shared_ptr<Connection> open(const std::string& path, Access access, Sharing sharing);
    static std::shared_ptr<Connection> create(const std::string& path);

    ~SqliteConnection() override;

    const std::string& path() const noexcept override { return m_path; }
    bool isReadOnly() const noexcept override { return m_readOnly; }
    platform::Fault readOnlyFault() const override;
    std::string adapt(std::string_view oldDialectSql) const override;
    std::shared_ptr<const QueryResult>
    query(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    int run(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    const std::unordered_map<std::string, std::string>& declaredTypes(const std::string& table) override;
    std::string rowKey() const override { return "rowid"; }
    void begin() override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const noexcept override;
    // A reader of a file kept with a rollback journal holds a lock that keeps every writer from committing.
    bool readersHoldUpWriters() const noexcept override { return !m_writeAheadLog; }
    std::int64_t dataVersion() override;
    // SQLite looks a table name up among the connection's temporary tables first.
    std::string createWorkingCopy(const std::string& table) override;
    void refillWorkingCopy(const std::string& name,
                           std::int64_t rowid,
                           const std::string& column,
                           const platform::Value& value) override;
    void dropWorkingCopy(const std::string& name) noexcept override;
    // Watched over by a StatementGuard; not on a connection that holds working copies.
    TypedOutcome
    runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows) override;
    std::size_t cachedStatementCount() const noexcept override { return m_statements.size(); }
    void applyBusyTimeout(int milliseconds) override;

private:
    struct Statement
    {
        sqlite3_stmt* handle = nullptr;
        std::vector<ColumnKind> kinds; // by declared type of each result column
        std::vector<std::string> names;
        std::shared_ptr<FieldPositions> positions; // shared by the statement's results
        int reprepared = 0; // SQLite's count of re-preparations when names and kinds were last read
        StatementEffects effects; // as SQLite reported them while preparing the statement
    };

    SqliteConnection(sqlite3* handle, std::string path, bool readOnly);
    // Opens and checks the file for open(), as a connection to be registered under `key`.
    static std::shared_ptr<Connection>
    openFile(const std::string& path, Access access, const std::string& key);
    Statement& prepare(const std::string& sql);
    // The statement's result column names and kinds, as SQLite prepared it last.
    static void readColumns(Statement& statement);
    // Prepares one statement, with what it reads and writes noted into `effects`.
    int prepareNoting(const std::string& sql, unsigned flags, sqlite3_stmt** handle, const char** tail,
                      StatementEffects& effects);
    // SQLite's authorizer, installed for the connection's life: it sees every table a statement being
    // prepared reads and writes, and every function it calls, and lets everything through.
    static int noteAccess(void* self, int action, const char* first, const char* second, const char* database,
                          const char* trigger);
    void installAuthorizer();
    // Tells the read cache what a statement that ran may have changed.
    void noteWrites(const StatementEffects& effects);
    void bind(Statement& statement, std::span<const platform::Value> parameters, const std::string& sql);
    [[noreturn]] void fail(int code, const std::string& sql, bool writing) const;
    void runOnce(const std::string& sql); // a statement run once, not kept prepared (DDL)
    void runKept(const std::string& sql); // a statement of the transaction's (BEGIN, savepoints), kept prepared
    void runTransactionStatement(const std::string& sql) override { runKept(sql); }
    void clearStatements() noexcept;

    sqlite3* m_db = nullptr;
    std::string m_path;
    std::string m_key; // the canonical path this connection is registered under
    bool m_readOnly = false;
    bool m_writeAheadLog = false;
    std::unordered_map<std::string, Statement> m_statements;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_tableTypes;
    std::unordered_map<std::string, std::string> m_workingCopyColumns; // the column list of each working copy
    StatementEffects* m_noting = nullptr; // the effects of the statement being prepared
    const char* m_lastRead = nullptr;     // the table it read last
    bool m_notingPlain = true;            // it has done nothing but read, write rows and call known functions
};

} // namespace data
