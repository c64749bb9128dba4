#pragma once

#include <cstddef>
#include <set>
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
// A statement asked again gets the rows it got before, as long as no table it reads has been written
// since: a write drops every entry that read the written table, and undoing writes (a rolled-back
// savepoint) drops every entry that read any table written inside the cache's life. The cache holds at
// most one entry a statement and value set, and starts afresh beyond its limits, so a long run's memory
// does not grow with the number of quantities.
class ReadCache
{
public:
    // The entry's key: the statement's text and its bound values, each kept exactly (kind and bits).
    static std::string key(const std::string& sql, std::span<const platform::Value> parameters);

    // The rows kept under the key; nullptr when there are none.
    const QueryResult* find(const std::string& key) const;
    void keep(std::string key, const std::vector<std::string>& reads, const QueryResult& rows);

    // The tables a statement changed.
    void written(const std::vector<std::string>& tables);
    // Writes were undone: every table written so far may read as before them.
    void writesUndone();
    void clear() noexcept;

    std::size_t size() const noexcept { return m_entries.size(); }

private:
    struct Entry
    {
        QueryResult rows;
        std::vector<std::string> reads;
    };
    void dropReading(const std::string& table);

    std::unordered_map<std::string, Entry> m_entries;
    std::set<std::string> m_written; // every table written while the cache lived
    std::size_t m_values = 0;        // values held in all entries
};

} // namespace data
