#include "core/SettingsStore.h"

#include <QSettings>

namespace tolm {

SettingsStore::SettingsStore() : settings_(std::make_unique<QSettings>()) {}

SettingsStore::~SettingsStore() = default;

QVariant SettingsStore::value(const QString& key, const QVariant& fallback) const {
    return settings_->value(key, fallback);
}

void SettingsStore::setValue(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
}

bool SettingsStore::contains(const QString& key) const {
    return settings_->contains(key);
}

void SettingsStore::remove(const QString& key) {
    settings_->remove(key);
}

QStringList SettingsStore::childKeys(const QString& group) const {
    if (group.isEmpty()) {
        return settings_->childKeys();
    }
    settings_->beginGroup(group);
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    return keys;
}

bool SettingsStore::isEmpty() const {
    return settings_->allKeys().isEmpty();
}

}  // namespace tolm
