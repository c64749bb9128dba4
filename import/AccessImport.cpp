#include "import/AccessImport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <mdbtools.h>
#include <sqlite3.h>

#include "import/ImportBuilding.h"
#include "platform/Format.h"
#include "platform/ReplacementFile.h"

namespace access_import {

namespace {

namespace fs = std::filesystem;

constexpr const char* kShopDatabaseName = "vmdata.mdb";

// Memo columns hold up to 65,535 characters, three bytes each at most once converted to UTF-8.
constexpr std::size_t kBindSize = 256 * 1024;

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string identifier(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// One line of the child's report to the parent: a kind letter, a tab, the text (tabs and line ends made
// spaces, so one line stays one message).
std::string line(char kind, std::string_view text)
{
    std::string out(1, kind);
    out += '\t';
    for (char c : text)
        out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    return out + "\n";
}

void writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

// ---------------------------------------------------------------------------------------------------------
// The child: reads the Access file through libmdb and writes the SQLite file.

class ChildFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct Sqlite
{
    sqlite3* db = nullptr;
    ~Sqlite()
    {
        if (db)
            sqlite3_close(db);
    }
    void exec(const std::string& sql) const
    {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : sqlite3_errmsg(db);
            sqlite3_free(error);
            throw ChildFailure("could not write the shop database: " + message);
        }
    }
};

struct Statement
{
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

// libmdb tells of what it could not read (a page beyond the end of a cut-off file, a page of no known kind)
// only by printing it, and carries on with what it has. Both standard outputs of the child go to a scratch
// file made by the parent, and anything printed there means the Access file is damaged, so the import stops
// instead of writing a shop database with rows missing. The parent watches the file's size too: on some
// damaged files libmdb complains without end inside one call.
class ReaderComplaints
{
public:
    // Takes over the scratch file; in the child, its standard outputs are pointed at it.
    explicit ReaderComplaints(std::FILE* file) : m_file(file)
    {
        const int fd = m_file ? ::fileno(m_file) : ::open("/dev/null", O_WRONLY);
        if (fd >= 0) {
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
        }
    }
    ~ReaderComplaints()
    {
        if (m_file)
            std::fclose(m_file);
    }
    ReaderComplaints(const ReaderComplaints&) = delete;
    ReaderComplaints& operator=(const ReaderComplaints&) = delete;

    // The first line printed since the last call; empty when nothing was.
    std::string next()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        struct stat status {};
        if (!m_file || ::fstat(::fileno(m_file), &status) != 0 || status.st_size <= m_seen)
            return {};
        char text[200] = {};
        const ssize_t got = ::pread(::fileno(m_file), text, sizeof text - 1, m_seen);
        m_seen = status.st_size;
        std::string first(text, got > 0 ? static_cast<std::size_t>(got) : 0);
        first = first.substr(0, first.find('\n'));
        return first.empty() ? "the reader reported a fault" : first;
    }

    // Raises the failure, with what the reader printed, when it printed anything.
    void check(const std::string& what)
    {
        const std::string complaint = next();
        if (!complaint.empty())
            throw ChildFailure(what + " cannot be read whole: the file is damaged or cut off (" + complaint + ")");
    }

private:
    std::FILE* m_file = nullptr;
    off_t m_seen = 0;
};

// The columns of each table of the new shop database, by upper-case table name.
struct SchemaTable
{
    std::string name;
    std::vector<std::string> columns;
};

std::map<std::string, SchemaTable> schemaTables(const Sqlite& out)
{
    std::map<std::string, SchemaTable> tables;
    Statement list;
    sqlite3_prepare_v2(out.db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid", -1,
                       &list.handle, nullptr);
    while (list.handle && sqlite3_step(list.handle) == SQLITE_ROW) {
        SchemaTable table;
        table.name = reinterpret_cast<const char*>(sqlite3_column_text(list.handle, 0));
        Statement info;
        sqlite3_prepare_v2(out.db, ("PRAGMA table_info(" + identifier(table.name) + ")").c_str(), -1,
                           &info.handle, nullptr);
        while (info.handle && sqlite3_step(info.handle) == SQLITE_ROW)
            table.columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.handle, 1)));
        tables.emplace(upper(table.name), std::move(table));
    }
    return tables;
}

