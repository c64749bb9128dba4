#include "cli/PriceCommand.h"

#include <array>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "cli/Cli.h"
#include "cli/Report.h"
#include "cli/SheetCommand.h"
#include "data/Database.h"
#include "estimator/EstimateResults.h"
#include "estimator/Summary.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "pricing/OrderSelection.h"
#include "pricing/PriceSettings.h"
#include "pricing/PricingRun.h"
#include "pricing/Rounding.h"
#include "pricing/Schedule.h"

namespace cli {

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr int ExitDataFolder = 3;
constexpr int ExitOrderNotFound = 4;
constexpr int ExitSkipped = 5;

constexpr const char* kUsage =
    "Usage: pricebook price DATAFOLDER --order NO [options]\n"
    "\n"
    "Prices one quote or job of the shop database DATAFOLDER/vmdata.mdb at every quantity of the price-list\n"
    "schedule, exactly as the \"Create Price Sheet\" button of the window does, and prints the price lines.\n"
    "\n"
    "Like the window, the run changes the order's row in the shop database once, at the start: it clears\n"
    "the row's other quantities and stored estimate figures (PRESSQTY2 to 4, costs, hours, Adjustment ...)\n"
    "and marks it for print pricing. PRESSQTY is left as it is stored: each quantity is priced in a private\n"
    "copy of the row that other programs never see, so a run stopped at any moment leaves the order as it\n"
    "was after that first change.\n"
    "\n"
    "The schedule, rounding and direction come from DATAFOLDER/PriceData.dta when it is there (else the\n"
    "window's initial values: 100 by 25 to 500, by 100 to 2000, by 500 to 5000, no rounding); options\n"
    "override them.\n"
    "\n"
    "Options:\n"
    "  --data DIR              the data folder (instead of DATAFOLDER)\n"
    "  --order NO              the order number (required); the first order row with that number is priced\n"
    "  --part N                the order row of part N\n"
    "  --quote, --job          price the order as a quote or a job (default: as its bindery rows say)\n"
    "  --qty1 N .. --qty4 N    start, second, third and final quantity\n"
    "  --jump1 N .. --jump3 N  the steps between them\n"
    "  --schedule Q1,J1,Q2,J2,Q3,J3,Q4\n"
    "                          all seven at once\n"
    "                          quantities are whole numbers above 0, none below the one before; steps\n"
    "                          are whole numbers, 0 leaving that stretch out\n"
    "  --qty N                 price this one quantity only\n"
    "  --force                 price a schedule of more than 100,000 quantities\n"
    "  --round none|quarter|dollar   (also 0.25 and 1.00) the rounding step\n"
    "  --up, --down            the rounding direction (anything but --up rounds down)\n"
    "  --format text|csv|json  text: the window's price lines (default); csv: quantity,price rows;\n"
    "                          json: prices, the engine's results and summary of every quantity, and the\n"
    "                          lines; each quantity is written as soon as it is priced\n"
    "  --program-dir DIR       the program's folder, where the report work database lives\n"
    "  --verbose               with a message, the database's own words and the SQL text behind it\n"
    "  --help                  show this help\n"
    "\n"
    "Exit codes: 0 all quantities priced; 1 another failure; 2 wrong arguments; 3 data folder or shop\n"
    "database missing, damaged, read-only or busy (another program changing it; nothing is printed then);\n"
    "4 order not found; 5 some quantities could not be priced.\n";

constexpr const char* kSheetUsage =
    "Usage: pricebook sheet DATAFOLDER --order NO (--pdf FILE | --text) [options]\n"
    "\n"
    "Prices one quote or job exactly as \"pricebook price\" does (the same run, the same rewriting of the\n"
    "order's row, the same options) and writes its \"Counter Price Book\" sheet, as the window's \"Print\n"
    "Price Sheet\" button prints it.\n"
    "\n"
    "Sheet options:\n"
    "  --pdf FILE              write the sheet as a Letter-size PDF file (an existing file is replaced)\n"
    "  --text                  print the sheet as plain text, one character a print column\n"
    "  --typeface courier|times|sans\n"
    "                          the sheet's typeface (default: the price-data file's, else Times Roman)\n"
    "  --category TEXT         the category printed under the title (first 40 characters)\n"
    "\n"
    "Pricing options: see \"pricebook price --help\" (--format does not apply here).\n"
    "\n"
    "Exit codes as for \"pricebook price\"; a sheet is written even when some quantities could not be\n"
    "priced (exit 5); with no price line at all nothing is written.\n";

enum class Format { Text, Csv, Json };

struct Options
{
    std::string dataFolder;
    std::string orderNo;
    bool haveOrder = false;
    pricing::OrderKeyFilter filter;
    std::array<std::optional<std::string>, 7> schedule; // qty1, jump1, qty2, jump2, qty3, jump3, qty4
    std::optional<pricing::RoundingStep> step;
    std::optional<pricing::RoundingDirection> direction;
    std::optional<std::int32_t> singleQuantity;
    bool force = false; // a schedule of more than kLongSchedule quantities is priced all the same
    Format format = Format::Text;
    std::string programFolder;
    bool help = false;
    // The sheet command's own.
    SheetRequest sheet;
    std::optional<pricing::Typeface> typeface;
};

struct UsageError
{
    std::string message;
};

std::optional<std::int32_t> wholeNumber(std::string_view text, std::int64_t least, std::int64_t most)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < least || value > most)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// The most quantities a schedule prices without --force: far more than any price list, few enough that a
// slip of a finger (a step of 1 to a million) does not keep the shop database busy for hours.
constexpr std::uint64_t kLongSchedule = 100000;

