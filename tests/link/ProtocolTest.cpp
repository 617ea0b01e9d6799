// The unit protocol without a connection: framing, conversion, validation, log, error texts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryFile>
#include <array>
#include <cerrno>

#include "core/ByteOrder.h"
#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "link/CommLog.h"
#include "link/ResponseFile.h"
#include "link/SocketApi.h"
#include "link/UnitCommand.h"
#include "link/UnitSoftware.h"
#include "link/WinsockErrorText.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;

namespace {

// Words as bytes: big-endian as the unit sends them, little-endian as the host files them.
template <bool kBigEndian>
QByteArray words(std::initializer_list<quint32> values) {
    QByteArray b;
    for (quint32 w : values) {
        for (int shift : {24, 16, 8, 0}) {
            b += char(w >> (kBigEndian ? shift : 24 - shift));
        }
    }
    return b;
}
constexpr auto be = words<true>;
constexpr auto le = words<false>;

struct Validated {
    int result;
    QString name;
    QByteArray file;
};

Validated validate(const QByteArray& received, quint32 size) {
    QTemporaryFile temporary;
    EXPECT_TRUE(temporary.open());
    temporary.write(received);
    temporary.close();
    Validated v;
    v.result = ValidateResponse(v.name, temporary, size);
    v.file = testenv::fileBytes(responseFilePath());
    return v;
}

PartNumberRecord recordWith(const char* main, const char* dsp, const char* config) {
    PartNumberRecord r;
    qstrncpy(reinterpret_cast<char*>(r.data()) + PartNumberRecord::kMainOffset, main, 16);
    qstrncpy(reinterpret_cast<char*>(r.data()) + PartNumberRecord::kDspOffset, dsp, 16);
    qstrncpy(reinterpret_cast<char*>(r.data()) + PartNumberRecord::kConfigOffset, config, 16);
    return r;
}

}  // namespace

TEST(UnitCommandTest, FramesLengthCodeAndPayloadBigEndian) {
    std::array<unsigned char, 16384> buffer;
    buffer.fill(0xFF);
    EXPECT_EQ(BuildCommand(buffer, {}, 0x01), 8);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer.data()), 9), be({8, 1}) + char(0xFF));

    const quint32 download[] = {2, 0};
    EXPECT_EQ(BuildCommand(buffer, download, 0x60), 16);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer.data()), 16), be({16, 0x60, 2, 0}));

    std::vector<quint32> tooLong(4095, 7);
    EXPECT_EQ(BuildCommand(buffer, tooLong, 0xF0), -1);
    EXPECT_EQ(buffer[8], 0);  // untouched
}

TEST(SwapBlockTest, ConvertsWholeElementsByTypeAndLeavesTheRest) {
    QByteArray b("\1\2\3\4\5");
    auto* p = reinterpret_cast<unsigned char*>(b.data());
    SwapBlock(p, 5, 0);
    EXPECT_EQ(b, "\1\2\3\4\5");
    SwapBlock(p, 5, 1);
    EXPECT_EQ(b, "\2\1\4\3\5");
    for (quint32 type : {2u, 3u}) {
        QByteArray w("\1\2\3\4\5\6\7");
        SwapBlock(reinterpret_cast<unsigned char*>(w.data()), 7, type);
        EXPECT_EQ(w, "\4\3\2\1\5\6\7") << type;
    }
}

TEST(ValidateResponseTest, WritesHostOrderCopyOfEveryBlockOrLogsTheRefusal) {
    linktest::clearLog();
    const Validated empty = validate(be({12, 0, 0}), 12);
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.name,
              homeDirectory() + "/QUOR-" + QString::number(QCoreApplication::applicationPid()));
    EXPECT_EQ(empty.file, le({12, 0, 0}));

    const QByteArray wire = be({12 + 13 + 11 + 12, 0, 3}) + be({0, 5}) + "ABCDE" + be({1, 3}) +
                            "\1\2\3" + be({3, 4}) + be({0x01020304});
    const Validated v = validate(wire, quint32(wire.size()));
    ASSERT_EQ(v.result, 0);
    EXPECT_EQ(v.file, le({48, 0, 3}) + le({0, 5}) + "ABCDE" + le({1, 3}) + "\2\1\3" + le({3, 4}) +
                          le({0x01020304}));
    EXPECT_TRUE(linktest::logRecords().empty());  // a good response writes no record

    // A refusal logs its reason and leaves no file.
    struct Case {
        QByteArray wire;
        const char* record;  // none: no detail record
    };
    const Case cases[] = {
        {be({12, 5, 0}), "Unit returned error (ACK = 5)"},
        {be({12, 1, 0}), "Unit returned error (ACK = 1)"},
        {be({20, 0, 1, 4, 0}), "Invalid block type"},
        {be({20, 0, 1, 2, 16777216}), "Invalid byte count"},
        {be({24, 0, 1, 2, 8, 7}), "Truncated response"},     // data runs past the bytes
        {be({16, 0, 1, 2}), "Truncated response"},           // block header cut short
        {be({24, 0, 1, 2, 8, 7, 7}), "Truncated response"},  // data runs past the size word
        {be({16777216, 0, 0}), nullptr},                     // oversized
        {be({16777215, 0, 0}), "Truncated response"},        // the largest size, lacking its bytes
        // Found by fuzzing: a size word below the header's 12 bytes was taken as a complete
        // answer, leaving a response file longer than the size it announced.
        {be({0, 0, 0}), nullptr},
        {be({11, 0, 0}), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wire.toHex().toStdString());
        linktest::clearLog();
        QFile::remove(responseFilePath());
        const Validated v = validate(c.wire, loadBe32(c.wire.constData()));
        EXPECT_EQ(v.result, -1);
        EXPECT_TRUE(v.name.isEmpty());
        EXPECT_FALSE(QFile::exists(responseFilePath()));
        std::vector<std::pair<int, QString>> records;
        if (c.record) {
            records.emplace_back(4, QString::fromLatin1(c.record));
        }
        EXPECT_EQ(linktest::logRecords(), records);
    }
}

