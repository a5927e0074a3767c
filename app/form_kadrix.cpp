#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dialog_service.h"
#include "dispatch.h"
#include "event_loop.h"
#include "file_filter.h"
#include "filedrag.h"
#include "form_about.h"
#include "form_framing.h"
#include "form_op_jpeg.h"
#include "image_list_model.h"
#include "naming.h"
#include "picture_registry.h"
#include "result_writer.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QStyle>

namespace kadrix {
namespace {

constexpr int SwatchSize = 30;

} // namespace

TFormKadrix::TFormKadrix(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TFormKadrix>()) {
    ui->setupUi(this);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QFont fixedPitch(QStringLiteral("Courier New"));
    fixedPitch.setStyleHint(QFont::TypeWriter);
    fixedPitch.setPixelSize(11);
    ui->LabelMinSize->setFont(fixedPitch);
    ui->LabelMaxSize->setFont(fixedPitch);
    // The designed outer size is 1017 x 563; the client area is what remains
    // inside a standard frame, and the window keeps it.
    setFixedSize(1009, 536);
    ui->StatusBar1->setPanelText(0, QStringLiteral("couleur"));
    ui->StatusBar1->setPanelText(1, QStringLiteral("RGB = 000/000/000"));
    ui->StatusBar1->setPanelText(2, QStringLiteral("pos = 0000-0000"));
    ui->StatusBar1->setPanelText(3, QStringLiteral("Statut"));
    ui->StatusBar1->setOwnerDrawn(0, true);
    ui->StatusBar1->setPanelAccessibleName(0, QStringLiteral("Colour under the pointer"));

    const auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    ui->SpeedButtonSrcDir->setIcon(icon(QStyle::SP_DialogOpenButton));
    ui->SpeedButtonList->setIcon(icon(QStyle::SP_BrowserReload));
    ui->SpeedButtonDstDir->setIcon(icon(QStyle::SP_DirOpenIcon));
    ui->SpeedButtonRedim->setIcon(icon(QStyle::SP_MediaPlay));
    ui->SpeedButtonRedim->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->SpeedButtonStop->setIcon(icon(QStyle::SP_MediaStop));
    ui->SpeedButtonClose->setIcon(icon(QStyle::SP_DialogCloseButton));
    ui->SpeedButtonClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->SpeedButtonWipeColor->setIcon(icon(QStyle::SP_DesktopIcon));
    ui->SpeedButtonBrush->setIcon(icon(QStyle::SP_FileDialogContentsView));
    ui->SpeedButtonPipette->setIcon(icon(QStyle::SP_ArrowDown));
    ui->SpeedButtonDefRename->setIcon(icon(QStyle::SP_DialogResetButton));

    viewModeGroup_ = new QButtonGroup(this);
    viewModeGroup_->addButton(ui->RadioSource, 0);
    viewModeGroup_->addButton(ui->RadioModedSource, 1);
    viewModeGroup_->addButton(ui->RadioResult, 2);

    // Bound before FormCreate runs, so that its writes into the folder and
    // rename fields raise their change events as a user's edits would.
    bindNamingHandlers();
    dispatch([this] { FormCreate(); });
    bindHandlers();
    bindBatchHandlers();
    bindListHandlers();
    bindViewerHandlers();
    bindScanHandlers();
    bindDropHandlers();
    bindColourHandlers();
    bindPlacementHandlers();
}

TFormKadrix::~TFormKadrix() {
    FormDestroy();
}

void TFormKadrix::setDialogs(TFormOpJpeg* formOpJpeg, TFormAbout* formAbout) {
    FormOpJpeg = formOpJpeg;
    FormAbout = formAbout;
}

int TFormKadrix::viewMode() const {
    return viewModeGroup_->checkedId();
}

void TFormKadrix::bindHandlers() {
    connect(ui->SpeedButtonClose, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonCloseClick(); }));
    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            guarded([this] { SpeedButton1Click(); }));
    connect(ui->SpeedButton2, &QToolButton::clicked, this,
            guarded([this] { SpeedButton2Click(); }));
    connect(ui->SpeedButtonFraming, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonFramingClick(); }));
}

void TFormKadrix::FormCreate() {
    SourceList_ = std::make_unique<SourceList>();

    ui->ComboBoxSrcExt->clear();
    ui->ComboBoxSrcExt->addItems(FilterDescriptions(pictureRegistry().filterText()));
    ui->ComboBoxSrcExt->setCurrentIndex(0);
    ui->ComboBoxDstExt->clear();
    ui->ComboBoxDstExt->addItems(FilterDescriptions(resultFormatFilter()));
    ui->ComboBoxDstExt->setCurrentIndex(0);

    ui->ListBox1->listModel()->setTextSource([this](int row) { return ListBox1Data(row); });
    ui->ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui->ListBox1->setItemHeight(13);

    // The open dialogs start in the current working directory: the dialog
    // service does that whenever it is given no folder.
    ui->EditSrcDir->setText(QDir::currentPath() + QDir::separator());
    ui->CheckBoxAutoDStDir->setChecked(true);
    ui->EditDstDir->setText(automaticDestination(ui->EditSrcDir->text()));

    SpeedButtonDefRenameClick();

    ui->CheckBoxPasaPas->setChecked(true);
    WipeColor = 0;
    Swatch = Bitmap(SwatchSize, SwatchSize);
    Swatch.fill(WipeColor);
    paintSwatch();
    ui->Image1->move(3, 3);
    SampleBitmap = std::make_unique<Bitmap>(SwatchSize, SwatchSize);
}

void TFormKadrix::FormDestroy() {
    SourceList_.reset();
    SampleBitmap.reset();
}

void TFormKadrix::paintSwatch() {
    ui->PanelWipeColor->setPixmap(QPixmap::fromImage(Swatch.image()));
}

void TFormKadrix::SpeedButtonCloseClick() {
    StopRequested = true;
    processPendingMessages();
    close();
}

void TFormKadrix::SpeedButton1Click() {
    if (!FormOpJpeg)
        return;
    FormOpJpeg->show();
    FormOpJpeg->raise();
    FormOpJpeg->activateWindow();
}

void TFormKadrix::SpeedButton2Click() {
    if (FormAbout)
        dialogs().showModal(*FormAbout);
}

void TFormKadrix::SpeedButtonFramingClick() {
    // A new dialog each time, so that it opens on the record in force.
    TFormFraming dialog(this);
    dialogs().showModal(dialog);
}

void TFormKadrix::closeEvent(QCloseEvent* event) {
    // A run in progress must finish before the window goes: the close is
    // carried out once the outermost handler has returned.
    if (runningHandlers() > 0) {
        event->ignore();
        whenNoHandlerRuns([this] { close(); });
        return;
    }
    event->accept();
}

} // namespace kadrix
