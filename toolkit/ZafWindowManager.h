#pragma once
// The top-level windows of the program, front window last. It dispatches events to the window
// that must receive them and closes (asks, removes and destroys) windows that received S_CLOSE.
#include <QList>
#include <QPointer>

#include "toolkit/ZafEvent.h"

class ZafWindow;

class ZafWindowManager {
public:
    ZafWindowManager() = default;
    ~ZafWindowManager();  // destroys the windows it still holds
    ZafWindowManager(const ZafWindowManager&) = delete;
    ZafWindowManager& operator=(const ZafWindowManager&) = delete;

    // Adds (or brings to the front) a top-level window and shows it; the manager owns it until
    // it is subtracted.
    void Add(ZafWindow* window);
    // Removes and hides a window without destroying it; the caller owns it again.
    void Subtract(ZafWindow* window);
    bool Contains(const ZafWindow* window) const;
    int Count() const { return static_cast<int>(windows_.size()); }
    ZafWindow* Front() const;
    // The top-level window with that string identifier, or nullptr.
    ZafWindow* Get(const QString& identifier) const;

    // Dispatches an event: a targeted event goes to the innermost window holding its target,
    // any other to the front window (and, when that one does not know an application event, to
    // the windows behind it). Returns the handler's result, or S_NO_WINDOW when no window is
    // left afterwards.
    ZafEventType Event(const ZafEventStruct& event);
    // The window that receives an event, or nullptr when its target is gone.
    ZafWindow* Receiver(const ZafEventStruct& event) const;

private:
    void CloseRequested();

    QList<QPointer<ZafWindow>> windows_;
    int depth_ = 0;
};
