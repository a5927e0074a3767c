#pragma once

#include <QImage>
#include <QLabel>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace kadrix::test {

// Writes a w x h picture of one colour; the format follows the extension.
inline bool writePicture(const QString& path, int w, int h, QColor colour = Qt::darkCyan) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    const QString lower = path.toLower();
    const char* format = lower.endsWith(QLatin1String(".png")) ? "PNG" : "BMP";
    return image.save(path, format);
}

// Runs `tick` at every pass of the event loop (a zero timer fires once per
// processing of pending messages): used to watch a running command or to
// press a button in the middle of it.
class EveryPass {
public:
    explicit EveryPass(std::function<void(int pass)> tick) : tick_(std::move(tick)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick_(++passes_); });
        timer_.start(0);
    }
    int passes() const { return passes_; }

private:
    QTimer timer_;
    std::function<void(int)> tick_;
    int passes_ = 0;
};

// Records each new text of a label seen at a pass of the event loop, from
// the text it holds when the recorder is made (not recorded) on.
class LabelRecorder {
public:
    explicit LabelRecorder(QLabel* label)
        : last_(label->text()), pass_([this, label](int) {
              if (label->text() != last_)
                  texts << (last_ = label->text());
          }) {}
    QStringList texts;

private:
    QString last_;
    EveryPass pass_;
};

} // namespace kadrix::test
