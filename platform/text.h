#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

namespace kadrix {

// A message in the program's own words: its source text, the context its
// translations are filed under, and the values of its %1, %2... The shared
// code writes its texts in French (the window shows them so); kadrix-batch
// loads translations and shows them in the user's language. Mark the source
// with QT_TRANSLATE_NOOP(context, text) so that Qt's tools collect it.
class Text {
public:
    Text() = default;
    Text(const char* context, const char* source, QStringList args = {})
        : context_(context), source_(source), args_(std::move(args)) {}
    // A text with no translation (a system's or a library's own words).
    static Text untranslated(QString text);

    // By the translations the application has installed (none in the
    // window: the source text).
    QString translated() const;
    // By one set of translations (the source text where it has none, or
    // with none).
    QString in(const QTranslator* translator) const;
    bool isEmpty() const { return !source_ && plain_.isEmpty(); }

private:
    const char* context_ = nullptr;
    const char* source_ = nullptr;
    QStringList args_;
    QString plain_;
};

// `pattern` with %1..%99 replaced by args[0..] in one pass, so that a "%" in
// a value (a file name) is never taken for a marker.
QString substituted(const QString& pattern, const QStringList& args);

} // namespace kadrix
