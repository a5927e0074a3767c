#include "form_op_jpeg.h"

#include "ui_form_op_jpeg.h"

#include "dispatch.h"
#include "integer_text.h"
#include "jpeg_defaults.h"

#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace kadrix {
namespace {

constexpr qint64 MinQuality = 5;
constexpr qint64 MaxQuality = 95;
constexpr qint64 QualityStep = 10;

} // namespace

TFormOpJpeg::TFormOpJpeg(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormOpJpeg>()) {
    ui->setupUi(this);
    // The designer's generated code keeps only the size of a top-level form.
    move(691, 32);
    setFixedSize(295, 431);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    // It stands beside the main window: closing that one ends the program
    // even while this dialog is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    ui->BitBtnOk->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    // The change rule must be in place before the defaults write "100".
    bindHandlers();
    dispatch([this] { FormCreate(); });
}

TFormOpJpeg::~TFormOpJpeg() = default;

void TFormOpJpeg::bindHandlers() {
    connect(ui->SpeedButtonDefaut, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonDefautClick(); }));
    connect(ui->BitBtnOk, &QPushButton::clicked, this, guarded([this] { BitBtnOkClick(); }));
    connect(ui->SpeedButtonUp, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonUpClick(); }));
    connect(ui->SpeedButtonDown, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonDownClick(); }));
    // textChanged fires for typed and programmatic changes alike, and not
    // when a new text equals the old one.
    connect(ui->EditCompressionQuality, &QLineEdit::textChanged, this,
            guarded([this] { EditCompressionQualityChange(); }));
    ui->EditCompressionQuality->installEventFilter(this);
}

bool TFormOpJpeg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->EditCompressionQuality && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        dispatch([this, key] { EditCompressionQualityKeyDown(key); });
    }
    return QDialog::eventFilter(watched, event);
}

void TFormOpJpeg::FormCreate() {
    RestoreDefaults();
}

void TFormOpJpeg::SpeedButtonDefautClick() {
    RestoreDefaults();
}

void TFormOpJpeg::BitBtnOkClick() {
    ApplyOptions();
    close();
}

bool TFormOpJpeg::cutInvalidQuality() {
    const QString text = ui->EditCompressionQuality->text();
    const IntegerReading reading = readInteger(text);
    if (reading.errorPosition == 0)
        return false;
    ui->EditCompressionQuality->setText(text.left(reading.errorPosition - 1));
    return true;
}

void TFormOpJpeg::SpeedButtonUpClick() {
    if (cutInvalidQuality())
        return;
    const qint64 value = readInteger(ui->EditCompressionQuality->text()).value + QualityStep;
    ui->EditCompressionQuality->setText(QString::number(value >= MaxQuality ? MaxQuality : value));
}

void TFormOpJpeg::SpeedButtonDownClick() {
    if (cutInvalidQuality())
        return;
    const qint64 value = readInteger(ui->EditCompressionQuality->text()).value - QualityStep;
    ui->EditCompressionQuality->setText(QString::number(value <= MinQuality ? MinQuality : value));
}

// Keeps the field a number from 5 to 95. Each setText below runs this rule
// again on the new text (when the text actually changes).
void TFormOpJpeg::EditCompressionQualityChange() {
    QLineEdit* edit = ui->EditCompressionQuality;
    const QString text = edit->text();
    const IntegerReading reading = readInteger(text);
    if (reading.errorPosition != 0) {
        const QString kept = text.left(reading.errorPosition - 1);
        edit->setText(kept.isEmpty() ? QString::number(MinQuality) : kept);
    }
    if (reading.value > MaxQuality)
        edit->setText(QString::number(MaxQuality));
    if (reading.value < MinQuality)
        edit->setText(QString::number(MinQuality));
}

void TFormOpJpeg::EditCompressionQualityKeyDown(int) {}

// The controls are set from DialogJpegDefaults in the dialog's own order;
// the quality field gets "100" first, which the change rule cuts to 95.
void TFormOpJpeg::RestoreDefaults() {
    const TJPEGDefaults& d = DialogJpegDefaults;
    ui->EditCompressionQuality->setText(QStringLiteral("100"));
    ui->CheckBoxGrayScale->setChecked(d.GrayScale);
    ui->ComboBoxPerformance->setCurrentIndex(int(d.Performance));
    ui->ComboBoxPixelFormat->setCurrentIndex(int(d.PixelFormat));
    ui->CheckBoxProgressiveEncoding->setChecked(d.ProgressiveEncoding);
    ui->CheckBoxProgressiveDisplay->setChecked(d.ProgressiveDisplay);
    ui->ComboBoxScale->setCurrentIndex(int(d.Scale));
    ui->CheckBoxSmoothing->setChecked(d.Smoothing);
    ui->CheckBoxDisableHorzSubSampling->setChecked(!d.HorzSubSampling);
    ui->CheckBoxDisableVertSubSampling->setChecked(!d.VertSubSampling);
    ui->CheckBoxKeepMetadata->setChecked(d.KeepMetadata);
    ui->CheckBoxAutoOrient->setChecked(d.AutoOrient);
    ApplyOptions();
}

void TFormOpJpeg::ApplyOptions() {
    // The lists cannot be typed into, so each always has an item chosen.
    const auto item = [](const QComboBox* box) {
        return std::uint8_t(std::max(box->currentIndex(), 0));
    };
    JpegDefaults.CompressionQuality =
        std::uint8_t(readInteger(ui->EditCompressionQuality->text()).value);
    JpegDefaults.GrayScale = ui->CheckBoxGrayScale->isChecked();
    JpegDefaults.Performance = JpegPerformance(item(ui->ComboBoxPerformance));
    JpegDefaults.PixelFormat = JpegPixelFormat(item(ui->ComboBoxPixelFormat));
    JpegDefaults.ProgressiveDisplay = ui->CheckBoxProgressiveDisplay->isChecked();
    JpegDefaults.ProgressiveEncoding = ui->CheckBoxProgressiveEncoding->isChecked();
    JpegDefaults.Scale = JpegScale(item(ui->ComboBoxScale));
    JpegDefaults.Smoothing = ui->CheckBoxSmoothing->isChecked();
    JpegDefaults.HorzSubSampling = !ui->CheckBoxDisableHorzSubSampling->isChecked();
    JpegDefaults.VertSubSampling = !ui->CheckBoxDisableVertSubSampling->isChecked();
    JpegDefaults.KeepMetadata = ui->CheckBoxKeepMetadata->isChecked();
    JpegDefaults.AutoOrient = ui->CheckBoxAutoOrient->isChecked();
}

} // namespace kadrix
