#include "maintenance/ui/BRIXUtilitiesPage.h"

#include <QTabWidget>

#include "core/ConnectionSettings.h"
#include "link/ui/UnitLink.h"
#include "maintenance/MaintenanceLog.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "register/TolmAircraftSettings.h"
#include "toolkit/KeyCodes.h"

namespace tolm {

namespace {

// The Download page's boxes of each engine (%1: engine number) and the options they show.
const struct {
    const char* box;
    EngineOption option;
} kOptionBoxes[] = {
    {"B_DOWN_N4_E%1", EngineOption::DownloadBearingData},
    {"B_ERASE_N4_E%1", EngineOption::EraseBearingData},
    {"B_ERASE_N4_DEFECT_E%1", EngineOption::EraseBearingDefectHistory},
    {"B_ERASE_ACCEL_DEFECT_E%1", EngineOption::EraseAccelDefectHistory},
};

const char* const kPageNames[] = {"DownloadPage", "CommunicationsPage", "FirmwarePage"};
const char* const kPageTitles[] = {"Download", "Communications", "Firmware"};

}  // namespace

BRIXUtilitiesPage::BRIXUtilitiesPage(UnitLink& link, ZafWindow& owner, int normalFont, int midFont)
    : link_(link), firmware_(link, owner, normalFont, midFont), normalFont_(normalFont) {}

ZafObject BRIXUtilitiesPage::Find(const QString& path) const {
    return page_ ? page_->Get(path) : ZafObject();
}

void BRIXUtilitiesPage::Show(ZafWindow* page) {
    page_ = page;
    record_ = AircraftRecord();
    identifier_.clear();
    if (!page_) {
        firmware_.Attach(nullptr);
        return;
    }
    // The notebook's pages and their Apply buttons.
    auto* notebook = Find(QStringLiteral("UTILITIES_NOTEBOOK")).as<QTabWidget>();
    if (notebook) {
        for (int i = 0; i < notebook->count(); ++i) {
            notebook->setTabText(i, QLatin1String(kPageTitles[i]));
        }
    }
    for (const char* name : kPageNames) {
        ZafObject apply =
            Find(QStringLiteral("UTILITIES_NOTEBOOK~%1~B_APPLY_CHANGES").arg(QLatin1String(name)));
        apply.SetSendMessage(MaintenanceEvent::ApplyUtilities);
        apply.SetFont(normalFont_);
    }

    // The Download page, disabled with an empty register.
    TolmAircraftSettings aircraft;
    hasAircraft_ = aircraft.countAircraft() > 0;
    Find(QStringLiteral("G_DOWNLOAD_OPTIONS")).SetDisabled(!hasAircraft_);
    ZafObject note = Find(QStringLiteral("P_NOTE"));
    note.SetVisible(!hasAircraft_);
    note.SetDisabled(hasAircraft_);
    if (hasAircraft_) {
        Find(QStringLiteral("AIRCRAFT_ID"))
            .SetItems(aircraft.aircraftIdentifiers(), MaintenanceEvent::UtilitiesAircraftChosen,
                      aircraft.initialAircraft());
        LoadAircraft();
    }

    // The Firmware page, with an upload that may be running.
    firmware_.Attach(page_);

    // The fields; the sections were enabled by the part numbers above.
    LoadUtilityFields();

    // The page the notebook had when it was last closed, and from now on the one it has.
    if (notebook) {
        notebook->setCurrentIndex(qBound(0, rememberedPage_, notebook->count() - 1));
        QObject::connect(notebook, &QTabWidget::currentChanged, &connections_,
                         [this](int index) { rememberedPage_ = index; });
    }
}

int BRIXUtilitiesPage::NotebookPage() const {
    const auto* notebook = Find(QStringLiteral("UTILITIES_NOTEBOOK")).as<QTabWidget>();
    return notebook ? notebook->currentIndex() : 0;
}

void BRIXUtilitiesPage::LoadAircraft() {
    identifier_ = Find(QStringLiteral("AIRCRAFT_ID")).Text();
    record_ = TolmAircraftSettings().loadAircraft(identifier_);
}

void BRIXUtilitiesPage::LoadUtilityFields() {
    if (hasAircraft_) {
        for (int engine = 0; engine < 2; ++engine) {
            const EngineRecord options = record_.engine(engine);
            for (const auto& b : kOptionBoxes) {
                Find(QString::fromLatin1(b.box).arg(engine + 1))
                    .SetSelected(options.option(b.option));
            }
        }
    }
    const ConnectionSettings connection = ConnectionSettings::read();
    Find(QStringLiteral("G_COMM_ETHERNET~PORT")).SetText(QString::number(connection.port));
    Find(QStringLiteral("G_COMM_ETHERNET~ADDRESS")).SetText(connection.host);
}

void BRIXUtilitiesPage::SaveDownloadOptions() {
    if (!hasAircraft_ || identifier_.isEmpty()) {
        return;
    }
    for (int engine = 0; engine < 2; ++engine) {
        EngineRecord options = record_.engine(engine);
        for (const auto& b : kOptionBoxes) {
            options.setOption(b.option,
                              Find(QString::fromLatin1(b.box).arg(engine + 1)).Selected());
        }
        record_.setEngine(engine, options);
    }
    TolmAircraftSettings().storeAircraft(identifier_, record_);
}

void BRIXUtilitiesPage::ApplyCommunicationChanges() {
    ConnectionSettings connection;
    connection.port = Find(QStringLiteral("G_COMM_ETHERNET~PORT")).Text().toInt();
    connection.host = Find(QStringLiteral("G_COMM_ETHERNET~ADDRESS")).Text();
    // The link thread ends (it is not waited for); the next set-up connects to the new unit.
    link_.requestStop();
    link_.setAddress(connection.host, connection.port);
    connection.write();
    qCInfo(lcMaintenance).noquote() << QStringLiteral("the unit's address is now %1:%2")
                                           .arg(connection.host, QString::number(connection.port));
}

ZafEventType BRIXUtilitiesPage::Apply() {
    if (!Showing()) {
        return 0;
    }
    switch (NotebookPage()) {
        case kDownloadPage:
            SaveDownloadOptions();
            break;
        case kCommunicationsPage:
            // Ending the link now would cut the upload off in the middle of the image.
            if (!link_.RefusedWhileBusy()) {
                ApplyCommunicationChanges();
            }
            break;
        default:
            break;  // the Firmware page has nothing to apply
    }
    return 0;
}

ZafEventType BRIXUtilitiesPage::AircraftChosen() {
    if (!Showing() || !hasAircraft_) {
        return 0;
    }
    SaveDownloadOptions();
    LoadAircraft();
    LoadUtilityFields();
    return 0;
}

QMap<int, ZafEventType> BRIXUtilitiesPage::HotKeys(ZafEventType back) {
    return {{VK::Escape, back}, {VK::F5, MaintenanceEvent::ApplyUtilities}};
}

}  // namespace tolm
