// The command line's shared parsing, each command's help and usage errors, and the signal guard the
// commands hold while they run.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include "cli/BookCommand.h"
#include "cli/Command.h"
#include "cli/CopyDbCommand.h"
#include "cli/DemoDataCommand.h"
#include "cli/ImportCommand.h"
#include "cli/PriceCommand.h"
#include "cli/SheetCommand.h"
#include "cli/SignalGuard.h"
#include "cli/SqlCommand.h"
#include "tests/cli/CapturedOutput.h"

namespace {

using cli::Option;
using testing::HasSubstr;
using testing::StartsWith;

const Option kOptions[] = {
    {"--x", "N", "a number"},
    {"--flag", "", "a switch"},
    {"--format", "text|csv", "a choice", true},
    {"--help", "", "show this help"},
};

struct ParseCase
{
    const char* why;
    std::vector<std::string> words;
    std::string given; // "option=value" or "value" of each, in order, ';' after each; or the error
};

const ParseCase kParseCases[] = {
    {"a value joined by '='", {"--x=1"}, "--x=1;"},
    {"a value as the next word", {"--x", "1"}, "--x=1;"},
    {"an empty joined value", {"--x="}, "--x=;"},
    {"a next word that looks like an option is the value", {"--x", "--flag"}, "--x=--flag;"},
    {"positional words around a switch, in order", {"a", "--flag", "b"}, "a;--flag=;b;"},
    {"-h is --help", {"-h"}, "--help=;"},
    {"a single dash is a word", {"-"}, "-;"},
    {"an SQL text opening with a comment is a word", {"-- every quote\nSELECT 1"}, "-- every quote\nSELECT 1;"},
    {"a choice", {"--format=csv"}, "--format=csv;"},
    {"an unknown option", {"a", "--fast"}, "error: unknown option --fast"},
    {"an unknown option with a value", {"--fast=1"}, "error: unknown option --fast"},
    {"an unknown short option", {"-x"}, "error: unknown option -x"},
    {"a missing value", {"--flag", "--x"}, "error: --x needs a value"},
    {"a value to a switch", {"--flag=yes"}, "error: --flag takes no value"},
    {"a value not among the choices", {"--format", "xml"}, "error: --format is text or csv, not \"xml\""},
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.why;
}

class ParseArguments : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseArguments, SortsWordsOrNamesTheOptionAtFault)
{
    const ParseCase& c = GetParam();
    std::string seen;
    try {
        const cli::ParsedArguments parsed = cli::parseArguments(c.words, kOptions);
        for (const auto& [option, value] : parsed.inOrder())
            seen += (option.empty() ? value : option + "=" + value) + ";";
    } catch (const cli::UsageError& error) {
        seen = std::string("error: ") + error.what();
    }
    EXPECT_EQ(seen, c.given);
}

INSTANTIATE_TEST_SUITE_P(Command, ParseArguments, testing::ValuesIn(kParseCases));

std::vector<std::unique_ptr<cli::Command>> everyCommand()
{
    std::vector<std::unique_ptr<cli::Command>> commands;
    commands.push_back(std::make_unique<cli::PriceCommand>());
    commands.push_back(std::make_unique<cli::SheetCommand>());
    commands.push_back(std::make_unique<cli::BookCommand>());
    commands.push_back(std::make_unique<cli::DemoDataCommand>());
    commands.push_back(std::make_unique<cli::SqlCommand>());
    commands.push_back(std::make_unique<cli::ImportCommand>());
    commands.push_back(std::make_unique<cli::CopyDbCommand>());
    return commands;
}

// Help, also among wrong words, is exit 0 on standard output, names every option and fits an 80-column
// terminal; an unknown option is exit 2 and one line on standard error, naming it.
TEST(Command, EveryCommandsHelpNamesItsOptionsAndAWrongOptionIsExit2)
{
    for (const auto& command : everyCommand()) {
        const std::string name(command->name());
        SCOPED_TRACE(name);
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{"--help"}, std::vector<std::string>{"--no-such", "-h"}}) {
            const testsupport::CommandOutcome help = testsupport::runCommand(*command, words);
            EXPECT_EQ(help.code, 0);
            EXPECT_THAT(help.out, StartsWith("Usage: pricebook " + name + " "));
            for (const Option& option : command->options())
                EXPECT_THAT(help.out, HasSubstr("  " + std::string(option.name) + " ")) << option.name;
            EXPECT_THAT(help.out, HasSubstr("--verbose"));
            EXPECT_THAT(help.out, HasSubstr("--quiet"));
            EXPECT_EQ(help.err, "");
            std::istringstream lines(help.out);
            for (std::string line; std::getline(lines, line);)
                EXPECT_LE(line.size(), 79u) << line;
        }
        const testsupport::CommandOutcome wrong = testsupport::runCommand(*command, {"--no-such=1"});
        EXPECT_EQ(wrong.code, 2);
        EXPECT_EQ(wrong.err, "pricebook " + name + ": unknown option --no-such (see \"pricebook " + name + " --help\")\n");
        EXPECT_EQ(wrong.out, "");
    }
}

// The help's texts laid out in 80 columns: broken between words, paragraphs kept, the first line going on
// after what the line holds already.
TEST(Command, HelpTextsAreWrappedBetweenWordsWithinTheWidth)
{
    const std::string word10 = "abcdefghij";
    std::string eight;
    for (int i = 0; i < 8; ++i)
        eight += (i ? " " : "") + word10;
    // Seven words and their blanks take 76 columns; the eighth goes on the next line, indented.
    EXPECT_EQ(cli::wrapText(eight, 0, 4), eight.substr(0, 76) + "\n    " + word10);
    // After a label of 26 columns four words fit (26 + 43 = 69): a fifth would reach column 80.
    EXPECT_EQ(cli::wrapText(eight, 26, 26), eight.substr(0, 43) + "\n" + std::string(26, ' ') + eight.substr(44));
    // A single line end is a blank; a blank line ends a paragraph.
    EXPECT_EQ(cli::wrapText("one\ntwo\n\nthree", 0, 0), "one two\n\nthree");
    // A word longer than a line has a line to itself.
    EXPECT_EQ(cli::wrapText("a " + std::string(90, 'x') + " b", 0, 0), "a\n" + std::string(90, 'x') + "\nb");
}

volatile sig_atomic_t g_seen = 0;
extern "C" void noteSignal(int signal)
{
    g_seen = signal;
}

void (*handlerOf(int signal))(int)
{
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

// A command's handler holds the signal only while the command runs; a signal the program was started
// ignoring stays ignored when the guard is asked to keep it so.
TEST(SignalGuard, HoldsTheSignalWhileItLivesThenPutsThePreviousHandlerBack)
{
    const auto before = ::signal(SIGUSR1, SIG_IGN);
    {
        const cli::SignalGuard kept({SIGUSR1}, noteSignal, cli::SignalGuard::Ignored::Keep);
        EXPECT_EQ(handlerOf(SIGUSR1), SIG_IGN);
    }
    {
        const cli::SignalGuard caught({SIGUSR1}, noteSignal);
        g_seen = 0;
        ::raise(SIGUSR1);
        EXPECT_EQ(g_seen, SIGUSR1);
    }
    EXPECT_EQ(handlerOf(SIGUSR1), SIG_IGN);
    ::signal(SIGUSR1, before);
}

} // namespace
