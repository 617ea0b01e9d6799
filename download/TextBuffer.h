#pragma once
// 8-bit text for the download's tables, built with printf's rules ("%-*s", "%*s", "%*d", "%*g",
// "%hd ") and CR LF line ends on every platform, since the tables are read on Windows.
// With a sink it passes its text on in large pieces, so that a table of several megabytes never
// sits in memory whole.
#include <QByteArray>
#include <string_view>
#include <vector>

class QIODevice;

namespace tolm {

class TextBuffer {
public:
    explicit TextBuffer(QIODevice* sink = nullptr);
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    void text(std::string_view s);
    void text(const char* s) { text(std::string_view(s)); }
    void text(const QByteArray& s) { text(std::string_view(s.constData(), s.size())); }
    void left(std::string_view s, int width);   // "%-*s"
    void right(std::string_view s, int width);  // "%*s"
    void number(long long v, int width = 0);    // "%*d"
    void general(double v, int width);          // "%*g": six significant digits, "C" locale
    // QTextStream's default notation of a float in a field: "%g", except that a zero or a NaN
    // carries no sign and a value halfway between two six-digit decimals rounds away from zero.
    void smart(float v, int width);
    // "%hd " for each of count little-endian 16-bit samples.
    void samples(const unsigned char* le16, int count);
    void newline();    // CR LF
    void separator();  // 100 '-' and CR LF

    // Passes everything held so far to the sink. False once any write to the sink failed.
    bool flush();
    bool ok() const { return ok_; }
    // The text held (without a sink: everything written).
    QByteArray bytes() const { return QByteArray(buf_.data(), qsizetype(used_)); }

private:
    char* room(std::size_t n);
    void pad(std::size_t n);

    QIODevice* sink_;
    std::vector<char> buf_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

}  // namespace tolm
