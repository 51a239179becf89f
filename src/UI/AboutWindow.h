#pragma once

#include <QDialog>

namespace Ui {

// "About": a fixed-size modal box with the credits page, the program's version and a Close
// button.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // The version the build was made from ("0.1").
    static QString version();
};

} // namespace Ui
