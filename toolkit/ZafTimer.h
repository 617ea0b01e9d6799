#pragma once
// A timer device: at every interval it calls the event handler of each recipient directly with
// its event number. Driven by Qt's timers on the GUI thread, it also ticks while a modal dialog
// or a message box runs. A recipient that is still busy with the previous tick is skipped.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "toolkit/ZafEvent.h"

class ZafWindow;

class ZafTimer : public QObject {
    Q_OBJECT
public:
    ZafTimer(int intervalMs, ZafEventType event, QObject* parent = nullptr);

    void Add(ZafWindow* recipient);
    void Subtract(ZafWindow* recipient);

    void Start();
    void Stop();
    bool Active() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }
    ZafEventType EventType() const { return event_; }

    // Delivers one tick now (the timer calls this at every interval; tests call it directly).
    void Tick();

private:
    struct Recipient {
        QPointer<ZafWindow> window;
        bool busy = false;
    };
    QTimer timer_;
    ZafEventType event_;
    std::vector<Recipient> recipients_;
    int ticking_ = 0;
};
