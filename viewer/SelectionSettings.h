#pragma once
// What the flight selection remembers in the settings store: the last chosen aircraft
// ("LastAircraft", kept by the register) and the memory type ("Plot2D_MemType", 0 or 1).
#include <QString>

namespace tolm::viewer {

class SelectionSettings {
public:
    static QString lastAircraft();
    static void setLastAircraft(const QString& identifier);
    // 0 or 1; anything else stored reads as 0.
    static int memoryType();
    static void setMemoryType(int memoryType);
};

}  // namespace tolm::viewer
