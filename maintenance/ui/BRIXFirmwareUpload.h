#pragma once
// The uploads of the Firmware page: choosing an image file per kind, starting an upload, the
// main window's one-second pacing timer that drives it, the reinitialisation notice, and what
// follows a completed upload (the exit after main software; the part numbers read again after
// DSP software and a configuration table, and then, for a table, the erase of every memory).
//
// An upload belongs to the run, not to the page: it goes on when the page is closed (the
// inactivity check may close it), and the page shows it again when it is reopened. While an
// upload runs, and until what follows it has run, no other upload starts.
#include <QPointer>
#include <array>
#include <memory>

#include "link/LinkOwner.h"
#include "maintenance/UploadKind.h"
#include "maintenance/UploadSequence.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafFileDialog.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class UnitLink;

class BRIXFirmwareUpload : private UploadSequence::View {
public:
    // Per kind, the name of the chosen file as shown (index = kind) and its full path
    // (index = kUploadKinds + kind).
    using ChosenFiles = std::array<QString, 2 * kUploadKinds>;

    // owner: the main window, which receives the pacing ticks (10030) and the timer's end
    // (10032) and is closed after a main software upload. The file dialogs open in the data
    // directory's "SW_uploads"; the first serves kinds 0 and 1, the second kind 2.
    BRIXFirmwareUpload(UnitLink& link, ZafWindow& owner, ZafFileDialog& softwareDialog,
                       ZafFileDialog& configDialog, ChosenFiles& files, int normalFont,
                       int midFont);
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

    void ChooseFile(UploadKind kind);
    // True when the upload has started.
    bool Start(UploadKind kind);
    void Tick();
    // The pacing timer has stopped: it is deleted, and what follows the upload runs.
    void TimerDone();

    // An upload runs, or what follows it has not run yet. Meanwhile the upload owns the link.
    bool Busy() const { return (upload_ && !upload_->isFinished()) || followUpPending_; }
    // The last upload of the run, if any.
    const UploadSequence* Upload() const { return upload_.get(); }
    ZafTimer* Timer() const { return timer_.get(); }
    QString FileName(UploadKind kind) const { return files_[int(kind)]; }
    QString FilePath(UploadKind kind) const { return files_[kUploadKinds + int(kind)]; }

private:
    // What the upload reports.
    void packetStarted(int number, int count) override;
    void showReinitialising(bool shown) override;
    bool reconnect() override;
    void finished() override;

    void FollowUp();
    ZafObject Find(const QString& path) const;
    ZafObject Section(UploadKind kind, const char* part) const;
    void ShowProgress(const QString& text, int value, int maximum);
    void EnableButtons();

    UnitLink& link_;
    ZafWindow& owner_;
    ZafFileDialog& softwareDialog_;
    ZafFileDialog& configDialog_;
    ChosenFiles& files_;
    const int normalFont_;
    const int midFont_;
    QPointer<ZafWindow> page_;
    std::unique_ptr<UploadSequence> upload_;
    std::unique_ptr<ZafTimer> timer_;
    std::unique_ptr<WaitNotice> notice_;
    LinkOwner::Lease lease_;
    bool followUpPending_ = false;
    bool followingUp_ = false;
    bool starting_ = false;
};

}  // namespace tolm
