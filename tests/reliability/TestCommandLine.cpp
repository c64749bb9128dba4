// The habits of a command-line program, the program run as a user runs it: output that cannot be written,
// no display, Ctrl-C, --quiet, and nothing written by --help or --version.
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/reliability/ProgramRunner.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
using testing::HasSubstr;
using testing::Not;
namespace fs = std::filesystem;

constexpr int ExitFailure = 1;
constexpr int ExitCancelled = 130; // 128 + SIGINT

struct Shop
{
    testsupport::TemporaryFolder work;
    std::string folder = work.path() + "/shop";
    Shop() { reliability::makeDemoFolder(folder, work.path()); }

    // The program with its arguments, SHOP standing for the data folder; its report work database in the
    // work folder.
    std::string command(std::string arguments) const
    {
        for (std::size_t at; (at = arguments.find("SHOP")) != std::string::npos;)
            arguments.replace(at, 4, shellQuoted(folder));
        return program() + " --program-dir " + shellQuoted(work.path()) + " " + arguments;
    }
    reliability::ProgramOutput run(const std::string& arguments) const
    {
        return runShell(command(arguments), work.path());
    }
    // The same with its standard output into the real /dev/full.
    reliability::ProgramOutput runIntoFullDisk(const std::string& arguments) const
    {
        return runShell("bash -c " + shellQuoted("exec " + command(arguments) + " >/dev/full"), work.path());
    }
};

// Output into a full disk (the real /dev/full) is no success: exit code 1 and the reason, whatever the
// command prints.
TEST(CommandLine, OutputThatCannotBeWrittenIsExitCode1WithTheReason)
{
    const Shop shop;
    const char* const commands[] = {
        "--help",
        "--version",
        "price --help",
        "price SHOP --order 24101",
        "price SHOP --order 24101 --format json",
        "sheet SHOP --order 24101 --text",
        "book SHOP --text - --quiet",
        "sql SHOP \"SELECT * FROM ORDERS\"",
    };
    for (const char* arguments : commands) {
        SCOPED_TRACE(arguments);
        const reliability::ProgramOutput got = shop.runIntoFullDisk(arguments);
        EXPECT_EQ(got.exitCode, ExitFailure) << got.err;
        EXPECT_THAT(got.err, HasSubstr("pricebook: the output could not be written"));
        EXPECT_THAT(got.err, Not(HasSubstr("cancelled")));
    }
    // A whole schedule stops at its first quantity that cannot be written, and says so as the reason.
    const reliability::ProgramOutput got =
        shop.runIntoFullDisk("price SHOP --order 24101 --schedule 1,1,50000,1,50001,1,50002");
    EXPECT_EQ(got.exitCode, ExitFailure);
    EXPECT_EQ(got.err, "pricebook: the output could not be written (No space left on device), so what was "
                       "printed is incomplete\n");
}

