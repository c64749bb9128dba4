#include "data/ServerConnection.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <future>
#include <optional>
#include <thread>

#include <poll.h>

#include <libpq-fe.h>

#include "data/BusyWait.h"
#include "data/ColumnValues.h"
#include "data/ConnectionRegistry.h"
#include "data/Dialect.h"
#include "data/JetErrors.h"
#include "data/ServerFaults.h"
#include "data/TypedStatement.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace data {

namespace {

// Type numbers of the server's built-in types, as libpq reports a result column's type.
constexpr Oid BoolType = 16, Int8Type = 20, Int2Type = 21, Int4Type = 23, Float4Type = 700, Float8Type = 701,
              NumericType = 1700, DateType = 1082, TimestampType = 1114, TimestampTzType = 1184;

// How long one statement may run at most before the server stops it (milliseconds): far beyond any query
// of a pricing run, short enough that nothing waits for ever.
constexpr int StatementTimeLimit = 25000;

// How long this side waits for a statement's answer beyond what the server itself allows it (a lock's wait
// or the statement's time): a server that stops answering altogether is given up then.
constexpr std::chrono::milliseconds AnswerMargin{5000};

// How long a connection may take to be made, every address of every host together.
constexpr std::chrono::seconds ConnectLimit{10};

// How long a cancel request may take to reach the server before the connection is dropped all the same.
constexpr std::chrono::milliseconds CancelLimit{500};

// How often a wait looks at Ctrl-C.
constexpr int PollPause = 50; // milliseconds

using Clock = std::chrono::steady_clock;

using ResultHandle = std::unique_ptr<PGresult, decltype(&PQclear)>;

// ?1, ?2 ... of this layer's statements as the server's $1, $2 ..., outside literals and quoted names.
std::string serverParameters(const std::string& sql)
{
    std::string out;
    out.reserve(sql.size());
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?' && i + 1 < sql.size() && sql[i + 1] >= '0' && sql[i + 1] <= '9') {
            out += '$';
            continue;
        }
        out += c;
    }
    return out;
}

// A value as the text the server reads for a parameter (nullopt: NULL).
std::optional<std::string> parameterText(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        return std::nullopt;
    case Kind::Integer:
        return std::to_string(value.integer());
    case Kind::Double: {
        // The shortest text that reads back as the same double.
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.real()).ptr;
        return std::string(buffer, end);
    }
    case Kind::Text:
        return value.text();
    case Kind::Boolean:
        return value.boolean() ? "-1" : "0";
    case Kind::Date:
        return dateText(value.dateSerial());
    }
    return std::nullopt;
}

// Words a query may write right before a parenthesis and still give the same rows whenever it is asked
// inside one snapshot: keywords, and the functions whose answer depends on their arguments alone.
bool isSteadyCall(const std::string& upper)
{
    static constexpr std::string_view Steady[] = {
        "ABS",  "ALL",   "AND",      "ANY",   "AS",       "AVG",    "BETWEEN", "BY",     "CASE",  "CAST",
        "COALESCE", "CONCAT", "COUNT", "DISTINCT", "ELSE", "EXISTS", "FROM",  "GREATEST", "HAVING", "IN",
        "IS",   "JOIN",  "LEAST",    "LENGTH", "LIKE",    "LOWER",  "LTRIM",   "MAX",    "MIN",   "NOT",
        "NULLIF", "ON",  "OR",       "POSITION", "REPLACE", "ROUND", "RTRIM",  "SELECT", "SOME",  "SUBSTR",
        "SUBSTRING", "SUM", "THEN",  "TRIM",  "UPPER",    "USING",  "VALUES",  "WHEN",   "WHERE",
    };
    return std::find(std::begin(Steady), std::end(Steady), upper) != std::end(Steady);
}

