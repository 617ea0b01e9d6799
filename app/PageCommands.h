#pragma once
// A small command that works on whatever page is shown: the "Select ALL" / "Clear ALL" button
// of a choice group.

class ZafWindow;

namespace tolm {

// In the page's "G_CHOICE", the fifth item is a button: "Select ALL" selects the first four
// items and turns into "Clear ALL"; "Clear ALL" deselects them and turns back.
void ToggleChoiceGroup(ZafWindow* page);

}  // namespace tolm
