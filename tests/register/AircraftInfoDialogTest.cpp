// The aircraft information dialog before a download. How the download command runs it, with its
// title, is part of the download flow from the main menu.
#include <QAbstractButton>

#include "register/ui/BRIXAircraftInfoDialog.h"
#include "tests/register/RegisterFixture.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafDisplay.h"

using namespace tolm;

namespace {

using Dialog = RegisterTest;
constexpr int kFont = ZafDisplay::kKeepFont;

void setOptions(AircraftRecord r, int engine, bool download, bool eraseData) {
    EngineRecord e = r.engine(engine);
    e.setOption(EngineOption::DownloadBearingData, download);
    e.setOption(EngineOption::EraseBearingData, eraseData);
    r.setEngine(engine, e);
    QSettings().setValue(QStringLiteral("AircraftInfo/") + r.identifier(), r.toByteArray());
}

// (checked, disabled) of an option box.
std::pair<bool, bool> box(const ZafWindow& dialog, const char* id) {
    const ZafObject b = dialog.Get(QLatin1String(id));
    return {b.Selected(), b.Disabled()};
}

}  // namespace

TEST_F(Dialog, OptionBoxesShowTheStoredOptionsAndAreNeverReadBack) {
    setOptions(put(QStringLiteral("A-1")), 1, false, false);
    setOptions(put(QStringLiteral("B-2")), 0, true, true);
    AircraftRecord record;
    BRIXAircraftInfoDialog dialog(kFont, QStringLiteral("title"), record);
    EXPECT_EQ(record.identifier(), QStringLiteral("A-1"));
    const std::pair on{true, false}, off{false, true};
    EXPECT_EQ(box(dialog, "ENG1_DOWNLOAD_B4D"), on);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_B4D"), off);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_DDH"), off);
    EXPECT_EQ(box(dialog, "ENG1_ERASE_ADDH"), off);
    EXPECT_EQ(box(dialog, "ENG2_DOWNLOAD_B4D"), off);

    // Another aircraft chosen inside the dialog: the boxes follow it.
    zafWindowManager()->Add(&dialog);
    choose(dialog.Get(QStringLiteral("TAIL_NUMBER")), QStringLiteral("B-2"));
    testenv::pump();
    EXPECT_EQ(record.identifier(), QStringLiteral("B-2"));
    EXPECT_EQ(box(dialog, "ENG1_ERASE_B4D"), on);
    EXPECT_EQ(box(dialog, "ENG2_DOWNLOAD_B4D"), on);

    // Unticking an enabled box, choosing engine 2's type, accepting.
    dialog.Get(QStringLiteral("ENG1_ERASE_B4D")).as<QAbstractButton>()->click();
    choose(dialog.Get(QStringLiteral("G_ENGINE2~TYPE")), QStringLiteral("CFM56-3"));
    press(VK::F5, &dialog);
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialog.Get(QStringLiteral("G_ENGINE1~TYPE")).Text(), QStringLiteral("CFM56-3"));
    const AircraftRecord saved = storedRecord(QStringLiteral("B-2"));
    EXPECT_EQ(saved, record);
    EXPECT_TRUE(saved.engine(0).option(EngineOption::EraseBearingData));
    EXPECT_EQ(saved.engine(1).type(), QStringLiteral("CFM56-3"));
    EXPECT_EQ(setting("LastAircraft"), QStringLiteral("B-2"));
}

TEST_F(Dialog, ATwoDigitSerForADownloadIsRefusedAndTheDialogStaysOpen) {
    put(QStringLiteral("A-1"), QStringLiteral("123456"), QStringLiteral("12"));
    AircraftRecord record;
    BRIXAircraftInfoDialog dialog(kFont, QStringLiteral("title"), record);
    dialog.Get(QStringLiteral("G_ENGINE1~INSTALL_DATE")).SetText(QStringLiteral("edited"));
    dialogs.onMessage = [&](const ShownMessage&) {
        EXPECT_EQ(storedRecord(QStringLiteral("A-1")).engine(0).installDate(),
                  QStringLiteral("edited"));  // stored as edited all the same
        dialog.Get(QStringLiteral("G_ENGINE2~SN")).SetText(QStringLiteral("345"));
        dialog.Get(QStringLiteral("B_OK")).as<QAbstractButton>()->click();
    };
    press(VK::F5, &dialog);
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    dialogs.onMessage = nullptr;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Critical, QStringLiteral("Error"),
                                         QStringLiteral("Invalid engine 2 serial number.\n\n"
                                                        "Enter min. 3 characters.")));
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).engine(1).ser(), QStringLiteral("345"));

    // Without download for that engine a short SER is taken.
    setOptions(put(QStringLiteral("A-1"), QStringLiteral("1")), 0, false, false);
    BRIXAircraftInfoDialog shortSer(kFont, QStringLiteral("title"), record);
    press(VK::F5, &shortSer);
    EXPECT_EQ(shortSer.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}
