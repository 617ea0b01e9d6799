// The simulator's image (its response layout, and what the other tests rely on) and the files a
// download makes of it: the raw file field by field against it, the tables at their columns.
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <bit>

#include "download/Expansions.h"
#include "download/RawFlightFile.h"
#include "tests/download/DownloadFixture.h"

using quorsim::FlightImage;

namespace {

constexpr int kHeader = 788, kBlock = 142652;

qint32 i32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}
quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint32 be32(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}
qint16 i16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint16>(b.constData() + at);
}
float f32(const QByteArray& b, qsizetype at) {
    return std::bit_cast<float>(qFromLittleEndian<quint32>(b.constData() + at));
}

using Header = std::pair<quint32, quint32>;  // block type, byte count
const QByteArray kSeparator(100, '-');

// Blocks in use (all others empty, in a memory no table lists): flight -2 and 0 in PrD, flight
// 10 twice (PrD, then PoD), 20 in PrD, 30 in PoD.
FlightImage tableImage() {
    FlightImage image = FlightImage::generate(99, 2);
    const quint32 words[] = {0, 4321, 1234, 5, 17, 1, 1, 4, 2, 4, 3, 9};
    for (int w = 0; w < 12; ++w) {
        image.setHeaderWord(w, words[w]);
    }
    for (int b = 0; b < 20; ++b) {
        image.setFlightNumber(b, 0);
        image.setMemory(b, 5);
    }
    const struct {
        int block;
        qint32 flight;
        quint32 memory, selector;
        std::array<quint32, 6> levels;
    } used[] = {{0, 30, 1, 0xFFFFFFFF, {2, 3, 1, 1, 2, 3}}, {1, 0, 0, 0, {1, 1, 1, 1, 1, 1}},
                {2, -2, 0, 1, {1, 1, 1, 1, 1, 1}},          {3, 10, 0, 0, {1, 1, 1, 1, 1, 1}},
                {4, 20, 0, 7, {4, 4, 4, 4, 4, 4}},          {5, 10, 1, 1, {1, 2, 3, 4, 4, 0}}};
    for (const auto& u : used) {
        image.setFlightNumber(u.block, u.flight);
        image.setMemory(u.block, u.memory);
        image.setCampbellSelector(u.block, u.selector);
        image.block(u.block).alarmLevels = u.levels;
    }
    image.block(3).steadyState[0].values = {0.000123456f, 1e6f,        -0.0f,
                                            100000.f,     123456789.f, 1.5e-5f};
    image.block(2).transient[0].averages = {0.5f, 1e6f, 99, 3, 4, 5, 6, 7, 88, 77};
    image.block(4).bands[0] = {100000.f, 1e6f};
    image.block(4).campbell[0].values = {0.000123456f, -0.0f, 1.5f, 2, 3, 4};
    return image;
}

void expectCrLfOnly(const QByteArray& text) {
    EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    EXPECT_EQ(text.count('\r'), text.count("\r\n"));
    EXPECT_TRUE(text.endsWith("\r\n"));
}

}  // namespace