void addOnce(std::vector<std::string>& names, const std::string& name)
{
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

// A whole number, or a number with a fraction, from the server's text of it.
platform::Value numberValue(const char* text, bool whole)
{
    if (whole) {
        std::int64_t v = 0;
        const char* end = text + std::strlen(text);
        if (std::from_chars(text, end, v).ec == std::errc())
            return platform::Value::fromInteger(v);
    }
    return platform::Value::fromDouble(std::strtod(text, nullptr));
}

// The parameters of one statement as the texts the server reads (a null pointer for NULL).
class ParameterTexts
{
public:
    explicit ParameterTexts(std::span<const platform::Value> parameters)
    {
        m_texts.reserve(parameters.size());
        for (const platform::Value& value : parameters)
            m_texts.push_back(parameterText(value));
        m_values.reserve(m_texts.size());
        for (const auto& text : m_texts)
            m_values.push_back(text ? text->c_str() : nullptr);
    }
    int count() const noexcept { return static_cast<int>(m_values.size()); }
    const char* const* values() const noexcept { return m_values.data(); }

private:
    std::vector<std::optional<std::string>> m_texts;
    std::vector<const char*> m_values;
};


enum class Wait
{
    Ready,
    Deadline,
    Cancelled
};

// Waits until the connection's socket is ready for `events`, looking at Ctrl-C every few milliseconds, and
// no longer than the deadline.
Wait waitForSocket(pg_conn* conn, short events, Clock::time_point deadline)
{
    for (;;) {
        if (waitsCancelled())
            return Wait::Cancelled;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return Wait::Deadline;
        pollfd socket{PQsocket(conn), events, 0};
        if (socket.fd < 0)
            return Wait::Ready; // libpq says what is wrong
        const int ready = ::poll(&socket, 1, static_cast<int>(std::min<long long>(left, PollPause)));
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return Wait::Ready;
    }
}

platform::Fault cancelledFault()
{
    // Said as a wait for a lock that Ctrl-C ended: the commands report it as cancelled.
    return platform::Fault(Locked, "The wait for the shop database server was cancelled.");
}

// Why a connection could not be made, in the shop's words, by what the server or libpq said.
platform::Fault connectionFault(const std::string& conninfo, const std::string& said)
{
    const std::string shown = conninfoWithoutSecrets(conninfo);
    const auto says = [&](const char* words) { return said.find(words) != std::string::npos; };
    const auto nameIn = [&](const char* before) {
        const std::size_t at = said.find(before);
        const std::size_t open = at == std::string::npos ? at : said.find('"', at);
        const std::size_t close = open == std::string::npos ? open : said.find('"', open + 1);
        return close == std::string::npos ? std::string() : " '" + said.substr(open + 1, close - open - 1) + "'";
    };
    std::string message;
    if (says("no password supplied"))
        message = "The shop database server asks for a password and none was found for this counter's user (" +
                  shown + "). Put the password in the password file (.pgpass) of this counter's user.";
    else if (says("password authentication failed"))
        message = "The shop database server did not accept the password of this counter's user (" + shown +
                  "). Correct it in the password file (.pgpass) of this counter's user.";
    else if (says("database \"") && says("does not exist"))
        message = "The shop database server has no database" + nameIn("database \"") + " (" + shown +
                  "). Check the database name (dbname) in the connection file.";
    else if (says("role \"") && says("does not exist"))
        message = "The shop database server knows no user" + nameIn("role \"") + " (" + shown +
                  "). Check the user name (user) in the connection file, or ask the server's keeper to add it.";
    else
        message = "Cannot reach the shop database server (" + shown +
                  "). Check that the server is running and that this computer may connect to it.";
    return platform::Fault(ServerConnectionFailed, message, said);
}

// A connection to the server, made within ConnectLimit whatever the connection string says and however many
// addresses its hosts have, given up at once on Ctrl-C. The string's own settings come first; ours after
// them win: the session's keepalives and TCP user timeout bound every later wait on a silent network, and
// its texts are UTF-8.
pg_conn* connectBounded(const std::string& conninfo)
{
    const char* keywords[] = {"connect_timeout",  "application_name",    "dbname",
                              "connect_timeout",  "keepalives",          "keepalives_idle",
                              "keepalives_interval", "keepalives_count", "tcp_user_timeout",
                              "client_encoding",  nullptr};
    const std::string limit = std::to_string(ConnectLimit.count());
    const char* values[] = {limit.c_str(), "pricebook", conninfo.c_str(), limit.c_str(), "1", "10", "5", "3",
                            "30000",       "UTF8",      nullptr};
    pg_conn* handle = PQconnectStartParams(keywords, values, 1);
    if (!handle)
        throw platform::Fault(ServerConnectionFailed, "Cannot reach the shop database server: out of memory.");
    const auto deadline = Clock::now() + ConnectLimit;
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (PQstatus(handle) != CONNECTION_BAD && state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        const Wait wait = waitForSocket(handle, state == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline);
        if (wait == Wait::Cancelled) {
            PQfinish(handle);
            throw cancelledFault();
        }
        if (wait == Wait::Deadline) {
            PQfinish(handle);
            throw connectionFault(conninfo, "no answer within " + limit + " seconds");
        }
        state = PQconnectPoll(handle);
    }
    if (PQstatus(handle) != CONNECTION_OK) {
        const std::string said = PQerrorMessage(handle);
        PQfinish(handle);
        throw connectionFault(conninfo, said);
    }
    return handle;
}

} // namespace

