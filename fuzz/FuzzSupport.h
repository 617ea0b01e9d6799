#pragma once
// What the fuzz targets share: a private home for each fuzzing process (settings store,
// response file, communication log, backup copy, data directory) under a fresh temporary
// directory, a clock that stands still, a Qt Core application, the check that turns a broken
// invariant into a finding, and a reader that takes an input apart field by field.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Called once from LLVMFuzzerInitialize, before anything reads the environment.
void setUp(int* argc, char*** argv);

// The private home, and the data directory inside it.
QString home();
QString dataDirectory();
// The time the fixed clock shows (the raw file's time of writing, the file names).
qint64 clockSeconds();

// Reports a broken invariant and aborts, so that libFuzzer keeps the input as a finding.
[[noreturn]] void fail(const char* what, const QString& detail = QString());
inline void check(bool ok, const char* what, const QString& detail = QString()) {
    if (!ok) {
        fail(what, detail);
    }
}

// Every file and directory under root (not root itself), as paths relative to it, sorted.
QStringList entriesUnder(const QString& root);
// Empties the home again: everything but the settings store's folder goes.
void clearHome();
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Takes an input apart from its front: fixed-size fields first, then the rest. Past the end
// every field reads as zeros, so that any input has a meaning.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(qsizetype(size)) {}

    quint8 byte();
    quint32 word();  // little-endian
    // n bytes, zero-padded past the end.
    QByteArray field(qsizetype n);
    QByteArray rest();
    qsizetype left() const { return size_ - at_; }

private:
    const char* data_;
    qsizetype size_;
    qsizetype at_ = 0;
};

// The bytes `fill` repeated from offset 0 over `length` bytes (zeros when fill is empty).
QByteArray tiled(const QByteArray& fill, qint64 length);

}  // namespace fuzz
