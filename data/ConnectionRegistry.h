#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/Access.h"

namespace data {

class Connection;

// The connections open in this process: one per database file and access, so that every Database,
// Recordset and TableView of a file shares one file handle (and its locks).

// The key a connection of the file at `path` is kept under: the file's canonical path, and a mark for a
// read-only connection (never shared with a read-write one).
std::string connectionKey(const std::string& path, Access access);

// The connection kept under `key` while it is open; otherwise the one `open` makes, kept under the key.
// The registry is held while `open` runs, so two threads never open the same file twice.
std::shared_ptr<Connection> sharedConnection(const std::string& key,
                                             const std::function<std::shared_ptr<Connection>()>& open);

// Keeps a connection made without sharedConnection (a new file) under `key`.
void registerConnection(const std::string& key, const std::shared_ptr<Connection>& connection);

// Forgets the connection under `key` once it has closed; called as it closes.
void forgetConnection(const std::string& key);

// Every connection open now. They are collected before anything is done with them: the last handle of one
// may go meanwhile, and its closing takes the registry.
std::vector<std::shared_ptr<Connection>> openConnections();

} // namespace data