struct ServerConnection::Result
{
    ResultHandle handle{nullptr, &PQclear};
};

ServerConnection::ServerConnection(pg_conn* handle, std::string conninfo)
    : m_conn(handle), m_conninfo(std::move(conninfo))
{
    m_name = "database '" + std::string(PQdb(m_conn)) + "' on the server " +
             (PQhost(m_conn) ? quoted(PQhost(m_conn)) : std::string("'localhost'"));
}

ServerConnection::~ServerConnection()
{
    PQfinish(m_conn);
    forgetConnection(m_key);
}

std::shared_ptr<Connection> ServerConnection::open(const std::string& conninfo, Sharing sharing)
{
    const std::string key = "server " + conninfo;
    const auto connect = [&]() -> std::shared_ptr<Connection> {
        std::shared_ptr<ServerConnection> connection(new ServerConnection(connectBounded(conninfo), conninfo));
        if (sharing == Sharing::Shared)
            connection->m_key = key;
        connection->startSession();
        return connection;
    };
    return sharing == Sharing::Own ? connect() : sharedConnection(key, connect);
}

void ServerConnection::startSession()
{
    // The server's notices (a table to drop that is not there) are no news for the shop.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
    // Dates, numbers and texts are read and written in one fixed form whatever the server's or the
    // database's settings. The shop's tables are in the first schema the connection's search path names (its
    // temporary schema and the catalog aside); from here on the path is this session's own, that schema
    // alone, so the server's catalog is searched first and the session's private tables before both: pg_temp
    // named anywhere by the connection string or the database's settings could otherwise put the shop's
    // table in front of the private copy.
    command("SET DateStyle TO ISO, MDY; SET IntervalStyle TO postgres; SET extra_float_digits TO 1; "
            "SET standard_conforming_strings TO on; SET bytea_output TO hex; SET statement_timeout TO " +
            std::to_string(StatementTimeLimit));
    m_schema = query("SELECT coalesce((SELECT s FROM unnest(current_schemas(false)) WITH ORDINALITY AS p(s, n) "
                     "WHERE s NOT LIKE 'pg\\_temp\\_%' AND s NOT IN ('pg_catalog', 'pg_toast') ORDER BY n LIMIT 1), "
                     "'public')")
                   ->rows.at(0)
                   .at(0)
                   .text();
    command("SET search_path TO " + sqlIdentifier(m_schema));
    applyBusyTimeout(Connection::busyTimeout());
    loadNames();
}

std::chrono::steady_clock::time_point ServerConnection::answerDeadline() const
{
    return Clock::now() + std::chrono::milliseconds(std::max(StatementTimeLimit, Connection::busyTimeout())) +
           AnswerMargin;
}

PGresult* ServerConnection::nextResult(const std::string& sql, std::chrono::steady_clock::time_point deadline)
{
    while (PQisBusy(m_conn)) {
        const Wait wait = waitForSocket(m_conn, POLLIN, deadline);
        if (wait != Wait::Ready) {
            abandon();
            if (wait == Wait::Cancelled)
                throw cancelledFault();
            throw lostConnectionFault(m_name, "The server did not answer for " +
                                                  std::to_string((StatementTimeLimit + AnswerMargin.count()) / 1000) +
                                                  " seconds; the connection was dropped.",
                                      sql);
        }
        if (!PQconsumeInput(m_conn))
            break; // the connection is gone: the result says so
    }
    return PQgetResult(m_conn);
}

