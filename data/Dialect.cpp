#include "data/Dialect.h"

#include <cctype>
#include <functional>
#include <vector>

#include "data/JetErrors.h"
#include "data/LikePattern.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace data {

namespace {

// One token of an old-dialect SQL text, with the blanks in front of it so the text can be put back
// together as it was written.
struct Token
{
    enum class Kind { Word, Name, DoubleQuoted, Apostrophe, Number, Symbol };
    Kind kind;
    std::string_view raw;   // the token as written
    std::string_view space; // the blanks before it
    std::string content;    // Name and DoubleQuoted: the name or text inside the quotes, unescaped
    std::string output;     // what SQLite gets; filled in while adapting
    bool dropped = false;
};

// The statement as adapted: every token kept, with the blanks written before it.
std::string joined(const std::vector<Token>& tokens, std::size_t sizeHint)
{
    std::string adapted;
    adapted.reserve(sizeHint);
    for (const Token& token : tokens) {
        if (token.dropped)
            continue;
        adapted.append(token.space);
        adapted += token.output;
    }
    return adapted;
}

bool isWordByte(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

bool equalsUpper(std::string_view word, std::string_view upper)
{
    if (word.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != upper[i])
            return false;
    return true;
}

[[noreturn]] void syntaxError(std::string_view sql)
{
    throw platform::Fault(SyntaxError,
                          "Syntax error in query expression '" + std::string(sql) + "'.");
}

std::vector<Token> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        // Blanks and comments, which SQLite reads as blanks: "--" to the line's end, "/*" to "*/" or the end.
        const std::size_t spaceStart = i;
        while (i < n) {
            if (std::isspace(static_cast<unsigned char>(sql[i]))) {
                ++i;
            } else if (sql.substr(i, 2) == "--" || sql.substr(i, 2) == "/*") {
                const bool line = sql[i] == '-';
                const std::size_t end = sql.find(line ? "\n" : "*/", i + 2);
                i = end == std::string_view::npos ? n : end + (line ? 1 : 2);
            } else {
                break;
            }
        }
        if (i >= n)
            break;
        Token token{Token::Kind::Symbol, {}, sql.substr(spaceStart, i - spaceStart), {}, {}};
        const std::size_t start = i;
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            // A literal; the quote character doubled inside stands for one.
            ++i;
            bool closed = false;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        token.content += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                token.content += sql[i++];
            }
            if (!closed)
                syntaxError(sql);
            token.kind = c == '"' ? Token::Kind::DoubleQuoted : Token::Kind::Apostrophe;
        } else if (c == '[') {
            const std::size_t close = sql.find(']', i + 1);
            if (close == std::string_view::npos)
                syntaxError(sql);
            token.kind = Token::Kind::Name;
            token.content = std::string(sql.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
            token.kind = Token::Kind::Number;
            while (i < n && (std::isdigit(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-'))
                    ++j;
                if (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) {
                    i = j;
                    while (i < n && std::isdigit(static_cast<unsigned char>(sql[i])))
                        ++i;
                }
            }
        } else if (isWordByte(static_cast<unsigned char>(c))) {
            token.kind = Token::Kind::Word;
            while (i < n && isWordByte(static_cast<unsigned char>(sql[i])))
                ++i;
        } else {
            token.kind = Token::Kind::Symbol;
            ++i;
        }
        token.raw = sql.substr(start, i - start);
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// The name a token stands for, as the old engine would look it up: a bracketed name or a bare word.
std::string nameOf(const Token& token)
{
    if (token.kind == Token::Kind::Name || token.kind == Token::Kind::DoubleQuoted)
        return token.content;
    return std::string(token.raw);
}

bool isWord(const std::vector<Token>& tokens, std::size_t i, std::string_view upper)
{
    return i < tokens.size() && tokens[i].kind == Token::Kind::Word && equalsUpper(tokens[i].raw, upper);
}

bool isSymbol(const std::vector<Token>& tokens, std::size_t i, char symbol)
{
    return i < tokens.size() && tokens[i].kind == Token::Kind::Symbol && tokens[i].raw[0] == symbol;
}

// Index names of the old engine belong to their table ("RUNDATE" exists on every report table), while
// SQLite's belong to the whole database, so an index is stored as "<table>_<name>".
void renameIndex(std::vector<Token>& tokens, std::size_t nameAt, std::size_t tableAt)
{
    tokens[nameAt].output = sqlIdentifier(nameOf(tokens[tableAt]) + "_" + nameOf(tokens[nameAt]));
}

void adaptCreateIndex(std::vector<Token>& tokens, std::size_t indexAt)
{
    const std::size_t nameAt = indexAt + 1;
    if (!isWord(tokens, nameAt + 1, "ON") || nameAt + 2 >= tokens.size())
        return;
    renameIndex(tokens, nameAt, nameAt + 2);
    // "WITH PRIMARY", "WITH DISALLOW NULL", "WITH IGNORE NULL": index options of the old engine that
    // SQLite has no words for; the unique index itself keeps the rows apart.
    for (std::size_t i = nameAt + 3; i < tokens.size(); ++i) {
        if (!isWord(tokens, i, "WITH"))
            continue;
        for (std::size_t j = i; j < tokens.size() && tokens[j].kind == Token::Kind::Word; ++j)
            tokens[j].dropped = true;
        break;
    }
}

// CREATE [UNIQUE] INDEX and DROP INDEX name ON table, with the index named as a file names it.
void adaptIndexStatement(std::vector<Token>& tokens)
{
    if (isWord(tokens, 0, "CREATE")) {
        if (isWord(tokens, 1, "INDEX"))
            adaptCreateIndex(tokens, 1);
        else if (isWord(tokens, 1, "UNIQUE") && isWord(tokens, 2, "INDEX"))
            adaptCreateIndex(tokens, 2);
    } else if (isWord(tokens, 0, "DROP") && isWord(tokens, 1, "INDEX") && isWord(tokens, 3, "ON") &&
               tokens.size() > 4) {
        renameIndex(tokens, 2, 4);
        tokens[3].dropped = true;
        tokens[4].dropped = true;
    }
}

} // namespace

std::string adaptSql(std::string_view oldDialectSql)
{
    std::vector<Token> tokens = tokenize(oldDialectSql);

    for (Token& token : tokens) {
        switch (token.kind) {
        case Token::Kind::Name:
            token.output = sqlIdentifier(token.content);
            break;
        case Token::Kind::DoubleQuoted:
            // The old engine reads "..." as a text, never as a name.
            token.output = sqlLiteral(token.content);
            break;
        default:
            token.output = std::string(token.raw);
            break;
        }
    }

    const bool createTable = isWord(tokens, 0, "CREATE") && isWord(tokens, 1, "TABLE");
    const bool alterTable = isWord(tokens, 0, "ALTER") && isWord(tokens, 1, "TABLE");
    adaptIndexStatement(tokens);

    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == Token::Kind::Word) {
            const bool qualified = isSymbol(tokens, i + 1, '.') || (i > 0 && isSymbol(tokens, i - 1, '.'));
            if (!qualified && (equalsUpper(token.raw, "TRUE") || equalsUpper(token.raw, "FALSE"))) {
                // Yes/no values as the old engine stored them.
                const bool afterMinus = i > 0 && isSymbol(tokens, i - 1, '-') && token.space.empty();
                token.output = equalsUpper(token.raw, "TRUE") ? (afterMinus ? " -1" : "-1") : "0";
            } else if ((createTable || alterTable) && equalsUpper(token.raw, "LONG")) {
                token.output = "INTEGER";
            }
        } else if (token.kind == Token::Kind::Symbol && token.raw == "/" && !isSymbol(tokens, i + 1, '*')) {
            // The old engine's '/' always divides as doubles (MARKUP/100 of 25 is 0.25); SQLite divides
            // two whole numbers as integers. Multiplying the left side by 1.0 first, at the same
            // precedence, makes the division a double one without moving any operand.
            token.output = "*1.0/";
        }
    }

    return joined(tokens, oldDialectSql.size() + 16);
}

