#pragma once
// The erase dialog: one line for each of the six erase steps with its outcome, a status line and
// a gauge of the seconds spent while the steps run on the dialog's 100 ms tick. Done (F5) closes
// it once every step has its outcome; nothing closes it before. The steps themselves (what is
// sent, the waits, one command at a time) are the maintenance core's and the step machine's;
// this window only draws them.
#include <functional>
#include <memory>

#include "link/StepSequence.h"
#include "maintenance/EraseSteps.h"
#include "toolkit/AppEvents.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class LinkContext;

class BRIXEraseProgress : public ZafDialogWindow, private StepSequence::Owner {
    Q_OBJECT
public:
    static constexpr ZafEventType kTickEvent = DialogEvent::Tick;
    static constexpr ZafEventType kDoneEvent = DialogEvent::CancelOrDone;
    // Sets the link up again when it cannot take an erase; true when it is up.
    using Reconnect = std::function<bool()>;

    BRIXEraseProgress(LinkContext& link, const EraseSelections& selections, int normalFont,
                      int midFont, UserPersist* reader = nullptr, Reconnect reconnect = {});
    ~BRIXEraseProgress() override;

    // Builds the dialog with the default reader, centres it, runs it until Done, and deletes
    // the last erase's answer, if the link left one.
    static ZafEventType Run(LinkContext& link, const EraseSelections& selections, int normalFont,
                            int midFont, Reconnect reconnect = {});

    ZafEventType Event(const ZafEventStruct& event) override;

    // What the user sees, for tests.
    QString StepText(int engineIndex, int kind) const;
    QString StatusText() const;
    bool DoneEnabled() const;
    int GaugeValue() const;
    int GaugeMaximum() const;
    bool Finished() const { return sequence_.isFinished(); }
    const StepSequence& Sequence() const { return sequence_; }
    ZafTimer* Timer() const { return timer_.get(); }

private:
    void stepStarted(int index) override;
    void stepFinished(int index, StepOutcome outcome) override;
    void progress(int value, int maximum) override;
    bool reconnect() override;
    void finished() override;

    ZafObject Line(int engineIndex, int kind) const;
    void Done();

    Reconnect reconnect_;
    StepSequence sequence_;
    int courierFont_ = 0;
    ZafObject done_;
    ZafObject status_;
    ZafObject gauge_;
    std::unique_ptr<ZafTimer> timer_;
};

}  // namespace tolm
