#pragma once

#include <functional>

namespace platform {

// Lets pending window events run. The engine calls it after each ink, colour and bindery row, as the
// old program did; the main window installs a hook that processes Qt events, elsewhere it does nothing.
void yieldEvents();
void setYieldHook(std::function<void()> hook);

} // namespace platform
