#pragma once

#include <QDialog>

namespace kadrix {

// The About dialog: shown modally by the main window's "About" button.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
};

} // namespace kadrix
