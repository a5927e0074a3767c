#include "form_op_jpeg.h"
#include "jpeg_image.h"
#include "jpeg_test_files.h"

#include "scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

// The options every creation and every "Default" write: the record that
// kadrix-batch starts from too.
TJPEGDefaults dialogDefaults() {
    return DialogJpegDefaults;
}

TEST(DialogJpegDefaultsTest, AreTheDialogsDefaults) {
    TJPEGDefaults d;
    d.CompressionQuality = 95;
    d.HorzSubSampling = false;
    d.VertSubSampling = false;
    EXPECT_EQ(DialogJpegDefaults, d);
}

class FormOpJpegTest : public ::testing::Test {
protected:
    void TearDown() override { JpegDefaults = saved_; }

    template <typename T> T* control(const char* name) {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }
    QLineEdit* quality() { return control<QLineEdit>("EditCompressionQuality"); }

    // Replaces the whole text as typing or pasting would.
    void typeOver(const QString& text, bool oneKeyAtATime) {
        quality()->selectAll();
        if (oneKeyAtATime)
            for (QChar ch : text)
                quality()->insert(QString(ch));
        else
            quality()->insert(text);
    }

    TJPEGDefaults saved_ = JpegDefaults;
    ScriptedDialogsScope dialogs;
    std::unique_ptr<TFormOpJpeg> form = std::make_unique<TFormOpJpeg>();
};

