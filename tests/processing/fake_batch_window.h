#pragma once

#include "batch.h"

#include <QSize>
#include <QStringList>

#include <functional>
#include <vector>

namespace kadrix::test {

// Stands in for the main window: rows are files of a folder, results go to
// "<destination>/r<row><extension>", and everything a run writes is recorded.
class FakeWindow final : public BatchWindow {
public:
    QString sourceDir;
    QStringList names;
    QString destination;
    QString extension = QStringLiteral(".BMP");
    QString widthText = QStringLiteral("16"), heightText = QStringLiteral("8");
    Colour wipe = 0x000000FF;
    bool stop = false;
    QStringList counts;
    std::vector<Bitmap> shown;
    QSize viewSize;
    std::function<void(int shownCount)> onShow;

    void setRunningCountText(const QString& text) override { counts << text; }
    QString destinationText() const override { return destination; }
    TargetSizeText targetSizeText() const override { return {widthText, heightText}; }
    void setTargetSizeText(const TargetSizeText& t) override {
        widthText = t.width;
        heightText = t.height;
    }
    void prepareResultView(int w, int h) override { viewSize = QSize(w, h); }
    void showResult(const Bitmap& copy) override {
        shown.push_back(copy);
        if (onShow)
            onShow(int(shown.size()));
    }
    bool& stopFlag() override { return stop; }
    Colour wipeColour() const override { return wipe; }
    QString SourcePath(int row) override { return sourceDir + QLatin1Char('/') + names[row]; }
    QString BuildResultPath(int row, bool) override {
        return destination + QStringLiteral("/r%1").arg(row) + extension;
    }
    QString resultPath(int row) const {
        return destination + QStringLiteral("/r%1").arg(row) + extension;
    }
};

} // namespace kadrix::test
