#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Value.h"

struct sqlite3_stmt;

namespace data {

// How a result column's values are read, by the column's declared type: yes/no and date columns hold
// numbers or texts in the file, read back as yes/no values and dates.
enum class ColumnKind { Plain, Boolean, Date };

// "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss]" (or with a T) as a day serial; false for any other text.
bool parseDateText(std::string_view text, double& serial);

// A date as the shop's database keeps it: "yyyy-mm-dd", with the time when it is not midnight.
std::string dateText(double serial);

// The first word of a declared type, upper-cased ("DATETIME" of "datetime(19)"); empty for none.
std::string declaredTypeWord(const char* declared);

// The kind of each result column of a prepared statement.
std::vector<ColumnKind> columnKinds(sqlite3_stmt* statement);

// The value of column `i` of the statement's current row: a yes/no column reads -1/0, TRUE/YES/FALSE/NO
// and numbers as yes/no; a date column reads day serials and "yyyy-mm-dd[ hh:mm[:ss]]" texts as dates; any
// other text (and a BLOB) stays a text.
platform::Value readColumn(sqlite3_stmt* statement, int i, ColumnKind kind);

// Binds a value as this layer writes it: yes/no as -1/0, dates as "yyyy-mm-dd[ hh:mm:ss]".
void bindValue(sqlite3_stmt* statement, int index, const platform::Value& value);

} // namespace data
