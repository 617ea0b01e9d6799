#pragma once
// The Clear Memory page ("ClearData"): three boxes for each engine (bearing data, bearing defect
// history, accel line defect history), Continue and Cancel. The main window shows the page; the
// erase itself runs in BRIXEraseProgress.
#include <QMap>

#include "maintenance/EraseSteps.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

// Wires the page's buttons: Continue starts the erase (10008), Cancel returns to the main menu.
void prepareClearDataPage(ZafWindow* page, int font);
// The ticked boxes: engine 1's three, then engine 2's.
EraseSelections clearDataSelections(const ZafWindow* page);
// Keys of the page: Esc and F8 return to the main menu, F5 starts the erase.
QMap<int, ZafEventType> clearDataHotKeys();

}  // namespace tolm
