#pragma once

#include "Util/IObserver.h"

#include <QObject>

namespace Ui {
namespace Observers {

// Tells the presenter that the undo (or redo) stack changed.
class UndoRedoObserver : public QObject, public Util::IObserver {
    Q_OBJECT
public:
    using QObject::QObject;
    void update() override { emit stackChanged(); }

signals:
    void stackChanged();
};

} // namespace Observers
} // namespace Ui
