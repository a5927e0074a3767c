// The image list: its data handlers, the popup menu with the mark operations,
// row removal and "Redimensionner Sélection ".
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dispatch.h"
#include "event_loop.h"
#include "image_list_model.h"

#include <QMenu>

namespace kadrix {

void TFormKadrix::bindListHandlers() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* name, const QString& caption,
                             void (TFormKadrix::*handler)()) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                guarded([this, handler] { (this->*handler)(); }));
    };
    const auto separator = [this](const char* name) {
        PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    item("VoirResultat", QStringLiteral("Voir Résultat.."), &TFormKadrix::VoirResultatClick);
    item("VoirSource", QStringLiteral("Voir Source..."), &TFormKadrix::VoirSourceClick);
    item("RedimensionnerSelection", QStringLiteral("Redimensionner Sélection "),
         &TFormKadrix::RedimensionnerSelectionClick);
    item("RetirerSelection", QStringLiteral("Retirer Sélection..."),
         &TFormKadrix::RetirerSelectionClick);
    separator("N3");
    item("ToutCocher1", QStringLiteral("Tout Cocher"), &TFormKadrix::ToutCocher1Click);
    item("InverserCocher1", QStringLiteral("Inverser Cocher"), &TFormKadrix::InverserCocher1Click);
    item("AnnulerCocher1", QStringLiteral("Annuler Cocher"), &TFormKadrix::AnnulerCocher1Click);
    item("RetirerSelectiondeCocher1", QStringLiteral("Retirer Sélectionés de Cocher"),
         &TFormKadrix::RetirerSelectiondeCocher1Click);
    item("CocherUniquementSelectionnes1", QStringLiteral("Cocher Uniquement Sélectionnés"),
         &TFormKadrix::CocherUniquementSelectionnes1Click);
    item("AjouterSelectionesaCocher1", QStringLiteral("Ajouter Sélectionés à Cocher"),
         &TFormKadrix::AjouterSelectionesaCocher1Click);
    separator("N1");
    item("ToutSelectionner", QStringLiteral("Tout Sélectionner"),
         &TFormKadrix::ToutSelectionnerClick);
    item("InverserSelection", QStringLiteral("Inverser la Sélection"),
         &TFormKadrix::InverserSelectionClick);
    item("AnnulerSelection", QStringLiteral("Annuler Sélection"),
         &TFormKadrix::AnnulerSelectionClick);
    item("RetirerCochesdeSelection", QStringLiteral("Retirer Cochés de la Sélection"),
         &TFormKadrix::RetirerCochesdeSelectionClick);
    item("SelectionnerUniquementCoches1", QStringLiteral("Sélectionner Uniquement Cochés"),
         &TFormKadrix::SelectionnerUniquementCoches1Click);
    item("AjouterCochesaSelection1", QStringLiteral("Ajouter Cochés à la Sélection"),
         &TFormKadrix::AjouterCochesaSelection1Click);
    separator("N2");

    ui->ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        PopupMenu1->popup(ui->ListBox1->viewport()->mapToGlobal(p));
    });
    ui->ListBox1->installEventFilter(this);
    ui->ListBox1->viewport()->installEventFilter(this);
}

QString TFormKadrix::ListBox1Data(int row) const {
    return row >= 0 && row < SourceList_->count() ? (*SourceList_)[row] : QString();
}

int TFormKadrix::ListBox1DataFind(const QString& text) const {
    return std::max(0, SourceList_->indexOf(text));
}

std::optional<qint64> TFormKadrix::ListBox1DataObject(int row) const {
    if (row < 0 || row >= SourceList_->count())
        return std::nullopt;
    return SourceList_->entry(row).fileSize;
}

RowStep TFormKadrix::nextRowStep(const SourceListWatch& watch) {
    processPendingMessages();
    if (watch.changed())
        return RowStep::Abandon;
    return StopRequested ? RowStep::Stop : RowStep::Go;
}