namespace {

// Words of the old dialect's statements that are never table or column names.
bool isKeyword(std::string_view word)
{
    static constexpr std::string_view keywords[] = {
        "ADD",     "ALL",   "ALTER",  "AND",      "ANY",     "AS",     "ASC",     "BETWEEN", "BY",     "CASE",
        "COLUMN",  "CONSTRAINT", "CREATE", "CROSS", "DEFAULT", "DELETE", "DESC",  "DISTINCT", "DROP",  "ELSE",
        "END",     "EXISTS", "FOREIGN", "FROM",   "FULL",    "GROUP",  "HAVING",  "IN",      "INDEX",  "INNER",
        "INSERT",  "INTO",  "IS",     "JOIN",     "KEY",     "LEFT",   "LIKE",    "NOT",     "NULL",   "ON",
        "OR",      "ORDER", "OUTER",  "PRIMARY",  "REFERENCES", "RIGHT", "SELECT", "SET",    "TABLE",  "THEN",
        "UNION",   "UNIQUE", "UPDATE", "VALUES",  "WHEN",    "WHERE",  "WITH"};
    for (const std::string_view keyword : keywords)
        if (equalsUpper(word, keyword))
            return true;
    return false;
}

// A column type of the old engine's DDL as the server's: whole numbers 64-bit, every other number a
// double (as the file keeps them, so sums and products come out the same), yes/no as -1/0 in a yes/no
// domain the layer reads back as yes/no values, dates as timestamps.
const char* serverType(std::string_view word)
{
    for (const std::string_view whole : {"LONG", "INTEGER", "INT", "SHORT", "BYTE", "COUNTER", "AUTOINCREMENT"})
        if (equalsUpper(word, whole))
            return "bigint";
    for (const std::string_view real : {"REAL", "DOUBLE", "FLOAT", "SINGLE", "CURRENCY", "NUMERIC", "DECIMAL"})
        if (equalsUpper(word, real))
            return "double precision";
    for (const std::string_view text : {"TEXT", "MEMO", "VARCHAR", "CHAR", "STRING"})
        if (equalsUpper(word, text))
            return "text";
    for (const std::string_view yesNo : {"YESNO", "BIT", "BOOLEAN", "LOGICAL"})
        if (equalsUpper(word, yesNo))
            return "yesno";
    for (const std::string_view date : {"DATETIME", "DATE", "TIMESTAMP"})
        if (equalsUpper(word, date))
            return "timestamp(0)";
    return nullptr;
}

// The position of the ')' that closes the '(' at `open`, or npos.
std::size_t closingParenthesis(const std::vector<Token>& tokens, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < tokens.size(); ++i) {
        if (isSymbol(tokens, i, '('))
            ++depth;
        else if (isSymbol(tokens, i, ')') && --depth == 0)
            return i;
    }
    return std::string_view::npos;
}

