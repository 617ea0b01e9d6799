#include "app/config/PumpEvents.h"

#include <QCoreApplication>

namespace tolm {

void PumpEvents() { QCoreApplication::processEvents(); }

}  // namespace tolm
