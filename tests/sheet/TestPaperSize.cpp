// The system's paper, as the sheet command and the window's PDF files take it: libpaper's PAPERSIZE,
// PAPERCONF and paper file, then the locale, then Letter.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "sheet/PaperSize.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestNames.h"
#include "tests/support/Watchdog.h"

namespace {

using sheet::Paper;
using testsupport::ScopedEnvironment;

// The environment of a case: each variable set to its text, "FILE" standing for a paper file of the test's
// folder, or removed.
struct PaperCase
{
    const char* why;
    std::optional<std::string> papersize;
    std::optional<std::string> paperFile; // the paper file's text; "fifo": a pipe at its name; none: no file
    std::optional<std::string> lcAll;
    Paper expected;
};

// The C locale's paper is A4; a locale that is not installed gives none, and then Letter, libpaper's own
// default. So each case's answer can only have come from the step it is about.
const PaperCase kPaperCases[] = {
    {"PAPERSIZE decides over the paper file", "letter", "a4\n", "C", Paper::Letter},
    {"a paper's name in any letter case", "A4", std::nullopt, "xx_YY.UTF-8", Paper::A4},
    {"the paper file, after its comments and blanks", std::nullopt, "# the shop's paper\n\n   letter\n", "C",
     Paper::Letter},
    {"the paper file naming A4", std::nullopt, "a4\n", "xx_YY.UTF-8", Paper::A4},
    {"legal paper leaves it to the locale", "legal", std::nullopt, "C", Paper::A4},
    {"a name libpaper does not know leaves it to the locale", std::nullopt, "tabloidish\n", "C", Paper::A4},
    {"a pipe at the paper file's name is not waited on", std::nullopt, "fifo", "C", Paper::A4},
    {"nothing says", std::nullopt, std::nullopt, "xx_YY.UTF-8", Paper::Letter},
};

class SystemPaper : public testing::TestWithParam<PaperCase>
{
};

TEST_P(SystemPaper, IsTakenFromLibpaperThenTheLocale)
{
    const PaperCase& c = GetParam();
    const testsupport::Watchdog watchdog(30);
    testsupport::TemporaryFolder folder;
    const std::string file = folder.path() + "/papersize";
    if (c.paperFile == "fifo")
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    else if (c.paperFile)
        testsupport::writeFile(file, *c.paperFile);
    const ScopedEnvironment environment(
        {{"PAPERSIZE", c.papersize}, {"PAPERCONF", file}, {"LC_ALL", c.lcAll}, {"LC_PAPER", std::nullopt}});
    EXPECT_EQ(sheet::paperName(sheet::systemPaper()), std::string(sheet::paperName(c.expected))) << c.why;
}

INSTANTIATE_TEST_SUITE_P(PaperSize, SystemPaper, testing::ValuesIn(kPaperCases),
                         [](const auto& info) { return testsupport::testName(info.param.why); });

// Without a paper file the user's locale decides: Letter in the United States (its locale built here, in a
// folder of the test's own, from the system's locale sources).
TEST(SystemPaper, WithoutAPaperFileTheLocaleDecides)
{
    testsupport::TemporaryFolder folder;
    const std::string built = folder.path() + "/en_US.UTF-8";
    if (std::system(("localedef -i en_US -f UTF-8 '" + built + "' >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "the locale en_US.UTF-8 cannot be built here (Debian package locales)";
    const ScopedEnvironment environment({{"PAPERSIZE", std::nullopt},
                                         {"PAPERCONF", folder.path() + "/no paper file"},
                                         {"LOCPATH", folder.path()},
                                         {"LC_ALL", std::nullopt},
                                         {"LANG", "C.UTF-8"},
                                         {"LC_PAPER", "en_US.UTF-8"}});
    EXPECT_EQ(sheet::systemPaper(), Paper::Letter);
}

} // namespace
