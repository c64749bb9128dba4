#pragma once

#include <optional>
#include <string>

namespace platform {

// Where the program keeps the few settings it shares with the shop's management system (the data
// folder and the company name under one key). The windows use the system's settings store; tests give
// a store of their own, so no test touches the machine's real settings.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The text of one named value under a key; nothing when the key or the value does not exist.
    virtual std::optional<std::string> read(const std::string& key, const std::string& value) = 0;

    // Writes (creates or replaces) one named value under a key.
    virtual void write(const std::string& key, const std::string& value, const std::string& text) = 0;
};

} // namespace platform
