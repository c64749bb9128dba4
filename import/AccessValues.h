#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <mdbtools.h>

#include "data/JetErrors.h"
#include "platform/Fault.h"

struct sqlite3_stmt;

namespace access_import {

// A failure of the reading child: what could not be read of the Access file or written to the shop
// database. Only its text goes to the parent, which names the file in its message.
inline platform::Fault childFailure(const std::string& text)
{
    return platform::Fault(data::CannotOpenDatabase, text);
}

// Memo columns hold up to 65,535 characters, three bytes each at most once converted to UTF-8.
inline constexpr std::size_t kBindSize = 256 * 1024;

// One Access column bound for reading: libmdb writes each row's value of it as text into the buffer.
struct BoundColumn
{
    MdbColumn* column = nullptr;
    unsigned int position = 0;  // 1-based, as the binding counts columns
    std::string name;
    std::vector<char> buffer;
    int length = 0;
};

// The declared type an Access column gets in a table that the shop schema does not have (empty for a kind
// of value that cannot be read). The words YESNO and DATETIME make the database layer read the values back
// as yes/no and dates.
std::string declaredType(const MdbColumn& column);

// Binds the current row's value of one Access column to a parameter of the insert: yes/no as -1/0, money
// as the exact 4-decimal sum, dates as "yyyy-mm-dd[ hh:mm:ss]", OLE objects and binary values as bytes.
// A value that lies outside its page is a childFailure naming the column and `table`.
void bindValue(MdbHandle* mdb, BoundColumn& bound, sqlite3_stmt* insert, int index, const std::string& table);

} // namespace access_import