TEST(FlightImageTest, BlocksFollowTheLayoutAndTheFileIsTheWireSwappedElementByElement) {
    const FlightImage image = FlightImage::generate(42, 1);
    const QByteArray wire = image.wireResponse(), file = image.responseFile();
    ASSERT_EQ(wire.size(), 68 + 20 * 143828);
    ASSERT_EQ(file.size(), wire.size());
    EXPECT_EQ(be32(wire, 0), 68u + 20u * 143828u);
    EXPECT_EQ(be32(wire, 4), 0u);
    for (qsizetype at = 0; at < 12; at += 4) {
        EXPECT_EQ(be32(wire, at), le32(file, at));
    }
    // The engine header; per flight block its header words, 26 steady-state records (values,
    // samples), 4 transient groups (averages, then 10 records), the selector, the Campbell block.
    std::vector<Header> expected{{2, 48}};
    for (int b = 0; b < 20; ++b) {
        expected.insert(expected.end(), {{2, 52}, {3, 80}});
        for (int r = 0; r < 26; ++r) {
            expected.insert(expected.end(), {{1, 2048}, {3, r == 25 ? 40u : 80u}});
        }
        for (int m = 0; m < 4; ++m) {
            expected.push_back({3, 40});
            for (int k = 0; k < 10; ++k) {
                expected.insert(expected.end(), {{1, 2048}, {3, 40}});
            }
        }
        expected.back() = {2, 4};
        expected.push_back({3, 143828 - 0x22390});
    }
    std::vector<Header> walked;
    qsizetype at = 12;
    while (at < wire.size()) {
        const Header h{be32(wire, at), be32(wire, at + 4)};
        walked.push_back(h);
        ASSERT_EQ(Header(le32(file, at), le32(file, at + 4)), h) << at;
        ASSERT_LE(at + 8 + qsizetype(h.second), wire.size()) << at;
        const int width = h.first == 1 ? 2 : 4;
        for (qsizetype e = at + 8; e < at + 8 + h.second; e += width) {
            for (int i = 0; i < width; ++i) {
                ASSERT_EQ(wire[e + i], file[e + width - 1 - i]) << e;
            }
        }
        at += 8 + h.second;
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(be32(wire, 8), expected.size());

    // An image is determined by its seed and engine, and an erased one is empty: the tests
    // regenerate an image to compare with what was filed, and tell engines apart by flight numbers.
    const auto flightNumbers = [](const FlightImage& image) {
        std::vector<qint32> numbers;
        for (int b = 0; b < 20; ++b) {
            numbers.push_back(image.flightNumber(b));
        }
        return numbers;
    };
    EXPECT_EQ(FlightImage::generate(42, 1).responseFile(), file);
    EXPECT_NE(FlightImage::generate(43, 1).responseFile(), file);
    EXPECT_NE(flightNumbers(FlightImage::generate(42, 2)), flightNumbers(image));
    EXPECT_NE(flightNumbers(image), std::vector<qint32>(20, 0));
    // Time histories are signals, so that a sample read from the wrong place shows.
    const auto& s = image.block(0).steadyState[0].samples;
    EXPECT_NE(*std::min_element(s.begin(), s.end()), *std::max_element(s.begin(), s.end()));

    const FlightImage erased = FlightImage::erased(2);
    EXPECT_EQ(erased.engineNumber(), 2);
    EXPECT_EQ(flightNumbers(erased), std::vector<qint32>(20, 0));
    EXPECT_EQ(erased.wireResponse().size(), 68 + 20 * 143828);
}

TEST_F(DownloadFixture, RawFileHeaderBlocksAndTrailerHoldTheImageValues) {
    FlightImage image = FlightImage::generate(2024, 2);
    image.setFlightNumber(4, 0);  // an empty block is written in full all the same
    ASSERT_TRUE(reformat(image));
    const QByteArray raw = testenv::fileBytes(filed("fd"));
    ASSERT_EQ(raw.size(), 2853852);

    EXPECT_EQ(quint32(i32(raw, 0)), 0xAEEAAEEDu);
    EXPECT_EQ(QByteArray(raw.constData() + 0x04), "HB-IJK");
    EXPECT_EQ(QByteArray(raw.constData() + 0x15), "CFM56-7");
    EXPECT_EQ(raw.mid(0x04 + 6, 17 - 6), QByteArray(11, '\0'));
    EXPECT_EQ(raw.mid(0x26, 2), QByteArray(2, '\0'));
    EXPECT_EQ(i32(raw, 0x28), 2);
    for (int w = 2; w <= 5; ++w) {
        EXPECT_EQ(quint32(i32(raw, 0x2C + 4 * (w - 2))), image.headerWord(w)) << w;
    }
    EXPECT_EQ(i32(raw, 0x3C), clock.start.toSecsSinceEpoch());
    EXPECT_EQ(quint32(i32(raw, 0x40)), image.headerWord(1));

    for (int b = 0; b < 20; ++b) {
        SCOPED_TRACE(b);
        const quorsim::FlightBlock& f = image.block(b);
        EXPECT_EQ(i32(raw, 0x44 + 4 * b), f.flightNumber);
        EXPECT_EQ(quint32(i32(raw, 0x94 + 4 * b)), f.carriedWord);
        EXPECT_EQ(quint32(i32(raw, 0xE4 + 4 * b)), f.memory);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(quint32(i32(raw, 0x134 + 4 * (6 * b + i))), f.alarmLevels[i]);
        }

        const qsizetype d = kHeader + qsizetype(b) * kBlock;
        bool same = true;  // one expectation per block keeps a failure readable
        for (int r = 0; r < 26; ++r) {
            for (int j = 0; j < 20; ++j) {
                same &= f32(raw, d + 4 * (j * 26 + r)) == f.steadyState[r].values[j];
            }
            for (int i = 0; i < 1024; ++i) {
                same &= i16(raw, d + 0x820 + r * 2048 + 2 * i) == f.steadyState[r].samples[i];
            }
        }
        EXPECT_TRUE(same) << "steady-state";
        same = true;
        for (int m = 0; m < 4; ++m) {
            for (int k = 0; k < 10; ++k) {
                const quorsim::TransientRecord& rec = f.transient[m].records[k];
                for (int j = 0; j < 10; ++j) {
                    same &= f32(raw, d + 0xD820 + 4 * ((j * 4 + m) * 10 + k)) == rec.values[j];
                }
                for (int i = 0; i < 1024; ++i) {
                    same &= i16(raw, d + 0xDF00 + (m * 10 + k) * 2048 + 2 * i) == rec.samples[i];
                }
            }
            for (int k = 0; k < 10; ++k) {
                same &= f32(raw, d + 0xDE60 + 4 * (k * 4 + m)) == f.transient[m].averages[k];
            }
        }
        EXPECT_TRUE(same) << "transient";
        EXPECT_EQ(quint32(i32(raw, d + 0x21F00)), f.campbellSelector);
        EXPECT_EQ(raw.mid(d + 0x21F04, 320), QByteArray(320, '\0'));
        same = true;
        for (int s = 0; s < 5; ++s) {
            const qsizetype set = d + 0x22044 + s * 664;
            for (int j = 0; j < 6; ++j) {
                same &= f32(raw, set + 4 * j) == f.campbell[s].values[j];
            }
            for (int band = 0; band < 40; ++band) {
                for (int q = 0; q < 4; ++q) {
                    same &= f32(raw, set + 24 + 16 * band + 4 * q) == f.campbell[s].bands[band][q];
                }
            }
        }
        EXPECT_TRUE(same) << "Campbell";
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(quint32(i32(raw, 2853852 - 24 + 4 * i)), image.alarmLevel(i));
    }
}

