#pragma once

#include "text.h"

#include <QString>

#include <exception>

namespace kadrix {

// Base of every error the program reports to the user. The text is shown as it
// stands in the default error box.
class Error : public std::exception {
public:
    explicit Error(QString message)
        : message_(std::move(message)), utf8_(message_.toUtf8()),
          text_(Text::untranslated(message_)) {}
    // The text translated as the application's translations say (the window
    // loads none and shows the source).
    explicit Error(Text text)
        : message_(text.translated()), utf8_(message_.toUtf8()), text_(std::move(text)) {}
    const QString& message() const noexcept { return message_; }
    // The message, to render in another language.
    const Text& text() const noexcept { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
    Text text_;
};

// Ends the running handler, and any run it started, without a message.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

// A picture that cannot be read or turned into a bitmap.
class EInvalidGraphic : public Error {
public:
    using Error::Error;
};

// An operation a picture type does not support (resizing a JPEG picture).
class EInvalidGraphicOperation : public Error {
public:
    using Error::Error;
};

} // namespace kadrix
