#include "main_window_fixture.h"

#include "image_control.h"
#include "image_list_model.h"
#include "image_list_view.h"
#include "status_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <set>

namespace kadrix::test {
namespace {

constexpr QSize PictureSize(40, 30);
constexpr QPoint RedPixel(5, 12);

// Every pixel of the test picture differs from its neighbours, so that a
// sample shows where it was taken; one pixel is pure red.
QColor pictureColour(int x, int y) {
    if (QPoint(x, y) == RedPixel)
        return QColor(255, 0, 0);
    return QColor(x * 6, y * 8, 77);
}
Colour pictureColourValue(int x, int y) {
    return fromQColor(pictureColour(x, y));
}

class ColourTools : public MainWindowTest {
protected:
    QTemporaryDir dir;
    ImageControl* image = nullptr;
    StatusBar* statusBar = nullptr;
    QToolButton* wipeColour = nullptr;
    QToolButton* brush = nullptr;
    QToolButton* pipette = nullptr;

    void SetUp() override {
        image = control<ImageControl>("Image1");
        statusBar = control<StatusBar>("StatusBar1");
        wipeColour = control<QToolButton>("SpeedButtonWipeColor");
        brush = control<QToolButton>("SpeedButtonBrush");
        pipette = control<QToolButton>("SpeedButtonPipette");

        QImage picture(PictureSize, QImage::Format_RGB888);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixelColor(x, y, pictureColour(x, y));
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("pic.bmp")), "BMP"));
        // One listed row, so that the "Result" view can compose it.
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
        control<QLineEdit>("EditSrcDir")->setText(dir.path() + QLatin1Char('/'));
        control<QLineEdit>("EditDstDir")->setText(dir.filePath(QStringLiteral("out")));
        window().sourceList().append(QStringLiteral("pic.bmp"));
        auto* list = control<ImageListView>("ListBox1");
        list->setCount(1);
        list->setCurrentRow(0);
        window().show();
        window().LoadIntoView(dir.filePath(QStringLiteral("pic.bmp")));
        ASSERT_EQ(image->size(), PictureSize);
    }
    void TearDown() override { window().hide(); }

    // A pointer move over Image1, with the mouse buttons held.
    void hover(QPoint p, Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, p, image->mapToGlobal(p), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(image, &move);
    }
    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(image, button, {}, p);
    }
    Qt::CursorShape cursor() const { return image->cursor().shape(); }
    QColor swatchShown() {
        return control<QLabel>("PanelWipeColor")->pixmap().toImage().pixelColor(15, 15);
    }
    QColor statusColour() {
        const QImage shot = statusBar->grab().toImage();
        return shot.pixelColor(statusBar->panelRect(0).center());
    }
    std::set<QString> downButtons() {
        std::set<QString> down;
        for (const QToolButton* b : {wipeColour, brush, pipette})
            if (b->isChecked())
                down.insert(b->objectName());
        return down;
    }
};

TEST_F(ColourTools, StartsBlackWithTheToolsUp) {
    EXPECT_EQ(window().wipeColor(), Colour(0));
    EXPECT_EQ(window().hoverColor(), Colour(0));
    EXPECT_EQ(swatchShown(), QColor(Qt::black));
    EXPECT_TRUE(downButtons().empty());
    EXPECT_FALSE(image->testAttribute(Qt::WA_SetCursor));
}