// How many decimals a Numeric column keeps. libmdb fills its two fields the other way round from their names
// (a Numeric (18, 0) column comes back with col_scale 18 and col_prec 0); the scale is never above the
// precision, so the smaller of the two is the scale whichever way a libmdb version fills them.
int numericDecimals(const MdbColumn& column)
{
    return std::min(column.col_prec, column.col_scale);
}

// The declared type an Access column gets in a table that the shop schema does not have. The words YESNO
// and DATETIME make the database layer read the values back as yes/no and dates.
std::string declaredType(const MdbColumn& column)
{
    switch (column.col_type) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
        return "TEXT";
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return "INTEGER";
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
        return "REAL";
    case MDB_NUMERIC:
        return numericDecimals(column) == 0 ? "INTEGER" : "REAL";
    case MDB_BOOL:
        return "YESNO";
    case MDB_DATETIME:
        return "DATETIME";
    case MDB_BINARY:
    case MDB_OLE:
        return "BLOB";
    default:
        return "";
    }
}

std::int64_t littleEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<std::int64_t>(value);
}

double littleEndianDouble(const unsigned char* bytes)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(littleEndian(bytes, 8));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float littleEndianSingle(const unsigned char* bytes)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(littleEndian(bytes, 4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A date serial as the database layer writes and reads dates: "yyyy-mm-dd", with the time when it is not
// midnight.
std::string dateText(double serial)
{
    const platform::CivilDateTime civil = platform::civilFromSerial(serial);
    char buffer[40];
    if (civil.hour == 0 && civil.minute == 0 && civil.second == 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", civil.year, civil.month, civil.day);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", civil.year, civil.month, civil.day,
                      civil.hour, civil.minute, civil.second);
    return buffer;
}

struct BoundColumn
{
    MdbColumn* column = nullptr;
    unsigned int position = 0;  // 1-based, as the binding counts columns
    std::string name;
    std::vector<char> buffer;
    int length = 0;
};

// Binds the current row's value of one Access column to a parameter of the insert.
void bindValue(MdbHandle* mdb, BoundColumn& bound, sqlite3_stmt* insert, int index, const std::string& table)
{
    MdbColumn& column = *bound.column;
    const int type = column.col_type;
    if (type == MDB_BOOL) {
        // Yes/no as the old engine stored it: -1 for yes, 0 for no.
        sqlite3_bind_int(insert, index, std::strcmp(bound.buffer.data(), "0") != 0 ? -1 : 0);
        return;
    }
    if (bound.length == 0 && column.cur_value_len == 0) {
        sqlite3_bind_null(insert, index);
        return;
    }
    const int start = column.cur_value_start;
    const int size = column.cur_value_len;
    const auto rawBytes = [&](int needed) -> const unsigned char* {
        if (start < 0 || size < needed || start + size > static_cast<int>(mdb->fmt->pg_size))
            throw ChildFailure("the value of column " + bound.name + " of table " + table + " cannot be read");
        return mdb->pg_buf + start;
    };
    switch (type) {
    case MDB_FLOAT:
        sqlite3_bind_double(insert, index, static_cast<double>(littleEndianSingle(rawBytes(4))));
        return;
    case MDB_DOUBLE:
        sqlite3_bind_double(insert, index, littleEndianDouble(rawBytes(8)));
        return;
    case MDB_MONEY:
        // A count of ten-thousandths: divided once, the nearest double reads back as the exact 4-decimal sum.
        sqlite3_bind_double(insert, index, static_cast<double>(littleEndian(rawBytes(8), 8)) / 10000.0);
        return;
    case MDB_DATETIME: {
        const std::string text = dateText(littleEndianDouble(rawBytes(8)));
        sqlite3_bind_text(insert, index, text.c_str(), -1, SQLITE_TRANSIENT);
        return;
    }
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        sqlite3_bind_int64(insert, index, std::strtoll(bound.buffer.data(), nullptr, 10));
        return;
    case MDB_NUMERIC: {
        const std::string text(bound.buffer.data(), static_cast<std::size_t>(bound.length));
        if (numericDecimals(column) == 0 && text.find_first_of(".eE") == std::string::npos) {
            errno = 0;
            const long long whole = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == 0) {
                sqlite3_bind_int64(insert, index, whole);
                return;
            }
        }
        sqlite3_bind_double(insert, index, std::strtod(text.c_str(), nullptr));
        return;
    }
    case MDB_BINARY:
        sqlite3_bind_blob(insert, index, rawBytes(0), size, SQLITE_TRANSIENT);
        return;
    case MDB_OLE: {
        std::size_t oleSize = 0;
        void* ole = mdb_ole_read_full(mdb, &column, &oleSize);
        if (!ole) {
            sqlite3_bind_null(insert, index);
            return;
        }
        sqlite3_bind_blob(insert, index, ole, static_cast<int>(oleSize), SQLITE_TRANSIENT);
        std::free(ole);
        return;
    }
    default:
        sqlite3_bind_text(insert, index, bound.buffer.data(), bound.length, SQLITE_TRANSIENT);
        return;
    }
}

// Copies one Access table into the shop database; returns its row count.
std::size_t copyTable(MdbHandle* mdb, MdbCatalogEntry* entry, const Sqlite& out,
                      std::map<std::string, SchemaTable>& schema, int reportFd, ReaderComplaints& complaints)
{
    const std::string accessName = entry->object_name;
    MdbTableDef* table = mdb_read_table(entry);
    if (!table)
        throw ChildFailure("table " + accessName + " cannot be read");
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> tableOwner(table, mdb_free_tabledef);
    if (!mdb_read_columns(table))
        throw ChildFailure("the columns of table " + accessName + " cannot be read");
    mdb_rewind_table(table);

    std::vector<BoundColumn> columns;
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (declaredType(*column).empty()) {
            writeAll(reportFd, line('N', "skipped column " + std::string(column->name) + " of table " + accessName +
                                             ": its kind of value cannot be read"));
            continue;
        }
        BoundColumn bound;
        bound.column = column;
        bound.position = i + 1;
        bound.name = column->name;
        bound.buffer.assign(kBindSize, '\0');
        columns.push_back(std::move(bound));
    }
    for (BoundColumn& bound : columns)
        mdb_bind_column(table, static_cast<int>(bound.position), bound.buffer.data(), &bound.length);

    // The target table: the schema's own, with any further Access columns added, or a new table.
    std::string target;
    const auto known = schema.find(upper(accessName));
    if (known != schema.end()) {
        SchemaTable& ours = known->second;
        target = ours.name;
        std::set<std::string> present;
        for (const std::string& name : ours.columns)
            present.insert(upper(name));
        std::set<std::string> fromAccess;
        for (const BoundColumn& bound : columns) {
            fromAccess.insert(upper(bound.name));
            if (!present.count(upper(bound.name))) {
                out.exec("ALTER TABLE " + identifier(target) + " ADD COLUMN " + identifier(bound.name) + " " +
                         declaredType(*bound.column));
                ours.columns.push_back(bound.name);
                present.insert(upper(bound.name));
                writeAll(reportFd, line('N', "kept column " + bound.name + " of table " + accessName +
                                                 ", which the shop database does not use"));
            }
        }
        for (const std::string& name : ours.columns)
            if (!fromAccess.count(upper(name)))
                writeAll(reportFd, line('N', "added column " + name + " to table " + target +
                                                 " empty: the Access table has none"));
    } else {
        target = accessName;
        std::string create = "CREATE TABLE " + identifier(target) + " (";
        for (std::size_t i = 0; i < columns.size(); ++i)
            create += (i ? ", " : "") + identifier(columns[i].name) + " " + declaredType(*columns[i].column);
        if (columns.empty())
            throw ChildFailure("table " + accessName + " has no column that can be read");
        out.exec(create + ")");
        schema.emplace(upper(target), SchemaTable{target, {}});
    }
    if (columns.empty()) {
        writeAll(reportFd, line('N', "skipped table " + accessName + ": it has no column that can be read"));
        return 0;
    }

    std::string insertSql = "INSERT INTO " + identifier(target) + " (";
    std::string values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        insertSql += (i ? ", " : "") + identifier(columns[i].name);
        values += i ? ", ?" : "?";
    }
    insertSql += ") VALUES (" + values + ")";
    Statement insert;
    if (sqlite3_prepare_v2(out.db, insertSql.c_str(), -1, &insert.handle, nullptr) != SQLITE_OK)
        throw ChildFailure("could not write table " + target + ": " + sqlite3_errmsg(out.db));

    std::size_t rows = 0;
    while (mdb_fetch_row(table)) {
        // On some damaged files libmdb keeps handing out rows of nothing, complaining about each: stop at the
        // first complaint, and at a row beyond the table's own count, instead of reading forever.
        complaints.check("table " + accessName);
        if (rows == table->num_rows)
            throw ChildFailure("table " + accessName + " cannot be read whole: the file is damaged (more rows "
                               "were found than the table holds)");
        sqlite3_reset(insert.handle);
        for (std::size_t i = 0; i < columns.size(); ++i)
            bindValue(mdb, columns[i], insert.handle, static_cast<int>(i + 1), accessName);
        if (sqlite3_step(insert.handle) != SQLITE_DONE)
            throw ChildFailure("could not write table " + target + ": " + sqlite3_errmsg(out.db));
        ++rows;
    }
    // The table's own count says how many rows it holds: fewer read means a damaged or cut-off file.
    if (rows != table->num_rows)
        throw ChildFailure("table " + accessName + " cannot be read whole: " + std::to_string(rows) + " of its " +
                           std::to_string(table->num_rows) + " rows were found");
    return rows;
}

