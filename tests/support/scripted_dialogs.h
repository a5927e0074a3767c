#pragma once

#include "dialog_service.h"
#include "qt_printers.h"

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace kadrix::test {

// A dialog service that answers from queues and records what was asked.
// With no queued answer a message box gets `defaultAnswer` and the other
// dialogs are cancelled, so a test never blocks on a real window.
class ScriptedDialogs final : public DialogService {
public:
    struct Box {
        QString text;
        QString caption;
        Buttons buttons;
    };

    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Ok;
    // Called with each message box before it is answered (to press Stop, say).
    std::function<void(const Box&)> onMessageBox;
    std::vector<Box> boxes;
    std::vector<QString> errors;

    std::deque<std::optional<OpenChoice>> openChoices;
    std::vector<std::pair<QString, int>> openRequests; // filter, index

    std::deque<std::optional<Colour>> colours;
    std::vector<Colour> colourRequests;

    int modalShown = 0;
    // Called with each modal form while it is shown (to press its buttons).
    std::function<void(QDialog&)> onModal;

    Answer messageBox(const QString& text, const QString& caption, Buttons buttons) override;
    void errorBox(const QString& text) override;
    std::optional<OpenChoice> openPicture(const QString& filter, int filterIndex) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    void showModal(QDialog& dialog) override;
};

// Installs a fresh ScriptedDialogs for its lifetime and restores the
// previous service afterwards.
class ScriptedDialogsScope {
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogs& operator*() { return *dialogs_; }
    ScriptedDialogs* operator->() { return dialogs_; }

private:
    ScriptedDialogs* dialogs_; // owned by the dialog service slot
    std::unique_ptr<DialogService> previous_;
};

} // namespace kadrix::test
