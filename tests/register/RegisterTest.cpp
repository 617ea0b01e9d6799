// The aircraft record's layout; the register in the settings store, its commands and dialogs,
// and the check of the data directory.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>

#include "formats/AircraftIdentifier.h"
#include "register/DataDirectoryCheck.h"
#include "register/EngineSerial.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "register/ui/BRIXAddAircraftDialog.h"
#include "register/ui/BRIXAddEngineTypeDialog.h"
#include "register/ui/BRIXAircraftInfoDialog.h"
#include "register/ui/BRIXRemoveAircraftDialog.h"
#include "register/ui/BRIXRemoveEngineTypeDialog.h"
#include "register/ui/TolmAircraftCommands.h"
#include "tests/register/AircraftStore.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;

namespace {

constexpr int kFont = ZafDisplay::kKeepFont;

void setOptions(AircraftRecord r, int engine, bool download, bool eraseData) {
    EngineRecord e = r.engine(engine);
    e.setOption(EngineOption::DownloadBearingData, download);
    e.setOption(EngineOption::EraseBearingData, eraseData);
    r.setEngine(engine, e);
    QSettings().setValue("AircraftInfo/" + r.identifier(), r.toByteArray());
}

// (checked, disabled) of an option box.
std::pair<bool, bool> box(const ZafWindow& dialog, const char* id) {
    const ZafObject b = dialog.Get(QLatin1String(id));
    return {b.Selected(), b.Disabled()};
}

// A fresh register for each test: the two default engine types, a private data directory, the
// program's window resources as the default reader, and a scripted user.
class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(storage.Error());
        testenv::clearSettings();
        QSettings s;
        s.setValue("EngineType_0", "CFM56-3");
        s.setValue("EngineType_1", "CFM56-7");
        s.setValue("DataDir", data.path());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        ZafEventStruct e;
        while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
        }
        zafApplication()->SetDefaultReader(nullptr);
    }

    static QString setting(const char* key) { return QSettings().value(key).toString(); }
    static void press(int key, QObject* to = nullptr) {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(key, to));
    }
    const ShownMessage& lastBox() const { return dialogs.last(); }

    // Types each text into the field and presses F5; every box shown leads to the next attempt,
    // and the last is accepted. Returns the texts of the boxes.
    QStringList tryEach(ZafDialogWindow& dialog, const char* field, std::deque<QString> texts) {
        auto attempt = [&] {
            dialog.Get(QLatin1String(field)).SetText(texts.front());
            texts.pop_front();
            press(VK::F5, &dialog);
        };
        QStringList shown;
        dialogs.onMessage = [&](const ShownMessage& m) {
            EXPECT_EQ(m.title, "Error");
            shown << m.text;
            attempt();
        };
        attempt();
        EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
        dialogs.onMessage = nullptr;
        return shown;
    }
    bool removeWithAnswer(const QString& id, QMessageBox::StandardButton answer) {
        BRIXRemoveAircraftDialog dialog(kFont);
        dialog.Get("CURRENT_AIRCRAFT").SetText(id);
        dialogs.questionAnswers = {answer};
        dialog.Get("B_OK").as<QAbstractButton>()->click();
        return dialog.RunModal() == S_DIALOG_OK;
    }
    QString file(const QString& name) const { return data.filePath(name); }
    void import(const QByteArray& content) {
        QFile f(file("import.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        commands.ImportAircraft(f.fileName());
    }
    FakeDialogs dialogs;
    QTemporaryDir data;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    TolmAircraftCommands commands;
};

}  // namespace

