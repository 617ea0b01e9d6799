#include "toolkit/ZafTimer.h"

#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindow.h"

ZafTimer::ZafTimer(int intervalMs, ZafEventType event, QObject* parent)
    : QObject(parent), event_(event) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &ZafTimer::Tick);
}

void ZafTimer::Add(ZafWindow* recipient) {
    recipients_.push_back({recipient, false});
}

void ZafTimer::Subtract(ZafWindow* recipient) {
    for (auto& r : recipients_) {
        if (r.window == recipient) {
            r.window = nullptr;
        }
    }
}

void ZafTimer::Start() {
    timer_.start();
}

void ZafTimer::Stop() {
    timer_.stop();
}

void ZafTimer::Tick() {
    QPointer<ZafTimer> self(this);
    ++ticking_;
    // Recipients may be added while ticking (or a nested tick may run inside a handler);
    // index-based iteration stays valid because entries are only removed at the outermost level.
    for (size_t i = 0; i < recipients_.size(); ++i) {
        if (!recipients_[i].window || recipients_[i].busy) {
            continue;
        }
        recipients_[i].busy = true;
        QPointer<ZafWindow> window = recipients_[i].window;
        window->Event(ZafEventStruct(event_));
        if (!self) {
            return;
        }
        recipients_[i].busy = false;
    }
    if (--ticking_ == 0) {
        std::erase_if(recipients_, [](const Recipient& r) { return !r.window && !r.busy; });
    }
    if (ZafEventManager* em = zafEventManager()) {
        em->NoteTick();
    }
}
