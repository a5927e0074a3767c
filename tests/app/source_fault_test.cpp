// Sources that change between the listing and the run: a file removed, or
// replaced by damaged data, reaches the error box with the loader's message
// and ends the run there, with nothing else shown or written; a JPEG cut
// short still decodes (the codec fills the missing part) and is framed.
#include "main_window_fixture.h"
#include "window_driver.h"

#include "image_list_view.h"
#include "jpeg_image.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace kadrix::test {
namespace {

class ChangedSource : public FolderWindowTest {
protected:
    void SetUp() override {
        FolderWindowTest::SetUp();
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
        // Row 1 is a JPEG between two BMP files.
        ASSERT_TRUE(writePicture(dir.filePath(QStringLiteral("a.bmp")), 300, 200));
        Bitmap photo(500, 400);
        photo.fill(makeColour(200, 120, 40));
        TJPEGImage jpeg;
        jpeg.assign(photo);
        jpeg.saveToFile(dir.filePath(QStringLiteral("b.jpg")));
        ASSERT_TRUE(writePicture(dir.filePath(QStringLiteral("c.bmp")), 100, 100));
        for (const char* name : {"a.bmp", "b.jpg", "c.bmp"})
            window().sourceList().append(QString::fromLatin1(name));
        control<ImageListView>("ListBox1")->setCount(3);
    }
    QStringList results() const { return QDir(out).entryList(QDir::Files | QDir::Hidden); }
    QString count() { return control<QLabel>("LabelTraitee")->text(); }
};

TEST_F(ChangedSource, ARemovedOrDamagedSourceReachesTheErrorBoxAndEndsTheRun) {
    const QString path = dir.filePath(QStringLiteral("b.jpg"));
    const struct {
        const char* what;
        std::function<void()> change;
        const char* messageStart;
    } cases[] = {
        {"removed", [&] { QFile::remove(path); }, "Impossible d'ouvrir"},
        {"text",
         [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("not a picture at all\n");
         },
         "JPEG error #"},
        {"folder",
         [&] {
             QFile::remove(path);
             ASSERT_TRUE(QDir().mkpath(path));
         },
         ""},
        {"empty",
         [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         "JPEG error #"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(out).removeRecursively();
        QDir(path).removeRecursively();
        dialogs->errors.clear();
        c.change();
        control<QToolButton>("SpeedButtonRedim")->click();
        ASSERT_EQ(dialogs->errors.size(), 1u);
        EXPECT_TRUE(dialogs->errors[0].startsWith(QString::fromLatin1(c.messageStart)))
            << dialogs->errors[0].toStdString();
        // The message, the list's current row and the caption name the file.
        EXPECT_TRUE(dialogs->errors[0].endsWith(QStringLiteral("\nFichier: b.jpg")));
        EXPECT_EQ(control<ImageListView>("ListBox1")->currentRow(), 1);
        EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + path);
        EXPECT_TRUE(dialogs->boxes.empty());
        EXPECT_EQ(results(), QStringList{QStringLiteral("cropped_a.BMP")});
        EXPECT_EQ(count(), QStringLiteral("Nombre d'Images Redimensionnées: 1"));
    }
}

TEST_F(ChangedSource, AJpegCutShortStillDecodesAndIsFramed) {
    QFile file(dir.filePath(QStringLiteral("b.jpg")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    control<QToolButton>("SpeedButtonRedim")->click();
    EXPECT_TRUE(dialogs->errors.empty());
    EXPECT_EQ(results(),
              (QStringList{QStringLiteral("cropped_a.BMP"), QStringLiteral("cropped_b.BMP"),
                           QStringLiteral("cropped_c.BMP")}));
    EXPECT_EQ(QImage(out + QStringLiteral("/cropped_b.BMP")).size(), QSize(640, 480));
}

} // namespace
} // namespace kadrix::test
