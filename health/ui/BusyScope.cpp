#include "health/ui/BusyScope.h"

#include <QWidget>

#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"

namespace tolm::health {

BusyScope::BusyScope(ZafObject status) : status_(status) {
    if (ZafEventManager* events = zafEventManager()) {
        events->SetMouseState(DM_WAIT);
    }
    if (status_) {
        status_.SetText(kReading);
        if (QWidget* label = status_.widget()) {
            label->repaint();  // shown before the work starts, not after it
        }
    }
}

BusyScope::~BusyScope() {
    if (ZafEventManager* events = zafEventManager()) {
        events->SetMouseState(DM_VIEW);
    }
}

}  // namespace tolm::health
