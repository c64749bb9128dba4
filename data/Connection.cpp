#include "data/Connection.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>

#include <sqlite3.h>

#if defined(__unix__)
#include <unistd.h>
#endif

#include "data/StatementGuard.h"
#include "platform/Conversions.h"
#include "platform/ExclusiveFile.h"
#include "platform/Fault.h"
#include "platform/Format.h"

namespace data {

namespace {

namespace fs = std::filesystem;

// The old engine's numbers for the failures a shop can meet.
constexpr int CouldNotFindFile = 3024;
constexpr int NotAValidPath = 3044;
constexpr int CannotOpenDatabase = 3049;
constexpr int CannotOpenFile = 3051;
constexpr int UnrecognizedFormat = 3343;
constexpr int DatabaseAlreadyExists = 3204;
constexpr int ReadOnly = 3027;
constexpr int Locked = 3218;
constexpr int InputTableNotFound = 3078;
constexpr int TooFewParameters = 3061;
constexpr int TableExists = 3010;
constexpr int ObjectNotFound = 3011;
constexpr int IndexExists = 3375;
constexpr int SyntaxError = 3075;
constexpr int UndefinedFunction = 3085;
constexpr int DuplicateValues = 3022;
constexpr int FieldCannotBeNull = 3314;
constexpr int ValidationRule = 3317;
constexpr int DiskFull = 3183;
constexpr int DiskError = 3043;
constexpr int InvalidSqlStatement = 3129;
constexpr int CharactersAfterEnd = 3142;
constexpr int InvalidOperation = 3219;
constexpr int ReservedError = 3000;

// More statements than this and the cache starts again: SQL texts carry their order keys as literals,
// so a long session of many orders would otherwise keep statements of orders long done with.
constexpr std::size_t StatementCacheLimit = 512;

std::atomic<int> g_busyTimeout{5000};

std::mutex g_traceMutex;
std::function<void(const std::string&)> g_traceHook;
std::function<void(const std::string&, std::span<const platform::Value>)> g_boundTraceHook;

struct Registry
{
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<Connection>> connections;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

void trace(const std::string& sql, std::span<const platform::Value> parameters)
{
    std::function<void(const std::string&)> hook;
    std::function<void(const std::string&, std::span<const platform::Value>)> boundHook;
    {
        std::lock_guard lock(g_traceMutex);
        hook = g_traceHook;
        boundHook = g_boundTraceHook;
    }
    if (hook)
        hook(sql);
    if (boundHook)
        boundHook(sql, parameters);
}

// The journal mode the file is kept in ("wal", "delete" ...), read without changing it.
std::string journalModeOf(sqlite3* db)
{
    std::string mode;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        if (const unsigned char* text = sqlite3_column_text(statement, 0))
            mode = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(statement);
    return mode;
}

std::string quoted(const std::string& path)
{
    return "'" + path + "'";
}

std::string upperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string canonicalKey(const std::string& path)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? path : canonical.string();
}

// ---- The disk and folder under a file ---------------------------------------------------------------

// Whether this process may write the file or folder: a read-only mount, a protected file or a folder
// without write permission say no, for the superuser too.
bool canWrite(const std::string& path)
{
#if defined(__unix__)
    return ::access(path.c_str(), W_OK) == 0;
#else
    return true;
#endif
}

std::string folderOf(const std::string& path)
{
    std::error_code error;
    return fs::absolute(path, error).lexically_normal().parent_path().string();
}

bool meansNoRoom(int systemError)
{
    return systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
}

bool meansNoWriting(int systemError)
{
    return systemError == EROFS || systemError == EACCES || systemError == EPERM;
}

// The system's error number behind SQLite's last failure on a connection. A failed write of the log or
// journal leaves none for sqlite3_system_errno; SQLite keeps it with the file that failed.
int systemErrorOf(sqlite3* db)
{
    int error = sqlite3_system_errno(db);
    sqlite3_file* journal = nullptr;
    if (error == 0 && sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &journal) == SQLITE_OK &&
        journal && journal->pMethods)
        journal->pMethods->xFileControl(journal, SQLITE_FCNTL_LAST_ERRNO, &error);
    if (error == 0)
        sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &error);
    return error;
}

