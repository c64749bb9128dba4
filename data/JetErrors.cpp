#include "data/JetErrors.h"

#include <cctype>
#include <optional>
#include <string_view>

#include <sqlite3.h>

#include "data/StorageFaults.h"

namespace data {

namespace {

// The part of an SQLite message after a prefix such as "no such table: ".
bool messageNames(const std::string& message, std::string_view prefix, std::string& name)
{
    const std::size_t at = message.find(prefix);
    if (at == std::string::npos)
        return false;
    name = message.substr(at + prefix.size());
    return true;
}

} // namespace

platform::Fault statementFault(sqlite3* db, const std::string& path, int code, const std::string& sql, bool writing)
{
    const std::string message = sqlite3_errmsg(db);
    // SQLite's words and the SQL text stay behind the message, for a details view or --verbose.
    const std::string detail = message + "\nSQL: " + sql;
    if (std::optional<platform::Fault> fault = storageFault(path, code, systemErrorOf(db), writing, detail))
        return *fault;
    std::string name;
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        if (writing)
            return platform::Fault(Locked, "Could not update; currently locked.", detail);
        return platform::Fault(Locked, "Could not read; currently locked by another program.", detail);
    case SQLITE_CANTOPEN:
        if (writing)
            return platform::Fault(
                ReadOnly, "Cannot update. The database " + quoted(path) + " or its folder is read-only.", detail);
        return platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".", detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return platform::Fault(
            CannotOpenDatabase,
            "Cannot open database " + quoted(path) +
                ". It may not be a database that your application recognizes, or the file may "
                "be corrupt.",
            detail);
    case SQLITE_IOERR:
        return platform::Fault(DiskError, "Disk or network error.", detail);
    case SQLITE_CONSTRAINT: {
        const int extended = code;
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            return platform::Fault(
                DuplicateValues,
                "The changes you requested to the table were not successful because they would "
                "create duplicate values in the index or primary key.",
                detail);
        if (extended == SQLITE_CONSTRAINT_NOTNULL)
            return platform::Fault(FieldCannotBeNull, "The field cannot contain a Null value.", detail);
        return platform::Fault(ValidationRule, "One or more values are prohibited by a rule of the table.", detail);
    }
    case SQLITE_ERROR:
        if (messageNames(message, "no such table: ", name))
            return platform::Fault(InputTableNotFound,
                                   "The database engine cannot find the input table or query '" + name +
                                       "'. Make sure it exists and that its name is "
                                       "spelled correctly.",
                                   detail);
        if (messageNames(message, "no such column: ", name))
            return platform::Fault(TooFewParameters, "Too few parameters: there is no column '" + name + "'.",
                                   detail);
        if (messageNames(message, "no such function: ", name))
            return platform::Fault(UndefinedFunction, "Undefined function '" + name + "' in expression.", detail);
        if (messageNames(message, "no such index: ", name))
            return platform::Fault(ObjectNotFound, "The database engine could not find the object '" + name + "'.",
                                   detail);
        if (message.rfind("table ", 0) == 0 && message.find(" already exists") != std::string::npos)
            return platform::Fault(TableExists,
                                   "Table '" + message.substr(6, message.find(" already exists") - 6) +
                                       "' already exists.",
                                   detail);
        if (message.rfind("index ", 0) == 0 && message.find(" already exists") != std::string::npos)
            return platform::Fault(IndexExists,
                                   "The index '" + message.substr(6, message.find(" already exists") - 6) +
                                       "' already exists.",
                                   detail);
        return platform::Fault(SyntaxError, "Syntax error in a query of the database " + quoted(path) + ".", detail);
    default:
        return platform::Fault(ReservedError, "Database error in " + quoted(path) + ".", detail);
    }
}

platform::Fault unreadableFileFault(const std::string& path, int code, int systemError, const std::string& message)
{
    const int primary = code & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return platform::Fault(Locked, "Could not read " + quoted(path) + "; currently locked by another program.",
                               message);
    if (std::optional<platform::Fault> fault = storageFault(path, code, systemError, false, message))
        return *fault;
    return platform::Fault(CannotOpenDatabase,
                           "Cannot open database " + quoted(path) +
                               ". It may not be a database that your application recognizes, or the file may be "
                               "corrupt.",
                           message);
}

void checkOneStatement(const sqlite3_stmt* statement, const char* tail, const std::string& detail)
{
    if (!statement)
        throw platform::Fault(InvalidSqlStatement,
                              "Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.", detail);
    // What SQLite left after the statement may hold blanks, semicolons and comments, as SQLite reads them:
    // "--" to the line's end, "/*" to "*/" or the text's end.
    const std::string_view rest = tail ? std::string_view(tail) : std::string_view();
    for (std::size_t i = 0; i < rest.size();) {
        if (std::isspace(static_cast<unsigned char>(rest[i])) || rest[i] == ';') {
            ++i;
        } else if (rest.substr(i, 2) == "--") {
            const std::size_t end = rest.find('\n', i);
            i = end == std::string_view::npos ? rest.size() : end + 1;
        } else if (rest.substr(i, 2) == "/*") {
            const std::size_t end = rest.find("*/", i + 2);
            i = end == std::string_view::npos ? rest.size() : end + 2;
        } else {
            throw platform::Fault(CharactersAfterEnd, "Characters found after end of SQL statement.", detail);
        }
    }
}

void noCurrentRecord()
{
    throw platform::Fault(NoCurrentRecord, "No current record.");
}

} // namespace data
