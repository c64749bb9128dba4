#include "cli/Report.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/FileKind.h"

namespace cli {

namespace {

std::atomic<bool> g_verbose{false};
std::atomic<bool> g_quiet{false};
std::string g_outputFailure; // why standard output could not be written, as the system said it first

} // namespace

void setVerbose(bool on)
{
    g_verbose = on;
}

bool verbose()
{
    return g_verbose;
}

void setQuiet(bool on)
{
    g_quiet = on;
}

bool quiet()
{
    return g_quiet;
}

void report(std::ostream& out, const std::string& message, const std::string& detail)
{
    out << "pricebook: " << printable(message) << "\n";
    if (!g_verbose || detail.empty())
        return;
    std::size_t start = 0;
    while (start <= detail.size()) {
        const std::size_t end = detail.find('\n', start);
        out << "    " << printable(detail.substr(start, end == std::string::npos ? std::string::npos : end - start))
            << "\n";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

void notice(const std::string& message)
{
    if (!g_quiet)
        report(std::cerr, message);
}

bool outputWritten()
{
    return !std::cout.fail();
}

bool flushOutput(std::ostream& out)
{
    // A stream keeps no reason for a failed write: the system's is taken as the failure is seen.
    errno = 0;
    const bool failedBefore = out.fail();
    out.flush();
    if (out.fail() && !failedBefore && errno != 0 && g_outputFailure.empty())
        g_outputFailure = std::strerror(errno);
    return !out.fail();
}

bool finishOutput()
{
    if (flushOutput(std::cout))
        return true;
    report(std::cerr, "the output could not be written" +
                          (g_outputFailure.empty() ? std::string() : " (" + g_outputFailure + ")") +
                          ", so what was printed is incomplete");
    return false;
}

bool reportUnwritableOutput(const std::string& path)
{
    if (path.empty() || path == "-")
        return false;
    const std::string refused = platform::unwritableKindAt(path);
    if (!refused.empty())
        report(std::cerr, refused);
    return !refused.empty();
}

std::string printable(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        // The length of the UTF-8 character that starts here, 0 when none does.
        std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                             : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || lead == 0xC0 || lead == 0xC1 || i + length > text.size())
            length = 0;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                length = 0;
        const bool control = length == 1 ? lead < 0x20 || lead == 0x7F
                                         : length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (length == 0 || control) {
            // A C1 control (U+0080 to U+009F) shows its code point; any other byte its own value.
            if (length == 2) {
                const unsigned point = static_cast<unsigned char>(text[i + 1]);
                out += "\\u00";
                out += kHex[point >> 4];
                out += kHex[point & 0xF];
            } else {
                out += "\\x";
                out += kHex[lead >> 4];
                out += kHex[lead & 0xF];
            }
            i += length == 0 ? 1 : length;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace cli
