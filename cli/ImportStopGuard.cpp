#include "cli/ImportStopGuard.h"

#include <atomic>

namespace cli {

namespace {

std::atomic<const access_import::StopCleanup*> g_cleanup{nullptr};
static_assert(std::atomic<const access_import::StopCleanup*>::is_always_lock_free, "read from a signal handler");

extern "C" void stopImport(int signal)
{
    if (const access_import::StopCleanup* cleanup = g_cleanup.load())
        cleanup->run();
    SignalGuard::restorePrevious(signal);
    ::raise(signal);
}

} // namespace

ImportStopGuard::ImportStopGuard(const access_import::StopCleanup& cleanup)
    : m_outer(g_cleanup.exchange(&cleanup)),
      m_signals({SIGINT, SIGTERM, SIGHUP}, stopImport, SignalGuard::Ignored::Keep)
{
}

ImportStopGuard::~ImportStopGuard()
{
    g_cleanup.store(m_outer);
}

} // namespace cli
