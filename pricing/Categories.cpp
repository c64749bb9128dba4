#include "pricing/Categories.h"

#include <fstream>

#include "platform/Statement.h"
#include "platform/TextFile.h"

namespace pricing {
namespace {

bool endsInsideALine(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0)
        return false;
    in.seekg(-1, std::ios::end);
    const int last = in.get();
    return last != '\n' && last != '\r';
}

} // namespace

std::string categoriesPath(const std::string& dataFolder)
{
    return dataFolder + "/" + CategoriesFileName;
}

std::vector<std::string> readCategories(const std::string& dataFolder)
{
    std::vector<std::string> categories;
    // No file yet is the normal start: the first Save creates it.
    platform::resumeNext([&] { categories = platform::readItems(categoriesPath(dataFolder)); });
    return categories;
}

bool appendCategory(const std::string& dataFolder, const std::string& name)
{
    if (name.empty())
        return false;
    const std::string path = categoriesPath(dataFolder);
    // A file edited by hand may end without a line end; the new category then starts a line of its own
    // instead of being glued onto the last one.
    const std::string line = endsInsideALine(path) ? "\r\n" + name : name;
    return platform::resumeNext([&] { platform::appendLine(path, line); });
}

std::vector<std::string> remainingCategories(const std::vector<std::string>& categories,
                                             const std::vector<bool>& selected)
{
    std::vector<std::string> remaining;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (i < selected.size() && selected[i])
            continue;
        remaining.push_back(categories[i]);
    }
    return remaining;
}

bool rewriteCategories(const std::string& dataFolder, const std::vector<std::string>& categories)
{
    return platform::resumeNext([&] { platform::writeLines(categoriesPath(dataFolder), categories); });
}

} // namespace pricing