void ServerConnection::abandon() noexcept
{
    // The statement is cancelled on the server from a thread of its own, since a server that does not answer
    // may hold that up too; the connection is dropped after a moment whatever became of it, so the server
    // rolls back what was not committed as soon as it notices.
    if (PGcancel* cancel = PQgetCancel(m_conn)) {
        try {
            auto sent = std::make_shared<std::promise<void>>();
            std::future<void> done = sent->get_future();
            std::thread([cancel, sent] {
                char error[256];
                PQcancel(cancel, error, sizeof error);
                PQfreeCancel(cancel);
                sent->set_value();
            }).detach();
            done.wait_for(CancelLimit);
        } catch (...) {
            PQfreeCancel(cancel);
        }
    }
    PQfinish(m_conn);
    m_conn = nullptr;
}

ServerConnection::Result ServerConnection::exchange(const std::string& sql,
                                                    const std::span<const platform::Value>* parameters)
{
    bool sent = false;
    if (parameters) {
        const ParameterTexts texts(*parameters);
        sent = PQsendQueryParams(m_conn, sql.c_str(), texts.count(), nullptr, texts.values(), nullptr, nullptr, 0);
    } else {
        sent = PQsendQuery(m_conn, sql.c_str());
    }
    if (!sent)
        throw lostConnectionFault(m_name, m_conn ? PQerrorMessage(m_conn) : "", sql);
    const auto deadline = answerDeadline();
    Result last;
    while (PGresult* next = nextResult(sql, deadline))
        last.handle.reset(next);
    return last;
}

void ServerConnection::loadNames()
{
    m_names.clear();
    m_columnHolds.clear();
    m_keyedTables.clear();
    m_tableTypes.clear();
    m_yesNoColumns.clear();
    m_tables.clear();
    m_views.clear();
    m_effects.clear();
    const platform::Value schema = platform::Value::fromText(m_schema);
    const std::shared_ptr<const QueryResult> columns =
        query("SELECT c.table_name, c.column_name, c.data_type, t.table_type FROM information_schema.columns c "
              "JOIN information_schema.tables t ON t.table_schema = c.table_schema AND t.table_name = c.table_name "
              "WHERE c.table_schema = ?1",
              std::span<const platform::Value>(&schema, 1));
    for (const auto& row : columns->rows) {
        const std::string& table = row.at(0).text();
        const std::string& column = row.at(1).text();
        const std::string& type = row.at(2).text();
        m_names.emplace(platform::upperCase(table), table);
        (row.at(3).text() == "BASE TABLE" ? m_tables : m_views).insert(platform::upperCase(table));
        m_names.emplace(platform::upperCase(column), column);
        if (column == ServerRowKey)
            m_keyedTables.insert(table);
        ColumnHolds holds = ColumnHolds::Other;
        if (type == "bigint" || type == "integer" || type == "smallint" || type == "double precision" ||
            type == "real" || type == "numeric")
            holds = ColumnHolds::Numbers;
        else if (type == "text" || type == "character varying" || type == "character")
            holds = ColumnHolds::Texts;
        m_columnHolds[platform::upperCase(table)][platform::upperCase(column)] = holds;
    }
}

std::string ServerConnection::storedName(const std::string& name) const
{
    const auto found = m_names.find(platform::upperCase(name));
    return found == m_names.end() ? name : found->second;
}

std::string ServerConnection::adapt(std::string_view oldDialectSql) const
{
    const ServerCatalog catalog{
        [this](std::string_view name) {
            const auto found = m_names.find(platform::upperCase(name));
            return found == m_names.end() ? std::string() : found->second;
        },
        [this](std::string_view table, std::string_view column) {
            const auto inTable = m_columnHolds.find(platform::upperCase(table));
            if (inTable == m_columnHolds.end())
                return ColumnHolds::Nothing;
            const auto found = inTable->second.find(platform::upperCase(column));
            return found == inTable->second.end() ? ColumnHolds::Nothing : found->second;
        },
        [this](std::string_view table) { return m_keyedTables.count(std::string(table)) > 0; },
    };
    return adaptSqlForServer(oldDialectSql, catalog);
}

ServerConnection::Result ServerConnection::execute(const std::string& sql,
                                                   std::span<const platform::Value> parameters)
{
    // Inside a transaction a failed statement is undone alone, as on a file, and the transaction goes on:
    // the server would otherwise refuse every later statement of it, and a quantity's later reads could
    // not be told from reads that found nothing.
    if (PQtransactionStatus(m_conn) == PQTRANS_INTRANS)
        return executeGuarded(sql, parameters);
    trace(sql, parameters);
    const std::string serverSql = serverParameters(sql);
    Result result = exchange(serverSql, &parameters);
    const ExecStatusType status = PQresultStatus(result.handle.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        if (PQstatus(m_conn) == CONNECTION_BAD)
            throw lostConnectionFault(m_name, PQerrorMessage(m_conn), sql);
        throw statementFault(result.handle.get(), sql);
    }
    return result;
}

