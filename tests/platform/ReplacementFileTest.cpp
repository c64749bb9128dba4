// Files written whole beside their target: what may stand at the target's name, and what runs that were
// killed leave beside it. Each thing at the name is made for real (a device node, a FIFO, a socket, a
// folder), and each other run is a real process.
#include <cstring>
#include <filesystem>
#include <string>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/ReplacementFile.h"
#include "platform/TextFile.h"
#include "tests/support/Faults.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Watchdog.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TemporaryFolder;

long entriesIn(const std::string& folder)
{
    return std::distance(fs::directory_iterator(folder), {});
}

// A folder, a pipe, a device node (a copy of /dev/null) or a socket at the output's name: writing there is
// fault 75 naming it and what it is, at once (a FIFO without a reader would otherwise wait), and it is left
// exactly as it was, with nothing beside it.
TEST(ReplacementFile, WhatIsNoFileAtTheNameIsRefusedAndLeftAsItWas)
{
    const testsupport::Watchdog watchdog(20);
    enum class AtTheName { Device, Fifo, Socket, Folder };
    const struct
    {
        AtTheName at;
        const char* kind;
    } cases[] = {
        {AtTheName::Device, "is a device, not a file"},
        {AtTheName::Fifo, "is a pipe, not a file"},
        {AtTheName::Socket, "is a socket, not a file"},
        {AtTheName::Folder, "is a folder, not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TemporaryFolder folder;
        const std::string path = folder.path() + "/book.txt";
        switch (c.at) {
        case AtTheName::Device:
            if (::geteuid() != 0) {
                std::printf("device node case skipped: making one needs root\n");
                continue;
            }
            ASSERT_EQ(::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0) << std::strerror(errno);
            break;
        case AtTheName::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
            break;
        case AtTheName::Socket: {
            const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
            ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            ::close(socket);
            break;
        }
        case AtTheName::Folder:
            fs::create_directory(path);
            break;
        }
        struct stat before {};
        ASSERT_EQ(::lstat(path.c_str(), &before), 0);

        std::string text;
        EXPECT_EQ(testsupport::faultNumber([&] { platform::writeLines(path, {"Counter Price Book"}); }, &text), 75);
        EXPECT_NE(text.find("'" + path + "' " + c.kind), std::string::npos) << text;
        EXPECT_EQ(testsupport::faultNumber([&] { platform::ReplacementFile(path, ".new-"); }), 75);

        struct stat after {};
        ASSERT_EQ(::lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_rdev, before.st_rdev);
        EXPECT_EQ(entriesIn(folder.path()), 1);
    }
}

// Something put at the name while the new file was being written is not replaced either.
TEST(ReplacementFile, AFifoPutAtTheNameMeanwhileIsNotReplaced)
{
    TemporaryFolder folder;
    const std::string path = folder.path() + "/changes.csv";
    platform::ReplacementFile file(path, ".new-");
    file.write("reference,part\r\n");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    EXPECT_EQ(testsupport::faultNumber([&] { file.putInPlace(platform::ReplacementFile::Placing::Replace); }), 75);
    EXPECT_TRUE(fs::is_fifo(path));
}

// A run killed while it wrote leaves its new file behind; the next run that writes the same file removes it,
// but never the file of a run still writing (here a second process holding one open).
TEST(ReplacementFile, WhatAKilledRunLeftIsRemovedAndARunningOnesFileIsKept)
{
    const testsupport::Watchdog watchdog(30);
    TemporaryFolder folder;
    const std::string path = folder.path() + "/book.pdf";
    const auto newFiles = [&] {
        int count = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder.path()))
            count += entry.path().filename().string().starts_with("book.pdf.new-");
        return count;
    };

    // Killed in the middle of its writing.
    std::fflush(nullptr);
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        platform::ReplacementFile file(path, ".new-");
        file.write(std::string(200000, 'x'));
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(newFiles(), 1);

    // Still writing until the test lets it go.
    int release[2];
    int ready[2];
    ASSERT_EQ(::pipe(release), 0);
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        {
            platform::ReplacementFile file(path, ".new-");
            file.write("still writing");
            char c = 0;
            (void)!::write(ready[1], "r", 1);
            (void)!::read(release[0], &c, 1);
        }
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(newFiles(), 1) << "the killed run's file is removed by the next run writing there";

    platform::writeLines(path, {"whole"});
    EXPECT_EQ(testsupport::readFile(path), "whole\r\n");
    EXPECT_EQ(newFiles(), 1) << "the running one's file is kept";

    (void)!::write(release[1], "g", 1);
    ASSERT_EQ(::waitpid(running, &status, 0), running);
    EXPECT_EQ(newFiles(), 0);
    for (const int fd : {release[0], release[1], ready[0], ready[1]})
        ::close(fd);
}

} // namespace
