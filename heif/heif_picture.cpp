#include "heif_picture.h"

#include "errors.h"
#include "heif_boxes.h"
#include "heif_container.h"
#include "heif_format.h"
#include "heif_owners.h"
#include "heif_tiles.h"
#include "picture_formats.h"
#include "picture_registry.h"

#include <libheif/heif.h>

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace kadrix {
namespace {

// libheif's own limit, on each side of any image, grid or tile (its
// default); the picture's area is held to the bitmap limit at loading.
const int MaxHeifSide = 32768;

// Thumbnails looked at for a sketch: files carry one, cameras up to three.
const int MaxThumbnails = 8;

// The message for a libheif failure, libheif's own words as its %1.
const char* patternOf(const heif_error& error) {
    switch (error.code) {
    case heif_error_Invalid_input:
        return error.subcode == heif_suberror_End_of_data
                   ? QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF tronqué (%1)")
                   : QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF endommagé (%1)");
    case heif_error_Unsupported_filetype:
        return QT_TRANSLATE_NOOP("kadrix", "Image invalide: pas un fichier HEIF (%1)");
    case heif_error_Unsupported_feature:
        return error.subcode == heif_suberror_Unsupported_codec
                   ? QT_TRANSLATE_NOOP(
                         "kadrix", "Image invalide: format de compression non pris en charge (%1)")
                   : QT_TRANSLATE_NOOP("kadrix",
                                       "Image invalide: fonction HEIF non prise en charge (%1)");
    case heif_error_Memory_allocation_error:
        return error.subcode == heif_suberror_Security_limit_exceeded
                   ? QT_TRANSLATE_NOOP("kadrix", "Image invalide: image trop grande (%1)")
                   : QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante (%1)");
    case heif_error_Decoder_plugin_error:
        return QT_TRANSLATE_NOOP("kadrix", "Image invalide: données d'image illisibles (%1)");
    default:
        return QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF illisible (%1)");
    }
}

// An error of the picture type: `source` marked for translation, with its
// values.
EInvalidGraphic invalid(const char* source, QStringList args = {}) {
    return EInvalidGraphic(Text("kadrix", source, std::move(args)));
}

// Throws the house error for a libheif failure, with libheif's own words.
void check(const heif_error& error) {
    if (error.code == heif_error_Ok)
        return;
    throw invalid(patternOf(error), {QString::fromUtf8(error.message).trimmed()});
}

// Checks what libheif answered after reading `source`: a file that shrank
// while libheif read it is reported as cut short, whatever libheif made of
// the missing bytes.
void check(const heif_error& error, const heif::HeifSource& source) {
    if (source.failed())
        throw invalid(QT_TRANSLATE_NOOP(
            "kadrix", "Image invalide: fichier HEIF tronqué (le fichier a raccourci)"));
    check(error);
}

// Rounds a sample of `bits` bits to 8 bits (libheif's own conversion
// truncates, which darkens every picture by half a level).
inline std::uint8_t to8Bits(unsigned value, unsigned max) {
    return std::uint8_t((value * 255 + max / 2) / max);
}

// An 8-bit interleaved RGB(A) image of libheif, adopted without a copy: the
// red and blue bytes are exchanged in place for BGR888, and libheif's buffer
// goes when the last copy of the picture goes.
QImage adopt8Bits(heif::ImagePtr image, bool alpha) {
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (plane == nullptr || w <= 0 || h <= 0)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: image vide"));
    if (!alpha)
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = plane + qsizetype(y) * stride;
            for (int x = 0; x < w; ++x)
                std::swap(row[3 * x], row[3 * x + 2]);
        }
    heif_image* owner = image.release();
    QImage adopted(
        plane, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_BGR888,
        [](void* info) { heif_image_release(static_cast<heif_image*>(info)); }, owner);
    if (adopted.isNull()) {
        heif_image_release(owner);
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante"));
    }
    return alpha ? adopted.convertToFormat(QImage::Format_ARGB32) : adopted;
}

// A 16-bit-per-sample interleaved RGB(A) image of libheif holding `bits`-bit
// samples, rounded into a new 8-bit picture.
QImage round16Bits(const heif_image* image, bool alpha) {
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(image, heif_channel_interleaved);
    const int h = heif_image_get_height(image, heif_channel_interleaved);
    const int bits = heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved);
    if (plane == nullptr || w <= 0 || h <= 0 || bits <= 8 || bits > 16)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: image vide"));
    const unsigned max = (1u << bits) - 1;
    const int channels = alpha ? 4 : 3;
    // RGBA8888 and BGR888 name their bytes in memory order on every machine.
    QImage out(w, h, alpha ? QImage::Format_RGBA8888 : QImage::Format_BGR888);
    if (out.isNull())
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante"));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = plane + qsizetype(y) * stride;
        std::uint8_t* row = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            std::uint8_t s[4];
            for (int c = 0; c < channels; ++c) {
                const std::uint8_t* sample = in + 2 * (channels * x + c);
                s[c] = to8Bits(std::min<unsigned>(qFromLittleEndian<quint16>(sample), max), max);
            }
            if (alpha) {
                std::copy(s, s + 4, row + 4 * x);
            } else {
                row[3 * x] = s[2];
                row[3 * x + 1] = s[1];
                row[3 * x + 2] = s[0];
            }
        }
    }
    return alpha ? out.convertToFormat(QImage::Format_ARGB32) : out;
}

