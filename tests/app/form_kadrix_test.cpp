#include "main_window_fixture.h"

#include "form_op_jpeg.h"
#include "framing_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>

#include "image_control.h"
#include "status_bar.h"

namespace kadrix::test {
namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, EveryControlHasItsCaptionAndDefault) {
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Kadrix"));
    EXPECT_EQ(window().size(), QSize(1009, 536));

    const struct {
        const char* name;
        const char* text;
    } labels[] = {{"Label2", "Extension:"},
                  {"LabelCount", "Images found:  0"},
                  {"LabelMinSize", "size mini: W*H"},
                  {"LabelMaxSize", "size maxi: W*H"},
                  {"Label5", "Extension:"},
                  {"Label6", "Final size:"},
                  {"Label3", " W * H "},
                  {"Label7", "Start:"},
                  {"LabelTraitee", "Croped/recentered images: 0"}};
    for (const auto& l : labels)
        EXPECT_EQ(control<QLabel>(l.name)->text(), QString::fromUtf8(l.text)) << l.name;

    const struct {
        const char* name;
        const char* text;
    } buttons[] = {{"SpeedButton1", "JPEG Options "},
                   {"SpeedButtonFraming", "Framing Options"},
                   {"SpeedButtonRedim", "GO"},
                   {"SpeedButtonClose", "Close"},
                   {"SpeedButton2", "About"}};
    for (const auto& b : buttons)
        EXPECT_EQ(control<QToolButton>(b.name)->text(), QString::fromUtf8(b.text)) << b.name;
    for (const char* name : {"SpeedButtonSrcDir", "SpeedButtonList", "SpeedButtonDstDir",
                             "SpeedButtonStop", "SpeedButtonDefRename"})
        EXPECT_TRUE(control<QToolButton>(name)->text().isEmpty()) << name;
    for (const char* name : {"SpeedButtonWipeColor", "SpeedButtonBrush", "SpeedButtonPipette"}) {
        EXPECT_TRUE(control<QToolButton>(name)->isCheckable()) << name;
        EXPECT_FALSE(control<QToolButton>(name)->isChecked()) << name;
    }

    const struct {
        const char* name;
        const char* text;
        bool checked;
    } checks[] = {{"CheckBoxPasaPas", "Step by step", true}, {"CheckBoxAutoDStDir", "Auto", true},
                  {"CheckBoxPrefixe", "Prefix:", true},      {"CheckBoxCurrentName", "Name:", true},
                  {"CheckBoxSuffixe", "Suffix:", false},     {"CheckBoxNum", "# digits:", false}};
    for (const auto& c : checks) {
        EXPECT_EQ(control<QCheckBox>(c.name)->text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(control<QCheckBox>(c.name)->isChecked(), c.checked) << c.name;
    }

    const struct {
        const char* name;
        const char* text;
    } edits[] = {{"EditW", "640"},   {"EditH", "480"},     {"EditPrefixe", "cropped_"},
                 {"EditNom", "???"}, {"EditSuffixe", "_"}, {"EditNum", "4"},
                 {"EditStart", "1"}};
    for (const auto& e : edits)
        EXPECT_EQ(control<QLineEdit>(e.name)->text(), QString::fromUtf8(e.text)) << e.name;
    EXPECT_FALSE(control<QLineEdit>("EditNom")->isEnabled());

    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("Images to process:"));
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("Result destination:"));
    EXPECT_EQ(control<QGroupBox>("GroupBoxRename")->title(), QStringLiteral("Rename:"));
    EXPECT_EQ(control<QGroupBox>("RadioGroupList")->title(), QStringLiteral("See images:"));
    EXPECT_TRUE(control<QRadioButton>("RadioSource")->isChecked());
    EXPECT_EQ(window().viewMode(), 0);
}

