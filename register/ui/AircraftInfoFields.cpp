#include "register/ui/AircraftInfoFields.h"

#include <QComboBox>
#include <QGroupBox>

#include "register/EngineSerial.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "register/ui/RegisterEvents.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

AircraftInfoFields::AircraftInfoFields(ZafObject window) : window_(window) {}

ZafObject AircraftInfoFields::EngineGroup(int index) const {
    return window_.Get(index == 0 ? QStringLiteral("G_ENGINE1") : QStringLiteral("G_ENGINE2"));
}

ZafObject AircraftInfoFields::Field(int index, const char* identifier) const {
    return EngineGroup(index).Get(QLatin1String(identifier));
}

AircraftRecord AircraftInfoFields::Load() {
    TolmAircraftSettings settings;
    const AircraftRecord record = settings.loadAircraft(TailNumber().Text());
    Comments().SetText(record.comments());
    bool serReplaced[2] = {false, false};
    for (int i = 0; i < 2; ++i) {
        const EngineRecord engine = record.engine(i);
        ZafObject type = Field(i, "TYPE");
        fillEngineTypeList(type, RegisterEvent::EngineTypeChosen);
        type.SetText(engine.type());
        const CheckedSer checked = checkedSer(i + 1, engine.ser());
        if (checked.warning) {
            showNotice(*checked.warning);
        }
        const QString& ser = checked.shown;
        Field(i, "SN").SetText(QString::number(ser.toInt(nullptr, 10)));
        serReplaced[i] = ser != engine.ser();
        Field(i, "INSTALL_DATE").SetText(engine.installDate());
    }
    MarkStored();
    shown_.serReplaced[0] = serReplaced[0];
    shown_.serReplaced[1] = serReplaced[1];
    return record;
}

void AircraftInfoFields::MarkStored() {
    shown_.comments = Comments().Text();
    for (int i = 0; i < 2; ++i) {
        shown_.type[i] = Field(i, "TYPE").Text();
        shown_.ser[i] = Field(i, "SN").Text();
        shown_.serReplaced[i] = false;
        shown_.date[i] = Field(i, "INSTALL_DATE").Text();
    }
}

AircraftRecord AircraftInfoFields::Edited(const AircraftRecord& shown) const {
    AircraftRecord edited = shown;
    if (const QString text = Comments().Text(); text != shown_.comments) {
        edited.setComments(text);
    }
    for (int i = 0; i < 2; ++i) {
        EngineRecord engine = edited.engine(i);
        if (const QString text = Field(i, "TYPE").Text(); text != shown_.type[i]) {
            engine.setType(text);
        }
        if (const QString text = Field(i, "SN").Text();
            shown_.serReplaced[i] || text != shown_.ser[i]) {
            engine.setSer(text);
        }
        if (const QString text = Field(i, "INSTALL_DATE").Text(); text != shown_.date[i]) {
            engine.setInstallDate(text);
        }
        edited.setEngine(i, engine);
    }
    return edited;
}

void AircraftInfoFields::CopyEngineType(QObject* source) {
    QObject* combo = source;
    while (combo && !qobject_cast<QComboBox*>(combo)) {
        combo = combo->parent();
    }
    QObject* group = combo ? combo->parent() : nullptr;
    while (group && !qobject_cast<QGroupBox*>(group)) {
        group = group->parent();
    }
    if (!group) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        if (group == EngineGroup(i).object()) {
            Field(1 - i, "TYPE").SetText(ZafObject(combo).Text());
        }
    }
}

}  // namespace tolm
