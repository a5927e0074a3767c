#include "qt_dialog_service.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kadrix {
namespace {

QWidget* activeParent() {
    return QApplication::activeWindow();
}

class QtDialogService final : public DialogService {
public:
    Answer messageBox(const QString& text, const QString& caption, Buttons buttons) override {
        QMessageBox box(activeParent());
        box.setWindowTitle(caption);
        box.setText(text);
        switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    void errorBox(const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, activeParent());
        box.exec();
    }

    std::optional<OpenChoice> openPicture(const QString& filter, int filterIndex) override {
        QFileDialog dialog(activeParent());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDirectory(QDir::currentPath());
        const QStringList filters = toQtNameFilters(filter);
        dialog.setNameFilters(filters);
        if (filterIndex >= 1 && filterIndex <= filters.size())
            dialog.selectNameFilter(filters[filterIndex - 1]);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const int chosen = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return OpenChoice{dialog.selectedFiles().first(), chosen > 0 ? chosen : filterIndex};
    }

    std::optional<Colour> chooseColour(Colour initial) override {
        const QColor c = QColorDialog::getColor(toQColor(initial), activeParent());
        if (!c.isValid())
            return std::nullopt;
        return fromQColor(c);
    }

    void showModal(QDialog& dialog) override { dialog.exec(); }
};

} // namespace

std::unique_ptr<DialogService> makeQtDialogService() {
    return std::make_unique<QtDialogService>();
}

} // namespace kadrix
