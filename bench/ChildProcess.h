#pragma once

#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

// One run of a program as a process of its own: whether it ended with exit code 0, and its peak memory.
struct ChildRun
{
    bool succeeded = false;
    long peakKilobytes = 0;
};

// Runs `words` (the program first) with the descriptor `silenced` (standard output or error) sent to
// /dev/null, and waits for its end.
inline ChildRun runChild(std::vector<std::string> words, int silenced)
{
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, silenced, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage {};
        wait4(child, &status, 0, &usage);
        run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.peakKilobytes = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace bench
