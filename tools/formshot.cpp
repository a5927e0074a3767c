// Renders the main window and the two dialogs to PNG files, for the README,
// and the main window after scanning a demo folder of generated pictures.
// Usage: formshot OUTPUT_DIR
// Under a real X server with a window manager (tools/render-docs.sh) each
// picture is taken from the screen, window frame and title included;
// offscreen, it is the window's client area alone.
#include "application.h"
#include "dispatch.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "program.h"

#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// A landscape: sky, sun and two hills, coloured by `seed`.
QImage landscape(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv((200 + seed * 37) % 360, 120, 240));
    sky.setColorAt(1, QColor::fromHsv((30 + seed * 23) % 360, 90, 255));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 120));
    const int sun = height / 6;
    p.drawEllipse(QPoint(width * (2 + seed % 5) / 8, height / 4), sun, sun);
    p.setBrush(QColor::fromHsv((90 + seed * 29) % 360, 140, 150));
    p.drawEllipse(QRect(-width / 4, height * 3 / 5, width, height));
    p.setBrush(QColor::fromHsv((120 + seed * 41) % 360, 160, 110));
    p.drawEllipse(QRect(width / 3, height * 2 / 3, width, height));
    return image;
}

// Lets the window manager map and decorate the window, then saves it.
void saveWindow(QWidget& w, const QString& file) {
    QApplication::processEvents();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        w.grab().save(file);
        return;
    }
    w.raise();
    w.activateWindow();
    QEventLoop settle;
    QTimer::singleShot(700, &settle, &QEventLoop::quit);
    settle.exec();
    const QRect frame = w.frameGeometry();
    w.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(file);
}

// Scans a folder of generated photos with the list button, as a user would
// after picking one of them, and saves the window.
void shootWalkthrough(kadrix::TFormKadrix& window, const QString& out) {
    QTemporaryDir demo;
    const QString folder = demo.filePath(QStringLiteral("holiday"));
    QDir().mkpath(folder);
    const QSize sizes[] = {{800, 600},  {1024, 768}, {640, 480},
                           {1200, 900}, {720, 540},  {960, 720}};
    int seed = 0;
    for (const QSize& size : sizes) {
        ++seed;
        landscape(size.width(), size.height(), seed)
            .save(QDir(folder).filePath(
                      QStringLiteral("IMG_%1.bmp").arg(seed, 4, 10, QLatin1Char('0'))),
                  "BMP");
    }
    const QString startedIn = QDir::currentPath();
    QDir::setCurrent(folder);
    window.show();
    // The stretched view shows each photo whole.
    if (auto* stretched = window.findChild<QRadioButton*>(QStringLiteral("RadioModedSource")))
        stretched->setChecked(true);
    kadrix::dispatch([&] { window.SpeedButtonListClick(); });
    saveWindow(window, QDir(out).filePath(QStringLiteral("walkthrough.png")));
    window.hide();
    QDir::setCurrent(startedIn);
}

} // namespace

int main(int argc, char** argv) {
    kadrix::PictureTypes pictureTypes;
    kadrix::Application app(argc, argv);
    kadrix::setProgramIdentity();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    kadrix::Forms forms;
    const auto shoot = [&](QWidget& w, const char* name) {
        w.show();
        saveWindow(w, QDir(out).filePath(QString::fromLatin1(name)));
        w.hide();
    };
    shoot(*forms.FormKadrix, "main-window.png");
    shoot(*forms.FormOpJpeg, "jpeg-options.png");
    shoot(*forms.FormAbout, "about.png");
    shootWalkthrough(*forms.FormKadrix, QDir(out).absolutePath());
    return 0;
}
