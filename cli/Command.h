#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One option of a command as its help lists it.
struct Option
{
    std::string_view name;  // "--order"
    std::string_view value; // what follows it ("NO"); empty for an option that takes no value
    std::string_view help;  // what it does; '\n' starts another line of the help
    // The value is one of the words of `value`, separated by '|' ("text|csv|json").
    bool oneOf = false;
};

// A command line that cannot be run as given. The message says why in the user's words, naming the option
// or the word at fault.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The words after a command's name, sorted into options with their values and positional arguments, each
// kept in the order given (later options may override earlier ones).
class ParsedArguments
{
public:
    struct Given
    {
        std::string option; // empty for a positional argument
        std::string value;  // the option's value, or the positional argument
    };

    void add(Given given) { m_given.push_back(std::move(given)); }
    const std::vector<Given>& inOrder() const { return m_given; }
    bool has(std::string_view option) const;
    // The value of the last `option` given.
    std::optional<std::string> value(std::string_view option) const;
    std::vector<std::string> positional() const;

private:
    std::vector<Given> m_given;
};

// Sorts `words` by the options table: "--name VALUE" and "--name=VALUE" for an option with a value, a bare
// "--name" for one without, "-h" for "--help", anything else positional. Throws UsageError for an unknown
// option, a missing value, a value given to an option that takes none, and a value not among its choices.
ParsedArguments parseArguments(const std::vector<std::string>& words, std::span<const Option> options);

// The options every command takes besides its own.
std::span<const Option> commonOptions();

// The widest line of the help texts, so that they read whole in an 80-column terminal and manual page.
inline constexpr std::size_t kHelpWidth = 79;

// `text` laid out in lines of at most kHelpWidth columns, broken between words: the first line goes on from
// `column` (what the line holds already), every later one starts after `indent` blanks. A blank line ends a
// paragraph and is kept; a single line end is a blank like any other. A word longer than a line has it to
// itself.
std::string wrapText(std::string_view text, std::size_t column, std::size_t indent);

// An option's lines of a help: "  --name VALUE", its text beside it from the help's column, wrapped.
std::string optionHelp(const Option& option);

// What a command's help says of it.
struct CommandText
{
    std::string_view name;
    std::string_view summary;     // one line for the program's list of commands
    std::string_view synopsis;    // what follows "pricebook NAME" in the usage line; '\n' between forms
    std::string_view description; // what the command does, under the usage line
    std::string_view epilogue;    // after the options: exit codes and the like
};

// One headless command of the program: its name, a line for the program's help, its options, and its run.
class Command
{
public:
    Command(const CommandText& text, std::vector<Option> options) : m_text(text), m_options(std::move(options)) {}
    virtual ~Command() = default;

    std::string_view name() const { return m_text.name; }
    std::string_view summary() const { return m_text.summary; }
    std::span<const Option> options() const { return m_options; }

    // The help: usage, description, the options of the table and the common ones, the epilogue.
    std::string help() const;

    // Parses the words after the command's name and runs it. --help prints the help and returns 0; a
    // usage error prints the one line "pricebook NAME: why (see "pricebook NAME --help")" to standard error
    // and returns ExitUsage.
    int execute(const std::vector<std::string>& words) const;

protected:
    // Runs the command on its parsed arguments and returns the exit code. A UsageError it throws is
    // answered as a parsing error is.
    virtual int run(const ParsedArguments& arguments) const = 0;

private:
    CommandText m_text;
    std::vector<Option> m_options;
};

} // namespace cli