// Decodes an image of the file through libheif, its transforms applied with
// `autoOrient`: BGR888, or ARGB32 (straight alpha) with an alpha plane.
QImage decodeHandle(heif_image_handle* handle, bool autoOrient, const heif::HeifSource& source) {
    const bool alpha = heif_image_handle_has_alpha_channel(handle);
    const bool deep = heif_image_handle_get_luma_bits_per_pixel(handle) > 8 ||
                      heif_image_handle_get_chroma_bits_per_pixel(handle) > 8;
    const heif_chroma chroma =
        deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
             : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    const heif::OptionsPtr options(heif_decoding_options_alloc());
    options->ignore_transformations = autoOrient ? 0 : 1;
    heif_image* raw = nullptr;
    const heif_error error =
        heif_decode_image(handle, &raw, heif_colorspace_RGB, chroma, options.get());
    heif::ImagePtr image(raw);
    check(error, source);
    return deep ? round16Bits(image.get(), alpha) : adopt8Bits(std::move(image), alpha);
}

// Whether a thumbnail of `thumbnail` pixels stands for a picture of
// `picture` pixels: at least ThumbnailSide on its shorter side, at most a
// quarter of the picture's pixels, and the picture's aspect ratio within
// a thumbnail pixel.
bool standsFor(QSize thumbnail, QSize picture) {
    const qint64 tw = thumbnail.width(), th = thumbnail.height();
    const qint64 pw = picture.width(), ph = picture.height();
    return std::min(tw, th) >= ThumbnailSide && 4 * tw * th <= pw * ph &&
           std::abs(tw * ph - th * pw) <= std::max(pw, ph);
}

// The rows of a window handed on a band at a time: each band's pixels from
// `band` (a band of whole rows of the window, from a row to where `bandEnd`
// says the band that starts there ends); where a band does not come, the
// rest of the window from `whole`, the window decoded at once.
class BandedRows final : public RowSource {
public:
    using Decode = std::function<std::optional<Bitmap>(const QRect& part)>;
    using End = std::function<int(int top, int bottom)>;
    BandedRows(const QRect& window, End bandEnd, Decode band, Decode whole)
        : window_(window), bandEnd_(std::move(bandEnd)), band_(std::move(band)),
          whole_(std::move(whole)) {}

    // Decodes the first band; false when nothing gives the window's rows.
    bool start() { return load(); }

    int width() const override { return window_.width(); }
    int height() const override { return window_.height(); }

    const std::uint8_t* next() override {
        if (y_ == end_ && !load())
            throw invalid(
                QT_TRANSLATE_NOOP("kadrix", "Image invalide: données d'image illisibles (%1)"),
                {QStringLiteral("rows")});
        return pixels_.scanLine(y_++ - start_);
    }

private:
    bool load() {
        const int top = window_.top() + y_;
        const int bottom = std::clamp(bandEnd_(top, window_.top() + window_.height()), top + 1,
                                      window_.top() + window_.height());
        const QRect part(window_.left(), top, window_.width(), bottom - top);
        pixels_ = Bitmap(); // the band in hand goes before the next is decoded
        std::optional<Bitmap> pixels = band_(part);
        if (fits(pixels, part)) {
            pixels_ = std::move(*pixels);
            start_ = y_;
            end_ = y_ + part.height();
            return true;
        }
        pixels = whole_(window_);
        if (!fits(pixels, window_))
            return false;
        pixels_ = std::move(*pixels);
        start_ = 0;
        end_ = window_.height();
        return true;
    }
    static bool fits(const std::optional<Bitmap>& pixels, const QRect& part) {
        return pixels && pixels->pixelFormat() == PixelFormat::Bits24 &&
               pixels->width() == part.width() && pixels->height() == part.height();
    }

