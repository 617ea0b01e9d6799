#include "link/PartNumberRecord.h"

#include <cstring>

namespace tolm {

std::optional<PartNumberRecord> PartNumberRecord::fromResponseFile(QByteArrayView file) {
    if (file.size() < kResponseFileSize) {
        return std::nullopt;
    }
    PartNumberRecord record;
    record.assign(reinterpret_cast<const unsigned char*>(file.data()) + kResponseHeaderSize);
    return record;
}

void PartNumberRecord::assign(const unsigned char* data) {
    std::memcpy(bytes_.data(), data, kSize);
    forceTerminators();
}

void PartNumberRecord::forceTerminators() {
    for (int offset : kTerminators) {
        bytes_[offset] = 0;
    }
}

QByteArray PartNumberRecord::textBytes(int offset) const {
    const auto* begin = reinterpret_cast<const char*>(bytes_.data() + offset);
    const int width = kSize - offset < kFieldWidth ? kSize - offset : kFieldWidth;
    const auto* end = static_cast<const char*>(std::memchr(begin, 0, width));
    return QByteArray(begin, end ? end - begin : width);
}

}  // namespace tolm
