#pragma once

#include <string>

#include "platform/Fault.h"

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// The old engine's numbers for the failures a shop can meet; the shop's own documents and scripts know
// these, so every failure of this layer carries one.
inline constexpr int CouldNotFindFile = 3024;
inline constexpr int NotAValidPath = 3044;
inline constexpr int CannotOpenDatabase = 3049;
inline constexpr int CannotOpenFile = 3051;
inline constexpr int UnrecognizedFormat = 3343;
inline constexpr int DatabaseAlreadyExists = 3204;
inline constexpr int ReadOnly = 3027;
inline constexpr int Locked = 3218;
inline constexpr int InputTableNotFound = 3078;
inline constexpr int TooFewParameters = 3061;
inline constexpr int TableExists = 3010;
inline constexpr int ObjectNotFound = 3011;
inline constexpr int IndexExists = 3375;
inline constexpr int SyntaxError = 3075;
inline constexpr int UndefinedFunction = 3085;
inline constexpr int DuplicateValues = 3022;
inline constexpr int FieldCannotBeNull = 3314;
inline constexpr int ValidationRule = 3317;
inline constexpr int DiskFull = 3183;
inline constexpr int DiskError = 3043;
inline constexpr int InvalidSqlStatement = 3129;
inline constexpr int CharactersAfterEnd = 3142;
inline constexpr int InvalidOperation = 3219;
inline constexpr int ReservedError = 3000;
inline constexpr int UpdateWithoutEdit = 3020;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int NotAValidBookmark = 3159;
inline constexpr int RecordIsDeleted = 3167;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ObjectInvalid = 3420;
inline constexpr int DataTypeConversion = 3421;
inline constexpr int DataChanged = 3197;

// A file name as the messages show it: in single quotes.
inline std::string quoted(const std::string& path)
{
    return "'" + path + "'";
}

// "No current record." (3021): a recordset or table view read or moved past its rows.
[[noreturn]] void noCurrentRecord();

// The fault of a statement SQLite could not prepare or run on the database at `path`, with the old
// engine's number and words; SQLite's own words and the SQL text go into its detail. `writing` tells
// whether the statement changes the database.
platform::Fault statementFault(sqlite3* db, const std::string& path, int code, const std::string& sql, bool writing);

// The fault of a file SQLite opened but could not read (the first look at its list of tables): locked by
// another program, its disk or folder, or not a database after all. `message` is SQLite's own words.
platform::Fault unreadableFileFault(const std::string& path, int code, int systemError, const std::string& message);

// Refuses an SQL text that is not one statement: `statement` is what SQLite prepared of it (null when the
// text held none), `tail` where SQLite stopped reading; nothing but blanks, semicolons and comments may
// stand there. `detail` goes into the fault's detail.
void checkOneStatement(const sqlite3_stmt* statement, const char* tail, const std::string& detail);

} // namespace data
