#include "InputRequest.h"

#include "Core/Operations/Operation.h"
#include "Util/IObserver.h"

#include <limits>
#include <sstream>

namespace Core {
namespace Operations {

namespace {
// How far the point reader looks for the comma after a number.
constexpr std::streamsize kSeparatorSearchLength = 100;
}

void InputRequest::postMessage(const std::string &text)
{
    lastMessage = text;
    if (text.empty())
        return;
    const auto notified = observers; // an observer may add observers
    for (const auto &observer : notified)
        observer->update();
}

void InputRequest::finishOtherRequester(Operation *op)
{
    if (waiting && waiting != op) {
        Operation *previous = waiting;
        waiting = nullptr;
        previous->finish();
    }
}

void InputRequest::requestEnter(Operation *op, bool *enterFlag)
{
    finishOtherRequester(op);
    waiting = op;
    enterRequester = op;
    enterSeen = enterFlag;
    waitingForEnter = true;
}

void InputRequest::requestPoint(Operation *op, Util::Vector4D *target, bool *receivedFlag)
{
    finishOtherRequester(op);
    received = receivedFlag;
    if (received)
        *received = false;
    pointTarget = target;
    waiting = op;
    valueRequester = op;
    requestMode = PointMode;
}

void InputRequest::requestText(Operation *op, std::string *target, bool *receivedFlag)
{
    finishOtherRequester(op);
    received = receivedFlag;
    if (received)
        *received = false;
    textTarget = target;
    waiting = op;
    valueRequester = op;
    requestMode = TextMode;
}

void InputRequest::clearRequest()
{
    waiting = nullptr;
    requestMode = NoRequest;
    waitingForEnter = false; // a stale flag would let a later request resume on a bare Enter
}

void InputRequest::resetRequest()
{
    clearRequest();
    picking = nullptr;
    pickingMode = kDefaultPickMode;
}

void InputRequest::forget(Operation *op)
{
    const bool wasRequester = waiting == op;
    if (wasRequester)
        waiting = nullptr;
    if (wasRequester || valueRequester == op) {
        valueRequester = nullptr;
        requestMode = NoRequest;
        received = nullptr;
        textTarget = nullptr;
        pointTarget = nullptr;
    }
    if (wasRequester || enterRequester == op) {
        enterRequester = nullptr;
        waitingForEnter = false;
        enterSeen = nullptr;
    }
    if (picking == op)
        picking = nullptr;
}

bool InputRequest::readPoint(const std::string &text, Util::Vector4D &point)
{
    std::istringstream in(text);
    double x = 0.0, y = 0.0, z = 0.0;
    in >> x;
    in.ignore(kSeparatorSearchLength, ',');
    in >> y;
    in.ignore(kSeparatorSearchLength, ',');
    in >> z;
    if (in.fail())
        return false;
    point.x = x;
    point.y = y;
    point.z = z;
    return true;
}

void InputRequest::submit(const std::string &text)
{
    if (waiting && !text.empty() && (requestMode == PointMode || requestMode == TextMode)) {
        bool accepted = false;
        if (requestMode == PointMode) {
            Util::Vector4D point = pointTarget ? *pointTarget : Util::Vector4D();
            accepted = readPoint(text, point);
            if (accepted && pointTarget)
                *pointTarget = point;
        } else {
            if (textTarget)
                *textTarget = text;
            accepted = true;
        }
        if (accepted) {
            Operation *op = waiting;
            waiting = nullptr;
            requestMode = NoRequest;
            if (received)
                *received = true;
            op->execute();
            return;
        }
        postMessage(kInvalidPointMessage);
    }
    if (waiting && waitingForEnter) {
        Operation *op = waiting;
        if (enterSeen)
            *enterSeen = true;
        waiting = nullptr;
        waitingForEnter = false;
        op->execute();
    }
}

void InputRequest::deliverPick(const Util::Vector4D &worldPoint, bool final)
{
    if (!waiting || requestMode != PointMode)
        return;
    lastClick = worldPoint;
    if (final)
        pickCounter = 0;
    Operation *op = waiting;
    waiting = nullptr;
    requestMode = NoRequest;
    op->execute();
}

void InputRequest::addObserver(std::shared_ptr<Util::IObserver> observer)
{
    observers.push_back(std::move(observer));
}

} // namespace Operations
} // namespace Core
