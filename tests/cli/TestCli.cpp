// The headless front end as the program's entry point sees it: which arguments mean a command, exit
// codes and messages.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/Cli.h"
#include "tests/cli/CapturedOutput.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::StartsWith;
using testsupport::TemporaryFolder;

// argv as the program receives it, program name first.
class Arguments
{
public:
    explicit Arguments(std::vector<std::string> words) : m_words(std::move(words))
    {
        m_words.insert(m_words.begin(), "pricebook");
        for (std::string& word : m_words)
            m_pointers.push_back(word.data());
        m_pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(m_words.size()); }
    char** argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_words;
    std::vector<char*> m_pointers;
};

struct Result
{
    int code;
    std::string out;
    std::string err;
};

Result runProgram(std::vector<std::string> words)
{
    Arguments args(std::move(words));
    testsupport::CapturedOutput output;
    const int code = cli::run(args.argc(), args.argv());
    return {code, output.out(), output.err()};
}

struct WindowOrCommand
{
    const char* why;
    std::vector<std::string> words;
    bool commandLine;
};

const WindowOrCommand kWindowOrCommand[] = {
    {"no arguments opens the window", {}, false},
    {"the window's program folder", {"--program-dir", "/opt/pricebook"}, false},
    {"the window's program folder, joined form", {"--program-dir=/opt/pricebook"}, false},
    {"a toolkit option for the window", {"-platform", "offscreen"}, false},
    {"a toolkit option with its value joined", {"-style=fusion"}, false},
    {"the session a desktop restores", {"-session", "1234"}, false},
    {"the window quiet", {"--quiet"}, false},
    {"an unknown short option is answered with usage", {"-V"}, true},
    {"a command", {"sql", "shop", "SELECT 1"}, true},
    {"a command after the program folder", {"--program-dir", "/tmp", "price"}, true},
    {"help", {"--help"}, true},
    {"short help", {"-h"}, true},
    {"version", {"--version"}, true},
    {"an unknown word is a command, answered with usage", {"frobnicate"}, true},
    {"an unknown long option is answered with usage", {"--frobnicate"}, true},
};

void PrintTo(const WindowOrCommand& c, std::ostream* os)
{
    *os << c.why;
}

class WantsCommandLine : public testing::TestWithParam<WindowOrCommand>
{
};

TEST_P(WantsCommandLine, TellsTheWindowFromACommand)
{
    const WindowOrCommand& c = GetParam();
    Arguments args(c.words);
    EXPECT_EQ(cli::wantsCommandLine(args.argc(), args.argv()), c.commandLine) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Cli, WantsCommandLine, testing::ValuesIn(kWindowOrCommand));

TEST(Cli, VersionPrintsTheProgramsVersion)
{
    const Result r = runProgram({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "pricebook " PRICEBOOK_VERSION "\n");
    EXPECT_THAT(r.out, testing::MatchesRegex("pricebook [0-9]+\\.[0-9]+\\.[0-9]+\n"));
    EXPECT_EQ(r.err, "");
}

TEST(Cli, HelpListsTheCommandsOnStandardOutput)
{
    const Result r = runProgram({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* command : {"price", "sheet", "demo-data", "sql", "import-mdb", "--program-dir", "--quiet"})
        EXPECT_THAT(r.out, HasSubstr(command));
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 79u) << line;
}

// A command line that cannot be run is exit code 2 and one line naming what is wrong, not the whole help.
TEST(Cli, AWrongCommandLineIsExitCode2AndOneLine)
{
    const struct
    {
        std::vector<std::string> words;
        const char* says;
    } cases[] = {
        {{"frobnicate", "x"}, "unknown command frobnicate"},
        {{"-V"}, "unknown option -V"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--program-dir"}, "--program-dir needs a folder"},
        {{"--program-dir", "/tmp"}, "no command given"},
    };
    for (const auto& c : cases) {
        const Result r = runProgram(c.words);
        EXPECT_EQ(r.code, 2) << c.says;
        EXPECT_EQ(r.err, "pricebook: " + std::string(c.says) + " (see \"pricebook --help\")\n");
        EXPECT_EQ(r.out, "");
    }
}

// The report work database lives in the program folder: the one given, or the program's own folder (this
// test executable's) when it is writable, never the folder the command happens to be started from.
TEST(Cli, CommandsUseTheProgramFolderGivenOrTheExecutablesFolder)
{
    TemporaryFolder folder;
    ASSERT_EQ(runProgram({"--program-dir", folder.path(), "--version"}).code, 0);
    EXPECT_EQ(cli::programFolder(), folder.path());
    ASSERT_EQ(runProgram({"--program-dir=" + folder.path() + "/x", "--version"}).code, 0);
    EXPECT_EQ(cli::programFolder(), folder.path() + "/x");

    ASSERT_EQ(runProgram({"--version"}).code, 0);
    EXPECT_EQ(fs::path(cli::programFolder()), fs::read_symlink("/proc/self/exe").parent_path());
}

TEST(Cli, AMissingShopDatabaseIsExitCode3AndNamesTheFile)
{
    TemporaryFolder folder;
    const std::string missing = folder.path() + "/vmdata.mdb";
    const Result r = runProgram({"sql", missing, "SELECT * FROM ORDERS"});
    EXPECT_EQ(r.code, 3);
    EXPECT_THAT(r.err, StartsWith("pricebook: "));
    EXPECT_THAT(r.err, HasSubstr(missing));
    EXPECT_FALSE(fs::exists(missing));
}

TEST(Cli, AFileThatIsNotADatabaseIsExitCode3)
{
    TemporaryFolder folder;
    const std::string notADatabase = folder.path() + "/vmdata.mdb";
    testsupport::writeFile(notADatabase, "Counter Price Book\r\n");
    const Result r = runProgram({"sql", notADatabase, "SELECT * FROM ORDERS"});
    EXPECT_EQ(r.code, 3);
    EXPECT_THAT(r.err, HasSubstr(notADatabase));
    EXPECT_EQ(testsupport::readFile(notADatabase), "Counter Price Book\r\n");
}

TEST(Cli, ABadSqlTextIsExitCode3WithTheFaultsText)
{
    TemporaryFolder folder;
    ASSERT_EQ(runProgram({"demo-data", folder.path()}).code, 0);
    const Result r = runProgram({"sql", folder.path(), "SELECT * FROM ORDERS; DROP TABLE ORDERS"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "pricebook: Characters found after end of SQL statement. (error 3142)\n");
    EXPECT_EQ(runProgram({"sql", folder.path(), "SELECT * FROM NO_SUCH_TABLE"}).code, 3);
}

TEST(Cli, DemoDataRefusesASecondRunWithoutReplace)
{
    TemporaryFolder folder;
    const Result first = runProgram({"demo-data", folder.path()});
    EXPECT_EQ(first.code, 0) << first.err;
    const Result second = runProgram({"demo-data", folder.path()});
    EXPECT_EQ(second.code, 1);
    EXPECT_THAT(second.err, HasSubstr("already exists"));
    EXPECT_THAT(second.err, HasSubstr("--replace"));
    EXPECT_EQ(runProgram({"demo-data", folder.path(), "--replace"}).code, 0);
}

} // namespace
