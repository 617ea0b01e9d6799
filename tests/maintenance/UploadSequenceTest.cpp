// Upload images as the unit will get them (the words of the file, what is refused, the packets,
// the sections offered); uploads on loopback, the test driving the pacing ticks; the run's uploads.
#include <gtest/gtest.h>

#include <QFile>
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>

#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "maintenance/FirmwareSections.h"
#include "maintenance/UploadImage.h"
#include "maintenance/UploadRun.h"
#include "maintenance/UploadSequence.h"
#include "tests/link/LinkTestSupport.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;
using Words = std::vector<quint32>;

namespace {

Words wordsOf(const char* text) {
    const UploadImage image = readUploadImage(QByteArrayView(text));
    EXPECT_FALSE(image.refused()) << text;
    return image.words;
}

std::optional<Notice> refusalOf(QByteArrayView text) {
    return readUploadImage(text).refusal;
}

// What the upload reports, one line each.
class RecordingView : public linktest::Reconnecting<UploadSequence::View> {
public:
    QStringList lines;

    void packetStarted(int number, int count) override {
        lines << QStringLiteral("packet %1 of %2").arg(number).arg(count);
    }
    void showReinitialising(bool shown) override {
        lines << (shown ? QStringLiteral("notice shown") : QStringLiteral("notice removed"));
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

TEST(UploadImageTest, WordsAreHexadecimalNumbersUpToTheFirstTextThatIsNotANumber) {
    EXPECT_EQ(wordsOf("0 1 ffffffff"), (Words{0, 1, 0xFFFFFFFF}));
    EXPECT_EQ(wordsOf("\r\n  DeadBeef\t0x12345678\n0X9abc\v\f7\r\n"),
              (Words{0xDEADBEEF, 0x12345678, 0x9ABC, 7}));
    // Leading zeros do not make a number wide.
    EXPECT_EQ(wordsOf("00000000000000000000000000ffffffff"), (Words{0xFFFFFFFF}));

    // As "%lx" reads them: a number ends at the first character that is not a digit, and the
    // first text that does not begin a number ends the image, whatever follows.
    EXPECT_EQ(wordsOf("1 2 end 3 4"), (Words{1, 2, 0xE}));  // "e" is a digit
    EXPECT_EQ(wordsOf("1 2 stop 3 4"), (Words{1, 2}));
    EXPECT_EQ(wordsOf("1234,5678"), (Words{0x1234}));
    EXPECT_EQ(wordsOf("12g4 5"), (Words{0x12}));
    EXPECT_EQ(wordsOf("aa 0xzz bb"), (Words{0xAA, 0}));  // "0" read, then "xzz" ends it
    EXPECT_EQ(wordsOf("5 -6 7"), (Words{5}));
    EXPECT_EQ(readUploadImage(QByteArrayView("8 \0 9", 5)).words, (Words{8}));
    EXPECT_EQ(wordsOf("a1\n\n"), (Words{0xA1}));
}

TEST(UploadImageTest, AnImageThatWouldSendSomethingElseIsRefused) {
    // The third begins with a byte-order mark (EF BB BF), which is not a number.
    for (const char* text : {"", " \r\n\t", "\357\273\27712 34", "x 1 2"}) {
        EXPECT_EQ(refusalOf(text), Notice::warning("Upload Error", "Upload file holds no data"));
    }
    // Cut to 32 bits it would be another word than the file's.
    EXPECT_EQ(
        refusalOf("1 2 123456789 3"),
        Notice::warning("Upload Error", "Upload file holds a number wider than 32 bits (word 3)"));
    EXPECT_EQ(
        refusalOf("0x100000000"),
        Notice::warning("Upload Error", "Upload file holds a number wider than 32 bits (word 1)"));
}

TEST(UploadImageTest, WordsAreCutIntoPacketsOf1280WithAZeroPaddedLastPacket) {
    Words words(1281);
    for (quint32 i = 0; i < words.size(); ++i) {
        words[i] = 0xA0000000 + i;
    }
    // 1280 words: one packet, which is the last and waits 90 seconds.
    const auto one = uploadPackets(UploadKind::DspSoftware, Words(words.begin(), words.end() - 1));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].command, CMD_UPLOAD_DSP_SOFTWARE);
    EXPECT_EQ(one[0].payload, Words(words.begin(), words.end() - 1));
    EXPECT_EQ(one[0].timeoutTicks, 90);

    // 1281 words: the second packet holds the last word and 1279 zeros.
    const auto two = uploadPackets(UploadKind::ConfigTable, words);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].timeoutTicks, 60);
    EXPECT_EQ(two[1].timeoutTicks, 90);
    EXPECT_EQ(two[1].command, CMD_UPLOAD_CONFIG_TABLE);
    Words last(1280, 0);
    last[0] = words[1280];
    EXPECT_EQ(two[1].payload, last);
    EXPECT_EQ(uploadPacketCount(0), 0);
    EXPECT_EQ(uploadPacketCount(2560), 2);
    EXPECT_EQ(uploadPacketCount(2561), 3);
}

TEST(UploadImageTest, TheSectionsOfferedFollowThePartNumbers) {
    const auto offered = [](const char* main, const char* dsp, const char* config) {
        PartNumberRecord r;
        std::memcpy(r.data() + PartNumberRecord::kMainOffset, main, std::strlen(main));
        std::memcpy(r.data() + PartNumberRecord::kDspOffset, dsp, std::strlen(dsp));
        std::memcpy(r.data() + PartNumberRecord::kConfigOffset, config, std::strlen(config));
        const FirmwareSections s = firmwareSections(r);
        return std::pair(s.mainProcessor, s.dspProcessors);
    };
    EXPECT_EQ(offered("731-402-000-1B", "731-403-000-4A", "731-406-000-4D"),
              std::pair(false, true));
    EXPECT_EQ(offered("731-402-000-1B", "", ""), std::pair(true, false));  // Main Upload
    EXPECT_EQ(offered("", "", ""), std::pair(true, true));  // the unit did not answer
    EXPECT_EQ(offered("731-402-000-1B", "731-403-000-4A", ""), std::pair(true, true));

    EXPECT_EQ(partNumberField(QStringLiteral("731-402-000-1B")),
              QStringLiteral("  731-402-000-1B"));
    EXPECT_EQ(partNumberField(QString()), QString(16, QLatin1Char(' ')));
    EXPECT_EQ(partNumberField(QStringLiteral("12345678901234567")),
              QStringLiteral("1234567890123456"));
}

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
