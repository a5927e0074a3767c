#include "main_window_fixture.h"
#include "window_driver.h"

#include "image_control.h"
#include "image_list_model.h"
#include "image_list_view.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <set>

namespace kadrix::test {
namespace {

class ListAndViewer : public MainWindowTest {
protected:
    QTemporaryDir dir;
    ImageListView* list = nullptr;

    void SetUp() override {
        list = control<ImageListView>("ListBox1");
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
    }

    // Rows of BMP files in the temporary folder, as a scan would list them.
    void makeRows(int n, QSize size = QSize(8, 6)) {
        control<QLineEdit>("EditSrcDir")->setText(dir.path() + QLatin1Char('/'));
        window().sourceList().clear();
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("img%1.bmp").arg(i);
            ASSERT_TRUE(writePicture(dir.filePath(name), size.width(), size.height()));
            window().sourceList().append(name, 100 + i);
        }
        list->setCount(n);
    }
    void mark(std::set<int> checked, std::set<int> selected) {
        for (int i = 0; i < list->count(); ++i) {
            list->setChecked(i, checked.count(i));
            list->setSelected(i, selected.count(i));
        }
    }
};

TEST_F(ListAndViewer, PopupMenuHoldsEveryItemInOrder) {
    auto* menu = window().findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions,
              (QStringList{"Voir Résultat..", "Voir Source...", "Redimensionner Sélection ",
                           "Retirer Sélection...", "-", "Tout Cocher", "Inverser Cocher",
                           "Annuler Cocher", "Retirer Sélectionés de Cocher",
                           "Cocher Uniquement Sélectionnés", "Ajouter Sélectionés à Cocher", "-",
                           "Tout Sélectionner", "Inverser la Sélection", "Annuler Sélection",
                           "Retirer Cochés de la Sélection", "Sélectionner Uniquement Cochés",
                           "Ajouter Cochés à la Sélection", "-"}));
}

