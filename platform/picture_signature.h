#pragma once

#include <QByteArray>
#include <QString>

namespace kadrix {

// The first extension of the picture format whose signature `head` (the
// first bytes of a file, signatureLength() of them) starts with, from the
// format table; "" when it is none of them.
QString extensionOfSignature(const QByteArray& head);

} // namespace kadrix
