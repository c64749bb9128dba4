#include <string>

#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "platform/Format.h"
#include "tests/support/Faults.h"

namespace {

using platform::civilFromSerial;
using platform::dateSerial;
using platform::formatDate;

using testsupport::faultNumber;

struct SerialCase
{
    int year, month, day, hour, minute, second;
    double serial;
};

TEST(DateSerial, DaysSinceTheThirtiethOfDecember1899)
{
    const SerialCase cases[] = {
        {1899, 12, 30, 0, 0, 0, 0},
        {1899, 12, 31, 0, 0, 0, 1},
        {1900, 1, 1, 0, 0, 0, 2},
        {2000, 1, 1, 0, 0, 0, 36526},
        {2024, 1, 1, 0, 0, 0, 45292},     // 36526 + 24 years x 365 + 6 leap days (2000 ... 2020)
        {2024, 1, 15, 0, 0, 0, 45306},
        {2024, 1, 15, 12, 0, 0, 45306.5},
        {2024, 1, 15, 18, 0, 0, 45306.75},
        {1899, 12, 30, 18, 0, 0, 0.75},
        {1899, 12, 29, 6, 0, 0, -1.25},   // before day 0 the time counts away from it
        {1899, 12, 29, 0, 0, 0, -1},
        {1899, 12, 28, 12, 0, 0, -2.5},
        {2024, 13, 1, 0, 0, 0, 45658},    // month 13 is January 2025: 45292 + 366
        {2024, 3, 0, 0, 0, 0, 45351},     // day 0 of March is 29 February 2024: 45292 + 31 + 28
        {2025, 0, 1, 0, 0, 0, 45627},     // month 0 is December 2024: 45658 - 31
        {100, 1, 1, 0, 0, 0, -657434},
        {9999, 12, 31, 0, 0, 0, 2958465},
    };
    for (const SerialCase& c : cases)
        EXPECT_EQ(dateSerial(c.year, c.month, c.day, c.hour, c.minute, c.second), c.serial)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
}

struct CivilCase
{
    double serial;
    int year, month, day, hour, minute, second;
};

TEST(DateSerial, BackToCivilDateAndTime)
{
    const CivilCase cases[] = {
        {0, 1899, 12, 30, 0, 0, 0},
        {1.5, 1899, 12, 31, 12, 0, 0},
        {-1.25, 1899, 12, 29, 6, 0, 0},
        {-0.5, 1899, 12, 30, 12, 0, 0},   // day 0 either side: the fraction is the time
        {-2.75, 1899, 12, 28, 18, 0, 0},
        {45306, 2024, 1, 15, 0, 0, 0},
        {45351, 2024, 2, 29, 0, 0, 0},
        {45306 + (13 * 3600 + 5 * 60 + 9) / 86400.0, 2024, 1, 15, 13, 5, 9},
        {45306.99999999, 2024, 1, 16, 0, 0, 0}, // rounds to the next second, the next day
        {-657434, 100, 1, 1, 0, 0, 0},
        {2958465.5, 9999, 12, 31, 12, 0, 0},
    };
    for (const CivilCase& c : cases) {
        const platform::CivilDateTime t = civilFromSerial(c.serial);
        EXPECT_EQ(t.year, c.year) << c.serial;
        EXPECT_EQ(t.month, c.month) << c.serial;
        EXPECT_EQ(t.day, c.day) << c.serial;
        EXPECT_EQ(t.hour, c.hour) << c.serial;
        EXPECT_EQ(t.minute, c.minute) << c.serial;
        EXPECT_EQ(t.second, c.second) << c.serial;
    }
}

TEST(DateSerial, OutsideTheYears100To9999IsOverflow)
{
    EXPECT_EQ(faultNumber([] { civilFromSerial(2958466); }), 6);
    EXPECT_EQ(faultNumber([] { civilFromSerial(-657435); }), 6);
    EXPECT_EQ(faultNumber([] { civilFromSerial(1e300); }), 6);
    EXPECT_EQ(faultNumber([] { dateSerial(10000, 1, 1); }), 6);
    EXPECT_EQ(faultNumber([] { dateSerial(99, 12, 31); }), 6);
}

struct DatePatternCase
{
    double serial;
    const char* pattern;
    const char* expected;
};

TEST(FormatDate, Patterns)
{
    const double oneFivePm = 45306 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
    const DatePatternCase cases[] = {
        {45306, "mm/dd/yyyy", "01/15/2024"},
        {45306, "mm/dd/yy", "01/15/24"},
        {2, "mm/dd/yyyy", "01/01/1900"},
        {2, "mm/dd/yy", "01/01/00"},
        {-1.25, "mm/dd/yyyy", "12/29/1899"},
        {45306, "hh:mm:ss AM/PM", "12:00:00 AM"},    // midnight is 12 AM
        {45306.5, "hh:mm:ss AM/PM", "12:00:00 PM"},  // noon is 12 PM
        {oneFivePm, "hh:mm:ss AM/PM", "01:05:09 PM"},
        {45306 + 86399 / 86400.0, "hh:mm:ss AM/PM", "11:59:59 PM"},
        {-1.25, "hh:mm:ss AM/PM", "06:00:00 AM"},
        {oneFivePm, "mm/dd/yyyy", "01/15/2024"},
    };
    for (const DatePatternCase& c : cases)
        EXPECT_EQ(formatDate(c.serial, c.pattern), c.expected) << c.serial << " " << c.pattern;
}

TEST(FormatDate, NumberFormatOfADateSerialUsesTheDatePattern)
{
    EXPECT_EQ(platform::format(45306.0, "mm/dd/yy"), "01/15/24");
}

TEST(FormatDate, UnknownPatternIsFaultFive)
{
    EXPECT_EQ(faultNumber([] { formatDate(45306, "yyyy-mm-dd"); }), 5);
}

} // namespace
