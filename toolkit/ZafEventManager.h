#pragma once
// The toolkit's event queue. Qt delivers the window system's events; the toolkit queues its own
// (application events of buttons and menus, raw keys that no object took, close requests) and
// hands them out one at a time to whoever runs a loop: the program's main loop, a modal run of
// a dialog, or PumpEvents.
#include <QObject>
#include <deque>

#include "toolkit/ZafEvent.h"

class ZafTimer;

class ZafEventManager : public QObject {
    Q_OBJECT
public:
    static constexpr int Q_WAIT = 0;     // wait until an event arrives
    static constexpr int Q_NO_WAIT = 1;  // return at once when the queue is empty
    static constexpr int Q_NO_EVENT = -1;

    ZafEventManager();
    ~ZafEventManager() override;

    // Takes the next event. Returns 0 with an event, or Q_NO_EVENT when flags is Q_NO_WAIT and
    // nothing is waiting. Window-system events are processed meanwhile.
    int Get(ZafEventStruct& event, int flags = Q_WAIT);
    // Appends an event to the queue (or puts it back in front of all others).
    void Put(const ZafEventStruct& event);
    void PutFront(const ZafEventStruct& event);
    // Makes a waiting Get return, so that its loop looks at its state again.
    void Wake();
    static bool IsWake(const ZafEventStruct& event) { return event.isRaw() && event.message == 0; }
    bool Pending() const { return !queue_.empty(); }

    // Mouse cursor state: DM_WAIT or DM_VIEW.
    void SetMouseState(ZafEventType state);
    ZafEventType MouseState() const { return mouseState_; }

    // Devices: a timer added here ticks until it is subtracted.
    void Add(ZafTimer* timer);
    void Subtract(ZafTimer* timer);

    // True when keyboard or mouse input reached any widget since the last call.
    bool TakeInputSeen();
    // Wakes a waiting Get with a (coalesced) timer message, so loops see time pass.
    void NoteTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InstallFilter();

    std::deque<ZafEventStruct> queue_;
    bool filterInstalled_ = false;
    bool inputSeen_ = false;
    bool tickQueued_ = false;
    int depth_ = 0;
    ZafEventType mouseState_ = DM_VIEW;
};
