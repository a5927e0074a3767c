#include "drop_driver.h"
#include "filedrag.h"
#include "qt_printers.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace kadrix::test {
namespace {

// A window with a line edit, which takes drops of its own.
struct Owner {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window); // owned by the window
};

TEST(FileDrag, TakesLocalFilesInDropOrderOnTheOwnerAndItsControls) {
    Owner owner;
    TFileDrag drag(&owner.window);
    EXPECT_TRUE(owner.window.acceptDrops());
    EXPECT_TRUE(drag.EnableDrop());
    EXPECT_EQ(drag.FileCount(), 0);
    QStringList seen;
    QObject::connect(&drag, &TFileDrag::OnDrop, [&](TFileDrag* sender) {
        EXPECT_EQ(sender, &drag);
        seen = sender->Files(); // already filled when the event fires
    });

    const QStringList paths{QStringLiteral("/p/z.bmp"), QStringLiteral("/q/a b.jpg"),
                            QStringLiteral("/p/folder")};
    for (QWidget* target : {&owner.window, static_cast<QWidget*>(owner.edit)}) {
        seen.clear();
        const DragOutcome outcome = dropFiles(target, paths);
        EXPECT_TRUE(outcome.entered);
        EXPECT_TRUE(outcome.dropped);
        EXPECT_EQ(seen, paths);
        EXPECT_EQ(drag.Files(), paths);
        EXPECT_EQ(drag.FileCount(), 3);
        EXPECT_TRUE(owner.edit->text().isEmpty()); // the line edit never saw it
    }

    // Only local files count; a drag without any is left to the control.
    dragAndDrop(&owner.window, {QUrl(QStringLiteral("https://example.org/a.bmp")),
                                QUrl::fromLocalFile(QStringLiteral("/r/one.bmp/"))});
    EXPECT_EQ(drag.Files(), QStringList{QStringLiteral("/r/one.bmp")});
    const DragOutcome web =
        dragAndDrop(&owner.window, {QUrl(QStringLiteral("https://example.org/b.bmp"))});
    EXPECT_FALSE(web.dropped);
    EXPECT_EQ(drag.FileCount(), 1);
}

TEST(FileDrag, DisabledOrDestroyedItLeavesTheOwnerAlone) {
    Owner owner;
    auto drag = std::make_unique<TFileDrag>(&owner.window);
    QSignalSpy drops(drag.get(), &TFileDrag::OnDrop);
    drag->setEnableDrop(false);
    EXPECT_FALSE(owner.window.acceptDrops());
    dropFiles(owner.edit, {QStringLiteral("/p/a.bmp")});
    EXPECT_EQ(drops.count(), 0);
    drag->setEnableDrop(true);
    EXPECT_TRUE(owner.window.acceptDrops());
    dropFiles(&owner.window, {QStringLiteral("/p/a.bmp")});
    EXPECT_EQ(drops.count(), 1);

    drag.reset();
    EXPECT_FALSE(owner.window.acceptDrops());
    const DragOutcome after = dropFiles(&owner.window, {QStringLiteral("/p/a.bmp")});
    EXPECT_FALSE(after.dropped);
}

TEST(FileDrag, AnOwnerThatIsNoWidgetIsNotHooked) {
    QObject notAWindow;
    TFileDrag drag(&notAWindow);
    EXPECT_TRUE(drag.EnableDrop());
    EXPECT_EQ(drag.FileCount(), 0);
}

} // namespace
} // namespace kadrix::test
