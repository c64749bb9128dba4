#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "platform/FixedText.h"
#include "platform/Statement.h"

namespace {

struct FaultCase
{
    int number;
    const char* text;
};

TEST(Fault, StandardTextsOfTheOldRuntime)
{
    const FaultCase cases[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {53, "File not found"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {94, "Invalid use of Null"},
        {1234, "Application-defined or object-defined error"},
    };
    for (const FaultCase& c : cases) {
        try {
            platform::raise(c.number);
            FAIL() << "no fault";
        } catch (const platform::Fault& f) {
            EXPECT_EQ(f.number(), c.number);
            EXPECT_STREQ(f.what(), c.text);
        }
    }
}

TEST(Fault, OwnTextIsKept)
{
    try {
        platform::raise(3159, "Not a bookmark.");
    } catch (const platform::Fault& f) {
        EXPECT_EQ(f.number(), 3159);
        EXPECT_STREQ(f.what(), "Not a bookmark.");
    }
}

TEST(ResumeNext, SkipsOnlyTheFailingStatement)
{
    int done = 0;
    EXPECT_TRUE(platform::resumeNext([&] { ++done; }));
    EXPECT_FALSE(platform::resumeNext([&] {
        platform::raise(platform::fault::DivisionByZero);
        ++done; // never reached
    }));
    EXPECT_TRUE(platform::resumeNext([&] { ++done; }));
    EXPECT_EQ(done, 2);
    // a program error is no fault of the data and passes up
    EXPECT_THROW(platform::resumeNext([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(FixedText, CutOrPaddedToTheWidth)
{
    EXPECT_EQ(platform::fixedText("Black", 8), "Black   ");
    EXPECT_EQ(platform::fixedText("PMS 185 Warm Red", 15), "PMS 185 Warm Re");
    EXPECT_EQ(platform::fixedText("", 3), "   ");
    EXPECT_EQ(platform::fixedText("abc", 0), "");
    platform::FixedText<4> id;
    EXPECT_EQ(id.str(), "    ");
    id = "001234";
    EXPECT_EQ(id.str(), "0012");
    EXPECT_EQ(platform::FixedText<6>("Q").str(), "Q     ");
    EXPECT_EQ(platform::FixedText<4>::width(), 4u);
}

} // namespace
