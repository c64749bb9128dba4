#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TestDatabase.h"

namespace reliability {

struct ProgramOutput
{
    int exitCode = -1; // 128 + n when a signal ended it
    std::string out;
    std::string err;
};

// How long a program of a test may run before it is ended, so a hang fails the test instead of stopping
// the suite.
constexpr auto Watchdog = std::chrono::seconds(120);

// A program running beside the test: a shell command line started in the background, its standard input a
// pipe the object holds and its output in files of the work folder. The shop's other program keeping the
// shop database open is one (the sqlite3 program, reading its statements from the pipe); a console run
// that the test stops with Ctrl-C is another.
class BackgroundProgram
{
public:
    BackgroundProgram(const std::string& commandLine, const std::string& workFolder, const std::string& name)
        : m_outFile(workFolder + "/" + name + ".out"), m_errFile(workFolder + "/" + name + ".err")
    {
        int input[2];
        if (::pipe(input) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(input[0], STDIN_FILENO);
            ::dup2(::open(m_outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
            ::dup2(::open(m_errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
            ::close(input[1]);
            const std::string exec = "exec " + commandLine;
            ::execl("/bin/sh", "sh", "-c", exec.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(input[0]);
        m_input = input[1];
    }
    ~BackgroundProgram() { finish(); }
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    void send(const std::string& text) { [[maybe_unused]] auto written = ::write(m_input, text.data(), text.size()); }
    void signal(int number) { ::kill(m_pid, number); }

    // Waits until the program has printed `text`; false when it ended or the watchdog ran out first.
    bool waitForOutput(const std::string& text)
    {
        const auto end = std::chrono::steady_clock::now() + Watchdog;
        while (std::chrono::steady_clock::now() < end) {
            if (readOr(m_outFile).find(text) != std::string::npos)
                return true;
            if (::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
                m_pid = -1;
                return readOr(m_outFile).find(text) != std::string::npos;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Closes the program's input and waits for its end (ending it at the watchdog); then what it printed.
    ProgramOutput finish()
    {
        if (m_input >= 0)
            ::close(m_input);
        m_input = -1;
        const auto end = std::chrono::steady_clock::now() + Watchdog;
        while (m_pid > 0 && ::waitpid(m_pid, &m_status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= end) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &m_status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
        ProgramOutput result;
        result.exitCode = WIFEXITED(m_status) ? WEXITSTATUS(m_status) : 128 + WTERMSIG(m_status);
        result.out = readOr(m_outFile);
        result.err = readOr(m_errFile);
        return result;
    }

private:
    static std::string readOr(const std::string& file)
    {
        try {
            return testsupport::readFile(file);
        } catch (const std::exception&) {
            return {};
        }
    }

    std::string m_outFile;
    std::string m_errFile;
    pid_t m_pid = -1;
    int m_input = -1;
    int m_status = 0;
};

} // namespace reliability
