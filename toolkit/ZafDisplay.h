#pragma once
// The display: fonts registered by family, size, weight and slant and handed out as small
// numbers, and the screen size.
#include <QFont>
#include <QMap>
#include <QSize>

class ZafDisplay {
public:
    // A window or object given this font number keeps the font of its resource.
    static constexpr int kKeepFont = 255;

    // weight: 0 normal, 1 bold; slant: 0 upright, 1 italic. A Courier family falls back to
    // a monospace face where it is not installed.
    int RegisterFont(const QString& family, int pointSize, int weight, int slant);
    void DestroyFont(int number);
    bool HasFont(int number) const { return fonts_.contains(number); }
    QFont Font(int number) const { return fonts_.value(number); }

    QSize ScreenSize() const;

private:
    QMap<int, QFont> fonts_;
    int next_ = 16;
};
