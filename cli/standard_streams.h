#pragma once

#include "text.h"

#include <QFile>
#include <QString>

#include <memory>

namespace kadrix::cli {

// The folder of temporary files: $TMPDIR when it names a folder, else /tmp;
// never the root folder.
QString temporaryFolder();

// A new file without a name in temporaryFolder(), open to write and read:
// O_TMPFILE, or where the file system has none, a file removed as soon as it
// is made, so that nothing is left behind however the program ends. nullptr
// (errno set) when none can be made.
std::unique_ptr<QFile> namelessTemporaryFile();

// A picture read from standard input, kept in a file without a name so that
// nothing is left behind however the program ends: in memory while small,
// in a namelessTemporaryFile() once larger. The readers reach it through
// `path`.
struct StandardInput {
    QString path;                // /proc/self/fd/N, "" when it could not be kept
    QString extension;           // of the type its first bytes show
    Text error;                  // "not a picture", or why it could not be read or kept
    std::unique_ptr<QFile> kept; // the file, open while the run reads it
};
// Reads no further than the first bytes when they show no picture.
StandardInput saveStandardInput();

// Copies the file, from its start, to standard output (or to the stream
// `descriptor`); returns the error ("" when done), a closed pipe among them.
QString copyToStandardOutput(QFile& file, int descriptor = 1);

} // namespace kadrix::cli
