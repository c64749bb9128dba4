// The files the program writes and the paths it is given, each set up for real: a device node and a FIFO
// at an output's name, a folder on the path that is a symbolic link, a terminal (a pseudo-terminal)
// receiving text from the shop's data, and demo-data and a book killed at random moments.
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::makeDemoFolder;
using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
namespace fs = std::filesystem;

constexpr int ExitFailure = 1;

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A device node (a copy of /dev/null, made only by root) or a FIFO at the name of each output: the command
// refuses it before pricing anything, names it, and leaves it exactly as it was, with nothing beside it.
TEST(FilesAndPaths, ADeviceOrAFifoAtAnOutputsNameIsRefusedAndLeftAsItWas)
{
    testsupport::TemporaryFolder work;
    const std::string shop = work.path() + "/shop";
    makeDemoFolder(shop, work.path());
    const std::string outputs = work.path() + "/out";
    fs::create_directory(outputs);
    const std::string at = outputs + "/target";
    const struct
    {
        const char* why;
        std::string arguments;
    } commands[] = {
        {"sheet --pdf", "sheet " + shellQuoted(shop) + " --order 24101 --pdf " + shellQuoted(at)},
        {"book --pdf", "book " + shellQuoted(shop) + " --pdf " + shellQuoted(at)},
        {"book --text", "book " + shellQuoted(shop) + " --text " + shellQuoted(at)},
        {"book --changes", "book " + shellQuoted(shop) + " --changes " + shellQuoted(at)},
        {"book --pdf --changes", "book " + shellQuoted(shop) + " --pdf " + shellQuoted(outputs + "/book.pdf") +
                                     " --changes " + shellQuoted(at)},
    };
    for (const bool device : {true, false}) {
        if (device && ::geteuid() != 0) {
            std::printf("device node cases skipped: making one needs root\n");
            continue;
        }
        for (const auto& c : commands) {
            SCOPED_TRACE(std::string(c.why) + (device ? " onto a device node" : " onto a FIFO"));
            ASSERT_EQ(device ? ::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) : ::mkfifo(at.c_str(), 0666), 0)
                << std::strerror(errno);
            struct stat before {};
            ASSERT_EQ(::lstat(at.c_str(), &before), 0);
            const auto run = runShell(program() + " --program-dir " + shellQuoted(work.path()) + " " + c.arguments,
                                      work.path());
            EXPECT_EQ(run.exitCode, ExitFailure) << run.err;
            EXPECT_NE(run.err.find("'" + at + "' is " + (device ? "a device" : "a pipe") + ", not a file"),
                      std::string::npos)
                << run.err;
            EXPECT_EQ(run.err.find("page 1 of"), std::string::npos) << "refused before the book was priced";
            struct stat after {};
            ASSERT_EQ(::lstat(at.c_str(), &after), 0);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(after.st_rdev, before.st_rdev);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(namesIn(outputs), std::set<std::string>{"target"});
            fs::remove(at);
        }
    }
}

// Every command works through a folder on the path that is a symbolic link; the files land in the folder
// it points to.
TEST(FilesAndPaths, EveryCommandWorksThroughASymbolicLinkToAFolder)
{
    testsupport::TemporaryFolder work;
    fs::create_directory(work.path() + "/real");
    fs::create_directory_symlink("real", work.path() + "/link");
    const std::string link = work.path() + "/link";
    const std::string shop = link + "/shop";
    const std::string commands[] = {
        "demo-data " + shellQuoted(shop),
        "import-mdb " + shellQuoted(std::string(FIXTURES_DIR) + "/access/testV1997.mdb") + " " +
            shellQuoted(link + "/imported"),
        "sql " + shellQuoted(shop) + " \"SELECT COUNT(*) AS N FROM ORDERS\"",
        "price " + shellQuoted(shop) + " --order 24101 --qty 100",
        "sheet " + shellQuoted(shop) + " --order 24101 --pdf " + shellQuoted(link + "/sheet.pdf"),
        "book " + shellQuoted(shop) + " --pdf " + shellQuoted(shop + "/book.pdf") + " --only \"Business Cards\"",
    };
    for (const std::string& command : commands) {
        const auto run = runShell(program() + " --program-dir " + shellQuoted(work.path()) + " " + command,
                                  work.path());
        EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.err;
    }
    EXPECT_EQ(namesIn(work.path() + "/real/shop"),
              (std::set<std::string>{"Categories.dat", "PriceBook.dat", "book.pdf", "vmdata.mdb"}));
    EXPECT_TRUE(fs::is_regular_file(work.path() + "/real/imported/vmdata.mdb"));
    EXPECT_TRUE(fs::is_regular_file(work.path() + "/real/sheet.pdf"));
}