void runChild(const std::string& accessFile, const std::string& output, std::string_view schemaSql, int reportFd,
              ReaderComplaints& complaints)
{
    MdbHandle* mdb = mdb_open(accessFile.c_str(), MDB_NOFLAGS);
    if (!mdb)
        throw ChildFailure("the file cannot be opened as an Access database");
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdbOwner(mdb, mdb_close);
    mdb_set_bind_size(mdb, kBindSize);
    mdb_set_boolean_fmt_numbers(mdb);
    // Every Access file lists at least its own system tables: an empty list was cut off or damaged.
    if (!mdb_read_catalog(mdb, MDB_TABLE) || mdb->num_catalog == 0)
        throw ChildFailure("its list of tables cannot be read: the file is damaged, encrypted or protected by a "
                           "password");
    complaints.check("its list of tables");

    Sqlite out;
    if (sqlite3_open_v2(output.c_str(), &out.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr) != SQLITE_OK)
        throw ChildFailure("could not write the shop database " + quoted(output));
    out.exec("BEGIN");
    out.exec(std::string(schemaSql));
    std::map<std::string, SchemaTable> schema = schemaTables(out);
    std::set<std::string> untouched;
    for (const auto& [key, table] : schema)
        untouched.insert(key);

    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry))
            continue;
        const std::string name = entry->object_name;
        if (upper(name).rfind("SQLITE_", 0) == 0) {
            writeAll(reportFd, line('N', "skipped table " + name + ": the name is reserved by the shop database"));
            continue;
        }
        writeAll(reportFd, line('S', name));
        const std::size_t rows = copyTable(mdb, entry, out, schema, reportFd, complaints);
        complaints.check("table " + name);
        untouched.erase(upper(name));
        writeAll(reportFd, line('T', name + "\t" + std::to_string(rows)));
    }
    for (const std::string& key : untouched)
        writeAll(reportFd, line('N', "added table " + schema.at(key).name + " empty: the Access file has none"));
    out.exec("COMMIT");
    // Write-ahead-log mode, as the demo shop is kept: each priced quantity's order-row write is then a log
    // append instead of a synced journal. The log is emptied and removed when the file is closed.
    out.exec("PRAGMA journal_mode = WAL");
    if (sqlite3_close(out.db) != SQLITE_OK)
        throw ChildFailure("could not finish the shop database " + quoted(output));
    out.db = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// The parent: checks, runs the child, reads its report, puts the file in place.

