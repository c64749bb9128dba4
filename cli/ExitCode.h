#pragma once

namespace cli {

// What the program's exit code tells a script, the same for every command.
enum ExitCode : int {
    ExitSuccess = 0,
    ExitFailure = 1,        // anything else: refused, stopped, a file or the output that could not be written
    ExitUsage = 2,          // wrong arguments
    ExitDataFolder = 3,     // the data folder or shop database: missing, damaged, read-only, busy, full
    ExitOrderNotFound = 4,  // no order row with that number, part and quote-or-job mark
    ExitNotAllPriced = 5,   // some quantities of the schedule could not be priced
    ExitCancelled = 130,    // stopped by Ctrl-C: 128 + SIGINT, as a shell reports a program Ctrl-C ended
};

} // namespace cli
