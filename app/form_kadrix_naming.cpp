// The source folder field, source paths, and the naming of result files with
// its live preview in the status bar.

#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dialog_service.h"
#include "dispatch.h"
#include "naming.h"
#include "result_writer.h"
#include "source_path.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace kadrix {
namespace {

// The result formats' pairs, then "*.*": item index + 1 picks the chosen format.
const QString DstDirFilter = resultFormatFilter() + QStringLiteral("|*.*|*.*");

// Writes a normalised text into a field the user may be typing in. setText()
// would put the cursor at the end, so typing "photos" into a field that gets
// a "/" appended after each key would give "p/h/o/t/o/s/"; the cursor keeps
// its place instead, shifted left by the characters trimmed off the front.
void writeKeepingCursor(QLineEdit* edit, const QString& text, int removedBefore) {
    if (edit->text() == text)
        return;
    const int cursor = std::max(0, edit->cursorPosition() - removedBefore);
    edit->setText(text); // fires the field's change event before returning
    edit->setCursorPosition(std::min(cursor, int(edit->text().size())));
}

// The chosen item of the editable extension box: the item its text names,
// typed as an extension of the item ("jpg", "*.png") or as the item itself.
// Any other text means no item is chosen: an empty text.
int chosenItem(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return itemNamedBy(items, box->currentText());
}

// Once the typing ends, a text that names an item selects it, so the box
// shows the item whose extension and format the results take.
void selectNamedItem(QComboBox* box) {
    const int item = chosenItem(box);
    if (item < 0 || box->currentText() == box->itemText(item))
        return;
    box->setCurrentIndex(item);
    box->setEditText(box->itemText(item));
}

} // namespace

void TFormKadrix::bindNamingHandlers() {
    connect(ui->EditSrcDir, &QLineEdit::textChanged, this, guarded([this] { EditSrcDirChange(); }));
    connect(ui->EditSrcDir, &QLineEdit::returnPressed, this,
            guarded([this] { EditSrcDirReturnPressed(); }));

    // Program writes fire these too, as the user's edits do: textChanged and
    // toggled rather than textEdited and clicked.
    for (QLineEdit* edit : {ui->EditDstDir, ui->EditPrefixe, ui->EditStart, ui->EditSuffixe,
                            ui->EditNum, ui->EditNom})
        connect(edit, &QLineEdit::textChanged, this,
                guarded([this, edit] { ComboBoxRenommerChange(edit); }));
    for (QCheckBox* box :
         {ui->CheckBoxPrefixe, ui->CheckBoxSuffixe, ui->CheckBoxCurrentName, ui->CheckBoxNum})
        connect(box, &QCheckBox::toggled, this,
                guarded([this, box] { ComboBoxRenommerChange(box); }));

    // The extension too: the preview always shows the name a save would write.
    QComboBox* extension = ui->ComboBoxDstExt;
    connect(extension, &QComboBox::currentTextChanged, this,
            guarded([this, extension] { ComboBoxRenommerChange(extension); }));
    connect(extension->lineEdit(), &QLineEdit::editingFinished, this,
            guarded([extension] { selectNamedItem(extension); }));

    connect(ui->SpeedButtonDefRename, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonDefRenameClick(); }));
    connect(ui->SpeedButtonDstDir, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonDstDirClick(); }));
    connect(ui->CheckBoxAutoDStDir, &QCheckBox::clicked, this,
            guarded([this] { CheckBoxAutoDStDirClick(); }));
}

void TFormKadrix::EditSrcDirChange() {
    QString text = ui->EditSrcDir->text();
    // An empty field stays empty: it stands for the current working directory.
    if (!text.isEmpty() && !text.endsWith(u'/')) {
        text += u'/';
        writeKeepingCursor(ui->EditSrcDir, text, 0); // runs this handler once more
    }
    if (ui->CheckBoxAutoDStDir->isChecked())
        ui->EditDstDir->setText(automaticDestination(text));
}

