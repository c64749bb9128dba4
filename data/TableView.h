#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Value.h"

namespace data {

class Connection;

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

    const platform::Value& field(std::string_view name) const; // 3021 no current row, 3265 unknown name

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
    std::vector<std::string> m_names;
    std::vector<std::int64_t> m_rowids;
    std::vector<std::vector<platform::Value>> m_rows;
    std::size_t m_position = 0;
    bool m_editing = false;
    std::vector<std::pair<std::string, platform::Value>> m_pending;
    void load();
};

} // namespace data
