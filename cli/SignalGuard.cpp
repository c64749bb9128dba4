#include "cli/SignalGuard.h"

#include <atomic>
#include <stdexcept>

namespace cli {

namespace {

std::atomic<SignalGuard*> g_innermost{nullptr};
static_assert(std::atomic<SignalGuard*>::is_always_lock_free, "read from a signal handler");

} // namespace

SignalGuard::SignalGuard(std::initializer_list<int> caught, void (*handler)(int), Ignored ignored)
{
    if (caught.size() > kMostSignals)
        throw std::logic_error("SignalGuard: too many signals");
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // As signal() installs a handler: a read or wait the signal interrupts goes on afterwards.
    action.sa_flags = SA_RESTART;
    // The guard is the innermost before its handler can run.
    m_outer = g_innermost.exchange(this);
    for (const int signal : caught) {
        Saved& saved = m_saved[m_count];
        if (::sigaction(signal, nullptr, &saved.previous) != 0)
            continue;
        if (ignored == Ignored::Keep && saved.previous.sa_handler == SIG_IGN)
            continue;
        saved.signal = signal;
        std::atomic_signal_fence(std::memory_order_release);
        ++m_count;
        ::sigaction(signal, &action, nullptr);
    }
}

SignalGuard::~SignalGuard()
{
    for (std::size_t i = 0; i < m_count; ++i)
        ::sigaction(m_saved[i].signal, &m_saved[i].previous, nullptr);
    g_innermost.store(m_outer);
}

void SignalGuard::restorePrevious(int signal)
{
    const SignalGuard* guard = g_innermost.load();
    if (!guard)
        return;
    for (std::size_t i = 0; i < guard->m_count; ++i)
        if (guard->m_saved[i].signal == signal)
            ::sigaction(signal, &guard->m_saved[i].previous, nullptr);
}

} // namespace cli
