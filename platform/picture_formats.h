#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kadrix {

// Who reads a format's files.
enum class FormatReader {
    Qt,       // Qt's own image readers, always there
    QtPlugin, // a Qt image-format plugin, which may be missing
    OwnType,  // a picture type of its own library, which registers itself
};

// The formats a result can be written in, in the order of the destination
// items (ComboBoxDstExt): the first is the default.
enum class ResultFormat { Bmp, Jpeg, Png, Tiff, WebP };

// One picture format: everything the program knows about it, in one place.
struct PictureFormat {
    QString name;           // kadrix-batch's --format and --list-formats name
    QString description;    // the picture-type box's description of each extension
    QStringList extensions; // lower case, in the order they are registered
    FormatReader reader;
    QByteArray qtName; // Qt's reader and writer name, for the Qt kinds
    // Results: the writer, and the extension results get (lower case).
    std::optional<ResultFormat> result;
    QString resultExtension;
    // How its files begin: each pattern is the first bytes, "?" standing for
    // any byte; a file matching any one is of this format.
    QList<QByteArray> signatures;
};

// Every picture format, in the order the platform registers those read by Qt.
const std::vector<PictureFormat>& pictureFormats();

// The format of a name (its --format name) or of one of its extensions, in
// any letter case; nullptr for none.
const PictureFormat* pictureFormatNamed(QStringView nameOrExtension);

// The formats results can be written in, in the order of ResultFormat.
std::vector<const PictureFormat*> resultFormats();
const PictureFormat& resultFormat(ResultFormat format);

// The destination item of a result format: its other extensions, then the
// one results get, upper case: "*.JPG;*.JPEG", "*.BMP".
QString resultItem(const PictureFormat& format);

// Whether `head` (a file's first bytes) is of the format. With `partial`, a
// head shorter than a signature also matches when it is that signature's
// beginning (a file cut off while being written), an empty head included.
bool hasSignature(const PictureFormat& format, QByteArrayView head, bool partial = false);

// The format a file's first bytes say it is; nullptr when none.
const PictureFormat* formatOfSignature(QByteArrayView head);

// The longest signature: the bytes to read to recognise any format.
qsizetype signatureLength();

} // namespace kadrix
