#pragma once

#include <csignal>

#include <unistd.h>

namespace testsupport {

// Ends the test program with a message when the test has not finished within `seconds`: a read that waits
// for ever (on a FIFO, a device) then fails its test instead of stopping the suite.
class Watchdog
{
public:
    explicit Watchdog(unsigned seconds)
    {
        m_previousSignal = std::signal(SIGALRM, &Watchdog::bark);
        ::alarm(seconds);
    }
    ~Watchdog()
    {
        ::alarm(0);
        std::signal(SIGALRM, m_previousSignal);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static void bark(int)
    {
        static constexpr char kText[] = "watchdog: the test was still waiting when its time ran out\n";
        if (::write(STDERR_FILENO, kText, sizeof kText - 1) < 0) {
        }
        ::_exit(124);
    }

    void (*m_previousSignal)(int) = SIG_DFL;
};

} // namespace testsupport
