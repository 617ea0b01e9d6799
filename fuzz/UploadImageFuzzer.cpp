// Any text as an upload image file: the words are exactly those that the C library's "%lx"
// reads from it one after the other, up to the first text that is not an unsigned number, and
// never more than the file holds; a number wider than 32 bits, or a file without any, is refused
// with its box instead.
#include <cstdio>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "maintenance/UploadImage.h"

using fuzz::check;

namespace {

struct Scanned {
    std::vector<quint32> words;
    bool tooWide = false;
};

// The words of "%lx" read in a loop, as the scan format reads them (the text ends at its first
// NUL byte, as it would for the C library). A sign, which "%lx" would take, ends the words here:
// the reader takes no signed numbers (its own choice, pinned by its tests).
Scanned scanned(const QByteArray& text) {
    Scanned s;
    const char* p = text.constData();
    unsigned long value = 0;
    int used = 0;
    for (;;) {
        while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
            ++p;
        }
        if (*p == '+' || *p == '-' || std::sscanf(p, "%lx%n", &value, &used) != 1) {
            break;
        }
        if (value > 0xFFFFFFFFul) {
            s.tooWide = true;
            return s;
        }
        s.words.push_back(quint32(value));
        p += used;
        if (p[-1] == 'x' || p[-1] == 'X') {
            // "0x" without a digit: the C library takes it as 0 and reads on; the standard (and
            // the reader) take the 0 and end at the "x".
            break;
        }
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const tolm::UploadImage image = tolm::readUploadImage(text);
    const Scanned expected = scanned(text);  // QByteArray keeps a NUL after its bytes

    check(image.words.size() <= (std::size_t(size) + 1) / 2, "more words than the text holds");
    if (image.refused()) {
        check(image.words.empty(), "a refused image kept words");
        check(!image.refusal->title.isEmpty() && !image.refusal->text.isEmpty(),
              "a refusal without its box");
        check(expected.tooWide || expected.words.empty(), "an image that %lx reads was refused",
              image.refusal->text);
        return 0;
    }
    check(!expected.tooWide, "a number wider than 32 bits was taken");
    check(image.words == expected.words, "the words are not those %lx reads",
          QStringLiteral("%1 words read, %2 by %lx")
              .arg(image.words.size())
              .arg(expected.words.size()));
    return 0;
}
