#include "pricing/OrderSelection.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "data/Database.h"
#include "data/JetErrors.h"
#include "data/ServerConnectionFile.h"
#include "data/ServerFaults.h"
#include "data/TableView.h"
#include "estimator/OrderKey.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace pricing {

namespace {

constexpr std::size_t OrderNumberWidth = 8;

// A fault of the shop database that does not say which file it is about gets the file's name, so the
// user knows which database to look at.
[[noreturn]] void raiseNamingFile(const platform::Fault& fault, const std::string& databaseFile)
{
    const std::string text = fault.what();
    if (text.find(databaseFile) != std::string::npos)
        throw fault;
    throw platform::Fault(fault.number(), text + " (" + databaseFile + ")");
}

std::string textOf(const data::TableView& rows, std::string_view field)
{
    return rows.field(field).formatted();
}

bool quoteOrJobFits(const std::string& code, const std::optional<QuoteOrJob>& wanted)
{
    if (!wanted || *wanted == QuoteOrJob::Unset)
        return true;
    return code == (*wanted == QuoteOrJob::Job ? "J" : "Q");
}

bool partFits(const platform::Value& partNo, const std::optional<std::int16_t>& wanted)
{
    return !wanted || (!partNo.isNull() && partNo.number() == *wanted);
}

using data::NotAValidBookmark;

// The chosen order as the window shows and keeps it, from the row the view is on.
OrderSelection selectionOf(const data::TableView& orders)
{
    OrderSelection chosen;
    chosen.orderNo = textOf(orders, "OrderNo");
    chosen.stock = textOf(orders, "StockDesc");
    chosen.description = textOf(orders, "Description");
    chosen.size = textOf(orders, "PressFinishedSize");
    chosen.partNo = textOf(orders, "PartNo");
    chosen.bookmark = orders.bookmark();
    chosen.pressQty = orders.field("PressQty");
    chosen.origQty = chosen.pressQty.formatted();
    return chosen;
}

// The order's bindery rows name its operations and, the last of them, whether it is a quote or a job.
void readBinderyRows(const data::Database& db, OrderSelection& chosen, const OrderKeyFilter& filter)
{
    std::string bindery;
    data::TableView selections = db.openTable("BinderySelections");
    for (; !selections.eof(); selections.moveNext()) {
        if (textOf(selections, "OrderNo") != chosen.orderNo)
            continue;
        if (!partFits(selections.field("PartNo"), filter.partNo))
            continue;
        const std::string code = textOf(selections, "QuoteorJob");
        if (!quoteOrJobFits(code, filter.quoteOrJob))
            continue;
        bindery += textOf(selections, "Bindery") + ", ";
        chosen.quoteOrJob = code == "Q" ? QuoteOrJob::Quote : QuoteOrJob::Job;
    }
    if (bindery.size() > 2)
        bindery.resize(bindery.size() - 2);
    chosen.bindery = bindery;
    if (filter.quoteOrJob && *filter.quoteOrJob != QuoteOrJob::Unset)
        chosen.quoteOrJob = *filter.quoteOrJob;
}

} // namespace

std::string databasePath(const std::string& dataFolder)
{
    const std::string connectionFile = dataFolder + "/" + data::ServerConnectionFileName;
    std::error_code ignored;
    if (std::filesystem::exists(connectionFile, ignored))
        return connectionFile;
    return dataFolder + "/vmdata.mdb";
}

std::string shopDatabaseName(const std::string& dataFolder)
{
    const std::string path = databasePath(dataFolder);
    if (!data::isServerConnectionFile(path))
        return path;
    return "the server " + data::conninfoWithoutSecrets(data::readServerConnectionFile(path)) + " (from " + path + ")";
}

std::vector<OrderEntry> listOrders(const std::string& databaseFile, std::string* faultText)
{
    std::vector<OrderEntry> entries;
    try {
        const data::Database db = data::Database::open(databaseFile);
        data::TableView orders = db.openTable("Orders");
        for (; !orders.eof(); orders.moveNext())
            entries.push_back({textOf(orders, "OrderNo") + " - " + textOf(orders, "Description"), orders.bookmark()});
    } catch (const platform::Fault& fault) {
        if (faultText) {
            const std::string text = fault.what();
            *faultText = text.find(databaseFile) != std::string::npos ? text : text + " (" + databaseFile + ")";
        }
    }
    return entries;
}

