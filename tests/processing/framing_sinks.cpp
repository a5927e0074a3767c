#include "framing_sinks.h"

#include "framed_save.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace kadrix::test {

std::string sinkName(Sink sink) {
    return sink == Sink::Canvas ? "canvas" : "result rows";
}

Bitmap framedThrough(Sink sink, const QString& path, QSize size, Colour wipe,
                     const DecodeOptions& decode, const FramingOptions& framing) {
    SourceFramer framer(size.width(), size.height());
    if (sink == Sink::Canvas) {
        framer.frame(path, wipe, decode, framing);
        return framer.canvas();
    }
    const QString result = path + QStringLiteral(".result.bmp");
    bool framed = false;
    EXPECT_TRUE(frameAndSave(framer, path, result, {wipe, decode, framing, {}, true, {}}, framed));
    EXPECT_TRUE(framed);
    Bitmap read(QImage(result).convertToFormat(QImage::Format_BGR888));
    QFile::remove(result);
    return read;
}

} // namespace kadrix::test
