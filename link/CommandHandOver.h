#pragma once
// The hand-over of commands from the GUI thread to the link thread, one at a time.
//
//   GUI thread                                  link thread
//   submit() ---- generation g, in flight ----> take(): g and its receive limit
//   withdraw(g) --- abort request for g ------> abortRequested(g), looked at between waits
//   reported(g), waitReported(g) <------------- report(g), once the status fields are written
//                                               threadEnded(): reports whatever is in flight
//
// Every change happens under one lock: a command is never marked in flight for a thread that
// has already ended, and the thread's end always releases the command in flight. Each command
// has its own generation, so that the report or the abort of a withdrawn command is never
// taken for those of the command after it.
//
// The thread's phase: Stopped (no link thread), Connecting (started, not connected yet),
// Serving (connected, or connecting again after an aborted command). A command may be handed to
// a connecting thread; it waits in the buffer until the connection is there.
#include <QtGlobal>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

namespace tolm {

class CommandHandOver {
public:
    using Generation = quint64;
    enum class Phase { Stopped, Connecting, Serving };
    enum class Refusal { None, CommandInFlight, NoThread, PayloadTooLong };

    struct Ticket {
        Generation generation = 0;  // 0: refused
        Refusal refusal = Refusal::None;
        explicit operator bool() const { return generation != 0; }
    };
    struct Taken {
        Generation generation = 0;
        int receiveLimitMs = 0;  // 0: the link's own socket time-out
    };

    // GUI side.

    // Marks a command in flight and returns its generation, unless a command is in flight
    // already or no link thread runs; `fill` writes the command buffer and runs under the lock
    // after those checks. receiveLimitMs: how long the link thread lets the unit take for this
    // command at most (0: its own socket time-out).
    Ticket submit(const std::function<void()>& fill, int receiveLimitMs = 0);
    // Asks the link thread to give up command `g` if it is still in flight.
    void withdraw(Generation g);
    // Gives up whatever command is in flight.
    void withdrawCurrent();
    bool inFlight() const;
    // The command in flight (0: none).
    Generation current() const;
    // The last command handed over (0: none yet).
    Generation last() const;
    // Command `g` is no longer in flight: the link thread has reported on it, or has ended.
    bool reported(Generation g) const;
    // Waits at most timeoutMs for the report on `g`; true when it has come.
    bool waitReported(Generation g, int timeoutMs) const;
    // Waits at most timeoutMs until no command is in flight; true when none is.
    bool waitIdle(int timeoutMs) const;
    Phase phase() const;
    // A link thread runs (connecting or serving).
    bool threadRunning() const { return phase() != Phase::Stopped; }
    // Waits at most timeoutMs while the thread is still connecting; the phase it is in then.
    Phase waitWhileConnecting(int timeoutMs) const;

    // Link thread side (threadStarting is called by whoever starts the thread, before it runs).

    // A new thread is about to run: Connecting, and nothing in flight.
    void threadStarting();
    // The thread is connected and serves commands.
    void threadServing();
    // The command in flight that the thread has not taken up yet, if any.
    std::optional<Taken> take();
    bool abortRequested(Generation g) const;
    // Whether the command in flight, if any, is to be given up (the thread is between commands
    // and sees whether one handed over meanwhile was withdrawn already).
    bool currentWithdrawn() const;
    // The thread has written the outcome of `g` into the status fields.
    void report(Generation g);
    // The thread is on its way out: Stopped, and the command in flight, if any, reported.
    void threadEnded();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Phase phase_ = Phase::Stopped;
    Generation last_ = 0;
    Generation inFlight_ = 0;
    Generation taken_ = 0;
    Generation withdrawn_ = 0;
    int receiveLimitMs_ = 0;
};

}  // namespace tolm
