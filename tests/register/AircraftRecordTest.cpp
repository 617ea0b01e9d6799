#include <gtest/gtest.h>

#include "formats/AircraftRecord.h"

using tolm::AircraftRecord;
using tolm::EngineOption;
using tolm::EngineRecord;

TEST(AircraftRecordLayout, FieldsSitAtTheirOffsets) {
    AircraftRecord r;
    r.setIdentifier(QStringLiteral("HB-IJK"));
    r.setShopId(QStringLiteral("SHOP"));
    EngineRecord e1, e2;
    e1.setType(QStringLiteral("CFM56-3"));
    e1.setSer(QStringLiteral("889123"));
    e1.setInstallDate(QStringLiteral("2008-03-05"));
    e1.setOption(EngineOption::DownloadBearingData, true);
    e2.setOption(EngineOption::EraseAccelDefectHistory, true);
    e2.setType(QStringLiteral("CFM56-7"));
    r.setEngine(0, e1);
    r.setEngine(1, e2);
    r.setComments(QStringLiteral("line 1\r\nline 2"));

    const QByteArray b = r.toByteArray();
    ASSERT_EQ(b.size(), 2699);
    EXPECT_EQ(QByteArray(b.constData() + 0), "HB-IJK");
    EXPECT_EQ(QByteArray(b.constData() + 17), "SHOP");
    EXPECT_EQ(QByteArray(b.constData() + 28), "CFM56-3");
    EXPECT_EQ(QByteArray(b.constData() + 45), "889123");
    EXPECT_EQ(QByteArray(b.constData() + 56), "2008-03-05");
    EXPECT_EQ(b[77], 1);
    EXPECT_EQ(b[80], 0);
    EXPECT_EQ(QByteArray(b.constData() + 339), "CFM56-7");
    EXPECT_EQ(b[388], 0);
    EXPECT_EQ(b[394 - 2], 0);
    EXPECT_EQ(b[393], 1);
    EXPECT_EQ(QByteArray(b.constData() + 650), "line 1\r\nline 2");

    EXPECT_EQ(AircraftRecord::fromByteArray(b), r);
}

TEST(AircraftRecordLayout, ShortValueReadsAsZeros) {
    const AircraftRecord r = AircraftRecord::fromByteArray(QByteArray("AB\0CD", 5));
    EXPECT_EQ(r.identifier(), QStringLiteral("AB"));
    EXPECT_EQ(r.bytes()[4], 'D');
    for (int i = 5; i < AircraftRecord::kSize; ++i) {
        ASSERT_EQ(r.bytes()[i], 0) << i;
    }
}

TEST(AircraftRecordLayout, LongTextIsCutAtWidthMinusOneWithoutSplittingCharacters) {
    AircraftRecord r;
    r.setIdentifier(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(r.identifier(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(r.bytes()[16], 0);
    EXPECT_EQ(r.bytes()[17], 0);  // the shop ID next door is untouched

    // 15 ASCII bytes leave one byte: a two-byte character does not fit and is dropped whole.
    r.setIdentifier(QStringLiteral("ABCDEFGHIJKLMNO\u00e9"));
    EXPECT_EQ(r.identifierBytes(), QByteArray("ABCDEFGHIJKLMNO"));
    r.setIdentifier(QStringLiteral("ABCDEFGHIJKLMN\u00e9"));
    EXPECT_EQ(r.identifier(), QStringLiteral("ABCDEFGHIJKLMN\u00e9"));
    // A character outside the basic plane (four bytes, two UTF-16 units) is kept or dropped whole.
    EXPECT_EQ(tolm::fitLocal8Bit(QStringLiteral("ab\U0001F600"), 5), QByteArray("ab"));
    EXPECT_EQ(tolm::fitLocal8Bit(QStringLiteral("ab\U0001F600"), 6).size(), 6);
}

TEST(AircraftRecordLayout, ShorterTextClearsTheRestOfTheField) {
    EngineRecord e;
    e.setInstallDate(QStringLiteral("2008-03-05 morning"));
    e.setInstallDate(QStringLiteral("2008"));
    for (int i = EngineRecord::kInstallDateOffset + 4;
         i < EngineRecord::kInstallDateOffset + EngineRecord::kInstallDateWidth; ++i) {
        ASSERT_EQ(e.bytes()[i], 0) << i;
    }
}
