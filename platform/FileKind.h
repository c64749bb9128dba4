#pragma once

#include <string>
#include <string_view>

#include <sys/types.h>

namespace platform {

// What stands at a name that is no ordinary file, as the shop would say it: "a folder", "a pipe", "a device",
// "a socket"; empty for an ordinary file and for a symbolic link (lstat's view of a name).
std::string_view nonFileKind(mode_t mode);

// "'PATH' is a device, not a file: nothing was written to it and it was left as it is. Move it out of the
// way, or write to another name." for what stands at an output name. Empty when an ordinary file, a symbolic
// link or nothing stands there, so the name can be written.
std::string unwritableKindAt(const std::string& path);

// `path` with its folder written as the folder really is, every symbolic link on the way resolved; the last
// name is kept as it is (a file about to be made there, or one that must not be followed). Unchanged when
// the folder cannot be resolved (it is not there): opening then says so.
std::string inRealFolder(const std::string& path);

} // namespace platform
