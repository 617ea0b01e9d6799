// Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/: the simulator's
// answers and images, and what the program's own writers make of them (response files, raw
// files, register records), each cut to a few kilobytes.
//   fuzz_corpus <corpus directory>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstdio>
#include <functional>

#include "core/Clock.h"
#include "download/FlightDataImage.h"
#include "download/RawFlightFile.h"
#include "fuzz/CompactImage.h"
#include "fuzz/FuzzSupport.h"
#include "link/CommandTable.h"
#include "link/LinkTrace.h"
#include "link/ResponseFile.h"
#include "sim/SimulatedUnit.h"
#include "sim/image/FlightImage.h"
#include "sim/image/ImageWriter.h"

namespace {

using quorsim::Fault;
using quorsim::FaultKind;

QString corpus;

void seed(const char* target, const char* name, const QByteArray& bytes) {
    const QString dir = corpus + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    fuzz::writeFile(dir + QLatin1Char('/') + QLatin1String(name), bytes);
}

// The unit's answer to one command, with a fault when given; what is sent before a close.
QByteArray answer(quint32 code, std::vector<quint32> payload, std::optional<Fault> fault = {},
                  const quorsim::PartNumbers& numbers = quorsim::PartNumbers::compatible()) {
    quorsim::SimulatedUnit unit;
    unit.setPartNumbers(numbers);
    if (fault) {
        unit.addFault(*fault);
    }
    const quorsim::Reply reply = unit.handle({code, std::move(payload)});
    return reply.closeAfter >= 0 ? reply.bytes.left(reply.closeAfter) : reply.bytes;
}

// The response file the link files for a wire answer.
QByteArray responseFile(const QByteArray& wire) {
    const QString path = fuzz::home() + QStringLiteral("/wire");
    fuzz::writeFile(path, wire);
    QFile temporary(path);
    QString name;
    const quint32 size = quint32(quint8(wire[0])) << 24 | quint32(quint8(wire[1])) << 16 |
                         quint32(quint8(wire[2])) << 8 | quint32(quint8(wire[3]));
    if (tolm::ValidateResponse(name, temporary, size) != 0) {
        fuzz::fail("the simulator's answer was refused");
    }
    return fuzz::readFile(name);
}

void responses() {
    using tolm::CMD_GET_PART_NUMBERS;
    const QByteArray pn = answer(CMD_GET_PART_NUMBERS, {0});
    seed("response", "part-numbers", pn);
    seed("response", "erase-ack", answer(tolm::CMD_ERASE_BEARING_DATA, {1}));
    seed("response", "ack-error", answer(CMD_GET_PART_NUMBERS, {0}, Fault{FaultKind::Ack, 0, 5}));
    seed("response", "block-type",
         answer(CMD_GET_PART_NUMBERS, {0}, Fault{FaultKind::InvalidBlockType, 0, 9}));
    seed("response", "byte-count",
         answer(CMD_GET_PART_NUMBERS, {0}, Fault{FaultKind::ByteCountOverLimit, 0, 0}));
    seed("response", "truncated",
         answer(CMD_GET_PART_NUMBERS, {0}, Fault{FaultKind::Truncated, 0, 0}));
    seed("response", "size-word",
         answer(CMD_GET_PART_NUMBERS, {0}, Fault{FaultKind::SizeWord, 0, 200}));
    quorsim::ImageWriter writer(quorsim::ImageWriter::Order::BigEndian);
    writer.beginBlock();
    for (qint16 s : {1, -2, 300, -32768, 32767}) {
        writer.sample(s);
    }
    writer.beginBlock();
    for (quint32 w : {7u, 0xDEADBEEFu, 0u}) {
        writer.word(w);
    }
    writer.beginBlock();
    writer.real(1.5f);
    writer.real(-0.25f);
    seed("response", "three-blocks", writer.finish());
    seed("response", "download-start",
         quorsim::FlightImage::generate(1, 1).wireResponse().left(2048));

    seed("part_numbers", "compatible", responseFile(pn));
    seed("part_numbers", "main-upload-mode",
         responseFile(
             answer(CMD_GET_PART_NUMBERS, {0}, {}, quorsim::PartNumbers::mainUploadMode())));
    seed("part_numbers", "incompatible",
         responseFile(answer(CMD_GET_PART_NUMBERS, {0}, {}, quorsim::PartNumbers::incompatible())));
    seed("part_numbers", "short", responseFile(pn).left(200));
}

tolm::AircraftRecord sampleAircraft(const char* identifier) {
    tolm::AircraftRecord a;
    a.setIdentifier(QString::fromUtf8(identifier));
    a.setShopId(QStringLiteral("ZRH-LM"));
    a.setComments(QStringLiteral("Borescope 2008-02-11\nno findings"));
    for (int e = 0; e < 2; ++e) {
        tolm::EngineRecord engine;
        engine.setType(QStringLiteral("CFM56-7"));
        engine.setSer(e == 0 ? QStringLiteral("889123") : QStringLiteral("123/45"));
        engine.setInstallDate(QStringLiteral("2007-11-30"));
        engine.setOption(tolm::EngineOption::DownloadBearingData, true);
        engine.setOption(tolm::EngineOption::EraseBearingData, e == 1);
        a.setEngine(e, engine);
    }
    return a;
}

QByteArray keyed(const QByteArray& identifier, const QByteArray& value) {
    return char(identifier.size()) + identifier + value;
}

void register_() {
    const QByteArray record = sampleAircraft("HB-IJK").toByteArray();
    seed("aircraft_record", "whole", keyed("HB-IJK", record));
    seed("aircraft_record", "short", keyed("HB-IJK", record.left(100)));
    seed("aircraft_record", "long", keyed("HB-IJK", record + QByteArray(50, 'x')));
    seed("aircraft_record", "own-id-with-slash",
         keyed("HB-OLD", sampleAircraft("HB/OLD").toByteArray()));
    seed("aircraft_record", "utf8",
         keyed("D-\xc3\x84", sampleAircraft("D-\xc3\x84").toByteArray()));

    const QByteArray file =
        "# comment, line\n\nHB-IJK,SHOP-A,CFM56-7,889123,2008-03-05,CFM56-3,889124,,first\n"
        ",no identifier\nA/B,SHOP\n"
        "N123456789012345678,SHOP567890,TYPE5678901234567,SER4567890,DATE567890123456789012,"
        "CFM56-7,1,2,comment,extra,fields\r\nSHORT\n";
    seed("aircraft_import", "whole-file", '\0' + file);
    seed("aircraft_import", "line-by-line", '\1' + file);
    seed("aircraft_import", "classic-mac",
         '\0' + QByteArray("HB-CRA,,,,,,,,one\rHB-CRB,,,,,,,,two\r"));
    seed("aircraft_import", "utf8-bom",
         '\0' + QByteArray("\xef\xbb\xbfHB-\xc3\x84,S,T,1,d,T,2,d,c\n"));
}

void uploads() {
    // The simulator keeps what it was sent as a file of words, one a line ("%08x").
    quorsim::SimulatedUnit unit;
    unit.setUploadDirectory(fuzz::home());
    std::vector<quint32> words;
    for (quint32 i = 0; i < 24; ++i) {
        words.push_back(0x9E3779B9u * i);
    }
    unit.handle({tolm::CMD_UPLOAD_DSP_SOFTWARE, words});
    seed("upload_image", "words",
         fuzz::readFile(fuzz::home() + QLatin1Char('/') +
                        quorsim::SimulatedUnit::uploadFileName(tolm::CMD_UPLOAD_DSP_SOFTWARE)));
    seed("upload_image", "spaced", "\r\n  DeadBeef\t0x12345678\n0X9abc\v\f7\r\n");
    seed("upload_image", "ended", "1 2 end 3 4 0xzz 5");
    seed("upload_image", "too-wide", "1 2 0x100000000 3");
}

void commandLines() {
    seed("command_line", "administrator",
         QByteArrayList{"-x10", "-y20", "-l1", "-pvrkzt", "-s"}.join('\0'));
    seed("command_line", "factory", QByteArrayList{"-l0", "-pwqpd_mzta"}.join('\0'));
    seed("command_line", "odd",
         QByteArrayList{"-x", "-l 1", "-p", "-x-5", "-y+7z", "x"}.join('\0'));
}

// The raw file the download's writer makes of a simulator image.
QByteArray rawFile(const quorsim::FlightImage& image, const tolm::AircraftRecord& aircraft) {
    tolm::ReportContext context;
    context.engineIndex = image.engineNumber() - 1;
    context.aircraft = aircraft;
    context.created = QDateTime::fromSecsSinceEpoch(fuzz::clockSeconds());
    tolm::FlightDataImage loaded;
    if (!loaded.assign(image.responseFile())) {
        fuzz::fail("the simulator's image does not load");
    }
    const QString path = fuzz::home() + QStringLiteral("/seed.raw");
    if (!tolm::RawFlightFile::write(path, context, loaded, {}).written) {
        fuzz::fail("no raw file");
    }
    return fuzz::readFile(path);
}

void images() {
    constexpr qsizetype kFirstRecord = 68 + 0x44;
    constexpr qsizetype kRecordBytes = 2144;
    const tolm::AircraftRecord aircraft = sampleAircraft("HB-IJK");
    const QByteArray one = quorsim::FlightImage::generate(1, 1).responseFile();
    const QByteArray two = quorsim::FlightImage::generate(2, 2).responseFile();
    seed("flight_image", "engine-1",
         fuzz::compactImage(one, aircraft, 0, kFirstRecord, 2 * kRecordBytes));
    seed("flight_image", "engine-2",
         fuzz::compactImage(two, aircraft, 1, kFirstRecord, 2 * kRecordBytes));
    seed("flight_image", "erased",
         fuzz::compactImage(quorsim::FlightImage::erased(1).responseFile(), aircraft, 0,
                            kFirstRecord, 64));
    constexpr int kAircraftBytes = 1 + 17 + 11 + 17 + 11;  // the shape and the aircraft's texts
    QByteArray cut = fuzz::compactImage(one, aircraft, 0, kFirstRecord, 512);
    cut[0] = char(6);
    cut.insert(kAircraftBytes, QByteArray("\x10\x20\x01", 3));
    seed("flight_image", "cut-short", cut);
    QByteArray longer = fuzz::compactImage(one, aircraft, 0, kFirstRecord, 512);
    longer[0] = char(5);
    longer.insert(kAircraftBytes, QByteArray(1, char(99)));
    seed("flight_image", "longer", longer);

    const QByteArray raw = rawFile(quorsim::FlightImage::generate(1, 1), aircraft);
    seed("raw_file", "engine-1", QByteArray(2, '\0') + raw.left(788 + 4096));
    seed("raw_file", "engine-2",
         QByteArray("\0\3", 2) +
             rawFile(quorsim::FlightImage::generate(2, 2), aircraft).left(788 + 4096));
    seed("raw_file", "cut-in-block-5", QByteArray("\2\5\144\1", 4) + raw.left(788 + 4096));
    seed("raw_file", "header-only", QByteArray("\3\0", 2) + raw.left(788));

    seed("index_file", "engine-1", QByteArray(1, '\0') + raw.left(788 + 4096));
    seed("index_file", "cut-in-block-5", QByteArray("\2\5\144", 3) + raw.left(788 + 4096));
    seed("index_file", "header-only", QByteArray(1, '\3') + raw.left(788));
}

// The flight index's database: a file that is no database, the start of one, and changes to the
// rows of a good one (a parameter's values, the blocks as text, the sums, the time of writing).
void indexDatabase() {
    seed("index_database", "garbage", QByteArray(1, '\0') + QByteArray(100, '\x5a'));
    seed("index_database", "sqlite-header",
         QByteArray(1, '\0') + QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\0'));
    seed("index_database", "values", QByteArray("\1\x0a", 2) + QByteArray(104, '\x11'));
    seed("index_database", "blocks-as-text", QByteArray("\3\x14", 2) + "four");
    seed("index_database", "written", QByteArray("\1\x18", 2) + "1204725660");
}

void quorRaw() {
    const quorsim::FlightImage image = quorsim::FlightImage::generate(7, 1);
    QByteArray flight;
    for (int b = 0; b < quorsim::FlightImage::kFlightBlocks && flight.isEmpty(); ++b) {
        if (image.flightNumber(b) != 0) {
            flight = QByteArray::number(image.flightNumber(b));
        }
    }
    const auto words = [](QByteArrayList list) { return list.join('\0'); };
    seed("quor_raw", "aircraft", words({"aircraft", "@D"}));
    seed("quor_raw", "flights",
         words({"flights", "@D", "--aircraft", "HB-IJK", "--engine", "1", "--memory", "0"}));
    seed("quor_raw", "tabulate",
         words({"tabulate", "@1", "--flight", flight, "--parameter", "A4R"}));
    seed("quor_raw", "tabulate-fft",
         words({"tabulate", "@1", "--flight", flight, "--parameter", "FFT", "--window", "Hanning",
                "--record", "3", "--xmin", "100", "--xmax=2000"}));
    seed("quor_raw", "csv",
         words({"csv", "@1", "--flight", flight, "--mode", "transient", "--bin", "2"}));
    seed("quor_raw", "cut", words({"tabulate", "@C", "--flight", flight, "--parameter", "TR4R"}));
    seed("quor_raw", "old", words({"csv", "@O", "--flight", flight}));
    seed("quor_raw", "help", words({"tabulate", "--help"}));
    seed("quor_raw", "trend", words({"trend", "@D", "--esn", "889123", "--record", "3"}));
    seed("quor_raw", "status", words({"status", "@D", "--json", "--parameter", "A3B"}));
}

// Link traces as the program writes them, on a clock of their own that moves between records.
void traces() {
    using tolm::LinkTrace;
    tolm::ManualClock clock(QDateTime(QDate(2008, 7, 16), QTime(15, 24, 5, 7)));
    tolm::setClock(&clock);
    const auto trace = [&](const char* name, const std::function<void()>& record) {
        const QString path = fuzz::home() + QStringLiteral("/trace");
        QFile::remove(path);
        LinkTrace::switchOn(path);
        record();
        LinkTrace::switchOff();
        // The process id of the writing run would make every corpus differ.
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        seed("trace_script", name,
             fuzz::readFile(path).replace(" pid " + pid + '\n', " pid 4711\n"));
    };
    const auto bytes = [](const QByteArray& b) {
        return reinterpret_cast<const unsigned char*>(b.constData());
    };
    const quint32 loopback = qToBigEndian(quint32(0x7F000001));
    const quint16 port = qToBigEndian(quint16(4242));
    const QByteArray command = QByteArray::fromHex("0000000c0000000100000000");
    const QByteArray pn = answer(tolm::CMD_GET_PART_NUMBERS, {0});
    const QByteArray image = answer(tolm::CMD_DOWNLOAD_BEARING_DATA, {1, 0}).left(3000);
    const QByteArray download = QByteArray::fromHex(
        "000000100000006000000001"
        "00000000");

    trace("exchange", [&] {
        LinkTrace::started(QStringLiteral("127.0.0.1"), 4242);
        LinkTrace::connectAttempt(loopback, port, 1, 150, false, 10061);
        clock.advanceMs(1000);
        LinkTrace::connectAttempt(loopback, port, 2, 150, true, 0);
        LinkTrace::sent(bytes(command), int(command.size()));
        clock.advanceMs(12);
        LinkTrace::received(bytes(pn), 4);
        for (qsizetype at = 4; at < pn.size(); at += 100) {
            clock.advanceMs(1);
            LinkTrace::received(bytes(pn) + at, int(qMin<qsizetype>(100, pn.size() - at)));
        }
        LinkTrace::closed(true);
        LinkTrace::drained(bytes(pn), 8);
        LinkTrace::ended(true, QString());
    });
    trace("faults", [&] {
        using Result = tolm::SocketChannel::Result;
        LinkTrace::started(QStringLiteral("127.0.0.1"), 4242);
        LinkTrace::connectAttempt(loopback, port, 1, 1, true, 0);
        LinkTrace::sent(bytes(download), int(download.size()));
        for (qsizetype at = 0; at < image.size(); at += 1024) {
            clock.advanceMs(3);
            LinkTrace::received(bytes(image) + at, int(qMin<qsizetype>(1024, image.size() - at)));
        }
        LinkTrace::aborted();
        LinkTrace::closed(false);
        LinkTrace::ended(false, QStringLiteral("OK"));
        clock.advanceMs(500);
        LinkTrace::started(QStringLiteral("127.0.0.1"), 4242);
        LinkTrace::connectAttempt(loopback, port, 1, 1, true, 0);
        LinkTrace::sent(bytes(command), int(command.size()));
        LinkTrace::received(bytes(pn), 40);
        clock.advanceMs(200);
        LinkTrace::socketResult(Result::Failed, "recv() failed.", 10054);
        LinkTrace::failed(QStringLiteral("recv() failed."));
        LinkTrace::closed(false);
        LinkTrace::ended(false, QStringLiteral("recv() failed."));
        LinkTrace::started(QStringLiteral("127.0.0.1"), 4242);
        LinkTrace::connectAttempt(loopback, port, 1, 1, true, 0);
        LinkTrace::sent(bytes(command), int(command.size()));
        clock.advanceMs(300000);
        LinkTrace::socketResult(Result::TimedOut, "Failed to retrieve response size.", 10060);
        LinkTrace::failed(QStringLiteral("Failed to retrieve response size."));
        LinkTrace::closed(false);
        LinkTrace::ended(false, QStringLiteral("Failed to retrieve response size."));
    });
    tolm::setClock(nullptr);
    // What a trace may hold besides: notes, line ends of another system, a clock set back, a
    // cut line, a rotation that began the file in the middle of an answer.
    seed("trace_script", "odd",
         "# 3 records lost here: the disk was too slow\r\n"
         "2008-07-16T15:24:05.007 recv 000000a0\r\n"
         "2008-07-16T15:24:05.008 send 0000000c0000006500000002\r\n"
         "2008-07-16T15:24:04.000 recv 0000000c00000000\r\n"
         "2008-07-16T15:24:06.000 recv 000000\r\n"
         "2008-07-16T15:24:06.001 closed recv() failed.\r\n"
         "2008-07-16T15:24:06.001 send 0000000c000000010000\n"
         "2008-07-16T15:2");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_corpus <corpus directory>\n");
        return 2;
    }
    fuzz::setUp(&argc, &argv);
    corpus = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    responses();
    register_();
    uploads();
    commandLines();
    images();
    indexDatabase();
    quorRaw();
    traces();
    return 0;
}
