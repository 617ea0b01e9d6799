#pragma once
// A fixed list of steps carried out over the unit link, one command at a time, driven by ticks
// (the download's ten steps, the erase dialog's six, the packets of an upload). It knows no
// window: its owner draws each step's line and the progress from the calls it receives.
//
//   pending --start--> [not requested] ---------------------------------------> NotRequested
//                      [local step: the owner runs it] ------------------------> its outcome
//                                                     (the next step starts on the next tick)
//                      [engine marked unsaved (guarded steps)] ----------------> Skipped
//                      [a withdrawn command still in flight] --> letting go
//                      [no link thread] --owner sets the link up again--> handed over
//                      [hand-over refused, or the set-up failed] ---------------> Failed
//   letting go --the link reports on the withdrawn command--> handed over
//              --kLetGoTicks without that report----------------------------> Failed
//   handed over --tick...--> link reports OK ---------------------------------> Completed
//                            link reports an error ---------------------------> Failed
//                            time-out runs out (the command is withdrawn) ----> Timeout
//
// It is driven by the owner's ticks and by the link's reports alone: it never waits and never
// lets window events through. After a time-out the command is withdrawn, and the next step first
// waits, for at most kLetGoTicks, until the link has reported on it, so that a late answer is
// never taken for its own; only then does it hand over its command and start its own count-down.
// So a step lasts at most its time-out plus that margin (plus a connection set-up, which is
// bounded by its own attempts). When the link does not let go in time, or a set-up has failed
// once, later steps fail at once instead of waiting for a unit that is not there.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace tolm {

class LinkContext;

enum class StepOutcome { NotRequested, Completed, Failed, Timeout, Skipped };

// The word a step's line shows for its outcome: "Not requested", "Completed", "Failed",
// "Timeout" or "Skipped".
QString outcomeText(StepOutcome outcome);

struct SequenceStep {
    int kind = 0;    // the owner's name for the step (its row)
    int engine = 0;  // engine index 0 or 1
    bool requested = false;
    // The command handed to the link; 0 makes a local step that the owner runs.
    quint32 command = 0;
    std::vector<quint32> payload;
    // Ticks to wait for the link's answer; 0 waits as long as the link works on it.
    int timeoutTicks = 0;
    // The step reads the answer (a download): its response file is left to the owner, and an
    // answer without one is a failure. Otherwise the response file is deleted unread.
    // A step that reads its answer, and a local step, mark their engine unsaved when they do not
    // complete.
    bool readsResponse = false;
    // Skipped once its engine has been marked unsaved: the unit's memory of an engine whose data
    // was not filed must never be erased.
    bool guarded = false;
};

class StepSequence {
public:
    class Owner {
    public:
        virtual ~Owner() = default;
        // The step at `index` is about to start (its status line, the progress mode).
        virtual void stepStarted(int /*index*/) {}
        // The step at `index` has its outcome.
        virtual void stepFinished(int index, StepOutcome outcome) = 0;
        // Progress of a step that waits: for a step without time-out the share of the answer
        // received in percent (value of 100), otherwise the seconds spent waiting, counted from
        // 1, of the time-out's seconds.
        virtual void progress(int /*value*/, int /*maximum*/) {}
        // Runs a local step and returns its outcome.
        virtual StepOutcome runLocalStep(int /*index*/) { return StepOutcome::Completed; }
        // Sets the link up again when no link thread runs. True when it is up.
        virtual bool reconnect() { return false; }
        // Every step has its outcome.
        virtual void finished() {}
    };

    // The longest a step waits for the link to report on a withdrawn command before it hands over
    // its own, in seconds. The link reports a withdrawn command as soon as it has reset the
    // connection, which takes well under a second.
    static constexpr int kLetGoSeconds = 10;

    // ticksPerSecond: how many ticks make a second (the time-outs and the progress shown).
    // stopAtFirstFailure: a failed or timed-out step ends the sequence; the steps after it are
    // never started and keep no outcome.
    StepSequence(LinkContext& link, std::vector<SequenceStep> steps, Owner& owner,
                 int ticksPerSecond = 10, bool stopAtFirstFailure = false);
    StepSequence(const StepSequence&) = delete;
    StepSequence& operator=(const StepSequence&) = delete;

    // Runs the steps up to the first one that waits for the link.
    void start();
    // One tick of the owner's timer.
    void tick();
    // Withdraws the command in flight and ends the sequence without starting another step.
    void cancel();

    bool isFinished() const { return finished_; }
    bool isCancelled() const { return cancelled_; }
    // The step running or waiting; the number of steps once finished.
    int current() const { return current_; }
    int size() const { return static_cast<int>(steps_.size()); }
    const SequenceStep& step(int index) const { return steps_.at(index); }
    // The outcome of a finished step (NotRequested for a step that never ran).
    StepOutcome outcome(int index) const { return outcomes_.at(index); }
    // Whether a step that was not carried out (failed, timed out, skipped) came before.
    bool anyFailed() const { return anyFailed_; }

    // Marks an engine's data as not filed: its guarded steps are skipped from now on.
    void markUnsaved(int engine);
    bool unsaved(int engine) const { return unsaved_[engine & 1]; }

private:
    enum class Wait { None, NextStep, LettingGo, Answer };
    enum class HandOver { Done, LinkBusy, Refused };

    void run();
    bool startStep(int index);  // false: the step is over, go on with the next
    bool sendStep(int index);   // false: the step is over
    HandOver handOver(const SequenceStep& step);
    void tickLettingGo();
    void tickWaiting(SequenceStep& step);
    void advance();
    void finish(int index, StepOutcome outcome);
    void end();

    LinkContext& link_;
    std::vector<SequenceStep> steps_;
    std::vector<StepOutcome> outcomes_;
    Owner& owner_;
    const int ticksPerSecond_;
    const bool stopAtFirstFailure_;
    int current_ = 0;
    Wait wait_ = Wait::None;
    quint64 generation_ = 0;  // the command of the current step, once handed over
    int countdown_ = 0;
    int shownProgress_ = -1;
    bool unsaved_[2] = {false, false};
    bool busy_ = false;  // inside a step procedure (ticks arriving then are skipped)
    bool cancelled_ = false;
    bool finished_ = false;
    bool anyFailed_ = false;
    bool reconnectFailed_ = false;
    bool linkStuck_ = false;  // the link did not let go of a withdrawn command in time
};

}  // namespace tolm