TEST(CommLogTest, FiveLineRecordsWithUnpaddedMilliseconds) {
    EXPECT_EQ(commLogTime(QDateTime(QDate(2008, 7, 16), QTime(14, 22, 7, 45))),
              "2008-07-16T14:22:07.45");
    EXPECT_EQ(commLogTime(QDateTime(QDate(2008, 7, 16), QTime(14, 22, 7, 7))),
              "2008-07-16T14:22:07.7");
    EXPECT_EQ(commLogTime(QDateTime(QDate(2008, 7, 16), QTime(9, 5, 3, 0))),
              "2008-07-16T09:05:03.0");

    linktest::clearLog();
    ManualClock clock(QDateTime(QDate(2008, 7, 16), QTime(15, 24, 5, 120)));
    setClock(&clock);
    EXPECT_EQ(LogCommStatus(QStringLiteral("thread initialised"), 1), 0);
    setClock(nullptr);
    EXPECT_EQ(testenv::fileBytes(commLogPath()),
              "Process id:   " + QByteArray::number(QCoreApplication::applicationPid()) +
                  "\nstatus code:  1\nstatus msg:   thread initialised\n"
                  "current time: 2008-07-16T15:24:05.120\n\n");
}

TEST(WinsockErrorTextTest, TableTextsAndSystemErrorsMapOntoThem) {
    EXPECT_EQ(WinsockErrorText("connect()", 10061), "connect(): Connection refused");
    EXPECT_EQ(WinsockErrorText("x", 10059), "x: Too many references] =can't splice");
    EXPECT_EQ(WinsockErrorText("x", 11004), "x: No host data of that type was found");
    EXPECT_EQ(WinsockErrorText("ShutdownConnection(): recv() failed", 0),
              "ShutdownConnection(): recv() failed: ");
    EXPECT_EQ(WinsockErrorText("x", 10000), "x: unknown error (ec = 10000)");

    EXPECT_EQ(net::winsockCodeFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(net::winsockCodeFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(net::winsockCodeFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(net::winsockCodeFromErrno(EWOULDBLOCK), 10035);
    EXPECT_EQ(net::winsockCodeFromErrno(EHOSTUNREACH), 10065);
}

// Each of the three prefixes decides on its own, whole and case-sensitive; a revision suffix is
// accepted. Main Upload Mode is the main software part number alone.
TEST(UnitSoftwareTest, EachPrefixDecidesAndMainUploadModeIsMainSoftwareAlone) {
    const char* const served[3] = {"731-402-000-1", "731-403-000-4", "731-406-000-4"};
    EXPECT_TRUE(isCompatible(recordWith(served[0], served[1], served[2])));
    EXPECT_TRUE(isCompatible(recordWith("731-402-000-1B", "731-403-000-4A", "731-406-000-4 rev")));
    // For each field: another last digit, the prefix cut short, another letter case, nothing.
    const char* const wrong[3][4] = {{"731-402-000-2", "731-402-000-", "731-402-000-l", ""},
                                     {"731-403-000-5", "731-403-000-", "731-403-000-A", ""},
                                     {"731-406-000-3", "731-406-000-", "731-406-000-a", ""}};
    for (int field = 0; field < 3; ++field) {
        for (const char* text : wrong[field]) {
            const char* parts[3] = {served[0], served[1], served[2]};
            parts[field] = text;
            EXPECT_FALSE(isCompatible(recordWith(parts[0], parts[1], parts[2])))
                << "field " << field << ": \"" << text << "\"";
        }
    }
    EXPECT_TRUE(isMainUploadMode(recordWith("731-402-000-1", "", "")));
    EXPECT_FALSE(isMainUploadMode(recordWith("731-402-000-1", "731-403-000-4", "")));
    EXPECT_FALSE(isMainUploadMode(recordWith("731-402-000-1", "", "731-406-000-4")));
    EXPECT_FALSE(isMainUploadMode(recordWith("", "", "")));
}
