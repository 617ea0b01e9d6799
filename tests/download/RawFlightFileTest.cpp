// The raw flight-data file compared field by field with the image the simulator generated.
#include <QtEndian>

#include "tests/download/DownloadFixture.h"

using quorsim::FlightImage;

namespace {

constexpr int kHeader = 788, kBlock = 142652;

qint32 i32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}
qint16 i16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint16>(b.constData() + at);
}
float f32(const QByteArray& b, qsizetype at) {
    const quint32 bits = qFromLittleEndian<quint32>(b.constData() + at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

}  // namespace

TEST_F(DownloadFixture, RawFileHeaderBlocksAndTrailerHoldTheImageValues) {
    FlightImage image = FlightImage::generate(2024, 2);
    image.setFlightNumber(4, 0);  // an empty block is written in full all the same
    ASSERT_TRUE(reformat(image));
    const QByteArray raw = read(filed("fd"));
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
