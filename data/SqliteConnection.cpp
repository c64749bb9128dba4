#include "data/SqliteConnection.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unordered_map>

#include <sqlite3.h>

#include "data/BusyWait.h"
#include "data/ConnectionRegistry.h"
#include "data/Dialect.h"
#include "data/FileChecks.h"
#include "data/JetErrors.h"
#include "data/SqlFunctions.h"
#include "data/StatementGuard.h"
#include "data/StorageFaults.h"
#include "platform/Conversions.h"
#include "platform/ExclusiveFile.h"
#include "platform/Fault.h"

namespace data {

namespace {

namespace fs = std::filesystem;

// More statements than this and the cache starts again: SQL texts carry their order keys as literals,
// so a long session of many orders would otherwise keep statements of orders long done with.
constexpr std::size_t StatementCacheLimit = 512;

// The journal mode the file is kept in ("wal", "delete" ...), read without changing it.
std::string journalModeOf(sqlite3* db)
{
    std::string mode;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        if (const unsigned char* text = sqlite3_column_text(statement, 0))
            mode = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(statement);
    return mode;
}

// Functions whose answer depends on their arguments alone: a statement that calls any other may give
// other rows when asked again, so its rows are never kept.
bool isSteadyFunction(const char* name)
{
    static constexpr std::string_view Steady[] = {
        "abs",    "avg",   "char",   "coalesce", "count",  "format", "glob",   "group_concat", "hex",
        "ifnull", "iif",   "instr",  "length",   "like",   "likely", "lower",  "ltrim",        "max",
        "min",    "nullif", "printf", "quote",   "replace", "round", "rtrim",  "substr",       "substring",
        "sum",    "total", "trim",   "typeof",   "ucase",  "unicode", "unlikely", "upper",
    };
    if (!name)
        return false;
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(std::begin(Steady), std::end(Steady), lower) != std::end(Steady);
}

void addOnce(std::vector<std::string>& names, const char* name)
{
    const std::string upper = platform::upperCase(name ? name : "");
    if (std::find(names.begin(), names.end(), upper) == names.end())
        names.push_back(upper);
}

// Resets a statement however its use ends, so the cached statement holds no lock and no bound text.
struct ResetOnExit
{
    sqlite3_stmt* statement;
    ~ResetOnExit()
    {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

// The engine sends the same few hundred SQL texts at every quantity of a price list; each is adapted to
// SQLite once and the adapted text kept (a bounded cache: the texts carry order keys, so a long session
// over many orders starts afresh now and then instead of growing).
std::string adaptedSql(std::string_view sql)
{
    constexpr std::size_t CacheLimit = 2048;
    thread_local std::unordered_map<std::string, std::string> cache;
    std::string key(sql);
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    std::string adapted = adaptSql(sql);
    if (cache.size() >= CacheLimit)
        cache.clear();
    return cache.emplace(std::move(key), std::move(adapted)).first->second;
}

} // namespace

SqliteConnection::SqliteConnection(sqlite3* handle, std::string path, bool readOnly)
    : m_db(handle), m_path(std::move(path)), m_readOnly(readOnly)
{
    installAuthorizer();
}

void SqliteConnection::installAuthorizer()
{
    // Installing an authorizer makes SQLite prepare every kept statement again; here none is kept yet, or
    // (after the SQL console's guard) the few it has are worth that.
    sqlite3_set_authorizer(m_db, noteAccess, this);
}

int SqliteConnection::noteAccess(void* self, int action, const char* first, const char* second, const char*,
                                 const char*)
{
    auto& connection = *static_cast<SqliteConnection*>(self);
    StatementEffects* effects = connection.m_noting;
    if (!effects) // a statement SQLite prepares again by itself: its effects were noted the first time
        return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_RECURSIVE:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
        break;
    case SQLITE_READ: // first: the table, second: the column; SQLite names a table by one text throughout
        if (first != connection.m_lastRead)
            addOnce(effects->reads, first);
        connection.m_lastRead = first;
        break;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE: // first: the table, triggers' tables included
        addOnce(effects->writes, first);
        break;
    case SQLITE_FUNCTION: // second: the function's name
        if (!isSteadyFunction(second))
            connection.m_notingPlain = false;
        break;
    default: // a PRAGMA, a change of the schema, ATTACH ...: anything may read differently afterwards
        connection.m_notingPlain = false;
        effects->changesSchema = true;
        break;
    }
    return SQLITE_OK;
}

int SqliteConnection::prepareNoting(const std::string& sql, unsigned flags, sqlite3_stmt** handle,
                                    const char** tail, StatementEffects& effects)
{
    effects = StatementEffects{};
    m_noting = &effects;
    m_notingPlain = true;
    m_lastRead = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), flags, handle, tail);
    m_noting = nullptr;
    effects.keepsRows = rc == SQLITE_OK && *handle && m_notingPlain && effects.writes.empty() &&
                        sqlite3_stmt_readonly(*handle);
    return rc;
}