void TFormKadrix::runMarkOperation(MarkOperation op) {
    StopRequested = false;
    RedrawSuspension suspended(ui->ListBox1);
    const SourceListWatch watch(*SourceList_);
    ui->ListBox1->applyMarks(op, [&] { return nextRowStep(watch); });
}

void TFormKadrix::ToutCocher1Click() {
    runMarkOperation(MarkOperation::CheckAll);
}
void TFormKadrix::InverserCocher1Click() {
    runMarkOperation(MarkOperation::InvertChecks);
}
void TFormKadrix::AnnulerCocher1Click() {
    runMarkOperation(MarkOperation::UncheckAll);
}
void TFormKadrix::RetirerSelectiondeCocher1Click() {
    runMarkOperation(MarkOperation::UncheckSelected);
}
void TFormKadrix::CocherUniquementSelectionnes1Click() {
    runMarkOperation(MarkOperation::CheckOnlySelected);
}
void TFormKadrix::AjouterSelectionesaCocher1Click() {
    runMarkOperation(MarkOperation::CheckSelected);
}
void TFormKadrix::ToutSelectionnerClick() {
    runMarkOperation(MarkOperation::SelectAll);
}
void TFormKadrix::InverserSelectionClick() {
    runMarkOperation(MarkOperation::InvertSelection);
}
void TFormKadrix::AnnulerSelectionClick() {
    runMarkOperation(MarkOperation::DeselectAll);
}
void TFormKadrix::RetirerCochesdeSelectionClick() {
    runMarkOperation(MarkOperation::DeselectChecked);
}
void TFormKadrix::SelectionnerUniquementCoches1Click() {
    runMarkOperation(MarkOperation::SelectOnlyChecked);
}
void TFormKadrix::AjouterCochesaSelection1Click() {
    runMarkOperation(MarkOperation::SelectChecked);
}

void TFormKadrix::RetirerSelectionClick() {
    ImageListView& list = *ui->ListBox1;
    if (list.count() == 0)
        return;
    StopRequested = false;
    RedrawSuspension suspended(&list);
    SourceListWatch watch(*SourceList_);
    // Removing rows through the model keeps every remaining row's check mark
    // and selection with its file. Runs of selected rows go in one step.
    const auto removeRun = [&](int first, int last) {
        for (int row = last; row >= first; --row)
            SourceList_->removeAt(row);
        list.listModel()->removeRowRange(first, last);
        watch.acceptOwnChange();
    };
    if (list.selectedCount() > 0) {
        const std::vector<char> selected = list.selectionFlags();
        int runStart = -1, runEnd = -1; // visited selected rows not yet removed
        const auto flush = [&] {
            if (runEnd >= 0)
                removeRun(runStart, runEnd);
            runStart = runEnd = -1;
        };
        for (int row = std::min(SourceList_->count(), int(selected.size())) - 1; row >= 0; --row) {
            const RowStep step = nextRowStep(watch);
            if (step == RowStep::Abandon)
                return; // the rows gathered belong to the old list
            if (step == RowStep::Stop)
                break;
            if (selected[size_t(row)]) {
                if (runEnd < 0)
                    runEnd = row;
                runStart = row;
            } else {
                flush();
            }
        }
        flush();
    } else if (list.currentRow() >= 0) {
        removeRun(list.currentRow(), list.currentRow());
    }
    if (list.count() != SourceList_->count())
        list.setCount(SourceList_->count());
}

void TFormKadrix::RedimensionnerSelectionClick() {
    ImageListView& list = *ui->ListBox1;
    if (list.count() == 0)
        return;
    StopRequested = false;
    RedrawSuspension suspended(&list);
    const SourceListWatch watch(*SourceList_);
    if (list.selectedCount() > 0) {
        for (int row = 0; row < SourceList_->count(); ++row) {
            if (nextRowStep(watch) != RowStep::Go)
                break;
            if (list.isChecked(row))
                ProcessRows(*this, row, row, ui->CheckBoxPasaPas->isChecked(), true);
        }
    } else if (list.currentRow() >= 0) {
        ProcessRows(*this, list.currentRow(), list.currentRow(), false, true);
    }
}

} // namespace kadrix
