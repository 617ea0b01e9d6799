#pragma once
// The download dialog: shows the download's ten steps with their outcomes, a status line and a
// progress indicator while the download sequence runs on the dialog's 100 ms tick, and offers
// Cancel, then Done. The sequence itself (what is sent, when, and what is never erased) is the
// download core's; this window only draws it and forwards the keys.
#include <functional>
#include <memory>

#include "download/DownloadSequence.h"
#include "link/ui/StepDialog.h"

namespace tolm {

class LinkContext;

class BRIXAutoDownload : public StepDialog, private DownloadSequence::View {
    Q_OBJECT
public:
    static constexpr ZafEventType kCancelOrDoneEvent = kButtonEvent;  // Cancel / Done and F5
    // Sets the link up again when it went down during the download; true when it is up.
    using Reconnect = std::function<bool()>;
    // What the download filed, told in words for the dialog's last line (the flights new and
    // already on file); called once with the raw files written when every step has ended.
    using FiledSummary = std::function<QString(const QStringList& rawFiles)>;

    BRIXAutoDownload(LinkContext& link, const PartNumberRecord& partNumbers,
                     const AircraftRecord& aircraft, int normalFont, int midFont,
                     UserPersist* reader = nullptr, Reconnect reconnect = {},
                     FiledSummary summary = {});
    ~BRIXAutoDownload() override;

    // What the user sees, for the program's own checks and for tests.
    QString StepText(int engineIndex, int kind) const;
    QString ButtonText() const;
    bool Finished() const { return sequence_->isFinished(); }
    const StepSequence& Sequence() const { return sequence_->steps(); }

private:
    // What the sequence reports.
    void stepStarted(int index) override;
    void stepFinished(int index, StepOutcome outcome) override;
    void progress(int value, int maximum) override;
    void notify(const Notices& notices) override;
    void refresh() override;
    bool reconnect() override;
    void finished() override;

    void Tick() override { sequence_->tick(); }
    // Cancel while the steps run, Done once they have ended.
    void ButtonPressed() override;

    ZafObject Prompt(const SequenceStep& step) const;

    Reconnect reconnect_;
    FiledSummary summary_;
    std::unique_ptr<DownloadSequence> sequence_;
    ZafObject cancel_;
};

}  // namespace tolm
