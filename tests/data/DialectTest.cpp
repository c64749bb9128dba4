#include <string>

#include <gtest/gtest.h>

#include "data/JetErrors.h"
#include "data/Dialect.h"
#include "platform/Fault.h"

namespace {

struct AdaptCase
{
    const char* situation;
    const char* oldDialect;
    const char* sqlite;
};

// Each row: a text as the estimating engine writes it, and what SQLite must be given.
const AdaptCase adaptCases[] = {
    {"bracketed names become quoted identifiers", "SELECT [ORDER NO] FROM [ORDERS]",
     "SELECT \"ORDER NO\" FROM \"ORDERS\""},
    {"a double-quoted text is a literal, never a name", "WHERE ORDERNO = \"10045\"", "WHERE ORDERNO = '10045'"},
    {"an apostrophe inside a double-quoted literal is doubled", "WHERE ORDERNO = \"O'Brien\"",
     "WHERE ORDERNO = 'O''Brien'"},
    {"a doubled double quote stands for one quote", "WHERE DESCRIPTION = \"12\"\" ruler\"",
     "WHERE DESCRIPTION = '12\" ruler'"},
    {"apostrophe literals stay as written", "WHERE ACCTNAME = 'Mack''s Deli'", "WHERE ACCTNAME = 'Mack''s Deli'"},
    {"comments pass as they are, quotes in them too", "SELECT [A] -- Mack's \"x\"\nFROM /* it's [B] */ T",
     "SELECT \"A\" -- Mack's \"x\"\nFROM /* it's [B] */ T"},
    {"LIKE patterns pass to the like() function unchanged", "WHERE DEPARTMENT Like 'Stock*'",
     "WHERE DEPARTMENT Like 'Stock*'"},
    {"a double-quoted LIKE pattern becomes an apostrophe literal", "WHERE UCASE(INKCOLOR) NOT LIKE \"*BLACK*\"",
     "WHERE UCASE(INKCOLOR) NOT LIKE '*BLACK*'"},
    {"list patterns are not taken for bracketed names inside a literal", "WHERE PMSNO LIKE '[!0-9]#?'",
     "WHERE PMSNO LIKE '[!0-9]#?'"},
    {"IIf with UCase, a double-quoted text and True/False",
     "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=\"PADDING\",True,False) AS IsPadding",
     "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)='PADDING',-1,0) AS IsPadding"},
    {"True and False in any case are -1 and 0", "WHERE PRINTPRICING = true OR FOILFLAG = FALSE",
     "WHERE PRINTPRICING = -1 OR FOILFLAG = 0"},
    {"minus True keeps the two minus signs apart", "SELECT -True", "SELECT - -1"},
    {"a column that happens to be called True after a dot is a name", "SELECT T.True FROM T",
     "SELECT T.True FROM T"},
    {"division is done in doubles", "SELECT SUM(COST2 * (1+MARKUP/100)) AS TOTRETAIL",
     "SELECT SUM(COST2 * (1+MARKUP*1.0/100)) AS TOTRETAIL"},
    {"nested parenthesised joins pass unchanged",
     "FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) LEFT JOIN PMSCOLORS ON "
     "INKSELECTIONS.PMSID = PMSCOLORS.PMSID",
     "FROM (INKSELECTIONS LEFT JOIN COLORS ON INKSELECTIONS.COLORID = COLORS.COLORID) LEFT JOIN PMSCOLORS ON "
     "INKSELECTIONS.PMSID = PMSCOLORS.PMSID"},
    {"report table DDL: LONG becomes INTEGER, TEXT (n), YESNO and DATETIME stay",
     "CREATE TABLE [PRINTRPT] ([PRINTRPTRUNID] LONG NOT NULL, [DESCRIPTION] TEXT (25) NOT NULL, "
     "[BREAKAFTER] YESNO NOT NULL, [RUNDATE] DATETIME NOT NULL);",
     "CREATE TABLE \"PRINTRPT\" (\"PRINTRPTRUNID\" INTEGER NOT NULL, \"DESCRIPTION\" TEXT (25) NOT NULL, "
     "\"BREAKAFTER\" YESNO NOT NULL, \"RUNDATE\" DATETIME NOT NULL);"},
    {"an index name belongs to its table", "CREATE INDEX [RUNDATE] ON [PRINTRPT] ([RUNDATE] ASC);",
     "CREATE INDEX \"PRINTRPT_RUNDATE\" ON \"PRINTRPT\" (\"RUNDATE\" ASC);"},
    {"WITH PRIMARY is dropped from a unique index",
     "CREATE UNIQUE INDEX [PrimaryKey] ON [PRINTRPT] ([PRINTRPTRUNID] ASC, [SORTORDER] ASC) WITH PRIMARY;",
     "CREATE UNIQUE INDEX \"PRINTRPT_PrimaryKey\" ON \"PRINTRPT\" (\"PRINTRPTRUNID\" ASC, \"SORTORDER\" ASC);"},
    {"DROP INDEX name ON table", "DROP INDEX [RUNDATE] ON [PRINTRPT]", "DROP INDEX \"PRINTRPT_RUNDATE\""},
    {"LONG outside DDL is left alone", "SELECT LONG FROM T", "SELECT LONG FROM T"},
    {"non-ASCII letters pass unchanged", "WHERE ACCTNAME = \"Café Müller\"", "WHERE ACCTNAME = 'Café Müller'"},
};

TEST(DialectTest, AdaptsEachConstructOfTheOldDialect)
{
    for (const AdaptCase& c : adaptCases) {
        EXPECT_EQ(data::adaptSql(c.oldDialect), c.sqlite) << c.situation << "\n  Old text: " << c.oldDialect;
    }
}

TEST(DialectTest, AnUnterminatedLiteralOrNameIsASyntaxFault)
{
    for (const char* text : {"SELECT * FROM ORDERS WHERE ORDERNO = 'O", "WHERE X = \"abc", "SELECT [ORDERNO FROM T"}) {
        try {
            data::adaptSql(text);
            ADD_FAILURE() << "no fault for " << text;
        } catch (const platform::Fault& fault) {
            EXPECT_EQ(fault.number(), data::SyntaxError) << text;
            EXPECT_NE(std::string(fault.what()).find(text), std::string::npos) << fault.what();
        }
    }
}

TEST(DialectTest, SqlLiteralDoublesApostrophesAndKeepsEverythingElse)
{
    EXPECT_EQ(data::sqlLiteral(""), "''");
    EXPECT_EQ(data::sqlLiteral("10045"), "'10045'");
    EXPECT_EQ(data::sqlLiteral("O'Brien \"x\" ; DROP"), "'O''Brien \"x\" ; DROP'");
    EXPECT_EQ(data::sqlLiteral("''"), "''''''");
    EXPECT_EQ(data::sqlLiteral("50% [rush] *"), "'50% [rush] *'");
}

} // namespace
