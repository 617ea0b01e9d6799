#pragma once
// Where the unit is and how long a connection set-up tries: "IP Address", "Port" and
// "ConnectTimeout" in the settings store, with their defaults.
#include <QString>

namespace tolm {

struct ConnectionSettings {
    static constexpr const char* kHostKey = "IP Address";
    static constexpr const char* kPortKey = "Port";
    static constexpr const char* kAttemptsKey = "ConnectTimeout";
    static constexpr const char* kDefaultHost = "192.168.0.1";
    static constexpr int kDefaultPort = 4242;
    static constexpr int kDefaultAttempts = 150;

    QString host;
    int port = kDefaultPort;

    // The unit's address as stored (the defaults where nothing is).
    static ConnectionSettings read();
    // Stores the address (the Utilities page's Communications).
    void write() const;
    // Connect attempts, one second apart: the stored number, at least 1.
    static int connectAttempts();
    // Writes the defaults where the store has nothing usable (at start).
    static void writeDefaults();
};

}  // namespace tolm
