#pragma once

#include <QDialog>

namespace Ui {

// "About": a fixed-size modal box with the credits page.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);
};

} // namespace Ui
