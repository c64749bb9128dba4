#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "platform/SmallFile.h"
#include "platform/TextFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Faults.h"
#include "tests/support/Watchdog.h"

namespace {

using Items = std::vector<std::string>;
using testsupport::readFile;
using testsupport::TemporaryFolder;
using testsupport::writeFile;

using testsupport::faultNumber;

namespace fs = std::filesystem;

long entriesIn(const std::string& folder)
{
    return std::distance(fs::directory_iterator(folder), {});
}

struct ItemsCase
{
    const char* name;
    const char* content;
    Items expected;
};

TEST(SplitItems, CommasAndLineEndsSeparateItems)
{
    const ItemsCase cases[] = {
        {"CR LF lines", "Letterhead\r\nBusiness Cards\r\n", {"Letterhead", "Business Cards"}},
        {"LF only", "Letterhead\nBusiness Cards\n", {"Letterhead", "Business Cards"}},
        {"CR only", "a\rb", {"a", "b"}},
        {"no final line end", "Forms", {"Forms"}},
        {"commas", "a,b,c\r\n", {"a", "b", "c"}},
        {"blanks around dropped", "  padded item  \r\n\tTabbed\t\r\n", {"padded item", "Tabbed"}},
        {"quoted item keeps commas", "\"Smith, Jones\",x\r\n", {"Smith, Jones", "x"}},
        {"quoted item keeps blanks", "\"  two blanks  \"\r\n", {"  two blanks  "}},
        {"after the closing quote", "\"quoted\"  trailing,next", {"quoted", "next"}},
        {"empty quoted item", "\"\"\r\n", {""}},
        {"unterminated quote", "\"unterminated, item", {"unterminated, item"}},
        {"quote inside an item", "say \"hi\" there", {"say \"hi\" there"}},
        {"two quotes in a quoted item are one", "\"12\"\" x 18\"\", folded\"\r\n", {"12\" x 18\", folded"}},
        {"empty lines give nothing", "a\r\n\r\n\r\nb\r\n\r\n", {"a", "b"}},
        {"empty between commas", "a,,b", {"a", "", "b"}},
        {"blank between commas", "a, ,b", {"a", "", "b"}},
        {"leading comma", ",b", {"", "b"}},
        {"comma at line end", "a,\r\nb", {"a", "b"}},
        {"empty file", "", {}},
        {"blanks only", "  \r\n \t ", {}},
        {"path", "C:\\Shop Data\\\r\n", {"C:\\Shop Data\\"}},
        {"letters past ASCII", "Caf\xc3\xa9 menus\r\n", {"Caf\xc3\xa9 menus"}},
        {"apostrophe", "O'Brien's\r\n", {"O'Brien's"}},
    };
    for (const ItemsCase& c : cases)
        EXPECT_EQ(platform::splitItems(c.content), c.expected) << c.name;
}

TEST(TextFile, WritesLinesWithCrLfAndReadsThemBack)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/Categories.dat";
    platform::writeLines(path, {"Letterhead", "Business Cards", "Smith, Jones"});
    EXPECT_EQ(readFile(path), "Letterhead\r\nBusiness Cards\r\nSmith, Jones\r\n");
    // no quotes are written, so a comma splits the item on reading, as it did before
    EXPECT_EQ(platform::readItems(path), (Items{"Letterhead", "Business Cards", "Smith", "Jones"}));

    platform::writeLines(path, {"Forms"}); // replaces the file whole
    EXPECT_EQ(readFile(path), "Forms\r\n");
    platform::writeLines(path, {});
    EXPECT_EQ(readFile(path), "");
    // no helper file is left beside it
    EXPECT_EQ(entriesIn(folder.path()), 1);
}

// Each item is written so that the reader gives it back whole; what the old program's files hold (no comma,
// no surrounding blanks, no leading quote) stays as it wrote it.
TEST(TextFile, ItemsAreWrittenSoTheyReadBackWhole)
{
    const std::string longName(32767, 'L');
    const struct
    {
        std::string item;
        std::string line;
    } cases[] = {
        {"Letterhead", "Letterhead"},
        {"12\" Posters", "12\" Posters"},
        {"Envelopes, #10", "\"Envelopes, #10\""},
        {"/srv/Shop, Main", "\"/srv/Shop, Main\""},
        {"\"Rush\" jobs", "\"\"\"Rush\"\" jobs\""},
        {"12\" x 18\", folded", "\"12\"\" x 18\"\", folded\""},
        {"\"", "\"\"\"\""},
        {"  Envelopes  ", "\"  Envelopes  \""},
        {"\tTabbed", "\"\tTabbed\""},
        {"", "\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {longName, longName},
        {longName + ",", "\"" + longName + ",\""},
    };
    TemporaryFolder folder;
    const std::string path = folder.path() + "/Categories.dat";
    Items items;
    std::string file;
    for (const auto& c : cases) {
        EXPECT_EQ(platform::itemLine(c.item), c.line);
        items.push_back(c.item);
        file += c.line + "\r\n";
    }
    platform::writeItems(path, items);
    EXPECT_EQ(readFile(path), file);
    EXPECT_EQ(platform::readItems(path), items);
}

TEST(TextFile, AppendCreatesAndAppends)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/log.txt";
    platform::appendLine(path, "first");
    platform::appendLine(path, "second");
    EXPECT_EQ(readFile(path), "first\r\nsecond\r\n");
}

