#include "pricing/Categories.h"

#include "platform/Statement.h"
#include "platform/TextFile.h"

namespace pricing {

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
    return platform::resumeNext([&] { platform::appendLine(categoriesPath(dataFolder), name); });
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