constexpr const char* kScheduleNames[] = {"start quantity", "first step",  "second quantity", "second step",
                                          "third quantity", "third step", "final quantity"};

// A quantity (even positions of the seven) is a whole number above 0, a step one of 0 or more.
void checkScheduleValue(std::size_t position, const std::string& text, const std::string& option)
{
    const bool quantity = position % 2 == 0;
    if (!wholeNumber(text, quantity ? 1 : 0, INT32_MAX))
        throw UsageError{option + ": the " + kScheduleNames[position] + " must be a whole number " +
                         (quantity ? "above 0" : "of 0 or more") + ", not \"" + text + "\""};
}

// None of the four quantities below the one before, where one of the two was given on the command line (a
// price-data file saved by the window keeps its own meaning).
void checkScheduleOrder(const std::array<std::optional<std::string>, 7>& given,
                        const std::array<std::string*, 7>& merged)
{
    for (std::size_t position = 2; position < 7; position += 2) {
        if (!given[position] && !given[position - 2])
            continue;
        const double previous = platform::val(*merged[position - 2]);
        const double current = platform::val(*merged[position]);
        if (current < previous)
            throw UsageError{"the " + std::string(kScheduleNames[position]) + " (" + *merged[position] +
                             ") is below the " + kScheduleNames[position - 2] + " (" + *merged[position - 2] + ")"};
    }
}

