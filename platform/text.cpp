#include "text.h"

#include <QCoreApplication>
#include <QTranslator>

namespace kadrix {

Text Text::untranslated(QString text) {
    Text t;
    t.plain_ = std::move(text);
    return t;
}

QString Text::translated() const {
    if (!source_)
        return plain_;
    return substituted(QCoreApplication::translate(context_, source_), args_);
}

QString Text::in(const QTranslator* translator) const {
    if (!source_)
        return plain_;
    QString text = translator ? translator->translate(context_, source_) : QString();
    if (text.isEmpty())
        text = QString::fromUtf8(source_);
    return substituted(text, args_);
}

QString substituted(const QString& pattern, const QStringList& args) {
    QString text;
    text.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1].isDigit()) {
            qsizetype end = i + 1;
            int number = 0;
            while (end < pattern.size() && pattern[end].isDigit() && end < i + 3)
                number = number * 10 + pattern[end++].digitValue();
            if (number >= 1 && number <= args.size()) {
                text += args[number - 1];
                i = end - 1;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

} // namespace kadrix
