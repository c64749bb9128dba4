// The shop database on a read-only file, in a read-only folder and on a full disk, each set up for real,
// with and without the shop's other program keeping it open: what the SQL console and a pricing run say,
// and that the file is left as it was.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/reliability/ProgramRunner.h"
#include "tests/support/PrivateMounts.h"
#include "tests/support/TestDatabase.h"

namespace {

using reliability::BackgroundProgram;
using reliability::program;
using reliability::runShell;
using reliability::shellQuoted;
namespace fs = std::filesystem;

constexpr int ExitDataFolder = 3;

enum class Fault { ReadOnlyFile, ReadOnlyFolder, FullDisk };

// What one command is expected to end with: its exit code and a part of what it says.
struct Expected
{
    int exitCode;
    std::string says;
};

struct Case
{
    const char* why;
    Fault fault;
    bool otherProgramHasItOpen;
    Expected select;    // pricebook sql SELECT
    Expected price;     // pricebook price
    Expected update;    // pricebook sql --write UPDATE
};

const std::string kRunReadOnly = "The order row could not be written: the shop database or its folder is read-only.";
const std::string kRunDiskFull = "The order row could not be written: the disk is full.";
const std::string kFolderCannotBeRead = "cannot be written, so the database";
const std::string kNoSpace = "There is no space left on the disk that holds";

const std::vector<Case> kCases = {
    {"a read-only file", Fault::ReadOnlyFile, false, {0, "12"}, {ExitDataFolder, kRunReadOnly},
     {ExitDataFolder, "is a read-only file, so it cannot be updated"}},
    {"a read-only folder, the database open in another program", Fault::ReadOnlyFolder, true, {0, "12"},
     {ExitDataFolder, kRunReadOnly}, {ExitDataFolder, "cannot be written, so the database"}},
    {"a read-only folder, the database open nowhere else", Fault::ReadOnlyFolder, false,
     {ExitDataFolder, kFolderCannotBeRead}, {ExitDataFolder, kFolderCannotBeRead},
     {ExitDataFolder, kFolderCannotBeRead}},
    {"a full disk, the database open in another program", Fault::FullDisk, true, {0, "12"},
     {ExitDataFolder, kRunDiskFull}, {ExitDataFolder, kNoSpace}},
    {"a full disk, the database open nowhere else", Fault::FullDisk, false, {ExitDataFolder, kNoSpace},
     {ExitDataFolder, kNoSpace}, {ExitDataFolder, kNoSpace}},
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.why;
}

// Writes into the folder until its disk has no room left.
void fillTheDisk(const std::string& folder)
{
    std::ofstream filler(folder + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
}

class ReadOnlyAndFullDisk : public testing::TestWithParam<Case>
{
};

TEST_P(ReadOnlyAndFullDisk, SayWhatIsWrongAndLeaveTheFileAsItWas)
{
    const Case& c = GetParam();
    testsupport::TemporaryFolder work;
    const std::string built = work.path() + "/built";
    reliability::makeDemoFolder(built, work.path());
    const std::string folder = work.path() + "/shop";
    const std::string database = folder + "/vmdata.mdb";
    fs::create_directory(folder);

    // The other program starts before the mounts, so it still sees the folder as writable; on the small
    // disk it is started once the database is there.
    std::unique_ptr<BackgroundProgram> otherProgram;
    const auto startOtherProgram = [&] {
        otherProgram = std::make_unique<BackgroundProgram>("sqlite3 " + shellQuoted(database), work.path(), "other");
        otherProgram->send("SELECT COUNT(*) FROM ORDERS;\n");
        ASSERT_TRUE(otherProgram->waitForOutput("12\n")) << "the other program could not read the database";
    };
    if (c.fault != Fault::FullDisk) {
        fs::copy(built, folder, fs::copy_options::recursive);
        if (c.otherProgramHasItOpen)
            startOtherProgram();
    }
    testsupport::PrivateMounts mounts;
    switch (c.fault) {
    case Fault::ReadOnlyFile:
        if (!mounts.makeReadOnly(database))
            GTEST_SKIP() << mounts.why();
        break;
    case Fault::ReadOnlyFolder:
        if (!mounts.makeReadOnly(folder))
            GTEST_SKIP() << mounts.why();
        break;
    case Fault::FullDisk:
        if (!mounts.mountSmallDisk(folder, fs::file_size(built + "/vmdata.mdb") / 1024 + 256))
            GTEST_SKIP() << mounts.why();
        fs::copy(built, folder, fs::copy_options::recursive);
        if (c.otherProgramHasItOpen)
            startOtherProgram();
        fillTheDisk(folder);
        break;
    }
    const std::string before = testsupport::readFile(database);

    const auto expect = [&](const char* what, const std::string& arguments, const Expected& expected) {
        const auto run = runShell(program() + " " + arguments, work.path());
        EXPECT_EQ(run.exitCode, expected.exitCode) << what << ": " << run.err;
        EXPECT_NE((run.out + run.err).find(expected.says), std::string::npos)
            << what << " says:\n" << run.out << run.err;
    };
    expect("the console's SELECT", "sql " + shellQuoted(folder) + " 'SELECT COUNT(*) FROM ORDERS'", c.select);
    expect("the pricing run",
           "price " + shellQuoted(folder) + " --order 24101 --qty 100 --program-dir " + shellQuoted(work.path()),
           c.price);
    expect("the console's UPDATE", "sql --write " + shellQuoted(folder) + " 'UPDATE ORDERS SET PRESSQTY = 1'",
           c.update);
    EXPECT_EQ(testsupport::readFile(database), before);
}

INSTANTIATE_TEST_SUITE_P(Reliability, ReadOnlyAndFullDisk, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.why; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name += *p;
                             return name;
                         });

} // namespace