// A failure of the disk or folder that holds a database rather than of the statement: no room left, or a
// file or folder that cannot be written. SQLite reports these as a disk error or a file it cannot open;
// the system's own error number and the folder's state tell which. Nothing for any other failure.
std::optional<platform::Fault> storageFault(const std::string& path, int code, int systemError, bool writing,
                                            const std::string& detail)
{
    const int primary = code & 0xFF;
    const bool fileFailure = primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN;
    if (primary == SQLITE_FULL || (fileFailure && meansNoRoom(systemError)))
        return platform::Fault(DiskFull,
                               "There is no space left on the disk that holds " + quoted(path) + ". " +
                                   (writing ? "Nothing was changed; make room on the disk and try again."
                                            : "It cannot be read until there is room for the files kept beside "
                                              "it; make room on the disk and try again."),
                               detail);
    const std::string folder = folderOf(path);
    const bool folderReadOnly = !canWrite(folder);
    if (primary != SQLITE_READONLY && !(fileFailure && (meansNoWriting(systemError) || folderReadOnly)))
        return std::nullopt;
    if (folderReadOnly && writing)
        return platform::Fault(ReadOnly,
                               "The folder " + quoted(folder) + " cannot be written, so the database " +
                                   quoted(path) + " in it cannot be updated. Nothing was changed; ask for write "
                                   "access to the folder.",
                               detail);
    if (folderReadOnly)
        return platform::Fault(CannotOpenFile,
                               "The folder " + quoted(folder) + " cannot be written, so the database " +
                                   quoted(path) + " cannot be read: a database kept in write-ahead-log mode "
                                   "needs its index file (" + fs::path(path).filename().string() +
                                   "-shm) beside it, and it is not there. Ask for write access to the folder, "
                                   "or read the database while another program has it open.",
                               detail);
    if (!canWrite(path))
        return platform::Fault(ReadOnly,
                               "The database " + quoted(path) + " is a read-only file, so it cannot be updated. "
                               "Nothing was changed; ask for write access to the file.",
                               detail);
    if (primary == SQLITE_READONLY)
        return platform::Fault(ReadOnly, "Cannot update. Database or object is read-only: " + quoted(path) + ".",
                               detail);
    return std::nullopt;
}

// ---- Checks of a file before SQLite sees it -------------------------------------------------------

std::uint32_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

[[noreturn]] void damaged(const std::string& path, const std::string& why)
{
    throw platform::Fault(CannotOpenDatabase,
                          "Cannot open database " + quoted(path) +
                              ". It may not be a database that your application recognizes, or the file may be "
                              "corrupt (" + why + ").");
}

// Refuses, by its directory entry alone, what cannot be a shop database: nothing is opened here, so no
// lock of this process on the file can be dropped by it, and a pipe or device is never read.
void checkIsAFile(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        throw platform::Fault(CouldNotFindFile, "Could not find file " + quoted(path) + ".");
    if (fs::is_directory(status))
        throw platform::Fault(NotAValidPath, quoted(path) + " is a folder, not a database file.");
    if (!fs::is_regular_file(status))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". It is not a file.");
}

// Whether a log or journal with something in it lies beside the file: another program may then be playing
// it into the file, writing the first page (and its page count) before the file has grown to match.
bool companionInUse(const std::string& path)
{
    for (const char* companion : {"-wal", "-journal"}) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path + companion, error);
        if (!error && size > 0)
            return true;
    }
    return false;
}

// Refuses, with a message that says what is wrong, every file that is not a whole SQLite database:
// SQLite itself would take an empty file for a new database and report others only at the first query.
// The header is read through SQLite's own handle of the file: a second handle, once closed, would drop
// every lock this process holds on the file, and another program could then checkpoint and remove the
// write-ahead log under an open connection.
void checkHeader(sqlite3* db, const std::string& path)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".");
    const auto fileSize = [&] {
        sqlite3_int64 size = 0;
        if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
            throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".");
        return static_cast<std::uint64_t>(size);
    };
    // A pipe or device put in the file's place since it was looked at has no size either.
    const std::uint64_t size = fileSize();
    if (size == 0)
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". The file is empty.");

    std::array<unsigned char, 100> header{};
    const std::size_t got = static_cast<std::size_t>(std::min<std::uint64_t>(size, header.size()));
    const int rc = file->pMethods->xRead(file, header.data(), static_cast<int>(got), 0);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) +
                                                  ". You may not have permission to read it.");

    const auto headerHas = [&](std::size_t at, std::string_view text) {
        return got >= at + text.size() && std::memcmp(header.data() + at, text.data(), text.size()) == 0;
    };
    if (headerHas(4, "Standard Jet DB") || headerHas(4, "Standard ACE DB"))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) +
                                  ". It is an Access database; import it first with \"pricebook import-mdb\".");
    if (!headerHas(0, std::string_view("SQLite format 3\0", 16)))
        throw platform::Fault(UnrecognizedFormat,
                              "Unrecognized database format " + quoted(path) + ". The file is not a database.");
    if (got < header.size())
        damaged(path, "the file is truncated");

    std::uint32_t pageSize = bigEndian(header.data() + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        damaged(path, "its header is damaged");
    // The page count in the header counts only when the file's last writer kept it current, and only
    // while no log or journal is being played into the file (the size is read again after that check).
    const std::uint32_t changeCounter = bigEndian(header.data() + 24, 4);
    const std::uint32_t pageCount = bigEndian(header.data() + 28, 4);
    const std::uint32_t validFor = bigEndian(header.data() + 92, 4);
    if (companionInUse(path))
        return;
    const std::uint64_t settled = fileSize();
    if (settled % pageSize != 0)
        damaged(path, "the file is truncated");
    if (pageCount != 0 && changeCounter == validFor &&
        static_cast<std::uint64_t>(pageCount) * pageSize > settled)
        damaged(path, "the file is truncated");
}

