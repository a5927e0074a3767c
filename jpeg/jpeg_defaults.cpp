#include "jpeg_defaults.h"

#include <QGuiApplication>
#include <QScreen>

namespace kadrix {

TJPEGDefaults JpegDefaults;

TJPEGDefaults startupJpegDefaults() {
    TJPEGDefaults defaults;
    int depth = 24;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            depth = screen->depth();
    defaults.PixelFormat = depth <= 8 ? JpegPixelFormat::Bits8 : JpegPixelFormat::Bits24;
    return defaults;
}

} // namespace kadrix
