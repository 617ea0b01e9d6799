#include "toolkit/PumpEvents.h"

#include <QCoreApplication>

#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm {

void PumpEvents() {
    ZafEventManager* em = zafEventManager();
    ZafWindowManager* wm = zafWindowManager();
    if (!em || !wm) {
        return;
    }
    ZafEventStruct event;
    while (em->Get(event, ZafEventManager::Q_NO_WAIT) == 0) {
        wm->Event(event);
    }
}

void RefreshScreen() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace tolm