// One download of tableImage(); a block per table.
TEST_F(DownloadFixture, TablesListTheReportHeaderAndEveryBlockInUse) {
    const FlightImage image = tableImage();
    ASSERT_TRUE(reformat(image));
    const QByteArray ss = testenv::fileBytes(filed("ss")), ts = testenv::fileBytes(filed("ts")),
                     cb = testenv::fileBytes(filed("cb"));
    constexpr int kPreamble = 31;  // report header and alarm-level table

    // Every table opens with the report header and the alarm-level table, and ends lines in CR LF.
    const QList<QByteArray> expected = {
        kSeparator,
        "TOLM for QUOR 2.1.3, engine data report. Copyright (C) Korvel. All rights reserved.",
        "File name:                    ESN012345_ss_20080305_1407.txt",
        "File created:                 5 Mar 2008 14:07:31",
        "QUOR PNR:                     731-401-000-2",
        "Boot Main S/W PNR:            731-410-000-1   ",
        "Main Software PNR:            731-402-000-1A  ",
        "Boot DSP Software PNR:        731-411-000-3   ",
        "DSP Software PNR:             731-403-000-4   ",
        "CMFI Table PNR:               731-406-000-4   ", kSeparator,
        "A/C identifier:               HB-IJK", "Engine type:                  CFM56-7",
        "Engine SER:                   123/45", "Engine ID:                    2",
        "Engine installation date:     12.01.2007", "Total engine flights:         4321",
        "Total engine hours:           1234:05", "Accelerometer source:         Alternate",
        "Shop ID:                      ---", "Comments:                     [None]", kSeparator,
        "                              ALGO1(4R) ALGO2(4L) ALGO3(3B)",
        "Current Alarm Levels:         Level 1   Level 3   Level 2",
        "Historic Alarm Levels:        No Fault  Unknown   No Fault", kSeparator,
        // Flights above 0 only, in order; flight 10 from the later of its two blocks.
        "Mem Flt-#       MMC4R       MMC4L       MMC3B       MMH4R       MMH4L       MMH3B",
        "PoD    10     Level 1    No Event     Level 3     Level 2     Unknown    No Fault",
        "PrD    20    No Event    No Event    No Event    No Fault    No Fault    No Fault",
        "PoD    30     Level 2     Level 2     Level 1     Level 3     Level 3     Level 1",
        kSeparator};
    ASSERT_EQ(expected.size(), kPreamble);
    EXPECT_EQ(lines(ss).mid(0, kPreamble), expected);
    for (const QByteArray& other : {ts, cb}) {
        // From line 3 on, the same moment as the raw file included.
        EXPECT_EQ(lines(other).mid(3, kPreamble - 3), expected.mid(3));
    }
    EXPECT_EQ(lines(ts)[2], "File name:                    ESN012345_ts_20080305_1407.txt");
    for (const QByteArray* text : {&ss, &ts, &cb}) {
        expectCrLfOnly(*text);
    }

    // Steady-state rows list every block of each memory in flight order.
    const QList<QByteArray> rows = lines(ss).mid(kPreamble);
    EXPECT_EQ(rows[0],
              "Mem Flt-# Bin      A4R_avg     TR4R_avg     TR4R_std      CN1_avg      CN2_avg      "
              "CDN_avg      A3B_avg     TR3B_avg      A3B_std     TR3B_std          A4R         "
              "TR4R        N1-4R        N2-4R          CN1          CN2          CDN          A3B  "
              "       TR3B        N2-3B  Time History");
    EXPECT_EQ(rows[1], kSeparator);
    // Flights 0 and -2 are listed too; memory 0 first, then memory 1.
    const std::pair<const char*, int> blocks[] = {
        {"PrD    -2", 2}, {"PrD     0", 1}, {"PrD    10", 3}, {"PrD    20", 4},
        {"", -1},         {"PoD    10", 5}, {"PoD    30", 0}, {"", -1}};
    int at = 2;
    for (const auto& [head, b] : blocks) {
        if (b < 0) {
            EXPECT_EQ(rows[at++], kSeparator);
            continue;
        }
        for (int r = 0; r < 26; ++r, ++at) {
            const QByteArray& row = rows[at];
            ASSERT_EQ(row.left(14), head + QByteArray::number(r + 1).rightJustified(4) + ' ') << at;
            ASSERT_EQ(row.mid(274, 1), " ");  // the extra space before the samples
            const QList<QByteArray> samples = row.mid(275).split(' ');
            ASSERT_EQ(samples.size(), 1025);  // each sample ends with a space
            for (int i = 0; i < 1024; i += 97) {
                ASSERT_EQ(samples[i].toInt(), image.block(b).steadyState[r].samples[i]);
            }
        }
    }
    EXPECT_EQ(at, rows.size() - 1);  // the last line end closes the file
    // printf's "%g" in fields of 12: fixed, scientific, negative zero, rounded to six digits.
    EXPECT_EQ(rows[2 + 2 * 26].mid(14, 6 * 13),
              " 0.000123456        1e+06           -0       100000  1.23457e+08      1.5e-05 ");

    // Transient rows carry their type, and each group ends with its averages.
    const QList<QByteArray> tsRows = lines(ts).mid(kPreamble);
    EXPECT_EQ(
        tsRows[0],
        "Mem Flt-# Type  Ts          A4R         TR4R        N1-4R        N2-4R          CN1  "
        "        CN2          CDN          A3B         TR3B        N2-3B  Time History");
    // Flight -2 leads: "TOC" records 1..10, then the average line without N1/N2 and values 2, 8, 9.
    EXPECT_EQ(tsRows[2].left(19), "PrD    -2  TOC   1 ");
    EXPECT_EQ(tsRows[11].left(19), "PrD    -2  TOC  10 ");
    EXPECT_EQ(tsRows[12],
              "PrD    -2  TOC avg          0.5        1e+06                                      3 "
              "           4            5            6            7");
    EXPECT_EQ(tsRows[13].left(19), "PrD    -2  TOD   1 ");
    EXPECT_EQ(tsRows[2 + 44 - 1].left(18), "PrD    -2  AOA avg");
    EXPECT_EQ(tsRows[2 + 44].left(19), "PrD     0  TOC   1 ");
    EXPECT_EQ(tsRows[2 + 4 * 44], kSeparator);
    EXPECT_EQ(tsRows[3 + 4 * 44].left(19), "PoD    10  TOC   1 ");
    EXPECT_EQ(tsRows[3 + 6 * 44], kSeparator);
    const quorsim::TransientRecord& rec = image.block(2).transient[0].records[9];
    EXPECT_EQ(tsRows[11].mid(19, 12).trimmed().toFloat(),
              QByteArray::number(rec.values[0], 'g', 6).toFloat());
    EXPECT_EQ(tsRows[11].mid(150).split(' ')[1023].toInt(), rec.samples[1023]);

    // The Campbell table lists each flight in use but 0 (-2 included), each with its sets.
    const QList<QByteArray> cbRows = lines(cb).mid(kPreamble);
    QList<QByteArray> selectors;
    QList<int> setLines;  // lines of the set table per flight
    for (int i = 0; i < cbRows.size(); ++i) {
        if (cbRows[i].startsWith("Campbell Data Selector: ")) {
            selectors << cbRows[i];
            int n = 0;
            for (int j = i + 45 + 1; cbRows[j] != kSeparator; ++j) {
                ++n;
            }
            setLines << n;
        }
    }
    EXPECT_EQ(selectors,
              QList<QByteArray>({"Campbell Data Selector: 1", "Campbell Data Selector: 0",
                                 "Campbell Data Selector: 1", "Campbell Data Selector: 7",
                                 "Campbell Data Selector: 4294967295"}));
    EXPECT_EQ(setLines, QList<int>({2, 1, 2, 5, 5}));
    const QList<QByteArray> flightMinus2 = cbRows.mid(cbRows.indexOf("Campbell Data Selector: 1"));
    EXPECT_EQ(flightMinus2[4].left(15), "PrD     -2    0");

    const QList<QByteArray> flight20 = cbRows.mid(cbRows.indexOf("Campbell Data Selector: 7"));
    EXPECT_EQ(flight20[2], "Mem  Flt-#  Bnd        Fs        Fw");
    // QTextStream's formatting: 100000 stays fixed, negative zero loses its sign, and a
    // number wider than its field runs into the one before.
    EXPECT_EQ(flight20[4], "PrD     20    0    100000     1e+06");
    EXPECT_EQ(flight20[45],
              "Flt-#  Set    CN1_4L    CN2_4L    CDN_4L    FN1_4L    FN2_4L    FDN_4L");
    EXPECT_EQ(flight20[46],
              "   20    00.000123456         0       1.5         2         3         4");
    EXPECT_EQ(flight20[52], "Flt-#  Set       BND      A_4L      F_4L     K1_4L     K2_4L");
    EXPECT_EQ(flight20[53].left(20), "   20    0         0");
    EXPECT_EQ(flight20[53 + 40], kSeparator);
    EXPECT_EQ(flight20[53 + 4 * 41 + 39].left(20), "   20    4        39");
}

