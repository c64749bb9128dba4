#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ExclusiveFile.h"

namespace pricing {

// One price line of a page put aside, with the quantity it prices.
struct StoredLine
{
    std::int32_t quantity = 0;
    std::string line;
    bool operator==(const StoredLine&) const = default;
};

// The price lines of a book's pages, put aside in a file of their own while the book is priced, laid out
// and printed, so a book of long pages holds no more than one page's lines in memory at a time. The file is
// made in the system's temporary folder without a name (or its name is removed at once), so nothing of it
// outlives the program, however it ends.
class PageStore
{
public:
    // A platform::Fault when the temporary folder takes no file.
    PageStore();

    // Puts a page's lines aside; returns the number they are given back by. A platform::Fault when the disk
    // of the temporary folder is full.
    std::size_t keep(const std::vector<std::string>& lines, const std::vector<std::int32_t>& quantities);
    std::vector<StoredLine> page(std::size_t number) const;

private:
    struct Where
    {
        std::uint64_t offset = 0;
        std::uint64_t bytes = 0;
    };
    platform::FileDescriptor m_file;
    std::string m_folder; // for messages
    std::uint64_t m_end = 0;
    std::vector<Where> m_pages;
};

} // namespace pricing
