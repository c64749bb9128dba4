#include "import/StopCleanup.h"

#include <atomic>
#include <cstring>

#include <unistd.h>

namespace access_import {

void StopCleanup::removeOnStop(const std::vector<std::string>& paths)
{
    m_pathCount = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    sig_atomic_t count = 0;
    for (const std::string& path : paths) {
        if (static_cast<std::size_t>(count) == kMostPaths || path.size() >= kPathRoom)
            break;
        std::memcpy(m_paths[static_cast<std::size_t>(count)].data(), path.c_str(), path.size() + 1);
        ++count;
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    m_pathCount = count;
}

void StopCleanup::stopReaderOnStop(pid_t reader)
{
    m_reader = static_cast<sig_atomic_t>(reader);
}

void StopCleanup::clear()
{
    m_reader = 0;
    m_pathCount = 0;
}

void StopCleanup::run() const noexcept
{
    if (m_reader > 0)
        ::kill(static_cast<pid_t>(m_reader), SIGKILL);
    const sig_atomic_t count = m_pathCount;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    for (sig_atomic_t i = 0; i < count; ++i)
        ::unlink(m_paths[static_cast<std::size_t>(i)].data());
}

} // namespace access_import