void TFormKadrix::EditSrcDirReturnPressed() {
    const QString folderText = ui->EditSrcDir->text();
    writeKeepingCursor(ui->EditSrcDir, normaliseFolder(folderText),
                       leadingControlCount(folderText));
    ListSourceFolder(QString());
}

QString TFormKadrix::SourcePath(int row) {
    const QString folderText = ui->EditSrcDir->text();
    // A listed row is read where it was listed, even after another folder is
    // typed into the field: the list shows that folder's files.
    const std::optional<SourceList::Listing>& listing = SourceList_->listing();
    const SourcePathParts parts =
        sourcePathOf(folderText, (*SourceList_)[row],
                     listing ? std::optional<QString>(listing->folder) : std::nullopt);
    writeKeepingCursor(ui->EditSrcDir, parts.folder, leadingControlCount(folderText));
    return parts.path;
}

QString TFormKadrix::BuildResultPath(int Row, bool WriteBack) {
    RenameScheme scheme;
    scheme.prefixOn = ui->CheckBoxPrefixe->isChecked();
    scheme.prefix = ui->EditPrefixe->text();
    scheme.nameOn = ui->CheckBoxCurrentName->isChecked();
    scheme.suffixOn = ui->CheckBoxSuffixe->isChecked();
    scheme.suffix = ui->EditSuffixe->text();
    scheme.numberOn = ui->CheckBoxNum->isChecked();
    scheme.digits = ui->EditNum->text();
    scheme.start = ui->EditStart->text();
    const int item = chosenItem(ui->ComboBoxDstExt);
    scheme.extensionItem = item >= 0 ? ui->ComboBoxDstExt->itemText(item) : QString();
    scheme.destination = ui->EditDstDir->text();

    std::optional<QString> entry;
    if (SourceList_ && !SourceList_->isEmpty())
        entry = (*SourceList_)[Row];
    const ResultName result = buildResultName(scheme, entry, Row, WriteBack);

    // Each write fires its field's preview. Naming a row other than 0 thus
    // leaves row 0's name in EditNom and row 0's path in the status bar,
    // while the path returned keeps this row's own name.
    if (result.currentName)
        ui->EditNom->setText(*result.currentName);
    if (result.correctedStart)
        ui->EditStart->setText(*result.correctedStart);
    if (result.correctedDigits)
        ui->EditNum->setText(*result.correctedDigits);
    writeKeepingCursor(ui->EditDstDir, result.destination, leadingControlCount(scheme.destination));
    return result.path;
}

void TFormKadrix::ComboBoxRenommerChange(QObject* Sender) {
    // A number being typed is not corrected under the user's fingers.
    const bool writeBack = Sender != ui->EditStart && Sender != ui->EditNum;
    ui->StatusBar1->setPanelText(3, BuildResultPath(0, writeBack));
}

void TFormKadrix::SpeedButtonDefRenameClick() {
    ui->CheckBoxPrefixe->setChecked(true);
    ui->EditPrefixe->setText(QStringLiteral("cropped_"));
    ui->CheckBoxCurrentName->setChecked(true);
    ui->EditNom->setText(QStringLiteral("???"));
    ui->CheckBoxSuffixe->setChecked(false);
    ui->EditSuffixe->setText(QStringLiteral("_"));
    ui->CheckBoxNum->setChecked(false);
    ui->EditNum->setText(QStringLiteral("4"));
    ui->EditStart->setText(QStringLiteral("1"));
}

void TFormKadrix::SpeedButtonDstDirClick() {
    OpenDialog1.Filter = DstDirFilter;
    OpenDialog1.FilterIndex = chosenItem(ui->ComboBoxDstExt) + 1;
    if (OpenDialog1.Execute())
        ui->EditDstDir->setText(folderPart(OpenDialog1.FileName));
}

void TFormKadrix::CheckBoxAutoDStDirClick() {
    if (ui->CheckBoxAutoDStDir->isChecked())
        ui->EditDstDir->setText(automaticDestination(ui->EditSrcDir->text()));
}

} // namespace kadrix
