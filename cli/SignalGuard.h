#pragma once

#include <array>
#include <initializer_list>

#include <signal.h>

namespace cli {

// Hands some signals to a handler of the command for as long as the guard lives, and puts back the handlers
// they had before when it goes, so that a command's Ctrl-C handling never outlives the command.
class SignalGuard
{
public:
    // What to do with a signal the program was started ignoring (nohup, a background job of a script).
    enum class Ignored { Catch, Keep };

    SignalGuard(std::initializer_list<int> caught, void (*handler)(int), Ignored ignored = Ignored::Catch);
    ~SignalGuard();
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;

    // For a handler that ends the program: puts back the handler `signal` had before the innermost guard,
    // so that raising it again does what it would have done without the command. Safe in a signal handler.
    static void restorePrevious(int signal);

private:
    struct Saved
    {
        int signal = 0;
        struct sigaction previous {};
    };
    static constexpr std::size_t kMostSignals = 4;
    std::array<Saved, kMostSignals> m_saved{};
    std::size_t m_count = 0;
    SignalGuard* m_outer = nullptr;
};

} // namespace cli