TEST(AircraftRecordLayout, FieldsSitAtTheirOffsetsAndTextsAreCutWholeWithZerosAfter) {
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

    // Texts are cut at their width minus one, whole, and the rest of a field is zeros.
    r.setIdentifier("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(r.identifier(), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(r.bytes()[16], 0);
    EXPECT_EQ(r.bytes()[17], 'S');  // the shop ID next door is untouched
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

TEST_F(RegisterTest, AnEmptyRegisterListsNothingAndANewIdentifierOnlyTurnsDownloadOn) {
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

TEST_F(RegisterTest, SersOfSevenDigitsOrWithAHyphenAreShownAsZeroWithAWarning) {
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

TEST_F(RegisterTest, IdentifiersMustBeSafeAsSettingsKeysAndFolderNames) {
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

TEST_F(RegisterTest, RemovingAsksThenDeletesNothingButTheOwnFolderAndAnEmptyRegisterOpensNothing) {
    for (const char* id : {"HB-IJK", "NODIR", "LINKED"}) {
        put(id);
    }
    QSettings().setValue("LastAircraft", "NODIR");
    const QDir dir(data.path());
    dir.mkpath("HB-IJK_data/engine_1");
    dir.mkpath("outside");
    QFile(file("outside/keep.txt")).open(QIODevice::WriteOnly);
    QFile::link(file("outside"), file("HB-IJK_data/engine_1/link"));
    QFile::link(file("outside"), file("LINKED_data"));

    EXPECT_FALSE(removeWithAnswer("HB-IJK", QMessageBox::No));
    EXPECT_EQ(lastBox(), (ShownMessage{MessageKind::Question, "Remove Aircraft",
                                       "Do you really want to remove aircraft HB-IJK?\nAll flight "
                                       "data collected for this aircraft will be deleted as "
                                       "well!"}));
    EXPECT_FALSE(stored("HB-IJK").isEmpty());

    for (const char* id : {"HB-IJK", "NODIR", "LINKED"}) {
        EXPECT_TRUE(removeWithAnswer(id, QMessageBox::Yes));
    }
    EXPECT_EQ(dialogs.count(MessageKind::Critical), 0);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
    EXPECT_FALSE(dir.exists("HB-IJK_data"));
    EXPECT_FALSE(QFileInfo(file("LINKED_data")).isSymLink());
    EXPECT_TRUE(QFile::exists(file("outside/keep.txt")));
    EXPECT_EQ(setting("LastAircraft"), "NODIR");

    // An identifier that cannot name a folder of its own: no folder is touched.
    QSettings().setValue("AircraftInfo/A:B", QByteArray(2699, '\0'));
    dir.mkpath("A:B_data");
    EXPECT_TRUE(removeWithAnswer("A:B", QMessageBox::Yes));
    EXPECT_EQ(lastBox(), (ShownMessage{MessageKind::Critical, "Error",
                                       "Unable to fully delete this aircraft directory"}));
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
    EXPECT_TRUE(dir.exists("A:B_data"));

    // Commands on the empty register, and on an empty list of engine types, warn and open nothing.
    dialogs.clear();
    QSettings().remove("EngineType_0");
    QSettings().remove("EngineType_1");
    EXPECT_EQ(commands.RemoveAircraft(kFont), 0);
    EXPECT_EQ(commands.RemoveEngineType(kFont), 0);
    EXPECT_FALSE(commands.OpenAircraftPage([](auto&&...) -> ZafWindow* {
        ADD_FAILURE() << "no page without aircraft";
        return nullptr;
    }));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(lastBox(),
              (ShownMessage{MessageKind::Warning, " TOLM for QUOR ", "No aircraft found"}));
    EXPECT_EQ(dialogs.messages[1].text, "No engine found");
    press(VK::F8);  // the dialog is the front window and takes the key
    EXPECT_EQ(commands.AddAircraft(kFont), 0);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
}

TEST_F(RegisterTest, ImportReplacesAircraftWholeCutsFieldsAndSaysWhatItSkipped) {
    put("HB-IJK");
    // Comments and empty lines only change nothing; a file that does not open is reported.
    const QByteArray before = stored("HB-IJK");
    import("# HB-IJK,X\n\n#,,,\n");
    EXPECT_EQ(lastBox(), (ShownMessage{MessageKind::Information, "Import Aircraft",
                                       "Aircraft Information successfully imported!"}));
    EXPECT_EQ(stored("HB-IJK"), before);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 1);
    commands.ImportAircraft(data.path());
    EXPECT_EQ(lastBox(), (ShownMessage{MessageKind::Critical, "Import Aircraft",
                                       "Unable to open '" + data.path() + "'"}));

    import(
        "# comment, line\n\nHB-IJK,SHOP-A,CFM56-7,889123,2008-03-05,CFM56-3,889124,,first\n"
        ",no identifier\nA/B,SHOP\n"
        "N123456789012345678,SHOP567890,TYPE5678901234567,SER4567890,DATE567890123456789012,"
        "CFM56-7,1,2,comment,extra,fields\r\nSHORT\n");
    const AircraftRecord replaced = storedRecord("HB-IJK");
    EXPECT_EQ(replaced.shopId(), "SHOP-A");
    EXPECT_EQ(replaced.engine(1).ser(), "889124");
    EXPECT_EQ(replaced.engine(0).installDate(), "2008-03-05");
    EXPECT_EQ(replaced.comments(), "first");
    for (const int option : {77, 80, 81, 82, 388, 391, 392, 393}) {
        EXPECT_EQ(replaced.bytes()[option], 0) << option;
    }
    // Fields cut to the import's limits, fields after the ninth ignored.
    const AircraftRecord cut = storedRecord("N12345678901234");
    EXPECT_EQ(cut.shopId(), "SHOP56789");
    EXPECT_EQ(cut.engine(0).installDate(), "DATE567890123456789");
    EXPECT_EQ(cut.comments(), "comment");
    EXPECT_EQ(cut.engine(1).optionByte(EngineOption::DownloadBearingData), 1);
    EXPECT_EQ(TolmAircraftSettings().aircraftIdentifiers(),
              (QStringList{"HB-IJK", "N12345678901234", "SHORT"}));
    EXPECT_EQ(setting("LastAircraft"), "SHORT");
    EXPECT_TRUE(QDir(data.path()).exists("SHORT_data/engine_2"));
    EXPECT_EQ(lastBox(),
              (ShownMessage{MessageKind::Warning, "Import Aircraft",
                            "Aircraft Information imported, but 1 line(s) skipped because of an "
                            "invalid aircraft ID: \"A/B\"\n\nAn aircraft ID must not be \".\" or "
                            "\"..\" nor contain control characters or any of / \\ < > : \" | ? "
                            "*"}));

    // Found by fuzzing: lines ended by a lone CR (classic Mac files) were read as one, the
    // aircraft after the first ending up in its comments.
    import("HB-CRA,,,,,,,,one\rHB-CRB,,,,,,,,two\r");
    EXPECT_EQ(storedRecord("HB-CRA").comments(), "one");
    EXPECT_EQ(storedRecord("HB-CRB").comments(), "two");
}

TEST_F(RegisterTest, AddingRefusesEmptyInvalidAndCaseDuplicateNamesAndTypesGoneAreRenumbered) {
    put("HB-IJK");
    BRIXAddAircraftDialog dialog(kFont);
    EXPECT_EQ(tryEach(dialog, "NEW_AIRCRAFT_ID", {"", "hb-ijk", "N1/..", "N 1"}),
              (QStringList{"No aircraftID specified", "Aircraft ID \"hb-ijk\" already exists",
                           "Invalid aircraft ID \"N1/..\""}));
    const AircraftRecord added = storedRecord("N 1");
    EXPECT_EQ(added.identifier(), "N 1");
    EXPECT_TRUE(added.engine(1).option(EngineOption::DownloadBearingData));
    EXPECT_EQ(setting("LastAircraft"), "N 1");

    // Engine types are added at the end, and removed with renumbering.
    QSettings().setValue("enginetype_7", "not counted");
    BRIXAddEngineTypeDialog add(kFont);
    EXPECT_EQ(tryEach(add, "NEW_ENGINE", {"", "cfm56-7", "V2500"}),
              (QStringList{"No engine type specified", "Engine Type \"cfm56-7\" already exists"}));
    EXPECT_EQ(setting("EngineType_2"), "V2500");
    BRIXRemoveEngineTypeDialog remove(kFont);
    remove.Get("CURRENT_ENGINE").SetText("CFM56-7");
    press(VK::F5, &remove);
    EXPECT_EQ(remove.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(TolmAircraftSettings().engineTypes(), (QStringList{"CFM56-3", "V2500"}));
    EXPECT_EQ(setting("EngineType_1"), "V2500");
    EXPECT_FALSE(QSettings().contains("EngineType_2"));
    TolmAircraftSettings().removeEngineType("CF6");  // not there: no change
    EXPECT_EQ(TolmAircraftSettings().countEngineTypes(), 2);
}

TEST_F(RegisterTest, TheDataDirectoryCheckReportsEachFailure) {
    const auto error = [](const QString& text) {
        return std::optional<Notice>(Notice::critical("Error", text));
    };
    const QString missing = file("SW_uploads");
    EXPECT_EQ(checkDataDirectory(missing, false), error("Directory \"" + missing + "\" not found"));
    EXPECT_EQ(checkDataDirectory(missing + "/a", true), std::nullopt);
    EXPECT_TRUE(QFileInfo(missing + "/a").isDir());

    QFile(file("f")).open(QIODevice::WriteOnly);
    EXPECT_EQ(checkDataDirectory(file("f/sub"), true),
              error("Unable to create directory \"" + file("f/sub") + "\""));

    // The superuser may write to any folder except on a read-only file system.
    QString locked = file("locked");
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(locked).isWritable()) {
        locked = "/proc/sys";
    }
    if (QFileInfo(locked).isWritable()) {
        GTEST_SKIP() << "no folder without write access here";
    }
    EXPECT_EQ(checkDataDirectory(locked, false),
              error("No read/write access to directory \"" + locked + "\""));
}

TEST_F(RegisterTest, InfoDialogBoxesShowTheStoredOptionsAndAreNeverReadBack) {
    setOptions(put("A-1"), 1, false, false);
    setOptions(put("B-2"), 0, true, true);
    AircraftRecord record;
    BRIXAircraftInfoDialog dialog(kFont, "title", record);
    EXPECT_EQ(record.identifier(), "A-1");
    const std::pair on{true, false}, off{false, true};
    EXPECT_EQ(box(dialog, "ENG1_DOWNLOAD_B4D"), on);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_B4D"), off);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_DDH"), off);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_ADDH"), off);
    EXPECT_EQ(box(dialog, "ENG2_DOWNLOAD_B4D"), off);

    // Another aircraft chosen inside the dialog: the boxes follow it.
    zafWindowManager()->Add(&dialog);
    choose(dialog.Get("TAIL_NUMBER"), "B-2");
    testenv::pump();
    EXPECT_EQ(record.identifier(), "B-2");
    EXPECT_EQ(box(dialog, "ENG1_ERASE_B4D"), on);
    EXPECT_EQ(box(dialog, "ENG2_DOWNLOAD_B4D"), on);

    // Unticking an enabled box, choosing engine 2's type, accepting.
    dialog.Get("ENG1_ERASE_B4D").as<QAbstractButton>()->click();
    choose(dialog.Get("G_ENGINE2~TYPE"), "CFM56-3");
    press(VK::F5, &dialog);
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialog.Get("G_ENGINE1~TYPE").Text(), "CFM56-3");
    const AircraftRecord saved = storedRecord("B-2");
    EXPECT_EQ(saved, record);
    EXPECT_TRUE(saved.engine(0).option(EngineOption::EraseBearingData));
    EXPECT_EQ(saved.engine(1).type(), "CFM56-3");
    EXPECT_EQ(setting("LastAircraft"), "B-2");
}

TEST_F(RegisterTest, InfoDialogRefusesATwoDigitSerForADownloadAndStaysOpen) {
    put("A-1", "123456", "12");
    AircraftRecord record;
    BRIXAircraftInfoDialog dialog(kFont, "title", record);
    dialog.Get("G_ENGINE1~INSTALL_DATE").SetText("edited");
    dialogs.onMessage = [&](const ShownMessage&) {
        EXPECT_EQ(storedRecord("A-1").engine(0).installDate(), "edited");  // stored all the same
        dialog.Get("G_ENGINE2~SN").SetText("345");
        dialog.Get("B_OK").as<QAbstractButton>()->click();
    };
    press(VK::F5, &dialog);
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    dialogs.onMessage = nullptr;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(lastBox(), (ShownMessage{MessageKind::Critical, "Error",
                                       "Invalid engine 2 serial number.\n\nEnter min. 3 "
                                       "characters."}));
    EXPECT_EQ(storedRecord("A-1").engine(1).ser(), "345");

    // Without download for that engine a short SER is taken.
    setOptions(put("A-1", "1"), 0, false, false);
    BRIXAircraftInfoDialog shortSer(kFont, "title", record);
    press(VK::F5, &shortSer);
    EXPECT_EQ(shortSer.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}
