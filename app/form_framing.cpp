#include "form_framing.h"

#include "dispatch.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace kadrix {
namespace {

// The anchors as they stand in the 3 x 3 group, row by row, with their
// captions and the names of their buttons.
struct AnchorCell {
    Anchor anchor;
    const char* caption;
    const char* name;
};
constexpr std::array<AnchorCell, 9> AnchorCells{{
    {Anchor::NorthWest, "NW", "RadioAnchorNorthWest"},
    {Anchor::North, "N", "RadioAnchorNorth"},
    {Anchor::NorthEast, "NE", "RadioAnchorNorthEast"},
    {Anchor::West, "W", "RadioAnchorWest"},
    {Anchor::Centre, "Centre", "RadioAnchorCentre"},
    {Anchor::East, "E", "RadioAnchorEast"},
    {Anchor::SouthWest, "SW", "RadioAnchorSouthWest"},
    {Anchor::South, "S", "RadioAnchorSouth"},
    {Anchor::SouthEast, "SE", "RadioAnchorSouthEast"},
}};

// The size choices, in the order of SizeMode.
struct SizeChoice {
    const char* caption;
    const char* name;
};
constexpr std::array<SizeChoice, 3> SizeChoices{{
    {"Fixed W x H", "RadioSizeFixed"},
    {"Ratio W:H, cropped", "RadioSizeRatioCrop"},
    {"Ratio W:H, padded", "RadioSizeRatioPad"},
}};

// ListFill's items, in the order of Fill.
constexpr std::array FillCaptions{"Colour", "Edge", "Mirror", "Blur"};

} // namespace

TFormFraming::TFormFraming(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormFraming"));
    setWindowTitle(QStringLiteral("Framing Options"));
    setModal(true);

    auto* sizeBox = new QGroupBox(QStringLiteral("Size:"), this);
    sizeBox->setObjectName(QStringLiteral("GroupBoxSize"));
    auto* sizeLayout = new QHBoxLayout(sizeBox);
    sizes_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < SizeChoices.size(); ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(SizeChoices[i].caption), sizeBox);
        radio->setObjectName(QString::fromLatin1(SizeChoices[i].name));
        sizes_->addButton(radio, int(i));
        sizeLayout->addWidget(radio);
    }

    auto* anchorBox = new QGroupBox(QStringLiteral("Anchor:"), this);
    anchorBox->setObjectName(QStringLiteral("GroupBoxAnchor"));
    auto* grid = new QGridLayout(anchorBox);
    anchors_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < AnchorCells.size(); ++i) {
        const AnchorCell& cell = AnchorCells[i];
        auto* radio = new QRadioButton(QString::fromLatin1(cell.caption), anchorBox);
        radio->setObjectName(QString::fromLatin1(cell.name));
        radio->setAccessibleName(anchorName(cell.anchor));
        anchors_->addButton(radio, int(cell.anchor));
        grid->addWidget(radio, int(i / 3), int(i % 3));
    }
    // Beside the compass: where the picture's interest lies.
    auto* subject = new QRadioButton(QStringLiteral("Subject"), anchorBox);
    subject->setObjectName(QStringLiteral("RadioAnchorSubject"));
    subject->setAccessibleName(anchorName(Anchor::Subject));
    anchors_->addButton(subject, int(Anchor::Subject));
    grid->addWidget(subject, 1, 3);

    auto* fillBox = new QGroupBox(QStringLiteral("Margins:"), this);
    fillBox->setObjectName(QStringLiteral("GroupBoxFill"));
    auto* fillLayout = new QVBoxLayout(fillBox);
    fills_ = new QListWidget(fillBox);
    fills_->setObjectName(QStringLiteral("ListFill"));
    for (const char* caption : FillCaptions)
        fills_->addItem(QString::fromLatin1(caption));
    fills_->setFixedHeight(fills_->sizeHintForRow(0) * int(FillCaptions.size()) +
                           2 * fills_->frameWidth());
    fillLayout->addWidget(fills_);

    keepDates_ = new QCheckBox(QStringLiteral("Keep the sources' dates"), this);
    keepDates_->setObjectName(QStringLiteral("CheckBoxKeepDates"));

    auto* defaults = new QToolButton(this);
    defaults->setObjectName(QStringLiteral("SpeedButtonDefault"));
    defaults->setText(QStringLiteral("Default"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtnOk"));
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BitBtnCancel"));
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(anchorBox);
    choices->addWidget(fillBox);
    layout->addWidget(sizeBox);
    layout->addLayout(choices);
    layout->addWidget(keepDates_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(defaults, &QToolButton::clicked, this, guarded([this] { SpeedButtonDefaultClick(); }));
    connect(ok, &QPushButton::clicked, this, guarded([this] { BitBtnOkClick(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showOptions(FramingDefaults);
}

FramingOptions TFormFraming::options() const {
    return {Anchor(anchors_->checkedId()), Fill(fills_->currentRow()), keepDates_->isChecked(),
            SizeMode(sizes_->checkedId())};
}

void TFormFraming::showOptions(const FramingOptions& options) {
    sizes_->button(int(options.sizeMode))->setChecked(true);
    anchors_->button(int(options.anchor))->setChecked(true);
    fills_->setCurrentRow(int(options.fill));
    keepDates_->setChecked(options.keepDates);
}

void TFormFraming::SpeedButtonDefaultClick() {
    showOptions(FramingOptions{});
}

void TFormFraming::BitBtnOkClick() {
    FramingDefaults = options();
    accept();
}

} // namespace kadrix