// ---- The old engine's text functions ---------------------------------------------------------------

// Code points of a UTF-8 text; a byte that does not start a valid sequence stands for itself, moved past
// the Unicode range so it never equals a real character.
constexpr char32_t StrayByte = 0x110000;

std::vector<char32_t> decode(std::string_view text)
{
    std::vector<char32_t> points;
    points.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            length = 1;
            point = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            point = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            point = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            point = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                point = (point << 6) | (next & 0x3F);
        }
        if (!valid) {
            points.push_back(StrayByte + lead);
            ++i;
            continue;
        }
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

void encode(char32_t point, std::string& out)
{
    if (point >= StrayByte) {
        out += static_cast<char>(point - StrayByte);
    } else if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

char32_t toLower(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    return c;
}

char32_t toUpper(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 32;
    return c;
}

struct PatternElement
{
    enum class Kind { AnyRun, One, Digit, Char, List };
    explicit PatternElement(Kind k, char32_t character = 0) : kind(k), c(character) {}
    Kind kind;
    char32_t c = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool inRanges(char32_t x) const
    {
        for (const auto& [low, high] : ranges)
            if (x >= low && x <= high)
                return true;
        return false;
    }

    bool matches(char32_t x) const
    {
        switch (kind) {
        case Kind::One:
            return true;
        case Kind::Digit:
            return x >= U'0' && x <= U'9';
        case Kind::Char:
            return toLower(x) == toLower(c);
        case Kind::List: {
            const bool in = inRanges(x) || inRanges(toLower(x)) || inRanges(toUpper(x));
            return in != negated;
        }
        case Kind::AnyRun:
            break;
        }
        return false;
    }
};

std::vector<PatternElement> parsePattern(const std::vector<char32_t>& pattern)
{
    using Kind = PatternElement::Kind;
    std::vector<PatternElement> elements;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'*') {
            if (elements.empty() || elements.back().kind != Kind::AnyRun)
                elements.emplace_back(Kind::AnyRun);
        } else if (c == U'?') {
            elements.emplace_back(Kind::One);
        } else if (c == U'#') {
            elements.emplace_back(Kind::Digit);
        } else if (c == U'[') {
            std::size_t j = i + 1;
            PatternElement list(Kind::List);
            if (j < pattern.size() && pattern[j] == U'!') {
                list.negated = true;
                ++j;
            }
            std::size_t close = j;
            while (close < pattern.size() && pattern[close] != U']')
                ++close;
            if (close >= pattern.size()) {
                // No closing bracket: the bracket is a plain character.
                elements.emplace_back(Kind::Char, c);
                continue;
            }
            for (std::size_t k = j; k < close; ++k) {
                if (k + 2 < close && pattern[k + 1] == U'-') {
                    list.ranges.emplace_back(pattern[k], pattern[k + 2]);
                    k += 2;
                } else {
                    list.ranges.emplace_back(pattern[k], pattern[k]);
                }
            }
            i = close;
            if (list.ranges.empty() && !list.negated)
                continue; // "[]" stands for no character at all
            elements.push_back(std::move(list));
        } else {
            elements.emplace_back(Kind::Char, c);
        }
    }
    return elements;
}

void likeFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    // SQLite calls like(pattern, text) for "text LIKE pattern".
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const int patternBytes = sqlite3_value_bytes(arguments[0]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[1]));
    const int textBytes = sqlite3_value_bytes(arguments[1]);
    if (!pattern || !text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const bool match = matchesLikePattern(std::string_view(text, static_cast<std::size_t>(textBytes)),
                                          std::string_view(pattern, static_cast<std::size_t>(patternBytes)));
    sqlite3_result_int(context, match ? 1 : 0);
}

void ucaseFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (!text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const std::string upper =
        upperCaseText(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))));
    sqlite3_result_text(context, upper.data(), static_cast<int>(upper.size()), SQLITE_TRANSIENT);
}

} // namespace

void installFunctions(sqlite3* db)
{
    // A "quoted" name that is no column must be an error, never quietly read as a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "ucase", 1, flags, nullptr, ucaseFunction, nullptr, nullptr, nullptr);
}

namespace {

// ---- Values -----------------------------------------------------------------------------------------

std::string typeWord(const char* declared)
{
    if (!declared)
        return {};
    std::string word;
    for (const char* p = declared; *p && *p != '(' && !std::isspace(static_cast<unsigned char>(*p)); ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return word;
}

bool readNumber(std::string_view text, std::size_t& at, std::size_t digits, int& out)
{
    if (at + digits > text.size())
        return false;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    at += digits;
    out = value;
    return true;
}

// "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss]" (or with a T) as a day serial.
bool parseDateText(std::string_view text, double& serial)
{
    std::size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readNumber(text, at, 4, year) || at >= text.size() || text[at++] != '-' ||
        !readNumber(text, at, 2, month) || at >= text.size() || text[at++] != '-' || !readNumber(text, at, 2, day))
        return false;
    if (at < text.size()) {
        if (text[at] != ' ' && text[at] != 'T')
            return false;
        ++at;
        if (!readNumber(text, at, 2, hour) || at >= text.size() || text[at++] != ':' ||
            !readNumber(text, at, 2, minute))
            return false;
        if (at < text.size() && (text[at++] != ':' || !readNumber(text, at, 2, second)))
            return false;
        if (at != text.size())
            return false;
    }
    static constexpr int daysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > daysIn[month - 1] || hour > 23 || minute > 59 || second > 59)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return false;
    serial = platform::dateSerial(year, month, day, hour, minute, second);
    return true;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return upperAscii(a) == upperAscii(b);
}

} // namespace

