#pragma once

#include <optional>

namespace shell {

// Where the window has no display to open on (a server, a login without a desktop, a cron job): says so
// on standard error in a plain line that points at the commands, which run without one, and gives exit code
// 1; nothing when the window may start. Decided before the window toolkit starts: no DISPLAY, no
// WAYLAND_DISPLAY, and no platform chosen with QT_QPA_PLATFORM.
std::optional<int> refuseWithoutDisplay();

// While it lives (around the window toolkit's start), a display the toolkit cannot open after all (DISPLAY
// naming a display that is gone) ends the program with the same message and exit code 1, instead of the
// toolkit's abort. The toolkit's own words go behind the message, shown with `verbose`; if it starts, what
// it said meanwhile is passed on as usual when the guard goes.
class DisplayGuard
{
public:
    explicit DisplayGuard(bool verbose);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

} // namespace shell
