#include "cli/SqlCommand.h"

#include <cctype>
#include <filesystem>
#include <iostream>

#include "cli/Report.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "platform/Fault.h"
#include "platform/Value.h"

namespace cli {

namespace {

// The old engine's own refusal of a text that holds more than one statement.
constexpr int CharactersAfterEndOfStatement = 3142;

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The first word of the text, upper-cased, after blanks, opening parentheses and comments.
std::string firstKeyword(std::string_view sql)
{
    std::size_t i = 0;
    while (i < sql.size()) {
        if (isBlank(sql[i]) || sql[i] == '(') {
            ++i;
        } else if (sql.substr(i, 2) == "--") {
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (sql.substr(i, 2) == "/*") {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 2;
        } else {
            break;
        }
    }
    std::string word;
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    return word;
}

bool returnsRows(std::string_view sql)
{
    const std::string keyword = firstKeyword(sql);
    // SELECT ... INTO makes a table and returns no rows; it is run as a statement.
    return keyword == "SELECT" || keyword == "TRANSFORM" || keyword == "WITH" || keyword == "VALUES";
}

// Tabs and line ends inside a value would break the one-line-per-row layout.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

long long totalChanges(const data::Database& db)
{
    data::Recordset count = db.openRecordset("SELECT total_changes() AS CHANGED");
    const long long changed = count.eof() ? 0 : static_cast<long long>(count.field(0).number());
    count.close();
    return changed;
}

void usage(std::ostream& out)
{
    out << "Usage: pricebook sql DB \"SQL TEXT\"\n"
           "       pricebook sql --data DIR \"SQL TEXT\"\n"
           "       pricebook sql --db FILE \"SQL TEXT\"\n"
           "Runs one SQL text of the shop database's dialect. DB is a shop database file or a data folder\n"
           "(its vmdata.mdb). Rows print as a header line and tab-separated lines; other statements print\n"
           "how many rows they changed.\n";
}

} // namespace

bool hasSecondStatement(std::string_view sql)
{
    bool ended = false; // a semicolon has ended the first statement
    std::size_t i = 0;
    auto skipTo = [&](std::string_view closing) {
        const std::size_t end = sql.find(closing, i);
        i = end == std::string_view::npos ? sql.size() : end + closing.size();
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (sql.substr(i, 2) == "--") {
            skipTo("\n");
            continue;
        }
        if (sql.substr(i, 2) == "/*") {
            i += 2;
            skipTo("*/");
            continue;
        }
        if (ended && !isBlank(c) && c != ';')
            return true;
        ++i;
        if (c == ';') {
            ended = true;
        } else if (c == '\'' || c == '"' || c == '`') {
            // A doubled quote inside a literal is the quote itself: skipping to the next quote and going on
            // reads it as two adjacent literals, which ends in the same place.
            skipTo(std::string_view(&c, 1));
        } else if (c == '[') {
            skipTo("]");
        }
    }
    return false;
}

void runSql(const std::string& databasePath, std::string_view sql, std::ostream& out)
{
    if (hasSecondStatement(sql))
        throw platform::Fault(CharactersAfterEndOfStatement, "Characters found after end of SQL statement.");

    data::Database db = data::Database::open(databasePath);
    if (returnsRows(sql)) {
        data::Recordset rows = db.openRecordset(sql);
        for (int column = 0; column < rows.fieldCount(); ++column)
            out << (column ? "\t" : "") << oneLine(rows.fieldName(column));
        out << "\n";
        for (; !rows.eof(); rows.moveNext()) {
            for (int column = 0; column < rows.fieldCount(); ++column)
                out << (column ? "\t" : "") << oneLine(rows.field(column).formatted());
            out << "\n";
        }
        rows.close();
    } else {
        const long long before = totalChanges(db);
        db.execute(sql);
        const long long changed = totalChanges(db) - before;
        out << changed << (changed == 1 ? " row changed\n" : " rows changed\n");
    }
    db.close();
}

int sqlCommand(const std::vector<std::string>& args)
{
    std::string database;
    std::string sql;
    bool haveSql = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if ((arg == "--data" || arg == "--db") && database.empty()) {
            if (i + 1 >= args.size()) {
                std::cerr << "pricebook sql: " << arg << " needs a value\n";
                usage(std::cerr);
                return 2;
            }
            const std::string& value = args[++i];
            database = arg == "--data" ? (std::filesystem::path(value) / "vmdata.mdb").string() : value;
        } else if (database.empty() && !(arg.size() > 1 && arg[0] == '-' && arg[1] == '-')) {
            database = arg;
        } else if (!haveSql && !database.empty()) {
            sql = arg;
            haveSql = true;
        } else {
            std::cerr << "pricebook sql: unexpected argument " << arg
                      << " (put the SQL text in quotes, as one argument)\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (database.empty() || !haveSql) {
        std::cerr << "pricebook sql: " << (database.empty() ? "no database given" : "no SQL text given")
                  << "\n";
        usage(std::cerr);
        return 2;
    }
    if (sql.find_first_not_of(" \t\r\n;") == std::string::npos) {
        std::cerr << "pricebook sql: the SQL text is empty\n";
        usage(std::cerr);
        return 2;
    }
    // A data folder given without --data means its shop database.
    std::error_code error;
    if (std::filesystem::is_directory(database, error))
        database = (std::filesystem::path(database) / "vmdata.mdb").string();

    // Any fault of the console (a damaged file, a missing table, a text it cannot read) is exit code 3,
    // with the old engine's number and text, so scripts can tell a bad query from bad arguments.
    try {
        runSql(database, sql, std::cout);
    } catch (const platform::Fault& fault) {
        std::cout.flush();
        report(std::cerr, std::string(fault.what()) + " (error " + std::to_string(fault.number()) + ")",
               fault.detail());
        return 3;
    }
    return 0;
}

} // namespace cli
