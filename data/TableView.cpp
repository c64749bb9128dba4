#include "data/TableView.h"

#include <algorithm>
#include <cmath>

#include "data/Connection.h"
#include "data/Dialect.h"
#include "data/FieldNames.h"
#include "data/JetErrors.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace data {

namespace {

bool isWholeNumberType(const std::string& type)
{
    return type.find("INT") != std::string::npos || type == "LONG" || type == "SHORT" || type == "BYTE" ||
           type == "COUNTER" || type == "AUTOINCREMENT";
}

bool isYesNoType(const std::string& type)
{
    return type == "YESNO" || type == "BOOLEAN" || type == "BIT" || type == "LOGICAL";
}

bool isNumberType(const std::string& type)
{
    return isWholeNumberType(type) || isYesNoType(type) || type == "REAL" || type == "DOUBLE" || type == "FLOAT" ||
           type == "SINGLE" || type == "NUMERIC" || type == "DECIMAL" || type == "CURRENCY" || type == "MONEY";
}

bool isTextType(const std::string& type)
{
    return type.find("CHAR") != std::string::npos || type.find("TEXT") != std::string::npos ||
           type.find("CLOB") != std::string::npos || type == "MEMO" || type == "STRING";
}

// The value as the column's own type keeps it, the way the old engine converted an assigned value:
// numbers into number columns (a text that is no number is a conversion fault), -1/0 into yes/no
// columns, whole numbers into whole-number columns, and the formatted text into text columns.
platform::Value toColumnType(const platform::Value& value, const std::string& type, std::string_view column)
{
    using Kind = platform::Value::Kind;
    if (value.isNull())
        return value;
    if (isNumberType(type)) {
        double number = 0;
        switch (value.kind()) {
        case Kind::Text:
            if (!platform::isNumeric(value.text()))
                throw platform::Fault(DataTypeConversion, "Data type conversion error: '" + value.text() +
                                                              "' is not a number for the field '" +
                                                              std::string(column) + "'.");
            number = platform::val(value.text());
            break;
        case Kind::Boolean:
            number = value.boolean() ? -1 : 0;
            break;
        default:
            number = value.real();
            break;
        }
        if (isYesNoType(type))
            return platform::Value::fromBoolean(number != 0);
        if (isWholeNumberType(type))
            return platform::Value::fromInteger(static_cast<std::int64_t>(std::nearbyint(number)));
        return value.kind() == Kind::Integer ? value : platform::Value::fromDouble(number);
    }
    if (isTextType(type) && value.kind() != Kind::Text)
        return platform::Value::fromText(value.formatted());
    return value;
}

} // namespace

void TableView::moveFirst()
{
    if (m_rowids.empty())
        noCurrentRecord();
    cancelUpdate();
    m_position = 0;
}

void TableView::moveNext()
{
    if (eof())
        noCurrentRecord();
    cancelUpdate();
    ++m_position;
}

void TableView::moveLast()
{
    if (m_rowids.empty())
        noCurrentRecord();
    cancelUpdate();
    m_position = m_rowids.size() - 1;
}

void TableView::refresh()
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the table is closed.");
    load();
}

std::size_t TableView::position(std::string_view name) const
{
    if (const auto found = m_positions.find(name); found != m_positions.end())
        return found->second;
    const std::size_t at = findField(m_names, name);
    m_positions.emplace(std::string(name), at);
    return at;
}

const std::string& TableView::typeOf(std::size_t column)
{
    if (const auto found = m_types.find(column); found != m_types.end())
        return found->second;
    const auto& types = m_connection->declaredTypes(m_table);
    const auto type = types.find(platform::upperCase(m_names[column]));
    return m_types.emplace(column, type == types.end() ? std::string() : type->second).first->second;
}

const platform::Value& TableView::field(std::string_view name) const
{
    if (eof())
        noCurrentRecord();
    const std::size_t column = position(name);
    if (!m_written.empty() && m_written.count(m_rowids[m_position]) > 0) {
        m_rows[m_position] = readRow(m_rowids[m_position]);
        m_written.erase(m_rowids[m_position]);
    }
    if (m_editing) {
        for (const auto& [pendingName, value] : m_pending)
            if (pendingName == m_names[column])
                return value;
    }
    return m_rows[m_position][column];
}

std::int64_t TableView::bookmark() const
{
    if (eof())
        noCurrentRecord();
    return m_rowids[m_position];
}

