#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class TFormAbout;
}

namespace kadrix {

// The About dialog: the program's name, a picture and a read-only text about
// the program, which "Print..." prints. Shown modally by the main window's
// "About" button; handlers keep the names of their control and event.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
    ~TFormAbout() override;

    // The lines of Memo1, blank lines included.
    QStringList memoLines() const;

    void SpeedButton1Click();
    void SpeedButton2Click();

private:
    void bindHandlers();

    std::unique_ptr<Ui::TFormAbout> ui;
};

} // namespace kadrix
