#include "toolkit/ZafStorage.h"

#include <QFileInfo>
#include <QResource>
#include <atomic>

namespace {
std::atomic<int> mounts{0};
}

ZafStorage::ZafStorage(const QString& path)
    : path_(path), root_(QStringLiteral("/zaf-storage-%1").arg(++mounts)) {
    error_ = !QFileInfo(path).isFile() || !QResource::registerResource(path, root_);
}

ZafStorage::~ZafStorage() {
    if (!error_) {
        QResource::unregisterResource(path_, root_);
    }
}
