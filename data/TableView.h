#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/Connection.h"
#include "platform/Value.h"

namespace data {

class Connection;

// What a table view reads when it opens: every row, or none until it is moved to a row by its bookmark
// (a writer of one known row needs no other, and a shop may have thousands).
enum class TableRows
{
    All,
    ByBookmark,
};

// A whole table walked in stored order (a file's rowid, a server table's row key), as the old table-type
// recordsets of "Orders" and "BinderySelections" were. A bookmark is the row's key. Editing sets fields of
// the current row and update() writes them in one UPDATE of that row.
class TableView
{
public:
    TableView() = default;

    long recordCount() const noexcept { return static_cast<long>(m_rowids.size()); }
    bool eof() const noexcept { return m_position >= m_rowids.size(); }
    void moveFirst();
    void moveNext();
    void moveLast();
    void refresh(); // re-reads the rows; goes to the first row

    // 3021 no current row, 3265 unknown name. A row written by update() is read again here, when it is first
    // looked at, so its fields show what the database stored.
    const platform::Value& field(std::string_view name) const;

    std::int64_t bookmark() const;           // 3021 without a current row
    void setBookmark(std::int64_t bookmark); // 3159 "Not a valid bookmark." when the row is gone

    void edit();                                                    // 3020-style faults when no current row
    void setField(std::string_view name, const platform::Value& v); // 3265 unknown column; 3020 without edit()
    void update();                                                  // writes the edited fields of the row
    void cancelUpdate();

    void close();

private:
    friend class Database;
    std::shared_ptr<Connection> m_connection;
    std::string m_table;
    mutable std::vector<std::string> m_names;
    std::vector<std::int64_t> m_rowids;
    mutable std::vector<std::vector<platform::Value>> m_rows;
    mutable std::set<std::int64_t> m_written; // rows update() wrote, read again when next looked at
    // Each column's position by the name it was asked for, and its declared type, found once.
    mutable FieldPositions m_positions;
    std::unordered_map<std::size_t, std::string> m_types;
    std::size_t m_position = 0;
    bool m_editing = false;
    std::vector<std::pair<std::string, platform::Value>> m_pending;
    void load();
    // The row's values as the database holds them now; fault 3159 when it is gone. Takes the table's
    // column names from it while the view has none.
    std::vector<platform::Value> readRow(std::int64_t rowid) const;
    std::size_t position(std::string_view name) const;
    const std::string& typeOf(std::size_t column);
};

} // namespace data
