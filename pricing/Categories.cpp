#include "pricing/Categories.h"

#include "platform/SmallFile.h"
#include "platform/Statement.h"
#include "platform/TextFile.h"

namespace pricing {

std::string categoriesPath(const std::string& dataFolder)
{
    return dataFolder + "/" + CategoriesFileName;
}

std::vector<std::string> readCategories(const std::string& dataFolder, std::optional<platform::Fault>* unreadable)
{
    std::vector<std::string> categories;
    // No file yet is the normal start: the first Save creates it.
    platform::resumeNext(
        [&] {
            if (const std::optional<std::string> content = platform::readSmallFileIfThere(categoriesPath(dataFolder)))
                categories = platform::splitItems(*content);
        },
        unreadable);
    return categories;
}

bool appendCategory(const std::string& dataFolder, const std::string& name, std::optional<platform::Fault>* fault)
{
    if (name.empty())
        return false;
    const std::string path = categoriesPath(dataFolder);
    return platform::resumeNext(
        [&] {
            // A file that is there but cannot be read stays as it is: a category added to it would never be
            // read back.
            const std::optional<std::string> content = platform::readSmallFileIfThere(path);
            // A file edited by hand may end without a line end; the new category then starts a line of its own
            // instead of being glued onto the last one.
            const bool endsInsideALine =
                content && !content->empty() && content->back() != '\n' && content->back() != '\r';
            platform::appendLine(path, (endsInsideALine ? "\r\n" : "") + platform::itemLine(name));
        },
        fault);
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

bool rewriteCategories(const std::string& dataFolder, const std::vector<std::string>& categories,
                       std::optional<platform::Fault>* fault)
{
    const std::string path = categoriesPath(dataFolder);
    return platform::resumeNext(
        [&] {
            // The editor showed nothing of a file it could not read, so that file is not replaced.
            (void)platform::readSmallFileIfThere(path);
            platform::writeItems(path, categories);
        },
        fault);
}

} // namespace pricing