TEST_F(FormOpJpegTest, WindowAndControlsAsDesigned) {
    EXPECT_EQ(form->objectName(), QStringLiteral("FormOpJpeg"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Options Jpeg"));
    EXPECT_EQ(form->size(), QSize(295, 431));
    EXPECT_EQ(form->pos(), QPoint(691, 32));
    EXPECT_FALSE(form->isModal());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form->isVisible());

    const struct {
        const char* name;
        const char* caption;
        QPoint place;
    } captions[] = {
        {"Label1", "Compression (100  best):", {24, 16}},
        {"SpeedButtonUp", "+", {208, 8}},
        {"SpeedButtonDown", "-", {208, 24}},
        {"SpeedButtonDefaut", "Default", {16, 368}},
        {"BitBtnOk", "OK", {192, 368}},
        {"CheckBoxProgressiveEncoding", "Progressive JPEG", {48, 48}},
        {"CheckBoxGrayScale", "Grey levels only", {48, 72}},
        {"CheckBoxDisableHorzSubSampling", "Desactivate horizontal  loss", {24, 104}},
        {"CheckBoxDisableVertSubSampling", "Desactivate vertical loss", {24, 128}},
        {"CheckBoxKeepMetadata", "Keep EXIF and colour profile", {24, 148}},
        {"CheckBoxSmoothing", "Smoothing", {16, 24}},
        {"CheckBoxProgressiveDisplay", "Progressive ", {16, 48}},
        {"CheckBoxAutoOrient", "Upright (EXIF orientation)", {24, 348}},
    };
    for (const auto& c : captions) {
        QWidget* widget = control<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        EXPECT_EQ(text, QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(widget->pos(), c.place) << c.name;
    }
    EXPECT_NE(qobject_cast<QToolButton*>(control<QWidget>("SpeedButtonDefaut")), nullptr);
    EXPECT_FALSE(control<QPushButton>("BitBtnOk")->icon().isNull());

    auto* group = control<QGroupBox>("GroupBox1");
    EXPECT_EQ(group->title(), QStringLiteral("Reading infos"));
    EXPECT_EQ(group->geometry(), QRect(64, 168, 177, 177));
    for (const char* inside : {"CheckBoxSmoothing", "CheckBoxProgressiveDisplay",
                               "ComboBoxPixelFormat", "ComboBoxScale", "ComboBoxPerformance"})
        EXPECT_EQ(control<QWidget>(inside)->parentWidget(), group) << inside;

    const struct {
        const char* name;
        QStringList items;
        QPoint place;
    } lists[] = {
        {"ComboBoxPixelFormat", {"24 bits", "8 bits"}, {16, 76}},
        {"ComboBoxScale",
         {"Pleine Taille", "Demie Taille", "Quart de Taille",
          QString::fromUtf8("Huitième de Taille")},
         {16, 108}},
        {"ComboBoxPerformance", {QString::fromUtf8("Qualité"), "Vitesse"}, {16, 140}},
    };
    for (const auto& l : lists) {
        auto* box = control<QComboBox>(l.name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, l.items) << l.name;
        EXPECT_EQ(box->currentIndex(), 0) << l.name;
        EXPECT_FALSE(box->isEditable()) << l.name;
        EXPECT_EQ(box->pos(), l.place) << l.name;
    }

    EXPECT_EQ(quality()->text(), QStringLiteral("95"));
    EXPECT_EQ(quality()->pos(), QPoint(152, 12));
    const struct {
        const char* name;
        bool checked;
    } checks[] = {{"CheckBoxProgressiveEncoding", false},
                  {"CheckBoxGrayScale", false},
                  {"CheckBoxDisableHorzSubSampling", true},
                  {"CheckBoxDisableVertSubSampling", true},
                  {"CheckBoxSmoothing", true},
                  {"CheckBoxProgressiveDisplay", false},
                  {"CheckBoxAutoOrient", true}};
    for (const auto& c : checks)
        EXPECT_EQ(control<QCheckBox>(c.name)->isChecked(), c.checked) << c.name;
}

TEST_F(FormOpJpegTest, KeyboardOrder) {
    const QStringList expected = {"EditCompressionQuality",
                                  "CheckBoxGrayScale",
                                  "CheckBoxProgressiveEncoding",
                                  "BitBtnOk",
                                  "CheckBoxProgressiveDisplay",
                                  "ComboBoxPixelFormat",
                                  "ComboBoxScale",
                                  "ComboBoxPerformance",
                                  "CheckBoxSmoothing",
                                  "CheckBoxDisableHorzSubSampling",
                                  "CheckBoxDisableVertSubSampling",
                                  "CheckBoxKeepMetadata",

                                  "CheckBoxAutoOrient"};
    QStringList order;
    QWidget* start = quality();
    QWidget* w = start;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && order.size() < 50);
    EXPECT_EQ(order, expected);
}

TEST_F(FormOpJpegTest, CreationWritesTheDialogDefaults) {
    EXPECT_EQ(JpegDefaults, dialogDefaults());
    JpegDefaults = TJPEGDefaults{};
    TFormOpJpeg another;
    EXPECT_EQ(JpegDefaults, dialogDefaults());
    EXPECT_EQ(another.findChild<QLineEdit*>("EditCompressionQuality")->text(), "95");
}

TEST_F(FormOpJpegTest, ChangeRuleKeepsQualityBetween5And95) {
    const struct {
        const char* typed;
        bool oneKeyAtATime;
        const char* expected;
    } cases[] = {
        {"951", true, "95"}, {"3", true, "5"},     {"8", true, "8"},
        {"80", true, "80"},  {"abc", false, "5"},  {"12a", false, "12"},
        {"-7", false, "5"},  {"100", false, "95"}, {"0x20", false, "0x20"},
    };
    for (const auto& c : cases) {
        typeOver(QString::fromLatin1(c.typed), c.oneKeyAtATime);
        EXPECT_EQ(quality()->text(), QString::fromLatin1(c.expected)) << c.typed;
    }
    quality()->setText(QStringLiteral("8"));
    quality()->end(false);
    quality()->insert(QStringLiteral("0"));
    EXPECT_EQ(quality()->text(), QStringLiteral("80"));

    quality()->selectAll();
    quality()->del();
    EXPECT_EQ(quality()->text(), QStringLiteral("5"));
    EXPECT_EQ(JpegDefaults, dialogDefaults()) << "typing applies nothing";
}

TEST_F(FormOpJpegTest, StepButtons) {
    const struct {
        const char* start;
        const char* button;
        const char* expected;
    } cases[] = {{"80", "SpeedButtonUp", "90"},  {"85", "SpeedButtonUp", "95"},
                 {"90", "SpeedButtonUp", "95"},  {"20", "SpeedButtonDown", "10"},
                 {"15", "SpeedButtonDown", "5"}, {"12", "SpeedButtonDown", "5"},
                 {"5", "SpeedButtonDown", "5"},  {"95", "SpeedButtonUp", "95"}};
    for (const auto& c : cases) {
        quality()->setText(QString::fromLatin1(c.start));
        control<QToolButton>(c.button)->click();
        EXPECT_EQ(quality()->text(), QString::fromLatin1(c.expected)) << c.start << " " << c.button;
    }
    EXPECT_EQ(JpegDefaults.CompressionQuality, 95) << "the buttons apply nothing";
}

TEST_F(FormOpJpegTest, OkAppliesTheControlsAndTheCloseBoxDoesNot) {
    form->show();
    quality()->setText(QStringLiteral("40"));
    control<QCheckBox>("CheckBoxGrayScale")->setChecked(true);
    control<QCheckBox>("CheckBoxProgressiveEncoding")->setChecked(true);
    control<QCheckBox>("CheckBoxProgressiveDisplay")->setChecked(true);
    control<QCheckBox>("CheckBoxSmoothing")->setChecked(false);
    control<QCheckBox>("CheckBoxDisableHorzSubSampling")->setChecked(false);
    control<QCheckBox>("CheckBoxAutoOrient")->setChecked(false);
    control<QComboBox>("ComboBoxPixelFormat")->setCurrentIndex(1);
    control<QComboBox>("ComboBoxScale")->setCurrentIndex(3);
    control<QComboBox>("ComboBoxPerformance")->setCurrentIndex(1);
    control<QCheckBox>("CheckBoxKeepMetadata")->setChecked(false);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(JpegDefaults, dialogDefaults());
    EXPECT_EQ(quality()->text(), QStringLiteral("40")) << "the controls keep their state";

    form->show();
    control<QPushButton>("BitBtnOk")->click();
    EXPECT_FALSE(form->isVisible());
    TJPEGDefaults expected;
    expected.CompressionQuality = 40;
    expected.GrayScale = true;
    expected.Performance = JpegPerformance::BestSpeed;
    expected.PixelFormat = JpegPixelFormat::Bits8;
    expected.ProgressiveDisplay = true;
    expected.ProgressiveEncoding = true;
    expected.Scale = JpegScale::Eighth;
    expected.Smoothing = false;
    expected.HorzSubSampling = true;
    expected.VertSubSampling = false;
    expected.KeepMetadata = false;
    expected.AutoOrient = false;
    EXPECT_EQ(JpegDefaults, expected);
}

TEST_F(FormOpJpegTest, DefaultRestoresAndApplies) {
    quality()->setText(QStringLiteral("50"));
    control<QComboBox>("ComboBoxScale")->setCurrentIndex(2);
    control<QCheckBox>("CheckBoxDisableVertSubSampling")->setChecked(false);
    control<QCheckBox>("CheckBoxKeepMetadata")->setChecked(false);
    control<QCheckBox>("CheckBoxAutoOrient")->setChecked(false);
    control<QPushButton>("BitBtnOk")->click();
    ASSERT_EQ(JpegDefaults.CompressionQuality, 50);
    ASSERT_FALSE(JpegDefaults.AutoOrient);

    control<QToolButton>("SpeedButtonDefaut")->click();
    EXPECT_EQ(quality()->text(), QStringLiteral("95"));
    EXPECT_EQ(control<QComboBox>("ComboBoxScale")->currentIndex(), 0);
    EXPECT_TRUE(control<QCheckBox>("CheckBoxDisableVertSubSampling")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckBoxKeepMetadata")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckBoxAutoOrient")->isChecked());
    EXPECT_EQ(JpegDefaults, dialogDefaults());
}

TEST_F(FormOpJpegTest, EighthScaleAppliesToPicturesCreatedAfterOk) {
    const QByteArray jpeg = encodeRaw(gradient(160, 120));
    TJPEGImage before;
    before.loadFromData(jpeg);
    control<QComboBox>("ComboBoxScale")->setCurrentIndex(3);
    control<QPushButton>("BitBtnOk")->click();
    TJPEGImage after;
    after.loadFromData(jpeg);
    EXPECT_EQ(QSize(before.width(), before.height()), QSize(160, 120));
    EXPECT_EQ(QSize(after.width(), after.height()), QSize(20, 15));
}

} // namespace
} // namespace kadrix::test