void bindValue(sqlite3_stmt* statement, int index, const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        sqlite3_bind_null(statement, index);
        break;
    case Kind::Integer:
        sqlite3_bind_int64(statement, index, value.integer());
        break;
    case Kind::Double:
        sqlite3_bind_double(statement, index, value.real());
        break;
    case Kind::Text:
        sqlite3_bind_text(statement, index, value.text().data(), static_cast<int>(value.text().size()),
                          SQLITE_TRANSIENT);
        break;
    case Kind::Boolean:
        // Yes/no values as the old engine stored them.
        sqlite3_bind_int(statement, index, value.boolean() ? -1 : 0);
        break;
    case Kind::Date: {
        // Dates as the shop's file keeps them: "yyyy-mm-dd", with the time when it is not midnight.
        const double serial = value.dateSerial();
        const platform::CivilDateTime civil = platform::civilFromSerial(serial);
        char buffer[32];
        if (civil.hour == 0 && civil.minute == 0 && civil.second == 0)
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", civil.year, civil.month, civil.day);
        else
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", civil.year, civil.month,
                          civil.day, civil.hour, civil.minute, civil.second);
        sqlite3_bind_text(statement, index, buffer, -1, SQLITE_TRANSIENT);
        break;
    }
    }
}

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

// ---- Text functions ---------------------------------------------------------------------------------

bool matchesLikePattern(std::string_view text, std::string_view pattern)
{
    const std::vector<char32_t> characters = decode(text);
    const std::vector<PatternElement> elements = parsePattern(decode(pattern));
    using Kind = PatternElement::Kind;

    // Every element but * takes exactly one character, so going back to the latest * is enough.
    std::size_t t = 0, p = 0;
    std::size_t starAt = std::string::npos, starText = 0;
    while (t < characters.size()) {
        if (p < elements.size() && elements[p].kind == Kind::AnyRun) {
            starAt = p++;
            starText = t;
        } else if (p < elements.size() && elements[p].matches(characters[t])) {
            ++p;
            ++t;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < elements.size() && elements[p].kind == Kind::AnyRun)
        ++p;
    return p == elements.size();
}

std::string upperCaseText(std::string_view text)
{
    std::string upper;
    upper.reserve(text.size());
    for (const char32_t c : decode(text))
        encode(toUpper(c), upper);
    return upper;
}

// ---- Connection -------------------------------------------------------------------------------------

Connection::Connection(sqlite3* handle, std::string path, bool readOnly)
    : m_db(handle), m_path(std::move(path)), m_readOnly(readOnly)
{
}

Connection::~Connection()
{
    clearStatements();
    sqlite3_close_v2(m_db);
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    const auto found = shared.connections.find(m_key);
    if (found != shared.connections.end() && found->second.expired())
        shared.connections.erase(found);
}

std::shared_ptr<Connection> Connection::open(const std::string& path, Access access)
{
    const std::string key = canonicalKey(path) + (access == Access::ReadOnly ? "\n(read only)" : "");
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    // A file already open in this process is never opened, read or checked again: its one connection
    // serves every caller.
    if (const auto found = shared.connections.find(key); found != shared.connections.end())
        if (std::shared_ptr<Connection> existing = found->second.lock())
            return existing;

    checkIsAFile(path);
    // Read-write without create; SQLite falls back to read-only by itself when the file cannot be
    // written, and a folder that cannot be written shows at the first write. A file in write-ahead-log
    // mode is read in such a folder only while its log and index are there (SQLite reads them without
    // writing); it is never taken for unchangeable ("immutable"), as another program may be writing it.
    sqlite3* db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK && access == Access::ReadWrite) {
        sqlite3_close_v2(db);
        db = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(path) + ".", message);
    }
    try {
        checkHeader(db, path);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, g_busyTimeout.load());

    // Reading the list of tables reads the file's first pages: a damaged file shows here, before any
    // estimate relies on it, and nothing is written.
    sqlite3_stmt* check = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &check, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(check);
    sqlite3_finalize(check);
    if (rc != SQLITE_ROW) {
        const std::string message = sqlite3_errmsg(db);
        const int systemError = systemErrorOf(db);
        const int primary = rc & 0xFF;
        sqlite3_close_v2(db);
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw platform::Fault(
                Locked, "Could not read " + quoted(path) + "; currently locked by another program.", message);
        if (std::optional<platform::Fault> fault = storageFault(path, rc, systemError, false, message))
            throw *fault;
        throw platform::Fault(
            CannotOpenDatabase,
            "Cannot open database " + quoted(path) +
                ". It may not be a database that your application recognizes, or the file may be "
                "corrupt.",
            message);
    }
    installFunctions(db);

    // A file kept in write-ahead-log mode stays whole after a crash or power cut with the log synced
    // at checkpoints only, so each order-row write need not wait for the disk twice. The file's own
    // journal mode is left as the shop set it; a rollback-journal file keeps the full sync it needs.
    const bool writeAheadLog = journalModeOf(db) == "wal";
    if (writeAheadLog)
        sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);

    const bool readOnly = sqlite3_db_readonly(db, "main") != 0;
    std::shared_ptr<Connection> connection(new Connection(db, path, readOnly));
    connection->m_key = key;
    connection->m_writeAheadLog = writeAheadLog;
    shared.connections[key] = connection;
    return connection;
}

