#include "register/ui/TolmAircraftCommands.h"

#include "core/Config.h"
#include "register/AircraftImport.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/BRIXAddAircraftDialog.h"
#include "register/ui/BRIXAddEngineTypeDialog.h"
#include "register/ui/BRIXAircraftInfoDialog.h"
#include "register/ui/BRIXRemoveAircraftDialog.h"
#include "register/ui/BRIXRemoveEngineTypeDialog.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

ZafEventType runCentred(ZafDialogWindow& dialog) {
    dialog.Center();
    return dialog.RunModal();
}

}  // namespace

bool TolmAircraftCommands::RequireAircraft() {
    if (TolmAircraftSettings().countAircraft() > 0) {
        return true;
    }
    showWarning(QLatin1String(kProductTitle), QStringLiteral("No aircraft found"));
    return false;
}

bool TolmAircraftCommands::OpenAircraftPage(const ShowPageFunction& showPage) {
    if (!RequireAircraft()) {
        return false;
    }
    ZafWindow* page =
        showPage(QStringLiteral("AircraftInfo"), QStringLiteral("Aircraft Information"),
                 QStringLiteral("HelpAircraftInfo"));
    page_.Show(page);
    return page != nullptr;
}

ZafEventType TolmAircraftCommands::SaveAircraftPage() {
    return page_.Save();
}

ZafEventType TolmAircraftCommands::AircraftChosen() {
    return page_.AircraftChosen();
}

ZafEventType TolmAircraftCommands::EngineTypeChosen(const ZafEventStruct& event) {
    return page_.EngineTypeChosen(event.source);
}

bool TolmAircraftCommands::RunDownloadDialog(int font, AircraftRecord& record) {
    BRIXAircraftInfoDialog dialog(
        font, QStringLiteral("%1 - Download").arg(QLatin1String(kProductTitle)), record);
    dialog.SetHelpContext(QStringLiteral("HelpAutoDownload"));
    return runCentred(dialog) == S_DIALOG_OK;
}

ZafEventType TolmAircraftCommands::AddAircraft(int font) {
    BRIXAddAircraftDialog dialog(font);
    runCentred(dialog);
    return 0;
}

ZafEventType TolmAircraftCommands::RemoveAircraft(int font) {
    if (!RequireAircraft()) {
        return 0;
    }
    BRIXRemoveAircraftDialog dialog(font);
    runCentred(dialog);
    return 0;
}

ZafEventType TolmAircraftCommands::ImportAircraft(const QString& path) {
    showNotice(tolm::ImportAircraft(path));
    return 0;
}

ZafEventType TolmAircraftCommands::AddEngineType(int font) {
    BRIXAddEngineTypeDialog dialog(font);
    runCentred(dialog);
    return 0;
}

ZafEventType TolmAircraftCommands::RemoveEngineType(int font) {
    if (TolmAircraftSettings().countEngineTypes() == 0) {
        showWarning(QLatin1String(kProductTitle), QStringLiteral("No engine found"));
        return 0;
    }
    BRIXRemoveEngineTypeDialog dialog(font);
    runCentred(dialog);
    return 0;
}

}  // namespace tolm
