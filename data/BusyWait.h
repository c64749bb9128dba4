#pragma once

struct sqlite3;

namespace data {

// How a connection to a shop database file waits for another program's lock, installed with one call: the
// statement tries again every few milliseconds, for at most `milliseconds` from the lock's first refusal,
// and gives up at once (SQLite's "busy", said as a busy database) while waits are cancelled. SQLite's own
// busy timeout would sleep its whole time through a Ctrl-C.
void installBusyWait(sqlite3* db, int milliseconds);

// Ends every wait for a lock at once, now and until resumeWaits(): what Ctrl-C does to a command. Safe in a
// signal handler.
void cancelWaits() noexcept;
void resumeWaits() noexcept;
bool waitsCancelled() noexcept;

} // namespace data
