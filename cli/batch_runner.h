#pragma once

#include "batch_options.h"
#include "reporter.h"
#include "source_collection.h"

#include <vector>

namespace kadrix::cli {

struct RunTotals {
    int framed = 0;  // results written (or planned, in a dry run)
    int skipped = 0; // existing results left alone, empty pictures
    int failed = 0;  // sources that could not be read, results that could not be written
};

// Frames every source with options.jobs workers, each taking the next row of
// the list. The picture registry and JpegDefaults must be set before: the
// workers only read them. Problems are reported as they happen.
RunTotals runBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                   Reporter& reporter);

// Prints the plan of every source and writes nothing.
RunTotals planBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                    Reporter& reporter);

// The whole command: reads the arguments, sets the picture types and JPEG
// options up, collects the sources, runs, and prints one summary line.
// Returns the exit status: 0, 1 when any source failed, 2 for bad usage.
int runCommandLine(const QStringList& arguments, int cores);

} // namespace kadrix::cli
