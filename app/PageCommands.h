#pragma once
// Two small commands that work on whatever page is shown: the "Select ALL" / "Clear ALL" button
// of a choice group, and the engine type chosen for one engine copied to the other.
#include <QObject>

class ZafWindow;

namespace tolm {

// In the page's "G_CHOICE", the fifth item is a button: "Select ALL" selects the first four
// items and turns into "Clear ALL"; "Clear ALL" deselects them and turns back.
void ToggleChoiceGroup(ZafWindow* page);

// source: the object whose choice sent the event (a "TYPE" combo box or one of its items).
// When its group is the page's "G_ENGINE1", its text goes into "TYPE" of "G_ENGINE2", and the
// other way round; in any other group nothing happens.
void CopyEngineType(QObject* source, ZafWindow* page);

}  // namespace tolm