    QRect window_;
    End bandEnd_;
    Decode band_;
    Decode whole_;
    Bitmap pixels_;
    int y_ = 0;     // rows handed on
    int start_ = 0; // the window's row of the first row in hand
    int end_ = 0;   // and past the last
};

} // namespace

// libheif reads the file through `source` for as long as its context lives.
// What the box reader finds in the container is read once, at loading.
struct HeifPicture::Handles {
    explicit Handles(heif::HeifSource s) : source(std::move(s)) {}
    heif::HeifSource source;
    std::optional<heif::MetaBox> meta; // the views below point into it
    heif::ContainerReading container;
    heif::ContextPtr context;
    heif::HandlePtr primary;
};

HeifPicture::HeifPicture(bool autoOrient) : autoOrient_(autoOrient) {}
HeifPicture::~HeifPicture() = default;

void HeifPicture::loadFromFile(const QString& path) {
    // The file stays open and is read part by part: a grid's tiles are
    // read only when they are decoded.
    load(heif::HeifSource::fromFile(path));
}

void HeifPicture::loadFromData(QByteArray data) {
    load(heif::HeifSource(std::move(data)));
}

void HeifPicture::load(heif::HeifSource source) {
    handles_.reset();
    decoded_ = QImage();
    size_ = QSize();
    const std::optional<QByteArray> head = source.read(0, std::min<qint64>(source.size(), 256));
    if (!head || !heif::hasHeifSignature(*head))
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: pas un fichier HEIF"));
    auto handles = std::make_unique<Handles>(std::move(source));
    handles->context.reset(heif_context_alloc());
    if (!handles->context)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante"));
    heif_context_set_maximum_image_size_limit(handles->context.get(), MaxHeifSide);
    const heif_error read = heif_context_read_from_reader(
        handles->context.get(), heif::HeifSource::libheifReader(), &handles->source, nullptr);
    // libheif calls a file cut inside its first boxes damaged: it is cut short.
    if (read.code != heif_error_Ok && !handles->source.failed() &&
        heif::cutBeforeMeta(handles->source))
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF tronqué (%1)"),
                      {QString::fromUtf8(read.message).trimmed()});
    check(read, handles->source);
    handles->meta = heif::readMetaBox(handles->source);
    if (handles->meta)
        handles->container = heif::readContainer(*handles->meta, handles->source);
    heif::ContainerReading& container = handles->container;
    if (!container.refusal.isEmpty())
        throw EInvalidGraphic(container.refusal);
    if (container.grid && !autoOrient_)
        container.grid->transforms.clear();
    const auto& properties = container.primaryProperties;
    heif_image_handle* primary = nullptr;
    check(heif_context_get_primary_image_handle(handles->context.get(), &primary));
    handles->primary.reset(primary);
    // The size after the transforms (libheif's, corrected where the order of
    // the properties misleads it), or the stored size without them. The
    // decoded picture's size has the last word.
    QSize size;
    if (autoOrient_) {
        size = QSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
        if (properties)
            size = heif::correctedSize(size, *properties);
    } else {
        size = QSize(heif_image_handle_get_ispe_width(primary),
                     heif_image_handle_get_ispe_height(primary));
    }
    // A grid or overlay decodes to the size its description gives, whatever
    // its extent says: that size, turned as the file's rotations turn it (a
    // clean aperture is left to the decoded size).
    const QSize extent(heif_image_handle_get_ispe_width(primary),
                       heif_image_handle_get_ispe_height(primary));
    const std::optional<QSize>& grid = container.describedSize;
    if (grid && *grid != extent) {
        bool turned = false, cropped = false;
        if (properties)
            for (const heif::ItemProperty& p : *properties) {
                cropped = cropped || p.type == QByteArrayView("clap", 4);
                if (p.type == QByteArrayView("irot", 4) && !p.payload.isEmpty())
                    turned = turned != ((quint8(p.payload[0]) & 1) != 0);
            }
        if (!autoOrient_)
            size = *grid;
        else if (!cropped)
            size = turned ? grid->transposed() : *grid;
    }
    // A grid the tile path takes has the size its transforms give, which
    // libheif's handle misstates for a clean aperture past the picture's edge.
    if (container.grid)
        if (const std::optional<QSize> upright = heif::uprightSize(*container.grid))
            size = *upright;
    // libheif sizes a clean aperture of less than a pixel as empty, and
    // decodes it to a row or column: the extent stands for it until decoded.
    if (size.width() <= 0 || size.height() <= 0)
        size = grid.value_or(extent);
    if (size.width() <= 0 || size.height() <= 0)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: taille nulle"));
    // Whichever path decodes it, the largest picture libheif would make (the
    // extent's, or a description's) holds to the bitmap limit. The reported
    // size is not one: a clean aperture only crops, however large it claims
    // to be.
    QSize claimed = extent;
    if (grid && qint64(grid->width()) * grid->height() > qint64(extent.width()) * extent.height())
        claimed = *grid;
    if (bitmapBytes(claimed.width(), claimed.height(), 3) > MaxBitmapBytes)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: image trop grande (%1 * %2)"),
                      {QString::number(claimed.width()), QString::number(claimed.height())});
    handles_ = std::move(handles);
    size_ = size;
}

