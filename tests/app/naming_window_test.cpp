#include "main_window_fixture.h"

#include "status_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>
#include <QToolButton>

namespace kadrix::test {
namespace {

class Naming : public MainWindowTest {
protected:
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QCheckBox* check(const char* name) { return control<QCheckBox>(name); }
    QString preview() { return control<StatusBar>("StatusBar1")->panelText(3); }

    // Types each character at the cursor as key presses would.
    void type(QLineEdit* field, const QString& keys) {
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(field, &press);
        }
    }

    void fillSourceList(std::initializer_list<const char*> names) {
        window().sourceList().clear();
        for (const char* n : names)
            window().sourceList().append(QString::fromUtf8(n));
    }

    void setNumber(const char* digits, const char* start) {
        check("CheckBoxNum")->setChecked(true);
        edit("EditNum")->setText(QString::fromUtf8(digits));
        edit("EditStart")->setText(QString::fromUtf8(start));
    }
};

TEST_F(Naming, DefaultsNameTheFirstPhotoAndNormaliseTheDestination) {
    fillSourceList({"IMG_0042.JPG"});
    edit("EditDstDir")->setText(QStringLiteral("/photos/cropped"));
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/photos/cropped/"));
    EXPECT_EQ(window().BuildResultPath(0, true),
              QStringLiteral("/photos/cropped/cropped_IMG_0042.BMP"));
    EXPECT_EQ(edit("EditNom")->text(), QStringLiteral("IMG_0042"));
    EXPECT_EQ(preview(), QStringLiteral("/photos/cropped/cropped_IMG_0042.BMP"));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(Naming, NamingAnotherRowLeavesRowZeroInTheNameFieldAndPreview) {
    fillSourceList({"first.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "sixth.jpg"});
    edit("EditDstDir")->setText(QStringLiteral("/out/"));
    EXPECT_EQ(window().BuildResultPath(5, true), QStringLiteral("/out/cropped_sixth.BMP"));
    EXPECT_EQ(edit("EditNom")->text(), QStringLiteral("first"));
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_first.BMP"));
}

TEST_F(Naming, ExtensionsFollowTheChosenItemOnly) {
    edit("EditDstDir")->setText(QStringLiteral("/out"));
    auto* ext = control<QComboBox>("ComboBoxDstExt");
    ext->setCurrentIndex(1);
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_???.JPEG"));
    edit("EditPrefixe")->setText(QStringLiteral("c_"));
    EXPECT_EQ(preview(), QStringLiteral("/out/c_???.JPEG"));
    ext->setEditText(QStringLiteral("*.GIF"));
    EXPECT_EQ(window().BuildResultPath(0, true), QStringLiteral("/out/c_???"));
    ext->clearEditText(); // a typed extension names its item, selected once typed
    type(ext->lineEdit(), QStringLiteral("png"));
    EXPECT_EQ(preview(), QStringLiteral("/out/c_???.PNG"));
    QTest::keyClick(ext->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(ext->currentText(), QStringLiteral("*.PNG"));
    EXPECT_EQ(ext->count(), 5) << "the box gains no item";
    ext->setCurrentIndex(3);
    EXPECT_EQ(window().BuildResultPath(0, true), QStringLiteral("/out/c_???.TIFF"));
    ext->setEditText(QStringLiteral("*.BMP"));
    EXPECT_EQ(window().BuildResultPath(0, true), QStringLiteral("/out/c_???.BMP"));

    for (const char* name : {"CheckBoxPrefixe", "CheckBoxCurrentName"})
        check(name)->setChecked(false);
    EXPECT_EQ(preview(), QStringLiteral("/out/.BMP"));
}

TEST_F(Naming, BlanksAroundTheDestinationAreTrimmedAndEmptyStaysEmpty) {
    edit("EditDstDir")->setText(QStringLiteral("  /out  "));
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/out/"));
    edit("EditDstDir")->setText(QStringLiteral("   "));
    EXPECT_EQ(edit("EditDstDir")->text(), QString());
    EXPECT_EQ(preview(), QStringLiteral("cropped_???.BMP"));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(Naming, AHalfTypedStartIsKeptUntilAWriteBackNaming) {
    fillSourceList({"a.jpg", "b.jpg", "c.jpg"});
    edit("EditDstDir")->setText(QStringLiteral("/out"));
    setNumber("3", "5");
    edit("EditStart")->setText(QStringLiteral("x"));
    EXPECT_EQ(edit("EditStart")->text(), QStringLiteral("x"));
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_a001.BMP"));
    EXPECT_EQ(window().BuildResultPath(2, true), QStringLiteral("/out/cropped_c003.BMP"));
    EXPECT_EQ(edit("EditStart")->text(), QStringLiteral("1"));
}

TEST_F(Naming, AnEmptyDigitCountBecomesZeroAndANegativeOneStays) {
    edit("EditDstDir")->setText(QStringLiteral("/out"));
    setNumber("", "1");
    EXPECT_EQ(edit("EditNum")->text(), QString());
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_???.BMP"));
    // A preview started by another control writes back.
    edit("EditSuffixe")->setText(QStringLiteral("-"));
    EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("0"));
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_???.BMP"));

    edit("EditNum")->setText(QStringLiteral("-3"));
    EXPECT_EQ(window().BuildResultPath(0, true), QStringLiteral("/out/cropped_???.BMP"));
    EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("-3"));
}

TEST_F(Naming, TheDefaultsButtonRestoresTheSchemeAndRefreshesThePreview) {
    fillSourceList({"IMG_1.JPG"});
    edit("EditDstDir")->setText(QStringLiteral("/out"));
    check("CheckBoxPrefixe")->setChecked(false);
    check("CheckBoxCurrentName")->setChecked(false);
    check("CheckBoxSuffixe")->setChecked(true);
    edit("EditSuffixe")->setText(QStringLiteral("#"));
    setNumber("7", "9");
    edit("EditPrefixe")->setText(QStringLiteral("p"));

    control<QToolButton>("SpeedButtonDefRename")->click();
    EXPECT_TRUE(check("CheckBoxPrefixe")->isChecked());
    EXPECT_TRUE(check("CheckBoxCurrentName")->isChecked());
    EXPECT_FALSE(check("CheckBoxSuffixe")->isChecked());
    EXPECT_FALSE(check("CheckBoxNum")->isChecked());
    EXPECT_EQ(edit("EditPrefixe")->text(), QStringLiteral("cropped_"));
    EXPECT_EQ(edit("EditSuffixe")->text(), QStringLiteral("_"));
    EXPECT_EQ(edit("EditNum")->text(), QStringLiteral("4"));
    EXPECT_EQ(edit("EditStart")->text(), QStringLiteral("1"));
    EXPECT_EQ(edit("EditNom")->text(), QStringLiteral("IMG_1"));
    EXPECT_EQ(preview(), QStringLiteral("/out/cropped_IMG_1.BMP"));
}

TEST_F(Naming, TypingASourceFolderAppendsASeparatorBehindTheCursor) {
    QLineEdit* src = edit("EditSrcDir");
    src->setText(QString());
    EXPECT_EQ(src->text(), QString()); // empty stays empty
    type(src, QStringLiteral("/photos"));
    EXPECT_EQ(src->text(), QStringLiteral("/photos/"));
    EXPECT_EQ(src->cursorPosition(), 7);
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/photos/cropped/"));
    EXPECT_EQ(preview(), QStringLiteral("/photos/cropped/cropped_???.BMP"));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(Naming, TypingADestinationKeepsTheCursorInPlace) {
    QLineEdit* dst = edit("EditDstDir");
    dst->setText(QString());
    type(dst, QStringLiteral("/ab"));
    EXPECT_EQ(dst->text(), QStringLiteral("/ab/"));
    EXPECT_EQ(dst->cursorPosition(), 3);
    dst->setCursorPosition(0);
    type(dst, QStringLiteral(" "));
    EXPECT_EQ(dst->text(), QStringLiteral("/ab/"));
    EXPECT_EQ(dst->cursorPosition(), 0);
}

TEST_F(Naming, AutoDestinationFollowsTheSourceFolder) {
    edit("EditSrcDir")->setText(QStringLiteral("/pics"));
    EXPECT_EQ(edit("EditSrcDir")->text(), QStringLiteral("/pics/"));
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/pics/cropped/"));

    auto* autoDst = check("CheckBoxAutoDStDir");
    autoDst->click(); // unchecking changes nothing
    EXPECT_FALSE(autoDst->isChecked());
    edit("EditDstDir")->setText(QStringLiteral("/elsewhere"));
    edit("EditSrcDir")->setText(QStringLiteral("/other/"));
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/elsewhere/"));
    autoDst->click();
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/other/cropped/"));
    EXPECT_EQ(preview(), QStringLiteral("/other/cropped/cropped_???.BMP"));
}

TEST_F(Naming, SourcePathTrimsTheFolderAndWritesItBack) {
    fillSourceList({"a.jpg", "b.jpg", "IMG_7.JPG"});
    {
        const QSignalBlocker quiet(edit("EditSrcDir"));
        edit("EditSrcDir")->setText(QStringLiteral(" /photos "));
    }
    EXPECT_EQ(window().SourcePath(2), QStringLiteral("/photos/IMG_7.JPG"));
    EXPECT_EQ(edit("EditSrcDir")->text(), QStringLiteral("/photos/"));
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/photos/cropped/"));

    edit("EditSrcDir")->setText(QStringLiteral("  /typed"));
    EXPECT_EQ(edit("EditSrcDir")->text(), QStringLiteral("  /typed/"));
    EXPECT_EQ(window().SourcePath(0), QStringLiteral("/typed/a.jpg"));
    EXPECT_EQ(edit("EditSrcDir")->text(), QStringLiteral("/typed/"));

    edit("EditSrcDir")->setText(QString());
    EXPECT_EQ(window().SourcePath(1), QStringLiteral("b.jpg"));
    EXPECT_EQ(edit("EditSrcDir")->text(), QString());
}

TEST_F(Naming, TheDestinationButtonTakesTheFolderOfThePickedFile) {
    auto* ext = control<QComboBox>("ComboBoxDstExt");
    ext->setCurrentIndex(1);
    dialogs->openChoices.push_back(OpenChoice{QStringLiteral("/data/out/any.bmp"), 1});
    control<QToolButton>("SpeedButtonDstDir")->click();
    ASSERT_EQ(dialogs->openRequests.size(), 1u);
    EXPECT_EQ(dialogs->openRequests[0].first,
              QStringLiteral("*.BMP|*.BMP|*.JPG;*.JPEG|*.JPG;*.JPEG|*.PNG|*.PNG|*.TIF;*.TIFF|"
                             "*.TIF;*.TIFF|*.WEBP|*.WEBP|*.*|*.*"));
    EXPECT_EQ(dialogs->openRequests[0].second, 2);
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/data/out/"));
    EXPECT_EQ(ext->currentIndex(), 1);

    // Cancelled: nothing changes.
    control<QToolButton>("SpeedButtonDstDir")->click();
    EXPECT_EQ(dialogs->openRequests[1].second, 2);
    EXPECT_EQ(edit("EditDstDir")->text(), QStringLiteral("/data/out/"));
}

} // namespace
} // namespace kadrix::test
