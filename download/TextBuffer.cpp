#include "download/TextBuffer.h"

#include <QIODevice>
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/ByteOrder.h"

namespace tolm {

namespace {

constexpr std::size_t kChunk = 1 << 20;      // passed to the sink when exceeded
constexpr std::size_t kRowRoom = 64 * 1024;  // beyond a piece: more than the longest row
constexpr int kSeparatorWidth = 100;

// "%hd " of every 16-bit value, padded to 8 bytes so that each copies as one word; the length
// sits in the last byte (a little-endian host reads it as the word's top byte).
class SampleTexts {
public:
    struct Entry {
        char text[7];  // "-32768 " at most
        char length;
    };
    static_assert(sizeof(Entry) == 8);
    static_assert(std::endian::native == std::endian::little);
    SampleTexts() : entries_(65536) {
        for (int v = -32768; v <= 32767; ++v) {
            Entry& e = entries_[v + 32768];
            char* end = std::to_chars(e.text, e.text + 6, v).ptr;
            *end++ = ' ';
            e.length = static_cast<char>(end - e.text);
        }
    }
    const Entry* entries() const { return entries_.data(); }  // from -32768 on

private:
    std::vector<Entry> entries_;
};

// True when a float lies exactly halfway between two decimals of six significant digits, where
// printf rounds to even and QTextStream (with QLocale) rounds away from zero.
bool halfwayAtSixDigits(double v) {
    char d[160];
    // Eight significant digits show a candidate: "5" then "0" in the seventh and eighth.
    char* end = std::to_chars(d, d + sizeof d, std::fabs(v), std::chars_format::scientific, 7).ptr;
    if (end - d < 9 || d[7] != '5' || d[8] != '0') {
        return false;
    }
    // 121 significant digits hold any float exactly: a tie has nothing but zeros after the 5.
    end = std::to_chars(d, d + sizeof d, std::fabs(v), std::chars_format::scientific, 120).ptr;
    char* exponent = std::find(d, end, 'e');
    return d[7] == '5' && std::all_of(d + 8, exponent, [](char c) { return c == '0'; });
}

}  // namespace

TextBuffer::TextBuffer(QIODevice* sink) : sink_(sink) {
    if (sink_) {
        buf_.resize(kChunk + kRowRoom);  // never grows: a piece is passed on once it is full
    }
}

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

void TextBuffer::smart(float f, int width) {
    double v = f;
    if (v == 0 || std::isnan(v)) {
        v = std::fabs(v);
    } else if (halfwayAtSixDigits(v)) {
        v = std::nextafter(v, std::copysign(INFINITY, v));  // rounds away from zero
    }
    general(v, width);
}

void TextBuffer::samples(const unsigned char* le16, int count) {
    // Up to 1024 samples a row and a million a table: each is one look-up and one 8-byte copy.
    static const SampleTexts texts;
    const SampleTexts::Entry* table = texts.entries();  // kept in a register: p may alias
    char* out = room(std::size_t(count) * 8 + 8);
    char* p = out;
    for (int i = 0; i < count; ++i) {
        std::uint64_t entry;  // the text, then its length in the last byte
        std::memcpy(&entry, &table[loadLeI16(le16 + 2 * i) + 32768], sizeof entry);
        std::memcpy(p, &entry, sizeof entry);  // the byte after the text is overwritten next
        p += entry >> 56;
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
