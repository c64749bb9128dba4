#include "data/StatementGuard.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <thread>

#include <sqlite3.h>

#include "data/BusyWait.h"

namespace data {

namespace {

using Clock = std::chrono::steady_clock;

// How many of SQLite's steps run between two looks at Ctrl-C and the clock: a few microseconds' work.
constexpr int StepsBetweenChecks = 1000;
constexpr auto BusyPause = std::chrono::milliseconds(10);

// The PRAGMAs the console runs. Every other one is refused, with or without a value, and so is one that
// SQLite adds later, until it is looked at. Refused are above all those that change the file or how safely
// it is kept: journal_mode (would take the shop out of write-ahead-log mode), writable_schema (lets SQL
// damage the table list), user_version, application_id and schema_version (other programs read them to
// know the file), page_size and auto_vacuum (rewrite the file), synchronous, locking_mode, query_only,
// foreign_keys and the other switches of the connection, and those that write by themselves
// (wal_checkpoint, incremental_vacuum, optimize).

// Read what the database holds; their argument names a table or index, or caps a check.
constexpr std::array ReadingPragmas = {
    "collation_list", "compile_options", "database_list",   "foreign_key_check", "foreign_key_list",
    "function_list",  "index_info",      "index_list",      "index_xinfo",       "integrity_check",
    "module_list",    "pragma_list",     "quick_check",     "table_info",        "table_list",
    "table_xinfo",
};

// Show a setting when given no value; given one, they would change it.
constexpr std::array SettingPragmas = {
    "application_id", "auto_vacuum",   "busy_timeout",   "cache_size",   "data_version",
    "encoding",       "foreign_keys",  "freelist_count", "journal_mode", "journal_size_limit",
    "locking_mode",   "max_page_count", "mmap_size",     "page_count",   "page_size",
    "query_only",     "schema_version", "secure_delete", "synchronous",  "temp_store",
    "user_version",   "wal_autocheckpoint", "writable_schema",
};

template <std::size_t N>
bool listed(const std::array<const char*, N>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string lowerAscii(const char* text)
{
    std::string lower = text ? text : "";
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool pragmaOnlyReads(const char* name, const char* value)
{
    const std::string pragma = lowerAscii(name);
    return listed(ReadingPragmas, pragma) || (!value && listed(SettingPragmas, pragma));
}

// SQLite's own tables (the table list, AUTOINCREMENT counters, statistics) change along with the schema.
bool isSqliteTable(const char* table)
{
    return table && lowerAscii(table).rfind("sqlite_", 0) == 0;
}

// What a change of the schema does, in words: "table STOCK dropped". Empty for any other action.
std::string schemaChange(int action, const char* first, const char* second)
{
    struct Change
    {
        int action;
        const char* object;
        const char* done;
    };
    static constexpr Change Changes[] = {
        {SQLITE_CREATE_TABLE, "table", "created"},      {SQLITE_CREATE_VTABLE, "table", "created"},
        {SQLITE_CREATE_TEMP_TABLE, "temporary table", "created"},
        {SQLITE_DROP_TABLE, "table", "dropped"},        {SQLITE_DROP_VTABLE, "table", "dropped"},
        {SQLITE_DROP_TEMP_TABLE, "temporary table", "dropped"},
        {SQLITE_CREATE_INDEX, "index", "created"},      {SQLITE_CREATE_TEMP_INDEX, "index", "created"},
        {SQLITE_DROP_INDEX, "index", "dropped"},        {SQLITE_DROP_TEMP_INDEX, "index", "dropped"},
        {SQLITE_CREATE_VIEW, "view", "created"},        {SQLITE_CREATE_TEMP_VIEW, "view", "created"},
        {SQLITE_DROP_VIEW, "view", "dropped"},          {SQLITE_DROP_TEMP_VIEW, "view", "dropped"},
        {SQLITE_CREATE_TRIGGER, "trigger", "created"},  {SQLITE_CREATE_TEMP_TRIGGER, "trigger", "created"},
        {SQLITE_DROP_TRIGGER, "trigger", "dropped"},    {SQLITE_DROP_TEMP_TRIGGER, "trigger", "dropped"},
    };
    if (action == SQLITE_ALTER_TABLE) // first: the database, second: the table
        return "table " + std::string(second ? second : "") + " changed";
    if (action == SQLITE_REINDEX)
        return "indexes rebuilt";
    if (action == SQLITE_ANALYZE)
        return "statistics of the tables gathered";
    for (const Change& change : Changes)
        if (change.action == action)
            return std::string(change.object) + " " + (first ? first : "") + " " + change.done;
    return {};
}

} // namespace

StatementGuard::StatementGuard(sqlite3* db, const TypedStatementLimits& limits, int busyTimeoutMilliseconds)
    : m_db(db),
      m_cancelled(limits.cancelled),
      m_deadline(Clock::now() + limits.time),
      m_busyTimeout(busyTimeoutMilliseconds),
      m_waitingSince(Clock::now())
{
    // Sorts, DISTINCT, recursive queries and temporary tables are kept in memory from now on, under the
    // limit below, instead of growing files on the disk.
    sqlite3_exec(m_db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    sqlite3_set_authorizer(m_db, authorize, this);
    sqlite3_progress_handler(m_db, StepsBetweenChecks, progress, this);
    sqlite3_busy_handler(m_db, busy, this);
    // No SQL may write the file's pages or table list by hand, nor turn its journal off, nor hand the full
    // text search a tokenizer by its address in memory.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, -1, &m_previousDefensive);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, -1, &m_previousFts3Tokenizer);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, nullptr);
    m_previousAttached = sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, 0);
    // What the statement takes beyond this stops it with SQLITE_NOMEM.
    m_previousHeapLimit = sqlite3_hard_heap_limit64(sqlite3_memory_used() + limits.memory);
}

StatementGuard::~StatementGuard()
{
    sqlite3_set_authorizer(m_db, nullptr, nullptr);
    sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    installBusyWait(m_db, static_cast<int>(m_busyTimeout.count()));
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, m_previousDefensive, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, m_previousFts3Tokenizer, nullptr);
    sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, m_previousAttached);
    sqlite3_hard_heap_limit64(m_previousHeapLimit);
}

std::string StatementGuard::changed(std::int64_t rows) const
{
    if (!m_schemaChange.empty())
        return m_schemaChange;
    if (m_changesRows)
        return std::to_string(rows) + (rows == 1 ? " row changed" : " rows changed");
    return "nothing changed";
}

int StatementGuard::authorize(void* self, int action, const char* first, const char* second, const char*,
                              const char* trigger)
{
    auto& guard = *static_cast<StatementGuard*>(self);
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        // VACUUM attaches the file it builds while it runs; ATTACH itself is seen while compiling.
        guard.m_refusal = guard.m_compiled
                              ? "The console does not run VACUUM: it rewrites the whole database, or copies it "
                                "into another file, and holds up the other programs meanwhile. Nothing was run."
                              : "The console does not run ATTACH or DETACH: they reach database files other "
                                "than this one. Nothing was run.";
        return SQLITE_DENY;
    case SQLITE_FUNCTION:
        // second: the function's name. fts3_tokenizer answers with where a tokenizer lies in the program's
        // memory, and with a second argument would call whatever lies at an address it is given.
        if (lowerAscii(second) != "fts3_tokenizer")
            return SQLITE_OK;
        guard.m_refusal = "The console does not run fts3_tokenizer: it reaches into the program's memory. Nothing "
                          "was run.";
        return SQLITE_DENY;
    case SQLITE_PRAGMA:
        if (pragmaOnlyReads(first, second)) {
            guard.m_readingPragma = guard.m_readingPragma || !guard.m_compiled;
            return SQLITE_OK;
        }
        guard.m_refusal = "The console does not run PRAGMA " + lowerAscii(first) + (second ? " with a value" : "") +
                          ": it would change the database's settings or how safely it is kept. Nothing was run.";
        return SQLITE_DENY;
    default:
        break;
    }
    // What the statement itself is about to change, not what its triggers or SQLite's bookkeeping do.
    if (trigger || guard.m_compiled)
        return SQLITE_OK;
    if (guard.m_schemaChange.empty())
        guard.m_schemaChange = schemaChange(action, first, second);
    if ((action == SQLITE_INSERT || action == SQLITE_UPDATE || action == SQLITE_DELETE) && !isSqliteTable(first))
        guard.m_changesRows = true;
    return SQLITE_OK;
}

bool StatementGuard::mustStop() noexcept
{
    if (m_stop == TypedStop::None) {
        if (m_cancelled && m_cancelled->load())
            m_stop = TypedStop::Cancelled;
        else if (Clock::now() >= m_deadline)
            m_stop = TypedStop::TimeLimit;
    }
    return m_stop != TypedStop::None;
}

int StatementGuard::progress(void* self)
{
    return static_cast<StatementGuard*>(self)->mustStop() ? 1 : 0;
}

int StatementGuard::busy(void* self, int count)
{
    auto& guard = *static_cast<StatementGuard*>(self);
    const Clock::time_point now = Clock::now();
    if (count == 0)
        guard.m_waitingSince = now;
    if (waitsCancelled() && guard.m_stop == TypedStop::None)
        guard.m_stop = TypedStop::Cancelled;
    if (guard.mustStop() || now - guard.m_waitingSince >= guard.m_busyTimeout)
        return 0;
    std::this_thread::sleep_for(BusyPause);
    return 1;
}

} // namespace data