// demo-data killed at random moments: a folder with the shop database always has its category and book
// files, and the next demo-data removes what the killed one left and finishes the folder.
TEST(FilesAndPaths, DemoDataKilledAtAnyMomentLeavesAllOrNothingAndTheNextOneFinishes)
{
    testsupport::TemporaryFolder work;
    const std::set<std::string> whole = {"Categories.dat", "PriceBook.dat", "vmdata.mdb"};
    const std::string command = program() + " demo-data ";
    // How long a whole run takes here, so the kills fall all over it.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runShell(command + shellQuoted(work.path() + "/timed"), work.path()).exitCode, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    for (int attempt = 0; attempt < 12; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const std::string folder = work.path() + "/shop" + std::to_string(attempt);
        const std::string delay = std::to_string(seconds * attempt / 11);
        runShell("bash -c " + shellQuoted(command + shellQuoted(folder) + " & sleep " + delay + "; kill -9 $!; wait"),
                 work.path());
        if (fs::exists(folder + "/vmdata.mdb")) {
            std::set<std::string> names = namesIn(folder);
            for (const std::string& name : whole)
                EXPECT_EQ(names.count(name), 1u) << name;
            EXPECT_EQ(reliability::sqlite(folder + "/vmdata.mdb", "SELECT COUNT(*) FROM ORDERS", work.path()), "12\n");
        }
        const auto again = runShell(command + shellQuoted(folder), work.path());
        EXPECT_TRUE(again.exitCode == 0 || again.err.find("File already exists") != std::string::npos) << again.err;
        EXPECT_EQ(namesIn(folder), whole);
    }
}

// A book killed at random moments (while it prices, while its PDF is painted, as it puts its files in
// place) leaves its earlier book whole, and the next book removes what the killed one left.
TEST(FilesAndPaths, ABookKilledAtAnyMomentLeavesNothingBehindTheNextBook)
{
    testsupport::TemporaryFolder work;
    const std::string shop = work.path() + "/shop";
    makeDemoFolder(shop, work.path());
    const std::string book = "book " + shellQuoted(shop) + " --pdf " + shellQuoted(shop + "/book.pdf") +
                             " --changes " + shellQuoted(shop + "/changes.csv");
    const std::string command = program() + " --program-dir " + shellQuoted(work.path()) + " " + book;
    // How long a whole book takes here, so the kills fall all over it.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runShell(command, work.path()).exitCode, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::set<std::string> whole = namesIn(shop);
    for (int attempt = 0; attempt < 10; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const std::string delay = std::to_string(seconds * (attempt + 0.5) / 10);
        runShell("bash -c " + shellQuoted(command + " 2>/dev/null & sleep " + delay + "; kill -9 $!; wait"),
                 work.path());
        const std::string pdf = testsupport::readFile(shop + "/book.pdf");
        EXPECT_TRUE(pdf.starts_with("%PDF") && pdf.find("%%EOF", pdf.size() - 16) != std::string::npos)
            << "the book in place is whole";
        const auto next = runShell(command, work.path());
        EXPECT_EQ(next.exitCode, 0) << next.err;
        EXPECT_EQ(namesIn(shop), whole);
    }
}

// What a program printed on a pseudo-terminal, read until it ended (at most the watchdog's time).
std::string onATerminal(const std::string& commandLine)
{
    int master = -1;
    std::fflush(nullptr);
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", ("exec " + commandLine + " 2>/dev/null").c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string out;
    const auto end = std::chrono::steady_clock::now() + reliability::Watchdog;
    char buffer[4096];
    while (child > 0 && std::chrono::steady_clock::now() < end) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0)
            break; // EIO: the program has ended and closed the terminal
        out.append(buffer, static_cast<std::size_t>(got));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(master);
    return out;
}

// A description holding an escape sequence (one that retitles the window) reaches a terminal escaped, from
// every command that prints it; into a file it goes byte for byte.
TEST(FilesAndPaths, ControlCharactersFromTheShopsDataReachATerminalEscaped)
{
    testsupport::TemporaryFolder work;
    const std::string shop = work.path() + "/shop";
    makeDemoFolder(shop, work.path());
    reliability::sqlite(shop + "/vmdata.mdb",
                        "UPDATE Orders SET DESCRIPTION = 'Cards ' || char(27) || ']0;X' || char(7) || ' '"
                        " || char(155) || '2J done' WHERE ORDERNO = '24105'",
                        work.path());
    const std::string escaped = "Cards \\x1b]0;X\\x07 \\u009b2J done";
    const struct
    {
        std::string command;
        std::string shows;
    } commands[] = {
        {"book " + shellQuoted(shop) + " --text - --only \"Business Cards\"", escaped},
        {"sheet " + shellQuoted(shop) + " --order 24105 --qty 100 --text", escaped},
        // JSON escapes the C0 controls itself.
        {"price " + shellQuoted(shop) + " --order 24105 --qty 100 --format json", "Cards \\u001b]0;X\\u0007 \\u009b2J done"},
        {"sql " + shellQuoted(shop) + " \"SELECT DESCRIPTION FROM ORDERS WHERE ORDERNO = '24105'\"", escaped},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.command);
        const std::string shown =
            onATerminal(program() + " --program-dir " + shellQuoted(work.path()) + " " + c.command);
        EXPECT_NE(shown.find(c.shows), std::string::npos) << shown;
        EXPECT_EQ(shown.find('\x1b'), std::string::npos);
        EXPECT_EQ(shown.find('\a'), std::string::npos);
        EXPECT_EQ(shown.find("\xc2\x9b"), std::string::npos);
    }
    const auto toFile = runShell(program() + " --program-dir " + shellQuoted(work.path()) + " " + commands[0].command,
                                 work.path());
    EXPECT_NE(toFile.out.find("Cards \x1b]0;X\a \xc2\x9b" "2J done"), std::string::npos);
}

} // namespace
