#include "cli/SqlCommand.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>

#include <unistd.h>

#include "cli/CtrlC.h"
#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "data/Database.h"
#include "data/JetErrors.h"
#include "data/ServerConnectionFile.h"
#include "platform/Fault.h"
#include "platform/Value.h"

namespace cli {

namespace {

// The longest time limit taken: a day.
constexpr long long MaxTimeoutSeconds = 24 * 60 * 60;

// Tabs and line ends inside a value would break the one-line-per-row layout.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

const Option kOptions[] = {
    {"--data", "DIR", "the data folder whose shop database to use"},
    {"--db", "FILE", "the shop database file to use"},
    {"--write", "", "allow statements that change the database"},
    {"--timeout", "SECONDS", "stop a statement after this long, a wait at the open included (default 30)"},
    {"--max-rows", "ROWS", "stop a statement after printing this many rows (default 100000)"},
};

const CommandText kSqlText = {
    .name = "sql",
    .summary = "run one SQL statement against a shop database, only reading it unless --write is given",
    .synopsis = "[options] DB \"SQL TEXT\"\n[options] --data DIR \"SQL TEXT\"\n[options] --db FILE \"SQL TEXT\"",
    .description =
        "Runs one SQL statement of the shop database's dialect. DB is a shop database file or a data folder\n"
        "(its vmdata.mdb). Rows print as a header line and tab-separated lines, as they are read; a statement\n"
        "that changes the database then says what it changed (\"table STOCK dropped\", \"12 rows changed\").\n"
        "\n"
        "The database is opened for reading only: a statement that would change it is refused unless --write\n"
        "is given. Never run, also with --write: ATTACH, DETACH, VACUUM, fts3_tokenizer, and any PRAGMA that\n"
        "would change the database's settings (journal_mode, user_version ...). Comments may follow the\n"
        "statement; a second statement is refused. A statement stops at Ctrl-C, at its time limit (which\n"
        "counts a wait for another program's lock too), when it needs more than 256 MB of memory, or at its\n"
        "row limit; a change stopped by Ctrl-C, time or memory is undone.",
    .epilogue =
        "Exit codes: 0 done; 1 the statement was refused or stopped (time, memory or row limit); 2 wrong\n"
        "arguments; 3 the data folder or shop database (missing, damaged, read-only, busy, disk full) or a\n"
        "statement the database cannot run (a wrong name, a syntax error); 130 stopped by Ctrl-C.",
};

// A whole number from 1 to `most`, or nothing.
std::optional<long long> positiveNumber(const std::string& text, long long most)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > most)
        return std::nullopt;
    return value;
}

} // namespace

data::TypedOutcome runSql(const std::string& databasePath,
                          std::string_view sql,
                          std::ostream& out,
                          const data::TypedStatementLimits& limits,
                          bool toTerminal)
{
    // The time limit covers a wait for another program's lock at the open too: the open waits no longer
    // than the statement may take, and the statement gets what is left.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    data::Database db;
    {
        const int usual = data::busyTimeout();
        struct Restore
        {
            int usual;
            ~Restore() { data::setBusyTimeout(usual); }
        } restore{usual};
        data::setBusyTimeout(static_cast<int>(std::min<long long>(usual, limits.time.count())));
        db = data::Database::open(databasePath, limits.mayWrite ? data::Access::ReadWrite : data::Access::ReadOnly);
    }
    data::TypedStatementLimits left = limits;
    left.time = std::max(limits.time - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started),
                         std::chrono::milliseconds(1));
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
    const data::TypedOutcome outcome = db.runTyped(sql, left, rows);
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

SqlCommand::SqlCommand()
    : Command(kSqlText, {std::begin(kOptions), std::end(kOptions)})
{
}