std::vector<platform::Value> TableView::readRow(std::int64_t rowid) const
{
    const std::string key = m_connection->rowKey();
    const platform::Value bookmarkValue = platform::Value::fromInteger(rowid);
    const std::shared_ptr<const QueryResult> found =
        m_connection->query("SELECT " + key + ", * FROM " + sqlIdentifier(m_table) + " WHERE " + key + " = ?1",
                            std::span<const platform::Value>(&bookmarkValue, 1));
    if (found->rows.empty())
        throw platform::Fault(NotAValidBookmark, "Not a valid bookmark.");
    if (m_names.empty())
        m_names.assign(found->names.begin() + 1, found->names.end());
    return std::vector<platform::Value>(found->rows.front().begin() + 1, found->rows.front().end());
}

void TableView::setBookmark(std::int64_t bookmark)
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the table is closed.");
    // The row is read again from the file: it may have been changed or deleted since the view was filled.
    std::vector<platform::Value> row = readRow(bookmark);
    cancelUpdate();
    m_written.erase(bookmark);
    const auto at = std::lower_bound(m_rowids.begin(), m_rowids.end(), bookmark);
    const auto index = static_cast<std::size_t>(at - m_rowids.begin());
    if (at == m_rowids.end() || *at != bookmark) {
        // A row added since the view was filled takes its place in stored order.
        m_rowids.insert(at, bookmark);
        m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
    } else {
        m_rows[index] = std::move(row);
    }
    m_position = index;
}

void TableView::edit()
{
    if (eof())
        noCurrentRecord();
    if (m_connection->isReadOnly())
        throw m_connection->readOnlyFault();
    m_editing = true;
    m_pending.clear();
}

void TableView::setField(std::string_view name, const platform::Value& v)
{
    if (!m_editing)
        throw platform::Fault(UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
    const std::size_t at = position(name);
    const std::string& column = m_names[at];
    platform::Value stored = toColumnType(v, typeOf(at), column);
    for (auto& [pendingName, value] : m_pending) {
        if (pendingName == column) {
            value = std::move(stored);
            return;
        }
    }
    m_pending.emplace_back(column, std::move(stored));
}

void TableView::update()
{
    if (!m_editing)
        throw platform::Fault(UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
    if (m_pending.empty()) {
        m_editing = false;
        return;
    }
    // One UPDATE of this row with every edited field, so the row changes entirely or not at all.
    std::string sql = "UPDATE " + sqlIdentifier(m_table) + " SET ";
    std::vector<platform::Value> parameters;
    parameters.reserve(m_pending.size() + 1);
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += sqlIdentifier(m_pending[i].first) + " = ?" + std::to_string(i + 1);
        parameters.push_back(m_pending[i].second);
    }
    sql += " WHERE " + m_connection->rowKey() + " = ?" + std::to_string(m_pending.size() + 1);
    const std::int64_t rowid = m_rowids[m_position];
    parameters.push_back(platform::Value::fromInteger(rowid));
    if (m_connection->run(sql, parameters) == 0)
        throw platform::Fault(RecordIsDeleted, "Record is deleted.");
    m_editing = false;
    m_pending.clear();
    // Read again only when next looked at: a pricing run writes each quantity and never reads it back here.
    m_written.insert(rowid);
}

void TableView::cancelUpdate()
{
    m_editing = false;
    m_pending.clear();
}

void TableView::close()
{
    m_connection.reset();
    m_names.clear();
    m_positions.clear();
    m_types.clear();
    m_rowids.clear();
    m_rows.clear();
    m_written.clear();
    m_position = 0;
    cancelUpdate();
}

void TableView::load()
{
    cancelUpdate();
    // The row key is the table's stored order: a file's rowid, or the key column a server's table has for it.
    const std::string key = m_connection->rowKey();
    const std::shared_ptr<const QueryResult> result =
        m_connection->query("SELECT " + key + ", * FROM " + sqlIdentifier(m_table) + " ORDER BY " + key);
    m_names.assign(result->names.begin() + 1, result->names.end());
    m_positions.clear();
    m_types.clear();
    m_rowids.clear();
    m_rows.clear();
    m_written.clear();
    m_rowids.reserve(result->rows.size());
    m_rows.reserve(result->rows.size());
    for (const auto& row : result->rows) {
        m_rowids.push_back(row.front().integer());
        m_rows.emplace_back(row.begin() + 1, row.end());
    }
    m_position = 0;
}

} // namespace data
