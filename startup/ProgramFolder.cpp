#include "startup/ProgramFolder.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace startup {

namespace {

constexpr std::string_view kProgramDirOption = "--program-dir";

} // namespace

void nameProgram()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("PriceCatalogs"));
}

std::optional<std::string> programFolderOption(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kProgramDirOption && i + 1 < arguments.size())
            return arguments[i + 1];
        if (argument.size() > kProgramDirOption.size() && argument.starts_with(kProgramDirOption) &&
            argument[kProgramDirOption.size()] == '=')
            return std::string(argument.substr(kProgramDirOption.size() + 1));
    }
    return std::nullopt;
}

std::string resolveProgramFolder(const std::optional<std::string>& given, const std::string& executableFolder)
{
    if (given)
        return *given;
    const QString executable = QString::fromStdString(executableFolder);
    const QFileInfo folder(executable);
    const bool installed =
        !executable.isEmpty() && QFileInfo(QDir(executable).filePath(QStringLiteral("../share/pricebook"))).isDir();
    if (!executable.isEmpty() && !installed && folder.isDir() && folder.isWritable())
        return QDir::toNativeSeparators(executable).toStdString();
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appData);
    return QDir::toNativeSeparators(appData).toStdString();
}

std::string runningProgramFolder(const char* argv0)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path executable;
#if defined(__linux__)
    executable = fs::read_symlink("/proc/self/exe", error);
#endif
    if (executable.empty() && argv0 && std::string_view(argv0).find('/') != std::string_view::npos)
        executable = fs::absolute(argv0, error);
    if (executable.empty() || error)
        return {};
    return executable.parent_path().string();
}

} // namespace startup