// IIf(condition, yes, no) as CASE WHEN condition THEN yes ELSE no END.
void adaptIIf(std::vector<Token>& tokens, std::size_t at, std::string_view sql)
{
    const std::size_t close = closingParenthesis(tokens, at + 1);
    if (close == std::string_view::npos)
        syntaxError(sql);
    std::vector<std::size_t> commas;
    int depth = 0;
    for (std::size_t i = at + 2; i < close; ++i) {
        if (isSymbol(tokens, i, '('))
            ++depth;
        else if (isSymbol(tokens, i, ')'))
            --depth;
        else if (depth == 0 && isSymbol(tokens, i, ','))
            commas.push_back(i);
    }
    if (commas.size() != 2)
        syntaxError(sql);
    tokens[at].output = "CASE";
    tokens[at + 1].output = " WHEN ";
    tokens[commas[0]].output = " THEN ";
    tokens[commas[1]].output = " ELSE ";
    tokens[close].output = " END";
}

// Avg(x) over doubles, as the file's engine averages: the server would average whole numbers exactly.
void adaptAvg(std::vector<Token>& tokens, std::size_t at)
{
    const std::size_t close = closingParenthesis(tokens, at + 1);
    if (close == std::string_view::npos)
        return;
    const std::size_t first = isWord(tokens, at + 2, "DISTINCT") ? at + 2 : at + 1;
    tokens[first].output += "(";
    tokens[close].output = ")::double precision)";
}