TEST_F(ColourTools, ReadoutShowsThePixelAndPositionUnderThePointer) {
    struct Case {
        QPoint at;
        QString rgb;
        QString pos;
        QColor panel;
    };
    const Case cases[] = {
        {RedPixel, "RGB = 255/000/000", "Pos = 0005/0012", QColor(255, 0, 0)},
        {QPoint(39, 29), "RGB = 234/232/077", "Pos = 0039/0029", QColor(234, 232, 77)},
        {QPoint(40, 3), "RGB = 255/255/255", "Pos = 0040/0003", QColor(Qt::white)},
        {QPoint(-4, 20), "RGB = 255/255/255", "Pos = -0004/0020", QColor(Qt::white)},
        {QPoint(1234, -56), "RGB = 255/255/255", "Pos = 1234/-0056", QColor(Qt::white)},
    };
    // Positions outside Image1 arrive while a button is held after a press.
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(1, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos.toStdString());
        hover(c.at, Qt::LeftButton);
        EXPECT_EQ(statusBar->panelText(1), c.rgb);
        EXPECT_EQ(statusBar->panelText(2), c.pos);
        EXPECT_EQ(toQColor(window().hoverColor()), c.panel);
        EXPECT_EQ(statusColour(), c.panel);
    }
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(1, 1));
    hover(RedPixel);
    EXPECT_EQ(window().hoverColor(), makeColour(255, 0, 0));
    EXPECT_EQ(statusColour(), QColor(255, 0, 0));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(ColourTools, StretchedViewReadsThePixelDisplayedUnderThePointer) {
    control<QRadioButton>("RadioModedSource")->setChecked(true);
    ASSERT_TRUE(image->stretch());
    const QImage shown = image->grab().toImage(); // every pixel differs: the diagonal tells
    for (QPoint at; at.y() < image->height(); at = QPoint((at.y() + 1) * 5 / 4, at.y() + 1)) {
        hover(at);
        ASSERT_EQ(toQColor(window().hoverColor()), shown.pixelColor(at)) << at.y();
    }
    // Four coloured quarters, each picked in the middle of a pixel shown.
    QImage quarters(PictureSize, QImage::Format_RGB888);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int q = 0; q < 4; ++q)
        QPainter(&quarters).fillRect(q % 2 * 20, q / 2 * 15, 20, 15, colours[q]);
    image->setPicture(Bitmap(quarters));
    const QPoint pixels[] = {{3, 2}, {20, 14}, {19, 15}, {39, 29}};
    for (int q = 0; q < 4; ++q) {
        const QPoint p = pixels[q], at((p.x() * 2 + 1) * image->width() / 80,
                                       (p.y() * 2 + 1) * image->height() / 60);
        hover(at);
        EXPECT_EQ(statusBar->panelText(2), QString::asprintf("Pos = %4.4d/%4.4d", p.x(), p.y()));
        pipette->click();
        press(at);
        EXPECT_EQ(toQColor(window().wipeColor()), colours[q]) << q;
    }

    // Outside the picture the pipette stores the invalid colour, painted white
    // everywhere: in the swatch and in the margins of the next result.
    pipette->click();
    press(QPoint(-1, -1));
    EXPECT_EQ(window().wipeColor(), InvalidColour);
    EXPECT_EQ(swatchShown(), QColor(Qt::white));
    control<QRadioButton>("RadioResult")->setChecked(true);
    ASSERT_EQ(image->size(), QSize(640, 480));
    EXPECT_EQ(image->picture().pixel(0, 0), Colour(0xFFFFFF));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(ColourTools, PipetteTakesThePixelAndPopsUpKeepingTheHand) {
    pipette->click();
    EXPECT_TRUE(pipette->isChecked());
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    press(RedPixel);
    EXPECT_EQ(window().wipeColor(), makeColour(255, 0, 0));
    EXPECT_EQ(window().swatch().pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(swatchShown(), QColor(255, 0, 0));
    EXPECT_FALSE(pipette->isChecked());
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);

    // Armed and disarmed by two presses: the hand, then the default arrow.
    pipette->click();
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    pipette->click();
    EXPECT_FALSE(pipette->isChecked());
    EXPECT_FALSE(image->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(cursor(), Qt::ArrowCursor);

    // Not armed: a press changes nothing.
    press(QPoint(20, 20));
    EXPECT_EQ(window().wipeColor(), makeColour(255, 0, 0));
}

TEST_F(ColourTools, AtMostOneToolIsDownAndOnlyToolClicksSetTheCursor) {
    struct Case {
        const char* presses; // W colour dialog (cancelled), B brush, P pipette
        std::set<QString> down;
        Qt::CursorShape cursor;
    };
    const Case cases[] = {
        {"B", {"SpeedButtonBrush"}, Qt::PointingHandCursor},
        {"BP", {"SpeedButtonPipette"}, Qt::PointingHandCursor},
        {"PB", {"SpeedButtonBrush"}, Qt::PointingHandCursor},
        {"BB", {}, Qt::ArrowCursor},
        {"PBB", {}, Qt::ArrowCursor},
        {"PBP", {"SpeedButtonPipette"}, Qt::PointingHandCursor},
        // The dialog's button puts the pipette up; the hand stays.
        {"PW", {}, Qt::PointingHandCursor},
        {"W", {}, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.presses);
        for (QToolButton* b : {wipeColour, brush, pipette})
            b->setChecked(false);
        image->unsetCursor();
        for (const char* p = c.presses; *p; ++p)
            (*p == 'W' ? wipeColour : *p == 'B' ? brush : pipette)->click();
        EXPECT_EQ(downButtons(), c.down);
        EXPECT_EQ(cursor(), c.cursor);
    }
    EXPECT_EQ(window().wipeColor(), Colour(0));
}

TEST_F(ColourTools, ColourDialogSetsTheColourOnOkOnlyAndAlwaysPopsUp) {
    const Colour chosen = makeColour(10, 200, 30);
    dialogs->colours = {chosen, std::nullopt};

    wipeColour->click();
    ASSERT_EQ(dialogs->colourRequests.size(), 1u);
    EXPECT_EQ(dialogs->colourRequests[0], Colour(0));
    EXPECT_EQ(window().wipeColor(), chosen);
    EXPECT_EQ(swatchShown(), toQColor(chosen));
    EXPECT_FALSE(wipeColour->isChecked());

    wipeColour->click(); // cancelled
    ASSERT_EQ(dialogs->colourRequests.size(), 2u);
    EXPECT_EQ(dialogs->colourRequests[1], chosen);
    EXPECT_EQ(window().wipeColor(), chosen);
    EXPECT_EQ(swatchShown(), toQColor(chosen));
    EXPECT_FALSE(wipeColour->isChecked());
}

TEST_F(ColourTools, BrushShowsTheEnlargedSampleButKeepsTheWipeColour) {
    const Colour green = makeColour(0, 255, 0);
    dialogs->colours = {green, std::nullopt};
    wipeColour->click();

    brush->click();
    press(QPoint(20, 15));
    EXPECT_FALSE(brush->isChecked());
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    // The 7 x 7 square from (17, 12) to (23, 18), every pixel of it shown.
    const Bitmap& swatch = window().swatch();
    std::set<Colour> shown, square;
    for (int y = 0; y < swatch.height(); ++y)
        for (int x = 0; x < swatch.width(); ++x) {
            shown.insert(swatch.pixel(x, y));
            EXPECT_EQ(window().sampleBitmap().pixel(x, y), swatch.pixel(x, y));
        }
    for (int y = 12; y <= 18; ++y)
        for (int x = 17; x <= 23; ++x)
            square.insert(pictureColourValue(x, y));
    EXPECT_EQ(shown, square);
    EXPECT_EQ(swatch.pixel(0, 0), pictureColourValue(17, 12));
    EXPECT_EQ(swatch.pixel(29, 29), pictureColourValue(23, 18));
    EXPECT_EQ(swatchShown(), toQColor(swatch.pixel(15, 15)));
    EXPECT_EQ(window().wipeColor(), green);

    // A square reaching beyond the picture shows white there.
    brush->click();
    press(QPoint(1, 1));
    EXPECT_EQ(swatch.pixel(0, 0), Colour(0xFFFFFF));
    EXPECT_EQ(swatch.pixel(29, 29), pictureColourValue(4, 4));

    // The next result is still filled with the colour chosen before, and
    // the dialog starts from it.
    control<QRadioButton>("RadioResult")->setChecked(true);
    ASSERT_EQ(image->size(), QSize(640, 480));
    EXPECT_EQ(image->picture().pixel(0, 0), green);
    wipeColour->click();
    EXPECT_EQ(dialogs->colourRequests.back(), green);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(ColourTools, RightPressTogglesTheCommandPanel) {
    auto* panel = control<QWidget>("PanelCommande");
    auto* scroll = control<QScrollArea>("ScrollBox1");
    const int narrow = scroll->width();
    press(QPoint(10, 10), Qt::RightButton);
    EXPECT_TRUE(panel->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(scroll->width(), window().width());
    press(QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(panel->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(scroll->width(), narrow);

    // Armed pipette: the right press picks the colour and hides the panel.
    pipette->click();
    press(RedPixel, Qt::RightButton);
    EXPECT_EQ(window().wipeColor(), makeColour(255, 0, 0));
    EXPECT_FALSE(pipette->isChecked());
    EXPECT_TRUE(panel->isHidden());
    // A left press never touches the panel.
    press(QPoint(10, 10));
    EXPECT_TRUE(panel->isHidden());
}

// With no tool armed, a drag in the "Result" view moves the picture inside
// its frame and the row keeps the placement; a double-click resets it.
class PlacementByHand : public ColourTools {
protected:
    void SetUp() override {
        ColourTools::SetUp();
        control<QLineEdit>("EditW")->setText(QStringLiteral("20"));
        control<QLineEdit>("EditH")->setText(QStringLiteral("10"));
        control<QRadioButton>("RadioResult")->setChecked(true);
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(image, Qt::LeftButton, {}, from);
        hover((from + to) / 2, Qt::LeftButton);
        hover(to, Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, to);
    }
    std::optional<QPoint> placement() { return window().sourceList().entry(0).placement; }
    QImage cut(QPoint topLeft) {
        return QImage(dir.filePath(QStringLiteral("pic.bmp")))
            .copy(QRect(topLeft, QSize(20, 10)))
            .convertToFormat(QImage::Format_RGB888);
    }
    QImage shown() { return image->picture().image().convertToFormat(QImage::Format_RGB888); }
    QImage written() {
        const QString result = dir.filePath(QStringLiteral("out/cropped_pic.BMP"));
        QFile::remove(result); // no prompt before replacing it
        control<QToolButton>("SpeedButtonRedim")->click();
        return QImage(result).convertToFormat(QImage::Format_RGB888);
    }
};

TEST_F(PlacementByHand, ADragMovesTheResultWithinThePictureAndADoubleClickResetsIt) {
    // The pointer's move, and the result's top-left corner in the picture then.
    const std::pair<QPoint, QPoint> cases[] = {{{7, -5}, {3, 15}}, {{-30, 2}, {20, 8}}};
    for (const auto& [by, topLeft] : cases) {
        QTest::mouseDClick(image, Qt::LeftButton, {}, QPoint(10, 5)); // back to the anchor
        ASSERT_EQ(placement(), std::nullopt);
        EXPECT_EQ(shown(), cut(QPoint(10, 10)));
        EXPECT_EQ(statusBar->panelText(4), QString());
        drag(QPoint(10, 5), QPoint(10, 5) + by);
        EXPECT_EQ(placement(), topLeft);
        EXPECT_EQ(shown(), cut(topLeft));
        EXPECT_EQ(written(), cut(topLeft));
        const QString readout = QString::asprintf("Placé: %+d, %+d", topLeft.x(), topLeft.y());
        EXPECT_EQ(statusBar->panelText(4), readout);
        const QModelIndex row = control<ImageListView>("ListBox1")->listModel()->index(0);
        EXPECT_EQ(row.data(Qt::ToolTipRole).toString(), readout);
        EXPECT_EQ(row.data(Qt::DisplayRole).toString(), QStringLiteral("pic.bmp"));
    }
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(PlacementByHand, ThePipetteOrARowNotFramedPicksNoPlacementAndANewScanForgetsThem) {
    pipette->click();
    drag(QPoint(5, 6), QPoint(15, 8));
    EXPECT_EQ(placement(), std::nullopt);
    EXPECT_EQ(window().wipeColor(), pictureColourValue(15, 16));
    // A row whose picture cannot be framed leaves the view with no row to place.
    QFile damaged(dir.filePath(QStringLiteral("bad.bmp")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("BM damaged") > 0);
    damaged.close();
    window().sourceList().append(QStringLiteral("bad.bmp"));
    auto* list = control<ImageListView>("ListBox1");
    list->setCount(2);
    const auto showFirstRow = [list] {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
    };
    showFirstRow();
    QTest::keyClick(list, Qt::Key_Down); // shows the next row's result
    ASSERT_EQ(list->currentRow(), 1);
    ASSERT_FALSE(dialogs->errors.empty());
    drag(QPoint(5, 6), QPoint(15, 8));
    EXPECT_EQ(placement(), std::nullopt);
    EXPECT_EQ(window().sourceList().entry(1).placement, std::nullopt);
    showFirstRow();
    drag(QPoint(5, 6), QPoint(15, 8));
    ASSERT_TRUE(placement());
    QDir::setCurrent(dir.path()); // the folder the list button scans again
    control<QToolButton>("SpeedButtonList")->click();
    ASSERT_EQ(window().sourceList().count(), 2);
    EXPECT_EQ(placement(), std::nullopt);
    EXPECT_EQ(window().sourceList().entry(1).placement, std::nullopt);
}

} // namespace
} // namespace kadrix::test
