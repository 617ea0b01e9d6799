#include "maintenance/ui/BRIXFirmwareUpload.h"
#include "maintenance/ui/MaintenanceEvents.h"

#include <QDir>
#include <QProgressBar>
#include <QScopedValueRollback>

#include "core/Config.h"
#include "link/ui/UnitLink.h"
#include "maintenance/FirmwareSections.h"
#include "maintenance/MaintenanceLog.h"
#include "maintenance/UploadImage.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

namespace {

// Where a kind's controls sit on the Firmware page.
struct SectionNames {
    const char* section;
    const char* update;   // "UpdateButton" and "UpdateFile"
    const char* status;   // "Status"
    const char* start;    // the upload button
    ZafEventType choose;  // the events of the two buttons
    ZafEventType upload;
};

const SectionNames& namesOf(UploadKind kind) {
    static const SectionNames names[kUploadKinds] = {
        {"MainProcessor", "SoftwareUpdate", "SoftwareStatus", "UpdateSwButton",
         MaintenanceEvent::ChooseMainSoftware, MaintenanceEvent::UploadMainSoftware},
        {"DspProcessors", "SoftwareUpdate", "SoftwareStatus", "UpdateSwButton",
         MaintenanceEvent::ChooseDspSoftware, MaintenanceEvent::UploadDspSoftware},
        {"DspProcessors", "ConfigurationUpdate", "ConfigurationStatus", "UpdateCfgButton",
         MaintenanceEvent::ChooseConfigTable, MaintenanceEvent::UploadConfigTable},
    };
    return names[int(kind)];
}

constexpr UploadKind kKinds[kUploadKinds] = {UploadKind::MainSoftware, UploadKind::DspSoftware,
                                             UploadKind::ConfigTable};

const QString kReady = QStringLiteral("Ready for Upload");

}  // namespace

BRIXFirmwareUpload::BRIXFirmwareUpload(UnitLink& link, ZafWindow& owner, int normalFont,
                                       int midFont)
    : link_(link),
      owner_(owner),
      normalFont_(normalFont),
      midFont_(midFont),
      softwareDialog_(ZafFileDialog::Mode::Open),
      configDialog_(ZafFileDialog::Mode::Open) {}

BRIXFirmwareUpload::~BRIXFirmwareUpload() {
    if (timer_) {
        if (ZafEventManager* events = zafEventManager()) {
            events->Subtract(timer_.get());
        }
    }
}

ZafObject BRIXFirmwareUpload::Find(const QString& path) const {
    return page_ ? page_->Get(path) : ZafObject();
}

ZafObject BRIXFirmwareUpload::Section(UploadKind kind, const char* part) const {
    const SectionNames& names = namesOf(kind);
    return Find(QLatin1String(names.section) + QLatin1Char('~') + QLatin1String(part));
}

void BRIXFirmwareUpload::Attach(ZafWindow* page) {
    page_ = page;
    if (!page_) {
        return;
    }
    ShowPartNumbers();
    for (const UploadKind kind : kKinds) {
        const SectionNames& names = namesOf(kind);
        const ZafObject update = Section(kind, names.update);
        update.Get(QStringLiteral("UpdateButton")).SetSendMessage(names.choose);
        Section(kind, names.start).SetSendMessage(names.upload);
        if (!run_.fileName(kind).isEmpty()) {
            update.Get(QStringLiteral("UpdateFile")).SetText(run_.fileName(kind));
            Section(kind, names.status).Get(QStringLiteral("Status")).SetText(kReady);
        }
    }
    if (const UploadSequence* upload = run_.upload(); upload && Busy()) {
        // The upload goes on from before the page was closed.
        Section(upload->kind(), namesOf(upload->kind()).status)
            .Get(QStringLiteral("Status"))
            .SetText(upload->statusText());
        ShowProgress(upload->progressText(), upload->packetNumber(), upload->packetCount());
    }
    EnableButtons();
}

