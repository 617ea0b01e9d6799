// Adding, removing and importing aircraft, adding and removing engine types, and the check of
// the data directory.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <deque>

#include "register/DataDirectoryCheck.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/BRIXAddAircraftDialog.h"
#include "register/ui/BRIXAddEngineTypeDialog.h"
#include "register/ui/BRIXRemoveAircraftDialog.h"
#include "register/ui/BRIXRemoveEngineTypeDialog.h"
#include "register/ui/TolmAircraftCommands.h"
#include "tests/register/RegisterFixture.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafDisplay.h"

using namespace tolm;

namespace {

constexpr int kFont = ZafDisplay::kKeepFont;

class Management : public RegisterTest {
protected:
    // Types each text into the field and presses F5; every box shown leads to the next attempt.
    // Returns how the dialog ended and the texts of the boxes.
    std::pair<ZafEventType, QStringList> tryEach(ZafDialogWindow& dialog, const char* field,
                                                 std::deque<QString> texts) {
        auto attempt = [&] {
            dialog.Get(QLatin1String(field)).SetText(texts.front());
            texts.pop_front();
            press(VK::F5, &dialog);
        };
        QStringList shown;
        dialogs.onMessage = [&](const ShownMessage& m) {
            EXPECT_EQ(m.title, QStringLiteral("Error"));
            shown << m.text;
            attempt();
        };
        attempt();
        const ZafEventType result = dialog.RunModal();
        dialogs.onMessage = nullptr;
        return {result, shown};
    }
    bool removeWithAnswer(const QString& id, QMessageBox::StandardButton answer) {
        BRIXRemoveAircraftDialog dialog(kFont);
        dialog.Get(QStringLiteral("CURRENT_AIRCRAFT")).SetText(id);
        dialogs.questionAnswers = {answer};
        dialog.Get(QStringLiteral("B_OK")).as<QAbstractButton>()->click();
        return dialog.RunModal() == S_DIALOG_OK;
    }
    QString file(const QString& name) const { return data.filePath(name); }
    void import(const QByteArray& content) {
        QFile f(file(QStringLiteral("import.csv")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        commands.ImportAircraft(f.fileName());
    }
    TolmAircraftCommands commands;
};

}  // namespace

TEST_F(Management, AddingRefusesEmptyInvalidAndCaseDuplicateIdentifiers) {
    put(QStringLiteral("HB-IJK"));
    BRIXAddAircraftDialog dialog(kFont);
    const auto [result, shown] = tryEach(dialog, "NEW_AIRCRAFT_ID", {"", "hb-ijk", "N1/..", "N 1"});
    EXPECT_EQ(result, S_DIALOG_OK);
    EXPECT_EQ(shown,
              (QStringList{"No aircraftID specified", "Aircraft ID \"hb-ijk\" already exists",
                           "Invalid aircraft ID \"N1/..\""}));
    const AircraftRecord added = storedRecord(QStringLiteral("N 1"));
    EXPECT_EQ(added.identifier(), QStringLiteral("N 1"));
    EXPECT_TRUE(added.engine(1).option(EngineOption::DownloadBearingData));
    EXPECT_EQ(setting("LastAircraft"), QStringLiteral("N 1"));
}

TEST_F(Management, RemovingAsksThenDeletesNothingButTheAircraftsOwnFolder) {
    put(QStringLiteral("HB-IJK"));
    put(QStringLiteral("NODIR"));
    put(QStringLiteral("LINKED"));
    QSettings().setValue(QStringLiteral("LastAircraft"), QStringLiteral("NODIR"));
    const QDir dir(data.path());
    dir.mkpath(QStringLiteral("HB-IJK_data/engine_1"));
    dir.mkpath(QStringLiteral("outside"));
    QFile(file(QStringLiteral("outside/keep.txt"))).open(QIODevice::WriteOnly);
    QFile::link(file(QStringLiteral("outside")), file(QStringLiteral("HB-IJK_data/engine_1/link")));
    QFile::link(file(QStringLiteral("outside")), file(QStringLiteral("LINKED_data")));

    EXPECT_FALSE(removeWithAnswer(QStringLiteral("HB-IJK"), QMessageBox::No));
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Question, QStringLiteral("Remove Aircraft"),
                                         QStringLiteral("Do you really want to remove aircraft "
                                                        "HB-IJK?\nAll flight data collected for "
                                                        "this aircraft will be deleted as well!")));
    EXPECT_FALSE(stored(QStringLiteral("HB-IJK")).isEmpty());

