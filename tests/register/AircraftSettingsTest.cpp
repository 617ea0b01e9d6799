// The aircraft record's layout, and the register in the settings store: records, lists, SERs
// and identifiers.
#include "formats/AircraftIdentifier.h"
#include "register/EngineSerial.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "tests/register/RegisterFixture.h"

using namespace tolm;
using Settings = RegisterTest;

TEST(AircraftRecordLayout, FieldsSitAtTheirOffsets) {
    AircraftRecord r;
    r.setIdentifier("HB-IJK");
    r.setShopId("SHOP");
    EngineRecord e1, e2;
    e1.setType("CFM56-3");
    e1.setSer("889123");
    e1.setInstallDate("2008-03-05");
    e1.setOption(EngineOption::DownloadBearingData, true);
    e2.setOption(EngineOption::EraseAccelDefectHistory, true);
    e2.setType("CFM56-7");
    r.setEngine(0, e1);
    r.setEngine(1, e2);
    r.setComments("line 1\r\nline 2");

    const QByteArray b = r.toByteArray();
    ASSERT_EQ(b.size(), 2699);
    const std::pair<int, const char*> texts[] = {
        {0, "HB-IJK"},      {17, "SHOP"},     {28, "CFM56-3"},          {45, "889123"},
        {56, "2008-03-05"}, {339, "CFM56-7"}, {650, "line 1\r\nline 2"}};
    for (const auto& [at, text] : texts) {
        EXPECT_EQ(QByteArray(b.constData() + at), text) << at;
    }
    const std::pair<int, int> options[] = {{77, 1}, {80, 0}, {388, 0}, {394 - 2, 0}, {393, 1}};
    for (const auto& [at, value] : options) {
        EXPECT_EQ(b[at], value) << at;
    }
    EXPECT_EQ(AircraftRecord::fromByteArray(b), r);
}

TEST(AircraftRecordLayout, TextsAreCutAtWidthMinusOneWholeAndTheRestOfAFieldIsZeros) {
    AircraftRecord r;
    r.setIdentifier("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(r.identifier(), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(r.bytes()[16], 0);
    EXPECT_EQ(r.bytes()[17], 0);  // the shop ID next door is untouched
    // 15 ASCII bytes leave one byte: a two-byte character does not fit and is dropped whole.
    r.setIdentifier("ABCDEFGHIJKLMNO\u00e9");
    EXPECT_EQ(r.identifierBytes(), QByteArray("ABCDEFGHIJKLMNO"));
    r.setIdentifier("ABCDEFGHIJKLMN\u00e9");
    EXPECT_EQ(r.identifier(), "ABCDEFGHIJKLMN\u00e9");
    // A character outside the basic plane (four bytes, two UTF-16 units) is kept or dropped whole.
    EXPECT_EQ(tolm::fitLocal8Bit("ab\U0001F600", 5), QByteArray("ab"));
    EXPECT_EQ(tolm::fitLocal8Bit("ab\U0001F600", 6).size(), 6);

    // A shorter text clears the rest of the field; a short value reads as zeros.
    EngineRecord e;
    e.setInstallDate("2008-03-05 morning");
    e.setInstallDate("2008");
    for (int i = 4; i < EngineRecord::kInstallDateWidth; ++i) {
        ASSERT_EQ(e.bytes()[EngineRecord::kInstallDateOffset + i], 0) << i;
    }
    r = AircraftRecord::fromByteArray(QByteArray("AB\0CD", 5));
    EXPECT_EQ(r.identifier(), "AB");
    EXPECT_EQ(r.bytes()[4], 'D');
    for (int i = 5; i < AircraftRecord::kSize; ++i) {
        ASSERT_EQ(r.bytes()[i], 0) << i;
    }
}

TEST_F(Settings, AnEmptyRegisterListsNothingAndANewIdentifierOnlyTurnsDownloadOn) {
    // An empty register lists nothing.
    QComboBox box;
    box.addItem("left over");
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
    EXPECT_EQ(fillAircraftList(ZafObject(&box), 10017), 0);
    EXPECT_EQ(box.count(), 0);

    AircraftRecord r;
    r.setIdentifier("HB-IJK");
    TolmAircraftSettings().storeAircraft("HB-IJK", r);
    const QByteArray bytes = stored("HB-IJK");
    ASSERT_EQ(bytes.size(), 2699);
    EXPECT_EQ(bytes, r.toByteArray());  // the caller's record got the options too
    EXPECT_EQ(bytes[77], 1);
    EXPECT_EQ(bytes[388], 1);
    EngineRecord e = r.engine(1);
    e.setOption(EngineOption::DownloadBearingData, false);
    r.setEngine(1, e);
    TolmAircraftSettings().storeAircraft("HB-IJK", r);
    EXPECT_EQ(stored("HB-IJK")[388], 0);
    EXPECT_EQ(loadAircraft(QByteArray("HB-IJK")), r);
    EXPECT_EQ(loadAircraft(QByteArray("NONE")), AircraftRecord());
}

TEST_F(Settings, SersOfSevenDigitsOrWithAHyphenAreShownAsZeroWithAWarning) {
    const CheckedSer seven = checkedSer(1, "1234567");
    EXPECT_EQ(seven.shown, "0");
    EXPECT_EQ(seven.warning,
              Notice::warning("Warning",
                              "Invalid engine 1 SER detected (1234567).\n\nPlease enter a new "
                              "engine SER."));
    EXPECT_EQ(checkedSer(2, "123-45").shown, "0");
    for (const QString& good : {QString(), QStringLiteral("001234")}) {
        const CheckedSer kept = checkedSer(1, good);
        EXPECT_EQ(kept.shown, good);
        EXPECT_FALSE(kept.warning);
    }
    EXPECT_FALSE(isValidSer("\u0661\u0662\u0663"));  // digits, not ASCII ones
}

TEST_F(Settings, IdentifiersMustBeSafeAsSettingsKeysAndFolderNames) {
    for (const char* ok : {"HB-IJK", "hb ijk", "N123.4", "...", "D-\xc3\x84"}) {
        EXPECT_TRUE(isUsableAircraftId(QString::fromUtf8(ok))) << ok;
    }
    for (const char* bad : {"", ".", "..", "A/B", "A\\B", "A\tB", "A\x7f", "A<B", "A>B", "A:B",
                            "A\"B", "A|B", "A?B", "A*B", "A\xc2\x85"}) {
        EXPECT_FALSE(isUsableAircraftId(QString::fromUtf8(bad))) << bad;
    }
    // Found by fuzzing: a record whose own identifier holds "/" (as a page stores an edited
    // record) went to a key the register never lists; "/" alone overwrote the group's own value.
    for (const char* bad : {"/", "A/B", ".."}) {
        AircraftRecord r;
        r.setIdentifier(bad);
        TolmAircraftSettings().storeAircraft(r.identifier(), r);
        EXPECT_EQ(QSettings().allKeys().filter("AircraftInfo"), QStringList()) << bad;
    }
}
