#pragma once
// The choices the engine-health windows offer: the engines of the register, the steady-state
// parameters and the records (the highest of the 26 first, then bins 1 to 26), filled into the
// windows' combo boxes and read back from them.
#include <QList>
#include <QString>

#include "toolkit/ZafObject.h"

namespace tolm::health {

struct RegisteredEngine {
    QString aircraft;
    int engineNumber = 1;
    QString ser;
    qint32 serial = 0;  // as the raw files' names number the engine
    // "HB-JVA engine 1 (SER 889123)"
    QString label() const;
};

class HealthChoices {
public:
    static inline const QString kHighestRecord = QStringLiteral("Highest of the 26");

    // Every engine of every aircraft of the register, in the register's order.
    static QList<RegisteredEngine> engines();

    // Steady-state parameters 0..19 in the viewer's menu order, `selected` chosen.
    static void fillParameters(ZafObject combo, int selected, ZafEventType event);
    static int parameterAt(int item);  // -1 outside the list
    // Records: the highest, then bin 1 to 26; `record` (TrendRequest's) chosen.
    static void fillRecords(ZafObject combo, int record, ZafEventType event);
    static int recordAt(int item);
};

}  // namespace tolm::health