bool HeifPicture::hasAlpha() const {
    return handles_ && heif_image_handle_has_alpha_channel(handles_->primary.get());
}

const QImage& HeifPicture::decoded() const {
    if (!decoded_.isNull())
        return decoded_;
    if (!handles_)
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: aucune image chargée"));
    heif_image_handle* primary = handles_->primary.get();
    // A grid the tile path takes is put together tile by tile: the same
    // pixels as libheif's decode of the whole grid, which would hold the
    // picture three times over (its 4:2:0 planes, an intermediate and the
    // result) where this holds it once.
    if (std::optional<QImage> whole = tiledWindow(QRect(QPoint(0, 0), size_))) {
        decoded_ = std::move(*whole);
        return decoded_;
    }
    decoded_ = decodeHandle(primary, autoOrient_, handles_->source);
    size_ = decoded_.size();
    return decoded_;
}

void HeifPicture::assignTo(Bitmap& target) const {
    target = bitmapOfDecoded(decoded());
}

std::optional<QImage> HeifPicture::tiledWindow(const QRect& window) const {
    if (!handles_)
        return std::nullopt;
    const std::optional<heif::GridLayout>& grid = handles_->container.grid;
    if (!grid || heif::uprightSize(*grid) != std::optional<QSize>(size_) || hasAlpha() ||
        heif_image_handle_get_luma_bits_per_pixel(handles_->primary.get()) > 8 ||
        heif_image_handle_get_chroma_bits_per_pixel(handles_->primary.get()) > 8)
        return std::nullopt;
    return heif::decodeGridWindow(*grid, handles_->source, window, MaxHeifSide);
}

// A grid framed by its tiles holds the window and the tile in hand (its
// planes and its converted pixels), never the whole picture.
qint64 HeifPicture::decodingBytes(const QRect& window, DecodeMode mode) const {
    const std::optional<heif::GridLayout>& grid =
        handles_ ? handles_->container.grid : std::optional<heif::GridLayout>();
    if (mode == DecodeMode::Whole || !decoded_.isNull() || !grid || hasAlpha() ||
        heif::uprightSize(*grid) != std::optional<QSize>(size_))
        return Picture::decodingBytes(window, mode);
    const qint64 tile = qint64(grid->tileWidth) * grid->tileHeight;
    return qint64(window.width()) * window.height() * 4 + tile * 8;
}

std::optional<Bitmap> HeifPicture::decodeWindow(const QRect& window, DecodeMode mode) const {
    // A grid not decoded yet gives the window from the tiles it touches.
    if (mode != DecodeMode::Whole && decoded_.isNull())
        if (std::optional<QImage> part = tiledWindow(window))
            return bitmapOfDecoded(std::move(*part));
    const QSize reported = size_;
    const QImage& image = decoded();
    if (image.size() != reported)
        return std::nullopt;
    return bitmapOfDecoded(image.copy(window.intersected(image.rect())));
}

// A grid not decoded yet gives its rows a row (or, turned, a column) of tiles
// at a time.
std::unique_ptr<RowSource> HeifPicture::readRows(const QRect& window, DecodeMode mode) const {
    const std::optional<heif::GridLayout>& grid =
        handles_ ? handles_->container.grid : std::optional<heif::GridLayout>();
    const QRect wanted = window.intersected(QRect(QPoint(0, 0), size_));
    if (mode == DecodeMode::Whole || !decoded_.isNull() || !grid || wanted.isEmpty() ||
        !heif::tileBandEnd(*grid, wanted.top(), wanted.top() + 1))
        return nullptr;
    auto rows = std::make_unique<BandedRows>(
        wanted,
        [this](int top, int bottom) {
            return heif::tileBandEnd(*handles_->container.grid, top, bottom).value_or(bottom);
        },
        [this](const QRect& part) -> std::optional<Bitmap> {
            if (std::optional<QImage> pixels = tiledWindow(part))
                return bitmapOfDecoded(std::move(*pixels));
            return std::nullopt;
        },
        [this](const QRect& part) { return decodeWindow(part, DecodeMode::Whole); });
    if (!rows->start())
        return nullptr;
    return rows;
}

