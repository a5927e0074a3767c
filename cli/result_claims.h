#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace kadrix::cli {

// Whether the file names of a folder ignore letter case (an SD card's exFAT,
// a Windows share), so that A.jpg and a.jpg are one file there.
using LetterCaseRule = std::function<bool(const QString& folder)>;

// For every position of the source list, the position whose source writes
// the result path named there: the lowest position naming that path. Two
// sources can name one result (the name keeps only what stands before the
// first ".", so a.1.jpg and a.2.jpg both give cropped_a, and on a destination
// that ignores letter case dir1/A.jpg and dir2/a.jpg do too); the later one is
// then reported and skipped. Built from the whole list, the rule is the same
// in every shard, and no two workers of one run ever write one path. Without
// a rule, names are compared exactly.
std::vector<qsizetype> firstClaims(const std::vector<QString>& resultPaths,
                                   const LetterCaseRule& ignoresCase = {});

// Asks the file system: whether names in `folder`, or in its nearest existing
// parent when it does not exist yet, ignore letter case. An entry whose name
// has letters is looked up with their case swapped; nothing is written.
bool folderIgnoresLetterCase(const QString& folder);

} // namespace kadrix::cli
