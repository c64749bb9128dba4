#include "import/AccessImport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

#include "data/JetErrors.h"
#include "import/AccessFileCheck.h"
#include "import/ImportBuilding.h"
#include "import/TableCopy.h"
#include "platform/Fault.h"
#include "platform/Outcome.h"
#include "platform/ReplacementFile.h"

namespace access_import {

namespace {

namespace fs = std::filesystem;

constexpr const char* kShopDatabaseName = "vmdata.mdb";

// The signals that stop the program, which the reading child takes as they come, without the handlers the
// program may have for them.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Fills in the program's stop cleanup (when it keeps one) with the building file, its companions and its
// lock file (removed last, see ImportBuilding) for as long as the import runs.
class RemovedWhenStopped
{
public:
    RemovedWhenStopped(const ImportBuilding& building, StopCleanup* cleanup) : m_cleanup(cleanup)
    {
        if (!m_cleanup)
            return;
        std::vector<std::string> paths = {building.path()};
        for (const std::string& ending : platform::sqliteCompanions())
            paths.push_back(building.path() + ending);
        paths.push_back(building.lockPath());
        m_cleanup->removeOnStop(paths);
    }
    ~RemovedWhenStopped()
    {
        if (m_cleanup)
            m_cleanup->clear();
    }
    RemovedWhenStopped(const RemovedWhenStopped&) = delete;
    RemovedWhenStopped& operator=(const RemovedWhenStopped&) = delete;

private:
    StopCleanup* m_cleanup;
};

// A shop database with its write-ahead log or rollback journal beside it is open in another program, or was
// left so by a crash: the log belongs to the old file, and would be played into a new file put in its place.
void refuseWhileInUse(const fs::path& target)
{
    std::error_code error;
    for (const char* companion : {"-wal", "-journal"})
        if (fs::exists(target.string() + companion, error))
            throw platform::Fault(data::Locked,
                                  "The shop database " + data::quoted(target.string()) + " is in use (its " +
                                      target.filename().string() + companion +
                                      " file is beside it) and is kept. Close the program using it, or open it "
                                      "once so it is put right, then import again.");
}

// The system could not give the reading child a pipe or a process, for the reason `error` (an errno).
platform::Fault cannotStartReading(const std::string& accessFile, int error)
{
    return platform::Fault(data::CannotOpenFile,
                           "Cannot start reading " + data::quoted(accessFile) + ": " + std::strerror(error) + ".");
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
        throw cannotStartReading(accessFile, errno);
    // Where the child's libmdb prints its complaints; removed by the system when both have closed it.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> complaintsFile(std::tmpfile(), std::fclose);
    std::fflush(nullptr);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        const int forkError = errno; // before the closes below can change it
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw cannotStartReading(accessFile, forkError);
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        // A stop signal ends the reader at once (the program's handler is for the program), unless the
        // program was started ignoring it.
        for (const int signal : kStopSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
                ::signal(signal, SIG_DFL);
        }
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
    if (options.stopCleanup)
        options.stopCleanup->stopReaderOnStop(child);

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
    // Forgotten before it is reaped, so that a stop never kills another process given its number; a child
    // that has not ended yet goes with this process (see PR_SET_PDEATHSIG above).
    if (options.stopCleanup)
        options.stopCleanup->stopReaderOnStop(0);
    while (::waitpid(child, &result.status, 0) < 0 && errno == EINTR) {
    }
    return result;
}

} // namespace

ImportReport importAccessDatabase(const std::string& accessFile, const std::string& folder,
                                  const ImportOptions& options)
{
    if (const platform::Outcome problem = accessFileProblem(accessFile))
        throw platform::Fault(problem->number(),
                              "Cannot import " + data::quoted(accessFile) + ": " + problem->what() + ".");

    const fs::path dir(folder);
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        throw platform::Fault(data::NotAValidPath, "Cannot create the data folder " + data::quoted(folder) +
                                                       (error ? ": " + error.message() : std::string()) + ".");
    const fs::path target = dir / kShopDatabaseName;
    const platform::Fault alreadyExists(data::DatabaseAlreadyExists,
                                        "The shop database " + data::quoted(target.string()) +
                                            " already exists and is kept. Give --replace to overwrite it.");
    ImportReport report;
    for (const std::string& name : removeStoppedImports(target.string()))
        report.notes.push_back("removed " + name + ", left unfinished by an import that was stopped");
    if (fs::exists(target, error)) {
        if (fs::equivalent(target, fs::path(accessFile), error))
            throw platform::Fault(data::DatabaseAlreadyExists,
                                  "Cannot import " + data::quoted(accessFile) + " into " + data::quoted(folder) +
                                      ": the shop database would replace the Access file itself. Import into "
                                      "another folder, then move the new vmdata.mdb in place.");
        if (fs::is_directory(target, error))
            throw platform::Fault(data::CannotOpenFile,
                                  "Cannot write " + data::quoted(target.string()) + ": it is a folder.");
        if (!options.replace)
            throw alreadyExists;
        refuseWhileInUse(target);
    }

    const auto cannotWrite = [&](const std::system_error& error) {
        return platform::Fault(data::CannotOpenFile,
                               "Cannot write the shop database " + data::quoted(target.string()) + " (" +
                                   error.code().message() + "). Nothing was written. Check that the data folder "
                                   "can be written and its disk has room, then import again.",
                               error.what());
    };
    std::optional<ImportBuilding> building;
    try {
        building.emplace(target.string());
    } catch (const std::system_error& error) {
        throw cannotWrite(error);
    }
    const RemovedWhenStopped removedWhenStopped(*building, options.stopCleanup);
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
        throw platform::Fault(data::CannotOpenDatabase,
                              "Cannot import " + data::quoted(accessFile) + ": " + failure + ". Nothing was written.");
    }

    // Without --replace the new file is put in place only while the name is still free, so a shop database
    // written meanwhile by someone else is never overwritten.
    if (options.replace)
        refuseWhileInUse(target);
    try {
        if (!building->putInPlace(options.replace ? platform::ReplacementFile::Placing::Replace
                                                  : platform::ReplacementFile::Placing::OnlyIfFree))
            throw alreadyExists;
    } catch (const std::system_error& error) {
        throw cannotWrite(error);
    }
    report.database = target.string();
    return report;
}

} // namespace access_import