void SqliteConnection::noteWrites(const StatementEffects& effects)
{
    ReadCache* cache = readCache();
    if (!cache)
        return;
    if (effects.changesSchema)
        cache->clear();
    else
        cache->written(effects.writes);
}

SqliteConnection::~SqliteConnection()
{
    clearStatements();
    // The last connection to close a file kept with a write-ahead log copies the log back into the file
    // under an exclusive lock, which other programs opening the file meanwhile find busy. A run's snapshot
    // keeps the log from being copied while it prices, so the log may have grown long: it is copied here
    // first without that lock (passive: nobody waits for it), leaving the close only the removal of the log.
    if (!sqlite3_db_readonly(m_db, "main"))
        sqlite3_wal_checkpoint_v2(m_db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    sqlite3_close_v2(m_db);
    forgetConnection(m_key);
}

std::shared_ptr<Connection> SqliteConnection::open(const std::string& path, Access access, Sharing sharing)
{
    // A session's own connection shares nothing: its header is checked through its own handle.
    if (sharing == Sharing::Own)
        return openFile(path, access, {});
    // A file already open in this process is never opened, read or checked again: its one shared
    // connection serves every caller.
    const std::string key = connectionKey(path, access);
    return sharedConnection(key, [&] { return openFile(path, access, key); });
}

std::shared_ptr<Connection> SqliteConnection::openFile(const std::string& path, Access access, const std::string& key)
{
    checkIsAFile(path);
    // Read-write without create; SQLite falls back to read-only by itself when the file cannot be
    // written, and a folder that cannot be written shows at the first write. A file in write-ahead-log
    // mode is read in such a folder only while its log and index are there (SQLite reads them without
    // writing); it is never taken for unchangeable ("immutable"), as another program may be writing it.
    sqlite3* db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK && access == Access::ReadWrite) {
        sqlite3_close_v2(db);
        db = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".", message);
    }
    try {
        checkHeader(db, path);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_extended_result_codes(db, 1);
    installBusyWait(db, Connection::busyTimeout());

    // Reading the list of tables reads the file's first pages: a damaged file shows here, before any
    // estimate relies on it, and nothing is written.
    sqlite3_stmt* check = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &check, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(check);
    sqlite3_finalize(check);
    if (rc != SQLITE_ROW) {
        const std::string message = sqlite3_errmsg(db);
        const int systemError = systemErrorOf(db);
        sqlite3_close_v2(db);
        throw unreadableFileFault(path, rc, systemError, message);
    }
    installFunctions(db);

    // A file kept in write-ahead-log mode stays whole after a crash or power cut with the log synced
    // at checkpoints only, so each order-row write need not wait for the disk twice. The file's own
    // journal mode is left as the shop set it; a rollback-journal file keeps the full sync it needs.
    const bool writeAheadLog = journalModeOf(db) == "wal";
    if (writeAheadLog)
        sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);

    const bool readOnly = sqlite3_db_readonly(db, "main") != 0;
    std::shared_ptr<SqliteConnection> connection(new SqliteConnection(db, path, readOnly));
    connection->m_key = key;
    connection->m_writeAheadLog = writeAheadLog;
    return connection;
}

