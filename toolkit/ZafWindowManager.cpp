#include "toolkit/ZafWindowManager.h"

#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindow.h"

ZafWindowManager::~ZafWindowManager() {
    const auto windows = windows_;
    windows_.clear();
    for (const QPointer<ZafWindow>& w : windows) {
        delete w.data();
    }
}

void ZafWindowManager::Add(ZafWindow* window) {
    windows_.removeAll(window);
    windows_.append(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void ZafWindowManager::Subtract(ZafWindow* window) {
    if (windows_.removeAll(window) > 0) {
        window->hide();
        if (ZafEventManager* em = zafEventManager()) {
            em->Wake();  // a modal run of that window notices its removal
        }
    }
}

bool ZafWindowManager::Contains(const ZafWindow* window) const {
    for (const auto& w : windows_) {
        if (w.data() == window) {
            return true;
        }
    }
    return false;
}

ZafWindow* ZafWindowManager::Front() const {
    for (auto it = windows_.crbegin(); it != windows_.crend(); ++it) {
        if (*it) {
            return it->data();
        }
    }
    return nullptr;
}

ZafWindow* ZafWindowManager::Get(const QString& identifier) const {
    for (const auto& w : windows_) {
        if (w && w->objectName() == identifier) {
            return w.data();
        }
    }
    return nullptr;
}

ZafWindow* ZafWindowManager::Receiver(const ZafEventStruct& event) const {
    if (!event.targeted) {
        return Front();
    }
    for (QObject* o = event.target.data(); o; o = o->parent()) {
        if (auto* window = qobject_cast<ZafWindow*>(o)) {
            return Contains(window->TopWindow()) ? window : nullptr;
        }
    }
    return nullptr;
}

ZafEventType ZafWindowManager::Event(const ZafEventStruct& event) {
    windows_.removeAll(nullptr);
    if (windows_.isEmpty()) {
        return S_NO_WINDOW;
    }
    ZafWindow* receiver = Receiver(event);
    if (!receiver) {
        return S_UNKNOWN;
    }
    ++depth_;
    QPointer<ZafWindow> top = receiver->TopWindow();
    ZafEventType result = receiver->Event(event);
    if (!event.targeted && result == S_UNKNOWN && event.type >= 0 && !event.isRaw()) {
        const auto others = windows_;
        for (auto it = others.crbegin(); it != others.crend() && result == S_UNKNOWN; ++it) {
            if (*it && it->data() != top.data()) {
                result = (*it)->Event(event);
            }
        }
    }
    // A running dialog ends with whatever its handler returned, whichever loop dispatched.
    if (auto* dialog = qobject_cast<ZafDialogWindow*>(top.data());
        dialog && dialog->Running() && result != S_CONTINUE && result != S_UNKNOWN) {
        dialog->EndModal(result);
    }
    --depth_;
    if (depth_ == 0) {
        CloseRequested();
    }
    windows_.removeAll(nullptr);
    if (windows_.isEmpty()) {
        return S_NO_WINDOW;
    }
    return result == S_CONTINUE ? 0 : result;
}

void ZafWindowManager::CloseRequested() {
    const auto windows = windows_;
    for (const QPointer<ZafWindow>& w : windows) {
        if (w && w->CloseRequestPending()) {
            w->ClearCloseRequest();
            if (w->QueryClose()) {
                Subtract(w);
                delete w.data();
            }
        }
    }
}
