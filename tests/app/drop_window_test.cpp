#include "drop_driver.h"
#include "main_window_fixture.h"
#include "window_driver.h"
#include "working_directory_guard.h"

#include "filedrag.h"
#include "image_list_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <set>

namespace kadrix::test {
namespace {

class FileDrop : public MainWindowTest {
protected:
    WorkingDirectoryGuard cwd;
    QTemporaryDir dir;
    ImageListView* list = nullptr;

    void SetUp() override { list = control<ImageListView>("ListBox1"); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList pictures(std::initializer_list<const char*> names) {
        QStringList paths;
        for (const char* name : names) {
            paths << path(QLatin1String(name));
            EXPECT_TRUE(writePicture(paths.last(), 6, 4));
        }
        return paths;
    }
};

TEST_F(FileDrop, FilesOfOneFolderGiveRowsInDropOrderWhereverTheyAreDropped) {
    const QStringList paths = pictures({"c.bmp", "a.bmp", "b.bmp"});
    QWidget* targets[] = {&window(), control<QLineEdit>("EditPrefixe"),
                          control<QLineEdit>("EditSrcDir"), list->viewport()};
    for (QWidget* target : targets) {
        SCOPED_TRACE(target->objectName().toStdString());
        window().sourceList().clear();
        list->setCount(0);
        control<QLineEdit>("EditSrcDir")->setText(QStringLiteral("/before/"));
        const DragOutcome outcome = dropFiles(target, paths);
        EXPECT_TRUE(outcome.entered);
        EXPECT_TRUE(outcome.dropped);
        EXPECT_EQ(entries(), QStringList({QStringLiteral("c.bmp"), QStringLiteral("a.bmp"),
                                          QStringLiteral("b.bmp")}));
        EXPECT_EQ(window().fileDrag().FileCount(), 3);
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), dir.path() + u'/');
        EXPECT_TRUE(control<QLineEdit>("EditDstDir")
                        ->text()
                        .startsWith(dir.path() + QStringLiteral("/cropped")));
        EXPECT_EQ(control<QLabel>("LabelCount")->text(),
                  QStringLiteral("Nombre d'Images Trouvées: 3"));
        EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + paths[0]);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(selectedRows(), std::set<int>{0});
        EXPECT_EQ(control<QLineEdit>("EditPrefixe")->text(), QStringLiteral("cropped_"));
        EXPECT_TRUE(list->updatesEnabled());
    }
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(FileDrop, ItemsThatAreNoPicturesAreListedAndFailWhenShown) {
    const QString text = path(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("hello");
    f.close();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("folder")));
    dropFiles(&window(), {text, path(QStringLiteral("folder"))});
    const QStringList expected{QStringLiteral("notes.txt"), QStringLiteral("folder")};
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(control<QLabel>("LabelCount")->text(), QStringLiteral("Nombre d'Images Trouvées: 2"));
    EXPECT_EQ(dialogs->errors.size(), 1u); // showing row 0
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(list->updatesEnabled());
    EXPECT_FALSE(dispatch([&] { window().ShowRow(1, window().viewMode()); }));
    EXPECT_EQ(entries(), expected);
}

TEST_F(FileDrop, SameNamesFromTwoFoldersStandForTheFirstFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("one")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("two")));
    const QStringList paths = pictures({"one/p.bmp", "two/p.bmp"});
    dropFiles(&window(), paths);
    EXPECT_EQ(entries(), QStringList({QStringLiteral("p.bmp"), QStringLiteral("p.bmp")}));
    EXPECT_EQ(window().SourcePath(1), path(QStringLiteral("one/p.bmp")));
}

TEST_F(FileDrop, ADropLeavesTheSizesTheWorkingDirectoryAndAManualDestinationAlone) {
    // A scan of one folder first.
    ASSERT_TRUE(writePicture(path(QStringLiteral("scanned.bmp")), 7, 5));
    dialogs->openChoices.push_back(OpenChoice{path(QStringLiteral("scanned.bmp")), 1});
    control<QToolButton>("SpeedButtonSrcDir")->click();
    ASSERT_EQ(QDir::currentPath(), dir.path());
    const QString minText = control<QLabel>("LabelMinSize")->text();
    const QString maxText = control<QLabel>("LabelMaxSize")->text();
    ASSERT_EQ(minText, QStringLiteral("Taille mini: 7 * 5"));

    // Then a drop from another folder, with "Auto" off.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other")));
    const QStringList dropped = pictures({"other/d1.bmp", "other/d2.bmp"});
    control<QCheckBox>("CheckBoxAutoDStDir")->setChecked(false);
    control<QLineEdit>("EditDstDir")->setText(QStringLiteral("/my/results"));
    const QString destination = control<QLineEdit>("EditDstDir")->text();
    dropFiles(&window(), dropped);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), path(QStringLiteral("other/")));
    EXPECT_EQ(control<QLineEdit>("EditDstDir")->text(), destination);
    EXPECT_EQ(control<QLabel>("LabelMinSize")->text(), minText);
    EXPECT_EQ(control<QLabel>("LabelMaxSize")->text(), maxText);
    EXPECT_EQ(QDir::currentPath(), dir.path());

    // The list button still rescans the scanned folder.
    control<QToolButton>("SpeedButtonList")->click();
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), dir.path() + u'/');
    EXPECT_EQ(entries(), QStringList{QStringLiteral("scanned.bmp")});
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(FileDrop, ADropDuringAScanWins) {
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(writePicture(path(QStringLiteral("scan%1.bmp").arg(i)), 5, 5));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other")));
    const QStringList dropped = pictures({"other/d1.bmp", "other/d2.bmp"});
    QDir::setCurrent(dir.path());
    EveryPass dropMidway([&](int pass) {
        if (pass == 5)
            dropFiles(&window(), dropped);
    });
    control<QToolButton>("SpeedButtonList")->click();
    EXPECT_EQ(entries(), QStringList({QStringLiteral("d1.bmp"), QStringLiteral("d2.bmp")}));
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(control<QLabel>("LabelCount")->text(), QStringLiteral("Nombre d'Images Trouvées: 2"));
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), path(QStringLiteral("other/")));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + dropped[0]);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(FileDrop, ADropClearsAStopLeftFromBefore) {
    const QStringList paths = pictures({"s.bmp"});
    control<QToolButton>("SpeedButtonStop")->click();
    ASSERT_TRUE(window().stopRequested());
    dropFiles(&window(), paths);
    EXPECT_FALSE(window().stopRequested());
}

} // namespace
} // namespace kadrix::test
