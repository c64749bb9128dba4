#include "cli/Command.h"

#include <algorithm>
#include <array>
#include <iostream>

#include "cli/ExitCode.h"
#include "cli/Report.h"

namespace cli {

namespace {

constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kVerboseOption = "--verbose";
constexpr std::string_view kQuietOption = "--quiet";

constexpr std::array kCommonOptions = {
    Option{kVerboseOption, "", "with a message, what stands behind it: the database's own words and the SQL text"},
    Option{kQuietOption, "", "only what went wrong on standard error: no progress, no word of a file written"},
    Option{kHelpOption, "", "show this help (also -h)"},
};

// Where an option's help text starts, as in the program's help.
constexpr std::size_t kHelpColumn = 26;

// A word is taken for an option when it starts with a dash and its name holds no blank: an SQL text
// beginning with a comment ("-- the open quotes") stays an argument.
bool isOptionWord(std::string_view word)
{
    if (word.size() < 2 || word[0] != '-')
        return false;
    const std::string_view name = word.substr(0, word.find('='));
    return name.find_first_of(" \t\r\n") == std::string_view::npos;
}

// "a, b or c" of the choices "a|b|c".
std::string choicesText(std::string_view choices)
{
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start <= choices.size();) {
        const std::size_t bar = std::min(choices.find('|', start), choices.size());
        words.push_back(choices.substr(start, bar - start));
        start = bar + 1;
    }
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + std::string(words[i]);
    return text;
}

bool isChoice(std::string_view choices, std::string_view value)
{
    for (std::size_t start = 0; start <= choices.size();) {
        const std::size_t bar = std::min(choices.find('|', start), choices.size());
        if (choices.substr(start, bar - start) == value)
            return true;
        start = bar + 1;
    }
    return false;
}

} // namespace

std::string optionHelp(const Option& option)
{
    std::string label = "  " + std::string(option.name);
    if (!option.value.empty())
        label += " " + std::string(option.value);
    label += label.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - label.size(), ' ')
                                             : "\n" + std::string(kHelpColumn, ' ');
    return label + wrapText(option.help, kHelpColumn, kHelpColumn) + "\n";
}

std::string wrapText(std::string_view text, std::size_t column, std::size_t indent)
{
    std::string out;
    std::size_t at = column;
    bool wordOnLine = false;
    bool firstLine = true;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t paragraphEnd = std::min(text.find("\n\n", start), text.size());
        if (start > 0) {
            out += "\n\n";
            at = 0;
            wordOnLine = false;
            firstLine = false;
        }
        const std::string_view paragraph = text.substr(start, paragraphEnd - start);
        for (std::size_t i = paragraph.find_first_not_of(" \n"); i != std::string_view::npos;
             i = paragraph.find_first_not_of(" \n", i)) {
            const std::size_t end = std::min(paragraph.find_first_of(" \n", i), paragraph.size());
            const std::string_view word = paragraph.substr(i, end - i);
            if (wordOnLine && at + 1 + word.size() > kHelpWidth) {
                out += "\n";
                at = 0;
                wordOnLine = false;
                firstLine = false;
            }
            if (wordOnLine) {
                out += ' ';
                ++at;
            } else if (!firstLine && at < indent) {
                out.append(indent - at, ' ');
                at = indent;
            }
            out += word;
            at += word.size();
            wordOnLine = true;
            i = end;
        }
        start = paragraphEnd + 2;
    }
    return out;
}

bool ParsedArguments::has(std::string_view option) const
{
    return std::any_of(m_given.begin(), m_given.end(), [&](const Given& given) { return given.option == option; });
}

std::optional<std::string> ParsedArguments::value(std::string_view option) const
{
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given)
        if (given->option == option)
            return given->value;
    return std::nullopt;
}

std::vector<std::string> ParsedArguments::positional() const
{
    std::vector<std::string> words;
    for (const Given& given : m_given)
        if (given.option.empty())
            words.push_back(given.value);
    return words;
}

std::span<const Option> commonOptions()
{
    return kCommonOptions;
}

ParsedArguments parseArguments(const std::vector<std::string>& words, std::span<const Option> options)
{
    ParsedArguments parsed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!isOptionWord(word)) {
            parsed.add({"", word});
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word == "-h" ? std::string(kHelpOption) : word.substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const Option& candidate) { return candidate.name == name; });
        if (option == options.end())
            throw UsageError("unknown option " + name);
        if (option->value.empty()) {
            if (equals != std::string::npos)
                throw UsageError(name + " takes no value");
            parsed.add({name, ""});
            continue;
        }
        std::string value;
        if (equals != std::string::npos)
            value = word.substr(equals + 1);
        else if (i + 1 < words.size())
            value = words[++i];
        else
            throw UsageError(name + " needs a value");
        if (option->oneOf && !isChoice(option->value, value))
            throw UsageError(name + " is " + choicesText(option->value) + ", not \"" + value + "\"");
        parsed.add({name, std::move(value)});
    }
    return parsed;
}

std::string Command::help() const
{
    std::string out;
    std::string_view forms = m_text.synopsis;
    for (bool first = true; !forms.empty() || first; first = false) {
        const std::size_t end = std::min(forms.find('\n'), forms.size());
        const std::string lead = std::string(first ? "Usage: " : "       ") + "pricebook " + std::string(name()) + " ";
        out += lead + wrapText(forms.substr(0, end), lead.size(), lead.size()) + "\n";
        forms.remove_prefix(std::min(end + 1, forms.size()));
    }
    out += "\n" + wrapText(m_text.description, 0, 0) + "\n\nOptions:\n";
    for (const Option& option : options())
        out += optionHelp(option);
    for (const Option& option : commonOptions())
        out += optionHelp(option);
    if (!m_text.epilogue.empty())
        out += "\n" + wrapText(m_text.epilogue, 0, 0) + "\n";
    return out;
}

int Command::execute(const std::vector<std::string>& words) const
{
    const auto wrong = [this](const UsageError& error) {
        std::cerr << "pricebook " << name() << ": " << printable(error.what()) << " (see \"pricebook " << name()
                  << " --help\")\n";
        return ExitUsage;
    };
    std::vector<Option> all(options().begin(), options().end());
    all.insert(all.end(), commonOptions().begin(), commonOptions().end());
    ParsedArguments parsed;
    try {
        parsed = parseArguments(words, all);
    } catch (const UsageError& error) {
        // Asking for help is answered even when the other words are wrong.
        if (std::find_if(words.begin(), words.end(), [](const std::string& word) {
                return word == kHelpOption || word == "-h";
            }) == words.end())
            return wrong(error);
        parsed.add({std::string(kHelpOption), ""});
    }
    if (parsed.has(kHelpOption)) {
        std::cout << help();
        return ExitSuccess;
    }
    if (parsed.has(kVerboseOption))
        setVerbose(true);
    if (parsed.has(kQuietOption))
        setQuiet(true);
    try {
        return run(parsed);
    } catch (const UsageError& error) {
        return wrong(error);
    }
}

} // namespace cli
