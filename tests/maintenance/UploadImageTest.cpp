// Upload images as the unit will get them: the words of the file, what is refused before anything
// is sent, the packets; and what the Firmware page offers by the part numbers.
#include <gtest/gtest.h>

#include <cstring>

#include "link/CommandTable.h"
#include "maintenance/FirmwareSections.h"
#include "maintenance/UploadImage.h"
#include "maintenance/UploadSequence.h"

using namespace tolm;
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
    const Notice empty = Notice::warning("Upload Error", "Upload file holds no data");
    EXPECT_EQ(refusalOf(""), empty);
    EXPECT_EQ(refusalOf(" \r\n\t"), empty);
    EXPECT_EQ(refusalOf("\xEF\xBB\xBF"
                        "12 34"),
              empty);  // a byte-order mark is not a number
    EXPECT_EQ(refusalOf("x 1 2"), empty);
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
