// Commands run inside another command's loop (a drop, a scan, a removal, a
// click): the loop ends at its next check once the list changed under it,
// and nothing worked out from the old rows reaches the new ones.
#include "drop_driver.h"
#include "main_window_fixture.h"
#include "window_driver.h"
#include "working_directory_guard.h"

#include "image_list_view.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace kadrix::test {
namespace {

class Reentry : public FolderWindowTest {
protected:
    WorkingDirectoryGuard cwd;
    ImageListView* list = nullptr;
    QStringList dropped; // one picture in a folder of its own

    void SetUp() override {
        FolderWindowTest::SetUp();
        list = control<ImageListView>("ListBox1");
        control<QCheckBox>("CheckBoxPasaPas")->setChecked(false);
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other")));
        dropped << dir.filePath(QStringLiteral("other/d.bmp"));
        ASSERT_TRUE(writePicture(dropped[0], 6, 4));
    }
    void makeRows(int n) {
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("img%1.bmp").arg(i);
            ASSERT_TRUE(writePicture(dir.filePath(name), 10 + i, 8));
            window().sourceList().append(name, 100 + i);
        }
        list->setCount(n);
    }
    void expectTheDropStands() {
        EXPECT_EQ(entries(), QStringList{QStringLiteral("d.bmp")});
        EXPECT_EQ(list->count(), 1);
        EXPECT_EQ(selectedRows(), std::set<int>{0});
        EXPECT_TRUE(dialogs->errors.empty()) << dialogs->errors.front().toStdString();
    }
};

TEST_F(Reentry, ARemovalInterruptedByADropLeavesTheDroppedList) {
    makeRows(5);
    list->setSelected(3, true);
    list->setSelected(4, true);
    EveryPass dropMidway([&](int pass) {
        if (pass == 2)
            dropFiles(&window(), dropped);
    });
    trigger("RetirerSelection");
    expectTheDropStands();
}

TEST_F(Reentry, AMarkOperationInterruptedByADropWritesNoOldMarks) {
    for (const char* action : {"ToutSelectionner", "InverserSelection", "ToutCocher1"}) {
        SCOPED_TRACE(action);
        window().sourceList().clear();
        makeRows(5);
        EveryPass dropMidway([&](int pass) {
            if (pass == 2)
                dropFiles(&window(), dropped);
        });
        trigger(action);
        expectTheDropStands();
        EXPECT_TRUE(checkedRows().empty());
    }
}

TEST_F(Reentry, WhileAScanRunsTheOldRowsAreGoneForRemovalsAndClicks) {
    makeRows(10); // the scan lists these ten files again
    window().show();
    QDir::setCurrent(dir.path());
    const std::function<void()> commands[] = {
        [&] {
            list->setCurrentRow(0);
            trigger("RetirerSelection");
        },
        [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 40)); },
    };
    for (const auto& command : commands) {
        EveryPass midway([&](int pass) {
            if (pass == 3)
                command();
        });
        control<QToolButton>("SpeedButtonList")->click();
        EXPECT_EQ(window().sourceList().count(), 10);
        EXPECT_EQ(list->count(), 10);
        EXPECT_EQ(control<QLabel>("LabelCount")->text(),
                  QStringLiteral("Nombre d'Images Trouvées: 10"));
        EXPECT_EQ(control<QLabel>("LabelMinSize")->text(), QStringLiteral("Taille mini: 10 * 8"));
        EXPECT_EQ(control<QLabel>("LabelMaxSize")->text(), QStringLiteral("Taille Maxi: 19 * 8"));
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_TRUE(dialogs->errors.empty()) << dialogs->errors.front().toStdString();
    }
    window().hide();
}

TEST_F(Reentry, ARunWhoseRowsAreRemovedUnderItEndsBeforeTheNextRow) {
    makeRows(5);
    for (int row : {2, 3, 4})
        list->setSelected(row, true);
    bool removed = false;
    EveryPass midway([&](int) {
        if (!removed && control<QLabel>("LabelTraitee")->text().endsWith(QLatin1String(": 1"))) {
            removed = true;
            trigger("RetirerSelection");
        }
    });
    control<QToolButton>("SpeedButtonRedim")->click();
    EXPECT_TRUE(removed);
    EXPECT_EQ(entries(), (QStringList{"img0.bmp", "img1.bmp"}));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("cropped_img0.BMP")});
    EXPECT_TRUE(dialogs->errors.empty()) << dialogs->errors.front().toStdString();
}

} // namespace
} // namespace kadrix::test
