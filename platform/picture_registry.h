#pragma once

#include "picture.h"
#include "picture_formats.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace kadrix {

using PictureFactory = std::function<std::unique_ptr<Picture>()>;

// Whether this system has the reader of a picture type, asked once and only
// when first needed: asking may load a plugin and its libraries, milliseconds
// that a short command-line run need not spend. Safe from any thread.
class Presence {
public:
    explicit Presence(std::function<bool()> ask) : ask_(std::move(ask)) {}
    bool present() const;

private:
    std::function<bool()> ask_;
    mutable std::once_flag once_;
    mutable bool present_ = false;
};

// The picture types the loader knows, by lower-cased extension, in the order
// they were registered.
class PictureRegistry {
public:
    // With a `presence`, the type counts as registered only once it says
    // the reader is there; types may share one presence.
    void registerFormat(const QString& extension, const QString& description,
                        PictureFactory factory, std::shared_ptr<const Presence> presence = {});
    // Registers each of `extensions` for one type whose filter entry is a
    // single item listing them all: "description (*.a;*.b)".
    void registerGroup(const QStringList& extensions, const QString& description,
                       PictureFactory factory, std::shared_ptr<const Presence> presence = {});
    void unregisterFormat(const QString& extension);
    // Registers every extension of a format of the format table (by its
    // name), with the table's description, in the table's order.
    void registerFormat(const PictureFormat& format, const PictureFactory& factory,
                        const std::shared_ptr<const Presence>& presence = {});
    void unregisterFormat(const PictureFormat& format);

    // A new, empty picture of the type registered for the extension (without
    // the dot, any letter case); nullptr when none is.
    std::unique_ptr<Picture> create(const QString& extension) const;
    bool knows(const QString& extension) const;

    // The file-dialog filter of every registered format (see filterText()).
    QString filterText() const;
    // The same, with the types of a presence taken as present or as missing
    // without asking.
    QString filterTextAssuming(bool present) const;

private:
    struct Format {
        QString extension;
        QString description;
        PictureFactory factory;
        std::shared_ptr<const Presence> presence;
        bool grouped = false; // joins the grouped formats of its description next to it
        bool present() const { return !presence || presence->present(); }
    };
    QString filterTextOf(const std::function<bool(const Format&)>& included) const;
    std::vector<Format> formats_;
};

// The process-wide registry.
PictureRegistry& pictureRegistry();

// Builds the filter text from (description, extension) pairs in registration
// order: the most recently registered format comes first, each as
// "desc (*.ext)|*.ext"; with more than one format the text starts with the
// combined "Tous (masks)|masks" pair.
QString buildFilterText(const std::vector<std::pair<QString, QString>>& formats);
// The same with items that may cover several extensions, each item
// "desc (*.a;*.b)|*.a;*.b"; the combined entry takes them in that order.
QString buildFilterText(const std::vector<std::pair<QString, QStringList>>& items);

// The extension of a path as typed, without the dot ("" when it has none).
QString extensionOf(const QString& path);

// A picture file to load: its path, and the extension whose type reads it,
// "" for the path's own (a file kept without a name, reached through
// /proc/self/fd, has none).
struct PictureFile {
    PictureFile(const QString& filePath,
                const QString& typeExtension = {}) // implicit: a path is one
        : path(filePath), extension(typeExtension) {}
    QString path;
    QString extension;
};

// The loader object (one per run or per scan): loads a file with the picture
// type its extension selects, and keeps the picture until the next load.
class PictureLoader {
public:
    // Throws EInvalidGraphic "Extension de fichier image inconnue (.%s)" for
    // an extension with no registered type, or the type's own error.
    void loadFromFile(const PictureFile& file);
    const Picture* picture() const { return picture_.get(); }
    int width() const;
    int height() const;
    // Copies the loaded picture into `target`.
    void assignTo(Bitmap& target) const;

private:
    std::unique_ptr<Picture> picture_;
};

} // namespace kadrix
