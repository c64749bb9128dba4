#include "tests/import/ImportTestSupport.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "cli/ImportCommand.h"
#include "tests/cli/CapturedOutput.h"

namespace importtest {

namespace fs = std::filesystem;

std::string jet3File() { return std::string(FIXTURES_DIR) + "/access/testV1997.mdb"; }
std::string jet4File() { return std::string(FIXTURES_DIR) + "/access/fixedNumericTestV2000.mdb"; }

Outcome importMdb(const std::vector<std::string>& args)
{
    return testsupport::runCommand(cli::ImportCommand(), args);
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    return names;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !row.empty())
        rows.push_back((row.push_back(field), row));
    return rows;
}

Export mdbExport(const std::string& file, const std::string& table)
{
    Export result;
    if (std::system("command -v mdb-export >/dev/null 2>&1") != 0)
        return result;
    result.found = true;
    const std::string command = "mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' '" + file + "' '" + table + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::string text;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), n);
    ::pclose(pipe);
    result.rows = parseCsv(text);
    return result;
}

} // namespace importtest
