#include "cli/TerminalOutput.h"

#include <unistd.h>

#include "cli/Report.h"

namespace cli {

namespace {

bool passesAsItIs(char c)
{
    return c == '\n' || c == '\t' || c == '\f';
}

// How many bytes at the end of `text` begin a UTF-8 character that is not complete yet.
std::size_t unfinishedCharacter(std::string_view text)
{
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back
        const std::size_t length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

std::string terminalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const bool lineEnd = !end && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (!end && !passesAsItIs(text[i]) && !lineEnd)
            continue;
        out += printable(text.substr(start, i - start));
        if (!end)
            out += text[i];
        start = i + 1;
    }
    return out;
}

TerminalOutput::TerminalOutput(std::ostream& out, int fd)
{
    if (::isatty(fd) != 1)
        return;
    out.flush();
    m_out = &out;
    m_filter = std::make_unique<Filter>(out.rdbuf());
    m_previous = out.rdbuf(m_filter.get());
}

TerminalOutput::~TerminalOutput()
{
    if (!m_out)
        return;
    m_out->flush();
    m_filter->finish();
    m_out->rdbuf(m_previous);
}

void TerminalOutput::Filter::pass(bool all)
{
    std::size_t keep = all ? 0 : unfinishedCharacter(m_held);
    if (!all && keep == 0 && !m_held.empty() && m_held.back() == '\r')
        keep = 1;
    const std::string text = terminalText(std::string_view(m_held).substr(0, m_held.size() - keep));
    m_target->sputn(text.data(), static_cast<std::streamsize>(text.size()));
    m_held.erase(0, m_held.size() - keep);
}

void TerminalOutput::Filter::finish()
{
    pass(true);
    m_target->pubsync();
}

TerminalOutput::Filter::int_type TerminalOutput::Filter::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    m_held += traits_type::to_char_type(c);
    if (m_held.size() >= 4096 || m_held.back() == '\n')
        pass(false);
    return c;
}

std::streamsize TerminalOutput::Filter::xsputn(const char* text, std::streamsize count)
{
    m_held.append(text, static_cast<std::size_t>(count));
    if (m_held.size() >= 4096 || m_held.find('\n') != std::string::npos)
        pass(false);
    return count;
}

int TerminalOutput::Filter::sync()
{
    pass(false);
    return m_target->pubsync();
}

} // namespace cli