TEST_F(StartUp, FoldersExtensionsSwatchAndStatusBar) {
    const QString cwd = QDir::currentPath() + QDir::separator();
    EXPECT_EQ(control<QLineEdit>("EditSrcDir")->text(), cwd);
    // The preview normalises the destination and shows the first result path.
    EXPECT_EQ(control<QLineEdit>("EditDstDir")->text(), cwd + QStringLiteral("cropped/"));
    EXPECT_EQ(control<StatusBar>("StatusBar1")->panelText(3),
              cwd + QStringLiteral("cropped/cropped_???.BMP"));

    auto* src = control<QComboBox>("ComboBoxSrcExt");
    EXPECT_EQ(src->currentIndex(), 0);
    EXPECT_TRUE(src->currentText().startsWith(QStringLiteral("Tous (")));
    auto* dst = control<QComboBox>("ComboBoxDstExt");
    EXPECT_EQ(dst->currentText(), QStringLiteral("*.BMP"));
    QStringList items;
    for (int i = 0; i < dst->count(); ++i)
        items << dst->itemText(i);
    EXPECT_EQ(items, (QStringList{"*.BMP", "*.JPG;*.JPEG", "*.PNG", "*.TIF;*.TIFF", "*.WEBP"}));
    EXPECT_TRUE(dst->isEditable());
    EXPECT_FALSE(src->isEditable());

    EXPECT_EQ(window().wipeColor(), 0u);
    EXPECT_EQ(window().swatch().width(), 30);
    EXPECT_EQ(window().swatch().pixel(29, 29), 0u);
    EXPECT_EQ(window().sampleBitmap().width(), 30);
    EXPECT_EQ(window().sampleBitmap().pixelFormat(), PixelFormat::Bits24);

    auto* bar = control<StatusBar>("StatusBar1");
    EXPECT_EQ(bar->panelText(1), QStringLiteral("RGB = 000/000/000"));
    EXPECT_EQ(bar->panelText(2), QStringLiteral("pos = 0000-0000"));
    EXPECT_EQ(bar->height(), 19);

    auto* image = control<ImageControl>("Image1");
    EXPECT_EQ(image->pos(), QPoint(3, 3));
    EXPECT_EQ(image->size(), QSize(640, 480));
    EXPECT_EQ(control<QListView>("ListBox1")->selectionMode(),
              QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(window().sourceList().isEmpty());
}

TEST_F(StartUp, TheCommandPanelAndScrollBoxShareTheClientArea) {
    window().show();
    QApplication::processEvents();
    EXPECT_EQ(control<QWidget>("PanelCommande")->width(), 353);
    auto* scroll = control<QScrollArea>("ScrollBox1");
    EXPECT_EQ(scroll->geometry(), QRect(353, 0, 656, 517));
    window().hide();
}

TEST_F(StartUp, TheDialogsAreCreatedHiddenInOrder) {
    EXPECT_FALSE(forms.FormOpJpeg->isVisible());
    EXPECT_FALSE(forms.Form1->isVisible());
    EXPECT_FALSE(forms.FormAbout->isVisible());
    EXPECT_EQ(forms.FormOpJpeg->windowTitle(), QStringLiteral("Options Jpeg"));
    EXPECT_EQ(forms.FormAbout->windowTitle(), QStringLiteral("About.."));
}

TEST_F(StartUp, JpegOptionsPressedTwiceShowsOneDialog) {
    control<QToolButton>("SpeedButton1")->click();
    control<QToolButton>("SpeedButton1")->click();
    EXPECT_TRUE(forms.FormOpJpeg->isVisible());
    const QWidgetList top = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(top.begin(), top.end(),
                            [](QWidget* w) {
                                return w->objectName() == QStringLiteral("FormOpJpeg") &&
                                       w->isVisible();
                            }),
              1);
    forms.FormOpJpeg->hide();
}

TEST_F(StartUp, AboutIsShownModally) {
    control<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(dialogs->modalShown, 1);
}

// The framing options dialog opens modally; OK
// stores its controls there, Cancel leaves the record, "Default" puts the
// controls back to the designed framing.
TEST_F(StartUp, FramingOptionsAreStoredOnlyByOk) {
    const FramingOptions before = FramingDefaults;
    const auto press = [&](const char* button, bool defaults = false) {
        dialogs->onModal = [=](QDialog& dialog) {
            const auto find = [&](const char* name) {
                return dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
            };
            find("RadioAnchorNorthWest")->click();
            find("RadioSizeRatioPad")->click();
            dialog.findChild<QListWidget*>(QStringLiteral("ListFill"))->setCurrentRow(3);
            find("CheckBoxKeepDates")->setChecked(true);
            if (defaults)
                find("SpeedButtonDefault")->click();
            find(button)->click();
        };
        control<QToolButton>("SpeedButtonFraming")->click();
    };
    press("BitBtnCancel");
    EXPECT_EQ(FramingDefaults, before);
    press("BitBtnOk");
    EXPECT_EQ(FramingDefaults,
              (FramingOptions{Anchor::NorthWest, Fill::Blur, true, SizeMode::RatioPad}));
    press("BitBtnOk", true);
    EXPECT_EQ(FramingDefaults, FramingOptions{});
    EXPECT_EQ(dialogs->modalShown, 3);
    FramingDefaults = before;
}

TEST_F(StartUp, CloseSetsStopAndClosesTheWindow) {
    window().show();
    control<QToolButton>("SpeedButtonClose")->click();
    EXPECT_TRUE(window().stopRequested());
    EXPECT_FALSE(window().isVisible());
}

TEST_F(StartUp, ClosingInsideARunningHandlerWaitsUntilItReturns) {
    window().show();
    bool visibleAfterClose = false;
    dispatch([&] {
        window().close();
        visibleAfterClose = window().isVisible();
    });
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_FALSE(window().isVisible());
}

} // namespace
} // namespace kadrix::test
