// The register in the settings store: records, lists, SERs and identifiers.
#include "formats/AircraftIdentifier.h"
#include "register/EngineSerial.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "tests/register/RegisterFixture.h"

using namespace tolm;
using Settings = RegisterTest;

TEST_F(Settings, ANewIdentifierTurnsDownloadOnAndAnExistingOneKeepsTheCallersOptions) {
    AircraftRecord r;
    r.setIdentifier(QStringLiteral("HB-IJK"));
    TolmAircraftSettings().storeAircraft(QStringLiteral("HB-IJK"), r);
    const QByteArray bytes = stored(QStringLiteral("HB-IJK"));
    ASSERT_EQ(bytes.size(), 2699);
    EXPECT_EQ(bytes, r.toByteArray());  // the caller's record got the options too
    EXPECT_EQ(bytes[77], 1);
    EXPECT_EQ(bytes[388], 1);

    EngineRecord e = r.engine(1);
    e.setOption(EngineOption::DownloadBearingData, false);
    r.setEngine(1, e);
    TolmAircraftSettings().storeAircraft(QStringLiteral("HB-IJK"), r);
    EXPECT_EQ(stored(QStringLiteral("HB-IJK"))[388], 0);
    EXPECT_EQ(loadAircraft(QByteArray("HB-IJK")), r);
    EXPECT_EQ(loadAircraft(QByteArray("NONE")), AircraftRecord());
}

TEST_F(Settings, AnEmptyRegisterListsNothing) {
    QComboBox box;
    box.addItem(QStringLiteral("left over"));
    TolmAircraftSettings s;
    EXPECT_EQ(s.countAircraft(), 0);
    EXPECT_EQ(fillAircraftList(ZafObject(&box), 10017), 0);
    EXPECT_EQ(box.count(), 0);
}

TEST_F(Settings, SersOfSevenDigitsOrWithAHyphenAreShownAsZeroWithAWarning) {
    const CheckedSer seven = checkedSer(1, QStringLiteral("1234567"));
    EXPECT_EQ(seven.shown, QStringLiteral("0"));
    EXPECT_EQ(seven.warning, Notice::warning(QStringLiteral("Warning"),
                                             QStringLiteral("Invalid engine 1 SER detected "
                                                            "(1234567).\n\nPlease enter a new "
                                                            "engine SER.")));
    EXPECT_EQ(checkedSer(2, QStringLiteral("123-45")).shown, QStringLiteral("0"));
    for (const QString& good : {QString(), QStringLiteral("001234")}) {
        const CheckedSer kept = checkedSer(1, good);
        EXPECT_EQ(kept.shown, good);
        EXPECT_FALSE(kept.warning);
    }
    EXPECT_FALSE(isValidSer(QStringLiteral("\u0661\u0662\u0663")));  // digits, not ASCII ones
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
        r.setIdentifier(QString::fromUtf8(bad));
        TolmAircraftSettings().storeAircraft(r.identifier(), r);
        EXPECT_EQ(QSettings().allKeys().filter(QStringLiteral("AircraftInfo")), QStringList())
            << bad;
    }
}
