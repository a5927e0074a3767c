#include "picture_registry.h"

#include "bitmap.h"
#include "errors.h"

#include <QFileInfo>

#include <algorithm>

namespace kadrix {

bool Presence::present() const {
    std::call_once(once_, [this] { present_ = ask_(); });
    return present_;
}

void PictureRegistry::registerFormat(const QString& extension, const QString& description,
                                     PictureFactory factory,
                                     std::shared_ptr<const Presence> presence) {
    unregisterFormat(extension);
    formats_.push_back({extension.toLower(), description, std::move(factory), std::move(presence)});
}

void PictureRegistry::registerGroup(const QStringList& extensions, const QString& description,
                                    PictureFactory factory,
                                    std::shared_ptr<const Presence> presence) {
    for (const QString& extension : extensions) {
        registerFormat(extension, description, factory, presence);
        formats_.back().grouped = true;
    }
}

void PictureRegistry::unregisterFormat(const QString& extension) {
    const QString key = extension.toLower();
    std::erase_if(formats_, [&](const Format& f) { return f.extension == key; });
}

void PictureRegistry::registerFormat(const PictureFormat& format, const PictureFactory& factory,
                                     const std::shared_ptr<const Presence>& presence) {
    for (const QString& extension : format.extensions)
        registerFormat(extension, format.description, factory, presence);
}

void PictureRegistry::unregisterFormat(const PictureFormat& format) {
    for (const QString& extension : format.extensions)
        unregisterFormat(extension);
}

std::unique_ptr<Picture> PictureRegistry::create(const QString& extension) const {
    const QString key = extension.toLower();
    // The latest registration of an extension wins, as it does in the filter.
    for (auto it = formats_.rbegin(); it != formats_.rend(); ++it)
        if (it->extension == key && it->present())
            return it->factory();
    return nullptr;
}

bool PictureRegistry::knows(const QString& extension) const {
    const QString key = extension.toLower();
    return std::any_of(formats_.begin(), formats_.end(),
                       [&](const Format& f) { return f.extension == key && f.present(); });
}

QString PictureRegistry::filterText() const {
    return filterTextOf([](const Format& f) { return f.present(); });
}

QString PictureRegistry::filterTextAssuming(bool present) const {
    return filterTextOf([present](const Format& f) { return !f.presence || present; });
}

QString PictureRegistry::filterTextOf(const std::function<bool(const Format&)>& included) const {
    std::vector<std::pair<QString, QStringList>> items;
    const Format* previous = nullptr;
    for (const Format& f : formats_) {
        if (!included(f))
            continue;
        if (f.grouped && previous != nullptr && previous->grouped &&
            previous->description == f.description)
            items.back().second << f.extension;
        else
            items.emplace_back(f.description, QStringList{f.extension});
        previous = &f;
    }
    return buildFilterText(items);
}

PictureRegistry& pictureRegistry() {
    static PictureRegistry registry;
    return registry;
}

QString buildFilterText(const std::vector<std::pair<QString, QString>>& formats) {
    std::vector<std::pair<QString, QStringList>> items;
    for (const auto& [description, extension] : formats)
        items.emplace_back(description, QStringList{extension});
    return buildFilterText(items);
}

QString buildFilterText(const std::vector<std::pair<QString, QStringList>>& items) {
    QStringList pieces;
    QStringList masks;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        QStringList own;
        for (const QString& extension : it->second)
            own << QStringLiteral("*.") + extension;
        const QString mask = own.join(QLatin1Char(';'));
        pieces << QStringLiteral("%1 (%2)").arg(it->first, mask) << mask;
        masks << mask;
    }
    if (items.size() > 1) {
        const QString all = masks.join(QLatin1Char(';'));
        pieces.prepend(all);
        pieces.prepend(QStringLiteral("Tous (%1)").arg(all));
    }
    return pieces.join(QLatin1Char('|'));
}

QString extensionOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

void PictureLoader::loadFromFile(const PictureFile& file) {
    const QString& path = file.path;
    const QString extension = file.extension.isEmpty() ? extensionOf(path) : file.extension;
    std::unique_ptr<Picture> picture = pictureRegistry().create(extension);
    if (!picture)
        throw EInvalidGraphic(
            Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Extension de fichier image inconnue (.%1)"),
                 {extension}));
    picture_.reset(); // the previous picture goes before the next file is read
    picture->loadFromFile(path);
    picture_ = std::move(picture);
}

int PictureLoader::width() const {
    return picture_ ? picture_->width() : 0;
}
int PictureLoader::height() const {
    return picture_ ? picture_->height() : 0;
}

void PictureLoader::assignTo(Bitmap& target) const {
    if (!picture_) {
        target = Bitmap();
        return;
    }
    picture_->assignTo(target);
}

} // namespace kadrix
