#pragma once
// The Administrator password in the settings store ("Password"; "vrkzt" until it is changed).
#include <QString>

namespace tolm {

struct PasswordSettings {
    static constexpr const char* kKey = "Password";
    static constexpr const char* kDefault = "vrkzt";

    static QString stored();
    static void store(const QString& password);
};

// The password the levels are checked against.
inline QString storedPassword() {
    return PasswordSettings::stored();
}

}  // namespace tolm
