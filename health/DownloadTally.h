#pragma once
// What a download just filed adds to the flights on file: the distinct flights of its raw files
// that no other file holds, and those that another file held already (a unit that was not
// erased gives its flights again).
#include <QString>

namespace tolm::health {

struct DownloadTally {
    int newFlights = 0;
    int alreadyFiled = 0;

    // The download's last line: "12 new flights, 8 already filed" ("1 new flight, ...").
    QString text() const;
    bool operator==(const DownloadTally&) const = default;
};

}  // namespace tolm::health
