// The step machine against the simulated unit on loopback: what bounds and decides each step.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "link/CommandTable.h"
#include "link/Connection.h"
#include "link/StepSequence.h"
#include "link/TCPHandler.h"
#include "tests/link/LinkTestSupport.h"

using namespace tolm;
using quorsim::FaultKind;
using Outcomes = std::vector<StepOutcome>;

namespace {

constexpr int kTicksPerSecond = 10;

SequenceStep erase(quint32 code, int engine, int timeoutTicks) {
    return {.kind = int(code),
            .engine = engine,
            .requested = true,
            .command = code,
            .payload = {quint32(engine + 1)},
            .timeoutTicks = timeoutTicks};
}

struct Owner : linktest::Reconnecting<StepSequence::Owner> {
    Outcomes outcomes;
    void stepFinished(int, StepOutcome outcome) override { outcomes.push_back(outcome); }
};

class StepSequenceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.connect()); }
    void TearDown() override { setConnector({}); }

    // Ticks every `tickMs` of real time until the sequence has finished or `limitMs` has passed.
    static qint64 run(StepSequence& sequence, int tickMs, int limitMs) {
        QElapsedTimer clock;
        clock.start();
        sequence.start();
        while (!sequence.isFinished() && clock.elapsed() < limitMs) {
            QThread::msleep(tickMs);
            sequence.tick();
        }
        return clock.elapsed();
    }

    linktest::ThreadRig rig;
    Owner owner;
};

}  // namespace

// A retried erase right after the one before timed out, its withdrawn command maybe still in
// flight: the link is let go of and set up again (that connection was reset), not failed.
TEST_F(StepSequenceTest, AStepAfterAWithdrawnCommandWaitsForItInsteadOfFailing) {
    rig.sim.unit().addFault({FaultKind::NoAnswer, CMD_ERASE_BEARING_DATA});
    Owner first;
    StepSequence timedOut(rig.link, {erase(CMD_ERASE_BEARING_DATA, 0, 3)}, first, kTicksPerSecond);
    run(timedOut, 10, 5000);
    ASSERT_EQ(first.outcomes, Outcomes{StepOutcome::Timeout});

    owner.onReconnect = [this] { return rig.connect(); };
    StepSequence retried(rig.link, {erase(CMD_ERASE_BEARING_DATA, 0, 50)}, owner, kTicksPerSecond);
    run(retried, 10, 10000);
    EXPECT_EQ(owner.outcomes, Outcomes{StepOutcome::Completed});
    EXPECT_EQ(owner.reconnects, 1);
    EXPECT_EQ(rig.sim.unit().commands().size(), 2u);
    EXPECT_EQ(rig.sim.connectionsAccepted(), 2);
}

// A withdrawn command the link never lets go of: the step waits its margin and fails, and the
// steps after it fail at once instead of waiting again.
TEST_F(StepSequenceTest, ALinkThatNeverLetsGoFailsTheStepAfterItsMarginAndTheRestAtOnce) {
    LinkContext idle;  // a link whose thread never reports
    idle.handOver.threadStarting();
    ASSERT_TRUE(idle.handOver.submit({}));
    StepSequence sequence(
        idle, {erase(CMD_ERASE_BEARING_DATA, 0, 600), erase(CMD_ERASE_BEARING_DATA, 1, 600)}, owner,
        kTicksPerSecond);
    int ticks = 0;
    for (sequence.start(); !sequence.isFinished() && ticks < 1000; ++ticks) {
        sequence.tick();
    }
    EXPECT_EQ(owner.outcomes, (Outcomes{StepOutcome::Failed, StepOutcome::Failed}));
    EXPECT_EQ(ticks, StepSequence::kLetGoSeconds * kTicksPerSecond);
}

// Switched off mid-erase, the unit goes silent and every connect hangs: the first step times
// out, the one set-up again fails, and the steps after that fail at once.
TEST_F(StepSequenceTest, AUnitSwitchedOffMidEraseEndsEveryStepWithinItsBound) {
    rig.link.connectAttempts.store(2);
    rig.link.connectAttemptMs.store(150);
    rig.sim.unit().setEraseDurationMs(CMD_ERASE_BEARING_DEFECT_HISTORY, 60000);
    setConnector([](net::SocketHandle, quint32, quint16, const std::function<bool()>& cancelled) {
        while (!cancelled()) {
            QThread::msleep(5);
        }
        return false;
    });
    owner.onReconnect = [this] {
        StartLinkThread(rig.thread, rig.link);
        return rig.link.handOver.waitWhileConnecting(5000) == CommandHandOver::Phase::Serving;
    };
    StepSequence sequence(rig.link,
                          {erase(CMD_ERASE_BEARING_DEFECT_HISTORY, 0, 20),
                           erase(CMD_ERASE_ACCEL_DEFECT_HISTORY, 0, 20),
                           erase(CMD_ERASE_BEARING_DEFECT_HISTORY, 1, 20),
                           erase(CMD_ERASE_ACCEL_DEFECT_HISTORY, 1, 20)},
                          owner, kTicksPerSecond);
    ASSERT_TRUE(rig.sim.waitForConnections(1, 2000));
    rig.sim.powerOff(60000);
    // A step of 2 s and one set-up of two 150 ms attempts a second apart: well under 20 s.
    const qint64 took = run(sequence, 100, 40000);
    ASSERT_TRUE(sequence.isFinished()) << "still running after " << took << " ms";
    EXPECT_LT(took, 20000);
    EXPECT_EQ(owner.outcomes, (Outcomes{StepOutcome::Timeout, StepOutcome::Failed,
                                        StepOutcome::Failed, StepOutcome::Failed}));
    EXPECT_EQ(owner.reconnects, 1);
}

// A socket time-out shorter than the step's count-down (both 300 s in the field, on a busy
// machine): the count-down still decides, with "Timeout", and the next step gets a new link.
TEST_F(StepSequenceTest, AUnitThatNeverAnswersTimesOutByTheStepsCountDownNotTheSocket) {
    rig.link.socketTimeoutMs.store(300);
    owner.onReconnect = [this] { return rig.connect(); };
    rig.sim.unit().addFault({FaultKind::NoAnswer, CMD_ERASE_BEARING_DATA});
    StepSequence sequence(
        rig.link,
        {erase(CMD_ERASE_BEARING_DATA, 0, 10), erase(CMD_ERASE_BEARING_DEFECT_HISTORY, 0, 50)},
        owner, kTicksPerSecond);
    run(sequence, 100, 20000);
    EXPECT_EQ(owner.outcomes, (Outcomes{StepOutcome::Timeout, StepOutcome::Completed}));
    EXPECT_EQ(owner.reconnects, 1);
}
