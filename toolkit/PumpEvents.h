#pragma once

namespace tolm {

// Dispatches every event waiting in the toolkit's queue (and Qt's), without waiting. Long
// operations on the GUI thread call it so that the windows stay alive.
void PumpEvents();

}  // namespace tolm
