#pragma once

#include <QStringList>

namespace kadrix {

// The text of the About dialog, one entry per line: version, authors, terms
// of use and a short manual.
QStringList aboutText();

} // namespace kadrix
