#include "platform/TextFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/ExclusiveFile.h"
#include "platform/Fault.h"
#include "platform/ReplacementFile.h"
#include "platform/SmallFile.h"

namespace platform {

namespace {

[[noreturn]] void fileFault(int number, const std::string& path)
{
    switch (number) {
    case fault::PathNotFound:
        raise(number, "Path not found: " + path);
    default:
        raise(number, "Path/File access error: " + path);
    }
}

bool isItemBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Before writing: a missing folder is fault 76. (What is no file at the name is fault 75, refused by
// ReplacementFile and by appendLine.)
void checkWritable(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (target.filename().empty())
        fileFault(fault::PathFileAccessError, path);
    const fs::path folder = target.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error))
        fileFault(fault::PathNotFound, path);
}

} // namespace

std::vector<std::string> splitItems(std::string_view content)
{
    std::vector<std::string> items;
    std::size_t pos = 0;
    const std::size_t end = content.size();
    while (pos < end) {
        // Blanks and line ends before an item are passed over, so empty lines give no item.
        while (pos < end && (isItemBlank(content[pos]) || isLineEnd(content[pos])))
            ++pos;
        if (pos >= end)
            break;
        if (content[pos] == ',') {
            items.emplace_back(); // nothing before the comma: an empty item
            ++pos;
            continue;
        }

        std::string item;
        if (content[pos] == '"') {
            // A quoted item runs to the closing quote (or the end of the file) and may hold commas and line
            // ends; two quotes in a row inside it stand for one quote. Anything between the closing quote and
            // the next comma or line end is dropped.
            ++pos;
            while (pos < end) {
                const std::size_t quote = content.find('"', pos);
                const std::size_t stop = quote == std::string_view::npos ? end : quote;
                item.append(content.substr(pos, stop - pos));
                pos = stop == end ? end : stop + 1;
                if (pos >= end || content[pos] != '"')
                    break;
                item += '"';
                ++pos;
            }
            while (pos < end && content[pos] != ',' && !isLineEnd(content[pos]))
                ++pos;
        } else {
            const std::size_t start = pos;
            while (pos < end && content[pos] != ',' && !isLineEnd(content[pos]))
                ++pos;
            std::size_t last = pos;
            while (last > start && isItemBlank(content[last - 1]))
                --last;
            item.assign(content.substr(start, last - start));
        }
        items.push_back(std::move(item));
        if (pos < end && content[pos] == ',')
            ++pos; // a line end is passed over by the blank skipping above
    }
    return items;
}

std::vector<std::string> readItems(const std::string& path)
{
    return splitItems(readSmallFile(path));
}

std::string itemLine(std::string_view item)
{
    const bool readsBackAsItIs = !item.empty() && item.find_first_of(",\r\n") == std::string_view::npos &&
                                 !isItemBlank(item.front()) && item.front() != '"' && !isItemBlank(item.back());
    if (readsBackAsItIs)
        return std::string(item);
    std::string line = "\"";
    for (const char c : item) {
        line += c;
        if (c == '"')
            line += '"';
    }
    line += '"';
    return line;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines)
{
    checkWritable(path);
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    // The new text goes to a file of its own beside the old one and then takes its place, so a full disk or
    // a failing write never leaves the shop with half a file.
    try {
        ReplacementFile file(path, ".new-");
        file.write(content);
        file.putInPlace(ReplacementFile::Placing::Replace);
    } catch (const std::system_error&) {
        fileFault(fault::PathFileAccessError, path);
    }
}

void writeItems(const std::string& path, const std::vector<std::string>& items)
{
    std::vector<std::string> lines;
    lines.reserve(items.size());
    for (const std::string& item : items)
        lines.push_back(itemLine(item));
    writeLines(path, lines);
}

void appendLine(const std::string& path, std::string_view line)
{
    checkWritable(path);
    // Added at the end of the file itself rather than by rewriting it beside: a line another program or run
    // appends meanwhile is kept, and so are the file's owner and permissions. A symbolic link at the name is
    // refused instead of followed, and so is anything but a plain file (a FIFO would wait for a reader).
    const FileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    struct stat status {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        fileFault(fault::PathFileAccessError, path);
    try {
        writeAll(fd, std::string(line) + "\r\n", path);
    } catch (const std::system_error&) {
        fileFault(fault::PathFileAccessError, path);
    }
}

} // namespace platform
