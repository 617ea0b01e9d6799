#include "download/TextBuffer.h"

#include <QIODevice>
#include <algorithm>
#include <charconv>
#include <cstring>

#include "app/config/ByteOrder.h"

namespace tolm {

namespace {
constexpr std::size_t kChunk = 1 << 20;  // passed to the sink when exceeded
constexpr int kSeparatorWidth = 100;
}  // namespace

TextBuffer::TextBuffer(QIODevice* sink) : sink_(sink) {}

char* TextBuffer::room(std::size_t n) {
    if (used_ + n > buf_.size()) {
        if (sink_ && used_ >= kChunk) {
            flush();
        }
        if (used_ + n > buf_.size()) {
            buf_.resize(std::max({buf_.size() * 2, used_ + n, std::size_t(4096)}));
        }
    }
    return buf_.data() + used_;
}

void TextBuffer::pad(std::size_t n) {
    std::memset(room(n), ' ', n);
    used_ += n;
}

void TextBuffer::text(std::string_view s) {
    std::memcpy(room(s.size()), s.data(), s.size());
    used_ += s.size();
}

void TextBuffer::left(std::string_view s, int width) {
    text(s);
    if (std::size_t(width) > s.size()) {
        pad(width - s.size());
    }
}

void TextBuffer::right(std::string_view s, int width) {
    if (std::size_t(width) > s.size()) {
        pad(width - s.size());
    }
    text(s);
}

void TextBuffer::number(long long v, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    right(std::string_view(digits, end - digits), width);
}

void TextBuffer::general(double v, int width) {
    // to_chars with a precision formats as printf's "%.6g" does in the "C" locale, whatever
    // locale the process runs in.
    char digits[48];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 6).ptr;
    right(std::string_view(digits, end - digits), width);
}

void TextBuffer::samples(const unsigned char* le16, int count) {
    char* out = room(std::size_t(count) * 7);  // "-32768 " at most
    char* p = out;
    for (int i = 0; i < count; ++i) {
        p = std::to_chars(p, p + 6, loadLeI16(le16 + 2 * i)).ptr;
        *p++ = ' ';
    }
    used_ += p - out;
}

void TextBuffer::newline() {
    text("\r\n");
}

void TextBuffer::separator() {
    std::memset(room(kSeparatorWidth), '-', kSeparatorWidth);
    used_ += kSeparatorWidth;
    newline();
}

bool TextBuffer::flush() {
    if (sink_ && used_ > 0) {
        if (sink_->write(buf_.data(), qint64(used_)) != qint64(used_)) {
            ok_ = false;
        }
        used_ = 0;
    }
    return ok_;
}

}  // namespace tolm
