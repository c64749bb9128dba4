// The sheet as it reaches paper: rendered headless to PDF and read back with poppler's tools.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFont>

#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "sheet/PriceSheet.h"
#include "tests/sheet/PdfText.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestDatabase.h"

namespace {

using testing::HasSubstr;
using testing::Not;

using pricing::Typeface;

// 38 list lines as the default schedule gives them; the 20th is $1234.50, the first of the right column, and
// the last, $123456.78, is the widest price a counter sheet shows, at the right edge.
sheet::SheetInputs sheetOf(int lines, std::optional<Typeface> typeface)
{
    sheet::SheetInputs in;
    for (int i = 1; i <= lines; ++i) {
        const std::string price = i == 20 ? "$1234.50" : i == 38 ? "$123456.78" : "$" + std::to_string(10 + i) + ".25";
        in.priceLines.push_back(std::to_string(i * 100) + std::string(27, ' ') + price);
    }
    in.category = "Letterheads and Envelopes";
    in.orderNo = "24101";
    in.description = "Letterhead, one colour, on 24# bond";
    in.stock = "24# Bond White";
    in.size = "8.5 x 11";
    in.bindery = "Cutting";
    in.typeface = typeface;
    return in;
}

const double kPrintedAt = platform::dateSerial(2026, 12, 8, 9, 5, 7);

// What writing the sheet says went wrong; empty when it was written.
std::string faultOf(const sheet::SheetInputs& inputs, const QString& path)
{
    try {
        sheet::writeSheetPdf(inputs, kPrintedAt, path);
        return {};
    } catch (const platform::Fault& fault) {
        return fault.what();
    }
}

// A sheet of each typeface (or none) on each paper.
struct SheetCase
{
    std::optional<Typeface> typeface;
    sheet::Paper paper;
};

class SheetPdf : public testing::TestWithParam<SheetCase>
{
protected:
    void SetUp() override
    {
        if (!testsupport::havePdfTools())
            GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed; scripts/setup.sh installs them";
    }
    testsupport::TemporaryFolder m_folder;
};

// A run of blanks as one: pdftotext lays the columns out with as many as fit.
std::string oneBlankApart(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ' || out.back() == '\n'))
            continue;
        if (c == '\n' && !out.empty() && out.back() == ' ')
            out.pop_back();
        out += c;
    }
    return out;
}

// On A4 and on Letter every part of the sheet is on its one page, and every price stands in its row beside
// its quantity, the right column's pair on the same line as the left's: nothing runs off the paper's edge
// or onto a line of its own.
TEST_P(SheetPdf, TheThirtyEightLineSheetIsOnePageWithEveryPriceInItsRow)
{
    const sheet::SheetInputs inputs = sheetOf(38, GetParam().typeface);
    const std::filesystem::path pdf = std::filesystem::path(m_folder.path()) / "sheet.pdf";
    int pages = 0;
    ASSERT_NO_THROW(pages = sheet::writeSheetPdf(inputs, kPrintedAt, QString::fromStdString(pdf),
                                                 sheet::pageLayout(GetParam().paper)));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(testsupport::pdfPages(pdf), 1);
    EXPECT_THAT(testsupport::commandOutput("pdfinfo '" + pdf.string() + "'"),
                HasSubstr(GetParam().paper == sheet::Paper::A4 ? "595 x 842 pts (A4)" : "612 x 792 pts (letter)"));

    const std::string text = testsupport::pdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Counter Price Book"));
    EXPECT_THAT(text, HasSubstr("Letterheads and Envelopes"));
    EXPECT_THAT(text, HasSubstr("Q-24101"));
    EXPECT_THAT(text, HasSubstr("12/08/26"));
    EXPECT_THAT(text, HasSubstr("09:05:07 AM"));
    EXPECT_THAT(text, HasSubstr("24# Bond White"));
    EXPECT_THAT(text, HasSubstr("Cutting"));
    // The 20th list line heads the right column, reformatted with its thousands separator.
    EXPECT_THAT(text, HasSubstr("$1,234.50"));
    EXPECT_THAT(text, Not(HasSubstr("$1234.50")));
    EXPECT_THAT(text, HasSubstr("3,800"));
    EXPECT_THAT(text, HasSubstr("$123,456.78")); // line 38

    // Row i: line i on the left, line i + 19 on the right, as the sheet prints them.
    const std::string rows = oneBlankApart(text);
    for (std::size_t i = 0; i < 19; ++i) {
        const std::string row = sheet::printedQuantity(inputs.priceLines[i]).substr(2) + " " +
                                sheet::printedPrice(inputs.priceLines[i]) + " " +
                                sheet::printedQuantity(inputs.priceLines[i + 19]).substr(2) + " " +
                                sheet::printedPrice(inputs.priceLines[i + 19]);
        EXPECT_THAT(rows, HasSubstr("\n" + row + "\n")) << "row " << i + 1;
    }
}

