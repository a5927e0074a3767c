#pragma once

#include <QString>

namespace kadrix {
class PictureRegistry;
}

namespace kadrix::cli {

// The --list-formats table: a line per format of the format table with its
// name, its extensions, and whether this installation reads it (a type is
// registered for it; Qt's plugins may be missing) and writes results in it.
QString formatListText(const PictureRegistry& registry);

} // namespace kadrix::cli
