#include <gtest/gtest.h>

#include "data/LetterCase.h"
#include "data/LikePattern.h"
#include "tests/support/EngineShop.h"

namespace {

using testsupport::Engine;
using testsupport::EngineShop;

struct LikeCase
{
    const char* text;
    const char* pattern;
    bool matches;
};

const LikeCase likeCases[] = {
    // * any run of characters, also none
    {"Stock (minimum)", "Stock*", true},
    {"Stock", "Stock*", true},
    {"Press", "Stock*", false},
    {"", "*", true},
    {"Black Ink", "*BLACK*", true},
    {"abcabd", "*abd", true}, // the first "ab" is a false start: the match goes back to the *
    {"abcabe", "*abd", false},
    // letters without regard to case, also Latin-1 ones
    {"stock rush", "STOCK*", true},
    {"ÉCOLE", "*école*", true},
    {"Crème", "CRÈME", true},
    // ? exactly one character (a UTF-8 letter counts once)
    {"cat", "c?t", true},
    {"ct", "c?t", false},
    {"caat", "c?t", false},
    {"cét", "c?t", true},
    {"", "?", false},
    // # one digit
    {"PMS 185", "PMS ###", true},
    {"PMS 18A", "PMS ###", false},
    // [list], ranges and [!list]
    {"b", "[a-c]", true},
    {"B", "[a-c]", true},
    {"d", "[a-c]", false},
    {"d", "[!a-c]", true},
    {"b", "[!a-c]", false},
    {"x7", "[xyz]#", true},
    {"a-", "a[-]", true},
    {"*", "[*]", true},   // a bracketed * is the character itself
    {"a", "[*]", false},
    {"?", "[?]", true},
    {"#", "[#]", true},
    {"[x", "[x", true},   // a bracket that is never closed is a plain character
    {"ab", "a[]b", true}, // an empty list stands for no character
    // % and _ are plain characters in the old dialect
    {"100%", "100%", true},
    {"100x", "100%", false},
    {"a_b", "a_b", true},
    {"axb", "a_b", false},
};

TEST(LikePatternTest, MatchesThePatternsOfTheOldEngine)
{
    for (const LikeCase& c : likeCases)
        EXPECT_EQ(data::matchesLikePattern(c.text, c.pattern), c.matches)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
}

// The same patterns in queries of a shop database on the server, which matches them with a regular
// expression of its own: the same answers as the file's engine. UCase gives the same letters too.
TEST(LikePatternTest, TheServerMatchesThePatternsAlike)
{
    if (!EngineShop::available(Engine::Server))
        GTEST_SKIP() << testsupport::noTestServerReason();
    EngineShop shop(Engine::Server, "INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES ('', 1)");
    for (const LikeCase& c : likeCases) {
        shop.database().execute(std::string("UPDATE MARKUPS SET DEPARTMENT = '") + c.text + "'");
        const std::string where = std::string(" FROM MARKUPS WHERE DEPARTMENT LIKE '") + c.pattern + "'";
        EXPECT_EQ(shop.database().openRecordset("SELECT MARKUP" + where).recordCount(), c.matches ? 1 : 0)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
        EXPECT_EQ(shop.database().openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT NOT LIKE '" +
                                                std::string(c.pattern) + "'").recordCount(),
                  c.matches ? 0 : 1)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
        EXPECT_EQ(shop.database().openRecordset("SELECT UCASE(DEPARTMENT) AS U FROM MARKUPS").field("U").text(),
                  data::upperCaseText(c.text));
    }
}

TEST(LikePatternTest, UpperCaseCoversLatinLetters)
{
    EXPECT_EQ(data::upperCaseText("Pre-Press:"), "PRE-PRESS:");
    EXPECT_EQ(data::upperCaseText("crème brûlée"), "CRÈME BRÛLÉE");
    EXPECT_EQ(data::upperCaseText("÷ß"), "÷ß"); // no upper-case form in Latin-1: unchanged
}

} // namespace