Options parse(const std::vector<std::string>& args, PricingCommand command)
{
    const bool sheet = command == PricingCommand::Sheet;
    Options o;
    bool haveFolder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string word = args[i];
        std::optional<std::string> attached;
        if (word.rfind("--", 0) == 0) {
            const std::size_t equals = word.find('=');
            if (equals != std::string::npos) {
                attached = word.substr(equals + 1);
                word.resize(equals);
            }
        }
        const auto value = [&]() -> std::string {
            if (attached)
                return *attached;
            if (i + 1 >= args.size())
                throw UsageError{word + " needs a value"};
            return args[++i];
        };
        const auto noValue = [&] {
            if (attached)
                throw UsageError{word + " takes no value"};
        };

        if (word == "--help" || word == "-h") {
            o.help = true;
        } else if (word == "--verbose") {
            noValue();
            setVerbose(true);
        } else if (word == "--force") {
            noValue();
            o.force = true;
        } else if (word == "--data") {
            o.dataFolder = value();
            haveFolder = true;
        } else if (word == "--order") {
            o.orderNo = value();
            o.haveOrder = true;
        } else if (word == "--part") {
            const std::string text = value();
            const std::optional<std::int32_t> part = wholeNumber(text, INT16_MIN, INT16_MAX);
            if (!part)
                throw UsageError{"--part needs a whole part number, not \"" + text + "\""};
            o.filter.partNo = static_cast<std::int16_t>(*part);
        } else if (word == "--quote" || word == "--job") {
            noValue();
            o.filter.quoteOrJob = word == "--job" ? pricing::QuoteOrJob::Job : pricing::QuoteOrJob::Quote;
        } else if (word == "--qty1" || word == "--qty2" || word == "--qty3" || word == "--qty4") {
            // qty1 is position 0, qty2 2, qty3 4, qty4 6 of the schedule's seven.
            const std::size_t position = static_cast<std::size_t>(word.back() - '1') * 2;
            o.schedule[position] = value();
            checkScheduleValue(position, *o.schedule[position], word);
        } else if (word == "--jump1" || word == "--jump2" || word == "--jump3") {
            const std::size_t position = static_cast<std::size_t>(word.back() - '1') * 2 + 1;
            o.schedule[position] = value();
            checkScheduleValue(position, *o.schedule[position], word);
        } else if (word == "--schedule") {
            const std::string text = value();
            std::array<std::string, 7> parts;
            std::size_t count = 0, start = 0;
            while (true) {
                const std::size_t comma = text.find(',', start);
                if (count < parts.size())
                    parts[count] = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                ++count;
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
            if (count != parts.size())
                throw UsageError{"--schedule needs seven numbers: Q1,J1,Q2,J2,Q3,J3,Q4"};
            for (std::size_t k = 0; k < parts.size(); ++k) {
                checkScheduleValue(k, parts[k], "--schedule");
                o.schedule[k] = parts[k];
            }
        } else if (word == "--qty") {
            const std::string text = value();
            o.singleQuantity = wholeNumber(text, 1, INT32_MAX);
            if (!o.singleQuantity)
                throw UsageError{"--qty needs a whole quantity above 0, not \"" + text + "\""};
        } else if (word == "--round") {
            const std::string text = value();
            if (text == "none")
                o.step = pricing::RoundingStep::None;
            else if (text == "quarter" || text == "0.25" || text == ".25")
                o.step = pricing::RoundingStep::Quarter;
            else if (text == "dollar" || text == "1.00" || text == "1")
                o.step = pricing::RoundingStep::Dollar;
            else
                throw UsageError{"--round is none, quarter (0.25) or dollar (1.00), not \"" + text + "\""};
        } else if (word == "--up" || word == "--down") {
            noValue();
            o.direction = word == "--up" ? pricing::RoundingDirection::Up : pricing::RoundingDirection::Down;
        } else if (sheet && word == "--pdf") {
            o.sheet.pdfPath = value();
            if (o.sheet.pdfPath.empty())
                throw UsageError{"--pdf needs a file name"};
        } else if (sheet && word == "--text") {
            noValue();
            o.sheet.text = true;
        } else if (sheet && word == "--category") {
            o.sheet.category = value();
        } else if (sheet && word == "--typeface") {
            const std::string text = value();
            if (text == "courier")
                o.typeface = pricing::Typeface::Courier;
            else if (text == "times")
                o.typeface = pricing::Typeface::TimesRoman;
            else if (text == "sans")
                o.typeface = pricing::Typeface::SansSerif;
            else
                throw UsageError{"--typeface is courier, times or sans, not \"" + text + "\""};
        } else if (!sheet && word == "--format") {
            const std::string text = value();
            if (text == "text")
                o.format = Format::Text;
            else if (text == "csv")
                o.format = Format::Csv;
            else if (text == "json")
                o.format = Format::Json;
            else
                throw UsageError{"--format is text, csv or json, not \"" + text + "\""};
        } else if (word == "--program-dir") {
            o.programFolder = value();
        } else if (word.size() > 1 && word[0] == '-') {
            throw UsageError{"unknown option " + word};
        } else {
            if (haveFolder)
                throw UsageError{"more than one data folder: " + word};
            o.dataFolder = word;
            haveFolder = true;
        }
    }
    if (o.help)
        return o;
    if (!haveFolder || o.dataFolder.empty())
        throw UsageError{"no data folder given"};
    if (!o.haveOrder || o.orderNo.empty())
        throw UsageError{"no order given (--order NO)"};
    if (sheet && o.sheet.pdfPath.empty() == !o.sheet.text)
        throw UsageError{o.sheet.text ? "--pdf and --text: choose one" : "no output given (--pdf FILE or --text)"};
    return o;
}

// ---- output ----

