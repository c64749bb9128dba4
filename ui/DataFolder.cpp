#include "ui/DataFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/TextFile.h"

namespace ui {

namespace {

std::string& programFolderText()
{
    static std::string folder = ".";
    return folder;
}

std::string& dataFolderText()
{
    static std::string folder;
    return folder;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

void setProgramFolder(const std::string& folder)
{
    programFolderText() = folder;
}

const std::string& programFolder()
{
    return programFolderText();
}

std::string markerFilePath()
{
    const std::string exact = dataFilePath(programFolder(), kMarkerFileName);
    std::error_code error;
    if (std::filesystem::exists(exact, error))
        return exact;
    for (std::filesystem::directory_iterator it(programFolder(), error), end; !error && it != end;
         it.increment(error)) {
        if (sameIgnoringCase(it->path().filename().string(), kMarkerFileName))
            return it->path().string();
    }
    return exact;
}

std::string readMarkerFile()
{
    const std::vector<std::string> items = platform::readItems(markerFilePath());
    return items.empty() ? std::string() : items.front();
}

void writeMarkerFile(const std::string& folder)
{
    platform::writeItems(markerFilePath(), {folder});
}

void setDataFolder(const std::string& folder)
{
    dataFolderText() = folder;
}

const std::string& dataFolder()
{
    return dataFolderText();
}

std::string dataFilePath(const std::string& folder, std::string_view fileName)
{
#ifdef _WIN32
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    std::string path = folder;
    path += separator;
    path += fileName;
    return path;
}

} // namespace ui