std::shared_ptr<Connection> Connection::create(const std::string& path)
{
    std::error_code error;
    const fs::path folder = fs::absolute(path, error).parent_path();
    if (!fs::is_directory(folder, error))
        throw platform::Fault(NotAValidPath, quoted(folder.string()) + " is not a valid path.");

    // The file is made here, only when the name is free and never through a link, so a file another
    // program or run made meanwhile is neither taken over nor, should anything below fail, removed. No
    // connection to it exists yet, so closing this first handle drops no lock.
    try {
        platform::createExclusive(path);
    } catch (const std::system_error& failure) {
        if (failure.code() == std::errc::file_exists || failure.code() == std::errc::too_many_symbolic_link_levels)
            throw platform::Fault(DatabaseAlreadyExists, "Database already exists: " + quoted(path) + ".");
        throw platform::Fault(CannotOpenFile, "Cannot create the database " + quoted(path) + ".",
                              failure.code().message());
    }

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    // Writing the header makes the file a whole database, so it can be opened again later.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        fs::remove(path, error);
        throw platform::Fault(CannotOpenFile, "Cannot create the database " + quoted(path) + ".", message);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, g_busyTimeout.load());
    installFunctions(db);

    std::shared_ptr<Connection> connection(new Connection(db, path, false));
    connection->m_key = canonicalKey(path);
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    shared.connections[connection->m_key] = connection;
    return connection;
}

void Connection::runOnce(const std::string& sql)
{
    trace(sql, {});
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), &statement, nullptr);
    if (rc == SQLITE_OK) {
        do
            rc = sqlite3_step(statement);
        while (rc == SQLITE_ROW);
    }
    const bool writing = statement && !sqlite3_stmt_readonly(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        fail(rc, sql, writing);
}

void Connection::begin()
{
    if (inTransaction())
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: a transaction is already open on '" + m_path + "'.");
    runOnce("BEGIN");
}

void Connection::commit()
{
    if (inTransaction())
        runOnce("COMMIT");
}

