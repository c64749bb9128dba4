#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "tests/reliability/BackgroundProgram.h"
#include "tests/support/TestDatabase.h"

namespace reliability {

// Runs a shell command line (the program and its arguments, already quoted) with a time limit, so a hang
// fails the test instead of stopping the suite.
inline ProgramOutput runShell(const std::string& commandLine, const std::string& workFolder)
{
    const std::string outFile = workFolder + "/run.out";
    const std::string errFile = workFolder + "/run.err";
    const std::string full =
        "timeout -s KILL " + std::to_string(Watchdog.count()) + " " + commandLine + " >" + outFile + " 2>" + errFile;
    const int status = std::system(full.c_str());
    ProgramOutput result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = testsupport::readFile(outFile);
    result.err = testsupport::readFile(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

// Single-quoted for the shell.
inline std::string shellQuoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string program()
{
    return shellQuoted(PRICEBOOK_PROGRAM);
}

// A data folder with the demo shop in it, built by the program itself.
inline void makeDemoFolder(const std::string& folder, const std::string& workFolder)
{
    runShell(program() + " demo-data " + shellQuoted(folder), workFolder);
}

// One SQL text through the sqlite3 program, not through our layer: what is really in the file.
inline std::string sqlite(const std::string& databaseFile, const std::string& sql, const std::string& workFolder)
{
    return runShell("sqlite3 " + shellQuoted(databaseFile) + " " + shellQuoted(sql), workFolder).out;
}

} // namespace reliability
