#include "import/TableCopy.h"

#include <cerrno>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mdbtools.h>
#include <sqlite3.h>

#include "data/Dialect.h"
#include "data/JetErrors.h"
#include "import/AccessValues.h"
#include "platform/Conversions.h"
#include "platform/FileKind.h"

namespace access_import {

namespace {

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
            throw childFailure("could not write the shop database: " + message);
        }
    }
};

struct Statement
{
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
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
        sqlite3_prepare_v2(out.db, ("PRAGMA table_info(" + data::sqlIdentifier(table.name) + ")").c_str(), -1,
                           &info.handle, nullptr);
        while (info.handle && sqlite3_step(info.handle) == SQLITE_ROW)
            table.columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.handle, 1)));
        tables.emplace(platform::upperCase(table.name), std::move(table));
    }
    return tables;
}

// Copies one Access table into the shop database; returns its row count.
std::size_t copyTable(MdbHandle* mdb, MdbCatalogEntry* entry, const Sqlite& out,
                      std::map<std::string, SchemaTable>& schema, int reportFd, ReaderComplaints& complaints)
{
    const std::string accessName = entry->object_name;
    MdbTableDef* table = mdb_read_table(entry);
    if (!table)
        throw childFailure("table " + accessName + " cannot be read");
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> tableOwner(table, mdb_free_tabledef);
    if (!mdb_read_columns(table))
        throw childFailure("the columns of table " + accessName + " cannot be read");
    mdb_rewind_table(table);

    std::vector<BoundColumn> columns;
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (declaredType(*column).empty()) {
            writeAll(reportFd, reportLine('N', "skipped column " + std::string(column->name) + " of table " + accessName +
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
    const auto known = schema.find(platform::upperCase(accessName));
    if (known != schema.end()) {
        SchemaTable& ours = known->second;
        target = ours.name;
        std::set<std::string> present;
        for (const std::string& name : ours.columns)
            present.insert(platform::upperCase(name));
        std::set<std::string> fromAccess;
        for (const BoundColumn& bound : columns) {
            fromAccess.insert(platform::upperCase(bound.name));
            if (!present.count(platform::upperCase(bound.name))) {
                out.exec("ALTER TABLE " + data::sqlIdentifier(target) + " ADD COLUMN " + data::sqlIdentifier(bound.name) + " " +
                         declaredType(*bound.column));
                ours.columns.push_back(bound.name);
                present.insert(platform::upperCase(bound.name));
                writeAll(reportFd, reportLine('N', "kept column " + bound.name + " of table " + accessName +
                                                 ", which the shop database does not use"));
            }
        }
        for (const std::string& name : ours.columns)
            if (!fromAccess.count(platform::upperCase(name)))
                writeAll(reportFd, reportLine('N', "added column " + name + " to table " + target +
                                                 " empty: the Access table has none"));
    } else {
        target = accessName;
        std::string create = "CREATE TABLE " + data::sqlIdentifier(target) + " (";
        for (std::size_t i = 0; i < columns.size(); ++i)
            create += (i ? ", " : "") + data::sqlIdentifier(columns[i].name) + " " + declaredType(*columns[i].column);
        if (columns.empty())
            throw childFailure("table " + accessName + " has no column that can be read");
        out.exec(create + ")");
        schema.emplace(platform::upperCase(target), SchemaTable{target, {}});
    }
    if (columns.empty()) {
        writeAll(reportFd, reportLine('N', "skipped table " + accessName + ": it has no column that can be read"));
        return 0;
    }

    std::string insertSql = "INSERT INTO " + data::sqlIdentifier(target) + " (";
    std::string values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        insertSql += (i ? ", " : "") + data::sqlIdentifier(columns[i].name);
        values += i ? ", ?" : "?";
    }
    insertSql += ") VALUES (" + values + ")";
    Statement insert;
    if (sqlite3_prepare_v2(out.db, insertSql.c_str(), -1, &insert.handle, nullptr) != SQLITE_OK)
        throw childFailure("could not write table " + target + ": " + sqlite3_errmsg(out.db));

    std::size_t rows = 0;
    while (mdb_fetch_row(table)) {
        // On some damaged files libmdb keeps handing out rows of nothing, complaining about each: stop at the
        // first complaint, and at a row beyond the table's own count, instead of reading forever.
        complaints.check("table " + accessName);
        if (rows == table->num_rows)
            throw childFailure("table " + accessName + " cannot be read whole: the file is damaged (more rows "
                               "were found than the table holds)");
        sqlite3_reset(insert.handle);
        for (std::size_t i = 0; i < columns.size(); ++i)
            bindValue(mdb, columns[i], insert.handle, static_cast<int>(i + 1), accessName);
        if (sqlite3_step(insert.handle) != SQLITE_DONE)
            throw childFailure("could not write table " + target + ": " + sqlite3_errmsg(out.db));
        ++rows;
    }
    // The table's own count says how many rows it holds: fewer read means a damaged or cut-off file.
    if (rows != table->num_rows)
        throw childFailure("table " + accessName + " cannot be read whole: " + std::to_string(rows) + " of its " +
                           std::to_string(table->num_rows) + " rows were found");
    return rows;
}

} // namespace

std::string reportLine(char kind, std::string_view text)
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

ReaderComplaints::ReaderComplaints(std::FILE* file) : m_file(file)
{
    const int fd = m_file ? ::fileno(m_file) : ::open("/dev/null", O_WRONLY);
    if (fd >= 0) {
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
    }
}

ReaderComplaints::~ReaderComplaints()
{
    if (m_file)
        std::fclose(m_file);
}

std::string ReaderComplaints::next()
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

void ReaderComplaints::check(const std::string& what)
{
    const std::string complaint = next();
    if (!complaint.empty())
        throw childFailure(what + " cannot be read whole: the file is damaged or cut off (" + complaint + ")");
}

void copyAccessTables(const std::string& accessFile, const std::string& output, std::string_view schemaSql,
                      int reportFd, ReaderComplaints& complaints)
{
    MdbHandle* mdb = mdb_open(accessFile.c_str(), MDB_NOFLAGS);
    if (!mdb)
        throw childFailure("the file cannot be opened as an Access database");
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdbOwner(mdb, mdb_close);
    mdb_set_bind_size(mdb, kBindSize);
    mdb_set_boolean_fmt_numbers(mdb);
    // Every Access file lists at least its own system tables: an empty list was cut off or damaged.
    if (!mdb_read_catalog(mdb, MDB_TABLE) || mdb->num_catalog == 0)
        throw childFailure("its list of tables cannot be read: the file is damaged, encrypted or protected by a "
                           "password");
    complaints.check("its list of tables");

    Sqlite out;
    // The building file itself is never followed through a link; the folders on its way may be links, which
    // SQLite would refuse when told not to follow.
    if (sqlite3_open_v2(platform::inRealFolder(output).c_str(), &out.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                        nullptr) != SQLITE_OK)
        throw childFailure("could not write the shop database " + data::quoted(output));
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
        if (platform::upperCase(name).rfind("SQLITE_", 0) == 0) {
            writeAll(reportFd, reportLine('N', "skipped table " + name + ": the name is reserved by the shop database"));
            continue;
        }
        writeAll(reportFd, reportLine('S', name));
        const std::size_t rows = copyTable(mdb, entry, out, schema, reportFd, complaints);
        complaints.check("table " + name);
        untouched.erase(platform::upperCase(name));
        writeAll(reportFd, reportLine('T', name + "\t" + std::to_string(rows)));
    }
    for (const std::string& key : untouched)
        writeAll(reportFd, reportLine('N', "added table " + schema.at(key).name + " empty: the Access file has none"));
    out.exec("COMMIT");
    // Write-ahead-log mode, as the demo shop is kept: each priced quantity's order-row write is then a log
    // append instead of a synced journal. The log is emptied and removed when the file is closed.
    out.exec("PRAGMA journal_mode = WAL");
    if (sqlite3_close(out.db) != SQLITE_OK)
        throw childFailure("could not finish the shop database " + data::quoted(output));
    out.db = nullptr;
}

} // namespace access_import
