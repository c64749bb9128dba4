#include "data/StorageFaults.h"

#include <cerrno>
#include <filesystem>

#include <sqlite3.h>

#if defined(__unix__)
#include <unistd.h>
#endif

#include "data/JetErrors.h"

namespace data {

namespace {

namespace fs = std::filesystem;

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

} // namespace

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

} // namespace data
