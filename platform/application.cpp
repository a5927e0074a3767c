#include "application.h"

#include "dialog_service.h"
#include "errors.h"
#include "form_style.h"

#include <QFont>

namespace kadrix {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The forms are designed for "MS Sans Serif" at 11 pixels, whose widths
    // Liberation Sans Narrow matches most closely; Liberation Sans has
    // Arial's metrics. DejaVu Sans Condensed stands in where neither is.
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"),
                                                         QStringLiteral("DejaVu Sans Condensed")});
    setStyle(new FormStyle); // the application owns its style
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
