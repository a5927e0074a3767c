#pragma once

#include <QImage>

namespace kadrix {

// The About dialog's picture: a 64 x 64, 24-bit drawing of a small landscape
// photograph with crop corners over it, drawn here so that it needs no file.
QImage aboutPicture();

} // namespace kadrix
