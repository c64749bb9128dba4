#pragma once

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Sets environment variables (or removes those given no value) for the life of the object, and puts back
// what they were.
class ScopedEnvironment
{
public:
    using Setting = std::pair<std::string, std::optional<std::string>>;

    explicit ScopedEnvironment(std::initializer_list<Setting> settings) : ScopedEnvironment(std::vector(settings)) {}
    explicit ScopedEnvironment(const std::vector<Setting>& settings)
    {
        for (const auto& [name, value] : settings) {
            const char* before = std::getenv(name.c_str());
            m_before.push_back({name, before ? std::optional<std::string>(before) : std::nullopt});
            put(name, value);
        }
    }
    ~ScopedEnvironment()
    {
        for (auto it = m_before.rbegin(); it != m_before.rend(); ++it)
            put(it->first, it->second);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void put(const std::string& name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

    std::vector<Setting> m_before;
};

} // namespace testsupport
