#pragma once
// The Utilities page, a notebook of three pages: "Download" (per aircraft, the four options of
// each engine that a download follows), "Communications" (the unit's port and address) and
// "Firmware" (the unit's part numbers and the uploads). The main window shows the "Utilities"
// window in its info area and hands it over here; the uploads live on in BRIXFirmwareUpload
// when the page is closed.
#include <QMap>
#include <QObject>
#include <QPointer>

#include "formats/AircraftRecord.h"
#include "maintenance/ui/BRIXFirmwareUpload.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class UnitLink;

class BRIXUtilitiesPage {
public:
    enum NotebookPage { kDownloadPage = 0, kCommunicationsPage = 1, kFirmwarePage = 2 };

    // The arguments are those of BRIXFirmwareUpload.
    BRIXUtilitiesPage(UnitLink& link, ZafWindow& owner, int normalFont, int midFont);

    // Fills the page just shown and opens the notebook on the page it had when it was last
    // closed. The page stays owned by the main window.
    void Show(ZafWindow* page);
    bool Showing() const { return !page_.isNull(); }
    // The notebook page shown (0 when no page is).
    int NotebookPage() const;

    // Apply Changes (10018): stores the download options or the communication settings,
    // whichever notebook page is shown; on the Firmware page it does nothing.
    ZafEventType Apply();
    // Another aircraft was chosen (10019): the options of the one shown so far are stored, then
    // the new one's are shown.
    ZafEventType AircraftChosen();

    const AircraftRecord& Aircraft() const { return record_; }
    BRIXFirmwareUpload& Firmware() { return firmware_; }

    // Keys of the page: Esc closes it, F5 applies the changes of the notebook page shown.
    // Esc sends `back`, the main window's way back to its menu.
    static QMap<int, ZafEventType> HotKeys(ZafEventType back);

private:
    void LoadAircraft();
    void LoadUtilityFields();
    void SaveDownloadOptions();
    void ApplyCommunicationChanges();
    ZafObject Find(const QString& path) const;

    UnitLink& link_;
    BRIXFirmwareUpload firmware_;
    const int normalFont_;
    QPointer<ZafWindow> page_;
    bool hasAircraft_ = false;
    AircraftRecord record_;
    QString identifier_;  // the key record_ was loaded under
    int rememberedPage_ = 0;
    QObject connections_;  // ends the notebook's connection to this object with it
};

}  // namespace tolm
