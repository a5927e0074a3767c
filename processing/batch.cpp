#include "batch.h"

#include "dialog_service.h"
#include "errors.h"
#include "framed_save.h"
#include "framing.h"
#include "message_loop.h"
#include "naming.h"
#include "native_path.h"
#include "result_writer.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {
namespace {

constexpr int DefaultWidth = 640;
constexpr int DefaultHeight = 480;

[[noreturn]] void stopSilently(BatchWindow& window) {
    window.stopFlag() = true;
    throw SilentAbort();
}

// A Yes/No/Cancel prompt: true for Yes, false for No; Cancel stops the run.
bool askYesNo(BatchWindow& window, const QString& text, const QString& caption) {
    const Answer answer = dialogs().messageBox(text, caption, Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        stopSilently(window);
    return answer == Answer::Yes;
}

// Saves the framer's result of one row, with the overwrite and failure prompts.
void saveRow(BatchWindow& window, const SourceFramer& framer, const FramingOptions& framing,
             int row) {
    const QString path = window.BuildResultPath(row, true);
    // The rename texts are kept as typed, but a ".." in them never takes a
    // result out of the destination folder: such a name fails as a write.
    const QString folder = normaliseFolder(window.destinationText());
    if (!path.startsWith(folder) || path.mid(folder.size()).split(u'/').contains(u"..")) {
        if (dialogs().messageBox(QStringLiteral("Enregistrement Impossible\nhors du dossier de "
                                                "destination"),
                                 path, Buttons::OkCancel) == Answer::Cancel)
            stopSilently(window);
        return;
    }
    const auto replace = [&] {
        return askYesNo(window, QStringLiteral("Ecraser le Fichier Existant?"), path);
    };
    const SaveDecision decision = decideSave(path, replace);
    switch (decision) {
    case SaveDecision::KeepExisting:
        return;
    case SaveDecision::CannotReplace:
        dialogs().messageBox(QStringLiteral("Impossible d'Ecraser le Fichier"), path, Buttons::Ok);
        return;
    case SaveDecision::Write:
    case SaveDecision::Replace:
    case SaveDecision::Stream:
        break;
    }
    // The prompt names the file in its caption and the cause under its text.
    const SaveOutcome saved = saveFramed(framer, path, framing, decision == SaveDecision::Replace);
    if (!saved && dialogs().messageBox(QStringLiteral("Enregistrement Impossible\n") + saved.error,
                                       path, Buttons::OkCancel) == Answer::Cancel)
        stopSilently(window);
}

} // namespace

QString runningCountText(int count) {
    return QStringLiteral("Nombre d'Images Redimensionnées: %1").arg(count);
}

void ProcessRows(BatchWindow& window, int FirstRow, int LastRow, bool StepByStep, bool SaveResults,
                 const DecodeOptions& decode) {
    const quint64 rows = window.rowsRevision();
    const auto endIfRowsChanged = [&] {
        if (window.rowsRevision() != rows)
            throw SilentAbort();
    };
    window.setRunningCountText(runningCountText(0));
    processPendingMessages();

    // Checked and created from the text the naming trims, so that the folder
    // made is the one results go to (and a field of blanks counts as empty).
    const QString destination = trimControls(window.destinationText());
    if (destination.isEmpty())
        throw SilentAbort();
    if (!makeFolders(destination))
        throw SilentAbort();

    TargetSizeText size = window.targetSizeText();
    const std::optional<qint32> width = ParseInteger(size.width);
    const std::optional<qint32> height = ParseInteger(size.height);
    if (!width)
        size.width = QString::number(DefaultWidth);
    if (!height)
        size.height = QString::number(DefaultHeight);
    if (!width || !height)
        window.setTargetSizeText(size);
    const int W = width.value_or(DefaultWidth);
    const int H = height.value_or(DefaultHeight);
    // The run's canvas, source bitmap and picture loader. With a ratio, W and H
    // are its terms and each row gets its own size.
    const ResultSize resultSize{FramingDefaults.sizeMode, W, H};
    SourceFramer framer(resultSize);

    if (!resultSize.isRatio())
        window.prepareResultView(W, H);
    window.stopFlag() = false;

    for (int row = FirstRow; row <= LastRow; ++row) {
        if (window.stopFlag())
            throw SilentAbort();
        endIfRowsChanged();

        const QString source = window.SourcePath(row);
        const FramingOptions framing = FramingDefaults; // as the row is framed, so it is saved
        bool framed = false;
        try {
            framed = framer.frame(source, window.wipeColour(), decode, framing, {},
                                  window.rowPlacement(row));
        } catch (const Error& e) {
            if (std::optional<Error> named = window.sourceError(row, source, e))
                throw *named;
            throw;
        }
        if (!framed)
            continue;

        if (resultSize.isRatio())
            window.prepareResultView(framer.width(), framer.height());
        window.showResult(framer.canvas()); // QImage's sharing makes this a copy on write
        if (const Picture* picture = framer.source())
            window.resultPlaced(row, QSize(picture->width(), picture->height()), framer.geometry());
        window.showingRow(row);
        processPendingMessages();
        endIfRowsChanged();

        bool save = SaveResults;
        if (StepByStep && SaveResults) {
            save = askYesNo(window, QStringLiteral("Sauvegarde"), QStringLiteral("Pas à Pas"));
        } else if (StepByStep) {
            if (dialogs().messageBox(QStringLiteral("Suivant"), QStringLiteral("Pas à Pas"),
                                     Buttons::OkCancel) == Answer::Cancel)
                stopSilently(window);
        }
        endIfRowsChanged(); // a prompt's own message loop may have let a command run
        if (save)
            saveRow(window, framer, framing, row);

        window.setRunningCountText(runningCountText(row + 1));
        processPendingMessages();
    }
}

} // namespace kadrix