// Stopping the program (Ctrl-C, a kill, a closed terminal) during an import stops the reading child and
// removes the half-built file, so nothing is left behind in the data folder. The paths are copied into
// fixed buffers beforehand: a signal handler may only call unlink, kill and the like. The lock file is
// removed last (see ImportBuilding). A kill that cannot be caught leaves them to the next import.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kPathRoom = 4096;
char g_removeOnStop[5][kPathRoom];
volatile sig_atomic_t g_readerChild = 0;
struct sigaction g_previousActions[std::size(kStopSignals)];

extern "C" void stopImport(int signal)
{
    if (g_readerChild > 0)
        ::kill(static_cast<pid_t>(g_readerChild), SIGKILL);
    for (const char* path : g_removeOnStop)
        if (path[0])
            ::unlink(path);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (kStopSignals[i] == signal)
            ::sigaction(signal, &g_previousActions[i], nullptr);
    ::raise(signal);
}

class RemovedWhenStopped
{
public:
    explicit RemovedWhenStopped(const ImportBuilding& building)
    {
        std::vector<std::string> paths = {building.path()};
        for (const std::string& ending : platform::sqliteCompanions())
            paths.push_back(building.path() + ending);
        paths.push_back(building.lockPath());
        for (std::size_t i = 0; i < paths.size() && i < std::size(g_removeOnStop); ++i)
            if (paths[i].size() < kPathRoom)
                std::memcpy(g_removeOnStop[i], paths[i].c_str(), paths[i].size() + 1);
        struct sigaction action {};
        action.sa_handler = stopImport;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
            ::sigaction(kStopSignals[i], &action, &g_previousActions[i]);
    }
    ~RemovedWhenStopped()
    {
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
            ::sigaction(kStopSignals[i], &g_previousActions[i], nullptr);
        for (char* path : g_removeOnStop)
            path[0] = '\0';
    }
    RemovedWhenStopped(const RemovedWhenStopped&) = delete;
    RemovedWhenStopped& operator=(const RemovedWhenStopped&) = delete;
};