int SqlCommand::run(const ParsedArguments& arguments) const
{
    data::TypedStatementLimits limits;
    limits.mayWrite = arguments.has("--write");
    if (const std::optional<std::string> text = arguments.value("--timeout")) {
        const std::optional<long long> seconds = positiveNumber(*text, MaxTimeoutSeconds);
        if (!seconds)
            throw UsageError("--timeout takes a whole number of seconds from 1 to " +
                             std::to_string(MaxTimeoutSeconds));
        limits.time = std::chrono::seconds(*seconds);
    }
    if (const std::optional<std::string> text = arguments.value("--max-rows")) {
        const std::optional<long long> most = positiveNumber(*text, 1'000'000'000'000LL);
        if (!most)
            throw UsageError("--max-rows takes a whole number of rows from 1 up");
        limits.rows = *most;
    }

    std::string database;
    std::string folder; // the data folder given, whose shop database is meant
    for (const auto& [option, value] : arguments.inOrder()) {
        if (option != "--data" && option != "--db")
            continue;
        if (!database.empty())
            throw UsageError("give the database once: DB, --data DIR or --db FILE");
        if (option == "--data")
            folder = value;
        database = option == "--data" ? (std::filesystem::path(value) / "vmdata.mdb").string() : value;
    }
    std::vector<std::string> words = arguments.positional();
    if (database.empty() && !words.empty()) {
        database = words.front();
        words.erase(words.begin());
    }
    if (words.size() > 1)
        throw UsageError("unexpected argument " + words[1] + " (put the SQL text in quotes, as one argument)");
    if (database.empty() || words.empty())
        throw UsageError(database.empty() ? "no database given" : "no SQL text given");
    const std::string& sql = words.front();
    if (sql.find_first_not_of(" \t\r\n;") == std::string::npos)
        throw UsageError("the SQL text is empty");
    // A data folder given without --data means its shop database.
    std::error_code error;
    if (std::filesystem::is_directory(database, error)) {
        folder = database;
        database = (std::filesystem::path(database) / "vmdata.mdb").string();
    }

    // The console works on a shop database file only: its limits (read-only unless asked, one statement, its
    // time and rows) are built on the file's engine, and a database on a server has the server's own tools,
    // with the server's own permissions, for this.
    const std::string connectionFile =
        folder.empty() ? database : (std::filesystem::path(folder) / data::ServerConnectionFileName).string();
    if (data::isServerConnectionFile(connectionFile) && std::filesystem::exists(connectionFile, error)) {
        report(std::cerr, "The SQL console works on a shop database file (vmdata.mdb); this shop's database is on a "
                          "server, as " +
                              data::quoted(connectionFile) +
                              " says. Use the server's own tools (psql, with the same connection string) instead.");
        return ExitDataFolder;
    }

    // Ctrl-C stops the statement, which SQLite then undoes, or the wait for another program's lock, instead
    // of the program.
    const CtrlC ctrlC;
    limits.cancelled = CtrlC::flag();
    try {
        const data::TypedOutcome outcome = runSql(database, sql, std::cout, limits, isatty(STDOUT_FILENO) == 1);
        std::cout.flush();
        if (outcome.stopped == data::TypedStop::None)
            return ExitSuccess;
        report(std::cerr, stopMessage(outcome, limits));
        return outcome.stopped == data::TypedStop::Cancelled ? ExitCancelled : ExitFailure;
    } catch (const platform::Fault& fault) {
        std::cout.flush();
        if (CtrlC::requested() && fault.number() == data::Locked) {
            data::TypedOutcome cancelled;
            cancelled.stopped = data::TypedStop::Cancelled;
            report(std::cerr, stopMessage(cancelled, limits));
            return ExitCancelled;
        }
        // A refused statement is the console's own answer; any other fault (a damaged file, a missing
        // table, a text it cannot read) keeps the old engine's number and text, so scripts can tell a bad
        // query from bad arguments.
        std::cout.flush();
        report(std::cerr, std::string(fault.what()) + " (error " + std::to_string(fault.number()) + ")",
               fault.detail());
        return fault.number() == data::RefusedStatement ? ExitFailure : ExitDataFolder;
    }
}

} // namespace cli
