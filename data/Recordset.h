#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/Connection.h"
#include "platform/Value.h"

namespace data {

class Connection;

// A snapshot: every row of the query is read when it is opened (and again on requery).
class Recordset
{
public:
    Recordset() = default;

    long recordCount() const noexcept { return static_cast<long>(rows().size()); }
    bool eof() const noexcept { return m_position >= rows().size(); }
    bool bof() const noexcept { return rows().empty(); }
    void moveFirst();
    void moveNext(); // past the last row eof() becomes true; moving beyond eof is fault 3021
    void moveLast();

    // A field of the current row by name (case-insensitive) or by position (0 = first column).
    // No current row is fault 3021; an unknown name is fault 3265; a position out of range is 3265.
    const platform::Value& field(std::string_view name) const;
    const platform::Value& field(int position) const;
    int fieldCount() const noexcept { return m_result ? static_cast<int>(m_result->names.size()) : 0; }
    const std::string& fieldName(int position) const;

    // Runs the query again, so rows changed since are seen; goes to the first row.
    void requery();
    void close();
    bool isOpen() const noexcept { return static_cast<bool>(m_connection); }

private:
    friend class Database;
    std::shared_ptr<Connection> m_connection;
    std::string m_sql; // as adapted for SQLite
    std::shared_ptr<const QueryResult> m_result;
    std::size_t m_position = 0;
    void load();
    const std::vector<std::vector<platform::Value>>& rows() const noexcept;
};

} // namespace data