// A shop database with its write-ahead log or rollback journal beside it is open in another program, or was
// left so by a crash: the log belongs to the old file, and would be played into a new file put in its place.
void refuseWhileInUse(const fs::path& target)
{
    std::error_code error;
    for (const char* companion : {"-wal", "-journal"})
        if (fs::exists(target.string() + companion, error))
            throw ImportError("The shop database " + quoted(target.string()) + " is in use (its " +
                              target.filename().string() + companion +
                              " file is beside it) and is kept. Close the program using it, or open it once "
                              "so it is put right, then import again.");
}

struct ChildResult
{
    std::vector<std::string> lines;
    int status = 0;
    bool runaway = false;  // stopped while libmdb complained without end
};

// A damaged file makes libmdb print a line or a few; this much means it is stuck in a loop.
constexpr off_t kRunawayComplaints = 1024 * 1024;

ChildResult readInChild(const std::string& accessFile, const std::string& building, const ImportOptions& options,
                        ImportReport& report)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw ImportError("Cannot start reading " + quoted(accessFile) + ": " + std::strerror(errno) + ".");
    // Where the child's libmdb prints its complaints; removed by the system when both have closed it.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> complaintsFile(std::tmpfile(), std::fclose);
    std::fflush(nullptr);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw ImportError("Cannot start reading " + quoted(accessFile) + ": " + std::strerror(errno) + ".");
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        for (const int signal : kStopSignals)
            ::signal(signal, SIG_DFL);
#ifdef __linux__
        // A parent killed outright takes its reader with it, which would otherwise write on into the file
        // (and hold its lock) until its next report found nobody listening.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(1);
#endif
        int code = 0;
        try {
            ReaderComplaints complaints(complaintsFile.release());
            runChild(accessFile, building, options.schemaSql, pipeFds[1], complaints);
            writeAll(pipeFds[1], line('D', ""));
        } catch (const std::exception& failure) {
            writeAll(pipeFds[1], line('E', failure.what()));
            code = 1;
        }
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    g_readerChild = child;

    ChildResult result;
    std::string pending;
    char buffer[4096];
    for (;;) {
        // Waits for the child's next line, looking once a second whether libmdb has gone on complaining
        // without end; such a child is stopped, and its file reported as damaged.
        pollfd wait{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, 1000);
        if (complaintsFile && !result.runaway) {
            struct stat status {};
            if (::fstat(::fileno(complaintsFile.get()), &status) == 0 && status.st_size > kRunawayComplaints) {
                ::kill(child, SIGKILL);
                result.runaway = true;
            }
        }
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string text = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (text.size() >= 2 && text[0] == 'T') {
                const std::size_t tab = text.rfind('\t');
                ImportedTable table{text.substr(2, tab - 2), std::strtoull(text.c_str() + tab + 1, nullptr, 10)};
                if (options.progress)
                    options.progress(table.name, table.rows);
                report.tables.push_back(table);
            } else if (text.size() >= 2 && text[0] == 'N') {
                report.notes.push_back(text.substr(2));
            }
            result.lines.push_back(std::move(text));
        }
    }
    ::close(pipeFds[0]);
    while (::waitpid(child, &result.status, 0) < 0 && errno == EINTR) {
    }
    g_readerChild = 0;
    return result;
}

} // namespace

