#include "main_window_fixture.h"
#include "window_driver.h"
#include "working_directory_guard.h"

#include "image_list_view.h"
#include "picture_registry.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <set>

namespace kadrix::test {
namespace {

const QString NoneFound = QStringLiteral("Nombre d'Images Trouvées: 0");
const QString NoMin = QStringLiteral("Taille mini: 0 * 0");
const QString NoMax = QStringLiteral("Taille Maxi: 0 * 0");

QString found(int n) {
    return QStringLiteral("Nombre d'Images Trouvées: %1").arg(n);
}

class FolderScan : public MainWindowTest {
protected:
    WorkingDirectoryGuard cwd;
    QTemporaryDir dir;
    ImageListView* list = nullptr;
    QLabel* count = nullptr;
    QLabel* minSize = nullptr;
    QLabel* maxSize = nullptr;

    void SetUp() override {
        list = control<ImageListView>("ListBox1");
        count = control<QLabel>("LabelCount");
        minSize = control<QLabel>("LabelMinSize");
        maxSize = control<QLabel>("LabelMaxSize");
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    static bool junk(const QString& path, int bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(QByteArray(bytes, 'j')) == bytes;
    }
    // The dialog's filter index of the item whose text starts with `caption`.
    int filterIndexOf(const char* caption) {
        auto* box = control<QComboBox>("ComboBoxSrcExt");
        for (int i = 0; i < box->count(); ++i)
            if (box->itemText(i).startsWith(QLatin1String(caption)))
                return i + 1;
        ADD_FAILURE() << "no filter " << caption;
        return 1;
    }
    // Picks a file through SpeedButtonSrcDir's dialog.
    void pick(const QString& file, const char* filter = "Bitmaps") {
        dialogs->openChoices.push_back(OpenChoice{file, filterIndexOf(filter)});
        control<QToolButton>("SpeedButtonSrcDir")->click();
    }
    void rescan() { control<QToolButton>("SpeedButtonList")->click(); }
    std::set<QString> entrySet() {
        const QStringList l = entries();
        return {l.begin(), l.end()};
    }
    int rowOf(const char* name) { return int(entries().indexOf(QLatin1String(name))); }
    void expectRestored() {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(list->updatesEnabled());
    }
};

TEST_F(FolderScan, FoldersWithNoFileGiveTheResetTexts) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("empty")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("subs/one.bmp")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("subs/two")));
    ASSERT_TRUE(writePicture(path(QStringLiteral("subs/two/deep.bmp")), 4, 4));
    for (const char* folder : {"empty", "subs", "missing"}) {
        SCOPED_TRACE(folder);
        window().sourceList().append(QStringLiteral("stale.bmp"));
        list->setCount(1);
        pick(path(QLatin1String(folder) + QStringLiteral("/x.bmp")));
        EXPECT_EQ(list->count(), 0);
        EXPECT_TRUE(window().sourceList().isEmpty());
        EXPECT_EQ(count->text(), NoneFound);
        EXPECT_EQ(minSize->text(), NoMin);
        EXPECT_EQ(maxSize->text(), NoMax);
        EXPECT_TRUE(dialogs->errors.empty());
        expectRestored();
    }
}

TEST_F(FolderScan, TheDialogGetsTheLoaderFilterAndSetsTheFolderAndType) {
    ASSERT_TRUE(writePicture(path(QStringLiteral("one.bmp")), 7, 5));
    auto* box = control<QComboBox>("ComboBoxSrcExt");
    ASSERT_EQ(box->currentIndex(), 0);
    pick(path(QStringLiteral("one.bmp")));
    ASSERT_EQ(dialogs->openRequests.size(), 1u);
    EXPECT_EQ(dialogs->openRequests[0].first, pictureRegistry().filterText());
    EXPECT_EQ(dialogs->openRequests[0].second, 1);
    EXPECT_EQ(box->currentIndex(), filterIndexOf("Bitmaps") - 1);
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), dir.path() + u'/');
    EXPECT_TRUE(control<QLineEdit>("EditDstDir")
                    ->text()
                    .startsWith(dir.path() + QStringLiteral("/cropped")));

    // One file is both the smallest and the largest.
    EXPECT_EQ(count->text(), found(1));
    EXPECT_EQ(minSize->text(), QStringLiteral("Taille mini: 7 * 5"));
    EXPECT_EQ(maxSize->text(), QStringLiteral("Taille Maxi: 7 * 5"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(selectedRows(), std::set<int>{0});
    EXPECT_EQ(window().windowTitle(),
              QStringLiteral("Kadrix - ") + path(QStringLiteral("one.bmp")));
    EXPECT_EQ(QDir::currentPath(), dir.path());

    // The next dialog starts on the chosen type; Cancel changes nothing.
    dialogs->openChoices.push_back(std::nullopt);
    control<QLineEdit>("EditSrcDir")->setText(QStringLiteral("/elsewhere/"));
    control<QToolButton>("SpeedButtonSrcDir")->click();
    EXPECT_EQ(dialogs->openRequests[1].second, filterIndexOf("Bitmaps"));
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), QStringLiteral("/elsewhere/"));
    EXPECT_EQ(window().sourceList().count(), 1);
}

