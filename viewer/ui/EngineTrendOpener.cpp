#include "viewer/ui/EngineTrendOpener.h"

namespace tolm::viewer {

namespace {

EngineTrendOpener& opener() {
    static EngineTrendOpener o;
    return o;
}

}  // namespace

void setEngineTrendOpener(EngineTrendOpener o) {
    opener() = std::move(o);
}

const EngineTrendOpener& engineTrendOpener() {
    return opener();
}

}  // namespace tolm::viewer