qint64 HeifPicture::rowReadingBytes(const QRect& window, DecodeMode mode) const {
    const std::optional<heif::GridLayout>& grid =
        handles_ ? handles_->container.grid : std::optional<heif::GridLayout>();
    if (mode == DecodeMode::Whole || !decoded_.isNull() || !grid)
        return decodingBytes(window, mode);
    const int band = std::max(grid->tileWidth, grid->tileHeight);
    return decodingBytes(QRect(window.topLeft(), QSize(window.width(), band)), mode);
}

std::optional<Bitmap> HeifPicture::decodeSketch(QSize) const {
    if (!handles_)
        return std::nullopt;
    heif_image_handle* primary = handles_->primary.get();
    const int count = std::min(heif_image_handle_get_number_of_thumbnails(primary), MaxThumbnails);
    std::vector<heif_item_id> ids(std::size_t(std::max(count, 0)));
    if (count <= 0 ||
        heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count) != count)
        return std::nullopt;
    // The smallest thumbnail whose size stands for the picture's, checked
    // again once decoded (libheif 1.15 misstates some transformed sizes).
    std::vector<std::pair<qint64, heif::HandlePtr>> candidates;
    for (const heif_item_id id : ids) {
        heif_image_handle* raw = nullptr;
        if (heif_image_handle_get_thumbnail(primary, id, &raw).code != heif_error_Ok)
            continue;
        heif::HandlePtr thumbnail(raw);
        const QSize size(heif_image_handle_get_width(raw), heif_image_handle_get_height(raw));
        if (standsFor(size, size_))
            candidates.emplace_back(qint64(size.width()) * size.height(), std::move(thumbnail));
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& candidate : candidates) {
        try {
            QImage image = decodeHandle(candidate.second.get(), autoOrient_, handles_->source);
            if (standsFor(image.size(), size_))
                return Bitmap(image.convertToFormat(QImage::Format_BGR888));
        } catch (const EInvalidGraphic&) {
            // a damaged thumbnail: the next, or the picture itself
        }
    }
    return std::nullopt;
}

PictureMetadata HeifPicture::metadata() const {
    PictureMetadata metadata;
    metadata.turned = true;
    if (!handles_)
        return metadata;
    heif_image_handle* primary = handles_->primary.get();
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(primary);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(primary)), '\0');
        if (!icc.isEmpty() &&
            heif_image_handle_get_raw_color_profile(primary, icc.data()).code == heif_error_Ok)
            metadata.iccProfile = std::move(icc);
    }
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(primary, "Exif", &id, 1) == 1) {
        QByteArray block(qsizetype(heif_image_handle_get_metadata_size(primary, id)), '\0');
        // Four bytes give the offset of the TIFF header from their end.
        if (block.size() > 4 &&
            heif_image_handle_get_metadata(primary, id, block.data()).code == heif_error_Ok &&
            !handles_->source.failed()) {
            const quint32 offset = qFromBigEndian<quint32>(block.constData());
            if (offset < quint32(block.size() - 4))
                metadata.exif = QByteArray("Exif\0\0", 6) + block.mid(4 + qsizetype(offset));
        }
    }
    return metadata;
}

Bitmap bitmapOfDecoded(QImage image) {
    // Pictures with an alpha plane stay straight ARGB32: the framing step
    // composes them over the wipe colour.
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_BGR888;
    if (image.format() != format)
        image = image.convertToFormat(format);
    if (image.isNull())
        throw invalid(QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante"));
    return Bitmap(std::move(image));
}

void registerHeifPicture(std::function<bool()> autoOrient) {
    heif_init(nullptr);
    const PictureFactory factory = [autoOrient = std::move(autoOrient)] {
        return std::make_unique<HeifPicture>(!autoOrient || autoOrient());
    };
    // Registered newest first in the filter: AVIF before HEIF, so that HEIF
    // is listed first. Each format is one item, whatever its extensions.
    for (auto name = std::rbegin(heif::HeifFormatNames); name != std::rend(heif::HeifFormatNames);
         ++name) {
        const PictureFormat* format = pictureFormatNamed(QString::fromLatin1(*name));
        pictureRegistry().registerGroup(format->extensions, format->description, factory);
    }
}

} // namespace kadrix