// A well-formed number written as a text ("12", "-0.5", " 3 "), as a file's number column takes it.
bool isNumberText(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    std::size_t end = text.size();
    while (end > at && text[end - 1] == ' ')
        --end;
    if (at < end && (text[at] == '+' || text[at] == '-'))
        ++at;
    bool digits = false, point = false;
    for (; at < end; ++at) {
        if (std::isdigit(static_cast<unsigned char>(text[at])))
            digits = true;
        else if (text[at] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// What the column at `at` holds in the tables the statement names: in the table it is qualified with when
// that is a table's name, else in every named table that has such a column (Other where they differ). A
// key kept as a number in one table and as a text in another is compared by the table the statement reads.
ColumnHolds columnHoldsAt(const std::vector<Token>& tokens, std::size_t at, const ServerCatalog& catalog)
{
    const std::string column = nameOf(tokens[at]);
    const auto isName = [&](std::size_t k) {
        return tokens[k].kind == Token::Kind::Word || tokens[k].kind == Token::Kind::Name;
    };
    if (at >= 2 && isSymbol(tokens, at - 1, '.') && isName(at - 2))
        if (const ColumnHolds holds = catalog.columnHolds(nameOf(tokens[at - 2]), column); holds != ColumnHolds::Nothing)
            return holds;
    ColumnHolds found = ColumnHolds::Nothing;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (k == at || !isName(k) || isSymbol(tokens, k + 1, '.') || isSymbol(tokens, k + 1, '('))
            continue;
        const ColumnHolds holds = catalog.columnHolds(nameOf(tokens[k]), column);
        if (holds == ColumnHolds::Nothing || holds == found)
            continue;
        if (found != ColumnHolds::Nothing)
            return ColumnHolds::Other;
        found = holds;
    }
    return found;
}

// A column compared with a literal of the other kind ("STOCKID = '12'", "STOCKID = ''", "JOBCODE = 12"),
// where the server would refuse the statement. A file converts a text that is a number for a number column
// and finds any other text unequal to (and greater than) every number; it compares a number with a text
// column as the number's text. The same answers here: a number text as the number, any other text as the
// comparison's outcome for a row that has a number, a number as its text.
void adaptMixedComparisons(std::vector<Token>& tokens, const ServerCatalog& catalog)
{
    if (!catalog.columnHolds)
        return;
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        const Token& column = tokens[i];
        if (column.kind != Token::Kind::Word && column.kind != Token::Kind::Name)
            continue;
        std::size_t op = i + 1;
        std::string comparison;
        while (op < tokens.size() && tokens[op].kind == Token::Kind::Symbol && comparison.size() < 2 &&
               std::string_view("<>=").find(tokens[op].raw[0]) != std::string_view::npos &&
               (comparison.empty() || tokens[op].space.empty()))
            comparison += tokens[op++].raw[0];
        if (comparison.empty() || op >= tokens.size())
            continue;
        Token& literal = tokens[op];
        const bool text = literal.kind == Token::Kind::Apostrophe || literal.kind == Token::Kind::DoubleQuoted;
        if (!text && literal.kind != Token::Kind::Number)
            continue;
        const ColumnHolds holds = columnHoldsAt(tokens, i, catalog);
        if (!text) {
            if (holds == ColumnHolds::Texts)
                literal.output = sqlLiteral(literal.raw);
            continue;
        }
        if (holds != ColumnHolds::Numbers)
            continue;
        if (isNumberText(literal.content)) {
            literal.output = literal.content;
            continue;
        }
        // Every number is less than any text.
        const bool holdsTrue = comparison == "<>" || comparison == "<" || comparison == "<=";
        std::size_t first = i;
        while (first >= 2 && isSymbol(tokens, first - 1, '.'))
            first -= 2;
        tokens[first].output = "(" + tokens[first].output;
        for (std::size_t k = i + 1; k < op; ++k)
            tokens[k].dropped = true;
        literal.output = std::string(" IS NOT NULL AND ") + (holdsTrue ? "TRUE" : "FALSE") + ")";
    }
}

// The row order a file gives a query of one table without an ORDER BY of its own: the table's stored
// order; with DISTINCT, each value once in the order of its first row. An ORDER BY of the query's own gets
// the stored order for rows it leaves level. Queries of several tables joined keep the first table's
// order; aggregates and GROUP BY are left as they are.
void addStoredOrder(std::vector<Token>& tokens, const ServerCatalog& catalog)
{
    if (!catalog.hasRowKey)
        return;
    std::size_t from = tokens.size(), orderBy = tokens.size(), end = tokens.size();
    int depth = 0;
    bool distinct = false;
    bool aggregate = false;        // a query of one row that adds nothing up in order
    std::vector<std::size_t> sums; // Sum( and Avg( at the query's own level
    std::size_t selected = 1; // the select list's items
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (isSymbol(tokens, i, '('))
            ++depth;
        else if (isSymbol(tokens, i, ')'))
            --depth;
        else if (isSymbol(tokens, i, ';') && depth == 0 && end == tokens.size())
            end = i;
        if (depth != 0 || tokens[i].kind != Token::Kind::Word)
            continue;
        if (isSymbol(tokens, i + 1, '(') && (equalsUpper(tokens[i].raw, "SUM") || equalsUpper(tokens[i].raw, "AVG")))
            sums.push_back(i);
        else if (isSymbol(tokens, i + 1, '(') &&
                 (equalsUpper(tokens[i].raw, "COUNT") || equalsUpper(tokens[i].raw, "MIN") ||
                  equalsUpper(tokens[i].raw, "MAX")))
            aggregate = true;
        if (equalsUpper(tokens[i].raw, "GROUP") || equalsUpper(tokens[i].raw, "UNION") ||
            equalsUpper(tokens[i].raw, "TOP") || equalsUpper(tokens[i].raw, "LIMIT"))
            return;
        if (i == 1 && equalsUpper(tokens[i].raw, "DISTINCT"))
            distinct = true;
        if (equalsUpper(tokens[i].raw, "FROM") && from == tokens.size())
            from = i;
        if (equalsUpper(tokens[i].raw, "ORDER") && isWord(tokens, i + 1, "BY"))
            orderBy = i;
    }
    for (std::size_t i = 1; i < from; ++i)
        if (isSymbol(tokens, i, ',') && !tokens[i].dropped) {
            int level = 0;
            for (std::size_t k = 1; k < i; ++k)
                level += isSymbol(tokens, k, '(') ? 1 : isSymbol(tokens, k, ')') ? -1 : 0;
            if (level == 0)
                ++selected;
        }
    if (from == tokens.size())
        return;
    std::size_t table = from + 1;
    while (isSymbol(tokens, table, '('))
        ++table;
    if (table >= tokens.size() || (tokens[table].kind != Token::Kind::Word && tokens[table].kind != Token::Kind::Name))
        return;
    const std::string stored = catalog.storedName(nameOf(tokens[table]));
    if (stored.empty() || !catalog.hasRowKey(stored))
        return;
    // The table's alias, when it has one, names it in the query.
    std::string reference = sqlIdentifier(stored);
    std::size_t alias = table + 1;
    if (isWord(tokens, alias, "AS"))
        ++alias;
    if (alias < tokens.size() && (tokens[alias].kind == Token::Kind::Word || tokens[alias].kind == Token::Kind::Name) &&
        !isKeyword(nameOf(tokens[alias])))
        reference = tokens[alias].output;
    const std::string key = reference + ".pricebook_rowid";

    // Sums of doubles come out to the last bit as the file's only when the rows are added up in its order.
    if (!sums.empty() || aggregate) {
        for (const std::size_t at : sums) {
            const std::size_t close = closingParenthesis(tokens, at + 1);
            // Sum(DISTINCT x) adds each value once, in no order of rows.
            if (close == std::string_view::npos || tokens[close].output.empty() ||
                tokens[close].output.back() != ')' || isWord(tokens, at + 2, "DISTINCT"))
                continue;
            std::string& output = tokens[close].output;
            output.insert(output.size() - 1, " ORDER BY " + key);
        }
        return;
    }

    std::string order;
    if (distinct && orderBy == tokens.size()) {
        tokens[1].dropped = true;
        order = " GROUP BY ";
        for (std::size_t k = 1; k <= selected; ++k)
            order += (k > 1 ? ", " : "") + std::to_string(k);
        order += " ORDER BY min(" + key + ")";
    } else if (distinct) {
        return; // DISTINCT with an order of its own: the key cannot be added to it
    } else {
        order = orderBy == tokens.size() ? " ORDER BY " + key : ", " + key;
    }
    Token& last = tokens[end - 1];
    last.output += order;
}

} // namespace