TEST_F(FolderScan, SizeLabelsComeFromTheSmallestAndLargestFileTiesToTheLastListed) {
    // 4 x 1 and 1 x 3 make BMP files of one byte size (rows pad to 4 bytes).
    ASSERT_TRUE(writePicture(path(QStringLiteral("a.bmp")), 4, 1));
    ASSERT_TRUE(writePicture(path(QStringLiteral("b.bmp")), 1, 3));
    ASSERT_TRUE(writePicture(path(QStringLiteral("c.bmp")), 1, 1));
    ASSERT_TRUE(writePicture(path(QStringLiteral("big.png")), 50, 50));
    ASSERT_EQ(QFileInfo(path(QStringLiteral("a.bmp"))).size(),
              QFileInfo(path(QStringLiteral("b.bmp"))).size());
    pick(path(QStringLiteral("c.bmp")));
    ASSERT_EQ(list->count(), 3);
    // Whichever of a and b the file system lists last is the largest.
    const bool bLast = rowOf("b.bmp") > rowOf("a.bmp");
    EXPECT_EQ(window().largestRow(), bLast ? rowOf("b.bmp") : rowOf("a.bmp"));
    EXPECT_EQ(window().smallestRow(), rowOf("c.bmp"));
    EXPECT_EQ(maxSize->text(),
              bLast ? QStringLiteral("Taille Maxi: 1 * 3") : QStringLiteral("Taille Maxi: 4 * 1"));
    EXPECT_EQ(minSize->text(), QStringLiteral("Taille mini: 1 * 1"));
    EXPECT_EQ(list->currentRow(), rowOf("c.bmp")); // the picked file's row
}

TEST_F(FolderScan, APartialExtensionIsListedAndFailsWhenItsSizeIsLoaded) {
    ASSERT_TRUE(writePicture(path(QStringLiteral("x.bmp")), 9, 9));
    ASSERT_TRUE(writePicture(path(QStringLiteral("Y.BMP")), 10, 10));
    struct Case {
        int bytes;
        bool minWritten; // z.b is the largest: the smallest label comes first
    };
    for (const Case c : {Case{1, false}, Case{100000, true}}) {
        SCOPED_TRACE(c.bytes);
        ASSERT_TRUE(junk(path(QStringLiteral("z.b")), c.bytes));
        minSize->setText(QStringLiteral("before"));
        maxSize->setText(QStringLiteral("before"));
        dialogs->errors.clear();
        pick(path(QStringLiteral("x.bmp")));
        EXPECT_EQ(entrySet(), (std::set<QString>{QStringLiteral("x.bmp"), QStringLiteral("Y.BMP"),
                                                 QStringLiteral("z.b")}));
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(count->text(), found(3));
        EXPECT_EQ(dialogs->errors,
                  std::vector<QString>{QStringLiteral("Extension de fichier image inconnue (.b)")});
        EXPECT_EQ(minSize->text(),
                  c.minWritten ? QStringLiteral("Taille mini: 9 * 9") : QStringLiteral("before"));
        EXPECT_EQ(maxSize->text(), QStringLiteral("before"));
        EXPECT_EQ(list->currentRow(), -1);
        expectRestored();
    }
}

