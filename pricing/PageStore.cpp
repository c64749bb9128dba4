#include "pricing/PageStore.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/Fault.h"

namespace pricing {

namespace {

[[noreturn]] void cannotKeep(const std::string& folder, int error)
{
    throw platform::Fault(platform::fault::PathFileAccessError,
                          "The book's prices could not be put aside in the temporary folder " + folder +
                              " while it is printed. Make room on its disk and try again.",
                          std::generic_category().message(error));
}

void put32(std::string& out, std::uint32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    out.append(bytes, sizeof bytes);
}

std::uint32_t get32(const std::string& in, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, in.data() + at, sizeof value);
    return value;
}

} // namespace

PageStore::PageStore()
{
    std::error_code ignored;
    m_folder = std::filesystem::temp_directory_path(ignored).string();
    if (m_folder.empty())
        m_folder = "/tmp";
    // A file without a name where the file system can make one; else one whose name goes at once.
    m_file = platform::FileDescriptor(::open(m_folder.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600));
    if (m_file.get() < 0) {
        std::string name = (std::filesystem::path(m_folder) / "pricebook-pages-XXXXXX").string();
        m_file = platform::FileDescriptor(::mkostemp(name.data(), O_CLOEXEC));
        if (m_file.get() < 0)
            cannotKeep(m_folder, errno);
        ::unlink(name.c_str());
    }
}

std::size_t PageStore::keep(const std::vector<std::string>& lines, const std::vector<std::int32_t>& quantities)
{
    // Each line as its quantity, its length and its bytes.
    std::string block;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        put32(block, static_cast<std::uint32_t>(k < quantities.size() ? quantities[k] : 0));
        put32(block, static_cast<std::uint32_t>(lines[k].size()));
        block += lines[k];
    }
    // Written at the end, where the file's position stays: the pages are read back with pread.
    try {
        platform::writeAll(m_file, block, m_folder);
    } catch (const std::system_error& error) {
        cannotKeep(m_folder, error.code().value());
    }
    m_pages.push_back({m_end, block.size()});
    m_end += block.size();
    return m_pages.size() - 1;
}

std::vector<StoredLine> PageStore::page(std::size_t number) const
{
    const Where where = m_pages.at(number);
    std::string block;
    try {
        block = platform::readAt(m_file, where.offset, where.bytes, m_folder);
    } catch (const std::system_error& error) {
        throw platform::Fault(platform::fault::PathFileAccessError,
                              "The book's prices put aside in the temporary folder " + m_folder +
                                  " could not be read back.",
                              error.code().message());
    }
    std::vector<StoredLine> lines;
    for (std::size_t at = 0; at + 8 <= block.size();) {
        StoredLine& line = lines.emplace_back();
        line.quantity = static_cast<std::int32_t>(get32(block, at));
        const std::uint32_t length = get32(block, at + 4);
        line.line = block.substr(at + 8, length);
        at += 8 + length;
    }
    return lines;
}

} // namespace pricing
