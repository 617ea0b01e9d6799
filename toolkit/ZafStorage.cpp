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

ZafDataManager::ZafDataManager(ZafStorage* storage) {
    if (storage) {
        Add(storage);
    }
}

void ZafDataManager::Add(ZafStorage* storage) {
    if (!storages_.contains(storage)) {
        storages_.append(storage);
    }
}

void ZafDataManager::AddDataClass(int identifier, const char*) {
    if (!dataClasses_.contains(identifier)) {
        dataClasses_.append(identifier);
    }
}

bool ZafDataManager::Holds(const ZafStorage* storage) const {
    return storages_.contains(const_cast<ZafStorage*>(storage));
}

bool ZafDataManager::KnowsDataClass(int identifier) const {
    return dataClasses_.contains(identifier);
}
