#pragma once

#include "Model/ColorTable.h"

#include <QPainter>
#include <QWidget>

namespace Ui {

// The central area of the main window until the 3D view takes its place: it clears to the
// background colour and repaints when the model asks for it.
class PlaceholderView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

public slots:
    void updateGL() { update(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const auto c = Model::ColorTable::instance().color(Model::ColorTable::BackgroundColor);
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgbF(c.x, c.y, c.z, 1.0));
    }
};

} // namespace Ui
