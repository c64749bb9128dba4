#include "cli/SqlCommand.h"

#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>

#include <unistd.h>

#include "cli/Report.h"
#include "data/Database.h"
#include "platform/Fault.h"
#include "platform/Value.h"

namespace cli {

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitStopped = 1;
constexpr int ExitUsage = 2;
constexpr int ExitDatabase = 3;

// The old engine's own refusal of a text that holds more than one statement.
constexpr int CharactersAfterEndOfStatement = 3142;

// The longest time limit taken: a day.
constexpr long long MaxTimeoutSeconds = 24 * 60 * 60;

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Tabs and line ends inside a value would break the one-line-per-row layout.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

void usage(std::ostream& out)
{
    out << "Usage: pricebook sql [options] DB \"SQL TEXT\"\n"
           "       pricebook sql [options] --data DIR \"SQL TEXT\"\n"
           "       pricebook sql [options] --db FILE \"SQL TEXT\"\n"
           "Runs one SQL statement of the shop database's dialect. DB is a shop database file or a data folder\n"
           "(its vmdata.mdb). Rows print as a header line and tab-separated lines, as they are read; a statement\n"
           "that changes the database then says what it changed (\"table STOCK dropped\", \"12 rows changed\").\n"
           "\n"
           "The database is opened for reading only: a statement that would change it is refused unless --write\n"
           "is given. Never run, also with --write: ATTACH, DETACH, VACUUM, and any PRAGMA that would change\n"
           "the database's settings (journal_mode, user_version ...). A statement stops at Ctrl-C, at its time\n"
           "limit, when it needs more than 256 MB of memory, or at its row limit; a change stopped by Ctrl-C,\n"
           "time or memory is undone.\n"
           "\n"
           "Options:\n"
           "  --write              allow statements that change the database\n"
           "  --timeout SECONDS    stop a statement after this long (default 30)\n"
           "  --max-rows ROWS      stop a statement after printing this many rows (default 100000)\n"
           "  --verbose            with a message, the database's own words and the SQL text behind it\n"
           "\n"
           "Exit codes: 0 done; 1 the statement was refused or stopped (Ctrl-C, time, memory or row limit);\n"
           "2 wrong arguments; 3 the data folder or shop database (missing, damaged, read-only, busy, disk\n"
           "full) or a statement the database cannot run (a wrong name, a syntax error).\n";
}

// A whole number from 1 to `most`, or nothing.
std::optional<long long> positiveNumber(const std::string& text, long long most)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > most)
        return std::nullopt;
    return value;
}

// Ctrl-C stops the statement, which SQLite then undoes, instead of the program.
std::atomic<bool> g_cancelled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void cancelStatement(int)
{
    g_cancelled.store(true);
}

class CtrlCStopsTheStatement
{
public:
    CtrlCStopsTheStatement() : m_previous(std::signal(SIGINT, cancelStatement)) { g_cancelled.store(false); }
    ~CtrlCStopsTheStatement() { std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous); }
    CtrlCStopsTheStatement(const CtrlCStopsTheStatement&) = delete;
    CtrlCStopsTheStatement& operator=(const CtrlCStopsTheStatement&) = delete;

private:
    void (*m_previous)(int);
};

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

data::TypedOutcome runSql(const std::string& databasePath,
                          std::string_view sql,
                          std::ostream& out,
                          const data::TypedStatementLimits& limits,
                          bool toTerminal)
{
    if (hasSecondStatement(sql))
        throw platform::Fault(CharactersAfterEndOfStatement, "Characters found after end of SQL statement.");

    data::Database db =
        data::Database::open(databasePath, limits.mayWrite ? data::Access::ReadWrite : data::Access::ReadOnly);
    const auto shown = [toTerminal](std::string text) {
        text = oneLine(std::move(text));
        return toTerminal ? printable(text) : text;
    };
    data::TypedRows rows;
    rows.names = [&](const std::vector<std::string>& names) {
        for (std::size_t column = 0; column < names.size(); ++column)
            out << (column ? "\t" : "") << shown(names[column]);
        // The header shows at once that the statement runs.
        out << "\n" << std::flush;
    };
    rows.row = [&](const std::vector<platform::Value>& row) {
        for (std::size_t column = 0; column < row.size(); ++column)
            out << (column ? "\t" : "") << shown(row[column].formatted());
        out << "\n";
    };
    const data::TypedOutcome outcome = db.runTyped(sql, limits, rows);
    if (!outcome.changed.empty())
        out << outcome.changed << "\n";
    db.close();
    return outcome;
}