std::shared_ptr<Connection> SqliteConnection::create(const std::string& path)
{
    std::error_code error;
    const fs::path folder = fs::absolute(path, error).parent_path();
    if (!fs::is_directory(folder, error))
        throw platform::Fault(NotAValidPath, quoted(folder.string()) + " is not a valid path.");

    // The file is made here, only when the name is free and never through a link, so a file another
    // program or run made meanwhile is neither taken over nor, should anything below fail, removed. No
    // connection to it exists yet, so closing this first handle drops no lock.
    try {
        platform::createExclusive(path);
    } catch (const std::system_error& failure) {
        if (failure.code() == std::errc::file_exists || failure.code() == std::errc::too_many_symbolic_link_levels)
            throw platform::Fault(DatabaseAlreadyExists, "Database already exists: " + quoted(path) + ".");
        throw platform::Fault(CannotOpenFile, "Cannot create the database " + quoted(path) + ".",
                              failure.code().message());
    }

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    // Writing the header makes the file a whole database, so it can be opened again later.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        fs::remove(path, error);
        throw platform::Fault(CannotOpenFile, "Cannot create the database " + quoted(path) + ".", message);
    }
    sqlite3_extended_result_codes(db, 1);
    installBusyWait(db, Connection::busyTimeout());
    installFunctions(db);

    std::shared_ptr<SqliteConnection> connection(new SqliteConnection(db, path, false));
    connection->m_key = connectionKey(path, Access::ReadWrite);
    registerConnection(connection->m_key, connection);
    return connection;
}

void SqliteConnection::runKept(const std::string& sql)
{
    trace(sql);
    Statement& statement = prepare(sql);
    noteWrites(statement.effects);
    const ResetOnExit reset{statement.handle};
    for (;;) {
        const int rc = sqlite3_step(statement.handle);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(rc, sql, false);
    }
}

void SqliteConnection::runOnce(const std::string& sql)
{
    trace(sql);
    sqlite3_stmt* statement = nullptr;
    StatementEffects effects;
    int rc = prepareNoting(sql, 0, &statement, nullptr, effects);
    noteWrites(effects);
    if (rc == SQLITE_OK) {
        do
            rc = sqlite3_step(statement);
        while (rc == SQLITE_ROW);
    }
    const bool writing = statement && !sqlite3_stmt_readonly(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        fail(rc, sql, writing);
}

void SqliteConnection::begin()
{
    if (inTransaction())
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: a transaction is already open on '" + m_path + "'.");
    runKept("BEGIN");
    if (ReadCache* cache = readCache())
        cache->mark({});
}

void SqliteConnection::commit()
{
    if (inTransaction())
        runKept("COMMIT");
    if (ReadCache* cache = readCache())
        cache->forget({});
}

void SqliteConnection::rollback() noexcept
{
    // Also when SQLite ended the transaction by itself after a failure: the tables are then as they were
    // at its start all the same.
    if (ReadCache* cache = readCache())
        cache->backTo({});
    if (!inTransaction())
        return;
    try {
        trace("ROLLBACK");
    } catch (...) {
        // A tracer that fails must not keep the transaction open.
    }
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::int64_t SqliteConnection::dataVersion()
{
    // Read inside the caller's transaction, it starts the transaction's reading of the file first, so it
    // counts every commit of other connections up to that moment.
    const std::string sql = "PRAGMA data_version";
    trace(sql);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr);
    std::int64_t version = 0;
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW)
        fail(rc, sql, false);
    return version;
}

bool SqliteConnection::inTransaction() const noexcept
{
    return sqlite3_get_autocommit(m_db) == 0;
}

