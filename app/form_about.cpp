#include "form_about.h"

#include "about_picture.h"
#include "about_text.h"
#include "dispatch.h"
#include "text_printer.h"
#include "ui_form_about.h"

#include <QPixmap>

namespace kadrix {
namespace {

// The light blue-grey of an inactive window caption's gradient end.
const QColor InactiveCaptionGradient(215, 228, 242);

} // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormAbout>()) {
    ui->setupUi(this);
    // A fixed dialog border: no resizing, no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(613, 430);
    move(592, 221);

    QPalette background = palette();
    background.setColor(QPalette::Window, InactiveCaptionGradient);
    setPalette(background);

    ui->Image1->setPixmap(QPixmap::fromImage(aboutPicture()));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(40);
    title.setBold(true);
    title.setUnderline(true);
    ui->Label1->setFont(title);
    ui->Label1->adjustSize();

    ui->Memo1->setPlainText(aboutText().join(QLatin1Char('\n')));
    bindHandlers();
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::bindHandlers() {
    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            guarded([this] { SpeedButton1Click(); }));
    connect(ui->SpeedButton2, &QToolButton::clicked, this,
            guarded([this] { SpeedButton2Click(); }));
}

QStringList TFormAbout::memoLines() const {
    return ui->Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TFormAbout::SpeedButton1Click() {
    close();
}

void TFormAbout::SpeedButton2Click() {
    printing().printLines(memoLines());
}

} // namespace kadrix
