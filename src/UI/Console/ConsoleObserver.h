#pragma once

#include "Util/IObserver.h"

#include <QObject>
#include <QString>

namespace Core {
namespace Operations {
class InputRequest;
}
}

namespace Ui {
namespace Console {

// Copies every non-empty message posted on the input request into the console.
class ConsoleObserver : public QObject, public Util::IObserver {
    Q_OBJECT
public:
    explicit ConsoleObserver(Core::Operations::InputRequest *request, QObject *parent = nullptr);
    void update() override;

signals:
    void messageWritten(QString message);

private:
    Core::Operations::InputRequest *request;
};

} // namespace Console
} // namespace Ui
