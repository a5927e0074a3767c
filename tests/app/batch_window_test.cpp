#include "main_window_fixture.h"
#include "window_driver.h"

#include "image_control.h"
#include "image_list_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace kadrix::test {
namespace {

class GoButton : public FolderWindowTest {
protected:
    void makeRows(int n) {
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("img%1.bmp").arg(i);
            ASSERT_TRUE(writePicture(dir.filePath(name), 700 + i, 400));
            window().sourceList().append(name);
        }
        control<ImageListView>("ListBox1")->setCount(n);
    }
    void go() { control<QToolButton>("SpeedButtonRedim")->click(); }
    QStringList results() const { return QDir(out).entryList(QDir::Files); }
};

TEST_F(GoButton, WithNoRowsOnlyTheStartUpStepsRun) {
    control<QLineEdit>("EditW")->setText(QStringLiteral("abc"));
    control<QLineEdit>("EditH")->setText(QString());
    go();
    EXPECT_EQ(control<QLabel>("LabelTraitee")->text(), QStringLiteral("Nombre d'Images Redimensionnées: 0"));
    EXPECT_TRUE(QFileInfo(out).isDir());
    EXPECT_EQ(control<QLineEdit>("EditW")->text(), QStringLiteral("640"));
    EXPECT_EQ(control<QLineEdit>("EditH")->text(), QStringLiteral("480"));
    EXPECT_EQ(control<ImageControl>("Image1")->size(), QSize(640, 480));
    EXPECT_TRUE(dialogs->boxes.empty());
}

TEST_F(GoButton, WritesEveryRowUnderItsResultName) {
    makeRows(3);
    control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
    control<QLineEdit>("EditW")->setText(QStringLiteral("320"));
    control<QLineEdit>("EditH")->setText(QStringLiteral("200"));
    go();
    EXPECT_EQ(results(), (QStringList{"cropped_img0.BMP", "cropped_img1.BMP", "cropped_img2.BMP"}));
    EXPECT_EQ(QImage(out + QStringLiteral("/cropped_img2.BMP")).size(), QSize(320, 200));
    EXPECT_EQ(control<QLabel>("LabelTraitee")->text(), QStringLiteral("Nombre d'Images Redimensionnées: 3"));
    const auto& shown = control<ImageControl>("Image1")->picture();
    EXPECT_EQ(QSize(shown.width(), shown.height()), QSize(320, 200));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(GoButton, TheJpegChoiceWritesJpegFiles) {
    makeRows(1);
    control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
    control<QComboBox>("ComboBoxDstExt")->setCurrentIndex(1);
    control<QLineEdit>("EditPrefixe")->setText(QStringLiteral("j_")); // refreshes the names
    go();
    ASSERT_EQ(results(), QStringList{QStringLiteral("j_img0.JPEG")});
    QFile file(out + QStringLiteral("/j_img0.JPEG"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(2) == QByteArray("\xFF\xD8", 2));
}

TEST_F(GoButton, ThePngChoiceWritesTheCanvasPixelForPixel) {
    makeRows(1);
    control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
    control<QComboBox>("ComboBoxDstExt")->setCurrentIndex(2);
    control<QLineEdit>("EditW")->setText(QStringLiteral("720")); // margins and crops
    control<QLineEdit>("EditH")->setText(QStringLiteral("300"));
    control<QLineEdit>("EditPrefixe")->setText(QStringLiteral("p_"));
    go();
    ASSERT_EQ(results(), QStringList{QStringLiteral("p_img0.PNG")});
    QImageReader reader(out + QStringLiteral("/p_img0.PNG"));
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage written = reader.read();
    const Bitmap& canvas = control<ImageControl>("Image1")->picture();
    ASSERT_EQ(written.size(), QSize(canvas.width(), canvas.height()));
    int wrong = 0;
    for (int y = 0; y < written.height(); ++y)
        for (int x = 0; x < written.width(); ++x)
            wrong += fromQColor(written.pixelColor(x, y)) != canvas.pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(GoButton, CloseDuringARunFinishesTheRowThenEndsTheProgram) {
    makeRows(4);
    window().show();
    dialogs->defaultAnswer = Answer::Yes;
    auto* list = control<ImageListView>("ListBox1");
    list->setSelected(3, true);
    QStringList steps; // each prompt's caption and current row
    dialogs->onMessageBox = [&](const ScriptedDialogs::Box&) {
        steps << window().windowTitle() + QStringLiteral(" %1").arg(list->currentRow());
        if (dialogs->boxes.size() == 2) // the save prompt of row 1
            control<QToolButton>("SpeedButtonClose")->click();
    };
    go();
    EXPECT_EQ(results(), (QStringList{"cropped_img0.BMP", "cropped_img1.BMP"}));
    EXPECT_EQ(dialogs->boxes.size(), 2u);
    EXPECT_EQ(steps, (QStringList{QStringLiteral("Kadrix - %1/cropped_img0.BMP 0").arg(out),
                                  QStringLiteral("Kadrix - %1/cropped_img1.BMP 1").arg(out)}));
    EXPECT_EQ(selectedRows(), std::set<int>{3});
    EXPECT_FALSE(window().isVisible()) << "the window closes once the run has ended";
}

TEST_F(GoButton, TheCloseBoxLetsTheRunGoOnToItsLastRow) {
    makeRows(4);
    window().show();
    dialogs->defaultAnswer = Answer::Yes;
    dialogs->onMessageBox = [&](const ScriptedDialogs::Box&) {
        if (dialogs->boxes.size() == 2) {
            window().close();
            EXPECT_TRUE(window().isVisible());
        }
    };
    go();
    EXPECT_EQ(results().size(), 4);
    EXPECT_FALSE(window().isVisible());
}

} // namespace
} // namespace kadrix::test