std::string SqliteConnection::createWorkingCopy(const std::string& table)
{
    const platform::Value wanted = platform::Value::fromText(table);
    const std::shared_ptr<const QueryResult> found =
        query("SELECT name FROM main.sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
              std::span<const platform::Value>(&wanted, 1));
    if (found->rows.empty())
        throw platform::Fault(InputTableNotFound,
                              "The database engine cannot find the input table or query '" + table +
                                  "'. Make sure it exists and that its name is "
                                  "spelled correctly.");
    const std::string name = found->rows.front().front().text();

    // Every column a query of the table can name, generated ones included, each with its declared type so
    // that yes/no and date columns read back as they do from the table itself.
    std::string columns;
    std::string names;
    const std::shared_ptr<const QueryResult> info = query("PRAGMA main.table_xinfo(" + sqlIdentifier(name) + ")");
    for (const auto& row : info->rows) {
        constexpr std::size_t Name = 1, Type = 2, Hidden = 6;
        if (row.at(Hidden).number() == 1) // a virtual table's hidden column
            continue;
        const std::string column = sqlIdentifier(row.at(Name).text());
        const std::string type = row.at(Type).isNull() ? std::string() : row.at(Type).text();
        columns += (columns.empty() ? "" : ", ") + column + (type.empty() ? "" : " " + type);
        names += (names.empty() ? "" : ", ") + column;
    }
    runOnce("CREATE TEMP TABLE " + sqlIdentifier(name) + " (" + columns + ")");
    m_workingCopyColumns[name] = names;
    // SQLite prepares a kept statement again when the names it used change meaning; starting afresh makes
    // sure no statement of the table's name can still reach the file's table.
    clearStatements();
    return name;
}

void SqliteConnection::refillWorkingCopy(const std::string& name,
                                   std::int64_t rowid,
                                   const std::string& column,
                                   const platform::Value& value)
{
    const std::string& names = m_workingCopyColumns.at(name);
    run("DELETE FROM temp." + sqlIdentifier(name));
    const platform::Value parameters[] = {platform::Value::fromInteger(rowid), value};
    run("INSERT INTO temp." + sqlIdentifier(name) + " (rowid, " + names + ") SELECT rowid, " + names +
            " FROM main." + sqlIdentifier(name) + " WHERE rowid = ?1 OR " + sqlIdentifier(column) + " = ?2",
        parameters);
}

void SqliteConnection::dropWorkingCopy(const std::string& name) noexcept
{
    m_workingCopyColumns.erase(name);
    const std::string sql = "DROP TABLE IF EXISTS temp." + sqlIdentifier(name);
    try {
        trace(sql);
    } catch (...) {
        // A tracer that fails must not keep the copy in the table's place.
    }
    sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    if (ReadCache* cache = readCache())
        cache->clear();
    clearStatements();
}

void SqliteConnection::clearStatements() noexcept
{
    for (auto& [text, statement] : m_statements)
        sqlite3_finalize(statement.handle);
    m_statements.clear();
}

SqliteConnection::Statement& SqliteConnection::prepare(const std::string& sql)
{
    if (const auto found = m_statements.find(sql); found != m_statements.end())
        return found->second;

    if (m_statements.size() >= StatementCacheLimit)
        clearStatements();

    Statement statement;
    const char* tail = nullptr;
    const int rc = prepareNoting(sql, SQLITE_PREPARE_PERSISTENT, &statement.handle, &tail, statement.effects);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement.handle);
        fail(rc, sql, false);
    }
    try {
        checkOneStatement(statement.handle, tail, "SQL: " + sql);
    } catch (...) {
        sqlite3_finalize(statement.handle);
        throw;
    }

    readColumns(statement);
    return m_statements.emplace(sql, std::move(statement)).first->second;
}

