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
    if (!busy_) {
        run();
    }
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
        const SequenceStep& step = steps_[current_];
        const bool local = step.requested && step.command == 0;
        if (startStep(current_) || cancelled_) {
            return;
        }
        advance();
        if (local) {
            // A local step takes a while (filing): what the user did meanwhile (a Cancel) is
            // seen before the next step sends anything.
            wait_ = Wait::NextStep;
            return;
        }
    }
}

bool StepSequence::startStep(int index) {
    SequenceStep& step = steps_[index];
    wait_ = Wait::None;
    generation_ = 0;
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
    if (linkStuck_) {
        qCInfo(lcLink, "command %#x not sent: the link still holds a withdrawn command",
               step.command);
        finish(index, StepOutcome::Failed);
        return false;
    }
    return sendStep(index);
}

bool StepSequence::sendStep(int index) {
    const SequenceStep& step = steps_[index];
    switch (handOver(step)) {
        case HandOver::Done:
            wait_ = Wait::Answer;
            countdown_ = step.timeoutTicks;
            shownProgress_ = -1;
            return true;
        case HandOver::LinkBusy:
            // An earlier command, withdrawn, has not been reported on yet: its answer must never
            // be taken for this step's.
            qCInfo(lcLink, "command %#x waits for the link to let go of a withdrawn command",
                   step.command);
            wait_ = Wait::LettingGo;
            countdown_ = kLetGoSeconds * ticksPerSecond_;
            return true;
        case HandOver::Refused:
            break;
    }
    finish(index, StepOutcome::Failed);
    return false;
}

StepSequence::HandOver StepSequence::handOver(const SequenceStep& step) {
    const int waitMs = step.timeoutTicks > 0 ? step.timeoutTicks * 1000 / ticksPerSecond_ : 0;
    CommandHandOver::Ticket ticket = HandOverCommand(link_, step.command, step.payload, waitMs);
    if (!ticket && ticket.refusal == CommandHandOver::Refusal::NoThread) {
        if (reconnectFailed_) {
            qCInfo(lcLink, "command %#x not sent: the link could not be set up again",
                   step.command);
            return HandOver::Refused;
        }
        qCInfo(lcLink, "the link is down; setting it up again for command %#x", step.command);
        if (!owner_.reconnect()) {
            reconnectFailed_ = true;
            return HandOver::Refused;
        }
        if (cancelled_) {
            return HandOver::Refused;
        }
        ticket = HandOverCommand(link_, step.command, step.payload, waitMs);
    }
    if (ticket) {
        generation_ = ticket.generation;
        return HandOver::Done;
    }
    return ticket.refusal == CommandHandOver::Refusal::CommandInFlight ? HandOver::LinkBusy
                                                                       : HandOver::Refused;
}

void StepSequence::tick() {
    if (busy_ || cancelled_ || finished_) {
        return;
    }
    if (wait_ == Wait::NextStep) {
        wait_ = Wait::None;
        run();
        return;
    }
    const BusyScope busy(busy_);
    if (wait_ == Wait::LettingGo) {
        tickLettingGo();
    } else if (wait_ == Wait::Answer) {
        tickWaiting(steps_[current_]);
    }
}

void StepSequence::tickLettingGo() {
    if (link_.handOver.inFlight()) {
        if (--countdown_ > 0) {
            return;
        }
        qCWarning(lcLink, "the link did not let go of a withdrawn command within %d s",
                  kLetGoSeconds);
        linkStuck_ = true;
        finish(current_, StepOutcome::Failed);
    } else {
        link_.responseEvent.reset();  // the withdrawn command's report
        if (sendStep(current_) || cancelled_) {
            return;
        }
    }
    advance();
    run();
}

void StepSequence::tickWaiting(SequenceStep& step) {
    const bool reported = link_.handOver.reported(generation_);
    if (!reported && step.timeoutTicks > 0 && --countdown_ <= 0) {
        finish(current_, StepOutcome::Timeout);
        // The unit may still answer. That late answer must never be taken for the next step's:
        // the command is withdrawn, and the next step waits until the link has reported on it.
        link_.handOver.withdraw(generation_);
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
    if (wait_ == Wait::Answer) {
        link_.handOver.withdraw(generation_);
    }
}

}  // namespace tolm
