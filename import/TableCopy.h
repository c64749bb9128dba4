#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace access_import {

// The reading child's report to the parent, a line each: S and a table's name when its copy starts, T, the
// name and its row count when it is copied, N and a note (a column kept or added, a table skipped), then D
// when all is done or E and what failed.

// One line of the child's report to the parent: a kind letter, a tab, the text (tabs and line ends made
// spaces, so one line stays one message).
std::string reportLine(char kind, std::string_view text);

// Writes the whole text to the file descriptor, as far as it can be written.
void writeAll(int fd, const std::string& text);

// libmdb tells of what it could not read (a page beyond the end of a cut-off file, a page of no known kind)
// only by printing it, and carries on with what it has. Both standard outputs of the child go to a scratch
// file made by the parent, and anything printed there means the Access file is damaged, so the import stops
// instead of writing a shop database with rows missing. The parent watches the file's size too: on some
// damaged files libmdb complains without end inside one call.
class ReaderComplaints
{
public:
    // Takes over the scratch file; in the child, its standard outputs are pointed at it.
    explicit ReaderComplaints(std::FILE* file);
    ~ReaderComplaints();
    ReaderComplaints(const ReaderComplaints&) = delete;
    ReaderComplaints& operator=(const ReaderComplaints&) = delete;

    // The first line printed since the last call; empty when nothing was.
    std::string next();

    // Raises the failure, with what the reader printed, when it printed anything.
    void check(const std::string& what);

private:
    std::FILE* m_file = nullptr;
    off_t m_seen = 0;
};

// The reading child's work: reads every table of the Access file through libmdb and writes them, in one
// transaction, into the new shop database at `output` (the file the import builds in, already made), whose
// tables `schemaSql` creates first; reports each table on `reportFd`. Leaves the file in write-ahead-log
// mode. Any failure is a childFailure.
void copyAccessTables(const std::string& accessFile, const std::string& output, std::string_view schemaSql,
                      int reportFd, ReaderComplaints& complaints);

} // namespace access_import
