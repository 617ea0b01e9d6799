// Uploads without a window on loopback, the pacing ticks driven by the test; and the run's
// uploads: the files chosen, one upload at a time, and what follows each.
#include <gtest/gtest.h>

#include <QFile>
#include <functional>
#include <optional>
#include <tuple>

#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "maintenance/UploadRun.h"
#include "maintenance/UploadSequence.h"
#include "tests/link/LinkTestSupport.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;
using Words = std::vector<quint32>;

namespace {

// What the upload reports, one line each.
class RecordingView : public UploadSequence::View {
public:
    QStringList lines;
    int reconnects = 0;
    std::function<bool()> onReconnect;

    void packetStarted(int number, int count) override {
        lines << QStringLiteral("packet %1 of %2").arg(number).arg(count);
    }
    void showReinitialising(bool shown) override {
        lines << (shown ? QStringLiteral("notice shown") : QStringLiteral("notice removed"));
    }
    bool reconnect() override {
        ++reconnects;
        return onReconnect && onReconnect();
    }
    void finished() override { lines << QStringLiteral("finished"); }
};

class UploadSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.link.socketTimeoutMs.store(20000);  // longer than any wait of the upload
        ASSERT_TRUE(rig.connect());
    }

    static Words image(std::size_t words) {
        Words w(words);
        for (std::size_t i = 0; i < words; ++i) {
            w[i] = 0x9E3779B9u * quint32(i + 1);  // no two packets alike, no zero words
        }
        return w;
    }
    UploadSequence& start(UploadKind kind, const Words& words) {
        upload.emplace(rig.link, kind, words, view);
        upload->start();
        return *upload;
    }
    // One pacing tick, after the link has reported on the packet in flight.
    void tickAnswered() {
        ASSERT_TRUE(WaitForCommand(rig.link, 5000));
        upload->tick();
    }
    void tickToTheEnd() {
        for (int i = 0; i < 20 && !upload->isFinished(); ++i) {
            tickAnswered();
        }
        ASSERT_TRUE(upload->isFinished());
    }
    std::size_t packetsReceived() {
        std::size_t n = 0;
        for (const auto& c : rig.sim.unit().commands()) {
            n += c.code == CMD_UPLOAD_DSP_SOFTWARE || c.code == CMD_UPLOAD_MAIN_SOFTWARE;
        }
        return n;
    }

    linktest::ThreadRig rig;
    RecordingView view;
    std::optional<UploadSequence> upload;
};

}  // namespace

TEST_F(UploadSequenceTest, AThreePacketImageArrivesWordForWordOnePacketPerTick) {
    const Words words = image(2 * 1280 + 5);
    start(UploadKind::DspSoftware, words);
    EXPECT_EQ(upload->progressText(), QStringLiteral("Uploading packet 1 of 3"));
    EXPECT_EQ(upload->statusText(), QStringLiteral("Upload in Progress..."));
    for (std::size_t sent = 1; sent <= 3; ++sent) {
        ASSERT_TRUE(WaitForCommand(rig.link, 5000));
        EXPECT_EQ(packetsReceived(), sent) << "the next packet waits for the tick";
        upload->tick();
    }
    ASSERT_EQ(upload->state(), UploadSequence::State::Completed);
    EXPECT_EQ(view.lines,
              QStringList({"packet 1 of 3", "packet 2 of 3", "packet 3 of 3", "finished"}));
    Words expected = words;
    expected.resize(3 * 1280, 0);
    EXPECT_EQ(rig.sim.unit().uploadedWords(CMD_UPLOAD_DSP_SOFTWARE), expected);
    EXPECT_EQ(upload->progressText(), QStringLiteral("Upload Completed!"));
    EXPECT_EQ(upload->statusText(), QStringLiteral("Upload Completed!"));
    EXPECT_EQ(upload->endNotice(), Notice::information("Firmware Upload", "Upload Completed!"));
    EXPECT_TRUE(rig.link.responseFileName().isEmpty() ||
                !QFile::exists(rig.link.responseFileName()));
}

// The unit answers packet 1 and closes the connection: packet 2 fails on the dead connection,
// and the upload is not carried on over a new one.
TEST_F(UploadSequenceTest, AConnectionDroppedAfterPacketOneEndsTheUploadAtPacketTwo) {
    rig.sim.unit().addFault(Fault{FaultKind::CloseAfterAnswer, CMD_UPLOAD_MAIN_SOFTWARE, 0, 1});
    view.onReconnect = [this] { return rig.connect(); };
    start(UploadKind::MainSoftware, image(3 * 1280));
    tickToTheEnd();
    EXPECT_EQ(upload->state(), UploadSequence::State::Failed);
    EXPECT_EQ(upload->endNotice(),
              Notice::critical("Firmware Upload", "Upload failed at packet 2 of 3"));
    EXPECT_EQ(view.reconnects, 0);
    EXPECT_EQ(rig.sim.connectionsAccepted(), 1);
    EXPECT_EQ(packetsReceived(), 1u);
}

