#pragma once

#include "Util/IObserver.h"

#include <QObject>

namespace Ui {
namespace Observers {

// Turns a model notification into the view's repaint signal.
class UpdateObserver : public QObject, public Util::IObserver {
    Q_OBJECT
public:
    using QObject::QObject;
    void update() override { emit updateGL(); }

signals:
    void updateGL();
};

} // namespace Observers
} // namespace Ui
