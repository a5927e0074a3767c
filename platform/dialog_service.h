#pragma once

#include "colour.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;
class QDialog;

namespace kadrix {

enum class Buttons { Ok, OkCancel, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct OpenChoice {
    QString path;    // the chosen file
    int filterIndex; // the filter in force, counted from 1
};

// Every modal dialog the program shows goes through this service, so that
// tests can answer them. The application object installs Qt's dialogs
// (qt_dialog_service.h); until then every question is answered Cancel.
class DialogService {
public:
    virtual ~DialogService() = default;

    // A modal message box with a text, a caption and a button set.
    virtual Answer messageBox(const QString& text, const QString& caption, Buttons buttons) = 0;
    // The application's default error box: the error's text and OK.
    virtual void errorBox(const QString& text) = 0;
    // The open-picture dialog. `filter` is in the "desc|mask|desc|mask" form,
    // `filterIndex` counts from 1; it opens in the current working directory.
    virtual std::optional<OpenChoice> openPicture(const QString& filter, int filterIndex) = 0;
    // The colour dialog, starting from `initial`; nothing on Cancel.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;
    // Shows a form modally and returns when it closes.
    virtual void showModal(QDialog& dialog) = 0;
};

DialogService& dialogs();

// Replaces the service and returns the previous one (tests restore it).
std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service);

// Translates a "desc|mask|desc|mask" filter into Qt name filters: Qt separates
// the patterns of one filter by blanks, not ";", and takes them from the last
// parentheses, so "Tous (*.bmp;*.ico)|*.bmp;*.ico" becomes "Tous (*.bmp *.ico)".
QStringList toQtNameFilters(const QString& filter);

} // namespace kadrix
