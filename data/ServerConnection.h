#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "data/Connection.h"

struct pg_conn;

namespace data {

// The column every shop table on a database server has for its rows' stored order (a server keeps no
// order of its own); it serves as the rows' bookmarks and is never shown among a query's columns.
inline constexpr const char* ServerRowKey = "pricebook_rowid";

// The one libpq connection of a shop database on a PostgreSQL server inside the process. Names are
// matched without regard to case against the tables and columns the database holds; a lock another
// session holds is waited for as long as a file's lock would be, every statement is bounded in time, and a
// lost connection is a fault that says so (the server rolls back what was not committed).
class ServerConnection final : public Connection
{
public:
    static std::shared_ptr<Connection> open(const std::string& conninfo);

    ~ServerConnection() override;

    const std::string& path() const noexcept override { return m_name; }
    bool isReadOnly() const noexcept override { return false; }
    platform::Fault readOnlyFault() const override;
    std::string adapt(std::string_view oldDialectSql) const override;
    QueryResult query(const std::string& sql, std::span<const platform::Value> parameters = {}) override;
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
    Result execute(const std::string& sql, std::span<const platform::Value> parameters);
    void loadNames();
    bool isYesNoColumn(unsigned table, int column);

    pg_conn* m_conn = nullptr;
    std::string m_conninfo;
    std::string m_name; // how messages name the database: "database D on server H"
    std::string m_key;
    std::string m_schema; // where the shop's tables are (the session's current schema)
    std::unordered_map<std::string, std::string> m_names;  // every table and column name, by upper-cased name
    std::unordered_map<std::string, bool> m_numberColumns; // by upper-cased name: numbers in every table
    std::set<std::string> m_keyedTables;                   // tables with the row key column
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_tableTypes;
    std::map<unsigned, std::set<int>> m_yesNoColumns; // by table, the yes/no columns' numbers
    std::set<std::string> m_workingCopies;
};

} // namespace data
