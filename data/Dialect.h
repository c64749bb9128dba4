#pragma once

#include <string>
#include <string_view>

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

// An SQL text literal in apostrophes with any apostrophe inside doubled: the one safe way to put a key
// value (an order number with an apostrophe or quote in it) into an SQL text.
std::string sqlLiteral(std::string_view text);

} // namespace data
