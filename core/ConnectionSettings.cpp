#include "core/ConnectionSettings.h"

#include "core/SettingsStore.h"

namespace tolm {

ConnectionSettings ConnectionSettings::read() {
    const SettingsStore s;
    ConnectionSettings c;
    c.host = s.value(QLatin1String(kHostKey), QLatin1String(kDefaultHost)).toString();
    c.port = s.value(QLatin1String(kPortKey), kDefaultPort).toInt();
    return c;
}

void ConnectionSettings::write() const {
    SettingsStore s;
    s.setValue(QLatin1String(kPortKey), port);
    s.setValue(QLatin1String(kHostKey), host);
}

int ConnectionSettings::connectAttempts() {
    const int attempts =
        SettingsStore().value(QLatin1String(kAttemptsKey), kDefaultAttempts).toInt();
    return attempts < 1 ? 1 : attempts;
}

void ConnectionSettings::writeDefaults() {
    SettingsStore s;
    if (s.value(QLatin1String(kPortKey)).toInt() == 0) {
        s.setValue(QLatin1String(kPortKey), kDefaultPort);
    }
    if (s.value(QLatin1String(kHostKey)).toString().isEmpty()) {
        s.setValue(QLatin1String(kHostKey), QLatin1String(kDefaultHost));
    }
    if (!s.contains(QLatin1String(kAttemptsKey))) {
        s.setValue(QLatin1String(kAttemptsKey), kDefaultAttempts);
    }
}

}  // namespace tolm
