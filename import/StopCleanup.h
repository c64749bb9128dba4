#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/types.h>

namespace access_import {

// What stopping the program in the middle of an import must undo: the reading child to stop and the
// half-built files to remove, so that nothing is left behind in the data folder. The import fills it in as
// it goes and empties it when it ends; the program's own stop-signal handler calls run(). The paths are
// kept in fixed buffers, as a signal handler may only call unlink, kill and the like.
class StopCleanup
{
public:
    StopCleanup() = default;
    StopCleanup(const StopCleanup&) = delete;
    StopCleanup& operator=(const StopCleanup&) = delete;

    // The files to remove, in order (the lock file last). A path too long for its buffer is left to the
    // next import, which clears what a killed one left.
    void removeOnStop(const std::vector<std::string>& paths);
    void stopReaderOnStop(pid_t reader);
    // The import is over: a stop from now on has nothing to undo.
    void clear();

    // Kills the reader and removes the files. Safe in a signal handler.
    void run() const noexcept;

private:
    static constexpr std::size_t kMostPaths = 5;
    static constexpr std::size_t kPathRoom = 4096;
    std::array<std::array<char, kPathRoom>, kMostPaths> m_paths{};
    // How many of m_paths are whole: a path is counted only once it is copied, so a stop during the copy
    // never removes the beginning of a name (which could be the shop database's own).
    volatile sig_atomic_t m_pathCount = 0;
    volatile sig_atomic_t m_reader = 0;
};

} // namespace access_import