    for (const char* id : {"HB-IJK", "NODIR", "LINKED"}) {
        EXPECT_TRUE(removeWithAnswer(QLatin1String(id), QMessageBox::Yes));
    }
    EXPECT_EQ(dialogs.count(MessageKind::Critical), 0);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
    EXPECT_FALSE(dir.exists(QStringLiteral("HB-IJK_data")));
    EXPECT_FALSE(QFileInfo(file(QStringLiteral("LINKED_data"))).isSymLink());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("outside/keep.txt"))));
    EXPECT_EQ(setting("LastAircraft"), QStringLiteral("NODIR"));

    // An identifier that cannot name a folder of its own: no folder is touched.
    QSettings().setValue(QStringLiteral("AircraftInfo/A:B"), QByteArray(2699, '\0'));
    dir.mkpath(QStringLiteral("A:B_data"));
    EXPECT_TRUE(removeWithAnswer(QStringLiteral("A:B"), QMessageBox::Yes));
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Critical, QStringLiteral("Error"),
                                         QStringLiteral("Unable to fully delete this aircraft "
                                                        "directory")));
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
    EXPECT_TRUE(dir.exists(QStringLiteral("A:B_data")));
}

TEST_F(Management, ImportReplacesAircraftWholeCutsFieldsAndSaysWhatItSkipped) {
    put(QStringLiteral("HB-IJK"));
    // A file of comments and empty lines only changes nothing; a file that does not open is
    // reported.
    const QByteArray before = stored(QStringLiteral("HB-IJK"));
    import("# HB-IJK,X\n\n#,,,\n");
    EXPECT_EQ(lastBox(),
              std::make_tuple(MessageKind::Information, QStringLiteral("Import Aircraft"),
                              QStringLiteral("Aircraft Information successfully "
                                             "imported!")));
    EXPECT_EQ(stored(QStringLiteral("HB-IJK")), before);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 1);
    commands.ImportAircraft(data.path());
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Critical, QStringLiteral("Import Aircraft"),
                                         QStringLiteral("Unable to open '%1'").arg(data.path())));

    import(
        "# comment, line\n\nHB-IJK,SHOP-A,CFM56-7,889123,2008-03-05,CFM56-3,889124,,first\n"
        ",no identifier\nA/B,SHOP\n"
        "N123456789012345678,SHOP567890,TYPE5678901234567,SER4567890,DATE567890123456789012,"
        "CFM56-7,1,2,comment,extra,fields\r\nSHORT\n");
    const AircraftRecord replaced = storedRecord(QStringLiteral("HB-IJK"));
    EXPECT_EQ(replaced.shopId(), QStringLiteral("SHOP-A"));
    EXPECT_EQ(replaced.engine(1).ser(), QStringLiteral("889124"));
    EXPECT_EQ(replaced.engine(0).installDate(), QStringLiteral("2008-03-05"));
    EXPECT_EQ(replaced.comments(), QStringLiteral("first"));
    for (const int option : {77, 80, 81, 82, 388, 391, 392, 393}) {
        EXPECT_EQ(replaced.bytes()[option], 0) << option;
    }
    // Fields cut to the import's limits, fields after the ninth ignored.
    const AircraftRecord cut = storedRecord(QStringLiteral("N12345678901234"));
    EXPECT_EQ(cut.shopId(), QStringLiteral("SHOP56789"));
    EXPECT_EQ(cut.engine(0).installDate(), QStringLiteral("DATE567890123456789"));
    EXPECT_EQ(cut.comments(), QStringLiteral("comment"));
    EXPECT_EQ(cut.engine(1).optionByte(EngineOption::DownloadBearingData), 1);
    EXPECT_EQ(TolmAircraftSettings().aircraftIdentifiers(),
              (QStringList{"HB-IJK", "N12345678901234", "SHORT"}));
    EXPECT_EQ(setting("LastAircraft"), QStringLiteral("SHORT"));
    EXPECT_TRUE(QDir(data.path()).exists(QStringLiteral("SHORT_data/engine_2")));
    EXPECT_EQ(lastBox(),
              std::make_tuple(MessageKind::Warning, QStringLiteral("Import Aircraft"),
                              QStringLiteral("Aircraft Information imported, but 1 line(s) skipped "
                                             "because of an invalid aircraft ID: \"A/B\"\n\nAn "
                                             "aircraft ID must not be \".\" or \"..\" nor contain "
                                             "control characters or any of / \\ < > : \" | ? *")));

    // Found by fuzzing: lines ended by a lone CR (classic Mac files) were read as one, the
    // aircraft after the first ending up in its comments.
    import("HB-CRA,,,,,,,,one\rHB-CRB,,,,,,,,two\r");
    EXPECT_EQ(storedRecord(QStringLiteral("HB-CRA")).comments(), QStringLiteral("one"));
    EXPECT_EQ(storedRecord(QStringLiteral("HB-CRB")).comments(), QStringLiteral("two"));
}

