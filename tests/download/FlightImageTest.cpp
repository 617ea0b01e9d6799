// The simulator's image writer checked against the flight-data image layout, offset by offset,
// so that the download tests that use its images rest on a known-good witness.
#include <gtest/gtest.h>

#include <QtEndian>
#include <cstring>

#include "sim/image/FlightImage.h"

using quorsim::FlightImage;

namespace {

constexpr int kBlockSize = 143828;
constexpr int kFirstBlock = 68;

quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint32 be32(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}
float leFloat(const QByteArray& b, qsizetype at) {
    const quint32 bits = le32(b, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
qint16 le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint16>(b.constData() + at);
}
// Type and byte count of the block header at an offset of the host-order response.
std::pair<quint32, quint32> headerAt(const QByteArray& b, qsizetype at) {
    return {le32(b, at), le32(b, at + 4)};
}
using Header = std::pair<quint32, quint32>;

class FlightImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        image = new FlightImage(FlightImage::generate(42, 1));
        file = new QByteArray(image->responseFile());
        wire = new QByteArray(image->wireResponse());
    }
    static void TearDownTestSuite() {
        delete image;
        delete file;
        delete wire;
    }
    static FlightImage* image;
    static QByteArray* file;
    static QByteArray* wire;
};
FlightImage* FlightImageTest::image = nullptr;
QByteArray* FlightImageTest::file = nullptr;
QByteArray* FlightImageTest::wire = nullptr;

}  // namespace

TEST_F(FlightImageTest, ResponseHeaderAndBlockWalkCoverTheWholeResponse) {
    ASSERT_EQ(wire->size(), 68 + 20 * 143828);
    EXPECT_EQ(be32(*wire, 0), 68u + 20u * 143828u);
    EXPECT_EQ(be32(*wire, 4), 0u);
    // One block for the engine header; per flight block: header words, 26 x 2 steady-state
    // blocks and the first values, 4 x 21 transient blocks, the Campbell block.
    EXPECT_EQ(be32(*wire, 8), 1u + 20u * (1 + 1 + 52 + 84 + 1));

    qsizetype at = 12;
    quint32 blocks = 0;
    while (at < wire->size()) {
        const quint32 type = be32(*wire, at), count = be32(*wire, at + 4);
        ASSERT_TRUE(type >= 1 && type <= 3) << at;
        ASSERT_EQ(count % (type == 1 ? 2 : 4), 0u) << at;
        at += 8 + count;
        ++blocks;
    }
    EXPECT_EQ(at, wire->size());
    EXPECT_EQ(blocks, be32(*wire, 8));
    EXPECT_EQ(headerAt(*file, 12), Header(2, 48));
}

TEST_F(FlightImageTest, ValuesAndBlockHeadersSitAtTheLayoutOffsets) {
    for (int w = 0; w < 12; ++w) {
        ASSERT_EQ(le32(*file, 20 + 4 * w), image->headerWord(w));
    }
    for (int b = 0; b < 20; ++b) {
        SCOPED_TRACE(b);
        const qsizetype base = kFirstBlock + qsizetype(b) * kBlockSize;
        const quorsim::FlightBlock& f = image->block(b);
        EXPECT_EQ(headerAt(*file, base), Header(2, 52));
        EXPECT_EQ(le32(*file, base + 0x08), f.unusedWords[0]);
        EXPECT_EQ(qint32(le32(*file, base + 0x18)), f.flightNumber);
        EXPECT_EQ(le32(*file, base + 0x1C), f.carriedWord);
        EXPECT_EQ(le32(*file, base + 0x20), f.memory);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(le32(*file, base + 0x24 + 4 * i), f.alarmLevels[i]);
        }
        EXPECT_EQ(headerAt(*file, base + 0x3C), Header(3, 80));
        for (int r = 0; r < 26; ++r) {
            const qsizetype rec = base + 0x44 + qsizetype(r) * 2144;
            EXPECT_EQ(leFloat(*file, rec + 4 * 19), f.steadyState[r].values[19]);
            EXPECT_EQ(headerAt(*file, rec + 80), Header(1, 2048));
            EXPECT_EQ(le16(*file, rec + 88 + 2 * 1023), f.steadyState[r].samples[1023]);
            EXPECT_EQ(headerAt(*file, rec + 2136), Header(3, r == 25 ? 40 : 80));
        }
        for (int m = 0; m < 4; ++m) {
            const qsizetype group = base + 0xDA04 + qsizetype(m) * 21088;
            EXPECT_EQ(leFloat(*file, group + 4 * 9), f.transient[m].averages[9]);
            EXPECT_EQ(headerAt(*file, group + 40), Header(3, 40));
            for (int k = 0; k < 10; ++k) {
                const qsizetype rec = group + 48 + qsizetype(k) * 2104;
                EXPECT_EQ(leFloat(*file, rec), f.transient[m].records[k].values[0]);
                EXPECT_EQ(headerAt(*file, rec + 40), Header(1, 2048));
                EXPECT_EQ(le16(*file, rec + 48), f.transient[m].records[k].samples[0]);
                const bool last = m == 3 && k == 9;
                EXPECT_EQ(headerAt(*file, rec + 2096), last ? Header(2, 4) : Header(3, 40));
            }
        }
        EXPECT_EQ(le32(*file, base + 0x22384), f.campbellSelector);
        EXPECT_EQ(headerAt(*file, base + 0x22388), Header(3, kBlockSize - 0x22390));
        EXPECT_EQ(leFloat(*file, base + 0x22390 + 8 * 39 + 4), f.bands[39][1]);
        for (int s = 0; s < 5; ++s) {
            const qsizetype set = base + 0x224D0 + qsizetype(s) * 664;
            EXPECT_EQ(leFloat(*file, set + 4 * 5), f.campbell[s].values[5]);
            EXPECT_EQ(leFloat(*file, set + 24 + 16 * 39 + 12), f.campbell[s].bands[39][3]);
        }
        EXPECT_EQ(le32(*file, base + 0x231C8 + 8), f.unusedTail[2]);
    }
}

