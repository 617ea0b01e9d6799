// The simulator's reader of link traces: the answers it takes from one, and unreadable lines.
#include <gtest/gtest.h>

#include "sim/TraceScript.h"

using quorsim::ScriptedAnswer;
using quorsim::TraceScript;
using Ending = ScriptedAnswer::Ending;

namespace {

// An answer as one line: its command, each piece as "at ms:bytes", then its ending and when.
std::string describe(const ScriptedAnswer& a) {
    const char* const endings[] = {"whole", "silence", "close", "reset", "give-up"};
    QByteArray line = a.command.toHex();
    for (const ScriptedAnswer::Piece& piece : a.pieces) {
        line += ' ' + QByteArray::number(piece.atMs) + ':' + piece.bytes.toHex();
    }
    line += QByteArray(" ") + endings[int(a.ending)] + '@' + QByteArray::number(a.endAtMs);
    return line.toStdString();
}

}  // namespace

TEST(TraceScriptTest, AnswersTakeTheirBytesTimesAndEndingsFromTheTrace) {
    const QByteArray trace =
        "# a note\n"
        "2008-07-16T15:24:05.000 start 127.0.0.1:4242 pid 7\r\n"
        "2008-07-16T15:24:05.001 connect 127.0.0.1:4242 1/150 ok\n"
        // A whole answer in two reads: done when it holds the 16 bytes it announces.
        "2008-07-16T15:24:05.010 send 0000000c0000000100000000\n"
        "2008-07-16T15:24:05.015 recv 000000100000\n"
        "2008-07-16T15:24:05.035 recv 0000000000000000AABB\n"
        "2008-07-16T15:24:05.036 close graceful\n"
        // The unit fell silent after the size word.
        "2008-07-16T15:24:06.000 send 0000000c0000006500000001\n"
        "2008-07-16T15:24:06.002 recv 00000010\n"
        "2008-07-16T15:24:06.302 timeout recv() failed.\n"
        "2008-07-16T15:24:06.302 fail recv() failed.\n"
        // The unit closed; the connection broke; the program gave up (abort, fail, end).
        "2008-07-16T15:24:07.000 send 0000000c0000006600000001\n"
        "2008-07-16T15:24:07.040 closed recv() failed.\n"
        "2008-07-16T15:24:08.000 send 0000000c0000006700000001\n"
        "2008-07-16T15:24:08.001 recv 0000001000\n"
        "2008-07-16T15:24:08.050 error 10054 recv() failed.\n"
        "2008-07-16T15:24:09.000 send 0000001000000060000000010000000\n"  // odd: not read
        "2008-07-16T15:24:09.000 send 000000100000006000000001000000000\n"
        "2008-07-16T15:24:09.000 send 00000010000000600000000100000000\n"
        "2008-07-16T15:24:09.700 abort\n"
        "2008-07-16T15:24:10.000 send 0000000c0000000100000000\n"
        "2008-07-16T15:24:10.001 recv ffffffff\n"
        "2008-07-16T15:24:10.001 fail Invalid response detected, or unit returned error\n"
        "2008-07-16T15:24:11.000 send 0000000c0000000100000000\n"
        "2008-07-16T15:24:11.500 close abortive\n"
        "2008-07-16T15:24:11.600 end stopped\n"
        // Across midnight, and the clock set back: offsets never run backwards.
        "2008-07-16T23:59:59.990 send 0000000c0000000100000000\n"
        "2008-07-17T00:00:00.010 recv 0000000c\n"
        "2008-07-17T00:00:00.005 recv 0000\n"
        "2008-07-17T00:00:00.030 recv 0001\n"
        "2008-07-17T00:00:00.040 recv 00000000\n"
        // The trace ends before the last answer does.
        "2008-07-17T15:24:12.000 send 0000000c0000000100000000\n"
        "2008-07-17T15:24:12.010 recv 00000010\n";
    const TraceScript script = TraceScript::parse(trace);
    const std::vector<std::string> expected = {
        "0000000c0000000100000000 5:000000100000 25:0000000000000000aabb whole@25",
        "0000000c0000006500000001 2:00000010 silence@302",
        "0000000c0000006600000001 close@40",
        "0000000c0000006700000001 1:0000001000 reset@50",
        " whole@0",  // two unreadable commands, each taken up by the next
        " whole@0",
        "00000010000000600000000100000000 give-up@700",
        "0000000c0000000100000000 1:ffffffff give-up@1",
        "0000000c0000000100000000 give-up@600",
        "0000000c0000000100000000 20:0000000c 20:0000 40:0001 50:00000000 whole@50",
        "0000000c0000000100000000 10:00000010 silence@10",
    };
    std::vector<std::string> answers;
    for (const ScriptedAnswer& a : script.answers()) {
        answers.push_back(describe(a));
    }
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(script.problemCount(), 2);
}

TEST(TraceScriptTest, UnreadableLinesAreReportedWithTheirNumbersAndPassedOver) {
    QByteArray trace =
        "2008-07-16T15:24:05.000 recv 00000010\n"  // 1: no command yet
        "2008-07-16 15:24:05.000 send 0000000c\n"  // 2: not the time's form
        "2008-02-30T15:24:05.000 send 0000000c\n"  // 3: no such day
        "2008-07-16T24:00:00.000 send 0000000c\n"  // 4: no such hour
        "2008-07-16T15:24:05.000\n"                // 5: no event
        "2008-07-16T15:24:05.000 reboot\n"         // 6: unknown event
        "2008-07-16T15:24:05.000 send 0000000c0000000100000000\n"
        "2008-07-16T15:24:05.001 recv 0000000g\n"  // 8: not hexadecimal
        "2008-07-16T15:24:05.002 recv 0000000c0000000000000000\n";
    for (int i = 0; i < 30; ++i) {
        trace += "garbage\n";
    }
    const TraceScript script = TraceScript::parse(trace);
    ASSERT_EQ(script.answers().size(), 1u);
    EXPECT_EQ(script.answers()[0].pieces.size(), 1u);
    EXPECT_EQ(script.answers()[0].ending, Ending::Whole);
    ASSERT_EQ(script.problems().size(), std::size_t(TraceScript::kMaxProblemsKept));
    const int lines[] = {1, 2, 3, 4, 5, 6, 8};
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        EXPECT_EQ(script.problems()[i].line, lines[i]) << i;
    }
    EXPECT_EQ(script.problemCount(), 37);
    EXPECT_EQ(script.problems()[0].what, QStringLiteral("received bytes without a command"));

    EXPECT_FALSE(TraceScript::load(QStringLiteral("/nonexistent/tolmLink.trace")));
}
