#include "app/StatusBar.h"

#include "core/Clock.h"
#include "core/Config.h"

namespace tolm {

void StatusBar::Attach(ZafObject bar, int font) {
    bar_ = bar;
    bar_.SetFont(font);
    date_ = bar_.Get(QStringLiteral("DATE"));
    privilege_ = bar_.Get(QStringLiteral("PRIVILEGE_LEVEL"));
}

void StatusBar::ShowDate() {
    date_.SetText(clock().now().toString(QStringLiteral("d MMM yyyy hh:mm:ss")));
}

void StatusBar::ShowPrivilege(int level) {
    privilege_.SetText(privilegeName(level));
}

void StatusBar::setFieldText(const QString& field, const QString& text) {
    Field(field).SetText(text);
}

ZafObject StatusBar::Field(const QString& name) const {
    return bar_.Get(name);
}

}  // namespace tolm
