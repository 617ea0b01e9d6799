// The simulator's image writer: the response structure and the image properties the link and
// download tests rely on (the raw-file tests check the program's reader independently).
#include <gtest/gtest.h>

#include <QtEndian>
#include <algorithm>

#include "sim/image/FlightImage.h"

using quorsim::FlightImage;

namespace {

quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint32 be32(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}
using Header = std::pair<quint32, quint32>;  // block type, byte count

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
