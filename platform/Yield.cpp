#include "platform/Yield.h"

#include <utility>

namespace platform {

namespace {

// Held in a function-local static so a hook installed during start-up is never lost to the order in
// which static objects of different files are built.
std::function<void()>& yieldHook()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void yieldEvents()
{
    if (const std::function<void()>& hook = yieldHook())
        hook();
}

void setYieldHook(std::function<void()> hook)
{
    yieldHook() = std::move(hook);
}

} // namespace platform
