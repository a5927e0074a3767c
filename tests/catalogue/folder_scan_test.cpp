#include "folder_scan.h"
#include "native_name.h"
#include "qt_printers.h"
#include "working_directory_guard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace kadrix::test {
namespace {

const QString Bitmaps = QStringLiteral("BITMAPS (*.BMP)");

TEST(ExtensionFilter, PlainContainmentOfTheUpperCasedExtension) {
    struct Case {
        const char* name;
        QString filter;
        bool accepted;
    };
    const Case cases[] = {
        {"x.bmp", Bitmaps, true},
        {"Y.BMP", Bitmaps, true},
        {"z.b", Bitmaps, true},
        {"half.Bm", Bitmaps, true},
        {"archive.tar.bmp", Bitmaps, true},
        {".hidden.bmp", Bitmaps, true},
        {"x.bmpx", Bitmaps, false},
        {"x.jpg", Bitmaps, false},
        {"bmp", Bitmaps, false},       // no extension at all
        {"x.bmp.txt", Bitmaps, false}, // the last dot counts
        {"photo.\xc3\xa9t\xc3\xa9", QString::fromUtf8("\xc3\x89T\xc3\x89S (*.\xc3\x89T\xc3\x89)"),
         true},
        {"x.bmp", QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(extensionAccepted(QString::fromUtf8(c.name), c.filter), c.accepted) << c.name;
}

SourceList tallied(const std::vector<std::pair<const char*, qint64>>& files, int* smallest,
                   int* largest) {
    SourceList list;
    list.append(QStringLiteral("left over from before"));
    ScanTally tally(list);
    for (const auto& [name, size] : files)
        tally.add(QString::fromUtf8(name), size);
    tally.finish();
    *smallest = tally.smallestRow();
    *largest = tally.largestRow();
    return list;
}

TEST(ScanTally, TiesGoToTheEntryListedLast) {
    int smallest = 0, largest = 0;
    const SourceList list = tallied({{"a", 10}, {"b", 10}, {"c", 5}}, &smallest, &largest);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(smallest, 2);
    EXPECT_EQ(largest, 1);

    tallied({{"only", 7}}, &smallest, &largest);
    EXPECT_EQ(smallest, 0);
    EXPECT_EQ(largest, 0);

    tallied({}, &smallest, &largest);
    EXPECT_EQ(smallest, -1);
    EXPECT_EQ(largest, -1);
}

TEST(ScanTally, SizesBeyondFourGigabytesCompareInFull) {
    // Cut to 32 bits, 5 GiB + 1 would read as 1 byte and 3 GiB as negative.
    int smallest = 0, largest = 0;
    tallied({{"mid", 1000}, {"huge", (qint64(5) << 30) + 1}, {"big", qint64(3) << 30}}, &smallest,
            &largest);
    EXPECT_EQ(smallest, 0);
    EXPECT_EQ(largest, 1);
}

TEST(ScanTally, NamesDifferingInCaseOnlyGiveOneEntryTheFirstListed) {
    int smallest = 0, largest = 0;
    const SourceList list = tallied({{"Photo.BMP", 5},
                                     {"photo.bmp", 50},
                                     {"\xc3\x89t\xc3\xa9.bmp", 6},
                                     {"\xc3\xa9T\xc3\x89.BMP", 1}},
                                    &smallest, &largest);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list[0], QStringLiteral("Photo.BMP"));
    EXPECT_EQ(list.entry(0).fileSize, 5);
    EXPECT_EQ(list[1], QString::fromUtf8("\xc3\x89t\xc3\xa9.bmp"));
    // The skipped names' sizes count for nothing.
    EXPECT_EQ(smallest, 0);
    EXPECT_EQ(largest, 1);
}

// A listing given in advance.
class ListedWalk final : public DirectoryWalk {
public:
    explicit ListedWalk(std::vector<DirectoryEntry> entries) : entries_(std::move(entries)) {}
    std::optional<DirectoryEntry> next() override {
        if (next_ >= entries_.size())
            return std::nullopt;
        return entries_[next_++];
    }

private:
    std::vector<DirectoryEntry> entries_;
    size_t next_ = 0;
};

class RecordingWindow final : public ScanWindow {
public:
    QStringList texts;
    int passes = 0;
    bool stop = false;
    std::function<void(int pass)> onPass;

    void setFoundCountText(const QString& text) override { texts << text; }
    void processScanMessages() override {
        ++passes;
        if (onPass)
            onPass(passes);
    }
    bool stopRequested() const override { return stop; }
    void setStopRequested(bool on) override { stop = on; }
};

std::vector<DirectoryEntry> listing() {
    return {{QStringLiteral("a.bmp"), 3},
            {QStringLiteral("notes.txt"), 1},
            {QStringLiteral("b.BMP"), 4},
            {QStringLiteral("A.BMP"), 9},
            {QStringLiteral("c.bmp"), 2}};
}

TEST(ScanEntries, CountsEachListedFileAndPassesTheLoopAfterEveryEntry) {
    ListedWalk walk(listing());
    SourceList list;
    ScanTally tally(list);
    RecordingWindow window;
    scanEntries(walk, Bitmaps, tally, window);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(window.passes, 5);
    EXPECT_EQ(window.texts, QStringList({QStringLiteral("Nombre d'Images Trouvées: 1"),
                                         QStringLiteral("Nombre d'Images Trouvées: 2"),
                                         QStringLiteral("Nombre d'Images Trouvées: 3")}));
    EXPECT_EQ(tally.smallestRow(), 2);
    EXPECT_EQ(tally.largestRow(), 1);
}

TEST(ScanEntries, AStopEndsTheWalkAfterTheCurrentEntryKeepingWhatWasFound) {
    ListedWalk walk(listing());
    SourceList list;
    ScanTally tally(list);
    RecordingWindow window;
    window.onPass = [&](int pass) { window.stop = pass == 3; };
    scanEntries(walk, Bitmaps, tally, window);
    EXPECT_EQ(window.passes, 3);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list[1], QStringLiteral("b.BMP"));
}

TEST(ScanEntries, AListChangedByAnotherCommandEndsTheWalkAndStaysAsThatOneLeftIt) {
    ListedWalk walk(listing());
    SourceList list;
    ScanTally tally(list);
    RecordingWindow window;
    window.onPass = [&](int pass) {
        if (pass == 2) { // a drop, say, replaces the list
            list.clear();
            list.append(QStringLiteral("dropped.jpg"));
        }
    };
    scanEntries(walk, Bitmaps, tally, window);
    EXPECT_EQ(window.passes, 2);
    EXPECT_FALSE(tally.intact());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list[0], QStringLiteral("dropped.jpg"));
}

