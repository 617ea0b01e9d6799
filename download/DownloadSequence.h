#pragma once
// The download's ten steps: for engine 1 and then engine 2, download the bearing data, file it
// (post-process), and erase the bearing data, the bearing defect history and the accel line
// defect history, each as the aircraft's options ask. A step of an engine whose data was not
// filed erases nothing: it is skipped.
#include <QString>
#include <QStringList>
#include <vector>

#include "core/Notice.h"
#include "formats/AircraftRecord.h"
#include "link/PartNumberRecord.h"
#include "link/StepSequence.h"

namespace tolm {

enum DownloadStepKind {
    kDownloadBearingData = 0,
    kPostProcessBearingData = 1,
    kEraseBearingDataStep = 2,
    kEraseBearingDefectHistoryStep = 3,
    kEraseAccelDefectHistoryStep = 4,
};
inline constexpr int kDownloadStepKinds = 5;

// The steps of both engines, in order.
std::vector<SequenceStep> downloadSteps(const AircraftRecord& aircraft);
// The label of a step kind, 34 characters long.
QString downloadStepLabel(int kind);
// The status line while a step of engine number 1 or 2 runs.
QString downloadStatusText(int kind, int engineNumber);

// The download of both engines on the unit link: the ten steps run on the caller's ticks, each
// engine's image filed (ReformatData) as soon as it has arrived. The view draws what happens.
class DownloadSequence : private StepSequence::Owner {
public:
    class View : public StepSequence::Owner {
    public:
        // What filing an engine had to tell the user, as soon as it is known.
        virtual void notify(const Notices& /*notices*/) {}
        // Lets the window draw the progress of the filing; no command may run meanwhile.
        virtual void refresh() {}
    };

    DownloadSequence(LinkContext& link, const PartNumberRecord& partNumbers,
                     const AircraftRecord& aircraft, QString dataDirectory, View& view);

    void start() { sequence_.start(); }
    void tick() { sequence_.tick(); }
    void cancel() { sequence_.cancel(); }
    bool isFinished() const { return sequence_.isFinished(); }
    const StepSequence& steps() const { return sequence_; }
    // The raw files written so far, engine 1's first.
    const QStringList& filedRawFiles() const { return filed_; }

private:
    void stepStarted(int index) override { view_.stepStarted(index); }
    void stepFinished(int index, StepOutcome outcome) override;
    void progress(int value, int maximum) override { view_.progress(value, maximum); }
    StepOutcome runLocalStep(int index) override;
    bool reconnect() override { return view_.reconnect(); }
    void finished() override { view_.finished(); }

    LinkContext& link_;
    const PartNumberRecord& partNumbers_;
    const AircraftRecord& aircraft_;
    const QString dataDirectory_;
    View& view_;
    StepSequence sequence_;
    QStringList filed_;
};

}  // namespace tolm
