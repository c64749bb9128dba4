#include "data/BusyWait.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include <sqlite3.h>

namespace data {

namespace {

using Clock = std::chrono::steady_clock;

// A Ctrl-C is answered within this, and a freed lock taken within it too.
constexpr auto kPause = std::chrono::milliseconds(10);

std::atomic<bool> g_cancelled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// `limit` is the wait's length in milliseconds, carried as the handler's argument. A thread waits for one
// lock at a time, so the time its wait began is the thread's own.
int busyWait(void* limit, int count)
{
    thread_local Clock::time_point since;
    const Clock::time_point now = Clock::now();
    if (count == 0)
        since = now;
    const auto allowed = std::chrono::milliseconds(reinterpret_cast<std::intptr_t>(limit));
    const auto waited = now - since;
    if (g_cancelled.load() || waited >= allowed)
        return 0;
    std::this_thread::sleep_for(std::min<Clock::duration>(kPause, allowed - waited));
    return 1;
}

} // namespace

void installBusyWait(sqlite3* db, int milliseconds)
{
    sqlite3_busy_handler(db, busyWait, reinterpret_cast<void*>(static_cast<std::intptr_t>(std::max(milliseconds, 0))));
}

void cancelWaits() noexcept
{
    g_cancelled.store(true);
}

void resumeWaits() noexcept
{
    g_cancelled.store(false);
}

bool waitsCancelled() noexcept
{
    return g_cancelled.load();
}

} // namespace data
