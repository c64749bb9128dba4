#include "cli/Report.h"

#include <atomic>

namespace cli {

namespace {

std::atomic<bool> g_verbose{false};

} // namespace

void setVerbose(bool on)
{
    g_verbose = on;
}

bool verbose()
{
    return g_verbose;
}

void report(std::ostream& out, const std::string& message, const std::string& detail)
{
    out << "pricebook: " << message << "\n";
    if (!g_verbose || detail.empty())
        return;
    std::size_t start = 0;
    while (start <= detail.size()) {
        const std::size_t end = detail.find('\n', start);
        out << "    " << detail.substr(start, end == std::string::npos ? std::string::npos : end - start) << "\n";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

} // namespace cli
