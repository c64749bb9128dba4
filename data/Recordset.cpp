#include "data/Recordset.h"

#include "data/Connection.h"
#include "data/FieldNames.h"
#include "data/JetErrors.h"
#include "platform/Fault.h"

namespace data {

const std::vector<std::vector<platform::Value>>& Recordset::rows() const noexcept
{
    static const std::vector<std::vector<platform::Value>> none;
    return m_result ? m_result->rows : none;
}

void Recordset::moveFirst()
{
    if (rows().empty())
        noCurrentRecord();
    m_position = 0;
}

void Recordset::moveNext()
{
    if (eof())
        noCurrentRecord();
    ++m_position;
}

void Recordset::moveLast()
{
    if (rows().empty())
        noCurrentRecord();
    m_position = rows().size() - 1;
}

const platform::Value& Recordset::field(std::string_view name) const
{
    if (eof())
        noCurrentRecord();
    return m_result->rows[m_position][m_result->position(name)];
}

const platform::Value& Recordset::field(int position) const
{
    if (eof())
        noCurrentRecord();
    if (position < 0 || position >= fieldCount())
        fieldNotFound(std::to_string(position));
    return m_result->rows[m_position][static_cast<std::size_t>(position)];
}

const std::string& Recordset::fieldName(int position) const
{
    if (position < 0 || position >= fieldCount())
        fieldNotFound(std::to_string(position));
    return m_result->names[static_cast<std::size_t>(position)];
}

void Recordset::requery()
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the recordset is closed.");
    load();
}

void Recordset::close()
{
    m_connection.reset();
    m_result.reset();
    m_position = 0;
}

void Recordset::load()
{
    m_result = m_connection->query(m_sql);
    m_position = 0;
}

} // namespace data
