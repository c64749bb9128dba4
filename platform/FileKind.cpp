#include "platform/FileKind.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace platform {

std::string_view nonFileKind(mode_t mode)
{
    if (S_ISREG(mode) || S_ISLNK(mode))
        return {};
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a device";
}

std::string unwritableKindAt(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {};
    const std::string_view kind = nonFileKind(status.st_mode);
    if (kind.empty())
        return {};
    return "'" + path + "' is " + std::string(kind) +
           ", not a file: nothing was written to it and it was left as it is. Move it out of the way, or write to "
           "another name.";
}

std::string inRealFolder(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path given(path);
    std::error_code error;
    const fs::path folder = fs::canonical(given.has_parent_path() ? given.parent_path() : fs::path("."), error);
    if (error || !given.has_filename())
        return path;
    return (folder / given.filename()).string();
}

} // namespace platform