TEST_F(UploadSequenceTest, TheLastPacketWaitsNinetySecondsAndIsThenWithdrawn) {
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_UPLOAD_MAIN_SOFTWARE, 0, 1});
    start(UploadKind::MainSoftware, image(1280));
    ASSERT_TRUE(rig.sim.waitForCommands(1, 5000));
    for (int i = 0; i < 89; ++i) {
        upload->tick();
    }
    EXPECT_FALSE(upload->isFinished());
    upload->tick();
    EXPECT_EQ(upload->state(), UploadSequence::State::TimedOut);
    EXPECT_EQ(upload->progressText(), QStringLiteral("Upload timeout"));
    EXPECT_EQ(upload->endNotice(), Notice::critical(" TOLM for QUOR ", "Upload timeout"));
    // Main software: the unit does not reinitialise, so no notice was shown while waiting.
    EXPECT_EQ(view.lines, QStringList({"packet 1 of 1", "finished"}));
    // The silent packet is given up by the link, long before its socket time-out.
    ASSERT_TRUE(WaitForCommand(rig.link, 5000));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
}

TEST_F(UploadSequenceTest, TheReinitialisationNoticeShowsUntilTheSlowLastAnswerComes) {
    rig.sim.unit().addFault(Fault{FaultKind::SlowAnswer, CMD_UPLOAD_DSP_SOFTWARE, 700, 1, 1});
    start(UploadKind::DspSoftware, image(1281));
    tickAnswered();  // packet 2 goes out; its answer takes 0.7 s
    upload->tick();
    upload->tick();
    EXPECT_TRUE(upload->reinitialising());
    EXPECT_FALSE(upload->isFinished());
    tickAnswered();
    EXPECT_EQ(upload->state(), UploadSequence::State::Completed);
    EXPECT_EQ(view.lines, QStringList({"packet 1 of 2", "packet 2 of 2", "notice shown",
                                       "notice removed", "finished"}));
}

TEST_F(UploadSequenceTest, ALinkThatIsDownIsSetUpAgainOnceBeforeTheFirstPacket) {
    rig.stop();
    view.onReconnect = [this] {
        rig.link.responseEvent.reset();  // the ended thread's last signal
        return rig.connect();
    };
    start(UploadKind::DspSoftware, image(10));
    tickToTheEnd();
    EXPECT_EQ(upload->state(), UploadSequence::State::Completed);
    EXPECT_EQ(view.reconnects, 1);

    // A unit that cannot be reached: nothing is sent, and the upload says so at once.
    rig.stop();
    view.onReconnect = [] { return false; };
    start(UploadKind::DspSoftware, image(1500));
    EXPECT_EQ(upload->state(), UploadSequence::State::Failed);
    EXPECT_EQ(upload->endNotice(),
              Notice::critical("Firmware Upload", "Upload failed at packet 1 of 2"));
    EXPECT_EQ(view.reconnects, 2);
    EXPECT_EQ(packetsReceived(), 1u);
}

TEST(UploadFollowUpTest, OnlyACompletedUploadIsFollowedUpAndEachKindInItsOwnWay) {
    const auto steps = [](UploadKind kind, UploadSequence::State state) {
        const UploadFollowUp next = uploadFollowUp(kind, state, Notice::critical("t", "x"));
        EXPECT_EQ(next.notice, Notice::critical("t", "x"));
        return std::tuple(next.readPartNumbers, next.eraseEverything, next.endProgram);
    };
    using State = UploadSequence::State;
    EXPECT_EQ(steps(UploadKind::MainSoftware, State::Completed), std::tuple(false, false, true));
    EXPECT_EQ(steps(UploadKind::DspSoftware, State::Completed), std::tuple(true, false, false));
    EXPECT_EQ(steps(UploadKind::ConfigTable, State::Completed), std::tuple(true, true, false));
    for (const UploadKind kind :
         {UploadKind::MainSoftware, UploadKind::DspSoftware, UploadKind::ConfigTable}) {
        for (const State state : {State::Failed, State::TimedOut}) {
            EXPECT_EQ(steps(kind, state), std::tuple(false, false, false)) << int(kind);
        }
    }
}

TEST_F(UploadSequenceTest, TheRunKeepsWholePathsAndIsBusyUntilWhatFollowsHasBeenDoneOnce) {
    UploadRun run;
    EXPECT_EQ(run.missingFile(UploadKind::DspSoftware),
              Notice::warning("Upload Error", "No upload file selected"));
    const QString path = QStringLiteral("/uploads/") + QString(300, QLatin1Char('d')) +
                         QStringLiteral("/731_403_B.dat");
    run.choose(UploadKind::DspSoftware, path);
    EXPECT_EQ(run.path(UploadKind::DspSoftware), path);
    EXPECT_EQ(run.fileName(UploadKind::DspSoftware), QStringLiteral("731_403_B.dat"));
    EXPECT_FALSE(run.missingFile(UploadKind::DspSoftware));
    EXPECT_TRUE(run.missingFile(UploadKind::ConfigTable));

    UploadSequence& upload = run.make(rig.link, UploadKind::DspSoftware, image(10), view);
    upload.start();
    EXPECT_TRUE(run.busy());
    EXPECT_FALSE(run.beginFollowUp()) << "nothing follows an upload that runs";
    for (int i = 0; i < 20 && !upload.isFinished(); ++i) {
        ASSERT_TRUE(WaitForCommand(rig.link, 5000));
        run.tick();
    }
    ASSERT_EQ(upload.state(), UploadSequence::State::Completed);
    EXPECT_EQ(view.lines.last(), QStringLiteral("finished"));
    EXPECT_TRUE(run.busy()) << "until what follows has been done";
    const std::optional<UploadFollowUp> next = run.beginFollowUp();
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->readPartNumbers);
    EXPECT_FALSE(run.beginFollowUp()) << "a loop inside the follow-up asks again";
    EXPECT_TRUE(run.busy());
    run.endFollowUp();
    EXPECT_FALSE(run.busy());
    EXPECT_FALSE(run.beginFollowUp());
}
