#pragma once

#include "text.h"

#include <QString>

namespace kadrix::cli {

// A picture read from standard input into a file of `folder`, named
// "stdin.<extension>" after the type its first bytes show.
struct StandardInput {
    QString path; // "" when it could not be kept
    Text error;   // "not a picture", or why it could not be read
};
StandardInput saveStandardInput(const QString& folder);

// Copies the file to standard output (or to the stream `descriptor`);
// returns the error ("" when done), a closed pipe among them.
QString copyToStandardOutput(const QString& path, int descriptor = 1);

} // namespace kadrix::cli
