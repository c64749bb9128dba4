#include "data/ServerConnectionFile.h"

#include <sstream>
#include <string_view>

#include <libpq-fe.h>

#include "data/JetErrors.h"
#include "data/ServerFaults.h"
#include "platform/Fault.h"
#include "platform/SmallFile.h"

namespace data {

namespace {

std::string trimmed(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(start, end - start + 1));
}

} // namespace

bool isServerConnectionFile(const std::string& path)
{
    return path.size() > 3 && path.compare(path.size() - 3, 3, ".pg") == 0;
}

platform::Outcome checkConnectionString(const std::string& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        const std::string reason = error ? trimmed(error) : "it cannot be read";
        PQfreemem(error);
        return platform::Fault(ServerConnectionFailed, reason);
    }
    bool password = false;
    for (const PQconninfoOption* option = options; option->keyword; ++option)
        if (std::string_view(option->keyword) == "password" && option->val && *option->val)
            password = true;
    PQconninfoFree(options);
    if (password)
        return platform::Fault(ServerConnectionFailed,
                               "it holds a password; keep the password in the password file (.pgpass) of each "
                               "counter's user instead");
    return std::nullopt;
}

std::string readServerConnectionFile(const std::string& path)
{
    std::string content;
    try {
        content = platform::readSmallFile(path);
    } catch (const platform::Fault& fault) {
        throw platform::Fault(CannotOpenFile,
                              "Cannot read the shop database server's connection file " + quoted(path) + ".",
                              fault.what());
    }
    std::istringstream lines(content);
    std::string conninfo;
    for (std::string line; std::getline(lines, line);) {
        line = trimmed(line);
        if (!line.empty() && line.front() != '#') {
            conninfo = line;
            break;
        }
    }
    if (conninfo.empty())
        throw platform::Fault(CannotOpenFile,
                              "The connection file " + quoted(path) +
                                  " names no shop database server: write its connection string "
                                  "or service name in it.");
    const bool bareServiceName =
        conninfo.find('=') == std::string::npos && conninfo.find("://") == std::string::npos;
    if (bareServiceName)
        conninfo = "service=" + conninfo;
    if (const platform::Outcome unusable = checkConnectionString(conninfo))
        throw platform::Fault(CannotOpenFile,
                              "The connection file " + quoted(path) + " cannot be used: " + unusable->what() + ".");
    return conninfo;
}

} // namespace data
