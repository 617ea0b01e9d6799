#include "register/ui/BRIXAircraftInfoPage.h"

#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "register/ui/RegisterEvents.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

void BRIXAircraftInfoPage::Show(ZafWindow* page) {
    page_ = page;
    fields_.reset();
    record_ = AircraftRecord();
    if (!page) {
        return;
    }
    fields_.emplace(page->Object());
    page->Get(QStringLiteral("B_SAVE")).SetSendMessage(RegisterEvent::SaveAircraft);
    fillAircraftList(fields_->TailNumber(), RegisterEvent::AircraftChosen);
    Load();
}

ZafEventType BRIXAircraftInfoPage::AircraftChosen() {
    if (Showing()) {
        CheckChanges(true);
        Load();
    }
    return 0;
}

ZafEventType BRIXAircraftInfoPage::Save() {
    if (Showing()) {
        CheckChanges(false);
    }
    return 0;
}

ZafEventType BRIXAircraftInfoPage::EngineTypeChosen(QObject* source) {
    if (Showing()) {
        fields_->CopyEngineType(source);
    }
    return 0;
}

QMap<int, ZafEventType> BRIXAircraftInfoPage::HotKeys(ZafEventType back) {
    return {{VK::Escape, back}, {VK::F8, back}, {VK::F5, RegisterEvent::SaveAircraft}};
}

void BRIXAircraftInfoPage::Load() {
    record_ = fields_->Load();
    TolmAircraftSettings().setLastAircraft(fields_->TailNumber().Text());
}

void BRIXAircraftInfoPage::CheckChanges(bool ask) {
    AircraftRecord edited = fields_->Edited(record_);
    if (edited == record_) {
        return;
    }
    if (ask && !askYesNo(QStringLiteral("Save"), QStringLiteral("Save Changes"))) {
        return;
    }
    TolmAircraftSettings().storeAircraft(edited.identifier(), edited);
    record_ = edited;
    fields_->MarkStored();
}

}  // namespace tolm
