#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Value.h"
#include "pricing/OrderRowWriter.h"

namespace pricing {

// What a pricing run must remember to put an order back after the program was stopped in the middle of
// a run: the row it rewrites and the press quantity the order had before the run.
struct JournalEntry
{
    std::string orderNo;
    std::string partNo;
    std::int64_t bookmark = 0;
    platform::Value pressQty; // Null, a whole number, a double or a text, as read at selection
};

// The journal file beside the shop database: "<data folder>/vmdata.mdb.pricing".
std::string journalPath(const std::string& dataFolder);

// Writes the journal atomically (a temporary file beside it, flushed, then renamed over it), so a crash
// leaves either no journal or a whole one. Returns false, with the reason in *failure, when the folder
// cannot be written.
bool writeJournal(const std::string& dataFolder, const JournalEntry& entry, std::string* failure = nullptr);

// Reads the journal; nothing when there is none or it is not a whole journal.
std::optional<JournalEntry> readJournal(const std::string& dataFolder);

// Removes the journal (a missing one is fine).
void removeJournal(const std::string& dataFolder);

// Looks for the journal of a run that did not finish and, when there is one, writes the order's press
// quantity back into its row of "Orders" and removes the journal. Only "PRESSQTY" of that one row is
// written, and only when the row at the bookmark still carries the journal's order number and part.
// The user is told once, through onMessage, what was put back (or why it could not be); a journal that
// could not be applied because the database is busy or read-only is kept for the next start.
// Returns whether a journal was found.
bool recoverInterruptedRun(const std::string& dataFolder, const MessageCallback& onMessage);

} // namespace pricing
