#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "cli/SignalGuard.h"
#include "platform/Fault.h"

namespace cli {

// Ctrl-C asks the running command to stop, for as long as the object lives: requested() turns true, and
// every wait for another program's lock on the shop database ends at once (data::cancelWaits), so the
// command answers within a moment and says "cancelled". The handler goes with the object.
class CtrlC
{
public:
    CtrlC();
    ~CtrlC();
    CtrlC(const CtrlC&) = delete;
    CtrlC& operator=(const CtrlC&) = delete;

    static bool requested() noexcept { return s_requested.load(); }
    // For what polls an atomic flag itself (the SQL console's statement guard).
    static const std::atomic<bool>* flag() noexcept { return &s_requested; }

private:
    static void onSignal(int);
    static std::atomic<bool> s_requested;
    std::optional<SignalGuard> m_guard;
};

// When a fault of the shop database is another program's lock (or a wait for it that Ctrl-C ended), says so
// in the shop's words, `notDone` naming what was not done ("nothing was priced"), and gives the command's
// exit code; none for any other fault.
std::optional<int> reportBusyOrCancelled(const platform::Fault& fault, const std::string& notDone);

} // namespace cli