TEST_F(ListAndViewer, EachMarkOperationGivesItsSetEquation) {
    makeRows(6);
    const std::set<int> C{0, 1, 3}, S{1, 2, 4}, all{0, 1, 2, 3, 4, 5};
    const struct {
        const char* action;
        std::set<int> checked, selected;
    } cases[] = {
        {"ToutCocher1", all, S},
        {"InverserCocher1", {2, 4, 5}, S},
        {"AnnulerCocher1", {}, S},
        {"RetirerSelectiondeCocher1", {0, 3}, S},
        {"CocherUniquementSelectionnes1", S, S},
        {"AjouterSelectionesaCocher1", {0, 1, 2, 3, 4}, S},
        {"ToutSelectionner", C, all},
        {"InverserSelection", C, {0, 3, 5}},
        {"AnnulerSelection", C, {}},
        {"RetirerCochesdeSelection", C, {2, 4}},
        {"SelectionnerUniquementCoches1", C, C},
        {"AjouterCochesaSelection1", C, {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        mark(C, S);
        list->setCurrentRow(5);
        trigger(c.action);
        EXPECT_EQ(checkedRows(), c.checked) << c.action;
        EXPECT_EQ(selectedRows(), c.selected) << c.action;
        EXPECT_EQ(list->currentRow(), 5) << c.action;
    }
}

TEST_F(ListAndViewer, InvertingTwiceRestoresAndOnlyOperationsOnEmptySetsClear) {
    makeRows(5);
    mark({1, 2}, {0, 4});
    for (const char* a : {"InverserCocher1", "InverserCocher1", "InverserSelection", "InverserSelection"})
        trigger(a);
    EXPECT_EQ(checkedRows(), (std::set<int>{1, 2}));
    EXPECT_EQ(selectedRows(), (std::set<int>{0, 4}));

    mark({1, 2}, {});
    trigger("CocherUniquementSelectionnes1");
    EXPECT_TRUE(checkedRows().empty());
    mark({}, {3});
    trigger("SelectionnerUniquementCoches1");
    EXPECT_TRUE(selectedRows().empty());
}

TEST_F(ListAndViewer, StopDuringAMarkLoopKeepsTheLaterRowsAsTheyWere) {
    makeRows(6);
    EveryPass pass([&](int n) {
        if (n == 3)
            control<QToolButton>("SpeedButtonStop")->click();
    });
    trigger("ToutCocher1");
    const std::set<int> done = checkedRows();
    EXPECT_FALSE(done.empty());
    EXPECT_LT(done.size(), 6u);
    EXPECT_EQ(*done.rbegin(), int(done.size()) - 1) << "earlier rows changed, later ones not";
}

TEST_F(ListAndViewer, RemovingSelectedRowsKeepsTheOthersWithTheirMarks) {
    makeRows(5);
    mark({2, 3}, {1, 3});
    trigger("RetirerSelection");
    EXPECT_EQ(entries(), (QStringList{"img0.bmp", "img2.bmp", "img4.bmp"}));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(checkedRows(), (std::set<int>{1})) << "img2's mark follows it";
    EXPECT_TRUE(selectedRows().empty());

    list->setCurrentRow(1);
    trigger("RetirerSelection"); // nothing selected: the current row goes
    EXPECT_EQ(entries(), (QStringList{"img0.bmp", "img4.bmp"}));

    makeRows(0);
    trigger("RetirerSelection");
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ListAndViewer, AnEmptyListShowsNothingAndKeepsTheCaption) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    QTest::keyClick(list, Qt::Key_Down);
    control<QRadioButton>("RadioResult")->setChecked(true);
    trigger("VoirSource");
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix"));
    EXPECT_TRUE(control<QRadioButton>("RadioSource")->isChecked()) << "the mode still switches";
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(ListAndViewer, ArrowsShowTheRowTheyMoveToAndOtherKeysDoNothing) {
    makeRows(6);
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dir.filePath("img4.bmp"));
    EXPECT_EQ(list->currentRow(), 4);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dir.filePath("img5.bmp"));
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_A})
        QTest::keyClick(list, key);
    EXPECT_EQ(list->currentRow(), 5);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dir.filePath("img5.bmp"));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(list->isChecked(5));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(list->isChecked(5));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(ListAndViewer, ClicksShowTheRowUnderThePointerOnly) {
    makeRows(3);
    window().show();
    const QRect row1 = list->visualRect(list->listModel()->index(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row1.center());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dir.filePath("img1.bmp"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 2));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dir.filePath("img1.bmp"));
    window().hide();
}

// Whether the bar draws its thumb, the darker part of its track, at a fraction of its length.
bool thumbDrawnAt(QScrollBar* bar, double along) {
    const QImage image = bar->grab().toImage();
    const bool across = bar->orientation() == Qt::Horizontal;
    const QColor c = image.pixel(int(image.width() * (across ? along : 0.5)),
                                 int(image.height() * (across ? 0.5 : along)));
    return c.lightness() < bar->palette().color(QPalette::Button).lightness() - 40;
}

TEST_F(ListAndViewer, SourceAndStretchedViewsSizeTheImage) {
    control<QLineEdit>("EditSrcDir")->setText(dir.path() + QLatin1Char('/'));
    ASSERT_TRUE(writePicture(dir.filePath("small.bmp"), 100, 50));
    ASSERT_TRUE(writePicture(dir.filePath("large.png"), 2000, 1500));
    window().sourceList().append(QStringLiteral("small.bmp"));
    window().sourceList().append(QStringLiteral("large.png"));
    list->setCount(2);
    window().show();
    auto* image = control<ImageControl>("Image1");
    auto* scroll = control<QScrollArea>("ScrollBox1");
    ASSERT_EQ(scroll->size(), QSize(656, 517));

    list->setCurrentRow(0);
    control<QRadioButton>("RadioModedSource")->setChecked(true);
    EXPECT_EQ(image->geometry(), QRect(3, 3, 649, 510));
    EXPECT_TRUE(image->stretch());

    list->setCurrentRow(1);
    control<QRadioButton>("RadioSource")->setChecked(true);
    EXPECT_EQ(image->geometry(), QRect(3, 3, 2000, 1500));
    EXPECT_FALSE(image->stretch());
    QApplication::processEvents();
    for (QScrollBar* bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()}) {
        const bool across = bar->orientation() == Qt::Horizontal;
        const QSize shown = scroll->viewport()->size();
        EXPECT_EQ(bar->maximum(), across ? 2003 - shown.width() : 1503 - shown.height());
        bar->triggerAction(QAbstractSlider::SliderToMaximum); // the far end of the picture
        EXPECT_EQ(across ? scroll->widget()->x() : scroll->widget()->y(), -bar->maximum());
        EXPECT_TRUE(!thumbDrawnAt(bar, 0.1) && thumbDrawnAt(bar, 0.9));
    }
    window().hide();
}

