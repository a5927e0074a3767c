#pragma once

#include <QString>

#include <vector>

namespace kadrix::cli {

// For every position of the source list, the position whose source writes
// the result path named there: the lowest position naming that path. Two
// sources can name one result (the name keeps only what stands before the
// first ".", so a.1.jpg and a.2.jpg both give cropped_a); the later one is
// then reported and skipped. Built from the whole list, the rule is the same
// in every shard, and no two workers of one run ever write one path.
std::vector<qsizetype> firstClaims(const std::vector<QString>& resultPaths);

} // namespace kadrix::cli
