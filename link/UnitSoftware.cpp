#include "link/UnitSoftware.h"

namespace tolm {

bool isMainUploadMode(const PartNumberRecord& record) {
    return !record.mainSoftware().isEmpty() && record.dspSoftware().isEmpty() &&
           record.configTable().isEmpty();
}

bool isCompatible(const PartNumberRecord& record) {
    return record.mainSoftware().startsWith(QLatin1String(kServedMainSoftware)) &&
           record.dspSoftware().startsWith(QLatin1String(kServedDspSoftware)) &&
           record.configTable().startsWith(QLatin1String(kServedConfigTable));
}

}  // namespace tolm
