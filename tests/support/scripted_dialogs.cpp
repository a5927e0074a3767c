#include "scripted_dialogs.h"

#include <QDialog>

namespace kadrix::test {

Answer ScriptedDialogs::messageBox(const QString& text, const QString& caption, Buttons buttons) {
    boxes.push_back({text, caption, buttons});
    if (onMessageBox)
        onMessageBox(boxes.back());
    if (answers.empty())
        return defaultAnswer;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedDialogs::errorBox(const QString& text) { errors.push_back(text); }

std::optional<OpenChoice> ScriptedDialogs::openPicture(const QString& filter, int filterIndex) {
    openRequests.emplace_back(filter, filterIndex);
    if (openChoices.empty())
        return std::nullopt;
    std::optional<OpenChoice> choice;
    choice.swap(openChoices.front());
    openChoices.pop_front();
    return choice;
}

std::optional<Colour> ScriptedDialogs::chooseColour(Colour initial) {
    colourRequests.push_back(initial);
    if (colours.empty())
        return std::nullopt;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

void ScriptedDialogs::showModal(QDialog& dialog) {
    ++modalShown;
    dialog.show();
    if (onModal)
        onModal(dialog);
    dialog.hide();
}

ScriptedDialogsScope::ScriptedDialogsScope() {
    auto owned = std::make_unique<ScriptedDialogs>();
    dialogs_ = owned.get();
    previous_ = setDialogService(std::move(owned));
}

ScriptedDialogsScope::~ScriptedDialogsScope() { setDialogService(std::move(previous_)); }

} // namespace kadrix::test
