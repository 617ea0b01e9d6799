#include "core/PasswordSettings.h"

#include "core/SettingsStore.h"

namespace tolm {

QString PasswordSettings::stored() {
    return SettingsStore().value(QLatin1String(kKey), QLatin1String(kDefault)).toString();
}

void PasswordSettings::store(const QString& password) {
    SettingsStore().setValue(QLatin1String(kKey), password);
}

}  // namespace tolm
