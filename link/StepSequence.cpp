#include "link/StepSequence.h"

#include <QFile>

#include "link/LinkContext.h"
#include "link/LinkLog.h"
#include "link/LinkStatus.h"

namespace tolm {

namespace {

// Sets a flag for the life of a scope.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = previous_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace

QString outcomeText(StepOutcome outcome) {
    switch (outcome) {
        case StepOutcome::NotRequested:
            return QStringLiteral("Not requested");
        case StepOutcome::Completed:
            return QStringLiteral("Completed");
        case StepOutcome::Failed:
            return QStringLiteral("Failed");
        case StepOutcome::Timeout:
            return QStringLiteral("Timeout");
        case StepOutcome::Skipped:
            return QStringLiteral("Skipped");
    }
    return QString();
}

StepSequence::StepSequence(LinkContext& link, std::vector<SequenceStep> steps, Owner& owner,
                           int ticksPerSecond, bool stopAtFirstFailure)
    : link_(link),
      steps_(std::move(steps)),
      outcomes_(steps_.size(), StepOutcome::NotRequested),
      owner_(owner),
      ticksPerSecond_(ticksPerSecond > 0 ? ticksPerSecond : 1),
      stopAtFirstFailure_(stopAtFirstFailure) {}

void StepSequence::start() {
    run();
}

void StepSequence::markUnsaved(int engine) {
    unsaved_[engine & 1] = true;
}

void StepSequence::run() {
    const BusyScope busy(busy_);
    while (!cancelled_ && !finished_) {
        if (current_ >= size()) {
            end();
            return;
        }
        if (waitingForLink_) {
            return;  // a tick goes on once the link has let go of the withdrawn command
        }
        if (startStep(current_) || cancelled_) {
            return;
        }
        advance();
    }
}

bool StepSequence::startStep(int index) {
    SequenceStep& step = steps_[index];
    if (!step.requested) {
        finish(index, StepOutcome::NotRequested);
        return false;
    }
    if (step.guarded && unsaved_[step.engine & 1]) {
        // The unit still holds the only copy of this engine's data.
        finish(index, StepOutcome::Skipped);
        return false;
    }
    owner_.stepStarted(index);
    if (step.command == 0) {
        const StepOutcome outcome = owner_.runLocalStep(index);
        // A stale report must never be taken for the next command's.
        link_.responseEvent.reset();
        finish(index, outcome);
        return false;
    }
    if (step.timeoutTicks > 0) {
        owner_.pumpEvents();  // the new status line shows before the unit is asked
        if (cancelled_) {
            return false;
        }
    }
    if (!handOver(step)) {
        finish(index, StepOutcome::Failed);
        return false;
    }
    countdown_ = step.timeoutTicks;
    shownProgress_ = -1;
    return true;
}

bool StepSequence::handOver(const SequenceStep& step) {
    if (HandOverCommand(link_, step.command, step.payload)) {
        return true;
    }
    if (link_.threadRunning.load() || link_.commandInFlight.load()) {
        return false;  // refused for another reason; the link log says which
    }
    if (reconnectFailed_) {
        qCInfo(lcLink, "command %#x not sent: the link could not be set up again", step.command);
        return false;
    }
    qCInfo(lcLink, "the link is down; setting it up again for command %#x", step.command);
    if (!owner_.reconnect()) {
        reconnectFailed_ = true;
        return false;
    }
    return HandOverCommand(link_, step.command, step.payload);
}

void StepSequence::tick() {
    if (busy_ || cancelled_ || finished_) {
        return;
    }
    if (waitingForLink_) {
        if (!link_.commandInFlight.load()) {
            waitingForLink_ = false;
            link_.responseEvent.reset();  // the withdrawn command's report
            run();
        }
        return;
    }
    const BusyScope busy(busy_);
    tickWaiting(steps_[current_]);
}

void StepSequence::tickWaiting(SequenceStep& step) {
    const bool reported = !link_.commandInFlight.load();
    if (!reported && step.timeoutTicks > 0 && --countdown_ <= 0) {
        finish(current_, StepOutcome::Timeout);
        // The unit may still answer. That late answer must never be taken for the next step's:
        // the command is withdrawn, and the sequence goes on once the link has reported.
        RequestAbort(link_);
        waitingForLink_ = link_.commandInFlight.load();
        advance();
        run();
        return;
    }
    if (!reported) {
        int value = 0;
        int maximum = 100;
        if (step.timeoutTicks > 0) {
            value = (step.timeoutTicks - countdown_) / ticksPerSecond_ + 1;
            maximum = step.timeoutTicks / ticksPerSecond_;
        } else {
            const qint64 total = link_.responseSize.load();
            value = total > 0 ? int(qint64(link_.bytesReceived.load()) * 100 / total) : 0;
        }
        if (value != shownProgress_) {
            shownProgress_ = value;
            owner_.progress(value, maximum);
        }
        return;
    }
    link_.responseEvent.reset();  // the report has been seen
    const QString response = link_.responseFileName();
    bool ok = link_.statusCode.load() == STATUS_OK;
    if (step.readsResponse) {
        ok = ok && !response.isEmpty();
    } else if (!response.isEmpty()) {
        QFile::remove(response);  // an answer nobody reads
    }
    finish(current_, ok ? StepOutcome::Completed : StepOutcome::Failed);
    advance();
    run();
}

void StepSequence::advance() {
    if (!finished_) {
        ++current_;
    }
}

void StepSequence::finish(int index, StepOutcome outcome) {
    outcomes_[index] = outcome;
    const bool failed = outcome == StepOutcome::Failed || outcome == StepOutcome::Timeout ||
                        outcome == StepOutcome::Skipped;
    const SequenceStep& step = steps_[index];
    if (failed) {
        anyFailed_ = true;
        if (step.readsResponse || step.command == 0) {
            // Data that was not fetched or not filed: its engine's memory must stay as it is.
            markUnsaved(step.engine);
        }
    }
    owner_.stepFinished(index, outcome);
    if (failed && stopAtFirstFailure_ && outcome != StepOutcome::Skipped) {
        end();
    }
}

void StepSequence::end() {
    if (finished_) {
        return;
    }
    finished_ = true;
    current_ = size();
    owner_.finished();
}

void StepSequence::cancel() {
    if (cancelled_ || finished_) {
        return;
    }
    cancelled_ = true;
    RequestAbort(link_);
}

}  // namespace tolm
