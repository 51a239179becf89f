#pragma once

#include "Util/Vector4D.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Util {
class IObserver;
}

namespace Core {
namespace Operations {

class Operation;

// The one place where an operation waits for typed or clicked input and posts its messages.
// The console hands every entered line to `submit`; observers (the console's) are notified of
// every non-empty message.
class InputRequest {
public:
    enum Mode : uint32_t { PointMode = 2, TextMode = 3, NoRequest = 5 };
    static constexpr uint32_t kDefaultPickMode = 2;
    static constexpr const char *kInvalidPointMessage = "Invalid entry. Enter the x, y, z coordinates.";

    InputRequest() = default;
    InputRequest(const InputRequest &) = delete;
    InputRequest &operator=(const InputRequest &) = delete;

    void postMessage(const std::string &text);
    std::string message() const { return lastMessage; }

    // Each request first finishes a different operation that was still the requester.
    void requestEnter(Operation *op, bool *enterSeen = nullptr);
    void requestPoint(Operation *op, Util::Vector4D *target, bool *received);
    void requestText(Operation *op, std::string *target, bool *received = nullptr);

    void clearRequest();
    // clearRequest, and also forgets the pick requester and restores the pick mode.
    void resetRequest();
    // Drops every reference to `op` (called when an operation goes away).
    void forget(Operation *op);

    // One line from the console. A point request reads "x, y, z"; a text request takes the
    // line as it stands; otherwise a waiting-for-Enter requester is resumed; anything else is
    // not interpreted.
    void submit(const std::string &text);

    Operation *requester() const { return waiting; }
    Operation *pickRequester() const { return picking; }
    void setPickRequester(Operation *op) { picking = op; }
    uint32_t mode() const { return requestMode; }
    uint32_t pickMode() const { return pickingMode; }
    void setPickMode(uint32_t mode) { pickingMode = mode; }
    bool isWaitingForEnter() const { return waitingForEnter; }

    void addObserver(std::shared_ptr<Util::IObserver> observer);

    // Clicks in the 3D view. An operation that expects clicks arms a pick by setting the pick
    // state to kPickArmed; the view leaves it non-zero for every intermediate point and sets it
    // to 0 with the click that ends the pick. A delivered point satisfies a pending point
    // request without setting its `received` flag (which tells a typed point), and resumes the
    // requester, which reads the point from clickedPoint().
    static constexpr uint32_t kPickArmed = 3;
    void deliverPick(const Util::Vector4D &worldPoint, bool final);
    Util::Vector4D clickedPoint() const { return lastClick; }
    uint32_t pickState() const { return pickCounter; }
    void setPickState(uint32_t state) { pickCounter = state; }

private:
    void finishOtherRequester(Operation *op);
    static bool readPoint(const std::string &text, Util::Vector4D &point);

    Operation *waiting = nullptr;
    // Who asked for the value and who for Enter: an Enter can resume an operation while its
    // point or text request stays open, so `waiting` alone does not tell whose targets these are.
    Operation *valueRequester = nullptr;
    Operation *enterRequester = nullptr;
    Operation *picking = nullptr;
    std::string *textTarget = nullptr;
    Util::Vector4D *pointTarget = nullptr;
    uint32_t requestMode = NoRequest;
    uint32_t pickingMode = kDefaultPickMode;
    bool *received = nullptr;
    bool *enterSeen = nullptr;
    bool waitingForEnter = false;
    std::string lastMessage;
    Util::Vector4D lastClick;
    uint32_t pickCounter = 0;
    std::vector<std::shared_ptr<Util::IObserver>> observers;
};

} // namespace Operations
} // namespace Core
