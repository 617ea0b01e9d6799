#pragma once
// The program's settings store (organisation "Korvel", application "QUOR"): the one place that
// opens it. Every reader opens its own short-lived store, as a local object. The typed settings
// of each area (the connection, the password, the help texts, the register, the plot window)
// read and write through it.
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

namespace tolm {

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QVariant value(const QString& key, const QVariant& fallback = QVariant()) const;
    void setValue(const QString& key, const QVariant& value);
    bool contains(const QString& key) const;
    void remove(const QString& key);
    // The keys directly under a group ("" for the top level).
    QStringList childKeys(const QString& group = QString()) const;
    bool isEmpty() const;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tolm