// Doubles as the shortest text that reads back to the same double.
std::string number(double value)
{
    if (!std::isfinite(value))
        return "null";
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc())
        return "null";
    return std::string(buffer.data(), end);
}

std::string jsonText(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonValue(const platform::Value& value)
{
    using Kind = platform::Value::Kind;
    switch (value.kind()) {
    case Kind::Null:
        return "null";
    case Kind::Integer:
        return std::to_string(value.integer());
    case Kind::Double:
        return number(value.real());
    case Kind::Text:
        return jsonText(value.text());
    case Kind::Boolean:
        return value.boolean() ? "true" : "false";
    case Kind::Date:
        return number(value.dateSerial());
    }
    return "null";
}

// The price as its line shows it, without the dollar sign.
std::string csvPrice(const platform::Currency& price)
{
    std::string text = pricing::priceText(price);
    const std::size_t dollar = text.find('$');
    if (dollar != std::string::npos)
        text.erase(dollar, 1);
    return text;
}

void writeResults(std::ostream& out, const pricing::EstimateResults& r)
{
    out << "{";
    for (const estimator::EstimateResultField& field : estimator::kEstimateResultFields)
        out << jsonText(field.name) << ": " << number(r.*field.member) << ", ";
    out << "\"PressSheetsToOrder\": " << r.PressSheetsToOrder << "}";
}

// The JSON document in three parts, so that each quantity goes out as soon as it is priced: the order, the
// quantities one by one, then the lines, the skipped quantities and the notes.
void writeJsonHead(std::ostream& out, const pricing::OrderSelection& order, pricing::QuoteOrJob quoteOrJob)
{
    out << "{\"order\": " << jsonText(order.orderNo) << ",\n \"part\": ";
    if (platform::isNumeric(order.partNo))
        out << number(platform::val(order.partNo));
    else
        out << jsonText(order.partNo);
    out << ",\n \"quote_or_job\": " << jsonText(pricing::quoteOrJobCode(quoteOrJob)) << ",\n \"quantities\": [";
}

void writeJsonQuantity(std::ostream& out, const pricing::PricedQuantity& priced, bool first)
{
    out << (first ? "\n  " : ",\n  ") << "{\"quantity\": " << priced.quantity
        << ", \"price\": " << number(priced.price.toDouble()) << ", \"line\": " << jsonText(priced.line)
        << ",\n   \"results\": ";
    writeResults(out, priced.results);
    out << ",\n   \"summary\": {";
    bool firstField = true;
    estimator::forEachSummaryField(priced.summary, [&](std::string_view name, const platform::Value& value) {
        out << (firstField ? "" : ", ") << jsonText(name) << ": " << jsonValue(value);
        firstField = false;
    });
    out << "}}";
}

void writeJsonTail(std::ostream& out, const std::vector<std::string>& lines, const pricing::PricingResult& result)
{
    out << "],\n \"lines\": [";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << (i > 0 ? ", " : "") << jsonText(lines[i]);
    out << "],\n \"skipped\": [";
    for (std::size_t i = 0; i < result.skipped.size(); ++i)
        out << (i > 0 ? ", " : "") << "{\"quantity\": " << result.skipped[i].quantity
            << ", \"fault\": " << jsonText(result.skipped[i].fault) << "}";
    out << "],\n \"notes\": [";
    for (std::size_t i = 0; i < result.notes.size(); ++i)
        out << (i > 0 ? ", " : "") << jsonText(result.notes[i]);
    out << "]";
    if (result.stopped)
        out << ",\n \"stopped\": " << jsonText(result.stopped->message);
    out << "}\n";
}

// Writes the price command's output as the run goes: nothing until the first quantity is priced (a run
// stopped before it leaves standard output empty), then every quantity at once in the chosen format.
class StreamedOutput
{
public:
    StreamedOutput(std::ostream& out, Format format, const pricing::OrderSelection& order,
                   pricing::QuoteOrJob quoteOrJob)
        : m_out(out), m_format(format), m_order(order), m_quoteOrJob(quoteOrJob)
    {
    }

    void add(const pricing::PricedQuantity& priced)
    {
        begin();
        switch (m_format) {
        case Format::Text:
            m_out << priced.line << "\n";
            break;
        case Format::Csv:
            m_out << priced.quantity << "," << csvPrice(priced.price) << "\n";
            break;
        case Format::Json:
            writeJsonQuantity(m_out, priced, m_lines.empty());
            m_lines.push_back(priced.line); // a few dozen bytes a quantity, for the lines at the end
            break;
        }
        m_out << std::flush;
    }

    // Ends the output; a run stopped before any quantity was priced writes nothing at all.
    void finish(const pricing::PricingResult& result)
    {
        if (!m_begun && result.stopped)
            return;
        begin();
        if (m_format == Format::Json)
            writeJsonTail(m_out, m_lines, result);
        m_out << std::flush;
    }

private:
    void begin()
    {
        if (m_begun)
            return;
        m_begun = true;
        if (m_format == Format::Csv)
            m_out << "quantity,price\n";
        else if (m_format == Format::Json)
            writeJsonHead(m_out, m_order, m_quoteOrJob);
    }

    std::ostream& m_out;
    Format m_format;
    const pricing::OrderSelection& m_order;
    pricing::QuoteOrJob m_quoteOrJob;
    bool m_begun = false;
    std::vector<std::string> m_lines;
};

// ---- cancelling with Ctrl-C: the run stops between quantities and still puts the row back ----

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int)
{
    g_interrupted = 1;
}

