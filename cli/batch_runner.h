#pragma once

#include "batch_options.h"
#include "reporter.h"
#include "shard.h"
#include "source_collection.h"

#include <vector>

namespace kadrix::cli {

struct RunTotals {
    int framed = 0;     // results written (or planned, in a dry run)
    int skipped = 0;    // existing results left alone, empty pictures
    int failed = 0;     // sources that could not be read, results that could not be written
    int notFramed = 0;  // of those failed, sources not started once the destination failed
    int notStarted = 0; // sources left alone because a signal asked the run to stop
    int jobs = 1;       // the workers that ran
};

// Frames the shard's sources of the list with options.jobs workers, each
// taking the next one; results are numbered by their position in the whole
// list. Of sources naming one result only the first in the list writes it.
// Temporaries an interrupted run left beside the shard's results are removed
// first, and the result folders are made once. Once a stop signal came, or a
// write met a destination every later write would fail on alike (full, past
// the file size limit, read-only, not writable, gone, names too long), no new
// source is started. The picture registry and JpegDefaults
// must be set before: the workers only read them. Problems are reported as they happen.
// With `into`, the one result is written into that open file (in the format
// options.encoding gives) in place of its result path, which only names it.
RunTotals runBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                   Reporter& reporter, const Shard& shard = {}, DescriptorDevice* into = nullptr);

// Prints the plan of the shard's sources and writes nothing.
RunTotals planBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                    Reporter& reporter, const Shard& shard = {});

// The whole command: reads the arguments, sets the picture types and JPEG
// options up, collects the sources, runs, and prints one summary line.
// Returns the exit status: 0, 1 when any source failed, 2 for bad usage.
int runCommandLine(const QStringList& arguments, int cores);

} // namespace kadrix::cli
