#include "main_window_fixture.h"

#include "image_control.h"
#include "image_list_model.h"
#include "status_bar.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace kadrix::test {
namespace {

constexpr QSize PictureSize(120, 90);
constexpr QSize ResultSize(40, 30);
constexpr QPoint Centred(40, 30); // the centre anchor's window

// Every pixel differs from the others, so that a result shows where it was cut.
QImage picture() {
    QImage image(PictureSize, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 2, y * 2, (x + y) % 256));
    return image;
}

class PlacementByHand : public FolderWindowTest {
protected:
    ImageControl* image = nullptr;

    void SetUp() override {
        FolderWindowTest::SetUp();
        image = control<ImageControl>("Image1");
        ASSERT_TRUE(picture().save(dir.filePath(QStringLiteral("pic.bmp")), "BMP"));
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
        control<QLineEdit>("EditW")->setText(QString::number(ResultSize.width()));
        control<QLineEdit>("EditH")->setText(QString::number(ResultSize.height()));
        window().sourceList().append(QStringLiteral("pic.bmp"));
        auto* list = control<ImageListView>("ListBox1");
        list->setCount(1);
        list->setCurrentRow(0);
        window().show();
        control<QRadioButton>("RadioResult")->setChecked(true);
        ASSERT_EQ(image->size(), ResultSize);
    }
    void TearDown() override { window().hide(); }

    void move(QPoint p) {
        QMouseEvent event(QEvent::MouseMove, p, image->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(image, &event);
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(image, Qt::LeftButton, {}, from);
        move((from + to) / 2);
        move(to);
        QTest::mouseRelease(image, Qt::LeftButton, {}, to);
    }
    std::optional<QPoint> placement() { return window().sourceList().entry(0).placement; }
    QImage shown() { return image->picture().image().convertToFormat(QImage::Format_RGB888); }
    QImage written() {
        const QString result = out + QStringLiteral("/cropped_pic.BMP");
        QFile::remove(result); // no prompt before replacing it
        control<QToolButton>("SpeedButtonRedim")->click();
        return QImage(result).convertToFormat(QImage::Format_RGB888);
    }
};

TEST_F(PlacementByHand, ADragMovesTheResultByTheDraggedAmountWithinThePicture) {
    struct Case {
        QPoint by;      // the pointer's move
        QPoint topLeft; // the result's top-left corner in the picture then
    };
    const Case cases[] = {
        {{10, -5}, {30, 35}},  // inside: the picture follows the pointer
        {{-100, 0}, {80, 30}}, // clamped at the right edge
        {{100, 100}, {0, 0}},  // clamped at the top-left corner
        {{-3, -70}, {43, 60}}, // clamped at the bottom only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.by.x() << "," << c.by.y());
        QTest::mouseDClick(image, Qt::LeftButton, {}, QPoint(20, 15)); // back to the anchor
        ASSERT_EQ(placement(), std::nullopt);
        drag(QPoint(20, 15), QPoint(20, 15) + c.by);
        EXPECT_EQ(placement(), c.topLeft);
        EXPECT_EQ(shown(), picture().copy(QRect(c.topLeft, ResultSize)));
        EXPECT_EQ(written(), picture().copy(QRect(c.topLeft, ResultSize)));
        const QString readout = QString::asprintf("Placé: %+d, %+d", c.topLeft.x(), c.topLeft.y());
        EXPECT_EQ(control<StatusBar>("StatusBar1")->panelText(4), readout);
        const QModelIndex row = control<ImageListView>("ListBox1")->listModel()->index(0);
        EXPECT_EQ(row.data(Qt::ToolTipRole).toString(), readout);
        EXPECT_EQ(row.data(Qt::DisplayRole).toString(), QStringLiteral("pic.bmp"));
    }
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(PlacementByHand, ADoubleClickGivesTheRowBackToItsAnchor) {
    drag(QPoint(20, 15), QPoint(30, 10));
    ASSERT_EQ(placement(), QPoint(30, 35));
    QTest::mouseDClick(image, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(placement(), std::nullopt);
    EXPECT_EQ(written(), picture().copy(QRect(Centred, ResultSize)));
    EXPECT_EQ(control<StatusBar>("StatusBar1")->panelText(4), QString());
}

TEST_F(PlacementByHand, WithThePipetteArmedADragPicksAColourAndPlacesNothing) {
    control<QToolButton>("SpeedButtonPipette")->click();
    drag(QPoint(5, 6), QPoint(25, 16));
    EXPECT_EQ(placement(), std::nullopt);
    EXPECT_EQ(toQColor(window().wipeColor()), picture().pixelColor(Centred + QPoint(5, 6)));
}

TEST_F(PlacementByHand, ANewScanForgetsPlacements) {
    drag(QPoint(20, 15), QPoint(30, 10));
    ASSERT_TRUE(placement());
    QDir::setCurrent(dir.path()); // the folder the list button scans again
    control<QToolButton>("SpeedButtonList")->click();
    ASSERT_EQ(window().sourceList().count(), 1);
    EXPECT_EQ(placement(), std::nullopt);
}

} // namespace
} // namespace kadrix::test
