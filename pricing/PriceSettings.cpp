#include "pricing/PriceSettings.h"

#include <string_view>
#include <vector>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/SmallFile.h"
#include "platform/Statement.h"
#include "platform/TextFile.h"

namespace pricing {

namespace {

constexpr std::size_t PositionCount = 10;

// The items of the price-data file, line by line with the item reader's rules (an item ends at a comma
// or the end of the line, blanks around it dropped, quotes removed). A line left empty, a cleared field,
// is read as an empty item so every later setting stays in its position. Nothing for a missing file, nor
// for one that cannot be read (its fault goes to `unreadable`).
std::optional<std::vector<std::string>> readPriceItems(const std::string& path,
                                                       std::optional<platform::Fault>* unreadable)
{
    std::optional<std::string> read;
    platform::resumeNext([&] { read = platform::readSmallFileIfThere(path); }, unreadable);
    if (!read)
        return std::nullopt;
    const std::string& content = *read;

    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = content.size();
        const std::string_view line(content.data() + pos, end - pos);
        std::vector<std::string> lineItems = platform::splitItems(line);
        if (lineItems.empty())
            items.emplace_back();
        for (std::string& item : lineItems)
            items.push_back(std::move(item));
        // CR LF, LF or a lone CR end the line.
        pos = end;
        if (pos < content.size() && content[pos] == '\r')
            ++pos;
        if (pos < content.size() && content[pos] == '\n')
            ++pos;
    }
    return items;
}

int codeOf(const std::string& position)
{
    const double number = platform::val(position);
    if (number == 0)
        return 0;
    if (number == 1)
        return 1;
    return 2;
}

} // namespace

std::string priceDataPath(const std::string& dataFolder)
{
    return dataFolder + "/" + PriceDataFileName;
}

PriceDataPositions priceDataFrom(const PriceParameters& parameters, const PriceDataPositions& previous)
{
    PriceDataPositions positions = previous;
    positions[0] = parameters.qty1;
    positions[1] = parameters.qty2;
    positions[2] = parameters.qty3;
    positions[3] = parameters.qty4;
    positions[4] = parameters.jump1;
    positions[5] = parameters.jump2;
    positions[6] = parameters.jump3;
    if (parameters.direction == RoundingDirection::Up)
        positions[7] = "0";
    else if (parameters.direction == RoundingDirection::Down)
        positions[7] = "1";
    switch (parameters.step) {
    case RoundingStep::None:
        positions[8] = "0";
        break;
    case RoundingStep::Quarter:
        positions[8] = "1";
        break;
    case RoundingStep::Dollar:
        positions[8] = "2";
        break;
    }
    switch (parameters.typeface) {
    case Typeface::Courier:
        positions[9] = "0";
        break;
    case Typeface::TimesRoman:
        positions[9] = "1";
        break;
    case Typeface::SansSerif:
        positions[9] = "2";
        break;
    }
    return positions;
}

bool writePriceData(const std::string& dataFolder, const PriceDataPositions& positions)
{
    return platform::resumeNext(
        [&] { platform::writeLines(priceDataPath(dataFolder), {positions.begin(), positions.end()}); });
}

std::optional<PriceDataPositions> readPriceData(const std::string& dataFolder,
                                                std::optional<platform::Fault>* unreadable)
{
    const std::optional<std::vector<std::string>> items = readPriceItems(priceDataPath(dataFolder), unreadable);
    // An 11th item (a quantity typed as 1,000 reads as two) stops the reading: nothing is applied.
    if (!items || items->size() > PositionCount)
        return std::nullopt;
    PriceDataPositions positions;
    for (std::size_t i = 0; i < items->size(); ++i)
        positions[i] = (*items)[i];
    return positions;
}

void applyPriceData(const PriceDataPositions& positions, PriceParameters& parameters)
{
    parameters.qty1 = positions[0];
    parameters.qty2 = positions[1];
    parameters.qty3 = positions[2];
    parameters.qty4 = positions[3];
    parameters.jump1 = positions[4];
    parameters.jump2 = positions[5];
    parameters.jump3 = positions[6];
    switch (codeOf(positions[7])) {
    case 0:
        parameters.direction = RoundingDirection::Up;
        break;
    case 1:
        parameters.direction = RoundingDirection::Down;
        break;
    default:
        parameters.direction = RoundingDirection::Neither;
        break;
    }
    switch (codeOf(positions[8])) {
    case 0:
        parameters.step = RoundingStep::None;
        break;
    case 1:
        parameters.step = RoundingStep::Quarter;
        break;
    default:
        parameters.step = RoundingStep::Dollar;
        break;
    }
    switch (codeOf(positions[9])) {
    case 0:
        parameters.typeface = Typeface::Courier;
        break;
    case 1:
        parameters.typeface = Typeface::TimesRoman;
        break;
    default:
        parameters.typeface = Typeface::SansSerif;
        break;
    }
}

bool loadPriceData(const std::string& dataFolder, PriceParameters& parameters)
{
    const std::optional<PriceDataPositions> positions = readPriceData(dataFolder);
    if (!positions)
        return false;
    applyPriceData(*positions, parameters);
    return true;
}

} // namespace pricing
