#pragma once

#include <QImage>

namespace kadrix {

// The About dialog's picture: a 64 x 64, 24-bit drawing of a small landscape
// photograph with crop corners over it, drawn here so that it needs no file.
QImage aboutPicture();

// The same drawing at `side` x `side` pixels with an alpha channel, for the
// program's icon in every size the desktop asks for.
QImage aboutPicture(int side);

} // namespace kadrix