void BRIXFirmwareUpload::ShowPartNumbers() {
    if (!page_) {
        return;
    }
    const PartNumberRecord& numbers = link_.partNumbers();
    Find(QStringLiteral("MainProcessor~SoftwarePN~PN"))
        .SetText(partNumberField(numbers.mainSoftware()));
    Find(QStringLiteral("DspProcessors~SoftwarePN~PN"))
        .SetText(partNumberField(numbers.dspSoftware()));
    Find(QStringLiteral("DspProcessors~ConfigurationPN~PN"))
        .SetText(partNumberField(numbers.configTable()));
    const FirmwareSections sections = firmwareSections(numbers);
    Find(QStringLiteral("MainProcessor")).SetDisabled(!sections.mainProcessor);
    Find(QStringLiteral("DspProcessors")).SetDisabled(!sections.dspProcessors);
}

void BRIXFirmwareUpload::EnableButtons() {
    const bool busy = Busy();
    for (const UploadKind kind : kKinds) {
        const SectionNames& names = namesOf(kind);
        Section(kind, names.update).Get(QStringLiteral("UpdateButton")).SetDisabled(busy);
        Section(kind, names.start).SetDisabled(busy);
    }
}

void BRIXFirmwareUpload::ShowProgress(const QString& text, int value, int maximum) {
    Find(QStringLiteral("P_UPLOAD_PROGRESS")).SetText(text);
    if (auto* gauge = Find(QStringLiteral("UPLOAD_PROGRESS")).as<QProgressBar>()) {
        gauge->setRange(0, qMax(maximum, 1));
        gauge->setValue(value);
        gauge->setTextVisible(true);  // "packets of packets", once there is an upload
    }
}

ZafEventType BRIXFirmwareUpload::Event(ZafEventType code) {
    switch (code) {
        case MaintenanceEvent::ChooseMainSoftware:
            ChooseFile(UploadKind::MainSoftware);
            break;
        case MaintenanceEvent::ChooseDspSoftware:
            ChooseFile(UploadKind::DspSoftware);
            break;
        case MaintenanceEvent::ChooseConfigTable:
            ChooseFile(UploadKind::ConfigTable);
            break;
        case MaintenanceEvent::UploadMainSoftware:
            Start(UploadKind::MainSoftware);
            break;
        case MaintenanceEvent::UploadDspSoftware:
            Start(UploadKind::DspSoftware);
            break;
        case MaintenanceEvent::UploadConfigTable:
            Start(UploadKind::ConfigTable);
            break;
        case MaintenanceEvent::UploadTick:
            Tick();
            break;
        case MaintenanceEvent::UploadTimerDone:
            TimerDone();
            break;
        default:
            break;
    }
    return 0;
}

void BRIXFirmwareUpload::ChooseFile(UploadKind kind) {
    if (Busy()) {
        return;
    }
    ZafFileDialog& dialog = kind == UploadKind::ConfigTable ? configDialog_ : softwareDialog_;
    dialog.SetFilter(uploadFilter(kind));
    dialog.SetInitialDirectory(QDir::toNativeSeparators(uploadFolder(dataDirectory())));
    if (dialog.RunModal() != S_DIALOG_OK) {
        return;
    }
    run_.choose(kind, dialog.FileName());
    const SectionNames& names = namesOf(kind);
    Section(kind, names.update).Get(QStringLiteral("UpdateFile")).SetText(run_.fileName(kind));
    Section(kind, names.status).Get(QStringLiteral("Status")).SetText(kReady);
}

