#include "toolkit/ZafDisplay.h"

#include <QGuiApplication>
#include <QScreen>

int ZafDisplay::RegisterFont(const QString& family, int pointSize, int weight, int slant) {
    QFont font(family);
    if (family.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive)) {
        // Texts set in Courier line up in columns: where it is missing, a monospace face.
        font.setStyleHint(QFont::TypeWriter);
    }
    if (pointSize > 0) {
        font.setPointSize(pointSize);
    }
    font.setWeight(weight >= 1 ? QFont::Bold : QFont::Normal);
    font.setItalic(slant >= 1);
    if (next_ == kKeepFont) {
        ++next_;
    }
    const int number = next_++;
    fonts_.insert(number, font);
    return number;
}

void ZafDisplay::DestroyFont(int number) {
    fonts_.remove(number);
}

QSize ZafDisplay::ScreenSize() const {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        return screen->availableGeometry().size();
    }
    return QSize(1024, 768);
}
