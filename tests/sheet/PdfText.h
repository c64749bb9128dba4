#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace testsupport {

// Runs a command and returns what it printed on standard output.
inline std::string commandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

// Whether poppler's pdftotext and pdfinfo are installed (scripts/setup.sh installs them).
inline bool havePdfTools()
{
    return std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

// The text of a PDF file with its layout kept, pages separated by form feeds.
inline std::string pdfText(const std::filesystem::path& pdf)
{
    return commandOutput("pdftotext -layout '" + pdf.string() + "' -");
}

// The page count pdfinfo reads from a PDF file; 0 when it cannot read one.
inline int pdfPages(const std::filesystem::path& pdf)
{
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

} // namespace testsupport
