#include "toolkit/ZafEventManager.h"

#include <QApplication>
#include <QEvent>

#include "toolkit/ZafTimer.h"

ZafEventManager::ZafEventManager() {
    InstallFilter();
}

ZafEventManager::~ZafEventManager() {
    if (filterInstalled_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    if (mouseState_ == DM_WAIT && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::restoreOverrideCursor();
    }
}

void ZafEventManager::InstallFilter() {
    if (!filterInstalled_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        filterInstalled_ = true;
    }
}

int ZafEventManager::Get(ZafEventStruct& event, int flags) {
    InstallFilter();
    ++depth_;
    if (depth_ == 1) {
        // Only the outermost loop may delete what Qt scheduled for deletion.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (queue_.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    while (queue_.empty() && flags == Q_WAIT) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    --depth_;
    if (queue_.empty()) {
        return Q_NO_EVENT;
    }
    event = queue_.front();
    queue_.pop_front();
    if (event.isRaw() && event.message == WinMsg::Timer) {
        tickQueued_ = false;
    }
    return 0;
}

void ZafEventManager::Put(const ZafEventStruct& event) {
    queue_.push_back(event);
}

void ZafEventManager::PutFront(const ZafEventStruct& event) {
    queue_.push_front(event);
}

void ZafEventManager::Wake() {
    queue_.push_back(ZafEventStruct(E_OSEVENT));
}

void ZafEventManager::SetMouseState(ZafEventType state) {
    if (state == mouseState_ || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        mouseState_ = state;
        return;
    }
    if (state == DM_WAIT) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (mouseState_ == DM_WAIT) {
        QApplication::restoreOverrideCursor();
    }
    mouseState_ = state;
}

void ZafEventManager::Add(ZafTimer* timer) {
    timer->Start();
}

void ZafEventManager::Subtract(ZafTimer* timer) {
    timer->Stop();
}

bool ZafEventManager::TakeInputSeen() {
    const bool seen = inputSeen_;
    inputSeen_ = false;
    return seen;
}

void ZafEventManager::NoteTick() {
    if (tickQueued_) {
        return;
    }
    ZafEventStruct tick(E_OSEVENT);
    tick.message = WinMsg::Timer;
    queue_.push_back(tick);
    tickQueued_ = true;
}

bool ZafEventManager::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
            inputSeen_ = true;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
