#pragma once
// The erase dialog: one line for each of the six erase steps with its outcome, a status line and
// a gauge of the seconds spent while the steps run on the dialog's 100 ms tick. Done (F5) closes
// it once every step has its outcome; nothing closes it before. The steps themselves (what is
// sent, the waits, one command at a time) are the maintenance core's and the step machine's;
// this window only draws them.
#include <functional>
#include <memory>

#include "link/StepSequence.h"
#include "link/ui/StepDialog.h"
#include "maintenance/EraseSteps.h"

namespace tolm {

class LinkContext;

class BRIXEraseProgress : public StepDialog, private StepSequence::Owner {
    Q_OBJECT
public:
    static constexpr ZafEventType kDoneEvent = kButtonEvent;  // Done and F5
    // Sets the link up again when it cannot take an erase; true when it is up.
    using Reconnect = std::function<bool()>;

    BRIXEraseProgress(LinkContext& link, const EraseSelections& selections, int normalFont,
                      int midFont, UserPersist* reader = nullptr, Reconnect reconnect = {});
    ~BRIXEraseProgress() override;

    // Builds the dialog with the default reader, centres it, runs it until Done, and deletes
    // the last erase's answer, if the link left one.
    static ZafEventType Run(LinkContext& link, const EraseSelections& selections, int normalFont,
                            int midFont, Reconnect reconnect = {});

    // What the user sees, for tests.
    QString StepText(int engineIndex, int kind) const;
    bool DoneEnabled() const;
    int GaugeValue() const;
    int GaugeMaximum() const;
    bool Finished() const { return sequence_.isFinished(); }
    const StepSequence& Sequence() const { return sequence_; }

private:
    void stepStarted(int index) override;
    void stepFinished(int index, StepOutcome outcome) override;
    void progress(int value, int maximum) override;
    bool reconnect() override;
    void finished() override;

    void Tick() override { sequence_.tick(); }
    // Nothing closes the dialog before every step has its outcome.
    void ButtonPressed() override;

    ZafObject Line(int engineIndex, int kind) const;

    Reconnect reconnect_;
    StepSequence sequence_;
    ZafObject done_;
};

}  // namespace tolm
