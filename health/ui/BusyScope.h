#pragma once
// While the flight index works (its first scan of a data directory may take a while), the
// program shows a wait cursor and says so in a window's status line; both end with the scope.
#include <QString>

#include "toolkit/ZafObject.h"

namespace tolm::health {

class BusyScope {
public:
    static inline const QString kReading = QStringLiteral("Reading the flight index...");

    // `status`: the label that says what is going on (may be empty).
    explicit BusyScope(ZafObject status);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ZafObject status_;
};

}  // namespace tolm::health
