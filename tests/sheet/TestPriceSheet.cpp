#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Format.h"
#include "sheet/PriceSheet.h"

namespace {

using sheet::SheetOp;
using sheet::SheetOpKind;
using pricing::Typeface;

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A list line as the pricing run writes it: quantity, 27 spaces, "$##0.00".
std::string listLine(int quantity, const std::string& price)
{
    return std::to_string(quantity) + std::string(27, ' ') + price;
}

sheet::SheetInputs inputsWith(int lines, Typeface typeface = Typeface::Courier)
{
    sheet::SheetInputs in;
    for (int i = 1; i <= lines; ++i)
        in.priceLines.push_back(listLine(i * 100, "$" + std::to_string(i) + ".00"));
    in.category = "Letterheads";
    in.orderNo = "24101";
    in.description = "Letterhead";
    in.stock = "24# Bond";
    in.size = "8.5 x 11";
    in.bindery = "Pad";
    in.typeface = typeface;
    return in;
}

// 8 December 2026, 18:31:55: a fixed clock for the date line.
const double kPrintedAt = platform::dateSerial(2026, 12, 8, 18, 31, 55);

// The price rows of a Courier rendering: the lines between the second rule and the closing rule.
std::vector<std::string> priceRows(const std::string& text)
{
    const std::vector<std::string> lines = splitLines(text);
    std::vector<std::string> rows;
    int rules = 0;
    for (const std::string& line : lines) {
        if (line.rfind("  ---", 0) == 0) {
            ++rules;
            continue;
        }
        if (rules == 2)
            rows.push_back(line);
    }
    EXPECT_EQ(rules, 3) << text;
    return rows;
}

TEST(PriceSheet, AnEmptyListPrintsNothing)
{
    EXPECT_TRUE(sheet::buildPriceSheet(inputsWith(0), kPrintedAt).empty());
}

// The whole Courier sheet of three lines, column by column. Columns: title at 8 (7 spaces), time at 22,
// description at 17, left price at 18, right quantity at 37, right price at 54.
TEST(PriceSheet, CourierSheetOfThreeLines)
{
    const std::string text = sheet::renderSheetText(sheet::buildPriceSheet(inputsWith(3), kPrintedAt));
    const std::string rule = "  " + std::string(62, '-');
    const std::string expected =
        "       Counter Price Book\n"
        " \n"
        "  Category:  Letterheads\n"
        "\n"
        "  Ref#: Q-24101\n"
        // "  Date: 12/08/26" is 16 characters; column 22 starts after 21.
        "  Date: 12/08/26     Time: 06:31:55 PM\n"
        "\n"
        "  Description:  Letterhead\n"
        "  Stock: 24# Bond" + std::string(60 - 8, ' ') + "\n"
        "  Size: 8.5 x 11\n"
        "  Bindery: Pad" + std::string(60 - 3, ' ') + "\n" +
        rule + "\n"
        "  Quantity       Price                Quantity       Price\n" +
        rule + "\n"
        // rows = (3 + 1) / 2 = 2: lines 1, 2 left, line 3 right of row 1.
        // "  #,###,##0" of 100 is "  100": the # places print nothing; price at column 18 starts after 17.
        "  100            $1.00                300            $3.00\n"
        "  200            $2.00\n" +
        rule + "\n";
    EXPECT_EQ(text, expected);
}

// Rows = (n + 1) / 2: the first half of the list on the left, the rest on the right, in list order.
TEST(PriceSheet, PriceRowsSplitTheListInTwoColumnPairs)
{
    struct Case
    {
        int lines;
        std::size_t rows;
        int lastRightQuantity; // quantity of the last row's right pair, 0 when it has none
    };
    const Case cases[] = {
        {38, 19, 3800}, // lines 1-19 left, 20-38 right
        {7, 4, 0},      // 1-4 left, 5-7 right; row 4 has no right pair
        {1, 1, 0},
        {2, 1, 200},
    };
    for (const Case& c : cases) {
        const std::string text = sheet::renderSheetText(sheet::buildPriceSheet(inputsWith(c.lines), kPrintedAt));
        const std::vector<std::string> rows = priceRows(text);
        ASSERT_EQ(rows.size(), c.rows) << c.lines << " lines";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int left = static_cast<int>(i + 1) * 100;
            // The left quantity starts the row: "  100", "  1,000" with a separator.
            EXPECT_EQ(rows[i].substr(0, 17).find(platform::format(static_cast<double>(left), "  #,###,##0") + " "), 0u)
                << c.lines << " lines, row " << i;
            const std::size_t right = i + c.rows + 1;
            if (right <= static_cast<std::size_t>(c.lines)) { // NOLINT
                // Right quantity at column 37: from character 36 on.
                EXPECT_EQ(rows[i].substr(36).find(platform::format(static_cast<double>(right * 100), "  #,###,##0") + " "), 0u)
                    << c.lines << " lines, row " << i;
            } else {
                EXPECT_LT(rows[i].size(), 36u) << "row " << i << " has a right pair: " << rows[i];
            }
        }
        if (c.lastRightQuantity > 0) {
            EXPECT_NE(rows.back().find(platform::format(static_cast<double>(c.lastRightQuantity), "  #,###,##0")),
                      std::string::npos);
        }
    }
    // 38 lines: row 1 holds lines 1 (100) and 20 (2,000); row 19 holds 19 (1,900) and 38 (3,800).
    const std::vector<std::string> rows =
        priceRows(sheet::renderSheetText(sheet::buildPriceSheet(inputsWith(38), kPrintedAt)));
    // Left price at column 18 (after 17 characters), right quantity "  2,000" at 37 (after 36), right price
    // at 54 (after 53): "  100" + 12 blanks + "$1.00" (22) + 14 blanks + "  2,000" (43) + 10 blanks + "$20.00".
    EXPECT_EQ(rows.front(), "  100            $1.00                2,000          $20.00");
    EXPECT_EQ(rows.back(), "  1,900          $19.00               3,800          $38.00");
}

