#include "bitmap.h"
#include "dialog_service.h"
#include "file_filter.h"
#include "picture_registry.h"
#include "qt_picture.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(FilterDescriptions, KeepsTheDescriptionsOfAFilterText) {
    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {"*.BMP|*.BMP|*.JPG;*.JPEG|*.JPG;*.JPEG", {"*.BMP", "*.JPG;*.JPEG"}},
        // An empty piece between two "|" does not count as a position.
        {"Images|*.bmp||Photos|*.jpg", {"Images", "Photos"}},
        {"", {}},
        {"Seule", {"Seule"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterDescriptions(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

TEST(FilterText, FourFormatsGiveTheCombinedEntryThenEachFormat) {
    const QString text =
        buildFilterText({{QStringLiteral("Métafichiers"), QStringLiteral("wmf")},
                         {QStringLiteral("Métafichiers évolués"), QStringLiteral("emf")},
                         {QStringLiteral("Icônes"), QStringLiteral("ico")},
                         {QStringLiteral("Bitmaps"), QStringLiteral("bmp")}});
    EXPECT_EQ(text, QStringLiteral("Tous (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps "
                                   "(*.bmp)|*.bmp|Icônes (*.ico)|*.ico|Métafichiers évolués "
                                   "(*.emf)|*.emf|Métafichiers (*.wmf)|*.wmf"));
    EXPECT_EQ(FilterDescriptions(text),
              (QStringList{"Tous (*.bmp;*.ico;*.emf;*.wmf)", "Bitmaps (*.bmp)", "Icônes (*.ico)",
                           "Métafichiers évolués (*.emf)", "Métafichiers (*.wmf)"}));
}

TEST(FilterText, OneFormatHasNoCombinedEntry) {
    EXPECT_EQ(buildFilterText({{QStringLiteral("Bitmaps"), QStringLiteral("bmp")}}),
              QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
}

TEST(FilterText, LaterRegistrationsComeRightAfterTheCombinedEntry) {
    PictureRegistry registry;
    for (const char* ext : {"png", "ico", "bmp", "jpeg", "jpg"})
        registry.registerFormat(QString::fromLatin1(ext), QStringLiteral("D-") + ext,
                                [] { return nullptr; });
    EXPECT_EQ(FilterDescriptions(registry.filterText()),
              (QStringList{"Tous (*.jpg;*.jpeg;*.bmp;*.ico;*.png)", "D-jpg (*.jpg)",
                           "D-jpeg (*.jpeg)", "D-bmp (*.bmp)", "D-ico (*.ico)", "D-png (*.png)"}));
}

// The HEIF items, registered first, come after the platform's.
TEST(FilterText, ThePlatformRegistersPngIcoBmpInThatOrder) {
    const QStringList items = FilterDescriptions(pictureRegistry().filterText());
    ASSERT_GE(items.size(), 6);
    EXPECT_TRUE(items[0].startsWith(QStringLiteral("Tous (")));
    EXPECT_TRUE(items[0].endsWith(QStringLiteral(";*.png;*.heic;*.heif;*.hif;*.avif)")));
    EXPECT_EQ(items.mid(items.size() - 5),
              (QStringList{"Bitmaps (*.bmp)", "Icônes (*.ico)", "Images PNG (*.png)",
                           "Images HEIF (*.heic;*.heif;*.hif)", "Images AVIF (*.avif)"}));
}

// Extensions registered as a group share one item; each still selects the type.
TEST(FilterText, AGroupOfExtensionsIsOneItem) {
    PictureRegistry registry;
    const auto make = [] { return std::make_unique<QtPicture>("png"); };
    registry.registerFormat(QStringLiteral("png"), QStringLiteral("PNG"), make);
    registry.registerGroup({QStringLiteral("heic"), QStringLiteral("hif")}, QStringLiteral("HEIF"),
                           make);
    registry.registerFormat(QStringLiteral("tif"), QStringLiteral("TIFF"), make);
    registry.registerFormat(QStringLiteral("tiff"), QStringLiteral("TIFF"), make);
    EXPECT_EQ(
        registry.filterText(),
        QStringLiteral("Tous (*.tiff;*.tif;*.heic;*.hif;*.png)|*.tiff;*.tif;*.heic;*.hif;*.png|"
                       "TIFF (*.tiff)|*.tiff|TIFF (*.tif)|*.tif|HEIF (*.heic;*.hif)|"
                       "*.heic;*.hif|PNG (*.png)|*.png"));
    EXPECT_TRUE(registry.create(QStringLiteral("HIF")) != nullptr);
}

TEST(QtNameFilters, MasksAreSeparatedByBlanksInsideTheLastParentheses) {
    EXPECT_EQ(
        toQtNameFilters(QStringLiteral("Tous (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp")),
        (QStringList{"Tous (*.bmp *.ico)", "Bitmaps (*.bmp)"}));
    EXPECT_EQ(toQtNameFilters(QStringLiteral("*.BMP|*.BMP|*.JPG;*.JPEG|*.JPG;*.JPEG|*.*|*.*")),
              (QStringList{"*.BMP (*.BMP)", "*.JPG;*.JPEG (*.JPG *.JPEG)", "*.* (*.*)"}));
}

// A type whose reader is missing is neither created nor listed; each presence
// is asked once, and not before a type of it is needed.
TEST(PictureRegistryPresence, AMissingReaderHidesItsTypesAndIsAskedOnce) {
    int asked = 0;
    const auto presence = [&](bool present) {
        return std::make_shared<const Presence>([&asked, present] {
            ++asked;
            return present;
        });
    };
    const auto png = [] { return std::make_unique<QtPicture>("png"); };
    PictureRegistry registry;
    registry.registerFormat(QStringLiteral("png"), QStringLiteral("PNG"), png);
    const auto missing = presence(false);
    registry.registerFormat(QStringLiteral("tif"), QStringLiteral("TIFF"), png, missing);
    registry.registerFormat(QStringLiteral("tiff"), QStringLiteral("TIFF"), png, missing);
    registry.registerFormat(QStringLiteral("webp"), QStringLiteral("WebP"), png, presence(true));
    registry.filterTextAssuming(true);
    EXPECT_EQ(asked, 0);
    for (const auto& [extension, known] : {std::pair{"png", true}, std::pair{"TIF", false},
                                           std::pair{"tiff", false}, std::pair{"webp", true}}) {
        EXPECT_EQ(registry.knows(QString::fromLatin1(extension)), known) << extension;
        EXPECT_EQ(registry.create(QString::fromLatin1(extension)) != nullptr, known) << extension;
    }
    EXPECT_EQ(registry.filterText(),
              buildFilterText({{QStringLiteral("PNG"), QStringLiteral("png")},
                               {QStringLiteral("WebP"), QStringLiteral("webp")}}));
    EXPECT_EQ(asked, 2);
}

// TIFF and WebP sources come through Qt's plugins, registered after the
// platform's own types and before the JPEG type.
TEST(PluginPictures, TiffAndWebpLoadAndSitBetweenJpegAndThePlatformTypes) {
    const QStringList items = FilterDescriptions(pictureRegistry().filterText());
    const QStringList expected = {"Images JPEG (*.jpg)",  "Images JPEG (*.jpeg)",
                                  "Images WebP (*.webp)", "Images TIFF (*.tiff)",
                                  "Images TIFF (*.tif)",  "Bitmaps (*.bmp)"};
    ASSERT_GE(items.size(), expected.size() + 1);
    EXPECT_EQ(items.mid(1, expected.size()), expected);

    QTemporaryDir dir;
    QImage image(7, 5, QImage::Format_RGB888);
    image.fill(QColor(10, 200, 30));
    for (const char* name : {"a.tif", "a.TIFF", "a.webp"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(image.save(path, extensionOf(path).startsWith(u'w') ? "webp" : "tiff", 100));
        PictureLoader loader;
        loader.loadFromFile(path);
        EXPECT_EQ(QSize(loader.width(), loader.height()), QSize(7, 5)) << name;
        Bitmap bitmap;
        loader.assignTo(bitmap);
        EXPECT_EQ(bitmap.pixel(3, 2), makeColour(10, 200, 30)) << name;
    }
}

} // namespace
} // namespace kadrix