void SqliteConnection::readColumns(Statement& statement)
{
    statement.names.clear();
    const int columns = sqlite3_column_count(statement.handle);
    for (int i = 0; i < columns; ++i)
        statement.names.emplace_back(sqlite3_column_name(statement.handle, i));
    statement.kinds = columnKinds(statement.handle);
    statement.positions = std::make_shared<FieldPositions>();
    statement.reprepared = sqlite3_stmt_status(statement.handle, SQLITE_STMTSTATUS_REPREPARE, 0);
}

void SqliteConnection::bind(Statement& statement, std::span<const platform::Value> parameters, const std::string& sql)
{
    sqlite3_reset(statement.handle);
    sqlite3_clear_bindings(statement.handle);
    if (static_cast<int>(parameters.size()) != sqlite3_bind_parameter_count(statement.handle))
        throw platform::Fault(TooFewParameters,
                              "Too few parameters. Expected " +
                                  std::to_string(sqlite3_bind_parameter_count(statement.handle)) + ".",
                              "SQL: " + sql);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        bindValue(statement.handle, static_cast<int>(i + 1), parameters[i]);
}

std::shared_ptr<const QueryResult> SqliteConnection::query(const std::string& sql,
                                                           std::span<const platform::Value> parameters)
{
    ReadCache* cache = readCache();
    // A statement without values is its own key.
    std::string withValues;
    const std::string& key = parameters.empty() || !cache ? sql : (withValues = ReadCache::key(sql, parameters));
    if (cache)
        if (std::shared_ptr<const QueryResult> kept = cache->find(key))
            return kept;
    trace(sql, parameters);
    Statement& statement = prepare(sql);
    if (!sqlite3_stmt_readonly(statement.handle))
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: only a query that reads rows can open a recordset.",
                              "SQL: " + sql);
    bind(statement, parameters, sql);
    ResetOnExit reset{statement.handle};

    auto made = std::make_shared<QueryResult>();
    QueryResult& result = *made;
    for (bool first = true;; first = false) {
        const int rc = sqlite3_step(statement.handle);
        // Another program that changed the table's columns makes SQLite prepare the statement again at its
        // first step, "SELECT *" with the new columns: the names and kinds are read again, or every value
        // would be read under another column's name.
        if (first) {
            if (sqlite3_stmt_status(statement.handle, SQLITE_STMTSTATUS_REPREPARE, 0) != statement.reprepared)
                readColumns(statement);
            result.names = statement.names;
            result.positions = statement.positions;
        }
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(rc, sql, false);
        const int columns = static_cast<int>(statement.names.size());
        std::vector<platform::Value> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(readColumn(statement.handle, i, statement.kinds[static_cast<std::size_t>(i)]));
        result.rows.push_back(std::move(row));
    }
    if (cache && statement.effects.keepsRows)
        cache->keep(key, statement.effects.reads, made);
    return made;
}

int SqliteConnection::run(const std::string& sql, std::span<const platform::Value> parameters)
{
    trace(sql, parameters);
    Statement& statement = prepare(sql);
    bind(statement, parameters, sql);
    ResetOnExit reset{statement.handle};
    // Noted before it runs: a statement that fails half-way may have changed rows before SQLite undoes it.
    noteWrites(statement.effects);
    for (;;) {
        const int rc = sqlite3_step(statement.handle);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(rc, sql, !sqlite3_stmt_readonly(statement.handle));
    }
    return sqlite3_changes(m_db);
}