void Connection::rollback() noexcept
{
    if (!inTransaction())
        return;
    try {
        trace("ROLLBACK", {});
    } catch (...) {
        // A tracer that fails must not keep the transaction open.
    }
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Connection::inTransaction() const noexcept
{
    return sqlite3_get_autocommit(m_db) == 0;
}

namespace {

std::string quoteName(std::string_view name)
{
    std::string quoted = "\"";
    for (const char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string Connection::createWorkingCopy(const std::string& table)
{
    const platform::Value wanted = platform::Value::fromText(table);
    const QueryResult found = query("SELECT name FROM main.sqlite_schema WHERE type = 'table' AND name = ?1 "
                                    "COLLATE NOCASE",
                                    std::span<const platform::Value>(&wanted, 1));
    if (found.rows.empty())
        throw platform::Fault(InputTableNotFound,
                              "The database engine cannot find the input table or query '" + table +
                                  "'. Make sure it exists and that its name is "
                                  "spelled correctly.");
    const std::string name = found.rows.front().front().text();

    // Every column a query of the table can name, generated ones included, each with its declared type so
    // that yes/no and date columns read back as they do from the table itself.
    std::string columns;
    std::string names;
    for (const auto& row : query("PRAGMA main.table_xinfo(" + quoteName(name) + ")").rows) {
        constexpr std::size_t Name = 1, Type = 2, Hidden = 6;
        if (row.at(Hidden).number() == 1) // a virtual table's hidden column
            continue;
        const std::string column = quoteName(row.at(Name).text());
        const std::string type = row.at(Type).isNull() ? std::string() : row.at(Type).text();
        columns += (columns.empty() ? "" : ", ") + column + (type.empty() ? "" : " " + type);
        names += (names.empty() ? "" : ", ") + column;
    }
    runOnce("CREATE TEMP TABLE " + quoteName(name) + " (" + columns + ")");
    m_workingCopyColumns[name] = names;
    // SQLite prepares a kept statement again when the names it used change meaning; starting afresh makes
    // sure no statement of the table's name can still reach the file's table.
    clearStatements();
    return name;
}

void Connection::refillWorkingCopy(const std::string& name,
                                   std::int64_t rowid,
                                   const std::string& column,
                                   const platform::Value& value)
{
    const std::string& names = m_workingCopyColumns.at(name);
    run("DELETE FROM temp." + quoteName(name));
    const platform::Value parameters[] = {platform::Value::fromInteger(rowid), value};
    run("INSERT INTO temp." + quoteName(name) + " (rowid, " + names + ") SELECT rowid, " + names +
            " FROM main." + quoteName(name) + " WHERE rowid = ?1 OR " + quoteName(column) + " = ?2",
        parameters);
}

void Connection::dropWorkingCopy(const std::string& name) noexcept
{
    m_workingCopyColumns.erase(name);
    const std::string sql = "DROP TABLE IF EXISTS temp." + quoteName(name);
    try {
        trace(sql, {});
    } catch (...) {
        // A tracer that fails must not keep the copy in the table's place.
    }
    sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    clearStatements();
}

void Connection::clearStatements() noexcept
{
    for (auto& [text, statement] : m_statements)
        sqlite3_finalize(statement.handle);
    m_statements.clear();
}

Connection::Statement& Connection::prepare(const std::string& sql)
{
    if (const auto found = m_statements.find(sql); found != m_statements.end())
        return found->second;

    if (m_statements.size() >= StatementCacheLimit)
        clearStatements();

    Statement statement;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), SQLITE_PREPARE_PERSISTENT,
                                      &statement.handle, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement.handle);
        fail(rc, sql, false);
    }
    if (!statement.handle)
        throw platform::Fault(InvalidSqlStatement,
                              "Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.",
                              "SQL: " + sql);
    for (const char* p = tail; p && *p; ++p) {
        if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') {
            sqlite3_finalize(statement.handle);
            throw platform::Fault(CharactersAfterEnd, "Characters found after end of SQL statement.",
                                  "SQL: " + sql);
        }
    }

    const int columns = sqlite3_column_count(statement.handle);
    for (int i = 0; i < columns; ++i)
        statement.names.emplace_back(sqlite3_column_name(statement.handle, i));
    statement.kinds = columnKinds(statement.handle);
    return m_statements.emplace(sql, std::move(statement)).first->second;
}

std::vector<Connection::ColumnKind> Connection::columnKinds(sqlite3_stmt* statement)
{
    std::vector<ColumnKind> kinds;
    const int columns = sqlite3_column_count(statement);
    for (int i = 0; i < columns; ++i) {
        const std::string type = typeWord(sqlite3_column_decltype(statement, i));
        if (type == "YESNO" || type == "BOOLEAN" || type == "BIT" || type == "LOGICAL")
            kinds.push_back(ColumnKind::Boolean);
        else if (type == "DATETIME" || type == "DATE" || type == "TIMESTAMP")
            kinds.push_back(ColumnKind::Date);
        else
            kinds.push_back(ColumnKind::Plain);
    }
    return kinds;
}

void Connection::bind(Statement& statement, std::span<const platform::Value> parameters, const std::string& sql)
{
    sqlite3_reset(statement.handle);
    sqlite3_clear_bindings(statement.handle);
    if (static_cast<int>(parameters.size()) != sqlite3_bind_parameter_count(statement.handle))
        throw platform::Fault(TooFewParameters,
                              "Too few parameters. Expected " +
                                  std::to_string(sqlite3_bind_parameter_count(statement.handle)) + ".",
                              "SQL: " + sql);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        bindValue(statement.handle, static_cast<int>(i + 1), parameters[i]);
}

namespace {

// Resets a statement however its use ends, so the cached statement holds no lock and no bound text.
struct ResetOnExit
{
    sqlite3_stmt* statement;
    ~ResetOnExit()
    {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

platform::Value readColumn(sqlite3_stmt* statement, int i, int kind)
{
    constexpr int boolean = 1, date = 2; // ColumnKind::Boolean, ColumnKind::Date
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        return platform::Value::null();
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(statement, i);
        if (kind == boolean)
            return platform::Value::fromBoolean(v != 0);
        if (kind == date)
            return platform::Value::fromDate(static_cast<double>(v));
        return platform::Value::fromInteger(v);
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(statement, i);
        if (kind == boolean)
            return platform::Value::fromBoolean(v != 0.0);
        if (kind == date)
            return platform::Value::fromDate(v);
        return platform::Value::fromDouble(v);
    }
    default: {
        // TEXT, and BLOB as the text of its bytes.
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
        const int size = sqlite3_column_bytes(statement, i);
        std::string text = bytes ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
        if (kind == boolean) {
            if (equalsIgnoreCase(text, "TRUE") || equalsIgnoreCase(text, "YES"))
                return platform::Value::fromBoolean(true);
            if (equalsIgnoreCase(text, "FALSE") || equalsIgnoreCase(text, "NO"))
                return platform::Value::fromBoolean(false);
            if (platform::isNumeric(text))
                return platform::Value::fromBoolean(platform::val(text) != 0.0);
        } else if (kind == date) {
            double serial = 0;
            if (parseDateText(text, serial))
                return platform::Value::fromDate(serial);
        }
        return platform::Value::fromText(std::move(text));
    }
    }
}

} // namespace

