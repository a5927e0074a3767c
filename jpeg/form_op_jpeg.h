#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFormOpJpeg;
}

namespace kadrix {

// The JPEG options dialog: modeless, always on top, hidden on close. Its only
// output is JpegDefaults, written at creation, by "Default" and by OK.
class TFormOpJpeg : public QDialog {
    Q_OBJECT
public:
    explicit TFormOpJpeg(QWidget* parent = nullptr);
    ~TFormOpJpeg() override;

    void FormCreate();
    void SpeedButtonDefautClick();
    void BitBtnOkClick();
    void SpeedButtonUpClick();
    void SpeedButtonDownClick();
    void EditCompressionQualityChange();
    void EditCompressionQualityKeyDown(int key);

    // Puts every control back to its default and applies them.
    void RestoreDefaults();
    // Writes the controls into JpegDefaults.
    void ApplyOptions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindHandlers();
    // Cuts the quality text to its valid beginning; false when it was valid.
    bool cutInvalidQuality();

    std::unique_ptr<Ui::TFormOpJpeg> ui;
};

} // namespace kadrix
