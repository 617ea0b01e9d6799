#include "core/Clock.h"

#include <atomic>

namespace tolm {

namespace {
const Clock systemClock;
std::atomic<const Clock*> current{&systemClock};
}  // namespace

const Clock& clock() {
    return *current.load();
}

void setClock(const Clock* c) {
    current.store(c ? c : &systemClock);
}

}  // namespace tolm
