#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pricing/Categories.h"
#include "pricing/PriceSettings.h"
#include "tests/support/TestDatabase.h"

namespace {

using pricing::PriceDataPositions;
using pricing::PriceParameters;
using pricing::RoundingDirection;
using pricing::RoundingStep;
using pricing::Typeface;
using testing::ElementsAre;
using testsupport::readFile;
using testsupport::TemporaryFolder;
using testsupport::writeFile;

std::string priceDataFile(const TemporaryFolder& folder)
{
    return folder.path() + "/PriceData.dta";
}

// ---- price-data file ----

TEST(PriceData, SavesTheTenPositionsAsCrLfLines)
{
    TemporaryFolder folder;
    PriceParameters p;
    p.qty1 = "250";
    p.jump3 = "1,000";
    p.direction = RoundingDirection::Down;
    p.step = RoundingStep::Dollar;
    p.typeface = Typeface::SansSerif;
    ASSERT_TRUE(pricing::writePriceData(folder.path(), pricing::priceDataFrom(p, PriceDataPositions{})));
    // Quantities, then steps, as typed (1,000 too); Down = "1", 1.00 = "2", Sans Serif = "2".
    EXPECT_EQ(readFile(priceDataFile(folder)), "250\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n1,000\r\n1\r\n2\r\n2\r\n");
}

TEST(PriceData, NoDirectionKeepsTheSavedOne)
{
    PriceDataPositions previous;
    previous[7] = "1";
    PriceParameters p; // neither Up nor Down, as the window starts
    EXPECT_EQ(pricing::priceDataFrom(p, previous)[7], "1");
    p.direction = RoundingDirection::Up;
    EXPECT_EQ(pricing::priceDataFrom(p, previous)[7], "0");
}

TEST(PriceData, ReadsBackWhatWasSaved)
{
    TemporaryFolder folder;
    PriceParameters p;
    p.qty1 = "50";
    p.qty2 = "400";
    p.jump1 = "50";
    p.direction = RoundingDirection::Up;
    p.step = RoundingStep::Quarter;
    p.typeface = Typeface::Courier;
    ASSERT_TRUE(pricing::writePriceData(folder.path(), pricing::priceDataFrom(p, PriceDataPositions{})));
    PriceParameters read;
    ASSERT_TRUE(pricing::loadPriceData(folder.path(), read));
    EXPECT_EQ(read, p);
}

TEST(PriceData, AThousandsSeparatorMakesAnEleventhItemAndNothingIsApplied)
{
    TemporaryFolder folder;
    // 1,000 reads as the two items 1 and 000: eleven items in ten lines.
    writeFile(priceDataFile(folder), "1,000\r\n5000\r\n8000\r\n9000\r\n100\r\n500\r\n1000\r\n1\r\n1\r\n0\r\n");
    EXPECT_EQ(pricing::readPriceData(folder.path()), std::nullopt);
    PriceParameters p;
    EXPECT_FALSE(pricing::loadPriceData(folder.path(), p));
    EXPECT_EQ(p, PriceParameters{}) << "the window keeps its initial parameters";
}

TEST(PriceData, AThousandsSeparatorInAShortFileShiftsTheLaterPositions)
{
    TemporaryFolder folder;
    // Seven lines, eight items: 1, 000, 5000, ... so the start quantity reads 1 and the second 000.
    writeFile(priceDataFile(folder), "1,000\r\n5000\r\n8000\r\n9000\r\n100\r\n500\r\n1000\r\n");
    const std::optional<PriceDataPositions> positions = pricing::readPriceData(folder.path());
    ASSERT_TRUE(positions);
    EXPECT_EQ((*positions)[0], "1");
    EXPECT_EQ((*positions)[1], "000");
    EXPECT_EQ((*positions)[7], "1000"); // the third step landed on the direction
    PriceParameters p;
    pricing::applyPriceData(*positions, p);
    EXPECT_EQ(p.direction, RoundingDirection::Neither); // 1000 is neither 0 nor 1
}

TEST(PriceData, AnEleventhLineStopsTheReading)
{
    TemporaryFolder folder;
    writeFile(priceDataFile(folder), "100\r\n500\r\n2000\r\n5000\r\n25\r\n100\r\n500\r\n0\r\n1\r\n1\r\nextra\r\n");
    EXPECT_EQ(pricing::readPriceData(folder.path()), std::nullopt);
}

TEST(PriceData, AShortFileAppliesWhatItHasAndTheRestCountsAsEmpty)
{
    TemporaryFolder folder;
    writeFile(priceDataFile(folder), "200\r\n300\r\n");
    PriceParameters p;
    ASSERT_TRUE(pricing::loadPriceData(folder.path(), p));
    EXPECT_EQ(p.qty1, "200");
    EXPECT_EQ(p.qty2, "300");
    EXPECT_EQ(p.qty3, "");
    EXPECT_EQ(p.jump3, "");
    // Empty positions 8 to 10 read as 0: Up, None, Courier.
    EXPECT_EQ(p.direction, RoundingDirection::Up);
    EXPECT_EQ(p.step, RoundingStep::None);
    EXPECT_EQ(p.typeface, Typeface::Courier);
}

TEST(PriceData, AClearedFieldKeepsTheLaterSettingsInTheirPositions)
{
    TemporaryFolder folder;
    PriceParameters p;
    p.jump3 = ""; // the third step is never checked, so it may be saved empty
    p.direction = RoundingDirection::Down;
    p.step = RoundingStep::Quarter;
    p.typeface = Typeface::SansSerif;
    ASSERT_TRUE(pricing::writePriceData(folder.path(), pricing::priceDataFrom(p, PriceDataPositions{})));
    PriceParameters read;
    ASSERT_TRUE(pricing::loadPriceData(folder.path(), read));
    EXPECT_EQ(read, p);
}

TEST(PriceData, BlanksQuotesAndLfOnlyLinesReadAsTheItemReaderReadsThem)
{
    TemporaryFolder folder;
    writeFile(priceDataFile(folder), "  150  \n\"1,500\"\n2000\n5000\n25\n100\n500\n 1 \n1\n2\n");
    const std::optional<PriceDataPositions> positions = pricing::readPriceData(folder.path());
    ASSERT_TRUE(positions);
    EXPECT_EQ((*positions)[0], "150");
    EXPECT_EQ((*positions)[1], "1,500"); // a quoted item keeps its comma
    PriceParameters p;
    pricing::applyPriceData(*positions, p);
    EXPECT_EQ(p.direction, RoundingDirection::Down);
    EXPECT_EQ(p.step, RoundingStep::Quarter);
    EXPECT_EQ(p.typeface, Typeface::SansSerif);
}

struct OptionCase
{
    const char* why;
    const char* direction;
    const char* step;
    const char* typeface;
    RoundingDirection expectedDirection;
    RoundingStep expectedStep;
    Typeface expectedTypeface;
};

const OptionCase kOptions[] = {
    {"the codes as saved", "0", "1", "1", RoundingDirection::Up, RoundingStep::Quarter, Typeface::TimesRoman},
    {"the other saved codes", "1", "2", "2", RoundingDirection::Down, RoundingStep::Dollar, Typeface::SansSerif},
    {"None and Courier", "1", "0", "0", RoundingDirection::Down, RoundingStep::None, Typeface::Courier},
    {"any other number: neither direction, 1.00, Sans Serif", "2", "7", "9", RoundingDirection::Neither,
     RoundingStep::Dollar, Typeface::SansSerif},
    {"the leading number decides: 1.0 and 1x are 1", "1.0", "1x", "1abc", RoundingDirection::Down,
     RoundingStep::Quarter, Typeface::TimesRoman},
    {"text without a number is 0", "Up", "none", "Courier", RoundingDirection::Up, RoundingStep::None,
     Typeface::Courier},
    {"a fraction is no code", "0.5", "1.5", "0.5", RoundingDirection::Neither, RoundingStep::Dollar,
     Typeface::SansSerif},
};

class PriceDataOptions : public testing::TestWithParam<OptionCase>
{
};

TEST_P(PriceDataOptions, AreAppliedByTheirLeadingNumber)
{
    const OptionCase& c = GetParam();
    PriceDataPositions positions{"100", "500", "2000", "5000", "25", "100", "500", c.direction, c.step, c.typeface};
    PriceParameters p;
    pricing::applyPriceData(positions, p);
    EXPECT_EQ(p.direction, c.expectedDirection) << c.why;
    EXPECT_EQ(p.step, c.expectedStep) << c.why;
    EXPECT_EQ(p.typeface, c.expectedTypeface) << c.why;
}

INSTANTIATE_TEST_SUITE_P(Pricing, PriceDataOptions, testing::ValuesIn(kOptions));

TEST(PriceData, AMissingFileAppliesNothing)
{
    TemporaryFolder folder;
    EXPECT_EQ(pricing::readPriceData(folder.path()), std::nullopt);
    PriceParameters p;
    EXPECT_FALSE(pricing::loadPriceData(folder.path(), p));
    EXPECT_EQ(p, PriceParameters{});
    // The window's initial parameters.
    EXPECT_EQ(p.qty1, "100");
    EXPECT_EQ(p.jump1, "25");
    EXPECT_EQ(p.step, RoundingStep::None);
    EXPECT_EQ(p.direction, RoundingDirection::Neither);
    EXPECT_EQ(p.typeface, Typeface::TimesRoman);
}

TEST(PriceData, AFolderThatIsNotThereIsNotWritten)
{
    TemporaryFolder folder;
    EXPECT_FALSE(pricing::writePriceData(folder.path() + "/missing", PriceDataPositions{}));
}

// ---- category file ----

TEST(Categories, AMissingFileGivesNoCategories)
{
    TemporaryFolder folder;
    EXPECT_TRUE(pricing::readCategories(folder.path()).empty());
}

TEST(Categories, SaveAppendsALineAndCreatesTheFile)
{
    TemporaryFolder folder;
    EXPECT_TRUE(pricing::appendCategory(folder.path(), "Letterhead"));
    EXPECT_TRUE(pricing::appendCategory(folder.path(), "Business Cards"));
    EXPECT_TRUE(pricing::appendCategory(folder.path(), "Letterhead")); // the same name twice is kept twice
    EXPECT_EQ(readFile(folder.path() + "/Categories.dat"), "Letterhead\r\nBusiness Cards\r\nLetterhead\r\n");
    EXPECT_THAT(pricing::readCategories(folder.path()), ElementsAre("Letterhead", "Business Cards", "Letterhead"));
}

TEST(Categories, AnEmptyNameAddsNothing)
{
    TemporaryFolder folder;
    EXPECT_FALSE(pricing::appendCategory(folder.path(), ""));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/Categories.dat"));
}

TEST(Categories, ACommaOrSurroundingBlanksAreSavedInQuotesAndReadBackWhole)
{
    TemporaryFolder folder;
    ASSERT_TRUE(pricing::appendCategory(folder.path(), "Forms, carbonless"));
    ASSERT_TRUE(pricing::appendCategory(folder.path(), "  Envelopes  "));
    ASSERT_TRUE(pricing::appendCategory(folder.path(), "Letterhead"));
    // Stored on one line each, in quotes where the old way would split or trim them ...
    const std::string saved = "\"Forms, carbonless\"\r\n\"  Envelopes  \"\r\nLetterhead\r\n";
    EXPECT_EQ(readFile(folder.path() + "/Categories.dat"), saved);
    // ... read back as three categories, and written the same way by Delete.
    const std::vector<std::string> categories = pricing::readCategories(folder.path());
    EXPECT_THAT(categories, ElementsAre("Forms, carbonless", "  Envelopes  ", "Letterhead"));
    ASSERT_TRUE(pricing::rewriteCategories(folder.path(), categories));
    EXPECT_EQ(readFile(folder.path() + "/Categories.dat"), saved);
}

TEST(Categories, DeleteKeepsTheUnselectedInOrder)
{
    const std::vector<std::string> categories{"A", "B", "C", "D"};
    EXPECT_THAT(pricing::remainingCategories(categories, {false, true, false, true}), ElementsAre("A", "C"));
    EXPECT_THAT(pricing::remainingCategories(categories, {true}), ElementsAre("B", "C", "D"))
        << "flags missing at the end count as not selected";
    EXPECT_EQ(pricing::remainingCategories(categories, {}), categories);
}

TEST(Categories, DeletingNothingRewritesTheFileUnchanged)
{
    TemporaryFolder folder;
    pricing::appendCategory(folder.path(), "Letterhead");
    pricing::appendCategory(folder.path(), "Flyers");
    const std::string before = readFile(folder.path() + "/Categories.dat");
    const std::vector<std::string> categories = pricing::readCategories(folder.path());
    ASSERT_TRUE(pricing::rewriteCategories(folder.path(), pricing::remainingCategories(categories, {})));
    EXPECT_EQ(readFile(folder.path() + "/Categories.dat"), before);
}

TEST(Categories, DeletingEverythingLeavesAnEmptyFile)
{
    TemporaryFolder folder;
    pricing::appendCategory(folder.path(), "Letterhead");
    ASSERT_TRUE(pricing::rewriteCategories(folder.path(), {}));
    EXPECT_EQ(readFile(folder.path() + "/Categories.dat"), "");
    EXPECT_TRUE(pricing::readCategories(folder.path()).empty());
}

TEST(Categories, AFolderThatIsNotThereIsReported)
{
    TemporaryFolder folder;
    EXPECT_FALSE(pricing::appendCategory(folder.path() + "/missing", "Letterhead"));
    EXPECT_FALSE(pricing::rewriteCategories(folder.path() + "/missing", {"Letterhead"}));
}

} // namespace