ServerConnection::Result ServerConnection::executeGuarded(const std::string& sql,
                                                          std::span<const platform::Value> parameters)
{
    trace(sql, parameters);
    const ParameterTexts texts(parameters);
    const std::string serverSql = serverParameters(sql);
    // The savepoint, the statement and the savepoint's release go to the server together and come back
    // together: one round trip where three would be.
    const auto lost = [&] { return lostConnectionFault(m_name, PQerrorMessage(m_conn), sql); };
    if (!PQenterPipelineMode(m_conn))
        throw lost();
    const bool sent = PQsendQueryParams(m_conn, "SAVEPOINT pricebook_statement", 0, nullptr, nullptr, nullptr,
                                        nullptr, 0) &&
                      PQsendQueryParams(m_conn, serverSql.c_str(), texts.count(), nullptr, texts.values(), nullptr,
                                        nullptr, 0) &&
                      PQsendQueryParams(m_conn, "RELEASE SAVEPOINT pricebook_statement", 0, nullptr, nullptr,
                                        nullptr, nullptr, 0) &&
                      PQpipelineSync(m_conn);
    // The answers in order: one result for each statement (each followed by a null), then the sync's.
    Result results[3];
    std::size_t answered = 0;
    bool synced = false;
    const auto deadline = answerDeadline();
    while (sent && !synced) {
        PGresult* next = nextResult(sql, deadline);
        if (!next) {
            if (PQstatus(m_conn) == CONNECTION_BAD)
                break;
            ++answered; // the end of one statement's results
            continue;
        }
        if (PQresultStatus(next) == PGRES_PIPELINE_SYNC) {
            PQclear(next);
            synced = true;
        } else if (answered < 3 && !results[answered].handle) {
            results[answered].handle.reset(next);
        } else {
            PQclear(next);
        }
    }
    if (!synced || !PQexitPipelineMode(m_conn)) {
        PQexitPipelineMode(m_conn);
        throw lost();
    }
    Result& result = results[1];
    const ExecStatusType status = PQresultStatus(result.handle.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const platform::Fault fault = statementFault(result.handle.get(), sql);
        // Back to the savepoint, and rid of it, in one round trip.
        exchange("ROLLBACK TO SAVEPOINT pricebook_statement; RELEASE SAVEPOINT pricebook_statement", nullptr);
        if (PQstatus(m_conn) == CONNECTION_BAD)
            throw lost();
        throw fault;
    }
    return std::move(result);
}

platform::Fault ServerConnection::statementFault(const pg_result* result, const std::string& sql) const
{
    platform::Fault fault = serverStatementFault(m_name, result, sql);
    // A table another program made has no row key column: the shop's table this statement names without it.
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    if (!state || std::string_view(state) != "42703" ||
        std::string_view(PQresultErrorMessage(result)).find(std::string("\"") + ServerRowKey + "\"") ==
            std::string_view::npos)
        return fault;
    std::string table;
    try {
        for (const std::string& name : statementWords(sql, true).names)
            if (m_tables.count(name) && !m_keyedTables.count(storedName(name)))
                table = storedName(name);
    } catch (const platform::Fault&) {
    }
    if (table.empty())
        return fault;
    return platform::Fault(TooFewParameters,
                           "The table '" + table + "' of the shop's " + m_name + " has no column " + ServerRowKey +
                               ", which keeps the order of its rows for this program: the table was made by "
                               "another program. Add the column (ALTER TABLE " + sqlIdentifier(table) +
                               " ADD COLUMN " + ServerRowKey + " bigint GENERATED BY DEFAULT AS IDENTITY UNIQUE), "
                               "or copy the shop onto the server again with copy-db --replace.",
                           fault.detail());
}

void ServerConnection::command(const std::string& sql)
{
    trace(sql);
    const Result result = exchange(sql, nullptr);
    if (PQresultStatus(result.handle.get()) != PGRES_COMMAND_OK) {
        if (PQstatus(m_conn) == CONNECTION_BAD)
            throw lostConnectionFault(m_name, m_conn ? PQerrorMessage(m_conn) : "", sql);
        throw serverStatementFault(m_name, result.handle.get(), sql);
    }
}

