#include "app/EventLoop.h"

#include "app/MainEvents.h"
#include "core/Clock.h"
#include "core/Config.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm {

namespace {
qint64 nowSeconds() {
    return clock().now().toSecsSinceEpoch();
}
}  // namespace

EventLoop::EventLoop(ZafEventManager& events, ZafWindowManager& windows)
    : events_(events), windows_(windows) {}

void EventLoop::Start() {
    timeout_ = readPrivTimeout();
    lastActivity_ = nowSeconds();
    events_.TakeInputSeen();
}

bool EventLoop::Step(int flags, ZafEventType* result) {
    ZafEventStruct event;
    if (events_.Get(event, flags) != 0) {
        return false;
    }
    const qint64 now = nowSeconds();
    if (event.InputType() == E_KEY || event.InputType() == E_MOUSE || events_.TakeInputSeen()) {
        lastActivity_ = now;
    }
    if (now - lastActivity_ > timeout_ && privilegeLevel() != kLevelFlightLine) {
        lastActivity_ = now;
        windows_.Event(ZafEventStruct(MainEvent::InactivityRevert));
        showWarning(QStringLiteral("Privilege Level Change"),
                    QStringLiteral("Reverting to Flight-Line level due to inactivity"));
    }
    *result = windows_.Event(event);
    return true;
}

ZafEventType EventLoop::Run(int flags) {
    if (windows_.Count() == 0) {
        return S_NO_WINDOW;
    }
    Start();
    ZafEventType result = 0;
    while (true) {
        if (!Step(flags, &result)) {
            continue;
        }
        if (result == S_EXIT || result == S_NO_WINDOW) {
            return result;
        }
    }
}

}  // namespace tolm