TypedOutcome SqliteConnection::runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows)
{
    // The guard keeps temporary rows in memory, which would drop a working copy.
    if (!m_workingCopyColumns.empty())
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: a typed statement cannot run while a working copy of '" + m_path +
                                  "' is open.");
    trace(sql);
    const std::string detail = "SQL: " + sql;
    TypedOutcome outcome;
    // The guard puts its own authorizer in place and takes it away when it goes; the connection's goes
    // back after it.
    struct AuthorizerBack
    {
        SqliteConnection& connection;
        ~AuthorizerBack() { connection.installAuthorizer(); }
    } authorizerBack{*this};
    if (ReadCache* cache = readCache())
        cache->clear();
    StatementGuard guard(m_db, limits, Connection::busyTimeout());
    sqlite3_stmt* handle = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), &handle, &tail);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(handle, sqlite3_finalize);
    if (!guard.refusal().empty())
        throw platform::Fault(RefusedStatement, guard.refusal(), detail);
    if ((rc & 0xFF) == SQLITE_NOMEM) {
        outcome.stopped = TypedStop::MemoryLimit;
        return outcome;
    }
    if (rc != SQLITE_OK)
        fail(rc, sql, false);
    checkOneStatement(handle, tail, detail);
    // SQLite counts every PRAGMA that could set something as writing; the guard's list knows better.
    const bool writes = !sqlite3_stmt_readonly(handle) && !guard.isReadingPragma();
    outcome.writes = writes;
    if (writes && !limits.mayWrite)
        throw platform::Fault(RefusedStatement,
                              "This statement would change the database, which the console opened only for "
                              "reading. Nothing was run; add --write to change the database.",
                              detail);
    guard.compiled();

    const int columns = sqlite3_column_count(handle);
    const std::vector<ColumnKind> kinds = columnKinds(handle);
    outcome.returnsRows = columns > 0;
    if (outcome.returnsRows && rows.names) {
        std::vector<std::string> names;
        for (int i = 0; i < columns; ++i)
            names.emplace_back(sqlite3_column_name(handle, i));
        rows.names(names);
    }
    for (;;) {
        rc = sqlite3_step(handle);
        if (rc == SQLITE_ROW) {
            if (outcome.rows >= limits.rows) {
                outcome.stopped = TypedStop::RowLimit;
                return outcome;
            }
            std::vector<platform::Value> row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int i = 0; i < columns; ++i)
                row.push_back(readColumn(handle, i, kinds[static_cast<std::size_t>(i)]));
            if (rows.row)
                rows.row(row);
            ++outcome.rows;
            continue;
        }
        if (rc == SQLITE_DONE)
            break;
        if (!guard.refusal().empty())
            throw platform::Fault(RefusedStatement, guard.refusal(), sqlite3_errmsg(m_db) + ("\n" + detail));
        if (guard.stop() != TypedStop::None || (rc & 0xFF) == SQLITE_INTERRUPT) {
            outcome.stopped = guard.stop() == TypedStop::None ? TypedStop::Cancelled : guard.stop();
            return outcome;
        }
        if ((rc & 0xFF) == SQLITE_NOMEM) {
            outcome.stopped = TypedStop::MemoryLimit;
            return outcome;
        }
        fail(rc, sql, writes);
    }
    if (writes || !outcome.returnsRows)
        outcome.changed = guard.changed(sqlite3_changes64(m_db));
    return outcome;
}

const std::unordered_map<std::string, std::string>& SqliteConnection::declaredTypes(const std::string& table)
{
    const std::string key = platform::upperCase(table);
    if (const auto found = m_tableTypes.find(key); found != m_tableTypes.end())
        return found->second;
    std::unordered_map<std::string, std::string> types;
    const std::shared_ptr<const QueryResult> columns = query("PRAGMA table_info(" + sqlIdentifier(table) + ")");
    for (const auto& row : columns->rows)
        types[platform::upperCase(row.at(1).text())] =
            row.at(2).isNull() ? std::string() : declaredTypeWord(row.at(2).text().c_str());
    return m_tableTypes.emplace(key, std::move(types)).first->second;
}

void SqliteConnection::fail(int code, const std::string& sql, bool writing) const
{
    throw statementFault(m_db, m_path, code, sql, writing);
}

platform::Fault SqliteConnection::readOnlyFault() const
{
    return *storageFault(m_path, SQLITE_READONLY, 0, true, {});
}

void SqliteConnection::applyBusyTimeout(int milliseconds)
{
    installBusyWait(m_db, milliseconds);
}

std::string SqliteConnection::adapt(std::string_view oldDialectSql) const
{
    return adaptedSql(oldDialectSql);
}

} // namespace data