TEST_F(Management, EngineTypesAreAddedAtTheEndAndRemovedWithRenumbering) {
    QSettings().setValue(QStringLiteral("enginetype_7"), QStringLiteral("not counted"));
    BRIXAddEngineTypeDialog add(kFont);
    const auto [result, shown] = tryEach(add, "NEW_ENGINE", {"", "cfm56-7", "V2500"});
    EXPECT_EQ(result, S_DIALOG_OK);
    EXPECT_EQ(shown,
              (QStringList{"No engine type specified", "Engine Type \"cfm56-7\" already exists"}));
    EXPECT_EQ(setting("EngineType_2"), QStringLiteral("V2500"));

    BRIXRemoveEngineTypeDialog remove(kFont);
    remove.Get(QStringLiteral("CURRENT_ENGINE")).SetText(QStringLiteral("CFM56-7"));
    press(VK::F5, &remove);
    EXPECT_EQ(remove.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(TolmAircraftSettings().engineTypes(), (QStringList{"CFM56-3", "V2500"}));
    EXPECT_EQ(setting("EngineType_1"), QStringLiteral("V2500"));
    EXPECT_FALSE(QSettings().contains(QStringLiteral("EngineType_2")));
    TolmAircraftSettings().removeEngineType(QStringLiteral("CF6"));  // not there: no change
    EXPECT_EQ(TolmAircraftSettings().countEngineTypes(), 2);
}

TEST_F(Management, CommandsOnAnEmptyRegisterOrTypeListWarnAndOpenNothing) {
    QSettings().remove(QStringLiteral("EngineType_0"));
    QSettings().remove(QStringLiteral("EngineType_1"));
    EXPECT_EQ(commands.RemoveAircraft(kFont), 0);
    EXPECT_EQ(commands.RemoveEngineType(kFont), 0);
    EXPECT_FALSE(commands.OpenAircraftPage([](auto&&...) -> ZafWindow* {
        ADD_FAILURE() << "no page without aircraft";
        return nullptr;
    }));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Warning, QStringLiteral(" TOLM for QUOR "),
                                         QStringLiteral("No aircraft found")));
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("No engine found"));

    press(VK::F8);  // the dialog is the front window and takes the key
    EXPECT_EQ(commands.AddAircraft(kFont), 0);
    EXPECT_EQ(TolmAircraftSettings().countAircraft(), 0);
}

TEST_F(Management, TheDataDirectoryCheckReportsEachFailure) {
    const auto error = [](const QString& text) {
        return std::optional<Notice>(Notice::critical(QStringLiteral("Error"), text));
    };
    const QString missing = file(QStringLiteral("SW_uploads"));
    EXPECT_EQ(checkDataDirectory(missing, false),
              error(QStringLiteral("Directory \"%1\" not found").arg(missing)));
    EXPECT_EQ(checkDataDirectory(missing + QStringLiteral("/a"), true), std::nullopt);
    EXPECT_TRUE(QFileInfo(missing + QStringLiteral("/a")).isDir());

    QFile(file(QStringLiteral("f"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(checkDataDirectory(file(QStringLiteral("f/sub")), true),
              error(QStringLiteral("Unable to create directory \"%1\"")
                        .arg(file(QStringLiteral("f/sub")))));

    // The superuser may write to any folder except on a read-only file system.
    QString locked = file(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(locked).isWritable()) {
        locked = QStringLiteral("/proc/sys");
    }
    if (QFileInfo(locked).isWritable()) {
        GTEST_SKIP() << "no folder without write access here";
    }
    EXPECT_EQ(checkDataDirectory(locked, false),
              error(QStringLiteral("No read/write access to directory \"%1\"").arg(locked)));
}