std::string adaptSqlForServer(std::string_view oldDialectSql, const ServerCatalog& catalog)
{
    const auto& storedName = catalog.storedName;
    std::vector<Token> tokens = tokenize(oldDialectSql);
    const bool createTable = isWord(tokens, 0, "CREATE") && isWord(tokens, 1, "TABLE");
    const bool alterTable = isWord(tokens, 0, "ALTER") && isWord(tokens, 1, "TABLE");
    const bool ddl = createTable || alterTable || isWord(tokens, 0, "CREATE") || isWord(tokens, 0, "DROP");

    // A name as the database stores it, matched without regard to case; a new one (DDL) as written.
    std::vector<std::string> aliases;
    const auto nameFor = [&](const std::string& name) {
        if (std::string stored = storedName(name); !stored.empty())
            return sqlIdentifier(stored);
        for (const std::string& alias : aliases)
            if (platform::upperCase(alias) == platform::upperCase(name))
                return sqlIdentifier(alias);
        return sqlIdentifier(name);
    };
    for (std::size_t i = 0; i < tokens.size(); ++i)
        if (isWord(tokens, i, "AS") && i + 1 < tokens.size() &&
            (tokens[i + 1].kind == Token::Kind::Word || tokens[i + 1].kind == Token::Kind::Name))
            aliases.push_back(nameOf(tokens[i + 1]));

    for (Token& token : tokens) {
        switch (token.kind) {
        case Token::Kind::DoubleQuoted:
            token.output = sqlLiteral(token.content);
            break;
        default:
            token.output = std::string(token.raw);
            break;
        }
    }

    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == Token::Kind::Name) {
            if (!(i > 0 && isWord(tokens, i - 1, "AS")))
                token.output = nameFor(token.content);
            else
                token.output = sqlIdentifier(token.content);
            continue;
        }
        if (token.kind == Token::Kind::Symbol && token.raw == "/" && !isSymbol(tokens, i + 1, '*')) {
            // The old engine's '/' always divides as doubles.
            token.output = "*CAST(1 AS double precision)/";
            continue;
        }
        if (token.kind != Token::Kind::Word)
            continue;
        const bool qualified = isSymbol(tokens, i + 1, '.') || (i > 0 && isSymbol(tokens, i - 1, '.'));
        if (isSymbol(tokens, i + 1, '(') && !qualified && !ddl) {
            if (equalsUpper(token.raw, "UCASE")) {
                token.output = "upper";
                continue;
            }
            if (equalsUpper(token.raw, "IIF")) {
                adaptIIf(tokens, i, oldDialectSql);
                continue;
            }
            if (equalsUpper(token.raw, "AVG")) {
                adaptAvg(tokens, i);
                continue;
            }
            if (storedName(token.raw).empty())
                continue; // a function; a table's name before its column list goes on below
        }
        if (!qualified && (equalsUpper(token.raw, "TRUE") || equalsUpper(token.raw, "FALSE"))) {
            const bool afterMinus = i > 0 && isSymbol(tokens, i - 1, '-') && token.space.empty();
            token.output = equalsUpper(token.raw, "TRUE") ? (afterMinus ? " -1" : "-1") : "0";
            continue;
        }
        if (equalsUpper(token.raw, "LIKE") && !qualified) {
            // The old engine's patterns as regular expressions of the server's ~ operator; a pattern that
            // is no text written in the statement cannot be turned into one.
            const bool negated = i > 0 && isWord(tokens, i - 1, "NOT");
            const std::size_t patternAt = i + 1;
            if (patternAt >= tokens.size() || (tokens[patternAt].kind != Token::Kind::Apostrophe &&
                                               tokens[patternAt].kind != Token::Kind::DoubleQuoted))
                throw platform::Fault(SyntaxError,
                                      "Syntax error in query expression '" + std::string(oldDialectSql) +
                                          "': on the shop database server a LIKE pattern must be a text.");
            if (negated)
                tokens[i - 1].dropped = true;
            token.output = negated ? "!~" : "~";
            tokens[patternAt].output = sqlLiteral(likePatternRegex(tokens[patternAt].content));
            ++i;
            continue;
        }
        if ((createTable || alterTable) && serverType(token.raw) && i > 0 &&
            (tokens[i - 1].kind == Token::Kind::Word || tokens[i - 1].kind == Token::Kind::Name)) {
            token.output = serverType(token.raw);
            // TEXT (50): the server's texts need no length.
            if (isSymbol(tokens, i + 1, '(')) {
                const std::size_t close = closingParenthesis(tokens, i + 1);
                for (std::size_t j = i + 1; j <= close && j < tokens.size(); ++j)
                    tokens[j].dropped = true;
            }
            continue;
        }
        if (isKeyword(token.raw))
            continue;
        if (i > 0 && isWord(tokens, i - 1, "AS"))
            token.output = sqlIdentifier(std::string(token.raw)); // an alias keeps its letter case
        else
            token.output = nameFor(std::string(token.raw));
    }

    if (!ddl)
        adaptMixedComparisons(tokens, catalog);
    if (isWord(tokens, 0, "SELECT"))
        addStoredOrder(tokens, catalog);

    // Index names as on a file (the table's name in front), with the names above in place.
    adaptIndexStatement(tokens);

    if (createTable) {
        // Every table on the server keeps its rows' stored order in a key column of its own.
        std::size_t last = tokens.size();
        while (last > 0 && isSymbol(tokens, last - 1, ';'))
            --last;
        if (last > 0 && isSymbol(tokens, last - 1, ')'))
            tokens[last - 1].output = ", pricebook_rowid bigint GENERATED BY DEFAULT AS IDENTITY UNIQUE)";
    }

    return joined(tokens, oldDialectSql.size() + 32);
}

namespace {

// The text between two `quote` characters, with each `quote` inside doubled.
std::string enclosed(std::string_view text, char quote)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    for (const char c : text) {
        if (c == quote)
            out += quote;
        out += c;
    }
    out += quote;
    return out;
}

} // namespace

StatementWords statementWords(std::string_view sql, bool doubleQuotedNames)
{
    StatementWords words;
    const std::vector<Token> tokens = tokenize(sql);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        const bool name = token.kind == Token::Kind::Word || token.kind == Token::Kind::Name ||
                          (doubleQuotedNames && token.kind == Token::Kind::DoubleQuoted);
        if (!name)
            continue;
        std::string upper = platform::upperCase(nameOf(token));
        if (words.first.empty() && i == 0)
            words.first = upper;
        if (token.kind == Token::Kind::Word && isSymbol(tokens, i + 1, '('))
            words.beforeParenthesis.push_back(upper);
        words.names.push_back(std::move(upper));
    }
    return words;
}

std::string sqlIdentifier(std::string_view name)
{
    return enclosed(name, '"');
}

std::string sqlLiteral(std::string_view text)
{
    return enclosed(text, '\'');
}

} // namespace data
