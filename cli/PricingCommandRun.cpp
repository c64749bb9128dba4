#include "cli/PricingCommandRun.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <unistd.h>

#include "cli/Cli.h"
#include "cli/CtrlC.h"
#include "cli/ExitCode.h"
#include "cli/Report.h"
#include "cli/SheetCommand.h"
#include "cli/StreamedOutput.h"
#include "data/Database.h"
#include "data/ServerConnectionFile.h"
#include "data/ServerFaults.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "pricing/OrderSelection.h"
#include "pricing/PriceChecks.h"
#include "pricing/PriceRequest.h"
#include "pricing/PriceSettings.h"
#include "pricing/PricingRun.h"
#include "pricing/Rounding.h"
#include "pricing/Schedule.h"

namespace cli {

namespace {

const Option kPricingOptions[] = {
    {"--data", "DIR", "the data folder (instead of DATAFOLDER)"},
    {"--order", "NO", "the order number (required); the first order row with that number is priced"},
    {"--part", "N", "the order row of part N"},
    {"--quote", "", "price the order as a quote (default: as its bindery rows say)"},
    {"--job", "", "price the order as a job"},
    {"--qty1", "N", "the start quantity"},
    {"--jump1", "N", "the step up to the second quantity"},
    {"--qty2", "N", "the second quantity"},
    {"--jump2", "N", "the step up to the third quantity"},
    {"--qty3", "N", "the third quantity"},
    {"--jump3", "N", "the step up to the final quantity"},
    {"--qty4", "N", "the final quantity"},
    {"--schedule", "Q1,J1,Q2,J2,Q3,J3,Q4",
     "all seven at once; quantities are whole numbers above 0, each above the one before; the first two steps "
     "above 0, the third 0 or more (0 leaving its stretch out)"},
    {"--qty", "N", "price this one quantity only"},
    {"--force", "", "price a schedule of more than 100,000 quantities"},
    {"--round", "none|quarter|dollar", "(also 0.25 and 1.00) the rounding step"},
    {"--up", "", "round up"},
    {"--down", "", "round down (anything but --up rounds down)"},
    {"--program-dir", "DIR", "the program's folder, where the report work database lives"},
};

struct Options
{
    std::string dataFolder;
    std::string orderNo;
    bool haveOrder = false;
    pricing::OrderKeyFilter filter;
    std::array<std::optional<std::string>, pricing::kScheduleItems> schedule; // Q1, J1, Q2, J2, Q3, J3, Q4
    std::optional<pricing::RoundingStep> step;
    std::optional<pricing::RoundingDirection> direction;
    std::optional<std::int32_t> singleQuantity;
    bool force = false; // a schedule of more than kLongSchedule quantities is priced all the same
    PriceFormat format = PriceFormat::Text;
    std::string programFolder;
    // The sheet command's own.
    SheetRequest sheet;
    std::optional<pricing::Typeface> typeface;
    bool incomplete = false; // a sheet is written even when quantities could not be priced
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

Options parse(const ParsedArguments& arguments, PricingCommand command)
{
    const bool sheet = command == PricingCommand::Sheet;
    Options o;
    bool haveFolder = false;
    for (const auto& [word, value] : arguments.inOrder()) {
        if (word.empty()) {
            if (haveFolder)
                throw UsageError{"more than one data folder: " + value};
            o.dataFolder = value;
            haveFolder = true;
        } else if (word == "--force") {
            o.force = true;
        } else if (word == "--data") {
            o.dataFolder = value;
            haveFolder = true;
        } else if (word == "--order") {
            o.orderNo = value;
            o.haveOrder = true;
        } else if (word == "--part") {
            const std::optional<std::int32_t> part = wholeNumber(value, INT16_MIN, INT16_MAX);
            if (!part)
                throw UsageError{"--part needs a whole part number, not \"" + value + "\""};
            o.filter.partNo = static_cast<std::int16_t>(*part);
        } else if (word == "--quote" || word == "--job") {
            o.filter.quoteOrJob = word == "--job" ? pricing::QuoteOrJob::Job : pricing::QuoteOrJob::Quote;
        } else if (word == "--qty1" || word == "--qty2" || word == "--qty3" || word == "--qty4") {
            // qty1 is position 0, qty2 2, qty3 4, qty4 6 of the schedule's seven; checked with the rest.
            o.schedule[static_cast<std::size_t>(word.back() - '1') * 2] = value;
        } else if (word == "--jump1" || word == "--jump2" || word == "--jump3") {
            o.schedule[static_cast<std::size_t>(word.back() - '1') * 2 + 1] = value;
        } else if (word == "--schedule") {
            std::array<std::string, 7> parts;
            std::size_t count = 0, start = 0;
            while (true) {
                const std::size_t comma = value.find(',', start);
                if (count < parts.size())
                    parts[count] = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                ++count;
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
            if (count != parts.size())
                throw UsageError{"--schedule needs seven numbers: Q1,J1,Q2,J2,Q3,J3,Q4"};
            for (std::size_t k = 0; k < parts.size(); ++k)
                o.schedule[k] = parts[k];
        } else if (word == "--qty") {
            o.singleQuantity = wholeNumber(value, 1, INT32_MAX);
            if (!o.singleQuantity)
                throw UsageError{"--qty needs a whole quantity above 0, not \"" + value + "\""};
        } else if (word == "--round") {
            if (value == "none")
                o.step = pricing::RoundingStep::None;
            else if (value == "quarter" || value == "0.25" || value == ".25")
                o.step = pricing::RoundingStep::Quarter;
            else if (value == "dollar" || value == "1.00" || value == "1")
                o.step = pricing::RoundingStep::Dollar;
            else
                throw UsageError{"--round is none, quarter (0.25) or dollar (1.00), not \"" + value + "\""};
        } else if (word == "--up" || word == "--down") {
            o.direction = word == "--up" ? pricing::RoundingDirection::Up : pricing::RoundingDirection::Down;
        } else if (word == "--pdf") {
            o.sheet.pdfPath = value;
            if (o.sheet.pdfPath.empty())
                throw UsageError{"--pdf needs a file name"};
        } else if (word == "--text") {
            o.sheet.text = true;
        } else if (word == "--incomplete") {
            o.incomplete = true;
        } else if (word == "--category") {
            o.sheet.category = value;
        } else if (word == "--paper") {
            o.sheet.paper = paperOf(value);
        } else if (word == "--typeface") {
            // The options table allows these three only.
            o.typeface = value == "courier" ? pricing::Typeface::Courier
                         : value == "times" ? pricing::Typeface::TimesRoman
                                            : pricing::Typeface::SansSerif;
        } else if (word == "--format") {
            o.format = value == "csv"      ? PriceFormat::Csv
                       : value == "json"   ? PriceFormat::Json
                       : value == "matrix" ? PriceFormat::Matrix
                                           : PriceFormat::Text;
        } else if (word == "--program-dir") {
            o.programFolder = value;
        }
    }
    if (!haveFolder || o.dataFolder.empty())
        throw UsageError{"no data folder given"};
    if (!o.haveOrder || o.orderNo.empty())
        throw UsageError{"no order given (--order NO)"};
    if (sheet && o.sheet.pdfPath.empty() == !o.sheet.text)
        throw UsageError{o.sheet.text ? "--pdf and --text: choose one" : "no output given (--pdf FILE or --text)"};
    return o;
}

std::string describeKey(const Options& o)
{
    std::string key = "order " + o.orderNo;
    if (o.filter.partNo)
        key += " part " + std::to_string(*o.filter.partNo);
    if (o.filter.quoteOrJob)
        key += *o.filter.quoteOrJob == pricing::QuoteOrJob::Job ? " (job)" : " (quote)";
    return key;
}

// Why no row of the shop database fits the order asked for. An order there as a job when a quote was asked
// for (or the other way round) is told as the run tells it, naming the row's mark.
std::string notFoundMessage(const Options& o, const std::string& databaseFile)
{
    if (o.filter.quoteOrJob) {
        pricing::OrderKeyFilter anyMark = o.filter;
        anyMark.quoteOrJob.reset();
        const std::optional<pricing::OrderSelection> row = pricing::selectOrder(databaseFile, o.orderNo, anyMark);
        if (row && platform::isNumeric(row->partNo)) {
            const platform::Outcome wrongMark =
                pricing::missingOrderKey(data::Database::open(databaseFile), o.orderNo,
                                         platform::toInt16(platform::val(row->partNo)), *o.filter.quoteOrJob);
            if (wrongMark)
                return wrongMark->what() + std::string(" Nothing was priced.");
        }
    }
    return describeKey(o) + " was not found in " + databaseFile;
}

} // namespace

std::vector<Option> pricingOptions(std::initializer_list<Option> own)
{
    std::vector<Option> options(std::begin(kPricingOptions), std::end(kPricingOptions));
    options.insert(options.end(), own.begin(), own.end());
    return options;
}

int runPricingCommand(const ParsedArguments& arguments, PricingCommand command)
{
    const bool sheet = command == PricingCommand::Sheet;
    const Options options = parse(arguments, command);
    const std::string commandName = sheet ? "pricebook sheet: " : "pricebook price: ";
    // Said before the order is priced, not after.
    if (sheet && reportUnwritableOutput(options.sheet.pdfPath))
        return ExitFailure;

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

    // The schedule and rounding: the window's saved ones, then the options. The schedule is checked by the
    // window's rules before the shop database is touched; one quantity (--qty) walks no schedule, so the
    // request keeps the window's initial one.
    pricing::PriceParameters parameters;
    std::optional<platform::Fault> unreadable;
    if (const auto saved = pricing::readPriceData(options.dataFolder, &unreadable))
        pricing::applyPriceData(*saved, parameters);
    if (unreadable)
        report(std::cerr, std::string(unreadable->what()) + " The window's initial schedule is used.",
               unreadable->detail());
    for (std::size_t k = 0; k < options.schedule.size(); ++k) {
        if (options.schedule[k])
            pricing::scheduleText(parameters, static_cast<pricing::ScheduleItem>(k)) = *options.schedule[k];
    }
    if (options.singleQuantity) {
        const pricing::PriceParameters initial;
        for (std::size_t k = 0; k < pricing::kScheduleItems; ++k) {
            const auto item = static_cast<pricing::ScheduleItem>(k);
            pricing::scheduleText(parameters, item) = pricing::scheduleText(initial, item);
        }
    }
    if (options.step)
        parameters.step = *options.step;
    if (options.direction)
        parameters.direction = *options.direction;
    if (options.typeface)
        parameters.typeface = *options.typeface;
    const std::variant<pricing::ScheduleNumbers, pricing::ScheduleProblem> checked =
        pricing::readScheduleNumbers(parameters);
    // Said without the help: the arguments were right, the schedule they make with the saved one is not.
    if (const auto* problem = std::get_if<pricing::ScheduleProblem>(&checked)) {
        std::cerr << commandName << printable(problem->withValue()) << "\n";
        return ExitUsage;
    }
    const std::uint64_t length = options.singleQuantity ? 1 : pricing::scheduleLength(parameters);
    if (length > kLongSchedule && !options.force) {
        std::cerr << commandName << "the schedule has " << length << " quantities; more than " << kLongSchedule
                  << " are priced only with --force\n";
        return ExitUsage;
    }
    // The matrix's row is written once every price is in, so its prices are held until then.
    if (options.format == PriceFormat::Matrix && length > pricing::PriceListChecks::kMostCheckedQuantities) {
        std::cerr << commandName << "the schedule has " << length << " quantities; --format matrix takes at most "
                  << pricing::PriceListChecks::kMostCheckedQuantities << "\n";
        return ExitUsage;
    }


    // Ctrl-C stops the command, a wait for another program's lock too, and the run still leaves the order
    // as it was.
    const CtrlC ctrlC;
    const std::string databaseFile = pricing::databasePath(options.dataFolder);
    // The shop database stays open for the whole command: closing its last handle checkpoints a
    // log-mode file to disk, which is then done once at the end instead of after the order lookup too.
    data::Database keepOpen;
    try {
        keepOpen = data::Database::open(databaseFile);
    } catch (const platform::Fault& fault) {
        // A file another program holds is waited for once, not again by the lookup below, which reports
        // what else is wrong with the file.
        if (const std::optional<int> exit = reportBusyOrCancelled(fault, "nothing was priced"))
            return *exit;
        // A server that could not be reached is not tried again (each try may take the whole connection time).
        if (fault.number() == data::ServerConnectionFailed) {
            report(std::cerr, fault.what() + (" (" + databaseFile + ")"), fault.detail());
            return ExitDataFolder;
        }
    }
    // A shop database on a server is named before anything is priced, so the shop sees which one it is.
    if (data::isServerConnectionFile(databaseFile)) {
        try {
            notice("shop database: " + pricing::shopDatabaseName(options.dataFolder));
        } catch (const platform::Fault&) {
            // The lookup below reports what is wrong with the connection file.
        }
    }
    std::optional<pricing::OrderSelection> order;
    try {
        order = pricing::selectOrder(databaseFile, options.orderNo, options.filter);
    } catch (const platform::Fault& fault) {
        if (const std::optional<int> exit = reportBusyOrCancelled(fault, "nothing was priced"))
            return *exit;
        report(std::cerr, fault.what(), fault.detail());
        return ExitDataFolder;
    }
    if (!order) {
        try {
            report(std::cerr, notFoundMessage(options, databaseFile));
        } catch (const platform::Fault& fault) {
            report(std::cerr, fault.what(), fault.detail());
            return ExitDataFolder;
        }
        return ExitOrderNotFound;
    }

    pricing::PricingInputs inputs;
    inputs.dataFolder = options.dataFolder;
    inputs.programFolder = options.programFolder.empty() ? programFolder() : options.programFolder;
    inputs.order = *order;
    inputs.request = std::get<pricing::PriceRequest>(
        pricing::makePriceRequest(*order, order->quoteOrJob, parameters, options.sheet.category));

    const bool showProgress = isatty(STDERR_FILENO) == 1 && !quiet();
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
    // Price lines that cannot be written end the run: no point pricing the rest for nobody.
    callbacks.cancelRequested = [] { return CtrlC::requested() || !outputWritten(); };
    // The price command writes each quantity as it is priced and keeps none; the sheet needs every line.
    // Either keeps each quantity's price for the list's checks.
    StreamedOutput output(std::cout, options.format, *order, inputs.request, options.singleQuantity);
    pricing::PriceListChecks listChecks;
    callbacks.keepResults = sheet;
    callbacks.onLine = [&output, &listChecks, sheet](const pricing::PricedQuantity& priced) {
        listChecks.add(priced.quantity, priced.price);
        if (!sheet)
            output.add(priced);
    };

    pricing::PricingResult result;
    {
        pricing::PricingRun run(inputs, callbacks);
        result = options.singleQuantity ? run.run(pricing::singleQuantity(*options.singleQuantity)) : run.run();
    }
    if (showProgress)
        std::cerr << "\r" << std::string(40, ' ') << "\r" << std::flush;
    // A list cut short is not checked: what is missing could be what looks wrong.
    const bool cutShort = result.stopped || result.cancelled;
    const std::vector<pricing::PriceCheck> checks = cutShort ? std::vector<pricing::PriceCheck>{} : listChecks.checks();
    if (!sheet)
        output.finish(result, checks, listChecks.prices());

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
    if (result.cancelled) {
        // Output that could not be written stopped the run: said once, by the program, as such.
        if (!outputWritten())
            return ExitFailure;
        report(std::cerr, "cancelled after " + std::to_string(result.pricedCount + result.skipped.size()) + " of " +
                              std::to_string(length) + " quantities");
        return ExitCancelled;
    }
    if (!result.skipped.empty())
        report(std::cerr, pricing::skippedMessage(result.skipped), pricing::skippedDetails(result.skipped));
    if (!result.skipped.empty() && options.format == PriceFormat::Matrix && !sheet)
        report(std::cerr, "no matrix row was written, as not every quantity could be priced");
    // What the list gives to look at; it holds nothing back.
    for (const pricing::PriceCheck& check : checks)
        notice("check the prices: " + check.text);
    if (listChecks.tooLong())
        notice(pricing::notCheckedText());

    int sheetExit = ExitSuccess;
    if (sheet) {
        // A sheet with prices missing looks like the order's price list and is not: it is written only when
        // asked for, and then says so on its face.
        if (!result.skipped.empty() && !options.incomplete) {
            report(std::cerr, "no sheet was written, as not every quantity could be priced; --incomplete writes "
                              "it with the missing quantities named on it");
            return ExitNotAllPriced;
        }
        sheet::SheetInputs sheetInputs = sheet::sheetInputs(inputs.request, *order, result.lines);
        sheetInputs.notComplete = notCompleteText(result.skipped);
        sheetExit = writeSheet(options.sheet, sheetInputs);
    }
    // A sheet that could not be written says so with its own code; a list without any price is told as the
    // quantities it could not price.
    if (sheetExit != ExitSuccess && !result.lines.empty())
        return sheetExit;
    return result.skipped.empty() ? sheetExit : ExitNotAllPriced;
}

} // namespace cli
