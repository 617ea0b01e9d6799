#pragma once

namespace tolm {

// Dispatches every event waiting in the toolkit's queue (and Qt's), without waiting. Long
// operations on the GUI thread call it so that the windows stay alive.
void PumpEvents();

// Lets the windows draw and Qt's timers run, without handing out any of the toolkit's events:
// no command of a window runs meanwhile (input that arrives stays queued for the loop that runs
// next). Waits of the unit link that keep the screen alive call it.
void RefreshScreen();

}  // namespace tolm
