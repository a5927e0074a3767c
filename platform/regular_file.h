#pragma once

#include <QFile>
#include <QString>

namespace kadrix {

// Opens a picture file for reading, provided it is a regular file (or a link
// to one). The file is opened without waiting, so that a pipe, a socket or a
// device named like a picture never blocks, and what was opened is checked
// afterwards: nothing can change between the check and the reading. Throws
// EInvalidGraphic "Image invalide: pas un fichier ordinaire (path)" for
// anything else, and "Impossible d'ouvrir path: reason" when it cannot be
// opened at all.
void openRegularFile(QFile& file, const QString& path);

} // namespace kadrix
