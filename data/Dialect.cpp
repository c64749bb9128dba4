#include "data/Dialect.h"

#include <cctype>
#include <vector>

#include "data/JetErrors.h"
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
        const std::size_t spaceStart = i;
        while (i < n && std::isspace(static_cast<unsigned char>(sql[i])))
            ++i;
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

    std::string adapted;
    adapted.reserve(oldDialectSql.size() + 16);
    for (const Token& token : tokens) {
        if (token.dropped)
            continue;
        adapted.append(token.space);
        adapted += token.output;
    }
    return adapted;
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

std::string sqlIdentifier(std::string_view name)
{
    return enclosed(name, '"');
}

std::string sqlLiteral(std::string_view text)
{
    return enclosed(text, '\'');
}

} // namespace data
