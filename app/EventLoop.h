#pragma once
// The program's event loop: the toolkit's dispatching with the inactivity check. After more
// than "PrivTimeout" seconds without keyboard or mouse input, at a level other than Flight Line,
// the main window is told to revert to Flight Line (event 10020) and the user is warned.
#include "toolkit/ZafEvent.h"

class ZafEventManager;
class ZafWindowManager;

namespace tolm {

class EventLoop {
public:
    EventLoop(ZafEventManager& events, ZafWindowManager& windows);

    // Runs until the window manager answers S_EXIT or S_NO_WINDOW, and returns that answer.
    // S_NO_WINDOW at once when there is no window.
    ZafEventType Run(int flags = 0);

    // The pieces of Run, for driving the loop one event at a time: Start reads the time-out and
    // the clock; Step takes one event (false when flags say not to wait and none is waiting)
    // and stores the window manager's answer.
    void Start();
    bool Step(int flags, ZafEventType* result);

private:
    ZafEventManager& events_;
    ZafWindowManager& windows_;
    qint64 lastActivity_ = 0;
    int timeout_ = 900;
};

}  // namespace tolm