std::vector<std::string> listOrderEntries(const std::string& databaseFile, std::string* faultText)
{
    std::vector<std::string> texts;
    for (OrderEntry& entry : listOrders(databaseFile, faultText))
        texts.push_back(std::move(entry.text));
    return texts;
}

std::string orderNumberOfEntry(std::string_view entry)
{
    return std::string(entry.substr(0, OrderNumberWidth));
}

std::optional<OrderSelection> selectOrder(const std::string& databaseFile, std::string_view orderNo)
{
    return selectOrder(databaseFile, orderNo, OrderKeyFilter{});
}

std::optional<OrderSelection> selectOrder(const std::string& databaseFile,
                                          std::string_view orderNo,
                                          const OrderKeyFilter& filter)
{
    try {
        return selectOrder(data::Database::open(databaseFile), orderNo, filter);
    } catch (const platform::Fault& fault) {
        raiseNamingFile(fault, databaseFile);
    }
}

std::optional<OrderSelection> selectOrder(const data::Database& db, std::string_view orderNo,
                                          const OrderKeyFilter& filter)
{
    std::optional<OrderSelection> chosen;
    {
        data::TableView orders = db.openTable("Orders");
        for (; !orders.eof(); orders.moveNext()) {
            if (textOf(orders, "OrderNo") != orderNo)
                continue;
            if (!partFits(orders.field("PartNo"), filter.partNo))
                continue;
            if (!quoteOrJobFits(textOf(orders, "QuoteOrJob"), filter.quoteOrJob))
                continue;
            chosen = selectionOf(orders);
            break;
        }
    }
    if (!chosen)
        return std::nullopt;
    // The command line's filter narrows the bindery rows to the part and kind it asked for.
    readBinderyRows(db, *chosen, filter);
    return chosen;
}

std::optional<OrderSelection> selectOrderAt(const std::string& databaseFile, std::int64_t bookmark)
{
    try {
        const data::Database db = data::Database::open(databaseFile);
        std::optional<OrderSelection> chosen;
        {
            data::TableView orders = db.openTable("Orders");
            try {
                orders.setBookmark(bookmark);
            } catch (const platform::Fault& fault) {
                if (fault.number() == NotAValidBookmark)
                    return std::nullopt;
                throw;
            }
            chosen = selectionOf(orders);
        }
        // The bindery rows of this part only: its operations, and whether it is a quote or a job.
        OrderKeyFilter part;
        if (platform::isNumeric(chosen->partNo))
            part.partNo = platform::toInt16(platform::val(chosen->partNo));
        readBinderyRows(db, *chosen, part);
        return chosen;
    } catch (const platform::Fault& fault) {
        raiseNamingFile(fault, databaseFile);
    }
}

std::string quoteOrJobCode(QuoteOrJob choice)
{
    return choice == QuoteOrJob::Job ? "J" : "Q";
}

platform::Outcome missingOrderKey(const data::Database& db, const std::string& orderNo, std::int16_t partNo,
                                  QuoteOrJob choice)
{
    const estimator::OrderKey key{orderNo, partNo, quoteOrJobCode(choice)};
    const auto rows = [&](const std::string& where) {
        return db.openRecordset("SELECT QUOTEORJOB FROM ORDERS WHERE " + where);
    };
    if (rows(key.where()).recordCount() > 0)
        return std::nullopt;
    const auto missing = [](const std::string& text) { return platform::Fault(data::NoCurrentRecord, text); };
    const std::string named = "Order " + orderNo;
    if (rows(key.orderClause()).recordCount() == 0)
        return missing(named + " is not in the shop database.");
    const data::Recordset parts = rows(key.partClause());
    if (parts.recordCount() == 0)
        return missing(named + " has no part " + std::to_string(partNo) + " in the shop database.");
    const std::string mark = parts.field("QUOTEORJOB").formatted();
    return missing(named + " part " + std::to_string(partNo) + " is not a " +
                   (choice == QuoteOrJob::Job ? "job (J)" : "quote (Q)") + " in the shop database: its row is " +
                   (mark.empty() ? std::string("marked neither Q nor J.") : "marked " + mark + "."));
}

} // namespace pricing