bool BRIXFirmwareUpload::Start(UploadKind kind) {
    if (Busy() || starting_) {
        // Two uploads never share the unit, the timer or the counters.
        qCInfo(lcMaintenance) << "an upload runs already; a second one is not started";
        return false;
    }
    // Boxes shown from here on let events through: a second start meanwhile is refused.
    const QScopedValueRollback starting(starting_, true);
    if (const std::optional<Notice> missing = run_.missingFile(kind)) {
        showNotice(*missing);
        return false;
    }
    if (kind == UploadKind::ConfigTable &&
        userDialogs().message(MessageKind::Warning, QLatin1String(kProductTitle),
                              QStringLiteral("The QUOR memory will be erased.\n\n"
                                             "Do you want to continue?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                              nullptr) != QMessageBox::Yes) {
        return false;
    }
    // From the first packet until what follows the upload has run.
    lease_ = link_.owner().acquire(LinkActivity::Upload);
    if (!lease_) {
        link_.RefusedWhileBusy();
        return false;
    }
    zafEventManager()->SetMouseState(DM_WAIT);
    const UploadImage image = loadUploadImage(run_.path(kind));
    if (image.refused()) {
        lease_.release();
        zafEventManager()->SetMouseState(DM_VIEW);
        if (!image.refusalStatus.isEmpty()) {
            Find(QStringLiteral("P_UPLOAD_PROGRESS")).SetText(image.refusalStatus);
        }
        showNotice(*image.refusal);
        return false;
    }
    qCInfo(lcMaintenance) << "upload of kind" << int(kind) << "from" << run_.path(kind) << ":"
                          << image.words.size() << "words";

    if (timer_) {  // the timer of the upload before, if its end was not handled yet
        zafEventManager()->Subtract(timer_.get());
    }
    UploadSequence& upload =
        run_.make(link_.context(), kind, image.words, static_cast<UploadSequence::View&>(*this));
    Section(kind, namesOf(kind).status).Get(QStringLiteral("Status")).SetText(upload.statusText());
    ShowProgress(upload.progressText(), 0, upload.packetCount());
    EnableButtons();
    timer_ = std::make_unique<ZafTimer>(UploadSequence::kTickMs, MaintenanceEvent::UploadTick);
    timer_->Add(&owner_);
    zafEventManager()->Add(timer_.get());
    upload.start();
    return !upload.isFinished();
}

void BRIXFirmwareUpload::Tick() {
    if (!run_.tick()) {
        zafEventManager()->Put(ZafEventStruct(MaintenanceEvent::UploadTimerDone, nullptr, &owner_));
    }
}

void BRIXFirmwareUpload::packetStarted(int number, int count) {
    ShowProgress(QStringLiteral("Uploading packet %1 of %2").arg(number).arg(count), number, count);
}

void BRIXFirmwareUpload::showReinitialising(bool shown) {
    if (shown) {
        notice_ = userDialogs().showWaitNotice(
            QLatin1String(kProductTitle),
            QStringLiteral("Upload complete. Reinitializing unit. Please wait..."));
    } else {
        notice_.reset();
    }
}

bool BRIXFirmwareUpload::reconnect() {
    return link_.Reconnect();
}

void BRIXFirmwareUpload::finished() {
    zafEventManager()->SetMouseState(DM_VIEW);
    if (timer_) {
        zafEventManager()->Subtract(timer_.get());
    }
    notice_.reset();
    const UploadSequence& upload = *run_.upload();
    const UploadKind kind = upload.kind();
    Section(kind, namesOf(kind).status).Get(QStringLiteral("Status")).SetText(upload.statusText());
    // The gauge ends on the packets the unit took.
    const bool completed = upload.state() == UploadSequence::State::Completed;
    ShowProgress(upload.progressText(),
                 completed ? upload.packetCount() : upload.packetNumber() - 1,
                 upload.packetCount());
    // What follows runs once the timer is gone, outside the step machine's report.
    zafEventManager()->Put(ZafEventStruct(MaintenanceEvent::UploadTimerDone, nullptr, &owner_));
}

void BRIXFirmwareUpload::TimerDone() {
    if (timer_ && !timer_->Active()) {
        timer_.reset();
    }
    // What follows runs once, also when a loop inside it (the erase dialog's) hands out
    // another of these events.
    if (const std::optional<UploadFollowUp> next = run_.beginFollowUp()) {
        FollowUp(*next);
        run_.endFollowUp();
        lease_.release();
        EnableButtons();
        if (next->endProgram) {
            // The unit must be restarted by hand; the program ends as its Exit does.
            zafEventManager()->Put(ZafEventStruct(S_CLOSE, nullptr, &owner_));
        }
    }
}

void BRIXFirmwareUpload::FollowUp(const UploadFollowUp& next) {
    if (next.readPartNumbers) {
        // The unit has reinitialised and may have dropped the connection: the part numbers are
        // read on a link set up again if need be, and only then is the table's erase sent.
        link_.CheckPartNumbers();
        ShowPartNumbers();
    }
    if (next.eraseEverything) {
        BRIXEraseProgress::Run(link_.context(), kEraseEverything, normalFont_, midFont_,
                               [this] { return link_.Reconnect(); });
    }
    if (next.notice) {
        showNotice(*next.notice);
    }
}

}  // namespace tolm
