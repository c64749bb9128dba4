#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace cli {

// A stream's output on its way to a terminal: every control character in it, such as text from the shop's
// data may hold (an order's description with an escape sequence), is shown as an escape, as printable()
// shows it, instead of reaching the terminal, where it could move the cursor, recolour or retitle the
// window. Line ends, tabs and form feeds pass as they are, a carriage return only before its line end.
// Output into a file or a pipe is left byte for byte as it is.
class TerminalOutput
{
public:
    // Filters `out` while the object lives, when `fd` (the descriptor `out` writes to) is a terminal.
    TerminalOutput(std::ostream& out, int fd);
    ~TerminalOutput();
    TerminalOutput(const TerminalOutput&) = delete;
    TerminalOutput& operator=(const TerminalOutput&) = delete;

private:
    class Filter : public std::streambuf
    {
    public:
        explicit Filter(std::streambuf* target) : m_target(target) {}
        // Writes what is still held, a character cut short included.
        void finish();

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        // Passes on all that is held but what may still change its meaning: the start of a UTF-8 character
        // and a carriage return whose next character has not come yet.
        void pass(bool all);

        std::streambuf* m_target;
        std::string m_held;
    };

    std::ostream* m_out = nullptr;
    std::streambuf* m_previous = nullptr;
    std::unique_ptr<Filter> m_filter;
};

// `text` as TerminalOutput passes it to a terminal.
std::string terminalText(std::string_view text);

} // namespace cli
