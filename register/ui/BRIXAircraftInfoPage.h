#pragma once
// The aircraft information page: the main window shows the "AircraftInfo" window in its info
// area and hands it over here. This class keeps the record of the aircraft shown, loads another
// aircraft when one is chosen, saves edits, and copies an engine type chosen for one engine to
// the other.
#include <QMap>
#include <QPointer>
#include <optional>

#include "formats/AircraftRecord.h"
#include "register/ui/AircraftInfoFields.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class BRIXAircraftInfoPage {
public:
    // Lists the aircraft in "TAIL_NUMBER" and loads the selected one without asking about
    // changes. The page stays owned by the main window.
    void Show(ZafWindow* page);
    bool Showing() const { return !page_.isNull(); }

    // Another aircraft was chosen: offers to save the edits of the one shown, then loads it.
    ZafEventType AircraftChosen();
    // Saves the edits without asking; nothing is written when there are none.
    ZafEventType Save();
    // A type was chosen in one engine's list: the other engine gets it too.
    ZafEventType EngineTypeChosen(QObject* source);

    const AircraftRecord& Record() const { return record_; }

    // Keys of the page: Esc and F8 leave it, F5 saves.
    // Esc and F8 send `back`, the main window's way back to its menu.
    static QMap<int, ZafEventType> HotKeys(ZafEventType back);

private:
    void Load();
    void CheckChanges(bool ask);

    QPointer<ZafWindow> page_;
    std::optional<AircraftInfoFields> fields_;
    AircraftRecord record_;
};

}  // namespace tolm