// The whole numbers a page of the PDF shows (quantities, and the size's 11 on the first page).
std::vector<long> wholeNumbers(const std::string& page)
{
    std::vector<long> numbers;
    std::istringstream words(page);
    for (std::string word; words >> word;) {
        if (word.find_first_not_of("0123456789,") == std::string::npos && std::isdigit(word.front())) {
            word.erase(std::remove(word.begin(), word.end(), ','), word.end());
            numbers.push_back(std::stol(word));
        }
    }
    return numbers;
}

// A list longer than the page fills the first page's left column, then its right one, then the next page's:
// every quantity of a page is below every quantity of the page after it.
TEST_P(SheetPdf, AListLongerThanThePageContinuesOnTheNext)
{
    const std::filesystem::path pdf = std::filesystem::path(m_folder.path()) / "long.pdf";
    int pages = 0;
    ASSERT_NO_THROW(pages = sheet::writeSheetPdf(sheetOf(400, GetParam().typeface), kPrintedAt,
                                                 QString::fromStdString(pdf), sheet::pageLayout(GetParam().paper)));
    EXPECT_GE(pages, 2);
    EXPECT_EQ(testsupport::pdfPages(pdf), pages);
    // The last row and the closing rule are not lost below the page.
    const std::string text = testsupport::pdfText(pdf);
    EXPECT_THAT(text, HasSubstr("40,000"));
    EXPECT_THAT(text, HasSubstr("$410.25"));

    std::vector<std::vector<long>> quantities;
    std::istringstream byPage(text);
    for (std::string page; std::getline(byPage, page, '\f');) {
        if (!wholeNumbers(page).empty())
            quantities.push_back(wholeNumbers(page));
    }
    ASSERT_EQ(static_cast<int>(quantities.size()), pages);
    std::size_t count = 0;
    for (std::size_t p = 0; p < quantities.size(); ++p) {
        count += quantities[p].size();
        if (p > 0) {
            EXPECT_LT(*std::max_element(quantities[p - 1].begin(), quantities[p - 1].end()),
                      *std::min_element(quantities[p].begin(), quantities[p].end()))
                << "page " << p << " holds a quantity of a later page";
        }
    }
    EXPECT_EQ(count, 401u) << "every quantity once, and the size's 11";
}

std::string sheetCaseName(const testing::TestParamInfo<SheetCase>& info)
{
    const std::string paper = sheet::paperName(info.param.paper);
    if (!info.param.typeface)
        return "NoneChosenOn" + paper;
    switch (*info.param.typeface) {
    case Typeface::Courier:
        return "CourierOn" + paper;
    case Typeface::TimesRoman:
        return "TimesRomanOn" + paper;
    case Typeface::SansSerif:
        return "SansSerifOn" + paper;
    }
    return "Unknown";
}

std::vector<SheetCase> everyTypefaceOnEachPaper()
{
    std::vector<SheetCase> cases;
    for (const sheet::Paper paper : {sheet::Paper::A4, sheet::Paper::Letter})
        for (const std::optional<Typeface> typeface : {std::optional<Typeface>(Typeface::Courier),
                                                       std::optional<Typeface>(Typeface::TimesRoman),
                                                       std::optional<Typeface>(Typeface::SansSerif),
                                                       std::optional<Typeface>()})
            cases.push_back({typeface, paper});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachTypeface, SheetPdf, testing::ValuesIn(everyTypefaceOnEachPaper()), sheetCaseName);

// In Courier at 14 points about 68 characters fit across the page: a bindery list longer than that goes
// on at the left of the next line instead of off the paper, and the blanks padding the stock text to 60
// do not make an empty line.
TEST(SheetPdfFile, ALineLongerThanThePageGoesOnBelowAndPaddingIsNotALine)
{
    if (!testsupport::havePdfTools())
        GTEST_SKIP() << "poppler-utils is not installed";
    testsupport::TemporaryFolder folder;
    sheet::SheetInputs in = sheetOf(4, Typeface::Courier);
    in.stock = "100# Gloss Text";
    in.bindery = "Guillotine Cutting, Tri-Fold Folder, 40 lb Carton Pack-Out, Drilling, Shrink-Wrapping";
    const std::filesystem::path pdf = std::filesystem::path(folder.path()) / "wide.pdf";
    ASSERT_NO_THROW(sheet::writeSheetPdf(in, kPrintedAt, QString::fromStdString(pdf)));
    const std::string text = testsupport::pdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Shrink-Wrapping"));
    EXPECT_THAT(text, testing::ContainsRegex("Stock: 100# Gloss Text *\n *Size: 8.5 x 11"));
    EXPECT_THAT(text, testing::ContainsRegex("Bindery: Guillotine Cutting,[^\n]*\n *[A-Za-z][^\n]*Shrink-Wrapping"));
}

