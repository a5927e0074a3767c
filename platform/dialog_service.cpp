#include "dialog_service.h"

#include <cstdio>

namespace kadrix {
namespace {

// Without a window there is no one to ask: every question is answered
// Cancel (which ends a run silently) and errors go to the error stream.
class UnattendedDialogs final : public DialogService {
public:
    Answer messageBox(const QString&, const QString&, Buttons) override { return Answer::Cancel; }
    void errorBox(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    std::optional<OpenChoice> openPicture(const QString&, int) override { return std::nullopt; }
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
    void showModal(QDialog&) override {}
};

std::unique_ptr<DialogService>& current() {
    static std::unique_ptr<DialogService> service = std::make_unique<UnattendedDialogs>();
    return service;
}

} // namespace

DialogService& dialogs() {
    return *current();
}

std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service) {
    std::swap(current(), service);
    return service;
}

QStringList toQtNameFilters(const QString& filter) {
    const QStringList pieces = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList result;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        QString name = pieces[i];
        const qsizetype open = name.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && name.endsWith(QLatin1Char(')')))
            name = name.left(open);
        name = name.trimmed();
        const QStringList masks = pieces[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        result << QStringLiteral("%1 (%2)").arg(name, masks.join(QLatin1Char(' ')));
    }
    return result;
}

} // namespace kadrix