const StatementEffects& ServerConnection::effectsOf(const std::string& sql)
{
    constexpr std::size_t Limit = 2048;
    if (const auto found = m_effects.find(sql); found != m_effects.end())
        return found->second;
    if (m_effects.size() >= Limit)
        m_effects.clear();
    StatementEffects effects;
    StatementWords words;
    try {
        words = statementWords(sql, true);
    } catch (const platform::Fault&) {
        effects.changesSchema = true;
        return m_effects.emplace(sql, std::move(effects)).first->second;
    }
    // A query of the shop's tables alone, calling nothing whose answer can change, gives the same rows
    // whenever it is asked inside one snapshot. Every table it reads is named in its text; a view or one
    // of the server's own catalogs hides what it reads.
    bool plain = true;
    std::vector<std::string> tables;
    for (const std::string& name : words.names) {
        if (m_tables.count(name))
            addOnce(tables, name);
        else if (m_views.count(name) || (name.rfind("PG_", 0) == 0 && name != "PG_TEMP") ||
                 name == "INFORMATION_SCHEMA" || name == "FOR")
            plain = false;
    }
    for (const std::string& call : words.beforeParenthesis)
        if (!isSteadyCall(call) && !m_tables.count(call))
            plain = false;
    if (words.first == "SELECT") {
        effects.reads = std::move(tables);
        effects.keepsRows = plain;
    } else if (words.first == "INSERT" || words.first == "UPDATE" || words.first == "DELETE") {
        effects.writes = std::move(tables);
        effects.changesSchema = !plain;
    } else {
        effects.changesSchema = true;
    }
    return m_effects.emplace(sql, std::move(effects)).first->second;
}

bool ServerConnection::isYesNoColumn(unsigned table, int column)
{
    auto found = m_yesNoColumns.find(table);
    if (found == m_yesNoColumns.end()) {
        std::set<int> columns;
        const platform::Value key = platform::Value::fromInteger(table);
        const Result result =
            execute("SELECT a.attnum FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
                    "WHERE a.attrelid = ?1 AND t.typname = 'yesno'",
                    std::span<const platform::Value>(&key, 1));
        for (int row = 0; row < PQntuples(result.handle.get()); ++row)
            columns.insert(std::atoi(PQgetvalue(result.handle.get(), row, 0)));
        found = m_yesNoColumns.emplace(table, std::move(columns)).first;
    }
    return found->second.count(column) > 0;
}

