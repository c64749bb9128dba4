#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace data {

// Turns one SQL text of the old engine's dialect into SQLite's: [bracketed] names, "double-quoted" and
// 'apostrophe' literals (never left to SQLite's own double-quote fallback), LIKE patterns with * ? # [list]
// [!list] (matched case-insensitively by the like() function the connection installs), UCase, IIf,
// True/False (-1/0, as the old engine stored them), Avg/Sum/DISTINCT, nested parenthesised joins, and the
// report database DDL (LONG, TEXT (n), YESNO, DATETIME, CREATE UNIQUE INDEX ... WITH PRIMARY).
// A text it cannot read (an unterminated literal, say) is fault 3075 naming the text.
std::string adaptSql(std::string_view oldDialectSql);

// A table or column name for an SQL text, in double quotes with any double quote inside doubled: read as
// that name whatever it holds (blanks, a keyword, a quote).
std::string sqlIdentifier(std::string_view name);

// What one column of a stored table holds, by its type in the server's catalog: Nothing where the table
// has no such column (or there is no such table).
enum class ColumnHolds
{
    Nothing,
    Numbers,
    Texts,
    Other
};

// What the server's dialect needs to know of the database's tables and columns, by names matched without
// regard to case.
struct ServerCatalog
{
    std::function<std::string(std::string_view)> storedName; // the name as stored; empty: none such
    std::function<ColumnHolds(std::string_view table, std::string_view column)> columnHolds;
    std::function<bool(std::string_view)> hasRowKey; // a stored table with the row key column
};

// The same for a shop database on a PostgreSQL server: names (bare or bracketed) become the names the
// database stores (a new name in DDL is taken as written), LIKE patterns regular expressions of its ~
// operator, UCase upper, IIf a CASE, Avg an average of doubles, '/' a division of doubles, a number
// column compared with a text, or a text column with a number, as a file compares them (by the column's
// type in the tables the statement names), and the DDL's types the server's, with a key column
// for each new table's stored order. A query of one table's rows without an order of its own gets the
// table's stored order, the order a file gives (DISTINCT: the order of each value's first row).
std::string adaptSqlForServer(std::string_view oldDialectSql, const ServerCatalog& catalog);

// The words of one SQL text that tell what it may read or change: its first word and every name it holds,
// upper-cased (bare words, [bracketed] names and, when doubleQuotedNames, "double-quoted" ones, as in the
// server's dialect), and the bare words written right before a parenthesis (the functions it calls, and
// keywords such as IN). A text it cannot read is fault 3075.
struct StatementWords
{
    std::string first;
    std::vector<std::string> names;
    std::vector<std::string> beforeParenthesis;
};
StatementWords statementWords(std::string_view sql, bool doubleQuotedNames);

// An SQL text literal in apostrophes with any apostrophe inside doubled: the one safe way to put a key
// value (an order number with an apostrophe or quote in it) into an SQL text.
std::string sqlLiteral(std::string_view text);

} // namespace data
