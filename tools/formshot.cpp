// Renders the main window and the two dialogs to PNG files, for the README.
// Usage: QT_QPA_PLATFORM=offscreen formshot OUTPUT_DIR
#include "application.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "program.h"

#include <QDir>
#include <QPixmap>

int main(int argc, char** argv) {
    kadrix::PictureTypes pictureTypes;
    kadrix::Application app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    kadrix::Forms forms;
    const auto shoot = [&](QWidget& w, const char* name) {
        w.show();
        QApplication::processEvents();
        w.grab().save(QDir(out).filePath(QString::fromLatin1(name)));
        w.hide();
    };
    shoot(*forms.FormKadrix, "main-window.png");
    shoot(*forms.FormOpJpeg, "jpeg-options.png");
    shoot(*forms.FormAbout, "about.png");
    return 0;
}
