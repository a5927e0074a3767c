#pragma once

#include <QFile>
#include <QString>

namespace kadrix {

// The largest picture file read: every source is read whole, so a sparse or
// runaway file of many gigabytes must not be.
inline constexpr qint64 MaxPictureFileBytes = qint64(1) << 30;

// Opens a picture file for reading, provided it is a regular file (or a link
// to one). The file is opened without waiting, so that a pipe, a socket or a
// device named like a picture never blocks, and what was opened is checked
// afterwards: nothing can change between the check and the reading. Throws
// EInvalidGraphic "Image invalide: pas un fichier ordinaire (path)" for
// anything else, "Image invalide: fichier trop grand (path)" past
// MaxPictureFileBytes, and "Impossible d'ouvrir path: reason" when it cannot be
// opened at all.
void openRegularFile(QFile& file, const QString& path);

} // namespace kadrix
