#pragma once
// The value an item carries with the event it sends: a parameter's identifier on its menu item,
// a bin's number, a flight item's show-or-hide value, an FFT window's position. The window that
// receives the event reads it from the event's source.
#include <QObject>
#include <QVariant>

namespace tolm::viewer {

inline void SetItemValue(QObject* item, qint64 value) {
    if (item) {
        item->setProperty("zafValue", value);
    }
}

// `fallback` for an item without a value.
inline qint64 ItemValue(const QObject* item, qint64 fallback = -1) {
    const QVariant value = item ? item->property("zafValue") : QVariant();
    return value.isValid() ? value.toLongLong() : fallback;
}

}  // namespace tolm::viewer
