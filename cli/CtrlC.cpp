#include "cli/CtrlC.h"

#include <csignal>
#include <iostream>

#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "data/BusyWait.h"
#include "data/JetErrors.h"
#include "pricing/PricingRun.h"

namespace cli {

std::atomic<bool> CtrlC::s_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

CtrlC::CtrlC()
{
    s_requested.store(false);
    data::resumeWaits();
    m_guard.emplace(std::initializer_list<int>{SIGINT}, onSignal);
}

CtrlC::~CtrlC()
{
    m_guard.reset();
    data::resumeWaits();
}

void CtrlC::onSignal(int)
{
    s_requested.store(true);
    data::cancelWaits();
}

std::optional<int> reportBusyOrCancelled(const platform::Fault& fault, const std::string& notDone)
{
    if (fault.number() != data::Locked)
        return std::nullopt;
    if (CtrlC::requested()) {
        report(std::cerr, "cancelled while waiting for another program to let go of the shop database; " + notDone);
        return ExitCancelled;
    }
    report(std::cerr, pricing::kShopDatabaseBusyMessage, fault.what() + ("\n" + fault.detail()));
    return ExitDataFolder;
}

} // namespace cli