// Without a display the window says so in a plain line pointing at the commands, with exit code 1, instead
// of the window toolkit's abort; the toolkit's own words only with --verbose.
TEST(CommandLine, WithoutADisplayTheWindowSaysSoAndPointsAtTheCommands)
{
    testsupport::TemporaryFolder work;
    const struct
    {
        const char* why;
        const char* environment;
        const char* says;
        bool verbose;
    } cases[] = {
        {"no display at all", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM",
         "the window cannot open: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)", false},
        {"a display that is not there", "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9876",
         "the window cannot open: the display :9876 could not be opened", false},
        {"the same with --verbose", "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9876",
         "the window cannot open: the display :9876 could not be opened", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const reliability::ProgramOutput got = runShell(std::string(c.environment) + " " + program() +
                                                            " --program-dir " + shellQuoted(work.path()) +
                                                            (c.verbose ? " --verbose" : ""),
                                                        work.path());
        EXPECT_EQ(got.exitCode, ExitFailure);
        EXPECT_THAT(got.err, testing::StartsWith(std::string("pricebook: ") + c.says));
        EXPECT_THAT(got.err, HasSubstr("\"pricebook price DATAFOLDER --order NO\""));
        EXPECT_THAT(got.err, HasSubstr("\"pricebook --help\" lists them"));
        // Qt's words, behind the message and indented, only when asked for.
        EXPECT_EQ(got.err.find("\n    ") != std::string::npos, c.verbose) << got.err;
        EXPECT_EQ(got.err.find("Reinstalling") != std::string::npos, c.verbose) << got.err;
        EXPECT_EQ(got.out, "");
    }
    EXPECT_TRUE(fs::is_empty(work.path())) << "nothing was written";
}

// Ctrl-C in the middle of a run or a book: exit code 130, "cancelled", and nothing of a book written.
TEST(CommandLine, CtrlCStopsARunOrABookWithExitCode130)
{
    const Shop shop;
    // Pages long enough to be in the middle of when Ctrl-C comes.
    testsupport::writeFile(shop.folder + "/PriceBook.dat", "24101,1,Q,Letterheads,1,1,50000,1,50001,1,50002\r\n"
                                                           "24102,1,Q,Brochures,1,1,50000,1,50001,1,50002\r\n");
    const struct
    {
        const char* arguments;
        const char* running; // printed once it runs
        const char* says;
    } cases[] = {
        {"price SHOP --order 24101 --schedule 1,1,50000,1,50001,1,50002 2>&1", "Quantity", "pricebook: cancelled after"},
        {"book SHOP --pdf WORK/book.pdf 2>&1", "page 1 of", "pricebook: cancelled at page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string arguments = c.arguments;
        if (const std::size_t at = arguments.find("WORK"); at != std::string::npos)
            arguments.replace(at, 4, shellQuoted(shop.work.path()));
        reliability::BackgroundProgram run(shop.command(arguments), shop.work.path(), "run");
        ASSERT_TRUE(run.waitForOutput(c.running));
        run.signal(SIGINT);
        const reliability::ProgramOutput got = run.finish();
        EXPECT_EQ(got.exitCode, ExitCancelled) << got.out;
        EXPECT_THAT(got.out, HasSubstr(c.says));
    }
    EXPECT_FALSE(fs::exists(shop.work.path() + "/book.pdf"));
}

// --quiet: nothing on standard error when all goes well (no progress, no word of the file written), and still
// every word of what went wrong.
TEST(CommandLine, QuietLeavesOnlyWhatWentWrongOnStandardError)
{
    const Shop shop;
    const std::string pdf = shellQuoted(shop.work.path() + "/book.pdf");
    const reliability::ProgramOutput talkative = shop.run("book SHOP --pdf " + pdf);
    EXPECT_EQ(talkative.exitCode, 0) << talkative.err;
    EXPECT_THAT(talkative.err, HasSubstr("pricebook: page 12 of 12"));
    EXPECT_THAT(talkative.err, HasSubstr("pricebook: the price book is in"));

    for (const char* arguments : {"--quiet book SHOP --pdf PDF", "book SHOP --pdf PDF --quiet",
                                  "--quiet sheet SHOP --order 24101 --pdf PDF", "--quiet demo-data SHOP --replace"}) {
        std::string words = arguments;
        if (words.find("PDF") != std::string::npos)
            words.replace(words.find("PDF"), 3, pdf);
        const reliability::ProgramOutput quiet = shop.run(words);
        EXPECT_EQ(quiet.exitCode, 0) << arguments << ": " << quiet.err;
        EXPECT_EQ(quiet.err, "") << arguments;
    }

    // A page that cannot be priced is still told, and so is a folder that is not there.
    testsupport::writeFile(shop.folder + "/PriceBook.dat", "99999,1,Q,Nowhere\r\n24101,1,Q,Letterheads\r\n");
    const reliability::ProgramOutput missing = shop.run("--quiet book SHOP --pdf " + pdf);
    EXPECT_EQ(missing.exitCode, 5);
    EXPECT_EQ(missing.err, "pricebook: the page of order 99999 part 1 (quote) was not printed: Order 99999 is not in "
                           "the shop database.\n");
    const reliability::ProgramOutput noFolder = runShell(
        program() + " --quiet price " + shellQuoted(shop.work.path() + "/nowhere") + " --order 1", shop.work.path());
    EXPECT_EQ(noFolder.exitCode, 3);
    EXPECT_THAT(noFolder.err, HasSubstr("was not found"));
}

// --help and --version only print: an installed program (its folder a bin beside the package's share) makes
// no per-user folder for them, nor for a wrong command line.
TEST(CommandLine, HelpAndVersionWriteNothing)
{
    testsupport::TemporaryFolder root;
    const fs::path bin = fs::path(root.path()) / "usr/bin";
    fs::create_directories(bin);
    fs::create_directories(fs::path(root.path()) / "usr/share/pricebook");
    fs::copy_file(PRICEBOOK_PROGRAM, bin / "pricebook");
    const std::string home = root.path() + "/home";
    fs::create_directories(home);
    for (const char* arguments : {"--version", "--help", "price --help", "book --help", "-V", "sheet --nonsense"}) {
        const reliability::ProgramOutput got =
            runShell("env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME=" + shellQuoted(home) + " " +
                         shellQuoted((bin / "pricebook").string()) + " " + arguments,
                     root.path());
        EXPECT_LT(got.exitCode, 3) << arguments << ": " << got.err;
        EXPECT_TRUE(fs::is_empty(home)) << arguments << " wrote into the home folder";
    }
}

} // namespace
