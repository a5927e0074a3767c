#include "application.h"

#include "dialog_service.h"
#include "errors.h"
#include "qt_dialog_service.h"

#include <QFont>

namespace kadrix {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setDialogService(makeQtDialogService());
    // The forms are designed for the narrow "MS Sans Serif" and Arial faces;
    // Liberation Sans has Arial's metrics, DejaVu Sans Condensed comes close.
    const QStringList narrow{QStringLiteral("Liberation Sans"),
                             QStringLiteral("DejaVu Sans Condensed")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), narrow);
    QFont::insertSubstitutions(QStringLiteral("Arial"), narrow);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // Handlers run inside dispatch(); this only catches what a paint or
    // layout routine might throw, so that no exception unwinds through Qt.
    try {
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort&) {
    } catch (const Error& e) {
        dialogs().errorBox(e.message());
    } catch (const std::exception& e) {
        dialogs().errorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        dialogs().errorBox(QStringLiteral("Erreur inconnue"));
    }
    return false;
}

} // namespace kadrix
