#include "maintenance/ui/ClearDataPage.h"

#include "maintenance/ui/MaintenanceEvents.h"
#include "toolkit/KeyCodes.h"

namespace tolm {

void prepareClearDataPage(ZafWindow* page, int font, ZafEventType back) {
    ZafObject proceed = page->Get(QStringLiteral("B_CONTINUE"));
    proceed.SetSendMessage(MaintenanceEvent::EraseProgress);
    proceed.SetFont(font);
    ZafObject cancel = page->Get(QStringLiteral("B_CANCEL"));
    cancel.SetSendMessage(back);
    cancel.SetFont(font);
}

EraseSelections clearDataSelections(const ZafWindow* page) {
    EraseSelections selections{};
    for (int engine = 0; engine < 2; ++engine) {
        const ZafObject group = page->Get(QStringLiteral("G_ENGINE%1").arg(engine + 1));
        for (int kind = 0; kind < kEraseKinds; ++kind) {
            selections[engine * kEraseKinds + kind] = group.Child(kind).Selected();
        }
    }
    return selections;
}

QMap<int, ZafEventType> clearDataHotKeys(ZafEventType back) {
    return {{VK::Escape, back}, {VK::F8, back}, {VK::F5, MaintenanceEvent::EraseProgress}};
}

}  // namespace tolm