QueryResult Connection::query(const std::string& sql, std::span<const platform::Value> parameters)
{
    trace(sql, parameters);
    Statement& statement = prepare(sql);
    if (!sqlite3_stmt_readonly(statement.handle))
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: only a query that reads rows can open a recordset.",
                              "SQL: " + sql);
    bind(statement, parameters, sql);
    ResetOnExit reset{statement.handle};

    QueryResult result;
    result.names = statement.names;
    const int columns = static_cast<int>(statement.names.size());
    for (;;) {
        const int rc = sqlite3_step(statement.handle);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(rc, sql, false);
        std::vector<platform::Value> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(readColumn(statement.handle, i, static_cast<int>(statement.kinds[i])));
        result.rows.push_back(std::move(row));
    }
    return result;
}

int Connection::run(const std::string& sql, std::span<const platform::Value> parameters)
{
    trace(sql, parameters);
    Statement& statement = prepare(sql);
    bind(statement, parameters, sql);
    ResetOnExit reset{statement.handle};
    for (;;) {
        const int rc = sqlite3_step(statement.handle);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(rc, sql, !sqlite3_stmt_readonly(statement.handle));
    }
    return sqlite3_changes(m_db);
}

TypedOutcome Connection::runTyped(const std::string& sql, const TypedStatementLimits& limits, const TypedRows& rows)
{
    // The guard keeps temporary rows in memory, which would drop a working copy.
    if (!m_workingCopyColumns.empty())
        throw platform::Fault(InvalidOperation,
                              "Invalid operation: a typed statement cannot run while a working copy of '" + m_path +
                                  "' is open.");
    trace(sql, {});
    const std::string detail = "SQL: " + sql;
    TypedOutcome outcome;
    StatementGuard guard(m_db, limits, g_busyTimeout.load());
    sqlite3_stmt* handle = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), &handle, &tail);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(handle, sqlite3_finalize);
    if (!guard.refusal().empty())
        throw platform::Fault(RefusedStatement, guard.refusal(), detail);
    if ((rc & 0xFF) == SQLITE_NOMEM) {
        outcome.stopped = TypedStop::MemoryLimit;
        return outcome;
    }
    if (rc != SQLITE_OK)
        fail(rc, sql, false);
    if (!handle)
        throw platform::Fault(InvalidSqlStatement,
                              "Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.", detail);
    for (const char* p = tail; p && *p; ++p)
        if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';')
            throw platform::Fault(CharactersAfterEnd, "Characters found after end of SQL statement.", detail);
    // SQLite counts every PRAGMA that could set something as writing; the guard's list knows better.
    const bool writes = !sqlite3_stmt_readonly(handle) && !guard.isReadingPragma();
    outcome.writes = writes;
    if (writes && !limits.mayWrite)
        throw platform::Fault(RefusedStatement,
                              "This statement would change the database, which the console opened only for "
                              "reading. Nothing was run; add --write to change the database.",
                              detail);
    guard.compiled();

    const int columns = sqlite3_column_count(handle);
    const std::vector<ColumnKind> kinds = columnKinds(handle);
    outcome.returnsRows = columns > 0;
    if (outcome.returnsRows && rows.names) {
        std::vector<std::string> names;
        for (int i = 0; i < columns; ++i)
            names.emplace_back(sqlite3_column_name(handle, i));
        rows.names(names);
    }
    for (;;) {
        rc = sqlite3_step(handle);
        if (rc == SQLITE_ROW) {
            if (outcome.rows >= limits.rows) {
                outcome.stopped = TypedStop::RowLimit;
                return outcome;
            }
            std::vector<platform::Value> row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int i = 0; i < columns; ++i)
                row.push_back(readColumn(handle, i, static_cast<int>(kinds[static_cast<std::size_t>(i)])));
            if (rows.row)
                rows.row(row);
            ++outcome.rows;
            continue;
        }
        if (rc == SQLITE_DONE)
            break;
        if (!guard.refusal().empty())
            throw platform::Fault(RefusedStatement, guard.refusal(), sqlite3_errmsg(m_db) + ("\n" + detail));
        if (guard.stop() != TypedStop::None || (rc & 0xFF) == SQLITE_INTERRUPT) {
            outcome.stopped = guard.stop() == TypedStop::None ? TypedStop::Cancelled : guard.stop();
            return outcome;
        }
        if ((rc & 0xFF) == SQLITE_NOMEM) {
            outcome.stopped = TypedStop::MemoryLimit;
            return outcome;
        }
        fail(rc, sql, writes);
    }
    if (writes || !outcome.returnsRows)
        outcome.changed = guard.changed(sqlite3_changes64(m_db));
    return outcome;
}

