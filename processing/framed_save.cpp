#include "framed_save.h"

#include "framing.h"
#include "native_name.h"
#include "native_path.h"
#include "subject_interest.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace kadrix {

SaveOutcome saveFramed(const SourceFramer& framer, const QString& path,
                       const FramingOptions& framing, bool replace,
                       const ResultEncoding& encoding) {
    SaveOutcome outcome = saveResult(framer.canvas(), path, framer.source(), replace, encoding);
    // A date that cannot be set leaves a good result: the save stands.
    // A device or a pipe written into keeps its own dates.
    if (outcome && framing.keepDates && pathKind(path) == PathKind::File)
        keepSourceDate(framer.sourcePath(), path);
    return outcome;
}

namespace {

// Whether the result goes into its file (or the open file given) a row at a
// time: a device or a pipe takes the result encoded whole (saveResult()).
bool writtenInRows(const QString& path, const FramedSave& how, ResultFormat format) {
    if (!writesRows(format))
        return false;
    if (how.into != nullptr)
        return true;
    const PathKind kind = pathKind(path);
    return kind == PathKind::None || kind == PathKind::File;
}

} // namespace

qint64 framedSaveBytes(const Picture& picture, const FrameGeometry& frame, const QString& path,
                       const FramedSave& how) {
    const ResultFormat format = how.encoding.format.value_or(resultFormatOf(path));
    const bool rows = writtenInRows(path, how, format);
    qint64 framing = framingBytes(picture, frame, how.decode.mode, how.framing, rows);
    // The Subject anchor's measure of a picture larger than its result comes
    // first, and its sketch is gone before the framing decodes.
    const QSize pictureSize(picture.width(), picture.height());
    if (how.framing.anchor == Anchor::Subject && !how.topLeft &&
        (pictureSize.width() > frame.size.width() || pictureSize.height() > frame.size.height()))
        framing = std::max(framing, picture.sketchBytes(QSize(InterestSide, InterestSide)));
    return framing +
           (rows ? rowWritingBytes(frame.size, format) : encodingBytes(frame.size, format));
}

namespace {

SaveOutcome frameAndSaveAs(SourceFramer& framer, const PictureFile& source, const QString& path,
                           const FramedSave& how, ResultFormat format,
                           const BeforeDecode& beforeDecode, bool& framed) {
    if (!writtenInRows(path, how, format)) {
        framed = framer.frame(source, how.wipe, how.decode, how.framing, beforeDecode, how.topLeft);
        if (!framed)
            return {};
        return how.into != nullptr
                   ? saveResultInto(framer.canvas(), *how.into, format, framer.source(),
                                    how.encoding)
                   : saveFramed(framer, path, how.framing, how.replace, how.encoding);
    }
    const auto picture = [&framer] { return framer.source(); };
    ResultRows rows = how.into != nullptr ? ResultRows(*how.into, format, picture)
                                          : ResultRows(path, format, picture, how.replace);
    try {
        framed = framer.frame(source, how.wipe, rows, how.decode, how.framing, beforeDecode,
                              how.topLeft);
    } catch (const ResultRows::Stopped&) {
        framed = true;
        return rows.outcome();
    }
    if (!framed)
        return {};
    SaveOutcome outcome = rows.commit();
    // A date that cannot be set leaves a good result: the save stands.
    if (outcome && how.framing.keepDates && how.into == nullptr)
        keepSourceDate(source.path, path);
    return outcome;
}

} // namespace

SaveOutcome frameAndSave(SourceFramer& framer, const PictureFile& source, const QString& path,
                         const FramedSave& how, bool& framed) {
    const ResultFormat format = how.encoding.format.value_or(resultFormatOf(path));
    // A result the writer refuses by its size alone fails with the writer's
    // message before anything is decoded or counted: a picture is not
    // decoded whole (a HEIF's Blur margins) nor refused for the memory of a
    // result that could never be written.
    struct SizeRefused {
        QString why;
    };
    const BeforeDecode beforeDecode = [&](const Picture& picture, const FrameGeometry& frame) {
        if (QString why = refusedResultSize(frame.size, format); !why.isEmpty())
            throw SizeRefused{std::move(why)};
        if (how.beforeDecode)
            how.beforeDecode(picture, frame);
    };
    try {
        return frameAndSaveAs(framer, source, path, how, format, beforeDecode, framed);
    } catch (const SizeRefused& refused) {
        framed = true;
        return {false, refused.why, 0};
    }
}

bool keepSourceDate(const QString& sourcePath, const QString& resultPath) {
    struct stat source {};
    if (::stat(nativeName(sourcePath).constData(), &source) != 0)
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    return ::utimensat(AT_FDCWD, nativeName(resultPath).constData(), times, 0) == 0;
}

} // namespace kadrix
