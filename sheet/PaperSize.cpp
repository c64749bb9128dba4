#include "sheet/PaperSize.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

#include <langinfo.h>
#include <locale.h>
#include <paper.h>
#include <sys/stat.h>

namespace sheet {

namespace {

// The paper of a width and height in points, within a point: libpaper knows a paper by many names ("A4",
// "a4", "letter", "Letter") and by its size alike.
std::optional<Paper> paperOfPoints(double width, double height)
{
    const auto near = [](double a, double b) { return std::abs(a - b) < 1.0; };
    if (near(width, 595.276) && near(height, 841.89))
        return Paper::A4;
    if (near(width, 612) && near(height, 792))
        return Paper::Letter;
    return std::nullopt;
}

// libpaper's choice. It reads the paper file with a plain read, which would wait for ever on a pipe put at
// its name: the file is read only when PAPERSIZE does not decide and it is an ordinary file (or missing).
std::optional<Paper> libpaperPaper()
{
    // libpaper keeps its state in the process: one caller at a time.
    static std::mutex oneAtATime;
    const std::lock_guard<std::mutex> lock(oneAtATime);
    const char* size = std::getenv("PAPERSIZE");
    if (size == nullptr || *size == '\0') {
        struct stat status {};
        const char* file = systempapersizefile();
        if (file != nullptr && ::stat(file, &status) == 0 && !S_ISREG(status.st_mode))
            return std::nullopt;
    }
    paperinit();
    const std::unique_ptr<char, decltype(&std::free)> name(systempapername(), &std::free);
    const struct paper* known = name ? paperinfo(name.get()) : nullptr;
    std::optional<Paper> chosen;
    if (known != nullptr)
        chosen = paperOfPoints(paperpswidth(known), paperpsheight(known));
    paperdone();
    return chosen;
}

// The paper of the user's locale (LC_ALL, LC_PAPER or LANG): Letter for en_US and the other locales of
// countries that print on it, A4 for most. Nothing when the locale named is not installed.
std::optional<Paper> localePaper()
{
    const locale_t locale = ::newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return std::nullopt;
    // glibc gives these measures, in millimetres, as a number in the place of the text's address.
    const auto millimetres = [locale](nl_item item) {
        return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(::nl_langinfo_l(item, locale)));
    };
    const unsigned width = millimetres(_NL_PAPER_WIDTH);
    const unsigned height = millimetres(_NL_PAPER_HEIGHT);
    ::freelocale(locale);
    if (width == 210 && height == 297)
        return Paper::A4;
    if (width == 216 && height == 279)
        return Paper::Letter;
    return std::nullopt;
}

} // namespace

const char* paperName(Paper paper)
{
    return paper == Paper::A4 ? "A4" : "Letter";
}

Paper systemPaper()
{
    if (const std::optional<Paper> configured = libpaperPaper())
        return *configured;
    if (const std::optional<Paper> local = localePaper())
        return *local;
    return Paper::Letter;
}

} // namespace sheet