TEST_F(ListAndViewer, ResultViewComposesWithoutWritingButCreatesTheFolder) {
    makeRows(2);
    const QString destination = dir.filePath("not/yet");
    control<QLineEdit>("EditDstDir")->setText(destination);
    list->setCurrentRow(1);
    control<QRadioButton>("RadioResult")->setChecked(true);
    const QString title = window().windowTitle();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Kadrix - ") + destination));
    EXPECT_TRUE(title.endsWith(QStringLiteral("img1.BMP")));
    EXPECT_TRUE(QFileInfo(destination).isDir());
    EXPECT_TRUE(QDir(destination).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(control<ImageControl>("Image1")->size(), QSize(640, 480));
}

class Walks : public ListAndViewer {
protected:
    void SetUp() override {
        ListAndViewer::SetUp();
        makeRows(6);
        mark({1, 4}, {2, 3});
        list->setCurrentRow(3);
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(true);
        dialogs->onMessageBox = [this](const ScriptedDialogs::Box&) { titles << window().windowTitle(); };
    }
    QStringList titles;
};

TEST_F(Walks, VoirSourcePromptsAfterEveryRowAndShowsTheCheckedOnes) {
    trigger("VoirSource");
    ASSERT_EQ(dialogs->boxes.size(), 6u);
    EXPECT_EQ(dialogs->boxes[0].text, QStringLiteral("Suivant"));
    const QString four = QStringLiteral("Kadrix - ") + dir.filePath("img4.bmp");
    const QString one = QStringLiteral("Kadrix - ") + dir.filePath("img1.bmp");
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Kadrix"), four, four, four, one, one}));
}

TEST_F(Walks, VoirResultatShowsTheCheckedResultsWithOnePromptEach) {
    LabelRecorder counts(control<QLabel>("LabelTraitee"));
    trigger("VoirResultat");
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    EXPECT_EQ(dialogs->boxes[1].caption, QStringLiteral("Pas à Pas"));
    // Switching to the "Result" view first shows the current row (3).
    EXPECT_EQ(counts.texts, (QStringList{"Nombre d'Images Redimensionnées: 0",
                                         "Nombre d'Images Redimensionnées: 4",
                                         "Nombre d'Images Redimensionnées: 0",
                                         "Nombre d'Images Redimensionnées: 5",
                                         "Nombre d'Images Redimensionnées: 0",
                                         "Nombre d'Images Redimensionnées: 2"}));
}

TEST_F(Walks, RedimensionnerSelectionProcessesTheCheckedRowsOrTheFocusedOne) {
    const QString out = dir.filePath("out");
    control<QLineEdit>("EditDstDir")->setText(out);
    dialogs->defaultAnswer = Answer::Yes;
    LabelRecorder counts(control<QLabel>("LabelTraitee"));
    trigger("RedimensionnerSelection");
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{"cropped_img1.BMP", "cropped_img4.BMP"}));
    EXPECT_EQ(counts.texts, (QStringList{"Nombre d'Images Redimensionnées: 0",
                                         "Nombre d'Images Redimensionnées: 2",
                                         "Nombre d'Images Redimensionnées: 0",
                                         "Nombre d'Images Redimensionnées: 5"}));
    EXPECT_EQ(dialogs->boxes.size(), 2u) << "one save prompt per checked row";

    dialogs->boxes.clear();
    mark({}, {});
    list->setCurrentRow(2);
    trigger("RedimensionnerSelection");
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/cropped_img2.BMP")));
    EXPECT_TRUE(dialogs->boxes.empty()) << "the focused row alone goes without a prompt";
}

} // namespace
} // namespace kadrix::test
