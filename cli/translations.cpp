#include "translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace kadrix::cli {
namespace {

// The English texts of the shared code, built from translations/ into the
// program's resources; kept whatever the language shown, for inEnglish().
QTranslator& english() {
    static QTranslator translator;
    return translator;
}

} // namespace

void installTranslations() {
    const bool loaded = english().load(QStringLiteral(":/i18n/kadrix-batch_en.qm"));
    if (QLocale::system().language() == QLocale::French) {
        static QTranslator french;
        if (french.load(QStringLiteral(":/i18n/kadrix-batch_fr.qm")))
            QCoreApplication::installTranslator(&french);
    } else if (loaded) {
        QCoreApplication::installTranslator(&english());
    }
}

QString inEnglish(const Text& text) {
    return text.in(&english());
}

} // namespace kadrix::cli
