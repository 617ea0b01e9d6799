#pragma once
// What an operation has to tell the user, as a value: the kind of box, its title and its text.
// The cores return notices; the windows show them through the message seam, in order.
#include <QList>
#include <QString>

namespace tolm {

struct Notice {
    enum class Kind { Information, Warning, Critical };
    Kind kind = Kind::Critical;
    QString title;
    QString text;

    static Notice information(QString title, QString text) {
        return {Kind::Information, std::move(title), std::move(text)};
    }
    static Notice warning(QString title, QString text) {
        return {Kind::Warning, std::move(title), std::move(text)};
    }
    static Notice critical(QString title, QString text) {
        return {Kind::Critical, std::move(title), std::move(text)};
    }
    bool operator==(const Notice&) const = default;
};

using Notices = QList<Notice>;

}  // namespace tolm