TEST_F(FlightImageTest, WireOrderIsTheFileOrderSwappedElementByElement) {
    ASSERT_EQ(file->size(), wire->size());
    for (qsizetype at = 0; at < 12; at += 4) {
        ASSERT_EQ(be32(*wire, at), le32(*file, at));
    }
    qsizetype at = 12;
    while (at < wire->size()) {
        const quint32 type = be32(*wire, at), count = be32(*wire, at + 4);
        ASSERT_EQ(headerAt(*file, at), Header(type, count));
        const int width = type == 1 ? 2 : 4;
        for (qsizetype e = at + 8; e < at + 8 + count; e += width) {
            for (int i = 0; i < width; ++i) {
                ASSERT_EQ((*wire)[e + i], (*file)[e + width - 1 - i]) << e;
            }
        }
        at += 8 + count;
    }
}

TEST_F(FlightImageTest, GeneratedContentCoversTheCasesADownloadMustHandle) {
    int empty = 0, memories[2] = {0, 0}, descents = 0;
    bool selector[3] = {false, false, false};
    qint32 previous = 0;
    for (int b = 0; b < 20; ++b) {
        const qint32 n = image->flightNumber(b);
        if (n == 0) {
            ++empty;
            continue;
        }
        ASSERT_LT(image->memory(b), 2u);
        ++memories[image->memory(b)];
        descents += n < previous ? 1 : 0;
        previous = n;
        const quint32 s = image->campbellSelector(b);
        selector[s == 0 ? 0 : s == 1 ? 1 : 2] = true;
        for (quint32 level : image->block(b).alarmLevels) {
            ASSERT_TRUE(level >= 1 && level <= 4);
        }
    }
    EXPECT_GE(empty, 2);
    EXPECT_GT(memories[0], 0);
    EXPECT_GT(memories[1], 0);
    EXPECT_GT(descents, 0);  // flight numbers come unsorted
    EXPECT_TRUE(selector[0] && selector[1] && selector[2]);

    // Time histories are signals, not constants.
    const auto& s = image->block(0).steadyState[0].samples;
    EXPECT_NE(*std::min_element(s.begin(), s.end()), *std::max_element(s.begin(), s.end()));

    EXPECT_EQ(FlightImage::generate(42, 1).responseFile(), *file);
    EXPECT_NE(FlightImage::generate(42, 2).responseFile(), *file);
    EXPECT_NE(FlightImage::generate(43, 1).responseFile(), *file);
}

TEST(FlightImageErased, EveryBlockIsEmptyAndTheResponseKeepsItsSize) {
    const FlightImage erased = FlightImage::erased(2);
    EXPECT_EQ(erased.engineNumber(), 2);
    for (int b = 0; b < 20; ++b) {
        EXPECT_EQ(erased.flightNumber(b), 0);
    }
    EXPECT_EQ(erased.wireResponse().size(), 68 + 20 * 143828);
}