TEST_F(FolderScan, SubFoldersAreNotEnteredAndHiddenFilesAreListed) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("inner")));
    ASSERT_TRUE(writePicture(path(QStringLiteral("inner/deep.bmp")), 3, 3));
    ASSERT_TRUE(writePicture(path(QStringLiteral(".hidden.bmp")), 3, 3));
    ASSERT_TRUE(writePicture(path(QStringLiteral("shown.bmp")), 4, 4));
    pick(path(QStringLiteral("shown.bmp")));
    EXPECT_EQ(entrySet(),
              (std::set<QString>{QStringLiteral(".hidden.bmp"), QStringLiteral("shown.bmp")}));
}

TEST_F(FolderScan, APickedFileTheFilterRejectsShowsRowZero) {
    ASSERT_TRUE(writePicture(path(QStringLiteral("a.bmp")), 3, 3));
    ASSERT_TRUE(writePicture(path(QStringLiteral("b.bmp")), 4, 4));
    ASSERT_TRUE(writePicture(path(QStringLiteral("b.png")), 5, 5));
    pick(path(QStringLiteral("b.png")));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(selectedRows(), std::set<int>{0});
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix - ") + path(entries()[0]));

    // A listed name is found whatever its letter case.
    pick(path(QStringLiteral("B.BMP")));
    EXPECT_EQ(list->currentRow(), rowOf("b.bmp"));
    EXPECT_EQ(selectedRows(), std::set<int>{rowOf("b.bmp")});
}

TEST_F(FolderScan, TheListButtonRescansTheFolderOfTheLastScan) {
    ASSERT_TRUE(writePicture(path(QStringLiteral("a.bmp")), 3, 3));
    pick(path(QStringLiteral("a.bmp")));
    ASSERT_EQ(QDir::currentPath(), dir.path());
    ASSERT_TRUE(writePicture(path(QStringLiteral("b.bmp")), 4, 4));
    control<QLineEdit>("EditSrcDir")->setText(QStringLiteral("/somewhere/else/"));
    rescan();
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), dir.path() + u'/');
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(count->text(), found(2));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(FolderScan, RowsAreReadWhereListedAndEnterScansTheTypedFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("other")));
    for (const char* name : {"a.bmp", "other/a.bmp", "other/b.bmp"})
        ASSERT_TRUE(
            writePicture(path(QLatin1String(name)), 3, 3, name[0] == 'a' ? Qt::red : Qt::blue));
    pick(path(QStringLiteral("a.bmp")));
    // Typed without a scan: GO frames the listed a.bmp, into the typed folder's destination.
    auto* field = control<QLineEdit>("EditSrcDir");
    field->setText(QStringLiteral(" ") + path(QStringLiteral("other")));
    dialogs->defaultAnswer = Answer::Yes;
    control<QToolButton>("SpeedButtonRedim")->click();
    EXPECT_EQ(QImage(path(QStringLiteral("other/cropped/cropped_a.BMP"))).pixelColor(320, 240),
              QColor(Qt::red));
    field->setText(QStringLiteral(" ") + path(QStringLiteral("other")));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), path(QStringLiteral("other/")));
    EXPECT_EQ(entrySet(), (std::set<QString>{QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}));
}

TEST_F(FolderScan, StopDuringTheScanKeepsThePartialList) {
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(writePicture(path(QStringLiteral("p%1.bmp").arg(i)), 2 + i % 5, 3));
    QDir::setCurrent(dir.path());
    auto* stop = control<QToolButton>("SpeedButtonStop");
    LabelRecorder counts(count);
    EveryPass pressStop([&](int pass) {
        if (pass == 10)
            stop->click();
    });
    rescan();
    const int n = window().sourceList().count();
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 40);
    EXPECT_EQ(list->count(), n);
    EXPECT_EQ(count->text(), found(n));
    ASSERT_FALSE(counts.texts.isEmpty());
    EXPECT_EQ(counts.texts.first(), found(1)); // a running count
    EXPECT_TRUE(minSize->text().startsWith(QStringLiteral("Taille mini: ")));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(dialogs->errors.empty());

    // The next scan starts afresh.
    rescan();
    EXPECT_EQ(window().sourceList().count(), 40);
}

} // namespace
} // namespace kadrix::test
