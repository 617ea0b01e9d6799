#include "maintenance/ui/BRIXFirmwareUpload.h"
#include "maintenance/ui/MaintenanceEvents.h"

#include <QFileInfo>
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

BRIXFirmwareUpload::BRIXFirmwareUpload(UnitLink& link, ZafWindow& owner,
                                       ZafFileDialog& softwareDialog, ZafFileDialog& configDialog,
                                       ChosenFiles& files, int normalFont, int midFont)
    : link_(link),
      owner_(owner),
      softwareDialog_(softwareDialog),
      configDialog_(configDialog),
      files_(files),
      normalFont_(normalFont),
      midFont_(midFont) {}

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
        if (!FileName(kind).isEmpty()) {
            update.Get(QStringLiteral("UpdateFile")).SetText(FileName(kind));
            Section(kind, names.status).Get(QStringLiteral("Status")).SetText(kReady);
        }
    }
    if (Busy() && upload_) {
        // The upload goes on from before the page was closed.
        Section(upload_->kind(), namesOf(upload_->kind()).status)
            .Get(QStringLiteral("Status"))
            .SetText(upload_->statusText());
        ShowProgress(upload_->progressText(), upload_->packetNumber(), upload_->packetCount());
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
    if (kind != UploadKind::ConfigTable) {
        dialog.SetFilter(uploadFilter(kind));
    }
    if (dialog.RunModal() != S_DIALOG_OK) {
        return;
    }
    // The whole path, however long: a shortened one would name another file.
    const QString path = dialog.FileName();
    files_[int(kind)] = QFileInfo(path).fileName();
    files_[kUploadKinds + int(kind)] = path;
    const SectionNames& names = namesOf(kind);
    Section(kind, names.update).Get(QStringLiteral("UpdateFile")).SetText(FileName(kind));
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
    if (FilePath(kind).isEmpty()) {
        showWarning(QStringLiteral("Upload Error"), QStringLiteral("No upload file selected"));
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
    const UploadImage image = loadUploadImage(FilePath(kind));
    if (image.refused()) {
        lease_.release();
        zafEventManager()->SetMouseState(DM_VIEW);
        if (!image.refusalStatus.isEmpty()) {
            Find(QStringLiteral("P_UPLOAD_PROGRESS")).SetText(image.refusalStatus);
        }
        showNotice(*image.refusal);
        return false;
    }
    qCInfo(lcMaintenance) << "upload of kind" << int(kind) << "from" << FilePath(kind) << ":"
                          << image.words.size() << "words";

    if (timer_) {  // the timer of the upload before, if its end was not handled yet
        zafEventManager()->Subtract(timer_.get());
    }
    upload_ = std::make_unique<UploadSequence>(link_.context(), kind, image.words,
                                               static_cast<UploadSequence::View&>(*this));
    Section(kind, namesOf(kind).status)
        .Get(QStringLiteral("Status"))
        .SetText(upload_->statusText());
    ShowProgress(upload_->progressText(), 0, upload_->packetCount());
    EnableButtons();
    timer_ = std::make_unique<ZafTimer>(UploadSequence::kTickMs, MaintenanceEvent::UploadTick);
    timer_->Add(&owner_);
    zafEventManager()->Add(timer_.get());
    upload_->start();
    return !upload_->isFinished();
}

void BRIXFirmwareUpload::Tick() {
    if (!upload_ || upload_->isFinished()) {
        zafEventManager()->Put(ZafEventStruct(MaintenanceEvent::UploadTimerDone, nullptr, &owner_));
        return;
    }
    upload_->tick();
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
    const UploadKind kind = upload_->kind();
    Section(kind, namesOf(kind).status)
        .Get(QStringLiteral("Status"))
        .SetText(upload_->statusText());
    // The gauge ends on the packets the unit took.
    const bool completed = upload_->state() == UploadSequence::State::Completed;
    ShowProgress(upload_->progressText(),
                 completed ? upload_->packetCount() : upload_->packetNumber() - 1,
                 upload_->packetCount());
    // What follows runs once the timer is gone, outside the step machine's report.
    followUpPending_ = true;
    zafEventManager()->Put(ZafEventStruct(MaintenanceEvent::UploadTimerDone, nullptr, &owner_));
}

void BRIXFirmwareUpload::TimerDone() {
    if (timer_ && !timer_->Active()) {
        timer_.reset();
    }
    // What follows runs once, also when a loop inside it (the erase dialog's) hands out
    // another of these events.
    if (followUpPending_ && !followingUp_ && upload_ && upload_->isFinished()) {
        const QScopedValueRollback running(followingUp_, true);
        FollowUp();
    }
}

void BRIXFirmwareUpload::FollowUp() {
    const UploadKind kind = upload_->kind();
    const bool completed = upload_->state() == UploadSequence::State::Completed;
    const std::optional<Notice> notice = upload_->endNotice();
    if (completed && kind != UploadKind::MainSoftware) {
        // The unit has reinitialised and may have dropped the connection: the part numbers are
        // read on a link set up again if need be, and only then is the table's erase sent.
        link_.CheckPartNumbers();
        ShowPartNumbers();
        if (kind == UploadKind::ConfigTable) {
            BRIXEraseProgress::Run(link_.context(), kEraseEverything, normalFont_, midFont_,
                                   [this] { return link_.Reconnect(); });
        }
    }
    if (notice) {
        showNotice(*notice);
    }
    followUpPending_ = false;
    lease_.release();
    EnableButtons();
    if (completed && kind == UploadKind::MainSoftware) {
        // The unit must be restarted by hand; the program ends as its Exit does.
        zafEventManager()->Put(ZafEventStruct(S_CLOSE, nullptr, &owner_));
    }
}

}  // namespace tolm
