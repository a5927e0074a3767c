#include "framing.h"

#include "compositor.h"
#include "errors.h"

namespace kadrix {
namespace {

Bitmap makeCanvas(int W, int H) {
    const Text invalid("kadrix", QT_TRANSLATE_NOOP("kadrix", "Taille finale invalide: %1 * %2"),
                       {QString::number(W), QString::number(H)});
    if (W <= 0 || H <= 0)
        throw Error(invalid);
    try {
        return Bitmap(W, H);
    } catch (const Error&) {
        throw Error(invalid);
    }
}

} // namespace

SourceFramer::SourceFramer(int W, int H) : W_(W), H_(H), canvas_(makeCanvas(W, H)) {}

bool SourceFramer::frame(const QString& sourcePath, Colour wipe, const DecodeOptions& decode,
                         const std::function<void(const Picture& picture)>& beforeDecode) {
    // The previous source's pixels go before the next picture is decoded, so
    // a framer holds one decoded source at a time.
    decoded_ = Bitmap();
    loader_.loadFromFile(sourcePath);
    if (beforeDecode && loader_.picture())
        beforeDecode(*loader_.picture());
    assignVisibleSource(loader_, W_, H_, wipe, decoded_, decode);
    return ComposeResult(decoded_, W_, H_, wipe, canvas_);
}

} // namespace kadrix
