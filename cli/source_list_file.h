#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kadrix::cli {

// One entry of a --files-from list.
struct ListedSource {
    QString path;   // the entry as text (invalid UTF-8 bytes shown as U+FFFD)
    QByteArray raw; // the entry's bytes, exactly as listed
    bool validUtf8; // false: no file can be opened by this name through Qt
};

// Splits a list into its entries: one a line, a trailing CR dropped, or one
// per NUL with `nulSeparated` (as find -print0 writes them). Empty entries
// are skipped; nothing else is trimmed, since blanks belong to file names.
std::vector<ListedSource> splitSourceList(const QByteArray& bytes, bool nulSeparated);

// The bytes of the list file `path`, standard input for "-"; nothing, and
// why in `why`, when it cannot be read or holds more than a picture file may
// (MaxPictureFileBytes): an endless device (/dev/zero) is no list.
std::optional<QByteArray> readSourceListFile(const QString& path, QString& why);

} // namespace kadrix::cli
