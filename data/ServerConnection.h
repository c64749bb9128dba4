#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "data/Connection.h"
#include "data/Dialect.h"
#include "data/ReadCache.h"

struct pg_conn;
struct pg_result;

namespace data {

// The column every shop table on a database server has for its rows' stored order (a server keeps no
// order of its own); it serves as the rows' bookmarks and is never shown among a query's columns.
inline constexpr const char* ServerRowKey = "pricebook_rowid";

// A libpq connection of a shop database on a PostgreSQL server: the one every caller in the process shares,
// or a session's own. Names are matched without regard to case against the tables and columns the database
// holds; a lock another session holds is waited for as long as a file's lock would be, every statement is
// bounded in time, and a lost connection is a fault that says so (the server rolls back what was not
// committed).
class ServerConnection final : public Connection
{
public:
    static std::shared_ptr<Connection> open(const std::string& conninfo, Sharing sharing);

    ~ServerConnection() override;

    const std::string& path() const noexcept override { return m_name; }
    bool isReadOnly() const noexcept override { return false; }
    platform::Fault readOnlyFault() const override;
    std::string adapt(std::string_view oldDialectSql) const override;
    std::shared_ptr<const QueryResult>
    query(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    int run(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
    const std::unordered_map<std::string, std::string>& declaredTypes(const std::string& table) override;
    std::string storedName(const std::string& name) const override;
    std::string rowKey() const override { return ServerRowKey; }
    void begin() override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const noexcept override;
    // A temporary table of the session: PostgreSQL looks a name up among the session's temporary tables
    // first, so it shadows the shop's table on this connection only.
    std::string createWorkingCopy(const std::string& table) override;
    void refillWorkingCopy(const std::string& name,
                           std::int64_t rowid,
                           const std::string& column,
                           const platform::Value& value) override;
    void dropWorkingCopy(const std::string& name) noexcept override;
    TypedOutcome
    runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows) override;
    void applyBusyTimeout(int milliseconds) override;

private:
    ServerConnection(pg_conn* handle, std::string conninfo);
    struct Result;
    // The session's own settings, and the names of the shop's tables and columns.
    void startSession();
    // When the answer of a statement sent now is given up: a little after the server itself would stop it.
    std::chrono::steady_clock::time_point answerDeadline() const;
    // The next result of what was sent, waited for until the deadline or Ctrl-C at most; either ends the wait
    // with the statement cancelled and the connection dropped (a lost connection, or a cancelled wait).
    pg_result* nextResult(const std::string& sql, std::chrono::steady_clock::time_point deadline);
    void abandon() noexcept;
    // The fault of a statement the server refused, said in the shop's words.
    platform::Fault statementFault(const pg_result* result, const std::string& sql) const;
    // One statement sent and its last result, waited for as nextResult does; with parameters one statement
    // alone, without (nullptr) several may be sent at once.
    Result exchange(const std::string& sql, const std::span<const platform::Value>* parameters);
    // One statement and its rows. Inside a transaction it is sent between a savepoint and its release in
    // one round trip, so that a failed statement is undone alone.
    Result execute(const std::string& sql, std::span<const platform::Value> parameters);
    Result executeGuarded(const std::string& sql, std::span<const platform::Value> parameters);
    // One statement that starts, ends or marks a transaction, never wrapped in a savepoint.
    void command(const std::string& sql);
    void runTransactionStatement(const std::string& sql) override { command(sql); }
    void loadNames();
    bool isYesNoColumn(unsigned table, int column);
    // What a statement in the server's dialect reads and writes, by the shop's tables it names (kept by
    // statement text while the read cache is on).
    const StatementEffects& effectsOf(const std::string& sql);

    pg_conn* m_conn = nullptr;
    std::string m_conninfo;
    std::string m_name; // how messages name the database: "database D on server H"
    std::string m_key;
    std::string m_schema; // where the shop's tables are (the session's current schema)
    std::unordered_map<std::string, std::string> m_names;  // every table and column name, by upper-cased name
    // What each column holds by its type, by upper-cased table and column names.
    std::unordered_map<std::string, std::unordered_map<std::string, ColumnHolds>> m_columnHolds;
    std::set<std::string> m_keyedTables;                   // tables with the row key column
    std::set<std::string> m_tables; // upper-cased names of the shop's tables (not views)
    std::set<std::string> m_views;  // and of its views, whose tables a statement's text does not name
    std::unordered_map<std::string, StatementEffects> m_effects;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_tableTypes;
    std::map<unsigned, std::set<int>> m_yesNoColumns; // by table, the yes/no columns' numbers
    std::set<std::string> m_workingCopies;
};

} // namespace data
