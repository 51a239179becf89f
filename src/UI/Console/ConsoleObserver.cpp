#include "ConsoleObserver.h"

#include "Core/Operations/InputRequest.h"

namespace Ui {
namespace Console {

ConsoleObserver::ConsoleObserver(Core::Operations::InputRequest *request, QObject *parent)
    : QObject(parent), request(request)
{
}

void ConsoleObserver::update()
{
    const std::string message = request->message();
    if (!message.empty())
        emit messageWritten(QString::fromStdString(message));
}

} // namespace Console
} // namespace Ui