std::string stopMessage(const data::TypedOutcome& outcome, const data::TypedStatementLimits& limits)
{
    const std::string undone = outcome.writes ? " What it had begun to change was undone." : "";
    switch (outcome.stopped) {
    case data::TypedStop::None:
        return {};
    case data::TypedStop::Cancelled:
        return "The statement was stopped by Ctrl-C." + undone;
    case data::TypedStop::TimeLimit: {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.time).count();
        return "The statement was stopped at its time limit of " + std::to_string(seconds) +
               (seconds == 1 ? " second." : " seconds.") + undone +
               " Narrow it, or give it more time with --timeout SECONDS.";
    }
    case data::TypedStop::MemoryLimit:
        return "The statement was stopped: it needed more than " + std::to_string(limits.memory >> 20) +
               " MB of memory." + undone + " Narrow it, so that it sorts or gathers fewer rows.";
    case data::TypedStop::RowLimit:
        return "The statement was stopped after " + std::to_string(limits.rows) +
               " rows, its row limit. Narrow it, or allow more rows with --max-rows ROWS.";
    }
    return {};
}

int sqlCommand(const std::vector<std::string>& args)
{
    std::string database;
    std::string sql;
    bool haveSql = false;
    data::TypedStatementLimits limits;
    const auto wrong = [](const std::string& message) {
        std::cerr << "pricebook sql: " << message << "\n";
        usage(std::cerr);
        return ExitUsage;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--data" || arg == "--db" || arg == "--timeout" || arg == "--max-rows";
        if (takesValue && i + 1 >= args.size())
            return wrong(arg + " needs a value");
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return ExitSuccess;
        }
        if (arg == "--write") {
            limits.mayWrite = true;
        } else if (arg == "--verbose") {
            setVerbose(true);
        } else if (arg == "--timeout") {
            const std::optional<long long> seconds = positiveNumber(args[++i], MaxTimeoutSeconds);
            if (!seconds)
                return wrong("--timeout takes a whole number of seconds from 1 to " +
                             std::to_string(MaxTimeoutSeconds));
            limits.time = std::chrono::seconds(*seconds);
        } else if (arg == "--max-rows") {
            const std::optional<long long> most = positiveNumber(args[++i], 1'000'000'000'000LL);
            if (!most)
                return wrong("--max-rows takes a whole number of rows from 1 up");
            limits.rows = *most;
        } else if ((arg == "--data" || arg == "--db") && database.empty()) {
            const std::string& value = args[++i];
            database = arg == "--data" ? (std::filesystem::path(value) / "vmdata.mdb").string() : value;
        } else if (database.empty() && !(arg.size() > 1 && arg[0] == '-' && arg[1] == '-')) {
            database = arg;
        } else if (!haveSql && !database.empty()) {
            sql = arg;
            haveSql = true;
        } else {
            return wrong("unexpected argument " + arg + " (put the SQL text in quotes, as one argument)");
        }
    }
    if (database.empty() || !haveSql)
        return wrong(database.empty() ? "no database given" : "no SQL text given");
    if (sql.find_first_not_of(" \t\r\n;") == std::string::npos)
        return wrong("the SQL text is empty");
    // A data folder given without --data means its shop database.
    std::error_code error;
    if (std::filesystem::is_directory(database, error))
        database = (std::filesystem::path(database) / "vmdata.mdb").string();

    const CtrlCStopsTheStatement ctrlC;
    limits.cancelled = &g_cancelled;
    try {
        const data::TypedOutcome outcome = runSql(database, sql, std::cout, limits, isatty(STDOUT_FILENO) == 1);
        std::cout.flush();
        if (outcome.stopped == data::TypedStop::None)
            return ExitSuccess;
        report(std::cerr, stopMessage(outcome, limits));
        return ExitStopped;
    } catch (const platform::Fault& fault) {
        // A refused statement is the console's own answer; any other fault (a damaged file, a missing
        // table, a text it cannot read) keeps the old engine's number and text, so scripts can tell a bad
        // query from bad arguments.
        std::cout.flush();
        report(std::cerr, std::string(fault.what()) + " (error " + std::to_string(fault.number()) + ")",
               fault.detail());
        return fault.number() == data::RefusedStatement ? ExitStopped : ExitDatabase;
    }
}

} // namespace cli