const std::unordered_map<std::string, std::string>& Connection::declaredTypes(const std::string& table)
{
    const std::string key = upperAscii(table);
    if (const auto found = m_tableTypes.find(key); found != m_tableTypes.end())
        return found->second;
    std::string sql = "PRAGMA table_info(\"";
    for (const char c : table) {
        if (c == '"')
            sql += '"';
        sql += c;
    }
    sql += "\")";
    std::unordered_map<std::string, std::string> types;
    for (const auto& row : query(sql).rows)
        types[upperAscii(row.at(1).text())] = row.at(2).isNull() ? std::string() : typeWord(row.at(2).text().c_str());
    return m_tableTypes.emplace(key, std::move(types)).first->second;
}

void Connection::fail(int code, const std::string& sql, bool writing) const
{
    const std::string message = sqlite3_errmsg(m_db);
    // SQLite's words and the SQL text stay behind the message, for a details view or --verbose.
    const std::string detail = message + "\nSQL: " + sql;
    if (std::optional<platform::Fault> fault = storageFault(m_path, code, systemErrorOf(m_db), writing, detail))
        throw *fault;
    std::string name;
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        if (writing)
            throw platform::Fault(Locked, "Could not update; currently locked.", detail);
        throw platform::Fault(Locked, "Could not read; currently locked by another program.", detail);
    case SQLITE_CANTOPEN:
        if (writing)
            throw platform::Fault(
                ReadOnly, "Cannot update. The database " + quoted(m_path) + " or its folder is read-only.",
                detail);
        throw platform::Fault(CannotOpenFile, "Cannot open the file " + quoted(m_path) + ".", detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw platform::Fault(
            CannotOpenDatabase,
            "Cannot open database " + quoted(m_path) +
                ". It may not be a database that your application recognizes, or the file may "
                "be corrupt.",
            detail);
    case SQLITE_IOERR:
        throw platform::Fault(DiskError, "Disk or network error.", detail);
    case SQLITE_CONSTRAINT: {
        const int extended = code;
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw platform::Fault(
                DuplicateValues,
                "The changes you requested to the table were not successful because they would "
                "create duplicate values in the index or primary key.",
                detail);
        if (extended == SQLITE_CONSTRAINT_NOTNULL)
            throw platform::Fault(FieldCannotBeNull, "The field cannot contain a Null value.", detail);
        throw platform::Fault(ValidationRule, "One or more values are prohibited by a rule of the table.",
                              detail);
    }
    case SQLITE_ERROR:
        if (messageNames(message, "no such table: ", name))
            throw platform::Fault(InputTableNotFound,
                                  "The database engine cannot find the input table or query '" + name +
                                      "'. Make sure it exists and that its name is "
                                      "spelled correctly.",
                                  detail);
        if (messageNames(message, "no such column: ", name))
            throw platform::Fault(TooFewParameters, "Too few parameters: there is no column '" + name + "'.",
                                  detail);
        if (messageNames(message, "no such function: ", name))
            throw platform::Fault(UndefinedFunction, "Undefined function '" + name + "' in expression.",
                                  detail);
        if (messageNames(message, "no such index: ", name))
            throw platform::Fault(ObjectNotFound,
                                  "The database engine could not find the object '" + name + "'.", detail);
        if (message.rfind("table ", 0) == 0 && message.find(" already exists") != std::string::npos)
            throw platform::Fault(TableExists,
                                  "Table '" + message.substr(6, message.find(" already exists") - 6) +
                                      "' already exists.",
                                  detail);
        if (message.rfind("index ", 0) == 0 && message.find(" already exists") != std::string::npos)
            throw platform::Fault(IndexExists,
                                  "The index '" + message.substr(6, message.find(" already exists") - 6) +
                                      "' already exists.",
                                  detail);
        throw platform::Fault(SyntaxError, "Syntax error in a query of the database " + quoted(m_path) + ".",
                              detail);
    default:
        throw platform::Fault(ReservedError, "Database error in " + quoted(m_path) + ".", detail);
    }
}

platform::Fault Connection::readOnlyFault() const
{
    return *storageFault(m_path, SQLITE_READONLY, 0, true, {});
}

void Connection::applyBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

void Connection::setTraceHook(std::function<void(const std::string& sql)> hook)
{
    std::lock_guard lock(g_traceMutex);
    g_traceHook = std::move(hook);
}

void Connection::setBoundTraceHook(
    std::function<void(const std::string& sql, std::span<const platform::Value> parameters)> hook)
{
    std::lock_guard lock(g_traceMutex);
    g_boundTraceHook = std::move(hook);
}

void Connection::setBusyTimeout(int milliseconds)
{
    g_busyTimeout = milliseconds < 0 ? 0 : milliseconds;
    // The connections are collected first: the last handle of one may go while the list is walked,
    // and its closing takes the registry's lock.
    std::vector<std::shared_ptr<Connection>> open;
    {
        Registry& shared = registry();
        std::lock_guard lock(shared.mutex);
        for (auto& [key, weak] : shared.connections)
            if (std::shared_ptr<Connection> connection = weak.lock())
                open.push_back(std::move(connection));
    }
    for (const auto& connection : open)
        connection->applyBusyTimeout(g_busyTimeout.load());
}

} // namespace data
