#include "data/ReadCache.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace data {

namespace {

// Beyond these the cache starts afresh: far above the few hundred reads of a run, low enough that a
// runaway set of statement texts cannot take the memory.
constexpr std::size_t EntryLimit = 4096;
constexpr std::size_t ValueLimit = 2'000'000;

void appendNumber(std::string& key, std::uint64_t bits)
{
    key += std::to_string(bits);
    key += ';';
}

} // namespace

std::string ReadCache::key(const std::string& sql, std::span<const platform::Value> parameters)
{
    using Kind = platform::Value::Kind;
    std::string key = sql;
    for (const platform::Value& value : parameters) {
        key += '\0';
        key += static_cast<char>('0' + static_cast<int>(value.kind()));
        switch (value.kind()) {
        case Kind::Null:
            break;
        case Kind::Integer:
            appendNumber(key, static_cast<std::uint64_t>(value.integer()));
            break;
        case Kind::Double:
            appendNumber(key, std::bit_cast<std::uint64_t>(value.real()));
            break;
        case Kind::Date:
            appendNumber(key, std::bit_cast<std::uint64_t>(value.dateSerial()));
            break;
        case Kind::Boolean:
            key += value.boolean() ? '1' : '0';
            break;
        case Kind::Text:
            // The length first: a text holding the separators cannot pass for two values.
            appendNumber(key, value.text().size());
            key += value.text();
            break;
        }
    }
    return key;
}

std::uint64_t ReadCache::versionOf(const std::string& table) const
{
    const auto found = m_versions.find(table);
    return found == m_versions.end() ? 0 : found->second;
}

std::shared_ptr<const QueryResult> ReadCache::find(const std::string& key) const
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return nullptr;
    for (const auto& [table, version] : found->second.read)
        if (versionOf(table) != version)
            return nullptr;
    return found->second.rows;
}

void ReadCache::keep(std::string key, const std::vector<std::string>& reads, std::shared_ptr<const QueryResult> rows)
{
    std::size_t values = 0;
    for (const auto& row : rows->rows)
        values += row.size();
    if (m_entries.size() >= EntryLimit || m_values + values > ValueLimit) {
        m_entries.clear();
        m_values = 0;
    }
    if (values > ValueLimit)
        return;
    Versions read;
    for (const std::string& table : reads)
        read.emplace(table, versionOf(table));
    const auto [at, added] = m_entries.try_emplace(std::move(key));
    if (!added)
        for (const auto& row : at->second.rows->rows)
            m_values -= row.size();
    at->second = Entry{std::move(rows), std::move(read)};
    m_values += values;
}

void ReadCache::written(const std::vector<std::string>& tables)
{
    for (const std::string& table : tables)
        m_versions[table] = ++m_clock;
}

void ReadCache::mark(const std::string& name)
{
    m_marks[name] = m_versions;
}

void ReadCache::backTo(const std::string& name)
{
    const auto found = m_marks.find(name);
    if (found == m_marks.end()) {
        clear(); // a point the cache did not see: nothing it holds can be trusted
        return;
    }
    m_versions = found->second;
}

void ReadCache::forget(const std::string& name)
{
    m_marks.erase(name);
}

void ReadCache::clear() noexcept
{
    m_entries.clear();
    m_marks.clear();
    m_values = 0;
}

} // namespace data
