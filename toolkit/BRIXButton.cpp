#include "toolkit/BRIXButton.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// The toolkit's sixteen colour numbers.
QColor colorOf(int number) {
    static const QColor table[16] = {
        Qt::black,    Qt::darkBlue,    Qt::darkGreen,       Qt::darkCyan,
        Qt::darkRed,  Qt::darkMagenta, QColor(128, 128, 0), Qt::lightGray,
        Qt::darkGray, Qt::blue,        Qt::green,           Qt::cyan,
        Qt::red,      Qt::magenta,     Qt::yellow,          Qt::white,
    };
    return number >= 0 && number < 16 ? table[number] : QColor();
}

}  // namespace

ZafButton::ZafButton(QWidget* parent) : QPushButton(parent) {}

ZafEventType ZafButton::Event(const ZafEventStruct&) {
    return S_UNKNOWN;
}

void ZafButton::SetHighlightColors(ZafPaletteEntry normal, ZafPaletteEntry selected) {
    highlightNormal_ = normal;
    highlightSelected_ = selected;
    QPalette p = parentWidget() ? parentWidget()->palette() : QPalette();
    if (const QColor c = colorOf(normal.foreground); c.isValid()) {
        p.setColor(QPalette::Button, c);
    }
    if (const QColor c = colorOf(selected.foreground); c.isValid()) {
        p.setColor(QPalette::Highlight, c);
    }
    setPalette(p);
}

void ZafButton::focusInEvent(QFocusEvent* event) {
    QPushButton::focusInEvent(event);
    Event(ZafEventStruct(S_CURRENT, this));
}

void ZafButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    Event(ZafEventStruct(S_NON_CURRENT, this));
}

BRIXButton::BRIXButton(QWidget* parent) : ZafButton(parent) {}

void BRIXButton::SetHelpFile(ZafObject target, const QString& fileName) {
    helpTarget_ = target.object();
    helpFile_ = fileName;
}

ZafEventType BRIXButton::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case S_CURRENT:
        case S_CURRENT_2: {
            SetHighlightColors({7, 254}, {15, 254});
            if (helpTarget_) {
                ZafObject target(helpTarget_.data());
                QFile file(QCoreApplication::applicationDirPath() + QLatin1Char('/') + helpFile_);
                if (!helpFile_.isEmpty() && file.open(QIODevice::ReadOnly)) {
                    target.SetText(QString::fromLocal8Bit(file.readAll()));
                    target.SetVisible(true);
                } else {
                    target.SetVisible(false);
                }
            }
            break;
        }
        case S_NON_CURRENT:
        case S_NON_CURRENT_2:
            SetHighlightColors({253, 254}, {253, 254});
            break;
        default:
            break;
    }
    return ZafButton::Event(event);
}
