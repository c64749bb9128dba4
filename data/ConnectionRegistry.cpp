#include "data/ConnectionRegistry.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace data {

namespace {

struct Registry
{
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<Connection>> connections;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

std::string canonicalKey(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? path : canonical.string();
}

} // namespace

std::string connectionKey(const std::string& path, Access access)
{
    return canonicalKey(path) + (access == Access::ReadOnly ? "\n(read only)" : "");
}

std::shared_ptr<Connection> sharedConnection(const std::string& key,
                                             const std::function<std::shared_ptr<Connection>()>& open)
{
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    if (const auto found = shared.connections.find(key); found != shared.connections.end())
        if (std::shared_ptr<Connection> existing = found->second.lock())
            return existing;
    std::shared_ptr<Connection> connection = open();
    shared.connections[key] = connection;
    return connection;
}

void registerConnection(const std::string& key, const std::shared_ptr<Connection>& connection)
{
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    shared.connections[key] = connection;
}

void forgetConnection(const std::string& key)
{
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    const auto found = shared.connections.find(key);
    if (found != shared.connections.end() && found->second.expired())
        shared.connections.erase(found);
}

std::vector<std::shared_ptr<Connection>> openConnections()
{
    std::vector<std::shared_ptr<Connection>> open;
    Registry& shared = registry();
    std::lock_guard lock(shared.mutex);
    for (auto& [key, weak] : shared.connections)
        if (std::shared_ptr<Connection> connection = weak.lock())
            open.push_back(std::move(connection));
    return open;
}

} // namespace data