std::shared_ptr<const QueryResult> ServerConnection::query(const std::string& sql,
                                                           std::span<const platform::Value> parameters)
{
    ReadCache* cache = readCache();
    std::string key;
    if (cache) {
        key = ReadCache::key(sql, parameters);
        if (std::shared_ptr<const QueryResult> kept = cache->find(key))
            return kept;
    }
    const Result result = execute(sql, parameters);
    PGresult* rows = result.handle.get();
    auto made = std::make_shared<QueryResult>();
    QueryResult& out = *made;
    const int columns = PQnfields(rows);
    // The row key column of each table is never one of a query's columns (the first column of the table
    // views' own query excepted).
    std::vector<int> shown;
    for (int i = 0; i < columns; ++i)
        if (i == 0 || std::strcmp(PQfname(rows, i), ServerRowKey) != 0)
            shown.push_back(i);
    enum class Read
    {
        Integer,
        Number,
        YesNo,
        Boolean,
        Date,
        Text
    };
    std::vector<Read> reads;
    for (const int i : shown) {
        out.names.emplace_back(PQfname(rows, i));
        const Oid type = PQftype(rows, i);
        if (type == Int2Type && PQftable(rows, i) != InvalidOid &&
            isYesNoColumn(PQftable(rows, i), PQftablecol(rows, i)))
            reads.push_back(Read::YesNo);
        else if (type == Int2Type || type == Int4Type || type == Int8Type)
            reads.push_back(Read::Integer);
        else if (type == Float4Type || type == Float8Type || type == NumericType)
            reads.push_back(Read::Number);
        else if (type == BoolType)
            reads.push_back(Read::Boolean);
        else if (type == DateType || type == TimestampType || type == TimestampTzType)
            reads.push_back(Read::Date);
        else
            reads.push_back(Read::Text);
    }
    const int count = PQntuples(rows);
    out.rows.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        std::vector<platform::Value> row;
        row.reserve(shown.size());
        for (std::size_t c = 0; c < shown.size(); ++c) {
            const int i = shown[c];
            if (PQgetisnull(rows, r, i)) {
                row.push_back(platform::Value::null());
                continue;
            }
            const char* text = PQgetvalue(rows, r, i);
            switch (reads[c]) {
            case Read::Integer:
                row.push_back(numberValue(text, true));
                break;
            case Read::Number:
                // A sum of whole numbers comes as an exact number without a fraction: a whole number, as
                // the file's engine gives it.
                row.push_back(
                    numberValue(text, PQftype(rows, i) == NumericType && !std::strpbrk(text, ".eE")));
                break;
            case Read::YesNo:
                row.push_back(platform::Value::fromBoolean(std::atoi(text) != 0));
                break;
            case Read::Boolean:
                // A comparison's answer, as the old engine gave it: -1 or 0.
                row.push_back(platform::Value::fromInteger(text[0] == 't' ? -1 : 0));
                break;
            case Read::Date: {
                double serial = 0;
                std::string_view date(text);
                if (date.size() > 19)
                    date = date.substr(0, 19); // no fractions of seconds or time zone
                if (parseDateText(date, serial))
                    row.push_back(platform::Value::fromDate(serial));
                else
                    row.push_back(platform::Value::fromText(text));
                break;
            }
            case Read::Text:
                row.push_back(platform::Value::fromText(
                    std::string(text, static_cast<std::size_t>(PQgetlength(rows, r, i)))));
                break;
            }
        }
        out.rows.push_back(std::move(row));
    }
    if (cache) {
        const StatementEffects& effects = effectsOf(sql);
        if (effects.keepsRows)
            cache->keep(std::move(key), effects.reads, made);
    }
    return made;
}

int ServerConnection::run(const std::string& sql, std::span<const platform::Value> parameters)
{
    // A new table's yes/no columns need the server's yes/no type first.
    const std::size_t start = sql.find_first_not_of(" \t\r\n");
    const std::string first = platform::upperCase(sql.substr(start == std::string::npos ? 0 : start, 6));
    const bool changesTables = first == "CREATE" || first.rfind("DROP", 0) == 0 || first.rfind("ALTER", 0) == 0;
    if (changesTables && sql.find("yesno") != std::string::npos)
        execute(
            "DO $$ BEGIN CREATE DOMAIN yesno AS smallint; EXCEPTION WHEN duplicate_object THEN NULL; END $$",
            {});
    if (ReadCache* cache = readCache()) {
        // Noted before it runs: a statement that fails may still have been carried out.
        const StatementEffects& effects = effectsOf(sql);
        if (effects.changesSchema)
            cache->clear();
        else
            cache->written(effects.writes);
    }
    const Result result = execute(sql, parameters);
    if (changesTables)
        loadNames();
    const char* changed = PQcmdTuples(result.handle.get());
    return changed && *changed ? std::atoi(changed) : 0;
}

const std::unordered_map<std::string, std::string>& ServerConnection::declaredTypes(const std::string& table)
{
    const std::string key = platform::upperCase(table);
    if (const auto found = m_tableTypes.find(key); found != m_tableTypes.end())
        return found->second;
    std::unordered_map<std::string, std::string> types;
    const platform::Value names[] = {platform::Value::fromText(m_schema), platform::Value::fromText(storedName(table))};
    const std::shared_ptr<const QueryResult> columns =
        query("SELECT column_name, data_type, domain_name FROM information_schema.columns "
              "WHERE table_schema = ?1 AND table_name = ?2",
              names);
    for (const auto& row : columns->rows) {
        const std::string type = row.at(1).text();
        std::string word = "TEXT";
        if (!row.at(2).isNull() && row.at(2).text() == "yesno")
            word = "YESNO";
        else if (type == "bigint" || type == "integer" || type == "smallint")
            word = "INTEGER";
        else if (type == "double precision" || type == "real" || type == "numeric")
            word = "REAL";
        else if (type.rfind("timestamp", 0) == 0 || type == "date")
            word = "DATETIME";
        types[platform::upperCase(row.at(0).text())] = word;
    }
    return m_tableTypes.emplace(key, std::move(types)).first->second;
}

