#pragma once

#include "cli/SignalGuard.h"
#include "import/StopCleanup.h"

namespace cli {

// While it lives, stopping the program (Ctrl-C, a kill, a closed terminal) stops the import's reading child
// and removes its half-built files, then ends the program as the signal would have without the import. A
// signal the program was started ignoring stays ignored (nohup), and the import goes on. A kill that cannot
// be caught leaves the files to the next import, which removes them.
class ImportStopGuard
{
public:
    explicit ImportStopGuard(const access_import::StopCleanup& cleanup);
    ~ImportStopGuard();
    ImportStopGuard(const ImportStopGuard&) = delete;
    ImportStopGuard& operator=(const ImportStopGuard&) = delete;

private:
    const access_import::StopCleanup* m_outer;
    SignalGuard m_signals;
};

} // namespace cli
