#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/Connection.h"
#include "platform/Value.h"

namespace data {

// What one statement does to the tables of its database, as the engine under the connection works it out
// when it prepares the statement: the tables it reads or writes (upper-cased names), and whether its rows
// may be kept (it only reads, and calls no function whose answer can change from one call to the next).
struct StatementEffects
{
    std::vector<std::string> reads;
    std::vector<std::string> writes;
    bool keepsRows = false;
    bool changesSchema = false; // CREATE, DROP, ALTER ...: anything may read differently afterwards
};

// The rows a session has read inside one snapshot of its database, by statement text and bound values.
// Each table has a version that every write to it changes; an entry keeps the versions of the tables it
// read, and a statement asked again gets the kept rows only while every one of those tables is at the
// version it was read at. Undoing writes back to a savepoint (or to a transaction's start) puts the
// versions back as they were there, so rows read at that point serve again: each quantity of a run,
// undone back to the same savepoint, finds the reads of the quantity before. The cache holds one entry a
// statement and value set, and starts afresh beyond its limits, so a long run's memory does not grow with
// the number of quantities.
class ReadCache
{
public:
    // The entry's key: the statement's text and its bound values, each kept exactly (kind and bits).
    static std::string key(const std::string& sql, std::span<const platform::Value> parameters);

    // The rows kept under the key, when every table they were read from is as it was; nullptr otherwise.
    std::shared_ptr<const QueryResult> find(const std::string& key) const;
    void keep(std::string key, const std::vector<std::string>& reads, std::shared_ptr<const QueryResult> rows);

    // The tables a statement changed.
    void written(const std::vector<std::string>& tables);
    // A savepoint (or, named "", a transaction's start): where the tables are now; undoing back to it; and
    // letting go of it with its work kept.
    void mark(const std::string& name);
    void backTo(const std::string& name);
    void forget(const std::string& name);
    // Anything may read differently now (the schema changed).
    void clear() noexcept;

    std::size_t size() const noexcept { return m_entries.size(); }

private:
    using Versions = std::map<std::string, std::uint64_t>; // by table; a table never written is at 0
    struct Entry
    {
        std::shared_ptr<const QueryResult> rows;
        Versions read; // the versions of the tables the rows were read from
    };
    std::uint64_t versionOf(const std::string& table) const;

    std::unordered_map<std::string, Entry> m_entries;
    Versions m_versions;
    std::map<std::string, Versions> m_marks;
    std::uint64_t m_clock = 0; // the last version given out: every write gets a new one
    std::size_t m_values = 0;  // values held in all entries
};

} // namespace data
