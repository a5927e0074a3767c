// Ending the program, the application's names, and the keys that move the
// focus between the window's controls.
#include "main_window_fixture.h"
#include "window_driver.h"

#include "image_list_view.h"

#include <QCheckBox>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace kadrix::test {
namespace {

class ProgramEnd : public FolderWindowTest {
protected:
    void makeRows(int n) {
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("img%1.bmp").arg(i);
            ASSERT_TRUE(writePicture(dir.filePath(name), 8, 6));
            window().sourceList().append(name);
        }
        control<ImageListView>("ListBox1")->setCount(n);
    }
    // Runs the event loop as the program does, `start` first; false when the
    // loop had not ended after five seconds.
    bool loopEnds(const std::function<void()>& start) {
        bool timedOut = false;
        QTimer::singleShot(0, start);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QApplication::exit(1);
        });
        watchdog.start(5000);
        QApplication::exec();
        return !timedOut;
    }
};

TEST_F(ProgramEnd, ClosingTheMainWindowEndsTheProgramWhileTheJpegOptionsAreOpen) {
    makeRows(3);
    dialogs->defaultAnswer = Answer::Yes;
    const struct {
        const char* way;
        std::function<void()> close;
    } ways[] = {
        {"close box", [&] { window().close(); }},
        {"Close", [&] { control<QToolButton>("SpeedButtonClose")->click(); }},
        {"close box during a run",
         [&] {
             dialogs->onMessageBox = [&](const ScriptedDialogs::Box&) { window().close(); };
             control<QToolButton>("SpeedButtonRedim")->click();
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        dialogs->onMessageBox = nullptr;
        window().show();
        control<QToolButton>("SpeedButton1")->click(); // "JPEG Options "
        ASSERT_TRUE(forms.FormOpJpeg->isVisible());
        EXPECT_TRUE(loopEnds(w.close));
        EXPECT_FALSE(window().isVisible());
        forms.FormOpJpeg->hide();
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 3) << "the run went on to its last row";
}

TEST(ApplicationSetUp, NamesTheProgramWithoutADisplayNameForWindowTitles) {
    setProgramIdentity();
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Kadrix"));
    // A display name of its own would be appended to every window title;
    // without one, the display name follows the application name.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("probe"));
    setProgramIdentity();
}

TEST_F(ProgramEnd, TabAndShiftTabLeaveTheList) {
    makeRows(3);
    auto* list = control<ImageListView>("ListBox1");
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Tab, Qt::NoModifier},
                                                              {Qt::Key_Tab, Qt::ShiftModifier},
                                                              {Qt::Key_Backtab, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : keys) {
        list->setFocus();
        ASSERT_TRUE(list->hasFocus());
        QTest::keyClick(list, key, modifiers);
        EXPECT_FALSE(list->hasFocus()) << key << ' ' << int(modifiers);
    }
    window().hide();
}

} // namespace
} // namespace kadrix::test
