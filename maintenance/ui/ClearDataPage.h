#pragma once
// The Clear Memory page ("ClearData"): three boxes for each engine (bearing data, bearing defect
// history, accel line defect history), Continue and Cancel. The main window shows the page; the
// erase itself runs in BRIXEraseProgress.
#include <QMap>

#include "maintenance/EraseSteps.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

// Wires the page's buttons: Continue starts the erase, Cancel sends `back` (to the main menu).
void prepareClearDataPage(ZafWindow* page, int font, ZafEventType back);
// The ticked boxes: engine 1's three, then engine 2's.
EraseSelections clearDataSelections(const ZafWindow* page);
// Keys of the page: Esc and F8 send `back`, F5 starts the erase.
QMap<int, ZafEventType> clearDataHotKeys(ZafEventType back);

}  // namespace tolm
