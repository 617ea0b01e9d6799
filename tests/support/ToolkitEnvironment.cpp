#include <QCoreApplication>

#include "tests/support/TestEnvironment.h"

namespace testenv {

void installToolkit(int, char**) {}
void removeToolkit() {}
void pump() { QCoreApplication::processEvents(); }

}  // namespace testenv