std::string accessFileProblem(const std::string& accessFile)
{
    std::error_code error;
    const fs::file_status status = fs::status(accessFile, error);
    if (!fs::exists(status))
        return "the file does not exist";
    if (fs::is_directory(status))
        return "it is a folder, not an Access file";
    if (!fs::is_regular_file(status))
        return "it is not a plain file";
    const std::uintmax_t size = fs::file_size(accessFile, error);
    std::ifstream in(accessFile, std::ios::binary);
    if (error || !in)
        return "the file cannot be read; you may not have permission to read it";
    std::array<unsigned char, 32> header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    const auto has = [&](std::size_t at, std::string_view text) {
        return got >= at + text.size() && std::memcmp(header.data() + at, text.data(), text.size()) == 0;
    };
    if (size == 0)
        return "the file is empty";
    if (has(0, std::string_view("SQLite format 3\0", 16)))
        return "it is already a SQLite shop database; it needs no import";
    if (!has(0, std::string_view("\x00\x01\x00\x00", 4)) || !(has(4, "Standard Jet DB") || has(4, "Standard ACE DB")))
        return "it is not an Access database";
    // Jet 3 files are made of 2 KB pages, later versions of 4 KB pages; a file that is not a whole number of
    // pages, or too short for its table list, was cut off.
    const std::uintmax_t page = header[0x14] == 0 ? 2048 : 4096;
    if (size % page != 0 || size < 3 * page)
        return "the file is truncated";
    return {};
}

ImportReport importAccessDatabase(const std::string& accessFile, const std::string& folder,
                                  const ImportOptions& options)
{
    const std::string problem = accessFileProblem(accessFile);
    if (!problem.empty())
        throw ImportError("Cannot import " + quoted(accessFile) + ": " + problem + ".");

    const fs::path dir(folder);
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        throw ImportError("Cannot create the data folder " + quoted(folder) +
                          (error ? ": " + error.message() : std::string()) + ".");
    const fs::path target = dir / kShopDatabaseName;
    const std::string alreadyExists = "The shop database " + quoted(target.string()) +
                                      " already exists and is kept. Give --replace to overwrite it.";
    ImportReport report;
    for (const std::string& name : removeStoppedImports(target.string()))
        report.notes.push_back("removed " + name + ", left unfinished by an import that was stopped");
    if (fs::exists(target, error)) {
        if (fs::equivalent(target, fs::path(accessFile), error))
            throw ImportError("Cannot import " + quoted(accessFile) + " into " + quoted(folder) +
                              ": the shop database would replace the Access file itself. Import into another "
                              "folder, then move the new vmdata.mdb in place.");
        if (fs::is_directory(target, error))
            throw ImportError("Cannot write " + quoted(target.string()) + ": it is a folder.");
        if (!options.replace)
            throw ImportError(alreadyExists);
        refuseWhileInUse(target);
    }

    const auto cannotWrite = [&](const std::system_error& error) {
        return ImportError("Cannot write the shop database " + quoted(target.string()) + " (" +
                           error.code().message() + "). Nothing was written. Check that the data folder can be "
                           "written and its disk has room, then import again.");
    };
    std::optional<ImportBuilding> building;
    try {
        building.emplace(target.string());
    } catch (const std::system_error& error) {
        throw cannotWrite(error);
    }
    const RemovedWhenStopped removedWhenStopped(*building);
    ChildResult child = readInChild(accessFile, building->path(), options, report);

    std::string failure;
    std::string current;  // the table being read when the child stopped
    bool done = false;
    for (const std::string& text : child.lines) {
        if (text[0] == 'E')
            failure = text.substr(2);
        else if (text[0] == 'S')
            current = text.substr(2);
        else if (text[0] == 'T')
            current.clear();
        else if (text[0] == 'D')
            done = true;
    }
    if (!done || !WIFEXITED(child.status) || WEXITSTATUS(child.status) != 0) {
        if (failure.empty() || child.runaway)
            failure = current.empty() ? "its list of tables cannot be read: the file is damaged"
                                      : "table " + current + " cannot be read: the file is damaged";
        throw ImportError("Cannot import " + quoted(accessFile) + ": " + failure + ". Nothing was written.");
    }

    // Without --replace the new file is put in place only while the name is still free, so a shop database
    // written meanwhile by someone else is never overwritten.
    if (options.replace)
        refuseWhileInUse(target);
    try {
        if (!building->putInPlace(options.replace ? platform::ReplacementFile::Placing::Replace
                                                  : platform::ReplacementFile::Placing::OnlyIfFree))
            throw ImportError(alreadyExists);
    } catch (const std::system_error& error) {
        throw cannotWrite(error);
    }
    report.database = target.string();
    return report;
}

} // namespace access_import
