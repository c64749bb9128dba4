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

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// The one sqlite3 connection of a database file inside the process. It keeps the prepared statements of
// the SQL texts it has run, so the thousands of small queries of a pricing run are prepared once each,
// and it installs the old engine's functions (like with its patterns, ucase).
class SqliteConnection final : public Connection
{
public:
    static std::shared_ptr<Connection> open(const std::string& path, Access access);
    static std::shared_ptr<Connection> create(const std::string& path);

    ~SqliteConnection() override;

    const std::string& path() const noexcept override { return m_path; }
    bool isReadOnly() const noexcept override { return m_readOnly; }
    platform::Fault readOnlyFault() const override;
    std::string adapt(std::string_view oldDialectSql) const override;
    QueryResult query(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    int run(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    const std::unordered_map<std::string, std::string>& declaredTypes(const std::string& table) override;
    std::string rowKey() const override { return "rowid"; }
    void begin() override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const noexcept override;
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
        int reprepared = 0; // SQLite's count of re-preparations when names and kinds were last read
    };

    SqliteConnection(sqlite3* handle, std::string path, bool readOnly);
    // Opens and checks the file for open(), as a connection to be registered under `key`.
    static std::shared_ptr<Connection>
    openFile(const std::string& path, Access access, const std::string& key);
    Statement& prepare(const std::string& sql);
    // The statement's result column names and kinds, as SQLite prepared it last.
    static void readColumns(Statement& statement);
    void bind(Statement& statement, std::span<const platform::Value> parameters, const std::string& sql);
    [[noreturn]] void fail(int code, const std::string& sql, bool writing) const;
    void runOnce(const std::string& sql); // a statement run once, not kept prepared (BEGIN, DDL)
    void clearStatements() noexcept;

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