TEST_F(DownloadFixture, ReportHeaderPrintsShopIdCommentsAndUnknownValues) {
    aircraft.setShopId(QStringLiteral("SHOP-7"));
    aircraft.setComments(QStringLiteral("line 1\nline 2\r\nline 3"));
    FlightImage image = FlightImage::generate(8, 2);
    image.setHeaderWord(5, 7);
    image.setHeaderWord(3, 59);
    ASSERT_TRUE(reformat(image));
    const QByteArray cb = testenv::fileBytes(filed("cb"));
    expectCrLfOnly(cb);
    const QList<QByteArray> header = lines(cb);
    EXPECT_TRUE(header[17].endsWith(":59"));
    EXPECT_EQ(header[18], "Accelerometer source:         Unknown");
    EXPECT_EQ(header[19], "Shop ID:                      SHOP-7");
    EXPECT_EQ(header.mid(20, 3),
              QList<QByteArray>({"Comments:                     line 1", "line 2", "line 3"}));
}

// The raw file and each table: not written, and reported with the operation that failed.
TEST_F(DownloadFixture, FilesThatCannotBeCreatedAreReportedWithTheirOperation) {
    tolm::FlightDataImage image;
    ASSERT_TRUE(image.assign(FlightImage::generate(9, 2).responseFile()));
    const QString path = root + QStringLiteral("/missing/table.txt");
    const tolm::ReportContext context{1, aircraft, parts, clock.start};
    const auto failed = [&path](const char* title) {
        return tolm::Notice::critical(title, QStringLiteral("Failed to create '") + path + "'");
    };
    const std::pair<tolm::FileOutcome, tolm::Notice> outcomes[] = {
        {tolm::RawFlightFile::write(path, {}, image, [] {}),
         tolm::Notice::critical("Error", "Unable to open uploaded data processed file")},
        {tolm::ExpandSteadyState(context, path, image),
         failed("BRIXAutoDownload::ExpandSteadyState")},
        {tolm::ExpandTransient(context, path, image), failed("BRIXAutoDownload::ExpandTransient")},
        {tolm::ExpandCampbell(context, path, image), failed("BRIXAutoDownload::ExpandCampbell")}};
    for (const auto& [outcome, notice] : outcomes) {
        EXPECT_FALSE(outcome.written);
        EXPECT_EQ(outcome.notice, notice);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}