// What may stand at the file's name instead of the shop's plain file: a symbolic link planted there, to a
// file of someone else's or to nothing yet, or a FIFO, which would keep a writer waiting for a reader.
// A link is replaced by the new file, never written through; a FIFO is refused and left as it is.
TEST(TextFile, WhatIsNotAPlainFileAtTheNameIsReplacedOrRefusedNeverWrittenThrough)
{
    enum class AtTheName { LinkToAFile, LinkToNothing, Fifo };
    for (const AtTheName at : {AtTheName::LinkToAFile, AtTheName::LinkToNothing, AtTheName::Fifo}) {
        const int which = static_cast<int>(at);
        TemporaryFolder folder;
        TemporaryFolder elsewhere;
        const std::string path = folder.path() + "/Categories.dat";
        const std::string victim = elsewhere.path() + "/accounts.txt";
        if (at == AtTheName::LinkToAFile)
            writeFile(victim, "not the shop's\n");
        if (at == AtTheName::Fifo)
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
        else
            fs::create_symlink(victim, path);

        // Appending goes into the file itself, so it refuses anything but a plain one.
        EXPECT_EQ(faultNumber([&] { platform::appendLine(path, "Forms"); }), 75) << which;
        if (at == AtTheName::Fifo) {
            EXPECT_EQ(faultNumber([&] { platform::writeLines(path, {"Forms"}); }), 75);
            EXPECT_TRUE(fs::is_fifo(path));
            EXPECT_EQ(entriesIn(folder.path()), 1);
            continue;
        }
        // Rewriting puts a plain file in place of a link.
        platform::writeLines(path, {"Forms"});
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path))) << which;
        EXPECT_EQ(readFile(path), "Forms\r\n") << which;
        EXPECT_EQ(entriesIn(folder.path()), 1) << which;
        if (at == AtTheName::LinkToAFile)
            EXPECT_EQ(readFile(victim), "not the shop's\n");
        else
            EXPECT_FALSE(fs::exists(victim)) << which;
    }
}

TEST(TextFile, NewFilesGetThePermissionsOfAnyNewFileOfTheUser)
{
    const mode_t previous = ::umask(0);
    for (const mode_t mask : {022, 077, 002}) {
        ::umask(mask);
        TemporaryFolder folder;
        platform::writeLines(folder.path() + "/Categories.dat", {"Forms"});
        platform::appendLine(folder.path() + "/added.dat", "Forms");
        for (const char* name : {"/Categories.dat", "/added.dat"}) {
            struct stat status {};
            ASSERT_EQ(::stat((folder.path() + name).c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << name << " under umask " << std::oct << mask;
        }
    }
    ::umask(previous);
}

TEST(TextFile, AFullDiskKeepsTheOldFileAndLeavesNothingBesideIt)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/PriceData.dta";
    writeFile(path, "old\r\n");
    {
        const testsupport::FileSizeLimit full(64);
        EXPECT_EQ(faultNumber([&] { platform::writeLines(path, Items(100, "1000")); }), 75);
    }
    EXPECT_EQ(readFile(path), "old\r\n");
    EXPECT_EQ(entriesIn(folder.path()), 1);
}

// Two runs saving the same file at once (two windows, or a window and a command): every save is whole,
// neither takes or removes the other's new file, and nothing is left beside it.
TEST(TextFile, TwoRunsSavingAtOnceEachPutAWholeFileInPlace)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/Categories.dat";
    const Items ours(200, "Letterheads and Envelopes");
    const Items theirs(300, "Business Forms");
    const auto saveOften = [&](const Items& lines) {
        int faults = 0;
        for (int i = 0; i < 100; ++i)
            faults += faultNumber([&] { platform::writeLines(path, lines); }) != 0;
        return faults;
    };
    std::fflush(nullptr);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0)
        ::_exit(saveOften(theirs));
    EXPECT_EQ(saveOften(ours), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "faults in the other run: " << status;
    const Items items = platform::readItems(path);
    EXPECT_TRUE(items == ours || items == theirs) << items.size() << " lines";
    EXPECT_EQ(entriesIn(folder.path()), 1);
}