bool touch(const QString& path, int bytes = 0) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(QByteArray(bytes, 'x')) == bytes;
}

QStringList names(const SourceList& list) {
    QStringList l;
    for (int i = 0; i < list.count(); ++i)
        l << list[i];
    return l;
}

TEST(ScanFolder, ListsHiddenFilesSkipsSubFoldersAndStaysInTheFolder) {
    WorkingDirectoryGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("sub.bmp")));
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("sub.bmp/inner.bmp"))));
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral(".hidden.bmp")), 20));
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("shown.BMP")), 10));
    // Made in an order unlike their names, which the list follows.
    for (const char* name : {"portrait.bmp", "IMG_10.bmp", "Portrait.bmp", "img_2.bmp"})
        ASSERT_TRUE(touch(dir.filePath(QString::fromLatin1(name)), 15));
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("notes.txt"))));
    // Latin-1 names, which Qt would decode to one "a\uFFFD.bmp": two files.
    for (const char* latin1 : {"a\xff.bmp", "a\xfe.bmp"}) {
        const int fd = ::open((QFile::encodeName(dir.path()) + '/' + latin1).constData(),
                              O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "fifteen bytes..", 15), 15);
        ::close(fd);
    }

    SourceList list;
    RecordingWindow window;
    window.stop = true; // left from an earlier command: cleared at the start
    const ScanResult result =
        scanFolder(dir.filePath(QStringLiteral("picked.bmp")), Bitmaps, list, window);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(names(list),
              QStringList({QStringLiteral(".hidden.bmp"), nameFromNative("a\xfe.bmp"),
                           nameFromNative("a\xff.bmp"), QStringLiteral("IMG_10.bmp"),
                           QStringLiteral("img_2.bmp"), QStringLiteral("Portrait.bmp"),
                           QStringLiteral("shown.BMP")}));
    EXPECT_EQ(list[result.largestRow], QStringLiteral(".hidden.bmp"));
    EXPECT_EQ(list[result.smallestRow], QStringLiteral("shown.BMP"));
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
}

TEST(ScanFolder, AFolderThatCannotBeEnteredGivesNothingAndLeavesTheWorkingDirectory) {
    WorkingDirectoryGuard guard;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString before = QDir::currentPath();
    SourceList list;
    list.append(QStringLiteral("old.bmp"));
    RecordingWindow window;
    const ScanResult result =
        scanFolder(dir.filePath(QStringLiteral("missing/x.bmp")), Bitmaps, list, window);
    EXPECT_FALSE(result.found);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(result.smallestRow, -1);
    EXPECT_EQ(result.largestRow, -1);
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(ScanFolder, AFolderRemovedDuringTheScanEndsItQuietly) {
    WorkingDirectoryGuard guard;
    QTemporaryDir dir;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(touch(dir.filePath(QStringLiteral("f%1.bmp").arg(i)), i));
    SourceList list;
    RecordingWindow window;
    window.onPass = [&](int pass) {
        if (pass == 1)
            QDir(dir.path()).removeRecursively();
    };
    const ScanResult result = scanFolder(dir.path() + u'/', Bitmaps, list, window);
    EXPECT_TRUE(result.found);
    EXPECT_GE(list.count(), 1);
    EXPECT_LE(list.count(), 20);
}

} // namespace
} // namespace kadrix::test
