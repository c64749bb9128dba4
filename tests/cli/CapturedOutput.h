#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"

namespace testsupport {

// Points std::cout and std::cerr at buffers for the life of the object, so a command runs in-process and
// the test reads what it printed.
class CapturedOutput
{
public:
    CapturedOutput() : m_oldOut(std::cout.rdbuf(m_out.rdbuf())), m_oldErr(std::cerr.rdbuf(m_err.rdbuf())) {}
    ~CapturedOutput()
    {
        std::cout.rdbuf(m_oldOut);
        std::cerr.rdbuf(m_oldErr);
    }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    std::string out() const { return m_out.str(); }
    std::string err() const { return m_err.str(); }

private:
    std::ostringstream m_out;
    std::ostringstream m_err;
    std::streambuf* m_oldOut;
    std::streambuf* m_oldErr;
};

// What a command of the program returned and printed.
struct CommandOutcome
{
    int code = 0;
    std::string out;
    std::string err;
};

// Runs a command (PriceCommand, SheetCommand, ImportCommand ...) in this process with its output caught.
inline CommandOutcome runCommand(const cli::Command& command, const std::vector<std::string>& args)
{
    const CapturedOutput captured;
    const int code = command.execute(args);
    return {code, captured.out(), captured.err()};
}

} // namespace testsupport
