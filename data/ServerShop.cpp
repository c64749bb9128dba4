#include "data/ServerShop.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "data/ColumnValues.h"
#include "data/Database.h"
#include "data/Dialect.h"
#include "data/JetErrors.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace data {

namespace {

// The table a "CREATE TABLE NAME (..." statement makes, as written; empty for any other statement.
std::string createdTable(const std::string& statement)
{
    const std::string upper = platform::upperCase(statement.substr(0, 13));
    if (upper != "CREATE TABLE ")
        return {};
    std::size_t at = 13;
    while (at < statement.size() && statement[at] == ' ')
        ++at;
    if (at < statement.size() && statement[at] == '[') {
        const std::size_t close = statement.find(']', at);
        return close == std::string::npos ? std::string() : statement.substr(at + 1, close - at - 1);
    }
    std::size_t end = at;
    while (end < statement.size() && statement[end] != ' ' && statement[end] != '(' && statement[end] != '\n')
        ++end;
    return statement.substr(at, end - at);
}

} // namespace

std::vector<std::string> scriptStatements(std::string_view script)
{
    std::vector<std::string> statements;
    std::string current;
    const auto keep = [&] {
        const std::size_t start = current.find_first_not_of(" \t\r\n");
        if (start != std::string::npos) {
            std::string statement = current.substr(start, current.find_last_not_of(" \t\r\n") - start + 1);
            const std::string upper = platform::upperCase(statement);
            if (upper != "BEGIN" && upper != "COMMIT")
                statements.push_back(std::move(statement));
        }
        current.clear();
    };
    char quote = 0;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (!quote && c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n')
                ++i;
            current += '\n';
            continue;
        }
        if (quote && c == quote)
            quote = 0;
        else if (!quote && (c == '\'' || c == '"' || c == '['))
            quote = c == '[' ? ']' : c;
        if (!quote && c == ';') {
            keep();
            continue;
        }
        current += c;
    }
    keep();
    return statements;
}

std::string loadShopIntoServer(const std::string& conninfo,
                               const std::vector<std::string>& statements,
                               bool replace,
                               const std::vector<std::pair<std::string, long>>& expectedRows)
{
    const Database server = Database::openServer(conninfo);
    std::vector<std::string> tables;
    for (const std::string& statement : statements)
        if (std::string table = createdTable(statement); !table.empty())
            tables.push_back(std::move(table));

    Transaction load = server.beginTransaction();
    std::string present;
    for (const std::string& table : tables) {
        Recordset found = server.openRecordset(
            "SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema() AND "
            "upper(table_name) = " +
            sqlLiteral(platform::upperCase(table)));
        for (; !found.eof(); found.moveNext()) {
            const std::string name = found.field(0).text();
            if (replace)
                server.execute("DROP TABLE [" + name + "]");
            else
                present += (present.empty() ? "" : ", ") + name;
        }
    }
    if (!present.empty())
        throw platform::Fault(TableExists, "The shop's " + server.path() + " already has shop tables (" +
                                               present +
                                               "); nothing was written. Give --replace to replace them.");
    for (const std::string& statement : statements)
        server.execute(statement);
    for (const auto& [table, rows] : expectedRows) {
        const long copied = server.openRecordset("SELECT count(*) AS N FROM [" + table + "]").field("N").integer();
        if (copied != rows)
            throw platform::Fault(ReservedError, "The table " + table + " has " + std::to_string(copied) +
                                                     " rows on the server instead of " + std::to_string(rows) +
                                                     "; nothing was written.");
    }
    load.commit();
    return server.path();
}

namespace {

// A value as a literal of the old dialect, as the file holds it: yes/no -1/0, dates yyyy-mm-dd, numbers
// in the shortest text that reads back as the same number.
std::string literalOf(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        return "NULL";
    case Kind::Integer:
        return std::to_string(value.integer());
    case Kind::Double: {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.real()).ptr;
        return std::string(buffer, end);
    }
    case Kind::Text:
        return sqlLiteral(value.text());
    case Kind::Boolean:
        return value.boolean() ? "-1" : "0";
    case Kind::Date:
        return sqlLiteral(dateText(value.dateSerial()));
    }
    return "NULL";
}

} // namespace

ShopCopy copyShopToServer(const std::string& databaseFile, const std::string& conninfo, bool replace)
{
    const Database file = Database::open(databaseFile, Access::ReadOnly);
    std::vector<std::string> statements;
    ShopCopy copy;
    for (Recordset tables = file.openRecordset("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY rowid");
         !tables.eof(); tables.moveNext()) {
        const std::string table = tables.field(0).text();
        if (table.rfind("sqlite_", 0) == 0)
            continue;
        std::string columns;
        std::string names;
        for (Recordset info = file.openRecordset("PRAGMA table_info([" + table + "])"); !info.eof(); info.moveNext()) {
            const std::string type = info.field("type").isNull() ? std::string() : info.field("type").text();
            std::string word = declaredTypeWord(type.c_str());
            // A column of a type the server's dialect does not know keeps texts, which every value reads as.
            static const std::string_view known[] = {
                "LONG",   "INTEGER", "INT",     "SHORT",   "BYTE",   "COUNTER", "AUTOINCREMENT", "REAL",
                "DOUBLE", "FLOAT",   "SINGLE",  "CURRENCY", "NUMERIC", "DECIMAL", "TEXT",          "MEMO",
                "VARCHAR", "CHAR",   "STRING",  "YESNO",   "BIT",    "BOOLEAN", "LOGICAL",       "DATETIME",
                "DATE",   "TIMESTAMP"};
            if (std::find(std::begin(known), std::end(known), word) == std::end(known))
                word = "TEXT";
            columns += (columns.empty() ? "[" : ", [") + info.field("name").text() + "] " + word;
            names += (names.empty() ? "[" : ", [") + info.field("name").text() + "]";
        }
        statements.push_back("CREATE TABLE [" + table + "] (" + columns + ")");
        long rows = 0;
        for (Recordset row = file.openRecordset("SELECT * FROM [" + table + "]"); !row.eof(); row.moveNext()) {
            std::string values;
            for (int i = 0; i < row.fieldCount(); ++i)
                values += (i ? ", " : "") + literalOf(row.field(i));
            statements.push_back("INSERT INTO [" + table + "] (" + names + ") VALUES (" + values + ")");
            ++rows;
        }
        copy.tables.emplace_back(table, rows);
    }
    copy.database = loadShopIntoServer(conninfo, statements, replace, copy.tables);
    return copy;
}

} // namespace data
