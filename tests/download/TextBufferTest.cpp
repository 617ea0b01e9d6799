// The table text buffer against printf itself. Its hand-over to a file in pieces is checked by
// the tables of several megabytes that the report tests read back.
#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

#include "download/TextBuffer.h"

// general() is printf's "%g" in the C locale, smart() QTextStream's default format. In halfway
// cases printf rounds to even, QTextStream away from zero.
TEST(TextBuffer, GeneralIsPrintfsFormatAndSmartIsQTextStreamsDefault) {
    std::setlocale(LC_NUMERIC, "C");
    std::vector<float> values = {
        0.000123456f, 1e6f,       -0.0f,     0.0f,      100000.f, 999999.5f, 1e-4f, 9.99999e-5f,
        123456789.f,  -1.5e-38f,  1e-45f,    3.4e38f,   INFINITY, -INFINITY, NAN,   -NAN,
        947270.5f,    -947270.5f, 1234565.f, 1234575.f, 2.5f,     12.3456f};
    for (const auto& [seed, count] : {std::pair(12, 20000), std::pair(34, 100000)}) {
        std::mt19937 bits(seed);
        for (int i = 0; i < count; ++i) {
            values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(bits())));
        }
    }
    for (float v : values) {
        tolm::TextBuffer general, smart;
        general.general(v, 12);
        smart.smart(v, 10);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%*g", 12, static_cast<double>(v));
        QString streamed;
        QTextStream stream(&streamed);
        stream << qSetFieldWidth(10) << v;
        stream.flush();
        ASSERT_EQ(general.bytes(), QByteArray(printed)) << std::bit_cast<std::uint32_t>(v);
        ASSERT_EQ(smart.bytes(), streamed.toLatin1()) << std::bit_cast<std::uint32_t>(v);
    }
}

TEST(TextBuffer, SamplesPaddingAndNumbersFollowTheirPrintfFormats) {
    const unsigned char le[] = {0x00, 0x80, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 0xFF, 0x7F};
    tolm::TextBuffer out;
    out.samples(le, 5);
    out.newline();
    out.left("ab", 4);
    out.right("cd", 4);
    out.right("toolong", 3);
    out.number(-42, 5);
    out.number(7);
    EXPECT_EQ(out.bytes(), QByteArray("-32768 -1 0 7 32767 \r\nab    cdtoolong  -427"));
}