class InterruptGuard
{
public:
    InterruptGuard() : m_previous(std::signal(SIGINT, onInterrupt)) { g_interrupted = 0; }
    ~InterruptGuard() { std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*m_previous)(int);
};

std::string describeKey(const Options& o)
{
    std::string key = "order " + o.orderNo;
    if (o.filter.partNo)
        key += " part " + std::to_string(*o.filter.partNo);
    if (o.filter.quoteOrJob)
        key += *o.filter.quoteOrJob == pricing::QuoteOrJob::Job ? " (job)" : " (quote)";
    return key;
}

} // namespace

int runPricingCommand(const std::vector<std::string>& args, PricingCommand command)
{
    const bool sheet = command == PricingCommand::Sheet;
    const char* const usage = sheet ? kSheetUsage : kUsage;
    Options options;
    try {
        options = parse(args, command);
    } catch (const UsageError& error) {
        std::cerr << (sheet ? "pricebook sheet: " : "pricebook price: ") << printable(error.message) << "\n\n" << usage;
        return ExitUsage;
    }
    if (options.help) {
        std::cout << usage;
        return ExitSuccess;
    }

    namespace fs = std::filesystem;
    std::error_code ignored;
    if (!fs::is_directory(options.dataFolder, ignored)) {
        std::cerr << "pricebook: the data folder " << options.dataFolder << " was not found\n";
        return ExitDataFolder;
    }
    if (!options.programFolder.empty()) {
        if (!fs::is_directory(options.programFolder, ignored)) {
            std::cerr << "pricebook: the program folder " << options.programFolder << " was not found\n";
            return ExitFailure;
        }
    }

    const std::string databaseFile = pricing::databasePath(options.dataFolder);
    // The shop database stays open for the whole command: closing its last handle checkpoints a
    // log-mode file to disk, which is then done once at the end instead of after the order lookup too.
    data::Database keepOpen;
    try {
        keepOpen = data::Database::open(databaseFile);
    } catch (const platform::Fault&) {
        // The lookup below reports what is wrong with the file.
    }
    std::optional<pricing::OrderSelection> order;
    try {
        order = pricing::selectOrder(databaseFile, options.orderNo, options.filter);
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
        return ExitDataFolder;
    }
    if (!order) {
        report(std::cerr, describeKey(options) + " was not found in " + databaseFile);
        return ExitOrderNotFound;
    }

    pricing::PriceParameters parameters;
    std::optional<platform::Fault> unreadable;
    if (const auto saved = pricing::readPriceData(options.dataFolder, &unreadable))
        pricing::applyPriceData(*saved, parameters);
    if (unreadable)
        report(std::cerr, std::string(unreadable->what()) + " The window's initial schedule is used.",
               unreadable->detail());
    const std::array<std::string*, 7> merged = {&parameters.qty1, &parameters.jump1, &parameters.qty2,
                                                &parameters.jump2, &parameters.qty3, &parameters.jump3,
                                                &parameters.qty4};
    for (std::size_t k = 0; k < options.schedule.size(); ++k) {
        if (options.schedule[k])
            *merged[k] = *options.schedule[k];
    }
    if (options.step)
        parameters.step = *options.step;
    if (options.direction)
        parameters.direction = *options.direction;
    const std::uint64_t length = options.singleQuantity ? 1 : pricing::scheduleLength(parameters);
    try {
        if (!options.singleQuantity)
            checkScheduleOrder(options.schedule, merged);
        if (length > kLongSchedule && !options.force)
            throw UsageError{"the schedule has " + std::to_string(length) + " quantities; more than " +
                             std::to_string(kLongSchedule) + " are priced only with --force"};
    } catch (const UsageError& error) {
        std::cerr << (sheet ? "pricebook sheet: " : "pricebook price: ") << printable(error.message) << "\n";
        return ExitUsage;
    }

    pricing::PricingInputs inputs;
    inputs.dataFolder = options.dataFolder;
    inputs.programFolder = options.programFolder.empty() ? programFolder() : options.programFolder;
    inputs.order = *order;
    inputs.quoteOrJob = order->quoteOrJob;
    inputs.parameters = parameters;

    const bool showProgress = isatty(STDERR_FILENO) == 1;
    pricing::PricingCallbacks callbacks;
    if (showProgress)
        callbacks.onProgress = [](const std::string& text) {
            std::cerr << "\rCalculating: " << printable(text) << "          " << std::flush;
        };
    callbacks.onMessage = [showProgress](const std::string& message) {
        if (showProgress)
            std::cerr << "\r";
        report(std::cerr, message);
    };
    callbacks.cancelRequested = [] { return g_interrupted != 0; };
    // The price command writes each quantity as it is priced and keeps none; the sheet needs every line.
    StreamedOutput output(std::cout, options.format, *order, inputs.quoteOrJob);
    if (!sheet) {
        callbacks.keepResults = false;
        callbacks.onLine = [&output](const pricing::PricedQuantity& priced) { output.add(priced); };
    }

    pricing::PricingResult result;
    {
        InterruptGuard guard;
        pricing::PricingRun run(inputs, callbacks);
        result = options.singleQuantity ? run.run(pricing::singleQuantity(*options.singleQuantity))
                                        : run.run(parameters);
    }
    if (showProgress)
        std::cerr << "\r" << std::string(40, ' ') << "\r" << std::flush;
    if (!sheet)
        output.finish(result);

    for (const std::string& note : result.notes)
        report(std::cerr, note);
    // A run the shop database stopped has priced only part of the schedule, if anything: no sheet is
    // written from it, and the exit code says so.
    if (result.stopped) {
        if (!result.stopped->message.empty())
            report(std::cerr, result.stopped->message, result.stopped->detail);
        if (result.stopped->reason == pricing::StopReason::OrderKeyNotFound)
            return ExitOrderNotFound;
        if (result.stopped->reason == pricing::StopReason::OrderGone) {
            report(std::cerr, describeKey(options) + " is no longer in " + databaseFile + "; pricing stopped");
            return ExitOrderNotFound;
        }
        return ExitDataFolder;
    }

    int sheetExit = ExitSuccess;
    if (sheet && !result.cancelled) {
        sheet::SheetInputs sheetInputs;
        sheetInputs.priceLines = result.lines;
        sheetInputs.category = options.sheet.category;
        sheetInputs.job = inputs.quoteOrJob == pricing::QuoteOrJob::Job;
        sheetInputs.orderNo = order->orderNo;
        sheetInputs.description = order->description;
        sheetInputs.stock = order->stock;
        sheetInputs.size = order->size;
        sheetInputs.bindery = order->bindery;
        sheetInputs.typeface = options.typeface ? *options.typeface : parameters.typeface;
        sheetExit = writeSheet(options.sheet, sheetInputs);
    }

    if (result.cancelled) {
        report(std::cerr, "cancelled after " + std::to_string(result.pricedCount + result.skipped.size()) + " of " +
                              std::to_string(length) + " quantities");
        return ExitFailure;
    }
    if (!result.skipped.empty()) {
        report(std::cerr, pricing::skippedMessage(result.skipped), pricing::skippedDetails(result.skipped));
        return ExitSkipped;
    }
    return sheetExit;
}

int priceCommand(const std::vector<std::string>& args)
{
    return runPricingCommand(args, PricingCommand::Price);
}

} // namespace cli
