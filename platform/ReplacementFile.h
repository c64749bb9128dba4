#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ExclusiveFile.h"

namespace platform {

// New contents for the file `target`, built in a file of its own beside it and put in its place only when
// whole, so a full disk, a failing write or a stop in the middle never leaves half a file under the target's
// name. The new file is made by createExclusive (never through a symbolic link, never another run's file).
// Unless it was put in place, the object removes it, and the files named by `companions` endings that may
// have come to stand beside it (a database's "-journal", "-wal", "-shm").
//
// Only an ordinary file, a symbolic link (which is replaced, never followed) or nothing may stand at the
// target's name: a folder, a pipe, a device or a socket there is a platform::Fault naming it (fault 75), and
// it is left exactly as it was. The new file stays claimed (an flock() of its own) until it is put in place
// or removed; a file of that pattern beside the target that nobody claims was left by a run that was
// killed, and the next ReplacementFile of the same target and tag removes it.
class ReplacementFile
{
public:
    enum class Placing
    {
        Replace,    // over whatever has the target's name
        OnlyIfFree, // not over a file that has the target's name (one written meanwhile by someone else)
    };

    // Creates `target` + `tag` + six random letters and digits, after removing what killed runs left of the
    // same pattern. Throws std::system_error, or a platform::Fault for what is no file at the target.
    ReplacementFile(std::string target, std::string_view tag, std::vector<std::string> companions = {});
    // Takes over `path`, a file just made by createExclusive and claimed by the caller.
    ReplacementFile(std::string target, std::string path, FileDescriptor created,
                    std::vector<std::string> companions = {});
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    const std::string& path() const noexcept { return m_path; }
    int descriptor() const noexcept { return m_fd.get(); } // -1 once closed

    // Writes all of `bytes` at the current end. Throws std::system_error.
    void write(std::string_view bytes);
    // For a file that another library goes on to write by its name (and syncs itself), when the caller
    // claims it by other means.
    void close() noexcept { m_fd.reset(); }

    // Syncs the file to the disk while it is open, closes it and renames it to the target's name: a symbolic
    // link of that name is replaced, never followed. Returns false when `OnlyIfFree` finds the name taken (the
    // new file is then removed). Throws std::system_error, or a platform::Fault when something other than a
    // file has come to stand at the target's name.
    bool putInPlace(Placing placing);

private:
    void discard() noexcept;

    std::string m_target;
    std::string m_path;
    FileDescriptor m_fd;
    std::vector<std::string> m_companions;
    bool m_placed = false;
};

// Removes the files `target` + `tag` + six letters and digits (with their `companions`) that no running
// program claims: what runs that were killed left beside the target. Returns the names removed.
std::vector<std::string> removeLeftovers(const std::string& target, std::string_view tag,
                                         const std::vector<std::string>& companions = {});

// What a writer hands on, a piece at a time, to `write`.
using FilePieces = std::function<void(const std::function<void(std::string_view)>& write)>;

// Writes what `pieces` hands on into the file `target`, whole or not at all, through a ReplacementFile
// (tagged ".new-") that replaces what stands there. `what` names the file for the shop ("The price matrix"): a
// failure is a platform::Fault saying it could not be written to `target` and what to do, with the system's
// words behind it; what is no file at the target is refused as ReplacementFile refuses it.
void writeWholeFile(const std::string& target, const std::string& what, const FilePieces& pieces);

// The endings of the files SQLite keeps beside a database while it writes it.
inline const std::vector<std::string>& sqliteCompanions()
{
    static const std::vector<std::string> endings = {"-journal", "-wal", "-shm"};
    return endings;
}

} // namespace platform
