#pragma once

#include <QStringList>

namespace kadrix {

// The description pieces of a "desc|mask|desc|mask" filter: the text is split
// at every "|", empty pieces are skipped, and the pieces at even positions are
// kept.
QStringList FilterDescriptions(const QString& filter);

} // namespace kadrix
