#pragma once
// The uploads of the Firmware page as the user sees them: the file dialogs, the question before
// a configuration table, the main window's one-second pacing timer that drives an upload, the
// page's fields and gauge, the reinitialisation notice, and the boxes and dialogs of what
// follows (UploadRun decides what that is).
//
// The run's uploads outlive the page: an upload goes on when the page is closed (the inactivity
// check may close it), and the page shows it again when it is reopened.
#include <QPointer>
#include <memory>

#include "link/LinkOwner.h"
#include "maintenance/UploadKind.h"
#include "maintenance/UploadRun.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafFileDialog.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class UnitLink;

class BRIXFirmwareUpload : private UploadSequence::View {
public:
    // owner: the main window, which receives the pacing ticks (10030) and the timer's end
    // (10032) and is closed after a main software upload.
    BRIXFirmwareUpload(UnitLink& link, ZafWindow& owner, int normalFont, int midFont);
    ~BRIXFirmwareUpload() override;
    BRIXFirmwareUpload(const BRIXFirmwareUpload&) = delete;
    BRIXFirmwareUpload& operator=(const BRIXFirmwareUpload&) = delete;

    // Shows on the Utilities page just opened the part numbers, the chosen files, the sections
    // the unit takes and an upload in progress, and wires the buttons (nullptr: no page).
    void Attach(ZafWindow* page);
    // The part-number fields and the sections, after the part numbers were read again.
    void ShowPartNumbers();

    // Events 10024 to 10030 and 10032.
    ZafEventType Event(ZafEventType code);

    // The file dialog of a kind, which opens in the data directory's "SW_uploads".
    void ChooseFile(UploadKind kind);
    const ZafFileDialog& FileDialog(UploadKind kind) const {
        return kind == UploadKind::ConfigTable ? configDialog_ : softwareDialog_;
    }
    // True when the upload has started.
    bool Start(UploadKind kind);
    void Tick();
    // The pacing timer has stopped: it is deleted, and what follows the upload runs.
    void TimerDone();

    // An upload runs, or what follows it has not run yet. Meanwhile the upload owns the link.
    bool Busy() const { return run_.busy(); }
    // The last upload of the run, if any.
    const UploadSequence* Upload() const { return run_.upload(); }
    ZafTimer* Timer() const { return timer_.get(); }

private:
    // What the upload reports.
    void packetStarted(int number, int count) override;
    void showReinitialising(bool shown) override;
    bool reconnect() override;
    void finished() override;

    void FollowUp(const UploadFollowUp& next);
    ZafObject Find(const QString& path) const;
    ZafObject Section(UploadKind kind, const char* part) const;
    void ShowProgress(const QString& text, int value, int maximum);
    void EnableButtons();

    UnitLink& link_;
    ZafWindow& owner_;
    const int normalFont_;
    const int midFont_;
    UploadRun run_;
    ZafFileDialog softwareDialog_;
    ZafFileDialog configDialog_;
    QPointer<ZafWindow> page_;
    std::unique_ptr<ZafTimer> timer_;
    std::unique_ptr<WaitNotice> notice_;
    LinkOwner::Lease lease_;
    bool starting_ = false;
};

}  // namespace tolm
