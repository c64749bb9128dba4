#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "data/TypedStatement.h"

struct sqlite3;

namespace data {

// Watches over one statement typed at the SQL console on a connection, from its compiling to its end, and
// puts the connection back as it was when it goes:
// - SQLite's authorizer refuses, action by action as SQLite itself reads the statement (so no comment or
//   spelling gets round it), what the console never runs: ATTACH and DETACH, VACUUM (plain or INTO a
//   file), every PRAGMA but those that only read (see StatementGuard.cpp for the list and why), and the
//   full text search's fts3_tokenizer, which deals in addresses in the program's memory;
// - a progress handler stops the statement at Ctrl-C or at its time limit, and a busy handler stops
//   waiting for another program's lock then too;
// - SQLite's memory is held to the statement's limit (SQLite keeps one limit for the whole process, which
//   runs one typed statement at a time), and SQLite's defensive mode is on.
// It also notes what the statement is about to change ("table STOCK dropped"). The connection keeps its
// temporary rows in memory from then on (changing that drops temporary tables, so it is not changed back).
class StatementGuard
{
public:
    StatementGuard(sqlite3* db, const TypedStatementLimits& limits, int busyTimeoutMilliseconds);
    ~StatementGuard();
    StatementGuard(const StatementGuard&) = delete;
    StatementGuard& operator=(const StatementGuard&) = delete;

    // The statement is compiled: what SQLite asks from here on belongs to its running (VACUUM's copy).
    void compiled() noexcept { m_compiled = true; }

    // Why the authorizer refused the statement, in the shop's words; empty while nothing was refused.
    const std::string& refusal() const noexcept { return m_refusal; }
    // Cancelled or TimeLimit once the handlers have stopped the statement.
    TypedStop stop() const noexcept { return m_stop; }
    // The statement is a PRAGMA of those the console runs, which only read (SQLite does not tell).
    bool isReadingPragma() const noexcept { return m_readingPragma; }
    // What the statement changed, given the rows SQLite counted.
    std::string changed(std::int64_t rows) const;

private:
    static int authorize(void* self, int action, const char* first, const char* second, const char* database,
                         const char* trigger);
    static int progress(void* self);
    static int busy(void* self, int count);
    bool mustStop() noexcept;

    sqlite3* m_db;
    const std::atomic<bool>* m_cancelled;
    std::chrono::steady_clock::time_point m_deadline;
    std::chrono::milliseconds m_busyTimeout;
    std::chrono::steady_clock::time_point m_waitingSince;
    long long m_previousHeapLimit = 0;
    int m_previousDefensive = 0;
    int m_previousFts3Tokenizer = 0;
    int m_previousAttached = 0;
    bool m_compiled = false;
    TypedStop m_stop = TypedStop::None;
    std::string m_refusal;
    std::string m_schemaChange; // "table STOCK dropped": the statement's first change of the schema
    bool m_changesRows = false; // it inserts, updates or deletes rows of a table
    bool m_readingPragma = false;
};

} // namespace data
