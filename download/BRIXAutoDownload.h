#pragma once
// The download dialog: for each of the aircraft's two engines it downloads the bearing data,
// files it (raw flight-data file and three tables), and erases what the aircraft's options ask
// for, showing each of the ten steps with its outcome, a status line and a progress indicator.
// The link thread does the talking; the dialog hands it one command at a time and watches for
// the outcome on a 100 ms tick.
#include <QPointer>
#include <array>
#include <memory>

#include "link/PartNumberRecord.h"
#include "register/AircraftRecord.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

class LinkContext;

// One step of the sequence.
struct DownloadStep {
    enum Kind {
        Download = 0,
        PostProcess = 1,
        EraseBearingData = 2,
        EraseBearingDefectHistory = 3,
        EraseAccelDefectHistory = 4,
        End = 5,
    };
    int kind = End;
    int engine = 0;          // engine index 0 or 1
    bool requested = false;  // the engine's option in the aircraft record
    int countdown = 0;       // ticks of 100 ms left (erase steps)
    int initial = 0;         // the time-out in ticks the step started with (erase steps)
};

class BRIXAutoDownload : public ZafDialogWindow {
    Q_OBJECT
public:
    static constexpr ZafEventType kTickEvent = 10000;
    static constexpr ZafEventType kCancelOrDoneEvent = 10001;
    static constexpr int kSteps = 11;

    BRIXAutoDownload(LinkContext& link, const PartNumberRecord& partNumbers,
                     const AircraftRecord& aircraft, int normalFont, int midFont,
                     UserPersist* reader = nullptr);
    ~BRIXAutoDownload() override;

    ZafEventType Event(const ZafEventStruct& event) override;

    // What the user sees, for the program's own checks and for tests.
    QString StepText(int engineIndex, int kind) const;
    QString StatusText() const;
    QString ButtonText() const;
    bool Finished() const { return steps_[current_].kind == DownloadStep::End; }
    int CurrentStep() const { return current_; }
    ZafTimer* Timer() const { return timer_.get(); }

    // The label of a step kind, 34 characters long.
    static QString Label(int kind);

private:
    enum class Outcome { NotRequested, Completed, Failed, Timeout, Skipped };

    void RunSteps();
    bool StartStep(DownloadStep& step);  // false: the step is over, go on with the next
    void Tick();
    void TickDownload(DownloadStep& step);
    void TickErase(DownloadStep& step);
    void Finish(DownloadStep& step, Outcome outcome);
    void Advance();
    void PostProcess(DownloadStep& step);
    void StartErase(DownloadStep& step);
    void CancelOrDone();
    ZafObject Prompt(const DownloadStep& step) const;
    void SetPercentMode();
    void SetSecondsMode(int maximum);

    LinkContext& link_;
    const PartNumberRecord& partNumbers_;
    const AircraftRecord& aircraft_;
    std::array<DownloadStep, kSteps> steps_;
    int current_ = 0;
    // Whether each engine's data reached a raw file; an engine whose data was not saved is
    // never erased.
    std::array<bool, 2> unsaved_{false, false};
    // After an erase timed out: the next step waits until the link has dropped that command.
    bool waitingForLink_ = false;
    bool cancelled_ = false;
    bool busy_ = false;
    int courierFont_ = 0;
    ZafObject cancel_;
    ZafObject status_;
    ZafObject progress_;
    std::unique_ptr<ZafTimer> timer_;
};

}  // namespace tolm
