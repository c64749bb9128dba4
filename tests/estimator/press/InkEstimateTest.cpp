// Ink pounds and costs, black apart from the colours, and the fountain waste of each case of heads and
// inks. Every case prints the letterhead on the steady press (4,000 an hour, 3.2 per cent), so the total
// spoilage is 3.2 + 20 x 1 x 2 / 5000 x 100 = 4 per cent and the press sheets to order are
// 2500 + 4 x 2500 / 100 = 2600. The sheet is 12 X 18 = 216 square inches and every colour's mileage is
// 216,000, so an ink at full coverage takes 216 x 2600 / 216000 = 2.6 lb.

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/estimator/press/PressShop.h"

namespace presstest {
namespace {

using estimator::cEstimator;

struct Ink
{
    int colorId;
    const char* name;
    double coverage;
};

struct InkCase
{
    const char* situation;
    int heads;
    std::vector<Ink> inks;
    double blackPounds, blackCost, colourPounds, colourCost;
};

// Failures name the case rather than print its bytes.
void PrintTo(const InkCase& c, std::ostream* os)
{
    *os << c.situation;
}

// Colours on file: black and the process black at $10 a pound, the others at $20; colour 9 is not on
// file. Fountain waste is 0.25 lb a fountain.
std::string colourList()
{
    return colour(1, "Black", 10, 216000) + colour(2, "Cyan", 20, 216000) + colour(3, "Magenta", 20, 216000)
           + colour(4, "Yellow", 20, 216000) + colour(5, "Process Black", 10, 216000);
}

const std::vector<Ink> kFourColour = {{1, "Black", 40}, {2, "Cyan", 20}, {3, "Magenta", 20}, {4, "Yellow", 20}};

// Before waste: black 2.6 x 40% = 1.04 lb, $10.40; each colour 2.6 x 20% = 0.52 lb, $10.40, so the three
// colours make 1.56 lb, $31.20, at $20 a pound.
const InkCase kInkCases[] = {
    {"four heads, black and three colours: three colour fountains and one of black", 4, kFourColour,
     1.04 + 0.25, 10.4 + 2.5, 1.56 + 0.75, 31.2 + 20 * 0.75},
    {"three heads for three colours and black still charge every fountain", 3, kFourColour,
     1.04 + 0.25, 10.4 + 2.5, 1.56 + 0.75, 31.2 + 20 * 0.75},
    {"two heads, fewer than the colours: two colour fountains, no black", 2, kFourColour,
     1.04, 10.4, 1.56 + 0.5, 31.2 + 20 * 0.5},
    {"one head: one colour fountain, no black", 1, kFourColour, 1.04, 10.4, 1.56 + 0.25, 31.2 + 20 * 0.25},
    {"no heads: no fountain waste at all", 0, kFourColour, 1.04, 10.4, 1.56, 31.2},
    {"colour only, two heads: a fountain for each head", 2, {{2, "Cyan", 20}}, 0, 0, 0.52 + 0.5, 10.4 + 20 * 0.5},
    {"black only, two heads: one fountain of black", 2, {{1, "Black", 40}}, 1.04 + 0.25, 10.4 + 2.5, 0, 0},
    // The process black is selected as black (its name has the word) but charged as a colour: colours
    // 1.04 + 0.52 = 1.56 lb, $20.80; two colour fountains at 20.8 / 1.56 a pound; the black fountain finds
    // no ink called plain black, so only its pounds grow.
    {"a process black is charged as a colour", 4, {{5, "Process Black", 40}, {2, "Cyan", 20}},
     0.25, 0, 1.56 + 0.5, 20.8 + 20.8 / 1.56 * 0.5},
    {"PMS-only selections are not priced and waste nothing", 4, {{0, "PMS 185", 50}}, 0, 0, 0, 0},
    // A colour missing from the colour list has no mileage: no ink, and with no colour pounds only the
    // fountain's pounds are added.
    {"a colour not on file adds only fountain pounds", 2, {{9, "Spot Green", 20}}, 0, 0, 0.5, 0},
    // Cyan front and back: one ink, two colour selections, so two heads cover black and both: two colour
    // fountains (0.5 lb at $20) and one of black.
    {"the same colour on both sides counts two selections", 2,
     {{1, "Black", 40}, {2, "Cyan", 20}, {2, "Cyan", 20}}, 1.04 + 0.25, 10.4 + 2.5, 1.04 + 0.5, 20.8 + 10},
    // Cyan and magenta on both sides are four selections, more than the three heads: the heads go to the
    // colours (3 x 0.25 lb at $20), and black gets no fountain.
    {"selections on both sides outnumbering the heads leave black without a fountain", 3,
     {{1, "Black", 40}, {2, "Cyan", 20}, {2, "Cyan", 20}, {3, "Magenta", 20}, {3, "Magenta", 20}},
     1.04, 10.4, 2.08 + 0.75, 41.6 + 15},
    // One colour under two names is two inks, and each ink's selections are found by the colour alone:
    // 4 x 0.52 lb.
    {"one colour under two names is counted under both", 0, {{2, "Cyan", 20}, {2, "Process Cyan", 20}},
     0, 0, 2.08, 41.6},
};

class InkEstimate : public PressShopTest, public ::testing::WithParamInterface<InkCase>
{
};

TEST_P(InkEstimate, PoundsAndCostsFollowTheInksAndHeads)
{
    const InkCase& c = GetParam();
    Row order = letterheadOrder();
    order.num("PRESSPRINTHEADS", c.heads);
    std::string inks;
    for (const Ink& ink : c.inks)
        inks += inkSelection("Q100", "Q", ink.colorId, ink.name, ink.coverage);
    const ShopDatabase db(order.insert() + steadyPress().insert() + paperPlate().insert() + shopMarkups()
                          + colourList() + inks);
    cEstimator engine(m_context);
    price(engine, db, "Q100", "Q");

    ASSERT_EQ(summary().pressSheetsToOrder, 2600);
    EXPECT_NEAR(summary().blackInkPounds, c.blackPounds, 1e-9) << c.situation;
    EXPECT_NEAR(summary().blackInkCost, c.blackCost, 1e-9) << c.situation;
    EXPECT_NEAR(summary().colourInkPounds, c.colourPounds, 1e-9) << c.situation;
    EXPECT_NEAR(summary().colourInkCost, c.colourCost, 1e-9) << c.situation;
    EXPECT_DOUBLE_EQ(summary().thirdInkCost, 0.0);
    EXPECT_DOUBLE_EQ(summary().thirdInkPounds, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, InkEstimate, ::testing::ValuesIn(kInkCases));

// The ink costs are part of the press department: with four colours on four heads the total cost grows by
// exactly the ink, and the retail by the ink at the press markup of 50 per cent.
TEST_F(PressShopTest, InkCostsArePricedAtThePressMarkup)
{
    const auto priceWith = [this](const std::string& inks, double& retail) {
        const ShopDatabase db(letterheadOrder().num("PRESSPRINTHEADS", 4).insert() + steadyPress().insert()
                              + paperPlate().insert() + shopMarkups() + colourList() + inks);
        cEstimator engine(m_context);
        const double cost = price(engine, db, "Q100", "Q");
        retail = summary().totalRetail;
        startNewRun();
        return cost;
    };
    double plainRetail = 0, inkedRetail = 0;
    const double plain = priceWith("", plainRetail);
    std::string inks;
    for (const Ink& ink : kFourColour)
        inks += inkSelection("Q100", "Q", ink.colorId, ink.name, ink.coverage);
    const double inked = priceWith(inks, inkedRetail);
    // Ink 12.9 + 46.2 = $59.10; retail 1.5 x 59.10 = $88.65.
    EXPECT_NEAR(inked - plain, 59.1, 1e-9);
    EXPECT_NEAR(inkedRetail - plainRetail, 88.65, 1e-9);
}

} // namespace
} // namespace presstest