TEST(TextFile, MissingFileIsFaultFiftyThreeNamingTheFile)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/vmOrvCk.dat";
    try {
        platform::readItems(path);
        FAIL() << "no fault";
    } catch (const platform::Fault& f) {
        EXPECT_EQ(f.number(), 53);
        EXPECT_NE(std::string(f.what()).find(path), std::string::npos) << f.what();
        EXPECT_NE(std::string(f.what()).find("File not found"), std::string::npos) << f.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path)); // reading creates nothing
}

TEST(TextFile, FolderInPlaceOfTheFileIsFaultSeventyFive)
{
    TemporaryFolder folder;
    EXPECT_EQ(faultNumber([&] { platform::readItems(folder.path()); }), 75);
    EXPECT_EQ(faultNumber([&] { platform::writeLines(folder.path(), {"x"}); }), 75);
    EXPECT_EQ(faultNumber([&] { platform::appendLine(folder.path(), "x"); }), 75);
}

// What may stand at the name of a small file instead of the shop's own: each is read at once as fault 75 naming
// the file and why, never waited on nor read without end, and left as it was.
TEST(TextFile, WhatIsNoOrdinaryFileOfAtMostTheLimitIsNotRead)
{
    const testsupport::Watchdog watchdog(20);
    enum class AtTheName { Fifo, Device, Folder, OverTheLimit, ProgramMemory, SystemFile, AtTheLimit };
    const struct
    {
        AtTheName at;
        const char* reason; // none: the file is read
    } cases[] = {
        {AtTheName::Fifo, "is a pipe or a device, not a file"},
        {AtTheName::Device, "is a pipe or a device, not a file"},
        {AtTheName::Folder, "is a folder, not a file"},
        {AtTheName::OverTheLimit, "holds more than 1 MB"},
        {AtTheName::ProgramMemory, "could not be read"},
        {AtTheName::SystemFile, "changed while it was read or is not an ordinary file"},
        {AtTheName::AtTheLimit, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.at));
        TemporaryFolder folder;
        const std::string path = folder.path() + "/Categories.dat";
        switch (c.at) {
        case AtTheName::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
            break;
        case AtTheName::Device:
            fs::create_symlink("/dev/null", path);
            break;
        case AtTheName::Folder:
            fs::create_directory(path);
            break;
        case AtTheName::OverTheLimit:
            writeFile(path, std::string(platform::kSmallFileLimit + 1, 'x'));
            break;
        case AtTheName::ProgramMemory:
            fs::create_symlink("/proc/self/mem", path);
            break;
        case AtTheName::SystemFile:
            fs::create_symlink("/proc/self/status", path); // its size says 0
            break;
        case AtTheName::AtTheLimit:
            writeFile(path, std::string(platform::kSmallFileLimit, 'x'));
            break;
        }
        const fs::file_type type = fs::symlink_status(path).type();
        std::string text;
        const int number = faultNumber([&] { platform::readItems(path); }, &text);
        if (c.reason) {
            EXPECT_EQ(number, 75);
            EXPECT_NE(text.find(path), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        } else {
            EXPECT_EQ(number, 0) << text;
        }
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_GE(fs::file_size(path), platform::kSmallFileLimit);
        }
        EXPECT_EQ(entriesIn(folder.path()), 1);
    }
}

TEST(TextFile, MissingFolderIsFaultSeventySixAndCreatesNothing)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/no such folder/PriceData.dta";
    try {
        platform::writeLines(path, {"1000"});
        FAIL() << "no fault";
    } catch (const platform::Fault& f) {
        EXPECT_EQ(f.number(), 76);
        EXPECT_NE(std::string(f.what()).find(path), std::string::npos) << f.what();
    }
    EXPECT_EQ(faultNumber([&] { platform::appendLine(path, "x"); }), 76);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/no such folder"));
}

TEST(TextFile, UnwritableFolderIsFaultSeventyFiveAndKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TemporaryFolder folder;
    const std::string path = folder.path() + "/PriceData.dta";
    writeFile(path, "old\r\n");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(faultNumber([&] { platform::writeLines(path, {"new"}); }), 75);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(readFile(path), "old\r\n");
}

TEST(TextFile, UnreadableFileIsFaultSeventyFive)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TemporaryFolder folder;
    const std::string path = folder.path() + "/Categories.dat";
    writeFile(path, "a\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(faultNumber([&] { platform::readItems(path); }), 75);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

} // namespace