platform::Fault ServerConnection::readOnlyFault() const
{
    return platform::Fault(ReadOnly, "Cannot update. The shop's " + m_name + " is read-only.");
}

void ServerConnection::begin()
{
    if (inTransaction())
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: a transaction is already open on the " + m_name + ".");
    // One snapshot for the whole transaction, as a file's reader sees.
    command("BEGIN ISOLATION LEVEL REPEATABLE READ");
    if (ReadCache* cache = readCache())
        cache->mark({});
}

void ServerConnection::commit()
{
    if (inTransaction())
        command("COMMIT");
    if (ReadCache* cache = readCache())
        cache->forget({});
}

void ServerConnection::rollback() noexcept
{
    if (ReadCache* cache = readCache())
        cache->backTo({});
    if (PQtransactionStatus(m_conn) == PQTRANS_IDLE || PQtransactionStatus(m_conn) == PQTRANS_UNKNOWN)
        return;
    try {
        trace("ROLLBACK");
    } catch (...) {
        // A tracer that fails must not keep the transaction open.
    }
    try {
        exchange("ROLLBACK", nullptr);
    } catch (...) {
        // The connection is gone: the server rolls back by itself.
    }
}

bool ServerConnection::inTransaction() const noexcept
{
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

std::string ServerConnection::createWorkingCopy(const std::string& table)
{
    const platform::Value wanted[] = {platform::Value::fromText(m_schema), platform::Value::fromText(storedName(table))};
    const std::shared_ptr<const QueryResult> found = query("SELECT table_name FROM information_schema.tables "
                                                           "WHERE table_schema = ?1 AND table_name = ?2",
                                                           wanted);
    if (found->rows.empty())
        throw platform::Fault(InputTableNotFound,
                              "The database engine cannot find the input table or query '" + table +
                                  "'. Make sure it exists and that its name is spelled correctly.");
    const std::string name = found->rows.front().front().text();
    // The session's temporary table of the same name is found first by every query of the name, on this
    // connection only; it has the table's columns and types, its key column among them.
    if (ReadCache* cache = readCache())
        cache->clear();
    execute("CREATE TEMPORARY TABLE " + sqlIdentifier(name) + " (LIKE " + sqlIdentifier(m_schema) + "." +
                sqlIdentifier(name) + ")",
            {});
    m_workingCopies.insert(name);
    return name;
}

void ServerConnection::refillWorkingCopy(const std::string& name,
                                         std::int64_t rowid,
                                         const std::string& column,
                                         const platform::Value& value)
{
    run("DELETE FROM pg_temp." + sqlIdentifier(name));
    const platform::Value parameters[] = {platform::Value::fromInteger(rowid), value};
    run("INSERT INTO pg_temp." + sqlIdentifier(name) + " SELECT * FROM " + sqlIdentifier(m_schema) + "." +
            sqlIdentifier(name) + " WHERE " + ServerRowKey + " = ?1 OR " + sqlIdentifier(storedName(column)) +
            " = ?2",
        parameters);
}

void ServerConnection::dropWorkingCopy(const std::string& name) noexcept
{
    m_workingCopies.erase(name);
    const std::string sql = "DROP TABLE IF EXISTS pg_temp." + sqlIdentifier(name);
    try {
        trace(sql);
    } catch (...) {
        // A tracer that fails must not keep the copy in the table's place.
    }
    try {
        exchange(sql, nullptr);
    } catch (...) {
        // The connection is gone, and the copy with it.
    }
    if (ReadCache* cache = readCache())
        cache->clear();
}

TypedOutcome ServerConnection::runTyped(const std::string&, const TypedStatementLimits&, const TypedRows&)
{
    throw platform::Fault(RefusedStatement, "The SQL console works on a shop database file; the shop's " +
                                                m_name + " has the server's own tools for that.");
}

void ServerConnection::applyBusyTimeout(int milliseconds)
{
    // A lock another session holds is waited for as long as a file's would be, then the statement fails
    // as "currently locked".
    try {
        exchange("SET lock_timeout = " + std::to_string(milliseconds > 0 ? milliseconds : 1), nullptr);
    } catch (const platform::Fault&) {
        // A lost connection says so at its next statement.
    }
}

} // namespace data