TEST(SheetPdfFile, AFolderThatIsNotThereIsNamedAndNothingIsWritten)
{
    testsupport::TemporaryFolder folder;
    const std::filesystem::path pdf = std::filesystem::path(folder.path()) / "missing" / "sheet.pdf";
    const std::string failure =
        faultOf(sheetOf(3, Typeface::Courier), QString::fromStdString(pdf));
    EXPECT_THAT(failure, HasSubstr(pdf.string()));
    EXPECT_FALSE(std::filesystem::exists(pdf.parent_path()));
}

TEST(SheetPdfFile, AnEarlierSheetIsReplacedWhole)
{
    testsupport::TemporaryFolder folder;
    const std::filesystem::path pdf = std::filesystem::path(folder.path()) / "sheet.pdf";
    std::ofstream(pdf) << "an old sheet";
    ASSERT_NO_THROW(sheet::writeSheetPdf(sheetOf(3, Typeface::Courier), kPrintedAt,
                                         QString::fromStdString(pdf)));
    std::ifstream in(pdf, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

// A symbolic link planted at the sheet's name is replaced by the sheet, and the file it points to kept; a disk
// that fills up keeps the earlier sheet as it was. Either way nothing else is left in the folder.
TEST(SheetPdfFile, ALinkAtTheNameIsReplacedAndAFullDiskKeepsTheEarlierSheet)
{
    struct Case
    {
        const char* what;
        bool link;
        rlim_t sizeLimit;
    };
    const Case cases[] = {{"a link to another file", true, RLIM_INFINITY}, {"a full disk", false, 4096}};
    for (const Case& c : cases) {
        testsupport::TemporaryFolder folder;
        testsupport::TemporaryFolder elsewhere;
        const std::filesystem::path pdf = std::filesystem::path(folder.path()) / "sheet.pdf";
        const std::string victim = elsewhere.path() + "/accounts.txt";
        testsupport::writeFile(victim, "not a sheet");
        if (c.link)
            std::filesystem::create_symlink(victim, pdf);
        else
            testsupport::writeFile(pdf, "an old sheet");
        std::string failure;
        {
            const testsupport::FileSizeLimit limit(c.sizeLimit);
            failure = faultOf(sheetOf(38, Typeface::Courier),
                              QString::fromStdString(pdf));
        }
        if (c.link) {
            EXPECT_EQ(failure, "");
            EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(pdf))) << c.what;
            EXPECT_EQ(testsupport::readFile(pdf).substr(0, 5), "%PDF-") << c.what;
        } else {
            EXPECT_THAT(failure, HasSubstr("could not be written to " + pdf.string())) << c.what;
            EXPECT_EQ(testsupport::readFile(pdf), "an old sheet") << c.what;
        }
        EXPECT_TRUE(testsupport::readFile(victim) == "not a sheet") << c.what << ": the linked file was written";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << c.what;
    }
}

// The shop's font names print in the installed face of the same metrics when the shop's own is missing.
TEST(SheetFonts, EachSheetFontPrintsInAnInstalledFace)
{
    struct Case
    {
        const char* name;
        const char* standIn;
        bool fixedPitch;
    };
    const Case cases[] = {
        {"Courier New", "Liberation Mono", true},
        {"Times New Roman", "Liberation Serif", false},
        {"MS Sans Serif", "Liberation Sans", false},
    };
    for (const Case& c : cases) {
        const QString family = sheet::sheetFontFamily(QString::fromLatin1(c.name));
        EXPECT_TRUE(family == QLatin1String(c.name) || family == QLatin1String(c.standIn)) << c.name << " -> " << family.toStdString();
        if (QFontDatabase::hasFamily(QLatin1String(c.standIn)) || QFontDatabase::hasFamily(QLatin1String(c.name))) {
            EXPECT_EQ(QFontInfo(QFont(family)).fixedPitch(), c.fixedPitch) << c.name;
        }
    }
    // A font the table does not know is left to the font system.
    EXPECT_EQ(sheet::sheetFontFamily(QStringLiteral("Arial Narrow")), QStringLiteral("Arial Narrow"));
}

} // namespace
