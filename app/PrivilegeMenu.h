#pragma once
// The privilege menu's two marks (Administrator, Flight Line) and the aircraft-information menu
// that the level opens or closes, with the choice of a new level when either mark is chosen.
#include "toolkit/ZafObject.h"

class UserPersist;

namespace tolm {

class PrivilegeMenu {
public:
    // Finds the items in the window's pull-down menu.
    void Attach(ZafObject pullDownMenu);

    // Marks the item of the level: Administrator at level 1, Flight Line at level 2, neither
    // changed at the factory level. Opens the aircraft menu at level 1, closes it at level 2.
    void Mark(int level);
    void SelectFlightLine();
    bool FlightLineSelected() const;
    void SetAircraftMenuEnabled(bool enabled);
    bool AircraftMenuEnabled() const;

    // The level after one of the two items was chosen at level `current`: Flight Line gives 2;
    // Administrator gives 1, from Flight Line only through the login dialog (a cancelled login
    // marks Flight Line again and gives 2).
    int ChooseLevel(int current, int font, UserPersist* loginReader);

private:
    ZafObject administrator_;
    ZafObject flightLine_;
    ZafObject aircraftMenu_;
};

}  // namespace tolm
