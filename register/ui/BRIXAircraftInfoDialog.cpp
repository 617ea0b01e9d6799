#include "register/ui/BRIXAircraftInfoDialog.h"

#include "register/EngineSerial.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "register/ui/RegisterEvents.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

struct OptionBox {
    EngineOption option;
    const char* identifier;  // %1: the engine number
};
constexpr OptionBox kOptionBoxes[] = {
    {EngineOption::DownloadBearingData, "ENG%1_DOWNLOAD_B4D"},
    {EngineOption::EraseBearingData, "ENG%1_ERASE_B4D"},
    {EngineOption::EraseBearingDefectHistory, "ENG%1_ERASE_DDH"},
    {EngineOption::EraseAccelDefectHistory, "ENG%1_ERASE_ADDH"},
};

}  // namespace

BRIXAircraftInfoDialog::BRIXAircraftInfoDialog(int font, const QString& title,
                                               AircraftRecord& record)
    : BRIXRegisterDialog(QStringLiteral("AircraftInfoDialog"), font),
      fields_(Object()),
      record_(record) {
    SetTitle(title);
    fillAircraftList(fields_.TailNumber(), RegisterEvent::AircraftChosen);
    Load();
}

ZafEventType BRIXAircraftInfoDialog::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case RegisterEvent::AircraftChosen:
            Load();
            return S_CONTINUE;
        case RegisterEvent::EngineTypeChosen:
            fields_.CopyEngineType(event.source);
            return S_CONTINUE;
        default:
            return BRIXRegisterDialog::Event(event);
    }
}

void BRIXAircraftInfoDialog::Load() {
    record_ = fields_.Load();
    for (int i = 0; i < 2; ++i) {
        const EngineRecord engine = record_.engine(i);
        for (const OptionBox& box : kOptionBoxes) {
            ZafObject check = Get(QString::fromLatin1(box.identifier).arg(i + 1));
            check.SetSelected(engine.option(box.option));
            check.SetDisabled(!engine.option(box.option));
        }
    }
}

ZafEventType BRIXAircraftInfoDialog::Accept() {
    record_ = fields_.Edited(record_);
    TolmAircraftSettings settings;
    settings.storeAircraft(record_.identifier(), record_);
    fields_.MarkStored();
    settings.setLastAircraft(fields_.TailNumber().Text());
    if (const std::optional<Notice> problem = shortSerialNumber(record_)) {
        showNotice(*problem);
        return S_CONTINUE;
    }
    return S_DIALOG_OK;
}

}  // namespace tolm