// A list line shows $1234.50; the sheet reprints it with a thousands separator. A price below nothing (a
// credit the shop's figures make) keeps its minus sign.
TEST(PriceSheet, PricesGetThousandsSeparators)
{
    sheet::SheetInputs in = inputsWith(0);
    in.priceLines = {listLine(5000, "$1234.50"), listLine(10000, "-$0.50"), listLine(12500, "$1234567.25")};
    const std::vector<std::string> rows =
        priceRows(sheet::renderSheetText(sheet::buildPriceSheet(in, kPrintedAt)));
    ASSERT_EQ(rows.size(), 2u);
    // "$1,234.50" from 17 to 26, "  12,500" from 36 to 44, the price at 53.
    EXPECT_EQ(rows[0], "  5,000          $1,234.50            12,500         $1,234,567.25");
    EXPECT_EQ(rows[1], "  10,000         -$0.50");
}

TEST(PriceSheet, DescriptionLines)
{
    const std::string fifty(50, 'x');
    const std::string fortyWithSpace = std::string(40, 'a') + " "; // space at position 41
    struct Case
    {
        const char* name;
        std::string description;
        std::size_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"exactly the width prints on one line", fifty, 50, {fifty}},
        {"51 characters with a space at 41 break after the space", fortyWithSpace + "bbbbbbbbbb", 50,
         {fortyWithSpace, "bbbbbbbbbb"}},
        {"no space in the first w characters breaks at w", std::string(120, 'z'), 50,
         {std::string(50, 'z'), std::string(50, 'z'), std::string(20, 'z')}},
        {"a space at the very end of the width stays in the line", std::string(49, 'c') + " d", 50,
         {std::string(49, 'c') + " ", "d"}},
        {"empty description has no lines", "", 50, {}},
        {"Times Roman width of 80", std::string(79, 'e') + " f", 80, {std::string(79, 'e') + " ", "f"}},
        // Accented letters count once each: 49 letters and a space fill the 50, then the rest.
        {"characters, not bytes", std::string(24, 'g') + "\xC3\xA9" + std::string(24, 'h') + " ij", 50,
         {std::string(24, 'g') + "\xC3\xA9" + std::string(24, 'h') + " ", "ij"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sheet::descriptionLines(c.description, c.width), c.lines) << c.name;
}

TEST(PriceSheet, DescriptionLinesPrintAtColumn17)
{
    sheet::SheetInputs in = inputsWith(1);
    in.description = std::string(40, 'a') + " " + std::string(10, 'b');
    const std::vector<std::string> lines =
        splitLines(sheet::renderSheetText(sheet::buildPriceSheet(in, kPrintedAt)));
    // "  Description: " is 15 characters; column 17 starts after 16.
    EXPECT_EQ(lines[7], "  Description:  " + std::string(40, 'a') + " ");
    EXPECT_EQ(lines[8], std::string(16, ' ') + std::string(10, 'b'));
    EXPECT_EQ(lines[9].rfind("  Stock: ", 0), 0u);
}

TEST(PriceSheet, NoDescriptionStillStartsStockOnItsOwnLine)
{
    sheet::SheetInputs in = inputsWith(1);
    in.description.clear();
    const std::vector<std::string> lines =
        splitLines(sheet::renderSheetText(sheet::buildPriceSheet(in, kPrintedAt)));
    EXPECT_EQ(lines[7], "  Description: ");
    EXPECT_EQ(lines[8].rfind("  Stock: ", 0), 0u);
}

TEST(PriceSheet, CategoryReferenceAndSize)
{
    // 41 characters: the first 40 are "  Business Cards" and blanks; trimmed to the words.
    const std::string category = "  Business Cards" + std::string(24, ' ') + "X";
    ASSERT_EQ(category.size(), 41u);
    EXPECT_EQ(sheet::sheetCategory(category), "Business Cards");
    EXPECT_EQ(sheet::sheetCategory(std::string(41, 'k')), std::string(40, 'k'));
    EXPECT_EQ(sheet::sheetReference(true, "24101"), "J-24101");
    // The order number printed whole: a reference is the order's, never the start of it.
    EXPECT_EQ(sheet::sheetReference(false, "1234567890"), "Q-1234567890");
    EXPECT_EQ(sheet::sheetReference(false, "O'NEIL-01"), "Q-O'NEIL-01");

    sheet::SheetInputs in = inputsWith(1);
    in.size = "11 x 17 folded to 8.5 x 11"; // 26 characters: the first 20 print
    const std::vector<std::string> lines =
        splitLines(sheet::renderSheetText(sheet::buildPriceSheet(in, kPrintedAt)));
    EXPECT_EQ(lines[9], "  Size: 11 x 17 folded to 8."); // "11 x 17 folded to 8." is 20 characters
}

// Stock is padded to 60 (Courier) or 75 (Times Roman, Sans Serif); bindery to 60 or 68.
TEST(PriceSheet, StockAndBinderyPaddingPerTypeface)
{
    struct Case
    {
        Typeface typeface;
        std::size_t stock;
        std::size_t bindery;
    };
    const Case cases[] = {{Typeface::Courier, 60, 60}, {Typeface::TimesRoman, 75, 68}, {Typeface::SansSerif, 75, 68}};
    for (const Case& c : cases) {
        for (const std::size_t length : {std::size_t{10}, std::size_t{70}}) {
            sheet::SheetInputs in = inputsWith(1, c.typeface);
            in.stock = std::string(length, 's');
            in.bindery = std::string(length, 'b');
            const sheet::SheetOps ops = sheet::buildPriceSheet(in, kPrintedAt);
            std::string stock, bindery;
            for (std::size_t i = 1; i < ops.size(); ++i) {
                if (ops[i].kind == SheetOpKind::Text && ops[i].text.rfind(in.stock, 0) == 0)
                    stock = ops[i].text;
                if (ops[i].kind == SheetOpKind::Text && ops[i].text.rfind(in.bindery, 0) == 0)
                    bindery = ops[i].text;
            }
            // 70 characters print unpadded in Courier (over 60) and padded to 75 in the others.
            EXPECT_EQ(stock.size(), std::max(length, c.stock)) << static_cast<int>(c.typeface) << " " << length;
            EXPECT_EQ(bindery.size(), std::max(length, c.bindery)) << static_cast<int>(c.typeface) << " " << length;
        }
    }
}

// Fonts, sizes, bold and underline of the heading lines, in the order the printer gets them.
TEST(PriceSheet, FontsSizesAndSwitches)
{
    const sheet::SheetOps ops = sheet::buildPriceSheet(inputsWith(1, Typeface::TimesRoman), kPrintedAt);
    ASSERT_GE(ops.size(), 14u);
    const std::vector<SheetOp> opening = {
        {SheetOpKind::FontName, "Times New Roman", 0, false},
        {SheetOpKind::FontSize, "", 30, false},
        {SheetOpKind::Bold, "", 0, true},
        {SheetOpKind::Column, "", 14, false},
        {SheetOpKind::Text, "Counter Price Book", 0, false},
        {SheetOpKind::EndLine, "", 0, false},
        {SheetOpKind::Text, " ", 0, false},
        {SheetOpKind::EndLine, "", 0, false},
        {SheetOpKind::FontSize, "", 14, false},
        {SheetOpKind::Text, "  Category:  ", 0, false},
        {SheetOpKind::FontSize, "", 18, false},
        {SheetOpKind::Underline, "", 0, true},
        {SheetOpKind::Text, "Letterheads", 0, false},
        {SheetOpKind::EndLine, "", 0, false},
        {SheetOpKind::Underline, "", 0, false},
        {SheetOpKind::FontSize, "", 8, false},
        {SheetOpKind::EndLine, "", 0, false},
        {SheetOpKind::FontSize, "", 14, false},
    };
    EXPECT_EQ(std::vector<SheetOp>(ops.begin(), ops.begin() + static_cast<long>(opening.size())), opening);
    EXPECT_EQ(ops.back().kind, SheetOpKind::EndDocument);

    // Times Roman prints its heading twice, the second at column 56, and rules of 116 dashes.
    const std::string text = sheet::renderSheetText(ops);
    const std::string heading = "  Quantity                Price";
    EXPECT_NE(text.find(heading + std::string(55 - heading.size(), ' ') + heading + "\n"), std::string::npos);
    EXPECT_NE(text.find("\n  " + std::string(116, '-') + "\n"), std::string::npos);
    // Time at column 24: "  Date: 12/08/26" is 16 characters, then 7 blanks.
    EXPECT_NE(text.find("  Date: 12/08/26       Time: 06:31:55 PM\n"), std::string::npos);
}

TEST(PriceSheet, NoTypefaceKeepsThePrinterFontWithTimesColumns)
{
    sheet::SheetInputs in = inputsWith(1);
    in.typeface.reset();
    const sheet::SheetOps ops = sheet::buildPriceSheet(in, kPrintedAt);
    for (const SheetOp& op : ops)
        EXPECT_NE(op.kind, SheetOpKind::FontName);
    EXPECT_EQ(ops[2], (SheetOp{SheetOpKind::Column, "", 14, false})); // Times Roman title column
}

TEST(PriceSheet, MorningTimeAndSansColumns)
{
    // 9:05:07 in the morning, 1 March 2027.
    sheet::SheetInputs in = inputsWith(2, Typeface::SansSerif);
    const std::string text =
        sheet::renderSheetText(sheet::buildPriceSheet(in, platform::dateSerial(2027, 3, 1, 9, 5, 7)));
    EXPECT_NE(text.find("  Date: 03/01/27       Time: 09:05:07 AM\n"), std::string::npos);
    // Sans Serif: left price 22, right quantity 54, right price 75.
    // "  100" then blanks to 21, "$1.00" to 26, blanks to 53, "  200" to 58, blanks to 74.
    const std::string row = "  100" + std::string(16, ' ') + "$1.00" + std::string(53 - 26, ' ') + "  200" +
                            std::string(74 - 58, ' ') + "$2.00\n";
    EXPECT_NE(text.find(row), std::string::npos) << text;
}

// A move to a column already passed goes on at that column of the next line.
TEST(PriceSheet, TextRendererColumnAlreadyPassed)
{
    const sheet::SheetOps ops = {{SheetOpKind::Text, "abcdef", 0, false},
                                   {SheetOpKind::Column, "", 3, false},
                                   {SheetOpKind::Text, "X", 0, false},
                                   {SheetOpKind::Column, "", 5, false},
                                   {SheetOpKind::Text, "Y", 0, false},
                                   {SheetOpKind::EndDocument, "", 0, false}};
    EXPECT_EQ(sheet::renderSheetText(ops), "abcdef\n  X Y\n");
}

} // namespace
