#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Value.h"

namespace data {

// The fault of a statement the SQL console does not run (the old engine's "no permission").
inline constexpr int RefusedStatement = 3033;

// How far one statement typed at the SQL console may go before it is stopped.
struct TypedStatementLimits
{
    bool mayWrite = false; // without it, a statement that would change the database is refused unrun
    std::chrono::milliseconds time{std::chrono::seconds(30)};
    std::int64_t rows = 100000;       // rows handed on; one more stops the statement
    std::int64_t memory = 256 << 20;  // bytes SQLite may take beyond what it holds already
    const std::atomic<bool>* cancelled = nullptr; // set by Ctrl-C; checked while the statement runs
};

// Why a statement ended before it was done. A statement stopped by Ctrl-C, its time or its memory is
// undone by SQLite as a whole.
enum class TypedStop { None, Cancelled, TimeLimit, MemoryLimit, RowLimit };

// Where the rows of a statement go, as they are read: the column names once, then each row.
struct TypedRows
{
    std::function<void(const std::vector<std::string>& names)> names;
    std::function<void(const std::vector<platform::Value>& row)> row;
};

// What a statement did.
struct TypedOutcome
{
    bool returnsRows = false;
    bool writes = false; // it is a statement that changes the database
    std::int64_t rows = 0;
    // What it changed, in words: "table STOCK dropped", "12 rows changed", "nothing changed". Empty for a
    // statement that only reads.
    std::string changed;
    TypedStop stopped = TypedStop::None;
};

} // namespace data
