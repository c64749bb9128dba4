#pragma once

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <sched.h>
#include <sys/mount.h>

namespace testsupport {

// Mounts that only this test process, and the programs it starts from then on, see: the object gives the
// process a mount namespace of its own. So a test run as root (whom permission bits do not stop) sets up a
// real read-only folder or file, by mounting a read-only view of it over itself, and a real full disk, by
// mounting a small file system on a folder. A program started before still sees the folder as it is, as
// the shop's other programs would. Everything mounted goes with the object, and with the process anyway.
class PrivateMounts
{
public:
    PrivateMounts()
    {
        if (::unshare(CLONE_NEWNS) != 0)
            failed("a mount namespace of its own");
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            failed("mounts of its own");
        else
            m_usable = true;
    }
    ~PrivateMounts()
    {
        for (auto path = m_mounted.rbegin(); path != m_mounted.rend(); ++path)
            ::umount2(path->c_str(), MNT_DETACH);
    }
    PrivateMounts(const PrivateMounts&) = delete;
    PrivateMounts& operator=(const PrivateMounts&) = delete;

    // Why the last step could not be done (for the test's skip), or empty.
    const std::string& why() const noexcept { return m_why; }

    // The file or folder can no longer be written by this process and what it starts.
    bool makeReadOnly(const std::string& path)
    {
        if (!m_usable)
            return false;
        if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return failed("a view of " + path);
        m_mounted.push_back(path);
        if (::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return failed("a read-only view of " + path);
        return true;
    }

    // The folder becomes an empty file system of that many kilobytes.
    bool mountSmallDisk(const std::string& folder, std::size_t kilobytes)
    {
        if (!m_usable)
            return false;
        const std::string size = "size=" + std::to_string(kilobytes) + "k";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0)
            return failed("a small file system on " + folder);
        m_mounted.push_back(folder);
        return true;
    }

private:
    bool failed(const std::string& what)
    {
        m_why = "this machine does not give the test " + what + " (" + std::strerror(errno) + ")";
        return false;
    }

    bool m_usable = false;
    std::string m_why;
    std::vector<std::string> m_mounted;
};

} // namespace testsupport
