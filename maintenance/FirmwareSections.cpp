#include "maintenance/FirmwareSections.h"

namespace tolm {

FirmwareSections firmwareSections(const PartNumberRecord& partNumbers) {
    const bool main = !partNumbers.mainSoftware().isEmpty();
    const bool dsp = !partNumbers.dspSoftware().isEmpty();
    const bool config = !partNumbers.configTable().isEmpty();
    FirmwareSections sections;
    if (main && dsp && config) {
        sections.mainProcessor = false;
    } else if (main && !dsp && !config) {
        sections.dspProcessors = false;
    }
    return sections;
}

QString partNumberField(const QString& partNumber) {
    return partNumber.left(16).rightJustified(16, QLatin1Char(' '));
}

}  // namespace tolm
