#include <memory>

#include "tests/support/TestEnvironment.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/ZafApplication.h"

namespace testenv {

namespace {
std::unique_ptr<ZafApplication> toolkit;
}

void installToolkit(int argc, char** argv) {
    toolkit = std::make_unique<ZafApplication>(argc, argv);
}

void removeToolkit() {
    toolkit.reset();
}

void pump() {
    tolm::PumpEvents();
}

}  // namespace testenv
