#include "import/AccessImport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include "import/AccessFileCheck.h"
#include "import/ImportBuilding.h"
#include "import/TableCopy.h"
#include "platform/ReplacementFile.h"

namespace access_import {

namespace {

namespace fs = std::filesystem;

constexpr const char* kShopDatabaseName = "vmdata.mdb";

std::string quoted(const std::string& path) { return "'" + path + "'"; }

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
            copyAccessTables(accessFile, building, options.schemaSql, pipeFds[1], complaints);
            writeAll(pipeFds[1], reportLine('D', ""));
        } catch (const std::exception& failure) {
            writeAll(pipeFds[1], reportLine('E', failure.what()));
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
